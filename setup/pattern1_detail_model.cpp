#include "setup/pattern1_detail_model.h"

#include "app/settings_keys.h"
#include "setup/save_writes.h"

namespace tessmoor {

namespace {

const ScrollBarDesign kTimerBar = BarOver(keys::kSlideInterval, 500, 500, 1500);
const ScrollBarDesign kScaleBar = BarOver(keys::kSlideScale, 1, 1, 100);

// The radio button a stored mode selects; "6" is shown as five directions.
int ModeOf(const std::string& text) {
  if (text == "1" || text == "2" || text == "3" || text == "4") return text[0] - '0';
  if (text == "6") return 4;
  return 0;
}

}  // namespace

const ScrollBarDesign& Pattern1BarDesign(Pattern1Bar bar) {
  return bar == Pattern1Bar::kTimer ? kTimerBar : kScaleBar;
}

Pattern1DetailModel::Pattern1DetailModel(Settings& settings, Pattern1DetailTexts& texts,
                                         Pattern1DetailView& view)
    : settings_(settings), texts_(texts), view_(view) {
  positions_ = {kTimerBar.design_position, kScaleBar.design_position};
  view_.MakeTopMostAndShow();
  const Point origin = ReadDetailPosition(settings_);
  view_.MoveTo(origin.x, origin.y);

  mode_ = ModeOf(settings_.Read(keys::kDetailMode));
  view_.SelectMode(mode_);

  // The working texts are what the bars show, so a stored value outside a bar's range is saved
  // clamped, and a damaged one as the first-run value it was read as.
  SetPosition(Pattern1Bar::kTimer, ClampPosition(kTimerBar, settings_.ReadNumber(keys::kSlideInterval)));
  SetPosition(Pattern1Bar::kScale, ClampPosition(kScaleBar, settings_.ReadNumber(keys::kSlideScale)));

  for (int b = 1; b <= keys::kBoxCount; ++b) {
    boxes_[b - 1] = settings_.ReadSwitch(keys::Pattern1BoxUse(b));
    view_.SetBoxChecked(b, boxes_[b - 1]);
  }
  ShowScaleLabel(bar_position(Pattern1Bar::kScale));
}

void Pattern1DetailModel::SelectMode(int mode) {
  if (mode >= 0 && mode <= 4) mode_ = mode;
}

void Pattern1DetailModel::SetBoxChecked(int box, bool checked) {
  if (box >= 1 && box <= keys::kBoxCount) boxes_[box - 1] = checked;
}

void Pattern1DetailModel::SetPosition(Pattern1Bar bar, int position) {
  positions_[static_cast<int>(bar)] = position;
  view_.SetBarPosition(bar, position);
  (bar == Pattern1Bar::kTimer ? texts_.timer : texts_.scale) = std::to_string(position);
}

void Pattern1DetailModel::ShowScaleLabel(int position) {
  scale_label_ = std::to_string(position);
  view_.SetScaleLabel(scale_label_);
}

void Pattern1DetailModel::Scroll(Pattern1Bar bar, ScrollCode code, int thumb) {
  const int target = ScrollTarget(Pattern1BarDesign(bar), code, bar_position(bar), thumb);
  // The label shows where this notification takes the bar, so it never lags behind the thumb.
  if (bar == Pattern1Bar::kScale) ShowScaleLabel(target);
  if (target != bar_position(bar)) SetPosition(bar, target);
}

void Pattern1DetailModel::No1ImageRegFileSaveButtonClick() {
  SaveWrites save(settings_);
  if (mode_ != 0) save.Write(keys::kDetailMode, mode_);
  save.Write(keys::kSlideInterval, texts_.timer);
  save.Write(keys::kSlideScale, texts_.scale);
  for (int b = 1; b <= keys::kBoxCount; ++b) save.WriteSwitch(keys::Pattern1BoxUse(b), boxes_[b - 1]);
  if (save.failed()) return view_.ShowSaveFailure(save.error());
  Close();
}

void Pattern1DetailModel::CancelButtonClick() { Close(); }

void Pattern1DetailModel::Close() {
  FormClose();
  view_.CloseWindow();
}

void Pattern1DetailModel::FormClose() { WriteDetailPosition(settings_, view_.WindowOrigin()); }

}  // namespace tessmoor
