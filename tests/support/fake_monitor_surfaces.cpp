#include "tests/support/fake_monitor_surfaces.h"

#include <algorithm>

namespace tessmoor::testing {

std::string Text(const Rect& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + ")";
}

FakeMonitorSurface::FakeMonitorSurface(FakeMonitorSurfaces& owner, const Rect& bounds, bool slides,
                                       std::function<void()> tick)
    : owner_(owner), bounds_(bounds), slides_(slides), tick_(std::move(tick)) {
  MakeCanvas();
  owner_.open_.push_back(this);
  owner_.log_.push_back("open " + Text(bounds) + (slides ? " slides" : " black"));
}

FakeMonitorSurface::~FakeMonitorSurface() {
  owner_.log_.push_back("close " + Text(bounds_));
  owner_.open_.erase(std::find(owner_.open_.begin(), owner_.open_.end(), this));
}

void FakeMonitorSurface::MoveTo(const Rect& bounds) {
  bounds_ = bounds;
  MakeCanvas();
  owner_.log_.push_back("move " + Text(bounds));
}

void FakeMonitorSurface::MakeCanvas() {
  if (!slides_) return;
  const int w = bounds_.width(), h = bounds_.height();
  // The engine holds on to the canvas: a window's canvas is made again in place.
  if (MemoryCanvas* memory_canvas = memory()) {
    memory_canvas->Resize(w, h);
    return;
  }
  if (FakeCanvas* recording = recorded()) {
    recording->Resize(w, h);
    recording->TakeCalls();
    return;
  }
  if (owner_.canvases_ == FakeMonitorSurfaces::Canvases::kMemory) {
    canvas_ = std::make_unique<MemoryCanvas>(w, h);
    return;
  }
  auto recording = std::make_unique<FakeCanvas>(w, h);
  if (owner_.names_) owner_.names_->NameOn(*recording);
  canvas_ = std::move(recording);
}

FakeCanvas* FakeMonitorSurface::recorded() const { return dynamic_cast<FakeCanvas*>(canvas_.get()); }
MemoryCanvas* FakeMonitorSurface::memory() const { return dynamic_cast<MemoryCanvas*>(canvas_.get()); }

std::unique_ptr<MonitorSurface> FakeMonitorSurfaces::Open(const Rect& bounds, bool slides, std::function<void()> tick) {
  return std::make_unique<FakeMonitorSurface>(*this, bounds, slides, std::move(tick));
}

FakeMonitorSurface* FakeMonitorSurfaces::Over(const Rect& bounds) const {
  for (FakeMonitorSurface* s : open_)
    if (s->bounds() == bounds) return s;
  return nullptr;
}

std::vector<std::string> FakeMonitorSurfaces::TakeLog() {
  std::vector<std::string> taken;
  taken.swap(log_);
  return taken;
}

}  // namespace tessmoor::testing
