#pragma once
#include <atomic>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/image/picture_decoder.h"

namespace tessmoor {

// What a folder named in a slot holds for the show: its pictures, the files whose extension the
// decoder accepts.
//
// The walk leaves out hidden and system files and folders, as the shell's own views do. It takes
// subfolders only when asked, and never one whose listing is the listing of a folder it is already
// inside (a link, junction or mount that leads back up), so links that loop among subfolders
// cannot make it endless whether or not the file system reports them as links, and list no
// picture twice. It also stops 64 folders deep and after kMaxFolderEntries entries, keeping what
// it found. A subfolder that cannot be listed is passed over. The walk costs one listing per
// folder and nothing per picture beyond its name: nothing is opened or read.
//
// Threads: any thread, as FileSystem::ListFolder allows. It is the slow part of a folder slot (a
// sleeping network share can take many seconds): the show runs it in the background only.
inline constexpr int kMaxFolderDepth = 64;
inline constexpr std::size_t kMaxFolderEntries = 2'000'000;

// The pictures as paths relative to `folder` ("2023\\kyoto\\img1.jpg", '\\' between folders), in
// the order listed. Nothing when `folder` itself cannot be listed (gone, renamed, access denied,
// medium removed). When `stop` becomes true the walk ends early with nothing.
std::optional<std::vector<std::string>> ListFolderPictures(FileSystem& files, std::string_view folder,
                                                           bool subfolders, const PictureDecoder& decoder,
                                                           const std::atomic<bool>* stop = nullptr);

// A folder slot as the settings dialog shows it: how many pictures the show would take from the
// folder, and the full path of the first one in name order (empty when there are none).
struct FolderSummary {
  std::size_t pictures = 0;
  std::string first;
};
// Nothing when the folder cannot be listed. Lists the whole folder: call it off the thread that
// draws for a folder that may be large or remote.
std::optional<FolderSummary> SummarizeFolder(FileSystem& files, std::string_view folder, bool subfolders,
                                             const PictureDecoder& decoder);

}  // namespace tessmoor
