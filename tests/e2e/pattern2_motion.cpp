#include "tests/e2e/pattern2_motion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace tessmoor::e2e::pattern2_motion {

std::ostream& operator<<(std::ostream& out, const Dim& d) { return out << d.width << "x" << d.height; }

std::ostream& operator<<(std::ostream& out, const Box& b) {
  return out << "(" << b.left << "," << b.top << " " << b.size << ")";
}

Dim HalfFitted(Dim item, int scale, Dim client) {
  if (item.width <= 0 && item.height <= 0) return {};
  const int f = std::min(scale * (client.width / 100), scale * (client.height / 100));
  const auto times = [f](int a, int b) {
    // The store rounds the ratio to double even in x87 code, which would keep 80 bits.
    const volatile double ratio = static_cast<double>(a) / b;
    return static_cast<int>(static_cast<long double>(f) * ratio);
  };
  const Dim fitted = item.width > item.height ? Dim{f, times(item.height, item.width)}
                                              : Dim{times(item.width, item.height), f};
  return {fitted.width / 2, fitted.height / 2};
}

Expected Expected::Window(int n, const std::string& mode, std::map<int, Dim> slots) {
  Expected e(n, mode, 2, {kScreenWidth, kScreenHeight});
  e.window_ = true;
  e.slots_ = std::move(slots);
  return e;
}

Expected Expected::Panel(int n, const std::string& mode, Dim form, int scale) {
  Expected e(n, mode, 1, form);
  e.scale_ = scale;
  e.box_ = kDesignedPanels[n - 1];
  e.steps_.push_back({0, e.box_});
  return e;
}

Expected::Expected(int n, const std::string& mode, int step, Dim bounds) : n_(n), step_(step), bounds_(bounds) {
  static const std::map<std::string, Mode> modes = {{"1", Mode::kTopLeft}, {"2", Mode::kTopRight},
                                                    {"3", Mode::kBottomLeft}, {"4", Mode::kBottomRight},
                                                    {"5", Mode::kBounce}};
  const auto it = modes.find(mode);
  mode_ = it == modes.end() ? Mode::kStill : it->second;
}

const Step& Expected::At(std::size_t i) {
  while (steps_.size() <= i) Tick();
  return steps_[i];
}

std::pair<int, int> Expected::Corner() const {
  const int right = bounds_.width - box_.size.width;
  const int bottom = bounds_.height - box_.size.height;
  switch (mode_) {
    case Mode::kTopLeft: return {0, 0};
    case Mode::kTopRight: return {right, 0};
    case Mode::kBottomLeft: return {0, bottom};
    case Mode::kBottomRight: return {right, bottom};
    default: return {n_ == 2 || n_ == 4 ? right : 0, n_ == 3 || n_ == 4 ? bottom : 0};
  }
}

// A window shows the tick's picture anew; a panel is resized from its own last size.
void Expected::Renew() { box_.size = window_ ? picture_ : HalfFitted(box_.size, scale_, bounds_); }

void Expected::Shown() {
  if (window_) Record();
}

void Expected::Record() {
  if (steps_.empty() || steps_.back().tick != tick_ || !(steps_.back().box == box_))
    steps_.push_back({tick_, box_});
}

void Expected::Tick() {
  ++tick_;
  if (window_) {
    int slot = index_;
    while (slot < 1 || !slots_.count(slot)) slot = slot >= 12 ? 1 : slot + 1;
    index_ = slot;
    picture_ = slots_.at(slot);
  }
  if (!placed_) {
    Renew();
    if (mode_ != Mode::kStill)
      std::tie(box_.left, box_.top) = Corner();
    else if (window_)
      std::tie(box_.left, box_.top) = kDesignedWindowPlaces[n_ - 1];
    placed_ = true;
    Shown();
    if (window_) Advance();
  }
  if (mode_ == Mode::kBounce) {
    Bounce();
  } else if (mode_ != Mode::kStill) {
    const bool from_top = mode_ == Mode::kTopLeft || mode_ == Mode::kTopRight;
    const bool from_left = mode_ == Mode::kTopLeft || mode_ == Mode::kBottomLeft;
    box_.top += from_top ? step_ : -step_;
    box_.left += from_left ? step_ : -step_;
    Shown();
    if (from_top ? box_.top > bounds_.height : box_.top < 0) {
      Renew();
      std::tie(box_.left, box_.top) = Corner();
      Shown();
      Advance();
    }
  }
  Record();
}

void Expected::Bounce() {
  if (box_.top + box_.size.height > bounds_.height) {
    down_ = false;
    Advance();
  } else if (box_.top < 0) {
    Renew();
    Shown();
    Advance();
    down_ = true;
  }
  if (box_.left + box_.size.width > bounds_.width) {
    right_ = false;
    Advance();
  } else if (box_.left < 0) {
    Renew();
    Shown();
    Advance();
    right_ = true;
  }
  box_.left += right_ ? step_ : -step_;
  box_.top += down_ ? step_ : -step_;
}

bool Track::See(const Box& box, Clock::time_point at) {
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(at - last_at_).count();
  const int from_tick = std::max(tick_, 0);
  const int reach = from_tick + static_cast<int>(elapsed * 3 / (2 * interval_ms_)) + 5;
  for (std::size_t j = index_; expected_.At(j).tick <= reach; ++j) {
    const Step& step = expected_.At(j);
    if (!(step.box == box)) continue;
    index_ = j;
    tick_ = step.tick;
    if (first_tick_ < 0) first_tick_ = tick_;
    last_at_ = at;
    if (step.tick > 0) sizes_.insert(box.size);
    ++samples_;
    return true;
  }
  std::ostringstream out;
  out << "seen " << box << " after tick " << from_tick << "; the next states are";
  for (std::size_t j = index_; j < index_ + 6; ++j) out << " " << expected_.At(j).tick << ":" << expected_.At(j).box;
  failure_ = out.str();
  return false;
}

std::optional<Box> StableBox(HWND hwnd, POINT origin) {
  RECT a{}, b{};
  if (!GetWindowRect(hwnd, &a)) return std::nullopt;
  const bool visible = IsWindowVisible(hwnd) != FALSE;
  if (!GetWindowRect(hwnd, &b) || !visible || !EqualRect(&a, &b)) return std::nullopt;
  return Box{a.left - origin.x, a.top - origin.y, {a.right - a.left, a.bottom - a.top}};
}

bool Follow(const std::function<HWND(int)>& find, POINT origin, std::array<std::optional<Track>, 4>& tracks,
            const std::function<bool()>& done, std::chrono::milliseconds timeout,
            const std::function<void()>& every_second) {
  const auto end = Clock::now() + timeout;
  auto next_second = Clock::now() + std::chrono::seconds(1);
  std::array<HWND, 4> windows{};
  while (Clock::now() < end && !done()) {
    for (int n = 1; n <= 4; ++n) {
      if (!tracks[n - 1]) continue;
      if (!windows[n - 1] || !IsWindowVisible(windows[n - 1])) windows[n - 1] = find(n);
      if (!windows[n - 1]) continue;
      const std::optional<Box> box = StableBox(windows[n - 1], origin);
      if (!box) continue;
      if (!tracks[n - 1]->See(*box, Clock::now())) {
        ADD_FAILURE() << "item " << n << ": " << tracks[n - 1]->failure();
        return false;
      }
    }
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    if (every_second && Clock::now() >= next_second) {
      every_second();
      next_second += std::chrono::seconds(1);
    }
    Sleep(1);
  }
  return done();
}

}  // namespace tessmoor::e2e::pattern2_motion
