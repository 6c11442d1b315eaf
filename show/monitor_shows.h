#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/settings.h"
#include "platform/canvas.h"
#include "platform/image/picture.h"
#include "platform/random.h"
#include "show/monitors.h"
#include "show/picture_source.h"
#include "show/show_settings.h"
#include "show/slide_engine.h"

namespace tessmoor {

// The window over one monitor beside the primary, as the show drives it.
class MonitorSurface {
 public:
  virtual ~MonitorSurface() = default;
  // Covers `bounds` from now on (screen coordinates, in the monitor's own pixels); a canvas is
  // made again, black, at the new size.
  virtual void MoveTo(const Rect& bounds) = 0;
  // What the monitor's slide show draws on; nullptr for a black window.
  virtual Canvas* canvas() = 0;
  // The window's own timer: its next tick `ms` from now; 0 stops it.
  virtual void ArmTimer(std::int64_t ms) = 0;
};

// Opens the windows over the monitors beside the primary; closing one is destroying it.
class MonitorSurfaces {
 public:
  virtual ~MonitorSurfaces() = default;
  // A window over `bounds`, with a canvas when `slides`, whose timer runs `tick`.
  virtual std::unique_ptr<MonitorSurface> Open(const Rect& bounds, bool slides, std::function<void()> tick) = 0;
};

// Whether the monitors beside the primary run slide shows of their own: pattern 1 with the
// every-monitor setting on. Pattern 2's windows stay over the primary.
bool SlidesOnEveryMonitor(const ShowSettings& show);

// The size each box's pictures are decoded at: the largest any window draws them at, so that one
// decode serves every monitor. `primary` is the show window's client size; `others` are the
// monitors beside it, which count only when they run slide shows.
std::array<DecodeTarget, 4> ShowDecodeTargetsOver(const ShowSettings& show, Size primary,
                                                  const std::vector<Rect>& others);

// The windows over the monitors beside the primary, black or each with a slide show of its own:
// the same engine as the primary's, on the window's own canvas (so its fit side comes from that
// monitor's size), with its own random placement, paste state and timer, reading the one picture
// table. The monitor k places after the primary in MonitorsToCover's order begins k pictures
// later (SlideEngine::BeginLater), so that the monitors do not show the same picture at once.
//
// Cover() follows the monitors as they are now, at the start and after every change of the
// display: a window whose monitor is gone closes, a window whose monitor changed size or place
// follows it and its show goes on, and a new monitor gets a new window whose show begins at its
// place in the order. The primary's window and engine belong to the shell.
class OtherMonitors {
 public:
  struct Parts {
    const ShowSettings& show;
    Settings& settings;
    PictureSource& pictures;
    MonitorSurfaces& surfaces;
    std::uint64_t seed;  // of the generators the monitors' random placements draw from
  };
  explicit OtherMonitors(Parts parts);
  ~OtherMonitors();
  OtherMonitors(const OtherMonitors&) = delete;
  OtherMonitors& operator=(const OtherMonitors&) = delete;

  // Covers every monitor of `monitors` but the primary, whose area it returns (nothing when the
  // list is empty) for the shell's own window.
  std::optional<Rect> Cover(const std::vector<MonitorArea>& monitors);

  bool slides() const { return slides_; }
  // The areas covered now, in the show's order.
  std::vector<Rect> covered() const;
  // The engine over covered()[i], or nullptr for a black window.
  const SlideEngine* engine(int i) const;

 private:
  struct Entry;
  std::unique_ptr<Entry> Open(const Rect& bounds, int place);

  Parts parts_;
  const bool slides_;
  SplitMixRandom seeds_;
  std::vector<std::unique_ptr<Entry>> entries_;
};

}  // namespace tessmoor
