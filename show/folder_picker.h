#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/image/picture.h"
#include "platform/image/picture_decoder.h"
#include "platform/random.h"
#include "show/folder_kept.h"
#include "show/folder_order.h"

namespace tessmoor {

// One folder slot's pictures, one at a time, in the slot's order: lists the folder, picks the next
// picture (NextInFolder, from the place kept), reads and decodes it. It does all of that on the
// thread that calls it, which may wait on a slow disk: the show calls it from the slot's own
// background thread (FolderFeed).
//
// Faults are the folder's, never the show's:
//   - a picture that cannot be read (deleted or renamed since the listing) makes the folder be
//     listed again once, and the order goes on after it;
//   - a picture that cannot be decoded is passed over, and the order goes on after it;
//   - once every listed picture has failed since the last good one, the folder is listed again;
//     if every picture of that listing fails too, or the folder cannot be listed, or it holds no
//     picture, the slot has none: Next gives nothing, for good.
// So a folder that vanishes, is renamed or emptied during the show ends as an empty slot, and one
// with a few good pictures among bad ones shows the good ones in turn. Each Next reads at most
// about twice as many files as the folder lists.
class FolderPicker {
 public:
  struct Setup {
    std::string folder;  // the slot's path
    bool subfolders = true;
    FolderOrderKind order = FolderOrderKind::kShuffled;
    std::string kept;  // the slot's kept value (folder_kept.h); any other text starts a fresh order
    DecodeTarget target;
  };
  enum class Step { kListing, kReading, kDecoding };
  struct Hooks {
    std::function<void(Step)> step;  // told as each step begins
    // Taken before a file is read and held until it is decoded (the show's decode turn).
    std::function<std::shared_ptr<void>()> turn;
    const std::atomic<bool>* stop = nullptr;  // ends Next with nothing as soon as it is seen
  };
  struct Pick {
    std::shared_ptr<const Picture> picture;
    std::string path;   // relative to the folder
    std::string place;  // the slot's place once this picture has been shown
  };

  // `files` and `decoder` must outlive the picker; `seed` starts its shuffles.
  FolderPicker(FileSystem& files, const PictureDecoder& decoder, Setup setup, std::uint64_t seed);

  // The next picture after the last one shown (Shown), listing the folder first when that is due.
  // The first call takes the next picture the kept value names, if it can, without listing.
  std::optional<Pick> Next(const Hooks& hooks);
  // The pick that follows the picture whose place after it is `place`, as the next Next will take
  // it once that picture has been shown; nothing while the folder has not been listed. Reads
  // nothing: it is what the slot keeps as its next picture.
  std::optional<FolderPick> Following(const std::string& place);
  // `pick` has been shown: the order goes on after it.
  void Shown(const Pick& pick);
  // Lists the folder now if that is due: after a whole round of the listing, so that pictures
  // added during a long show join, and after a start on the kept next picture. The show does it
  // while the picture just picked waits for its turn, before it asks for Following.
  void RelistIfDue(const std::atomic<bool>* stop);

  // Pictures in the last listing.
  std::size_t listed() const { return listing_ ? listing_->size() : 0; }

 private:
  bool List(const Hooks& hooks);
  // Reads and decodes one picture; `gone` when it cannot be read.
  std::shared_ptr<const Picture> Load(const std::string& path, const Hooks& hooks, bool& gone);

  FileSystem& files_;
  const PictureDecoder& decoder_;
  const Setup setup_;
  SplitMixRandom random_;
  std::optional<FolderListing> listing_;
  std::string cursor_;  // the place the next pick starts from
  std::optional<FolderPick> start_;  // the next picture the kept value named
  std::optional<FolderPick> following_;  // worked out ahead by Following
  std::string following_base_;           // the place it follows
  bool listing_due_ = true;
  bool relisted_ = false;  // listed again since the last good picture
  std::size_t picks_since_listing_ = 0;
};

}  // namespace tessmoor
