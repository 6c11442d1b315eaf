#pragma once
#include <array>
#include <memory>
#include <optional>

#include "pattern2/motion_rules.h"
#include "pattern2/picture_window_port.h"
#include "show/picture_source.h"

namespace tessmoor::pattern2 {

// Where picture window n (1..4) stands when its motion mode is kStill: it is put
// there at its first tick and never moves or changes its picture.
inline constexpr std::array<Position, 4> kDesignedWindowPositions = {
    {{395, 282}, {284, 260}, {192, 107}, {498, 245}}};

// Picture window n of the pattern-2 show (`TNo2FormNo<n>`), showing the pictures of image box n
// and moving 2 pixels per tick on each axis by its motion mode.
//
// How the show window drives it (`ScrNo2FormNo<n>SpeedTimer`): once the show settings are read
// and the picture table is built, for every n whose `ShowSettings::window_timers[n - 1]` runs,
// make one WindowMotion(n, motion_mode[n - 1], window_scale[n - 1], table, window n's port) and
// run the timer at that interval; at each of its ticks (`ScrNo2FormNo<n>SpeedTimerTimer`) call
// Tick with the show window's size as it is then, and stop the timer for good when it answers
// kStop. The first tick creates and shows the window; nothing is shown before it.
//
// The picture index is the slot where the search for the next picture starts. A tick searches
// from it for a slot with a path (slot 0 is never one; after slot 12 the search goes on at 1) and
// makes that slot the tick's picture, which every window put up during the tick shows. The
// index moves on by one (13 wrapping to 0) at every new window and at every bounce, so a bounce
// off the bottom or the right edge, which puts up no picture, makes the next picture skip a slot.
//
// A slot whose picture turns out empty or undecodable is passed over as if its path were empty.
// One whose picture is not ready in time (a folder still being listed) is passed over the same
// way for this tick only; when no slot of the box is ready, the window keeps its picture, or is
// not created yet, and the next tick tries again. Pictures are asked for only when a window is
// put up or the index moves on, so the show never waits for a slot it does not need yet, and are
// taken from the source only when a window shows them, once per tick: a folder slot shows its
// next picture at each new window. When no slot of the box is left the tick answers kStop and the
// window, if it was shown, stays where it is.
class WindowMotion {
 public:
  // `window` is 1..4; `scale` is its scale in percent.
  WindowMotion(int window, Motion motion, int scale, PictureSource& pictures, PictureWindowPort& port);

  [[nodiscard]] TimerAction Tick(const ShowArea& area);

  bool created() const { return created_; }
  int picture_index() const { return picture_index_; }
  const Directions& directions() const { return directions_; }

 private:
  class Item;
  struct TickPicture {
    int slot = 0;
    const Picture* picture = nullptr;
    bool fetched = false;
    bool taken = false;
  };

  std::optional<int> FindSlot(int start) const;
  bool SlotUsable(int slot) const;
  const Picture* FetchTickPicture();
  void PutUp(const Picture& picture, const ShowArea& area);
  void AdvancePicture();

  int window_;
  Motion motion_;
  int scale_;
  PictureSource& pictures_;
  PictureWindowPort& port_;

  bool created_ = false;
  int picture_index_ = 1;
  Directions directions_;
  std::array<bool, 13> unusable_{};
  std::array<bool, 13> not_ready_{};  // this tick only
  TickPicture tick_;
  // The picture the window shows, kept for as long as it shows it.
  std::shared_ptr<const Picture> shown_;
  bool exhausted_ = false;
};

}  // namespace tessmoor::pattern2
