// Folders in the slots of the real settings dialog: a stored folder survives a save as written and
// its box shows the folder's first picture with the folder mark; the open dialog's button takes the
// folder it shows. The screenshot of a dialog holding a folder is kept for the README.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <optional>

#include "setup/settings_dialog_layout.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/settings_dialog_driver.h"
#include "tests/support/picture_files.h"
#include "tests/support/picture_formats.h"

namespace tessmoor::e2e {
namespace {

using namespace std::chrono_literals;

class SettingsFolderSlot : public SettingsDialog {
 protected:
  // Starts the configuration run and waits for its dialog; false when it never appears.
  bool Start() {
    HWND hwnd = Open(module_);
    if (hwnd) driver_.emplace(hwnd);
    return hwnd != nullptr;
  }
  // Saves, which ends the run; false when the run does not end well.
  bool SaveAndExit() {
    driver_->PostClick(driver_->Control("NoImageRegFileSaveButton"));
    return module_->WaitExit(kExit) == 0u;
  }

  std::unique_ptr<Module> module_;
  std::optional<SettingsDialogDriver> driver_;
};

// A folder of pictures in several formats: by name "2.png" (300 x 200 in four colours) comes first,
// before "10.bmp" and "b.gif"; the subfolder's picture comes last. A text file is no picture.
std::wstring TripFolder() {
  static const std::wstring folder = [] {
    const std::wstring root = TempFolder() + L"Tessmoor-Folder-Slot";
    const std::wstring trip = root + L"\\Trip 2024";
    CreateDirectoryW(root.c_str(), nullptr);
    CreateDirectoryW(trip.c_str(), nullptr);
    WriteFileIn(trip, L"2.png",
                test::MakePng(300, 200, test::Quadrants(300, 200, test::kRed, test::kGreen, test::kBlue, test::kYellow)));
    WriteFileIn(trip, L"10.bmp", test::MakeBmp(200, 300, test::Solid(test::kBlue)));
    WriteFileIn(trip, L"b.gif",
                test::MakeGif(120, 120, {{0, 0, 120, 120, test::Solid(test::kGreen), std::nullopt}}));
    WriteFileIn(trip, L"notes.txt", {'h', 'i'});
    WriteFileIn(trip + L"\\Sub", L"c.bmp", test::MakeBmp(64, 64, test::Solid(test::kYellow)));
    return trip;
  }();
  return folder;
}

// Beside it, a folder of two tall pictures: its box is narrow.
std::wstring TallFolder() {
  const std::wstring trip = TripFolder();
  const std::wstring tall = trip.substr(0, trip.find_last_of(L'\\')) + L"\\Tall";
  WriteFileIn(tall, L"a.bmp", test::MakeBmp(300, 900, test::Solid(test::kGreen)));
  WriteFileIn(tall, L"b.bmp", test::MakeBmp(300, 900, test::Solid(test::kBlue)));
  return tall;
}

// The folder glyph's body colour somewhere in the bottom-left corner of the picture control.
bool FolderGlyphShown(const Screenshot& shot, const RECT& r) {
  for (int y = r.bottom - 34; y < r.bottom; ++y)
    for (int x = r.left; x < r.left + 26; ++x)
      if (Near(shot.At(x, y), 0xF0C850, 24)) return true;
  return false;
}

// Text pixels: near black, where the pictures here have none.
int DarkPixels(const Screenshot& shot, const RECT& area) {
  int dark = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) dark += Near(shot.At(x, y), 0x000000, 80) ? 1 : 0;
  return dark;
}

TEST_F(SettingsFolderSlot, KeepsAFolderSlotThroughASaveAndShowsItsFirstPicture) {
  const std::wstring trip = TripFolder();
  // Spelt in another case and with a trailing backslash in box 4: kept exactly so too.
  std::wstring other = trip + L"\\";
  CharUpperBuffW(other.data(), static_cast<DWORD>(other.size()));
  registry::Write(ImageKey(1, 1), SettingsPictures().yellow);
  registry::Write(ImageKey(2, 1), trip);
  registry::Write(ImageKey(3, 1), TallFolder());
  registry::Write(ImageKey(4, 1), other);
  ASSERT_TRUE(Start());
  const SettingsDialogDriver& d = *driver_;
  const HWND hwnd = d.hwnd();
  // The browser beside the folder, where a user would drag it from.
  ASSERT_TRUE(d.OpenFolder(trip.substr(0, trip.find_last_of(L'\\'))));
  HWND folders = d.Control("ScrSetUpDirectoryListBox");
  const std::vector<std::wstring> rows = d.Items(folders);
  const auto row = std::find(rows.begin(), rows.end(), L"Trip 2024");
  ASSERT_NE(row, rows.end());
  d.SelectItem(folders, static_cast<int>(row - rows.begin()));
  SetForegroundWindow(hwnd);
  // The folders are listed off the dialog's thread: their pictures come a little after it opens.
  EXPECT_TRUE(WaitUntil(
      [&] {
        return HasSize(d.SizeOf(BoxPicture(d, 2)), 137, 91) && HasSize(d.SizeOf(BoxPicture(d, 3)), 45, 137) &&
               HasSize(d.SizeOf(BoxPicture(d, 4)), 137, 91);
      },
      10s))
      << "the folders' first pictures did not come";
  PumpFor(800ms);
  const Screenshot shot = CaptureScreen();
  Crop(shot, WindowRectOf(hwnd)).Save(L"settings-folder");

  // 2.png, 300 x 200, through the system's PNG decoder: a 137 x 91 control, upright.
  for (int box : {2, 4}) {
    EXPECT_PRED3(HasSize, d.SizeOf(BoxPicture(d, box)), 137, 91) << "box " << box;
    const RECT r = WindowRectOf(BoxPicture(d, box));
    const int w = r.right - r.left, h = r.bottom - r.top;
    const std::pair<POINT, std::uint32_t> quadrants[] = {{{r.left + w / 4, r.top + h / 4}, 0xFF0000},
                                                        {{r.left + 3 * w / 4, r.top + h / 4}, 0x00FF00},
                                                        {{r.left + 3 * w / 4, r.top + 3 * h / 4}, 0xFFFF00}};
    for (const auto& [at, rgb] : quadrants)
      EXPECT_TRUE(Near(shot.At(at.x, at.y), rgb, 48)) << "box " << box << " at " << at.x << "," << at.y;
    EXPECT_TRUE(FolderGlyphShown(shot, r)) << "box " << box << " has no folder mark";
    EXPECT_GE(DarkPixels(shot, {r.left + 18, r.bottom - 24, r.left + 60, r.bottom}), 10)
        << "box " << box << ": the mark's caption is not written";
  }
  // A narrow box has its mark too, wholly inside it.
  EXPECT_PRED3(HasSize, d.SizeOf(BoxPicture(d, 3)), 45, 137);
  const RECT narrow = WindowRectOf(BoxPicture(d, 3));
  EXPECT_TRUE(FolderGlyphShown(shot, narrow));
  EXPECT_GE(DarkPixels(shot, {narrow.left, narrow.bottom - 18, narrow.right, narrow.bottom}), 10);
  EXPECT_TRUE(Near(shot.At(narrow.left + 22, narrow.top + 40), 0x00FF00, 48));
  // A file slot has no mark.
  EXPECT_PRED3(HasSize, d.SizeOf(BoxPicture(d, 1)), 102, 137);
  EXPECT_FALSE(FolderGlyphShown(shot, WindowRectOf(BoxPicture(d, 1))));

  ASSERT_TRUE(SaveAndExit());
  EXPECT_EQ(registry::Read(ImageKey(2, 1)), trip);
  EXPECT_EQ(registry::Read(ImageKey(4, 1)), other);
}

TEST_F(SettingsFolderSlot, AFolderDraggedFromTheFolderListFillsTheBoxsCurrentSlot) {
  const std::wstring trip = TripFolder();
  ASSERT_TRUE(Start());
  const SettingsDialogDriver& d = *driver_;
  ASSERT_TRUE(d.OpenFolder(trip.substr(0, trip.find_last_of(L'\\'))));
  d.SelectTab(1, 2);
  ASSERT_TRUE(d.DragFolderToBox(L"Trip 2024", 1, [&] { return HasSize(d.SizeOf(BoxPicture(d, 1)), 137, 91); }))
      << "the dropped folder's first picture did not show";
  // A double click still opens a folder of the list.
  const std::vector<std::wstring> pictures{L"10.bmp", L"2.png", L"b.gif"};
  EXPECT_TRUE(d.DoubleClickFolder(L"Trip 2024", [&] { return d.Items(d.Control("ScrSetUpFileListBox")) == pictures; }))
      << "the double click did not open the folder";

  ASSERT_TRUE(SaveAndExit());
  EXPECT_EQ(registry::Read(ImageKey(1, 3)), trip);
  EXPECT_EQ(registry::Read(ImageKey(1, 1)), L"");
}

TEST_F(SettingsFolderSlot, TheOpenDialogsButtonChoosesTheFolderItShows) {
  const std::wstring trip = TripFolder();
  ASSERT_TRUE(Start());
  const SettingsDialogDriver& d = *driver_;
  const HWND hwnd = d.hwnd();
  d.SelectTab(3, 4);
  d.PostClick(d.BoxControl(3, "NoImageButton"));
  HWND open = WaitOwnedWindow(hwnd, L"#32770", 10s);
  ASSERT_NE(open, nullptr);
  // A folder typed into the name field and confirmed: the dialog goes into it.
  const std::wstring typed = trip + L"\\";
  SendMessageW(GetDlgItem(open, 0x47C), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
  SendMessageW(GetDlgItem(open, IDOK), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return WindowText(GetDlgItem(open, 0x471)) == L"Trip 2024"; }, 5s))
      << "the dialog did not go into the folder";
  const std::vector<HWND> buttons = ChildrenWithText(open, Wide(kChooseFolderCaption), L"Button");
  ASSERT_EQ(buttons.size(), 1u) << "no folder button in the open dialog";
  PostMessageW(buttons.front(), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(open); }, 10s));
  ASSERT_NE(SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, nullptr), 0);
  EXPECT_TRUE(WaitUntil([&] { return HasSize(d.SizeOf(BoxPicture(d, 3)), 137, 91); }, 10s))
      << "the chosen folder's first picture did not show";

  ASSERT_TRUE(SaveAndExit());
  const std::optional<std::wstring> stored = registry::Read(ImageKey(3, 5));
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(CompareStringOrdinal(stored->c_str(), -1, trip.c_str(), -1, TRUE), CSTR_EQUAL) << *stored;
}

}  // namespace
}  // namespace tessmoor::e2e
