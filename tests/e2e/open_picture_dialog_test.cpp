// The open-picture dialog of an image box ("開く"): beside its own controls a pane shows the picture
// selected in its list, in the picture's colours, and changes with the selection; the music
// dialog's open dialog has no pane.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/settings_dialog_driver.h"
#include "tests/support/picture_files.h"

namespace tessmoor::e2e {
namespace {

using namespace std::chrono_literals;

constexpr int kPaneId = 0x0501;

class OpenPictureDialog : public SettingsDialog {};

// The first descendant of `parent` of class `window_class`; with control id `id`.
HWND DescendantOfClass(HWND parent, const wchar_t* window_class) {
  for (HWND h : ChildWindows(parent)) {
    wchar_t name[64] = {};
    GetClassNameW(h, name, 64);
    if (std::wstring(name) == window_class) return h;
  }
  return nullptr;
}
HWND DescendantWithId(HWND parent, int id) {
  for (HWND h : ChildWindows(parent))
    if (GetDlgCtrlID(h) == id) return h;
  return nullptr;
}

// The colour at the pane's centre, once it is `rgb`; the last colour seen when it never is.
std::uint32_t WaitPaneColour(HWND pane, std::uint32_t rgb) {
  const RECT r = WindowRectOf(pane);
  const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
  WaitForPixel(x, y, rgb, 40, 5s);
  return CaptureScreen().At(x, y);
}

// Selects list item `index` of the open dialog's file list as the keyboard does.
void SelectItem(HWND list, int index) {
  PostMessageW(list, WM_KEYDOWN, VK_HOME, 0);
  for (int i = 0; i < index; ++i) PostMessageW(list, WM_KEYDOWN, VK_DOWN, 0);
}

TEST_F(OpenPictureDialog, APaneBesideTheListShowsTheSelectedPictureAndFollowsTheSelection) {
  // The dialog starts in the folder of the slot's picture, where these two are the only files.
  const std::wstring folder = TempFolder() + L"Tessmoor-Pane";
  WriteFileIn(folder, L"Blue.jpg", test::MakeJpeg(200, 300, test::Solid(test::kBlue), 90));
  const std::wstring red = WriteFileIn(folder, L"Red.bmp", test::MakeBmp(300, 200, test::Solid(test::kRed)));
  registry::Write(ImageKey(1, 1), red);
  std::unique_ptr<Module> module;
  HWND hwnd = Open(module);
  ASSERT_NE(hwnd, nullptr);
  const SettingsDialogDriver d(hwnd);
  d.PostClick(d.BoxControl(1, "NoImageButton"));
  HWND open = WaitOwnedWindow(hwnd, L"#32770", 10s);
  ASSERT_NE(open, nullptr) << "the open-picture dialog did not appear";
  HWND pane = nullptr;
  HWND list = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        pane = DescendantWithId(open, kPaneId);
        list = DescendantOfClass(open, L"SysListView32");
        return pane && list;
      },
      5s))
      << "no preview pane or no file list in the open dialog";
  const RECT p = WindowRectOf(pane), l = WindowRectOf(list);
  EXPECT_EQ(p.right - p.left, 160);
  EXPECT_EQ(p.bottom - p.top, 160);
  EXPECT_GE(p.left, l.right) << "the pane is not beside the dialog's own controls";
  EXPECT_LE(p.right, WindowRectOf(open).right);

  SelectItem(list, 0);
  EXPECT_TRUE(Near(WaitPaneColour(pane, 0x0000FF), 0x0000FF, 40)) << "the pane does not show Blue.jpg";
  const Screenshot shot = CaptureScreen();
  shot.Save(L"open-picture-preview");
  // Taller than wide: centred, with the pane's face left and right of it.
  const int mid = (p.top + p.bottom) / 2;
  EXPECT_FALSE(Near(shot.At(p.left + 8, mid), 0x0000FF, 40)) << "the picture was not shrunk to its shape";
  SelectItem(list, 1);
  EXPECT_TRUE(Near(WaitPaneColour(pane, 0xFF0000), 0xFF0000, 40)) << "the pane did not follow to Red.bmp";

  PostMessageW(GetDlgItem(open, IDCANCEL), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(open); }, 10s));
  d.PostClick(d.Control("CancelButton"));
  EXPECT_EQ(module->WaitExit(kExit), 0u);
  EXPECT_EQ(registry::Read(ImageKey(1, 1)), red);
}

}  // namespace
}  // namespace tessmoor::e2e
