#include "setup/pattern2_detail_model.h"

#include "app/settings_keys.h"
#include "setup/save_writes.h"

namespace tessmoor {

namespace {

// Window 1's bars start elsewhere than the others'. Every speed bar steps by 1: a bigger arrow
// step on a range of 1..300 would make one click jump to an end.
const ScrollBarDesign kSpeedBar1 = BarOver(keys::WindowSpeed(1), 1, 1, 200);
const ScrollBarDesign kSpeedBar = BarOver(keys::WindowSpeed(2), 1, 1, 1);
const ScrollBarDesign kSizeBar1 = BarOver(keys::WindowScale(1), 1, 1, 50);
const ScrollBarDesign kSizeBar = BarOver(keys::WindowScale(2), 1, 1, 1);

int ModeOf(const std::string& text) {
  if (text.size() == 1 && text[0] >= '1' && text[0] <= '5') return text[0] - '0';
  return 0;
}

bool ValidWindow(int window) { return window >= 1 && window <= keys::kWindowCount; }

}  // namespace

const ScrollBarDesign& Pattern2BarDesign(int window, Pattern2Bar bar) {
  if (bar == Pattern2Bar::kSpeed) return window == 1 ? kSpeedBar1 : kSpeedBar;
  return window == 1 ? kSizeBar1 : kSizeBar;
}

Pattern2DetailModel::Pattern2DetailModel(Settings& settings, Pattern2DetailTexts& texts,
                                         Pattern2DetailView& view)
    : settings_(settings), texts_(texts), view_(view) {
  for (int n = 1; n <= keys::kWindowCount; ++n) {
    speeds_[n - 1] = Pattern2BarDesign(n, Pattern2Bar::kSpeed).design_position;
    sizes_[n - 1] = Pattern2BarDesign(n, Pattern2Bar::kSize).design_position;
  }
  view_.MakeTopMostAndShow();
  const Point origin = ReadDetailPosition(settings_);
  view_.MoveTo(origin.x, origin.y);

  for (int n = 1; n <= keys::kWindowCount; ++n) {
    texts_.mode[n - 1] = settings_.Read(keys::MotionMode(n));
    modes_[n - 1] = ModeOf(texts_.mode[n - 1]);
    view_.SelectMode(n, modes_[n - 1]);
  }
  // The working texts are what the bars show: out of range comes back clamped, damaged as the
  // first-run value.
  for (int n = 1; n <= keys::kWindowCount; ++n) {
    SetPosition(n, Pattern2Bar::kSpeed,
                ClampPosition(Pattern2BarDesign(n, Pattern2Bar::kSpeed), settings_.ReadNumber(keys::WindowSpeed(n))));
  }
  for (int n = 1; n <= keys::kWindowCount; ++n) {
    SetPosition(n, Pattern2Bar::kSize,
                ClampPosition(Pattern2BarDesign(n, Pattern2Bar::kSize), settings_.ReadNumber(keys::WindowScale(n))));
  }
  for (int n = 1; n <= keys::kWindowCount; ++n) {
    texts_.use[n - 1] = settings_.Read(keys::Pattern2BoxUse(n));
    // Ticked only for the text a save writes for a used box, though the show runs every window
    // whose text is not "0".
    boxes_[n - 1] = texts_.use[n - 1] == "1";
    view_.SetBoxChecked(n, boxes_[n - 1]);
  }
  for (int n = 1; n <= keys::kWindowCount; ++n) ShowSizeLabel(n, sizes_[n - 1]);
  FormCreate(origin);
}

void Pattern2DetailModel::SelectMode(int window, int mode) {
  if (ValidWindow(window) && mode >= 0 && mode <= 5) modes_[window - 1] = mode;
}

void Pattern2DetailModel::SetBoxChecked(int window, bool checked) {
  if (ValidWindow(window)) boxes_[window - 1] = checked;
}

int Pattern2DetailModel::bar_position(int window, Pattern2Bar bar) const {
  return bar == Pattern2Bar::kSpeed ? speeds_[window - 1] : sizes_[window - 1];
}

void Pattern2DetailModel::SetPosition(int window, Pattern2Bar bar, int position) {
  const bool speed = bar == Pattern2Bar::kSpeed;
  (speed ? speeds_ : sizes_)[window - 1] = position;
  view_.SetBarPosition(window, bar, position);
  (speed ? texts_.speed : texts_.size)[window - 1] = std::to_string(position);
}

void Pattern2DetailModel::ShowSizeLabel(int window, int position) {
  size_labels_[window - 1] = std::to_string(position);
  view_.SetSizeLabel(window, size_labels_[window - 1]);
}

void Pattern2DetailModel::Scroll(int window, Pattern2Bar bar, ScrollCode code, int thumb) {
  if (!ValidWindow(window)) return;
  const int target = ScrollTarget(Pattern2BarDesign(window, bar), code, bar_position(window, bar), thumb);
  // The label shows where this notification takes the bar, not where the bar was before it.
  if (bar == Pattern2Bar::kSize) ShowSizeLabel(window, target);
  if (target != bar_position(window, bar)) SetPosition(window, bar, target);
}

void Pattern2DetailModel::No2ImageRegFileSaveButtonClick() {
  SaveWrites save(settings_);
  // A group without a selected mode leaves its stored mode as it is.
  for (int n = 1; n <= keys::kWindowCount; ++n)
    if (modes_[n - 1] != 0) save.Write(keys::MotionMode(n), modes_[n - 1]);
  for (int n = 1; n <= keys::kWindowCount; ++n) save.Write(keys::WindowSpeed(n), texts_.speed[n - 1]);
  for (int n = 1; n <= keys::kWindowCount; ++n) save.Write(keys::WindowScale(n), texts_.size[n - 1]);
  for (int n = 1; n <= keys::kWindowCount; ++n) save.WriteSwitch(keys::Pattern2BoxUse(n), boxes_[n - 1]);
  if (save.failed()) return view_.ShowSaveFailure(save.error());
  Close();
}

void Pattern2DetailModel::CancelButtonClick() { Close(); }

void Pattern2DetailModel::Close() {
  FormClose();
  view_.CloseWindow();
}

void Pattern2DetailModel::FormClose() { WriteDetailPosition(settings_, view_.WindowOrigin()); }

void Pattern2DetailModel::FormCreate(Point asked) {
  const Point opened_at = view_.WindowOrigin();
  if (opened_at == asked) WriteDetailPosition(settings_, opened_at);
}

}  // namespace tessmoor
