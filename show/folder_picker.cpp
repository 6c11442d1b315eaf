#include "show/folder_picker.h"

#include <unordered_set>
#include <utility>

#include "platform/text.h"
#include "show/decode_queue.h"
#include "show/folder_pictures.h"

namespace tessmoor {

FolderPicker::FolderPicker(FileSystem& files, const PictureDecoder& decoder, Setup setup, std::uint64_t seed)
    : files_(files), decoder_(decoder), setup_(std::move(setup)), random_(seed) {
  FolderKept kept = ParseFolderKept(setup_.kept);
  cursor_ = std::move(kept.place);
  start_ = std::move(kept.next);
}

bool FolderPicker::List(const Hooks& hooks) {
  if (hooks.step) hooks.step(Step::kListing);
  std::optional<std::vector<std::string>> pictures =
      ListFolderPictures(files_, setup_.folder, setup_.subfolders, decoder_, hooks.stop);
  listing_due_ = false;
  picks_since_listing_ = 0;
  following_.reset();
  if (!pictures) {
    listing_.reset();
    return false;
  }
  listing_.emplace(std::move(*pictures), setup_.order == FolderOrderKind::kByName ? FolderListing::Order::kNatural
                                                                                  : FolderListing::Order::kAsGiven);
  return true;
}

std::shared_ptr<const Picture> FolderPicker::Load(const std::string& path, const Hooks& hooks, bool& gone) {
  auto stopped = [&] { return hooks.stop != nullptr && hooks.stop->load(); };
  if (hooks.step) hooks.step(Step::kReading);
  const std::shared_ptr<void> turn = hooks.turn ? hooks.turn() : nullptr;
  gone = false;
  if (stopped()) return nullptr;
  std::optional<std::vector<std::uint8_t>> bytes =
      files_.ReadFile(JoinPath(setup_.folder, path), DecodeQueue::kMaxFileBytes);
  gone = !bytes;
  if (!bytes || stopped()) return nullptr;
  if (hooks.step) hooks.step(Step::kDecoding);
  DecodeResult result = decoder_.Decode(*bytes, PictureExtension(path), setup_.target);
  if (result.status != DecodeStatus::kOk || result.picture.empty()) return nullptr;
  return std::make_shared<const Picture>(std::move(result.picture));
}

std::optional<FolderPicker::Pick> FolderPicker::Next(const Hooks& hooks) {
  auto stopped = [&] { return hooks.stop != nullptr && hooks.stop->load(); };
  // The kept next picture, before any listing: the show's first picture costs one file.
  if (std::optional<FolderPick> start = std::exchange(start_, std::nullopt);
      start && decoder_.Accepts(PictureExtension(start->path))) {
    bool gone = false;
    if (std::shared_ptr<const Picture> picture = Load(start->path, hooks, gone))
      return Pick{std::move(picture), std::move(start->path), std::move(start->state)};
  }
  std::unordered_set<std::uint64_t> failed;
  std::size_t attempts = 0;
  auto list_again = [&] {
    relisted_ = true;
    failed.clear();
    attempts = 0;
    return List(hooks);
  };
  if (listing_due_ && !List(hooks)) return std::nullopt;
  while (!stopped() && listing_) {
    std::optional<FolderPick> pick;
    if (following_ && following_base_ == cursor_) pick = std::exchange(following_, std::nullopt);
    if (!pick) pick = NextInFolder(setup_.folder, *listing_, setup_.order, cursor_, random_);
    if (!pick) return std::nullopt;  // nothing listed
    ++picks_since_listing_;
    bool gone = false;
    if (std::shared_ptr<const Picture> picture = Load(pick->path, hooks, gone)) {
      relisted_ = false;
      // A whole round of the listing picked: list again, so that pictures added join.
      if (picks_since_listing_ >= listing_->size()) listing_due_ = true;
      return Pick{std::move(picture), std::move(pick->path), std::move(pick->state)};
    }
    // Passed over: the order goes on after it.
    cursor_ = std::move(pick->state);
    failed.insert(NameHash(pick->path));
    ++attempts;
    const bool all_failed = failed.size() >= listing_->size() || attempts > 2 * listing_->size() + 2;
    if (relisted_ && all_failed) return std::nullopt;
    if ((gone || all_failed) && !relisted_ && !list_again()) return std::nullopt;
  }
  return std::nullopt;
}

std::optional<FolderPick> FolderPicker::Following(const std::string& place) {
  if (!listing_ || listing_due_) return std::nullopt;
  if (!following_ || following_base_ != place) {
    following_ = NextInFolder(setup_.folder, *listing_, setup_.order, place, random_);
    following_base_ = place;
  }
  return following_;
}

void FolderPicker::Shown(const Pick& pick) { cursor_ = pick.place; }

void FolderPicker::RelistIfDue(const std::atomic<bool>* stop) {
  if (!listing_due_) return;
  Hooks quiet;
  quiet.stop = stop;
  // A folder that has gone by now shows as an empty slot at the next pick.
  List(quiet);
}

}  // namespace tessmoor
