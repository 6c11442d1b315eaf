#include "show/slide_engine.h"

#include <vector>

#include "app/settings_keys.h"
#include "platform/image/picture.h"

namespace tessmoor {
namespace {

constexpr int kLastSlot = keys::kSlotsPerBox;
constexpr int kLastBox = keys::kBoxCount;

// A usable slide interval: a timer cannot run at zero or fewer milliseconds.
bool GoodInterval(const std::optional<int>& ms) { return ms && *ms > 0; }

int FirstGoodInterval(const ShowSettings& show) {
  if (GoodInterval(show.slide_interval)) return show.slide_interval;
  return Settings::FirstRunNumber(keys::kSlideInterval);
}

}  // namespace

SlideEngine::SlideEngine(Parts parts)
    : parts_(parts),
      interval_ms_(parts.show.slide_timer.interval_ms),
      slide_interval_ms_(FirstGoodInterval(parts.show)),
      scale_percent_(parts.show.scale) {}

SlideEngine::Mode SlideEngine::ModeOf(std::string_view text) {
  if (text == "1") return Mode::kCentre;
  if (text == "2") return Mode::kRandomPlacement;
  if (text == "3") return Mode::kRandomPaste;
  if (text == "4") return Mode::kFiveDirections;
  return Mode::kNone;
}

int SlideEngine::PauseSeconds(int slide_interval_ms) {
  // The product is formed in extended precision and only then narrowed to single precision, so
  // an interval such as 999999999 ms rounds up to a whole 1000000 s before the truncation.
  const float seconds = static_cast<float>(static_cast<long double>(slide_interval_ms) * 0.001);
  return static_cast<int>(seconds);
}

SlideEngine::SlideTick SlideEngine::Tick() {
  Canvas& canvas = parts_.canvas;
  mode_ = ModeOf(parts_.show.current_detail_mode);
  pause_seconds_ = 0;
  interval_at_pause_ = -1;

  if (mode_ == Mode::kRandomPaste) {
    if (state_.paste_clear) {
      canvas.Clear();
      state_.paste_clear = false;
    }
  } else if (mode_ == Mode::kFiveDirections) {
    if (state_.five_position == 1) canvas.Clear();
  } else {
    canvas.Clear();
  }

  fit_side_ = FitSide(canvas.ClientWidth(), canvas.ClientHeight(), scale_percent_);
  if (mode_ == Mode::kNone) return {interval_ms_, 0};

  if (!state_.started) {
    canvas.Clear();
    state_.started = true;
    interval_ms_ = kAfterStartMs;
    return {interval_ms_, 0};
  }

  if (mode_ != Mode::kRandomPaste) RereadSlideInterval();
  interval_ms_ = slide_interval_ms_;

  // Only the section of the current box acts; the others find that the box is not theirs.
  const int box = state_.current_box;
  if (BoxInUse(box)) {
    SlotWalk(box);
  } else {
    ChangeFromBoxNotInUse(box);
  }
  return {interval_ms_, pause_seconds_, interval_ms_ != interval_at_pause_};
}

void SlideEngine::BeginLater(int pictures) {
  if (pictures <= 0 || state_ != State{}) return;
  struct Place {
    int box;
    int slot;
  };
  std::vector<Place> order;
  for (int b = 1; b <= kLastBox; ++b) {
    if (!parts_.show.box_use[b - 1]) continue;
    for (int s = 1; s <= kLastSlot; ++s)
      if (parts_.pictures.Present(b, s)) order.push_back({b, s});
  }
  // A whole number of rounds begins where an engine without an offset does.
  const std::size_t later = order.empty() ? 0 : static_cast<std::size_t>(pictures) % order.size();
  if (later == 0) return;
  const Place& first = order[later];
  state_.current_box = first.box;
  state_.slot_counter = first.slot;
}

void SlideEngine::RereadSlideInterval() {
  // A key that vanished reads back as the not-set marker and, like a damaged value, leaves the
  // last good interval in use; nothing is written back during the show.
  const std::optional<int> ms = ParseNumber(parts_.settings.Peek(keys::kSlideInterval));
  if (GoodInterval(ms)) slide_interval_ms_ = *ms;
}

bool SlideEngine::BoxInUse(int box) {
  return parts_.show.box_use[box - 1] && parts_.pictures.BoxHasPicture(box);
}

void SlideEngine::SlotWalk(int box) {
  State& st = state_;
  // A missing slot moves the counter on and the next slot is tested in the same tick.
  for (int s = 1; s < kLastSlot; ++s) {
    if (st.slot_counter == s && !DrawSlot(box, s)) st.slot_counter = s + 1;
  }
  if (st.slot_counter == kLastSlot) {
    bool change = true;
    if (DrawSlot(box, kLastSlot)) {
      pause_seconds_ = PauseSeconds(slide_interval_ms_);
      interval_at_pause_ = interval_ms_;
      // Five directions: slot 12 stays for all five places, with a pause after each.
      change = mode_ != Mode::kFiveDirections || st.five_position == 5;
    }
    if (change) {
      if (mode_ == Mode::kFiveDirections) st.five_position = 1;
      ChangeAfterLastSlot(box);
      if (box < kLastBox) return;
    }
  }
  // After the restart from the last box this still runs, leaving the counter at 1 (five
  // directions: the position at 2, the counter at 0).
  if (mode_ == Mode::kFiveDirections) {
    PositionStep();
  } else {
    ++st.slot_counter;
  }
}

void SlideEngine::PositionStep() {
  if (state_.five_position < 5) {
    ++state_.five_position;
  } else {
    state_.five_position = 1;
    ++state_.slot_counter;
  }
}

bool SlideEngine::DrawSlot(int box, int slot) {
  if (!parts_.pictures.Present(box, slot)) return false;
  const bool same_visit = mode_ == Mode::kFiveDirections && state_.five_position > 1 && visit_.picture &&
                          visit_.box == box && visit_.slot == slot;
  if (!same_visit) visit_ = {box, slot, parts_.pictures.Take(box, slot)};
  const Picture* picture = visit_.picture.get();
  // A picture that failed to decode, or a file of a type that is not decoded, has nothing to fit.
  if (picture == nullptr || picture->empty() || picture->source_width <= 0 ||
      picture->source_height <= 0) {
    visit_ = {};
    return false;
  }
  const Size fitted = FitPicture({picture->source_width, picture->source_height}, fit_side_);
  // A canvas under 100 pixels on a side (a monitor a driver reports 1 pixel high, say) has a fit
  // side of 0: the slot takes its turn, but there is nothing to draw and no room to place it in.
  if (fitted.width <= 0 || fitted.height <= 0) return true;
  const Rect rect = Place(fitted);
  parts_.canvas.StretchDraw(rect, *picture);
  return true;
}

Rect SlideEngine::Place(Size fitted) {
  const int cw = parts_.canvas.ClientWidth();
  const int ch = parts_.canvas.ClientHeight();
  const int w = fitted.width;
  const int h = fitted.height;
  auto centred = [](int client, int size) {
    return static_cast<int>(client * 0.5 - size * 0.5);
  };
  int x = 0;
  int y = 0;
  switch (mode_) {
    case Mode::kCentre:
      x = centred(cw, w);
      y = centred(ch, h);
      break;
    case Mode::kRandomPlacement:
    case Mode::kRandomPaste:
      x = Random(cw - w);
      y = Random(ch - h);
      break;
    case Mode::kFiveDirections:
      switch (state_.five_position) {
        case 1: x = centred(cw, w); y = centred(ch, h); break;
        case 2: x = 0; y = 0; break;
        case 3: x = cw - w; y = 0; break;
        case 4: x = cw - w; y = ch - h; break;
        default: x = 0; y = ch - h; break;
      }
      break;
    case Mode::kNone:
      break;
  }
  return {x, y, x + w, y + h};
}

int SlideEngine::Random(int n) {
  if (n == 0) return 0;
  // The remainder takes the sign of the (non-negative) dividend: a picture larger than the window
  // gets an offset in 0 .. |n| - 1 and overhangs the right or bottom edge.
  return static_cast<int>(parts_.random.Next31() % n);
}

void SlideEngine::ChangeAfterLastSlot(int box) {
  state_.slot_counter = 0;
  state_.paste_clear = true;
  MoveToBoxAfter(box);
}

void SlideEngine::ChangeFromBoxNotInUse(int box) {
  if (mode_ == Mode::kFiveDirections) state_.five_position = 1;
  MoveToBoxAfter(box);
}

void SlideEngine::MoveToBoxAfter(int box) {
  if (box == kLastBox) {
    Restart();
    return;
  }
  state_.current_box = box + 1;
  SearchFrom(box + 1);
}

void SlideEngine::SearchFrom(int first_box) {
  for (int k = first_box; k <= kLastBox; ++k) {
    if (BoxInUse(k)) {
      interval_ms_ = kAfterStartMs;
      return;
    }
    state_.current_box = k + 1;
    interval_ms_ = kPassOverMs;
  }
  Restart();
}

void SlideEngine::Restart() {
  state_.started = false;
  state_.current_box = 1;
  interval_ms_ = kPassOverMs;
}

}  // namespace tessmoor
