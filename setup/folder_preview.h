#pragma once
#include <cstddef>
#include <functional>
#include <string>

#include "platform/file_system.h"
#include "platform/image/picture_decoder.h"
#include "setup/picture_preview.h"

namespace tessmoor {

// What a box of the settings dialog shows for a folder slot, and who makes it. Listing a folder
// can take as long as the folder is large or its share is slow to wake, so the dialog asks for
// it and shows the answer when it comes, instead of waiting on its own thread.

struct FolderPreviewRequest {
  std::string folder;
  bool subfolders = false;
  Size design = kBoxPictureDesign;  // the control's design size, as LoadPreview takes it
  bool enlarge = false;
  int dpi = 96;
};

struct FolderPreview {
  std::size_t pictures = 0;  // what the show would take from the folder; 0 when it cannot be listed
  Preview preview;           // its first picture by name, decoded for the control
};

// Lists the folder (SummarizeFolder) and decodes its first picture: the slow part, on any thread.
FolderPreview MakeFolderPreview(FileSystem& files, const PictureDecoder& decoder,
                                const FolderPreviewRequest& request);

// Makes folder previews for a dialog. `done` runs on the dialog's thread, once, at once or later;
// never after the maker is gone, so it may use the dialog that asked.
class FolderPreviews {
 public:
  using Done = std::function<void(FolderPreview)>;
  virtual ~FolderPreviews() = default;
  virtual void Start(FolderPreviewRequest request, Done done) = 0;
};

// Makes each preview on the caller's thread before Start returns: for a dialog without a thread
// of its own to spare, and for tests.
class FolderPreviewsAtOnce final : public FolderPreviews {
 public:
  FolderPreviewsAtOnce(FileSystem& files, const PictureDecoder& decoder) : files_(files), decoder_(decoder) {}
  void Start(FolderPreviewRequest request, Done done) override {
    done(MakeFolderPreview(files_, decoder_, request));
  }

 private:
  FileSystem& files_;
  const PictureDecoder& decoder_;
};

}  // namespace tessmoor
