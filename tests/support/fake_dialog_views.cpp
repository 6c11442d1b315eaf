#include "tests/support/fake_dialog_views.h"

namespace tessmoor {

void PrintTo(const PicturePlacement& p, std::ostream* os) {
  *os << p.control.width << "x" << p.control.height << " drawn (" << p.picture.left << "," << p.picture.top
      << ")-(" << p.picture.right << "," << p.picture.bottom << ")";
}

}  // namespace tessmoor

namespace tessmoor::testing {

namespace {

std::string SizeText(Size s) { return std::to_string(s.width) + "x" + std::to_string(s.height); }

FakeSettingsDialogView::PictureControl Shown(const PicturePlacement& placement, const Picture& picture) {
  return {placement.control, placement.picture, {picture.width, picture.height}, false, std::nullopt, false};
}

}  // namespace

void FakeSettingsDialogView::MoveTo(int x, int y) {
  origin = {x, y};
  log.push_back("MoveTo " + std::to_string(x) + "," + std::to_string(y));
}

void FakeSettingsDialogView::SelectPattern(bool p2) {
  pattern2 = p2;
  log.push_back(p2 ? "Pattern 2" : "Pattern 1");
}

void FakeSettingsDialogView::SelectMusicPlay(bool play) {
  music_play = play;
  log.push_back(play ? "Music play" : "Music stop");
}

void FakeSettingsDialogView::ShowBoxPicture(int box, const PicturePlacement& placement, Picture picture) {
  boxes[box - 1] = Shown(placement, picture);
  log.push_back("ShowBox " + std::to_string(box) + " " + SizeText(placement.control));
}

void FakeSettingsDialogView::ClearBoxPicture(int box) {
  boxes[box - 1] = PictureControl{};
  log.push_back("ClearBox " + std::to_string(box));
}

void FakeSettingsDialogView::MarkBoxFolder(int box, std::optional<std::size_t> pictures) {
  boxes[box - 1].folder_pictures = pictures;
  boxes[box - 1].counting = !pictures;
  log.push_back("FolderMark " + std::to_string(box) + " " + (pictures ? std::to_string(*pictures) : "..."));
}

void FakeSettingsDialogView::ShowFilePreview(const PicturePlacement& placement, Picture picture) {
  preview = Shown(placement, picture);
  log.push_back("ShowPreview " + SizeText(placement.control));
}

void FakeSettingsDialogView::ClearFilePreview() {
  preview = PictureControl{kFilePreviewDesign, {}, {}, true, std::nullopt, false};
  log.push_back("ClearPreview");
}

void FakeSettingsDialogView::ShowPictureError(std::string_view path, std::string_view reason) {
  errors.push_back(std::string(path) + ": " + std::string(reason));
  log.push_back("Error " + std::string(path));
}

std::optional<std::string> FakeSettingsDialogView::ChoosePictureFile(int box, std::string_view initial_folder) {
  chooser_folders.emplace_back(initial_folder);
  log.push_back("Choose " + std::to_string(box) + " in " + std::string(initial_folder));
  std::optional<std::string> choice = std::move(next_choice);
  next_choice.reset();
  return choice;
}

void FakeSettingsDialogView::ShowSaveFailure(std::uint32_t error) {
  save_failures.push_back(error);
  log.push_back("SaveFailure " + std::to_string(error));
}

void FakeSettingsDialogView::CloseWindow() {
  ++closes;
  log.push_back("Close");
}

void FakePattern1DetailView::MakeTopMostAndShow() {
  top_most = true;
  log.push_back("TopMost");
}

void FakePattern1DetailView::MoveTo(int x, int y) {
  origin = {x, y};
  log.push_back("MoveTo " + std::to_string(x) + "," + std::to_string(y));
}

void FakePattern1DetailView::SelectMode(int m) {
  mode = m;
  log.push_back("Mode " + std::to_string(m));
}

void FakePattern1DetailView::SetBarPosition(Pattern1Bar bar, int position) {
  (bar == Pattern1Bar::kTimer ? timer_position : scale_position) = position;
  log.push_back(std::string(bar == Pattern1Bar::kTimer ? "Timer " : "Scale ") + std::to_string(position));
}

void FakePattern1DetailView::SetBoxChecked(int box, bool c) {
  checked[box - 1] = c;
  log.push_back("Box " + std::to_string(box) + (c ? " on" : " off"));
}

void FakePattern1DetailView::SetScaleLabel(std::string_view text) {
  scale_label = std::string(text);
  log.push_back("Label " + scale_label);
}

void FakePattern1DetailView::ShowSaveFailure(std::uint32_t error) {
  save_failures.push_back(error);
  log.push_back("SaveFailure " + std::to_string(error));
}

void FakePattern1DetailView::CloseWindow() {
  ++closes;
  log.push_back("Close");
}

FakePattern2DetailView::FakePattern2DetailView() {
  for (int n = 1; n <= 4; ++n) {
    speed_positions[n - 1] = Pattern2BarDesign(n, Pattern2Bar::kSpeed).design_position;
    size_positions[n - 1] = Pattern2BarDesign(n, Pattern2Bar::kSize).design_position;
  }
}

void FakePattern2DetailView::MakeTopMostAndShow() {
  top_most = true;
  log.push_back("TopMost");
}

void FakePattern2DetailView::MoveTo(int x, int y) {
  origin = brought_to.value_or(Point{x, y});
  log.push_back("MoveTo " + std::to_string(x) + "," + std::to_string(y));
}

void FakePattern2DetailView::SelectMode(int window, int mode) {
  modes[window - 1] = mode;
  log.push_back("Mode " + std::to_string(window) + " " + std::to_string(mode));
}

void FakePattern2DetailView::SetBarPosition(int window, Pattern2Bar bar, int position) {
  (bar == Pattern2Bar::kSpeed ? speed_positions : size_positions)[window - 1] = position;
  log.push_back(std::string(bar == Pattern2Bar::kSpeed ? "Speed " : "Size ") + std::to_string(window) + " " +
                std::to_string(position));
}

void FakePattern2DetailView::SetBoxChecked(int window, bool c) {
  checked[window - 1] = c;
  log.push_back("Box " + std::to_string(window) + (c ? " on" : " off"));
}

void FakePattern2DetailView::SetSizeLabel(int window, std::string_view text) {
  size_labels[window - 1] = std::string(text);
  log.push_back("Label " + std::to_string(window) + " " + std::string(text));
}

void FakePattern2DetailView::ShowSaveFailure(std::uint32_t error) {
  save_failures.push_back(error);
  log.push_back("SaveFailure " + std::to_string(error));
}

void FakePattern2DetailView::CloseWindow() {
  ++closes;
  log.push_back("Close");
}

void FakeVersionDialogView::ShellExecute(const ShellExecuteRequest& request) {
  requests.push_back(request);
  log.push_back("Shell " + request.verb + " " + request.file);
}

}  // namespace tessmoor::testing
