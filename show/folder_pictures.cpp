#include "show/folder_pictures.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/natural_order.h"
#include "platform/text.h"
#include "show/folder_order_state.h"

namespace tessmoor {
namespace {

// The same for the same entries in any order: the sum of the entries' own hashes and their count.
std::uint64_t ListingFingerprint(const std::vector<FolderEntry>& entries) {
  std::uint64_t sum = entries.size();
  for (const FolderEntry& e : entries) sum += NameHash(e.name) * 2 + (e.is_folder ? 1 : 0);
  return sum;
}

class Walk {
 public:
  Walk(FileSystem& files, bool subfolders, const PictureDecoder& decoder, const std::atomic<bool>* stop)
      : files_(files), subfolders_(subfolders), decoder_(decoder), stop_(stop) {}

  // False when the folder at the top cannot be listed or the walk was stopped.
  bool Visit(const std::string& path, const std::string& relative, int depth) {
    if (Stopped()) return false;
    std::optional<std::vector<FolderEntry>> entries = files_.ListFolder(path);
    if (!entries) return false;
    const std::uint64_t fingerprint = ListingFingerprint(*entries);
    // A folder that lists exactly what an enclosing folder lists is that folder reached again
    // through a link. (A folder holding nothing but one subfolder of the same name, which again
    // holds nothing but one of that name, looks the same, and is passed over too.)
    if (std::find(above_.begin(), above_.end(), fingerprint) != above_.end()) return true;
    above_.push_back(fingerprint);
    for (const FolderEntry& e : *entries) {
      if (++seen_ > kMaxFolderEntries) break;
      if (e.hidden || e.name.empty()) continue;
      const std::string name = relative.empty() ? e.name : relative + '\\' + e.name;
      if (!e.is_folder) {
        if (decoder_.Accepts(PictureExtension(e.name))) pictures_.push_back(name);
      } else if (subfolders_ && depth < kMaxFolderDepth) {
        if (!Visit(JoinPath(path, e.name), name, depth + 1) && Stopped()) return false;
      }
    }
    above_.pop_back();
    return true;
  }

  std::vector<std::string> Take() { return std::move(pictures_); }

 private:
  bool Stopped() const { return stop_ != nullptr && stop_->load(); }

  FileSystem& files_;
  const bool subfolders_;
  const PictureDecoder& decoder_;
  const std::atomic<bool>* stop_;
  std::vector<std::uint64_t> above_;
  std::vector<std::string> pictures_;
  std::size_t seen_ = 0;
};

}  // namespace

std::optional<std::vector<std::string>> ListFolderPictures(FileSystem& files, std::string_view folder,
                                                           bool subfolders, const PictureDecoder& decoder,
                                                           const std::atomic<bool>* stop) {
  if (folder.empty()) return std::nullopt;
  Walk walk(files, subfolders, decoder, stop);
  if (!walk.Visit(std::string(folder), "", 0)) return std::nullopt;
  return walk.Take();
}

std::optional<FolderSummary> SummarizeFolder(FileSystem& files, std::string_view folder, bool subfolders,
                                             const PictureDecoder& decoder) {
  std::optional<std::vector<std::string>> pictures = ListFolderPictures(files, folder, subfolders, decoder);
  if (!pictures) return std::nullopt;
  FolderSummary summary;
  summary.pictures = pictures->size();
  const auto first = std::min_element(pictures->begin(), pictures->end(), NaturalPathLess{});
  if (first != pictures->end()) summary.first = JoinPath(folder, *first);
  return summary;
}

}  // namespace tessmoor
