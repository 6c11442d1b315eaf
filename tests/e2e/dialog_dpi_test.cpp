// A dialog moved onto a monitor of another DPI lays itself out again at that DPI. Wine gives every
// monitor the one DPI of its desktop settings and never sends WM_DPICHANGED itself, so the driver
// sends the message as the system would: the new DPI, and the window rectangle the system
// suggests, put into the module's memory because the message carries a pointer. The settings
// dialog must then look as it does when the module starts at 120 DPI (settings_dialog_view_test),
// and every table-built dialog as its table scaled to the new DPI; back at 96 DPI, as it opened.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <vector>

#include "setup/music_dialog_layout.h"
#include "setup/settings_dialog_layout.h"
#include "setup/win32/settings_ids.h"
#include "tests/e2e/detail_dialog_driver.h"
#include "tests/e2e/extended_dialog_driver.h"
#include "tests/e2e/layout_dialog_checks.h"
#include "tests/e2e/music_dialog_driver.h"
#include "tests/e2e/settings_dialog_driver.h"

namespace tessmoor::e2e {
namespace {

using namespace std::chrono_literals;

class DialogDpi : public FromSettingsDialog {
 protected:
  void SetUp() override {
    FromSettingsDialog::SetUp();
    ASSERT_EQ(Dpi(), 96) << "these tests move dialogs from 96 DPI to others";
  }
  // Moves `dialog` onto a monitor of `dpi` as the system would, its top-left corner kept and its
  // designed outer size scaled.
  void MoveToDpi(HWND dialog, int dpi, const FormDesign& form) const {
    const RECT r = WindowRectOf(dialog);
    const RECT suggested{r.left, r.top, r.left + MulDiv(form.width, dpi, 96), r.top + MulDiv(form.height, dpi, 96)};
    ASSERT_TRUE(SendDpiChanged(dialog, module_->process(), dpi, suggested)) << "no answer at " << dpi << " DPI";
    EXPECT_EQ(WindowRectOf(dialog).left, suggested.left);
    EXPECT_EQ(WindowRectOf(dialog).right, suggested.right) << "the suggested rectangle was not taken";
    EXPECT_EQ(WindowRectOf(dialog).bottom, suggested.bottom);
  }
};

std::map<HWND, RECT> ControlRects(HWND dialog) {
  std::map<HWND, RECT> rects;
  for (HWND child : ChildWindows(dialog)) rects[child] = WindowRectOf(child);
  return rects;
}

bool SameRects(const std::map<HWND, RECT>& a, const std::map<HWND, RECT>& b) {
  if (a.size() != b.size()) return false;
  for (const auto& [hwnd, r] : a) {
    const auto it = b.find(hwnd);
    if (it == b.end() || !EqualRect(&r, &it->second)) return false;
  }
  return true;
}

TEST_F(DialogDpi, TheSettingsDialogAt120DpiLooksAsWhenItStartsAt120AndComesBackAt96) {
  registry::Write(ImageKey(1, 1), SettingsPictures().quad);
  ASSERT_TRUE(OpenSettings());
  const SettingsDialogDriver& d = *settings_;
  const RECT opened = WindowRectOf(d.hwnd());
  const std::map<HWND, RECT> at96 = ControlRects(d.hwnd());
  auto s = [](int v) { return MulDiv(v, 120, 96); };

  ASSERT_NO_FATAL_FAILURE(MoveToDpi(d.hwnd(), 120, SettingsDialogForm()));
  // The numbers of the dialog that starts at 120 DPI.
  const RECT outer = WindowRectOf(d.hwnd());
  EXPECT_EQ(outer.right - outer.left, s(638));
  EXPECT_EQ(outer.bottom - outer.top, s(510));
  EXPECT_PRED3(HasSize, d.SizeOf(d.BoxControl(1, "NoImage")), s(137), s(102));
  EXPECT_PRED3(HasSize, d.SizeOf(d.BoxControl(2, "NoImage")), s(137), s(137));
  // Every control where the table puts it at 120 DPI (the save button at 680,10 of 91 x 31, say);
  // labels as large as their captions in the new font.
  const auto& rows = SettingsDialogControls();
  const std::vector<Rect> places = ScaledLayout(rows, 120);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto& row = rows[i];
    if (row.kind == ControlKind::kPicture) continue;  // sized by their pictures, checked above
    HWND control = GetDlgItem(d.hwnd(), kSettingsFirstControlId + static_cast<int>(i));
    const RECT r = d.ClientRect(control);
    const Rect& at = places[i];
    EXPECT_EQ(r.left, at.left) << row.name;
    EXPECT_EQ(r.top, at.top) << row.name;
    if (row.kind == ControlKind::kLabel) {
      const RECT before = at96.at(control);
      EXPECT_LE(r.bottom - r.top, s(16)) << row.name;
      EXPECT_GT(r.right - r.left, before.right - before.left) << row.name << ": measured in the 96-DPI font";
    } else {
      EXPECT_EQ(r.right - r.left, at.width()) << row.name;
      EXPECT_NEAR(r.bottom - r.top, at.height(), row.kind == ControlKind::kDriveList ? 3 : 0) << row.name;
    }
  }
  const RECT save = d.ClientRect(d.Control("NoImageRegFileSaveButton"));
  EXPECT_EQ(save.left, 680);
  EXPECT_EQ(save.right - save.left, 91);
  // The captions in the font of 120 DPI.
  PumpFor(500ms);
  const Screenshot shot = CaptureScreen();
  shot.Save(L"settings-dialog-moved-to-120dpi");
  const Ink text = InkOf(RenderCaption(L"設定を保存", s(12)));
  RECT save_on_screen = save;
  MapWindowPoints(d.hwnd(), nullptr, reinterpret_cast<POINT*>(&save_on_screen), 2);
  EXPECT_LE(BestMismatch(InkOf(shot), save_on_screen, text), text.count / 5) << "the caption kept its 96-DPI font";

  // Back on a monitor of 96 DPI it is as it opened.
  ASSERT_NO_FATAL_FAILURE(MoveToDpi(d.hwnd(), 96, SettingsDialogForm()));
  const RECT back = WindowRectOf(d.hwnd());
  EXPECT_TRUE(EqualRect(&opened, &back));
  EXPECT_TRUE(SameRects(ControlRects(d.hwnd()), at96)) << "a control did not come back to its 96-DPI place";
  EXPECT_TRUE(module_->Running());
}

TEST_F(DialogDpi, EveryTableBuiltDialogLaysOutItsTableAtEachNewDpi) {
  ASSERT_TRUE(OpenSettings());
  const auto extended = ExtendedDialogDriver::OpenFrom(*settings_);
  const auto detail = Pattern1DetailDriver::OpenFrom(*settings_);
  ASSERT_TRUE(extended);
  ASSERT_TRUE(detail);
  for (int dpi : {120, 144, 192, 96}) {
    SCOPED_TRACE(std::to_string(dpi) + " DPI");
    ASSERT_NO_FATAL_FAILURE(MoveToDpi(extended.hwnd(), dpi, ExtendedDialogForm()));
    ExpectLayout(extended.hwnd(), RowsOf(extended.Layout()), dpi);
    // At 192 DPI the detail dialog is taller than this 768-pixel screen, which no window may be.
    if (dpi == 192) continue;
    ASSERT_NO_FATAL_FAILURE(MoveToDpi(detail.hwnd(), dpi, Pattern1DetailForm()));
    ExpectLayout(detail.hwnd(), RowsOf(detail.Layout()), dpi);
  }
  // Laid out again, the dialogs still work.
  extended.ChooseSlideShow();
  extended.Save();
  EXPECT_TRUE(extended.WaitClosed());
  EXPECT_EQ(registry::Read(L"ScrActionRegSelectEveryMonitorFlag"), L"1");
}

int DarkPixels(const Screenshot& shot, HWND control) {
  const RECT r = WindowRectOf(control);
  int dark = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      const std::uint32_t p = shot.At(x, y);
      dark += ((p >> 16) & 0xFF) < 100 && ((p >> 8) & 0xFF) < 100 && (p & 0xFF) < 120;
    }
  return dark;
}

TEST_F(DialogDpi, TheMusicDialogAt144DpiScalesItsRowsAndDrawsItsLoudspeakersLarger) {
  ASSERT_TRUE(OpenSettings());
  const auto music = MusicDialogDriver::OpenFrom(*settings_);
  ASSERT_TRUE(music);
  ASSERT_TRUE(music.Complete());
  SetForegroundWindow(music.hwnd());
  PumpFor(300ms);
  const int speaker96 = DarkPixels(CaptureScreen(), music.PlayButton(1));
  ASSERT_NO_FATAL_FAILURE(MoveToDpi(music.hwnd(), 144, MusicDialogForm()));
  auto s = [](long v) { return static_cast<long>(MulDiv(v, 144, 96)); };
  for (int n = 1; n <= 5; ++n) {
    const long y = 8 + 40 * (n - 1);
    EXPECT_EQ(music.BoundsOf(music.PlayButton(n)), (MusicDialogDriver::Bounds{s(272), s(y), s(33), s(25)})) << n;
    EXPECT_EQ(music.BoundsOf(music.OpenButton(n)), (MusicDialogDriver::Bounds{s(208), s(y), s(25), s(25)})) << n;
  }
  EXPECT_EQ(music.BoundsOf(music.SaveButton()), (MusicDialogDriver::Bounds{s(40), s(216), s(75), s(25)}));
  SetForegroundWindow(music.hwnd());
  PumpFor(300ms);
  const int speaker144 = DarkPixels(CaptureScreen(), music.PlayButton(1));
  EXPECT_GT(speaker96, 20) << "no loudspeaker on the play button";
  EXPECT_GT(speaker144, speaker96 * 3 / 2) << "the loudspeaker kept its 96-DPI size";
}

}  // namespace
}  // namespace tessmoor::e2e
