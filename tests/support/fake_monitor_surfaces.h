#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "show/monitor_shows.h"
#include "tests/support/fake_canvas.h"
#include "tests/support/memory_canvas.h"

namespace tessmoor::testing {

class FakeMonitorSurfaces;

// A window over a monitor beside the primary: its area, its canvas (recording or really drawing),
// its timer as last armed, and what its timer runs.
class FakeMonitorSurface final : public MonitorSurface {
 public:
  FakeMonitorSurface(FakeMonitorSurfaces& owner, const Rect& bounds, bool slides, std::function<void()> tick);
  ~FakeMonitorSurface() override;

  void MoveTo(const Rect& bounds) override;
  Canvas* canvas() override { return canvas_.get(); }
  void ArmTimer(std::int64_t ms) override { armed_ms_ = ms; }

  // Runs what the timer runs, as its firing would.
  void Fire() { tick_(); }
  const Rect& bounds() const { return bounds_; }
  std::int64_t armed_ms() const { return armed_ms_; }
  // The recording canvas, or nullptr (a black window, or one that really draws).
  FakeCanvas* recorded() const;
  MemoryCanvas* memory() const;

 private:
  void MakeCanvas();

  FakeMonitorSurfaces& owner_;
  Rect bounds_;
  bool slides_;
  std::function<void()> tick_;
  std::unique_ptr<Canvas> canvas_;
  std::int64_t armed_ms_ = -1;  // never armed
};

// Opens FakeMonitorSurfaces and keeps a log of what happened to them: "open (l,t,r,b) slides"
// or "black", "move (l,t,r,b)", "close (l,t,r,b)".
class FakeMonitorSurfaces final : public MonitorSurfaces {
 public:
  enum class Canvases { kRecording, kMemory };
  // Recording canvases know the pictures of `names`, when given, by their numbers.
  explicit FakeMonitorSurfaces(Canvases canvases = Canvases::kRecording, const FakePictures* names = nullptr)
      : canvases_(canvases), names_(names) {}

  std::unique_ptr<MonitorSurface> Open(const Rect& bounds, bool slides, std::function<void()> tick) override;

  // The surfaces open now, in the order they were opened.
  const std::vector<FakeMonitorSurface*>& open() const { return open_; }
  FakeMonitorSurface* Over(const Rect& bounds) const;
  std::vector<std::string> TakeLog();

 private:
  friend class FakeMonitorSurface;
  Canvases canvases_;
  const FakePictures* names_;
  std::vector<FakeMonitorSurface*> open_;
  std::vector<std::string> log_;
};

std::string Text(const Rect& r);

}  // namespace tessmoor::testing
