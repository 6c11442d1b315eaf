#include "pattern2/window_motion.h"

#include <algorithm>

#include "app/settings_keys.h"
#include "pattern2/item_size.h"
#include "platform/image/picture.h"

namespace tessmoor::pattern2 {

namespace {

constexpr int kStep = 2;
constexpr int kLastSlot = keys::kSlotsPerBox;

// The size the fit works on: the file's own, which a picture decoded smaller keeps.
Size FitSizeOf(const Picture& picture) {
  if (picture.source_width > 0 && picture.source_height > 0)
    return {picture.source_width, picture.source_height};
  return {picture.width, picture.height};
}

// Advancing the picture index: one slot on, 13 wrapping to 0 (where the next search goes on at 1).
int NextIndex(int index) { return index == kLastSlot ? 0 : index + 1; }

bool Showable(const Picture* picture) {
  if (picture == nullptr || picture->empty()) return false;
  const Size size = FitSizeOf(*picture);
  return size.width > 0 && size.height > 0;
}

}  // namespace

// The window as the shared motion rules see it; renewing it puts up the tick's picture.
class WindowMotion::Item : public MovingItem {
 public:
  Item(WindowMotion& owner, const ShowArea& area) : owner_(owner), area_(area) {}

  Position position() const override { return {owner_.port_.Left(), owner_.port_.Top()}; }
  Size size() const override { return {owner_.port_.Width(), owner_.port_.Height()}; }
  void MoveTo(Position p) override { owner_.port_.SetPosition(p.left, p.top); }
  void Renew() override {
    const Picture* picture = owner_.FetchTickPicture();
    // The box has run out of pictures; the old one stays up until the timer stops.
    if (picture == nullptr) return;
    owner_.port_.Close();
    owner_.PutUp(*picture, area_);
  }
  void Present() override { owner_.port_.Show(); }
  void AdvancePicture() override { owner_.AdvancePicture(); }

 private:
  WindowMotion& owner_;
  const ShowArea& area_;
};

WindowMotion::WindowMotion(int window, Motion motion, int scale, PictureSource& pictures,
                           PictureWindowPort& port)
    : window_(window),
      motion_(motion),
      scale_(scale),
      pictures_(pictures),
      port_(port) {}

TimerAction WindowMotion::Tick(const ShowArea& area) {
  not_ready_ = {};
  const std::optional<int> slot = FindSlot(picture_index_);
  if (!slot) return TimerAction::kStop;
  picture_index_ = *slot;
  tick_ = TickPicture{*slot};

  if (!created_) {
    const Picture* picture = FetchTickPicture();
    if (picture == nullptr) return exhausted_ ? TimerAction::kStop : TimerAction::kKeepRunning;
    PutUp(*picture, area);
    const Position start =
        motion_ == Motion::kStill
            ? kDesignedWindowPositions[window_ - 1]
            : StartCorner(motion_, window_, area.bounds, {port_.Width(), port_.Height()});
    port_.SetPosition(start.left, start.top);
    port_.Show();
    created_ = true;
    AdvancePicture();
  }

  Item item(*this, area);
  StepMotion(motion_, window_, kStep, area.bounds, item, directions_);
  return exhausted_ ? TimerAction::kStop : TimerAction::kKeepRunning;
}

bool WindowMotion::SlotUsable(int slot) const {
  return !unusable_[slot] && !not_ready_[slot] && !pictures_.Path(window_, slot).empty();
}

// The slots from `start` to 12 and then from 1 on: the same slot the endless search over the
// path table would stop at, but a box without any usable slot gives nothing.
std::optional<int> WindowMotion::FindSlot(int start) const {
  const int first = start < 1 ? 1 : start;
  for (int k = 0; k < kLastSlot; ++k) {
    const int slot = (first - 1 + k) % kLastSlot + 1;
    if (SlotUsable(slot)) return slot;
  }
  return std::nullopt;
}

// The tick's picture, asked for only when a window is put up or the index moves on from the
// tick's slot. A slot that turns out unusable is treated as if it had been empty when the tick
// began: the tick takes the next usable slot. Because no advance counts from a slot before it
// has been found usable, the index then stands exactly where it would have with the slot empty.
const Picture* WindowMotion::FetchTickPicture() {
  while (!tick_.fetched) {
    const Picture* picture = pictures_.PictureAt(window_, tick_.slot);
    if (Showable(picture)) {
      tick_.picture = picture;
      tick_.fetched = true;
      break;
    }
    // A path still set with nothing to show: not ready in time, passed over for this tick.
    const bool not_ready = picture == nullptr && !pictures_.Path(window_, tick_.slot).empty();
    (not_ready ? not_ready_ : unusable_)[tick_.slot] = true;
    const std::optional<int> next = FindSlot(tick_.slot);
    if (!next) {
      exhausted_ = std::none_of(not_ready_.begin(), not_ready_.end(), [](bool b) { return b; });
      tick_.fetched = true;
      break;
    }
    tick_.slot = *next;
    picture_index_ = *next;
  }
  return tick_.picture;
}

void WindowMotion::PutUp(const Picture& picture, const ShowArea& area) {
  // A second window in the same tick shows the same picture, which was taken for the first.
  std::shared_ptr<const Picture> taken;
  if (!tick_.taken) {
    taken = pictures_.Take(window_, tick_.slot);
    tick_.taken = true;
  }
  port_.Create(picture, PictureWindowSize(FitSizeOf(picture), area.client, scale_));
  if (taken) shown_ = std::move(taken);
}

void WindowMotion::AdvancePicture() {
  FetchTickPicture();
  if (exhausted_) return;
  picture_index_ = NextIndex(picture_index_);
}

}  // namespace tessmoor::pattern2
