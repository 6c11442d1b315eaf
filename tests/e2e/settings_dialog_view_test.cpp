// The settings dialog of the real module as a user sees it: Japanese captions and the pictures
// of the four boxes on the screen (the screenshot kept for the README), 120 DPI, 24-megapixel
// photos, the window that owns it after "/c:<handle>" and the dialogs its buttons open.
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <functional>

#include "setup/settings_dialog_layout.h"
#include "setup/win32/settings_ids.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/settings_dialog_driver.h"
#include "tests/support/picture_files.h"

namespace tessmoor::e2e {
namespace {

using namespace std::chrono_literals;

class SettingsDialogView : public SettingsDialog {};

// Probes a picture control on the screen: `rgb` well inside it, the page colour just below it.
void ExpectPictureShown(const Screenshot& shot, const RECT& r, std::uint32_t rgb, std::uint32_t page, int box) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  for (auto [x, y] : {std::pair{r.left + 3, r.top + 3}, {r.left + w / 2, r.top + h / 2}, {r.right - 4, r.bottom - 4}})
    EXPECT_TRUE(Near(shot.At(x, y), rgb, 48)) << "box " << box << " at " << x << "," << y << ": " << std::hex
                                               << shot.At(x, y);
  if (r.bottom - r.top < 137) {
    EXPECT_TRUE(Near(shot.At(r.left + w / 2, r.bottom + 3), page, 8)) << "box " << box << " below its picture";
  }
}

RECT OnScreen(HWND dialog, RECT r) {
  MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST_F(SettingsDialogView, ScreenshotShowsTheJapaneseCaptionsAndAPictureInEachBox) {
  const PictureFiles& p = SettingsPictures();
  registry::Write(ImageKey(1, 1), p.quad);    // 640 x 480 in four colours: 137 x 102
  registry::Write(ImageKey(2, 1), p.yellow);  // 480 x 640: 102 x 137
  registry::Write(ImageKey(3, 1), p.small);   // 50 x 40, enlarged in box 3 only: 137 x 109
  registry::Write(ImageKey(4, 1), p.square);  // 200 x 200: 137 x 137
  registry::Write(ImageKey(1, 2), p.small);   // in box 1: 50 x 40 in a 137 x 109 control
  std::unique_ptr<Module> module;
  HWND hwnd = Open(module);
  ASSERT_NE(hwnd, nullptr);
  const SettingsDialogDriver d(hwnd);
  // The browser in the pictures' folder with one of them previewed, as a user sees it at work.
  ASSERT_TRUE(d.OpenFolder(p.folder));
  ASSERT_TRUE(d.ClickFile(L"Quad.JPG"));
  SetForegroundWindow(hwnd);
  PumpFor(800ms);
  const Screenshot shot = CaptureScreen();
  Crop(shot, WindowRectOf(hwnd)).Save(L"settings-dialog");
  EXPECT_PRED3(HasSize, d.SizeOf(d.Control("ScrSetUpPreviewImage")), 97, 72);

  const SIZE expected[4] = {{137, 102}, {102, 137}, {137, 109}, {137, 137}};
  for (int b = 1; b <= 4; ++b) EXPECT_PRED3(HasSize, d.SizeOf(BoxPicture(d, b)), expected[b - 1].cx, expected[b - 1].cy);
  // The page colour, where box 1's page holds nothing.
  const RECT tab1 = OnScreen(hwnd, d.ClientRect(d.BoxControl(1, "")));
  const std::uint32_t page = shot.At(tab1.left + 150, tab1.top + 150);
  const RECT q = WindowRectOf(BoxPicture(d, 1));
  const int qw = q.right - q.left, qh = q.bottom - q.top;
  const std::pair<POINT, std::uint32_t> quadrants[] = {{{q.left + qw / 4, q.top + qh / 4}, 0xFF0000},
                                                      {{q.left + 3 * qw / 4, q.top + qh / 4}, 0x00FF00},
                                                      {{q.left + qw / 4, q.top + 3 * qh / 4}, 0x0000FF},
                                                      {{q.left + 3 * qw / 4, q.top + 3 * qh / 4}, 0xFFFF00}};
  for (const auto& [at, rgb] : quadrants)
    EXPECT_TRUE(Near(shot.At(at.x, at.y), rgb, 48)) << "box 1 at " << at.x << "," << at.y;
  EXPECT_TRUE(Near(shot.At(q.left + qw / 2, q.bottom + 3), page, 8)) << "box 1 below its picture";
  ExpectPictureShown(shot, WindowRectOf(BoxPicture(d, 2)), 0xFFFF00, page, 2);
  ExpectPictureShown(shot, WindowRectOf(BoxPicture(d, 3)), 0x00FF00, page, 3);
  ExpectPictureShown(shot, WindowRectOf(BoxPicture(d, 4)), 0x0000FF, page, 4);

  // Japanese captions drawn as this driver draws them in the dialogs' font, not as boxes.
  ASSERT_GE(DistinctGlyphCells(RenderCaption(L"設定を保存", 12), {0, 0, 1000, 100}, InkBackground::kMostCommonColour), 4)
      << "this system draws no Japanese glyphs, so no caption can be checked";
  const Ink ink = InkOf(shot);
  const auto& rows = SettingsDialogControls();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto& row = rows[i];
    if (row.caption.empty() || static_cast<unsigned char>(row.caption[0]) < 0x80) continue;
    const Ink text = InkOf(RenderCaption(Wide(row.caption), 12));
    RECT area = WindowRectOf(GetDlgItem(hwnd, kSettingsFirstControlId + static_cast<int>(i)));
    if (row.kind == ControlKind::kGroupBox) area.bottom = area.top + text.height;
    EXPECT_LE(BestMismatch(ink, area, text), text.count / 5) << row.name << ": its caption is not drawn as text";
  }
  // The title bar (icon and "設定") and the menu bar's items "拡張設定" and "ヘルプ&バージョン".
  POINT client{0, 0};
  ClientToScreen(hwnd, &client);
  const RECT outer = WindowRectOf(hwnd);
  const int menu_height = GetSystemMetrics(SM_CYMENU);
  const RECT title{client.x, client.y - menu_height - GetSystemMetrics(SM_CYCAPTION) + 2, client.x + 300,
                   client.y - menu_height - 2};
  EXPECT_GE(DistinctGlyphCells(shot, title, InkBackground::kTopRowOfColumn), 2) << "title bar";
  const RECT menu{client.x, client.y - menu_height + 1, client.x + 300, client.y - 1};
  EXPECT_GE(DistinctGlyphCells(shot, menu, InkBackground::kMostCommonColour), 6) << "menu bar";
  EXPECT_LT(title.top, menu.top);
  EXPECT_GE(title.top, outer.top);
  // A part of the dialog with nothing on it has no ink at all.
  EXPECT_EQ(DistinctGlyphCells(shot, OnScreen(hwnd, {110, 360, 150, 440}), InkBackground::kMostCommonColour), 0);

  // The same small picture in box 1 keeps its own size in the top-left corner of its control.
  d.SelectTab(1, 1);
  PumpFor(300ms);
  const Screenshot small = CaptureScreen();
  const RECT s = WindowRectOf(BoxPicture(d, 1));
  EXPECT_PRED3(HasSize, d.SizeOf(BoxPicture(d, 1)), 137, 109);
  EXPECT_TRUE(Near(small.At(s.left + 25, s.top + 20), 0x00FF00, 48));
  EXPECT_TRUE(Near(small.At(s.left + 48, s.top + 38), 0x00FF00, 48));
  EXPECT_TRUE(Near(small.At(s.left + 53, s.top + 20), page, 8));
  EXPECT_TRUE(Near(small.At(s.left + 25, s.top + 43), page, 8));

  d.PostClick(d.Control("CancelButton"));
  EXPECT_EQ(module->WaitExit(kExit), 0u);
}

class OwnerWindow {
 public:
  OwnerWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TessmoorSettingsOwner";
    RegisterClassW(&wc);
    hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"Display settings", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 520,
                            200, 150, nullptr, nullptr, wc.hInstance, nullptr);
  }
  ~OwnerWindow() { DestroyWindow(hwnd_); }
  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_ = nullptr;
};

TEST_F(SettingsDialogView, TheWindowNamedAfterSlashCColonOwnsTheDialog) {
  OwnerWindow owner;
  ASSERT_NE(owner.hwnd(), nullptr);
  const std::wstring handle = std::to_wstring(reinterpret_cast<std::uintptr_t>(owner.hwnd()));
  for (const std::wstring& args : {L"/c:" + handle, L"/C:" + handle, std::wstring(L"/c:0"), std::wstring(L"/c")}) {
    std::unique_ptr<Module> module;
    HWND hwnd = Open(module, args);
    ASSERT_NE(hwnd, nullptr) << args;
    const bool names_owner = args.size() > 4;
    EXPECT_EQ(GetWindow(hwnd, GW_OWNER), names_owner ? owner.hwnd() : nullptr) << args;
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(module->WaitExit(kExit), 0u) << args;
    EXPECT_TRUE(IsWindow(owner.hwnd()));
  }
}

std::vector<HWND> OwnedWindows(HWND owner) {
  std::vector<HWND> owned;
  for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT))
    if (GetWindow(h, GW_OWNER) == owner && IsWindowVisible(h)) owned.push_back(h);
  return owned;
}

// The windows that one press added, waiting a moment for a dialog that is on its way.
std::vector<HWND> AddedBy(HWND dialog, const std::function<void()>& press) {
  const std::vector<HWND> before = OwnedWindows(dialog);
  press();
  std::vector<HWND> added;
  WaitUntil(
      [&] {
        added.clear();
        for (HWND h : OwnedWindows(dialog))
          if (std::find(before.begin(), before.end(), h) == before.end()) added.push_back(h);
        return !added.empty();
      },
      1500ms);
  return added;
}

TEST_F(SettingsDialogView, EachPressOfADetailButtonOrTheMenuOpensANewDialogOfItsOwn) {
  std::unique_ptr<Module> module;
  HWND hwnd = Open(module);
  ASSERT_NE(hwnd, nullptr);
  const SettingsDialogDriver d(hwnd);
  struct Press {
    const char* what;
    std::function<void()> press;
    std::wstring caption;
  };
  const std::vector<Press> presses = {
      {"pattern 1 details", [&] { d.Click(d.Control("NoImageRegFileDSaveButton")); }, L"パターン１詳細"},
      {"pattern 2 details",
       [&] {
         d.Click(d.Control("No2ScrActionRadioButton"));
         d.Click(d.Control("NoImageRegFileDSaveButton"));
       },
       L"パターン２詳細"},
      {"music", [&] { d.Click(d.Control("MusicRegFileDSaveButton")); }, L"音楽"},
      {"version", [&] { PostMessageW(hwnd, WM_COMMAND, kSettingsHelpMenuId, 0); }, L"バージョン&ヘルプ"},
  };
  for (const Press& press : presses) {
    const std::vector<HWND> first = AddedBy(hwnd, press.press);
    const std::vector<HWND> second = AddedBy(hwnd, press.press);
    ASSERT_EQ(first.size(), 1u) << press.what;
    ASSERT_EQ(second.size(), 1u) << press.what << ": the second press opened no second dialog";
    EXPECT_NE(first[0], second[0]) << press.what;
    EXPECT_EQ(WindowText(first[0]), press.caption) << press.what;
    EXPECT_EQ(WindowText(second[0]), press.caption) << press.what;
    EXPECT_TRUE(IsWindow(hwnd)) << press.what;
  }
  d.PostClick(d.Control("CancelButton"));
  EXPECT_EQ(module->WaitExit(kExit), 0u);
}

TEST_F(SettingsDialogView, AtTwentyPercentMoreDpiTheWholeLayoutScales) {
  const PictureFiles& p = SettingsPictures();
  registry::Write(ImageKey(1, 1), p.quad);
  // Wine takes a process's DPI from the desktop settings when the process starts.
  const registry::ScopedValue dpi(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", DWORD{120});
  std::unique_ptr<Module> module;
  HWND hwnd = Open(module);
  ASSERT_NE(hwnd, nullptr);
  const SettingsDialogDriver d(hwnd);
  const RECT outer = WindowRectOf(hwnd);
  auto s = [](int v) { return MulDiv(v, 120, 96); };
  ASSERT_NE(outer.right - outer.left, 638) << "the module kept 96 DPI: it did not take the system's 120";
  EXPECT_EQ(outer.right - outer.left, s(638));
  EXPECT_EQ(outer.bottom - outer.top, s(510));
  const RECT save = d.ClientRect(d.Control("NoImageRegFileSaveButton"));
  EXPECT_EQ(save.left, s(544));
  EXPECT_EQ(save.top, s(8));
  EXPECT_EQ(save.right - save.left, s(73));
  EXPECT_EQ(save.bottom - save.top, s(25));
  EXPECT_PRED3(HasSize, d.SizeOf(BoxPicture(d, 1)), s(137), s(102));
  EXPECT_PRED3(HasSize, d.SizeOf(BoxPicture(d, 2)), s(137), s(137));
  PumpFor(500ms);
  const Screenshot shot = CaptureScreen();
  shot.Save(L"settings-dialog-120dpi");
  const Ink text = InkOf(RenderCaption(L"設定を保存", s(12)));
  EXPECT_LE(BestMismatch(InkOf(shot), OnScreen(hwnd, save), text), text.count / 5);
  d.PostClick(d.Control("CancelButton"));
  EXPECT_EQ(module->WaitExit(kExit), 0u);
}

TEST_F(SettingsDialogView, TwentyFourMegapixelPhotosOpenAtOnceAndAreNeverDecodedWhole) {
  // Decoded whole, each of these would take 72 MB; a 137-pixel box needs an eighth of each side.
  static const std::wstring big = WriteFileIn(TempFolder() + L"Tessmoor-Big", L"Photo.jpg",
                                              test::MakeJpeg(6000, 4000, test::Gradient(6000, 4000), 85));
  for (int b = 1; b <= 4; ++b) {
    registry::Write(ImageKey(b, 1), big);
    registry::Write(ImageKey(b, 2), big);
  }
  std::unique_ptr<Module> module;
  const auto start = std::chrono::steady_clock::now();
  HWND hwnd = Open(module);
  const auto opened = std::chrono::steady_clock::now() - start;
  ASSERT_NE(hwnd, nullptr);
  const SettingsDialogDriver d(hwnd);
  const auto switching = std::chrono::steady_clock::now();
  for (int b = 1; b <= 4; ++b) d.SelectTab(b, 1);
  const auto switched = std::chrono::steady_clock::now() - switching;
  for (int b = 1; b <= 4; ++b) EXPECT_PRED3(HasSize, d.SizeOf(BoxPicture(d, b)), 137, 91) << "box " << b;
  PROCESS_MEMORY_COUNTERS memory{};
  ASSERT_TRUE(GetProcessMemoryInfo(module->process(), &memory, sizeof(memory)));
  EXPECT_LT(memory.PeakWorkingSetSize, std::size_t{64} << 20);
  EXPECT_LT(opened, 5s);
  EXPECT_LT(switched, 2s);
  d.PostClick(d.Control("CancelButton"));
  EXPECT_EQ(module->WaitExit(kExit), 0u);
}

}  // namespace
}  // namespace tessmoor::e2e
