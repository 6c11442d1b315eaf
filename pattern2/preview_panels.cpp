#include "pattern2/preview_panels.h"

#include "pattern2/item_size.h"

namespace tessmoor::pattern2 {

namespace {
constexpr int kStep = 1;
}  // namespace

// A panel as the shared motion rules see it: renewing it resizes it where it stands.
class PreviewPanels::Item : public MovingItem {
 public:
  Item(PreviewPanels& owner, int panel, const ShowArea& form)
      : owner_(owner), number_(panel), panel_(owner.panels_[panel - 1]), form_(form) {}

  Position position() const override { return panel_.position; }
  Size size() const override { return panel_.size; }
  void MoveTo(Position p) override { panel_.position = p; }
  void Renew() override { owner_.Resize(number_, form_); }
  void Present() override {}
  void AdvancePicture() override {}

 private:
  PreviewPanels& owner_;
  int number_;
  Panel& panel_;
  const ShowArea& form_;
};

PreviewPanels::PreviewPanels(const PreviewSettings& settings) {
  for (int n = 1; n <= 4; ++n) {
    Panel& panel = panels_[n - 1];
    panel.motion = settings.windows.motion_mode[n - 1];
    panel.scale = settings.windows.scale[n - 1];
    panel.running = settings.timers[n - 1].running();
    panel.position = kPanelDesigns[n - 1].position;
    panel.size = kPanelDesigns[n - 1].size;
  }
}

TimerAction PreviewPanels::Tick(int panel_number, const ShowArea& form) {
  Panel& panel = panels_[panel_number - 1];
  if (!panel.running) return TimerAction::kStop;
  if (!panel.placed) {
    Resize(panel_number, form);
    // Still panels keep their designed position, resized in place.
    if (panel.motion != Motion::kStill)
      panel.position = StartCorner(panel.motion, panel_number, form.bounds, panel.size);
    panel.placed = true;
  }
  Item item(*this, panel_number, form);
  StepMotion(panel.motion, panel_number, kStep, form.bounds, item, panel.directions);
  return TimerAction::kKeepRunning;
}

void PreviewPanels::Resize(int panel_number, const ShowArea& form) {
  Panel& panel = panels_[panel_number - 1];
  panel.size = PanelSize(panel.size, form.client, panel.scale);
}

}  // namespace tessmoor::pattern2
