#include "show/monitor_shows.h"

#include <algorithm>

#include "show/picture_table.h"

namespace tessmoor {

bool SlidesOnEveryMonitor(const ShowSettings& show) {
  return show.pattern == ShowPattern::kPattern1 && show.every_monitor;
}

std::array<DecodeTarget, 4> ShowDecodeTargetsOver(const ShowSettings& show, Size primary,
                                                  const std::vector<Rect>& others) {
  std::array<DecodeTarget, 4> targets = ShowDecodeTargets(show, primary.width, primary.height);
  if (!SlidesOnEveryMonitor(show)) return targets;
  for (const Rect& monitor : others) {
    const std::array<DecodeTarget, 4> there = ShowDecodeTargets(show, monitor.width(), monitor.height());
    for (std::size_t b = 0; b < targets.size(); ++b) {
      targets[b].max_width = std::max(targets[b].max_width, there[b].max_width);
      targets[b].max_height = std::max(targets[b].max_height, there[b].max_height);
    }
  }
  return targets;
}

struct OtherMonitors::Entry {
  Rect bounds;
  std::unique_ptr<MonitorSurface> surface;
  std::unique_ptr<SplitMixRandom> random;
  // Destroyed first: nothing runs it once it is gone, since the window's timer goes with it.
  std::unique_ptr<SlideEngine> engine;
};

OtherMonitors::OtherMonitors(Parts parts)
    : parts_(parts), slides_(SlidesOnEveryMonitor(parts.show)), seeds_(parts.seed) {}

OtherMonitors::~OtherMonitors() = default;

std::unique_ptr<OtherMonitors::Entry> OtherMonitors::Open(const Rect& bounds, int place) {
  auto entry = std::make_unique<Entry>();
  entry->bounds = bounds;
  Entry* e = entry.get();
  entry->surface = parts_.surfaces.Open(bounds, slides_, [e] {
    if (!e->engine) return;
    e->surface->ArmTimer(e->engine->Tick().NextTickMs());
  });
  Canvas* canvas = entry->surface->canvas();
  if (!slides_ || canvas == nullptr) return entry;
  // Two draws of 31 bits: generators seeded apart, not one stream shifted.
  const std::uint64_t seed = (static_cast<std::uint64_t>(seeds_.Next31()) << 31) ^ static_cast<std::uint64_t>(seeds_.Next31());
  entry->random = std::make_unique<SplitMixRandom>(seed);
  entry->engine = std::make_unique<SlideEngine>(SlideEngine::Parts{
      parts_.show, parts_.settings, parts_.pictures, *canvas, *entry->random});
  entry->engine->BeginLater(place);
  entry->surface->ArmTimer(parts_.show.slide_timer.interval_ms);
  return entry;
}

std::optional<Rect> OtherMonitors::Cover(const std::vector<MonitorArea>& monitors) {
  const std::vector<Rect> order = MonitorsToCover(monitors);
  const std::vector<Rect> wanted(order.empty() ? order.end() : order.begin() + 1, order.end());
  const CoverPlan plan = PlanCover(covered(), wanted);
  std::vector<std::unique_ptr<Entry>> next(wanted.size());
  for (const CoverPlan::Pair& p : plan.keep) next[p.monitor] = std::move(entries_[p.window]);
  for (const CoverPlan::Pair& p : plan.move) {
    Entry& entry = *entries_[p.window];
    entry.bounds = wanted[p.monitor];
    entry.surface->MoveTo(entry.bounds);
    next[p.monitor] = std::move(entries_[p.window]);
  }
  // The windows over monitors that are gone close before new ones open.
  entries_.clear();
  for (int m : plan.open) next[m] = Open(wanted[m], m + 1);
  entries_ = std::move(next);
  if (order.empty()) return std::nullopt;
  return order.front();
}

std::vector<Rect> OtherMonitors::covered() const {
  std::vector<Rect> areas;
  for (const auto& entry : entries_) areas.push_back(entry->bounds);
  return areas;
}

const SlideEngine* OtherMonitors::engine(int i) const {
  if (i < 0 || i >= static_cast<int>(entries_.size())) return nullptr;
  return entries_[i]->engine.get();
}

}  // namespace tessmoor
