#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "pattern2/motion_rules.h"
#include "pattern2/preview_settings.h"

namespace tessmoor::pattern2 {

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// How a preview panel (`Form2No<n>PreviewPanel`) looks: a raised panel with its caption centred.
// It is visible from the start at its designed bounds, which lie mostly outside a small preview.
struct PanelDesign {
  Position position;
  Size size;
  Rgb colour;
  std::string_view caption;
};

inline constexpr std::array<PanelDesign, 4> kPanelDesigns = {{
    {{112, 40}, {161, 121}, {255, 0, 0}, "No1"},     // red
    {{496, 40}, {161, 121}, {0, 255, 0}, "No2"},     // lime
    {{112, 296}, {161, 121}, {255, 255, 0}, "No3"},  // yellow
    {{464, 288}, {161, 121}, {0, 0, 255}, "No4"},    // blue
}};

// The four panels of the pattern-2 preview, standing in for the picture windows: the same
// motion modes at 1 pixel per tick, inside the preview form. Where a window would be put up anew
// with the next picture, the panel is resized from its own last size and kept; the panels show
// no pictures, so nothing is searched and a box without pictures still has its panel moving.
//
// How the form drives it: panel n's timer (`ScrNo<n>SpeedTimer`) runs at
// PreviewSettings::timers[n - 1]; each of its ticks (`ScrNo<n>SpeedTimerTimer`) calls Tick(n,
// the form's size as it is then) and then sets panel n's bounds to position(n) and size(n).
// Before its first tick a panel keeps its designed bounds; a panel whose timer is stopped keeps
// them for good.
class PreviewPanels {
 public:
  explicit PreviewPanels(const PreviewSettings& settings);

  // One tick of panel `panel` (1..4). kStop only for a panel whose timer should not run.
  [[nodiscard]] TimerAction Tick(int panel, const ShowArea& form);

  Position position(int panel) const { return panels_[panel - 1].position; }
  Size size(int panel) const { return panels_[panel - 1].size; }
  bool placed(int panel) const { return panels_[panel - 1].placed; }
  const Directions& directions(int panel) const { return panels_[panel - 1].directions; }

 private:
  class Item;
  struct Panel {
    Motion motion = Motion::kStill;
    int scale = 50;
    bool running = false;
    bool placed = false;
    Position position;
    Size size;
    Directions directions;
  };

  void Resize(int panel, const ShowArea& form);

  std::array<Panel, 4> panels_;
};

}  // namespace tessmoor::pattern2
