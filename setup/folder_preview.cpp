#include "setup/folder_preview.h"

#include "show/folder_pictures.h"

namespace tessmoor {

FolderPreview MakeFolderPreview(FileSystem& files, const PictureDecoder& decoder,
                                const FolderPreviewRequest& request) {
  // A folder that cannot be listed now holds nothing for the show either.
  const FolderSummary summary =
      SummarizeFolder(files, request.folder, request.subfolders, decoder).value_or(FolderSummary{});
  FolderPreview made;
  made.pictures = summary.pictures;
  made.preview = LoadPreview(files, decoder, summary.first, request.design, request.enlarge, request.dpi);
  return made;
}

}  // namespace tessmoor
