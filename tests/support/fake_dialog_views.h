#pragma once
#include <array>
#include <cstdint>
#include <ostream>
#include <optional>
#include <string>
#include <vector>

#include "setup/extended_dialog_model.h"
#include "setup/pattern1_detail_model.h"
#include "setup/pattern2_detail_model.h"
#include "setup/settings_dialog_model.h"
#include "setup/version_dialog_model.h"

namespace tessmoor {
// Readable test failures.
void PrintTo(const PicturePlacement& placement, std::ostream* os);
}  // namespace tessmoor

// Views of the dialog models that remember what the models asked of them: every call in order
// in `log` (one short line each), and the state a real window would be left in.
namespace tessmoor::testing {

class FakeSettingsDialogView : public SettingsDialogView {
 public:
  void MoveTo(int x, int y) override;
  Point WindowOrigin() override { return origin; }
  void SelectPattern(bool pattern2) override;
  void SelectMusicPlay(bool play) override;
  void ShowBoxPicture(int box, const PicturePlacement& placement, Picture picture) override;
  void ClearBoxPicture(int box) override;
  void MarkBoxFolder(int box, std::optional<std::size_t> pictures) override;
  void ShowFilePreview(const PicturePlacement& placement, Picture picture) override;
  void ClearFilePreview() override;
  void ShowPictureError(std::string_view path, std::string_view reason) override;
  std::optional<std::string> ChoosePictureFile(int box, std::string_view initial_folder) override;
  void CloseWindow() override;
  void ShowSaveFailure(std::uint32_t error) override;
  int DotsPerInch() override { return dpi; }

  // What a picture control shows: its size, the rectangle drawn into and the size of the
  // decoded picture handed over (0 x 0 when empty), and the number a folder mark shows (nothing
  // with `counting`: a mark that has no number yet).
  struct PictureControl {
    Size control = kBoxPictureDesign;
    Rect drawn;
    Size decoded;
    bool empty = true;
    std::optional<std::size_t> folder_pictures;
    bool counting = false;
  };

  std::vector<std::string> log;
  Point origin;  // the window's position; MoveTo sets it, a test moves "the user's" window here
  bool pattern2 = false;
  bool music_play = false;
  std::array<PictureControl, 4> boxes;
  PictureControl preview{kFilePreviewDesign, {}, {}, true, std::nullopt, false};
  std::vector<std::string> errors;  // "path: reason"
  // The open dialog's answer to the next ChoosePictureFile (nothing: the user cancels) and the
  // folders the dialogs were started in.
  std::optional<std::string> next_choice;
  std::vector<std::string> chooser_folders;
  int closes = 0;
  std::vector<std::uint32_t> save_failures;  // the error of each failure shown
  int dpi = 96;
};

class FakePattern1DetailView : public Pattern1DetailView {
 public:
  void MakeTopMostAndShow() override;
  void MoveTo(int x, int y) override;
  Point WindowOrigin() override { return origin; }
  void SelectMode(int mode) override;
  void SetBarPosition(Pattern1Bar bar, int position) override;
  void SetBoxChecked(int box, bool checked) override;
  void SetScaleLabel(std::string_view text) override;
  void CloseWindow() override;
  void ShowSaveFailure(std::uint32_t error) override;

  std::vector<std::string> log;
  Point origin{591, 335};
  bool top_most = false;
  int mode = 0;
  int timer_position = Pattern1BarDesign(Pattern1Bar::kTimer).design_position;
  int scale_position = Pattern1BarDesign(Pattern1Bar::kScale).design_position;
  std::array<bool, 4> checked{};
  std::string scale_label;
  int closes = 0;
  std::vector<std::uint32_t> save_failures;  // the error of each failure shown
};

class FakePattern2DetailView : public Pattern2DetailView {
 public:
  FakePattern2DetailView();
  void MakeTopMostAndShow() override;
  void MoveTo(int x, int y) override;
  Point WindowOrigin() override { return origin; }
  void SelectMode(int window, int mode) override;
  void SetBarPosition(int window, Pattern2Bar bar, int position) override;
  void SetBoxChecked(int window, bool checked) override;
  void SetSizeLabel(int window, std::string_view text) override;
  void CloseWindow() override;
  void ShowSaveFailure(std::uint32_t error) override;

  std::vector<std::string> log;
  Point origin;
  // Where MoveTo puts the window instead of the place asked for, as a view does with a place on
  // no monitor.
  std::optional<Point> brought_to;
  bool top_most = false;
  std::array<int, 4> modes{};
  std::array<int, 4> speed_positions{};
  std::array<int, 4> size_positions{};
  std::array<bool, 4> checked{};
  std::array<std::string, 4> size_labels;
  int closes = 0;
  std::vector<std::uint32_t> save_failures;  // the error of each failure shown
};

class FakeExtendedDialogView : public ExtendedDialogView {
 public:
  void SelectEveryMonitor(bool on) override { Show(every_monitor, on, "Monitors show", "Monitors black"); }
  void SetSubfolders(bool on) override { Show(subfolders, on, "Subfolders on", "Subfolders off"); }
  void SelectNameOrder(bool on) override { Show(name_order, on, "Order name", "Order shuffled"); }
  void MakeTopMostAndShow() override { log.push_back("TopMost"); }
  void CloseWindow() override { log.push_back("Close " + std::to_string(++closes)); }
  void ShowSaveFailure(std::uint32_t error) override {
    save_failures.push_back(error);
    log.push_back("SaveFailure");
  }

  std::vector<std::string> log;
  bool every_monitor = false;
  bool subfolders = false;
  bool name_order = false;
  int closes = 0;
  std::vector<std::uint32_t> save_failures;

 private:
  void Show(bool& shown, bool on, const char* on_entry, const char* off_entry) {
    shown = on;
    log.push_back(on ? on_entry : off_entry);
  }
};

class FakeVersionDialogView : public VersionDialogView {
 public:
  void MakeTopMostAndShow() override { log.push_back("TopMost"); }
  void ShellExecute(const ShellExecuteRequest& request) override;
  void CloseWindow() override { log.push_back("Close"); }

  std::vector<std::string> log;
  std::vector<ShellExecuteRequest> requests;
};

}  // namespace tessmoor::testing
