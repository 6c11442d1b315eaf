// The settings dialog of the real module, opened with "/c" as Windows' display settings open it
// and driven as a user drives it: its layout and captions, the keys it writes on the first run,
// cancel and save, the open-picture dialog, the folder browser and a file dragged onto a box,
// the dialogs its buttons open, and the screenshot kept for the README.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <functional>
#include <map>

#include "app/settings_keys.h"
#include "setup/settings_dialog_layout.h"
#include "setup/win32/settings_ids.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/settings_dialog_driver.h"
#include "tests/support/picture_files.h"

namespace tessmoor::e2e {
namespace {

using namespace std::chrono_literals;
using Values = std::map<std::wstring, std::wstring>;

constexpr auto kStart = 15s;
constexpr auto kExit = 10s;
const std::wstring kCaption = L"設定";

std::wstring Key(int box, int slot) { return Wide(keys::ImagePath(box, slot)); }
std::wstring Lower(std::wstring s) {
  CharLowerBuffW(s.data(), static_cast<DWORD>(s.size()));
  return s;
}

std::wstring TempFolder() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  return temp;
}

std::wstring WriteFileIn(const std::wstring& folder, const std::wstring& name, const std::vector<std::uint8_t>& bytes) {
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring path = folder + L"\\" + name;
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write a test file");
  DWORD written = 0;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(f);
  return path;
}

// The pictures of these tests, in a folder of their own: names in mixed case, files the list
// must leave out, a sub-folder and a file that is no picture at all though it is named one.
struct PictureFiles {
  std::wstring folder, quad, sea, tall, small, square, yellow, broken;
};

const PictureFiles& Pictures() {
  static const PictureFiles files = [] {
    PictureFiles p;
    p.folder = TempFolder() + L"Tessmoor-Setup";
    p.quad = WriteFileIn(p.folder, L"Quad.JPG",
                         test::MakeJpeg(640, 480, test::Quadrants(640, 480, test::kRed, test::kGreen, test::kBlue,
                                                                  test::kYellow), 92));
    p.sea = WriteFileIn(p.folder, L"Sea.Jpeg", test::MakeJpeg(480, 640, test::Solid(test::kBlue), 90));
    p.tall = WriteFileIn(p.folder, L"Tall.BMP", test::MakeBmp(300, 900, test::Solid(test::kRed)));
    p.small = WriteFileIn(p.folder, L"Small.bmp", test::MakeBmp(50, 40, test::Solid(test::kGreen)));
    p.square = WriteFileIn(p.folder, L"Square.jpg", test::MakeJpeg(200, 200, test::Solid(test::kBlue), 90));
    p.yellow = WriteFileIn(p.folder, L"Portrait.jpg", test::MakeJpeg(480, 640, test::Solid(test::kYellow), 90));
    p.broken = WriteFileIn(p.folder, L"broken.jpg", std::vector<std::uint8_t>(600, 0x5A));
    WriteFileIn(p.folder, L"notes.txt", {'n', 'o'});
    WriteFileIn(p.folder, L"picture.png", {0x89, 'P', 'N', 'G'});
    CreateDirectoryW((p.folder + L"\\Sub").c_str(), nullptr);
    return p;
  }();
  return files;
}

// Every one of the 87 keys at its first-run value: a store a user has used for a while.
Values FullStore() {
  Values values;
  for (const keys::KeySpec& k : keys::AllKeys()) values[Wide(k.name)] = Wide(k.first_run);
  return values;
}

void WriteStore(const Values& values) {
  for (const auto& [name, value] : values) registry::Write(name, value);
}

// What the dialog writes on a first run: position, pattern, the 48 slots and the music switch.
Values FirstRunKeys() {
  Values values{{L"ScreenSetUpPointRegXFlag", L"100"}, {L"ScreenSetUpPointRegYFlag", L"100"},
                {L"ScrActionRegSelectNoFlag", L"1"}, {L"MusicPlayStop", L"1"}};
  for (int b = 1; b <= 4; ++b)
    for (int s = 1; s <= 12; ++s) values[Key(b, s)] = L"";
  return values;
}

bool HasSize(const SIZE& size, int width, int height) { return size.cx == width && size.cy == height; }
std::string Text(const SIZE& size) { return std::to_string(size.cx) + "x" + std::to_string(size.cy); }

class SettingsDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    registry::DeleteSettings();
    SetCursorPos(1000, 740);
  }
  // Starts "/c" (or `args`) and waits for the dialog.
  HWND Open(std::unique_ptr<Module>& module, const std::wstring& args = L"/c") {
    module = std::make_unique<Module>(args);
    return module->WaitWindow(kCaption, kStart);
  }
  HWND BoxPicture(const SettingsDialogDriver& d, int box) { return d.BoxControl(box, "NoImage"); }
};

TEST_F(SettingsDialog, FirstRunOpensAtTheFirstRunPlaceAndWritesExactlyItsKeysBeforeAnyPress) {
  std::unique_ptr<Module> module;
  HWND hwnd = Open(module);
  ASSERT_NE(hwnd, nullptr) << "the settings dialog never appeared";
  const SettingsDialogDriver d(hwnd);
  const RECT r = WindowRectOf(hwnd);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 100);
  EXPECT_TRUE(d.Checked(d.Control("No1ScrActionRadioButton")));
  EXPECT_FALSE(d.Checked(d.Control("No2ScrActionRadioButton")));
  EXPECT_TRUE(d.Checked(d.Control("MusicStopSetRadioButton")));
  EXPECT_FALSE(d.Checked(d.Control("MusicPlaySetRadioButton")));
  for (int b = 1; b <= 4; ++b) EXPECT_PRED3(HasSize, d.SizeOf(BoxPicture(d, b)), 137, 137) << "box " << b;
  EXPECT_EQ(registry::All(), FirstRunKeys());

  PostMessageW(hwnd, WM_CLOSE, 0, 0);  // the title bar's close box
  EXPECT_EQ(module->WaitExit(kExit), 0u);
  EXPECT_EQ(registry::All(), FirstRunKeys());
}

TEST_F(SettingsDialog, EveryControlSitsAtItsDesignedPlaceWithItsCaption) {
  std::unique_ptr<Module> module;
  HWND hwnd = Open(module);
  ASSERT_NE(hwnd, nullptr);
  const SettingsDialogDriver d(hwnd);
  const RECT outer = WindowRectOf(hwnd);
  EXPECT_EQ(outer.right - outer.left, 638);
  EXPECT_EQ(outer.bottom - outer.top, 510);
  const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_NE(GetMenu(hwnd), nullptr);

  const auto& rows = SettingsDialogControls();
  std::map<std::string_view, POINT> origins;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto& row = rows[i];
    const POINT parent = row.parent.empty() ? POINT{0, 0} : origins.at(row.parent);
    const POINT at{parent.x + row.x, parent.y + row.y};
    origins[row.name] = at;
    HWND c = GetDlgItem(hwnd, kSettingsFirstControlId + static_cast<int>(i));
    ASSERT_NE(c, nullptr) << row.name;
    const RECT r = d.ClientRect(c);
    EXPECT_EQ(r.left, at.x) << row.name;
    EXPECT_EQ(r.top, at.y) << row.name;
    if (row.kind == ControlKind::kLabel) {
      // A label is as large as its caption, and stays on its page.
      EXPECT_LE(r.bottom - r.top, 16) << row.name;
      EXPECT_LE(r.right, origins.at(row.parent).x + 225) << row.name;
    } else {
      EXPECT_EQ(r.right - r.left, row.width) << row.name;
      // The drop-down list's field is as high as its font needs.
      const int slack = row.kind == ControlKind::kDriveList ? 3 : 0;
      EXPECT_NEAR(r.bottom - r.top, row.height, slack) << row.name;
    }
    if (!row.caption.empty()) {
      EXPECT_EQ(WindowText(c), Wide(row.caption)) << row.name;
    }
    if (row.kind == ControlKind::kTabControl) {
      DWORD_PTR count = 0;
      SendMessageTimeoutW(c, TCM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count);
      EXPECT_EQ(count, 12u) << row.name;
    }
  }
  // The keyboard moves between the controls: Tab to the first, then to the next group.
  GUITHREADINFO focus{};
  focus.cbSize = sizeof(focus);
  const DWORD thread = GetWindowThreadProcessId(hwnd, nullptr);
  auto focused = [&] { return GetGUIThreadInfo(thread, &focus) ? focus.hwndFocus : nullptr; };
  PostMessageW(hwnd, WM_KEYDOWN, VK_TAB, 0);
  EXPECT_TRUE(WaitUntil([&] { return focused() == d.Control("No1ScrActionRadioButton"); }, 2s));
  PostMessageW(hwnd, WM_KEYDOWN, VK_TAB, 0);
  EXPECT_TRUE(WaitUntil([&] { return focused() == d.Control("NoImageRegFileDSaveButton"); }, 2s));
  d.PostClick(d.Control("CancelButton"));
  EXPECT_EQ(module->WaitExit(kExit), 0u);
}

TEST_F(SettingsDialog, CancelAfterMovingAndChangingStoresOnlyTheNewPosition) {
  const PictureFiles& p = Pictures();
  Values store = FullStore();
  store[L"ScrActionRegSelectNoFlag"] = L"2";
  store[L"MusicPlayStop"] = L"0";
  store[Key(1, 1)] = p.quad;
  store[Key(3, 2)] = p.folder + L"\\Gone.jpg";  // a file that no longer exists
  WriteStore(store);

  std::unique_ptr<Module> module;
  HWND hwnd = Open(module);
  ASSERT_NE(hwnd, nullptr);
  const SettingsDialogDriver d(hwnd);
  EXPECT_TRUE(d.Checked(d.Control("No2ScrActionRadioButton")));
  EXPECT_TRUE(d.Checked(d.Control("MusicPlaySetRadioButton")));
  EXPECT_EQ(registry::All(), store) << "opening wrote to a store that had every key";

  // The two radio groups are independent.
  d.Click(d.Control("No1ScrActionRadioButton"));
  EXPECT_FALSE(d.Checked(d.Control("No2ScrActionRadioButton")));
  EXPECT_TRUE(d.Checked(d.Control("MusicPlaySetRadioButton")));
  d.Click(d.Control("MusicStopSetRadioButton"));
  EXPECT_FALSE(d.Checked(d.Control("MusicPlaySetRadioButton")));
  EXPECT_TRUE(d.Checked(d.Control("No1ScrActionRadioButton")));
  d.Click(d.BoxControl(1, "NoImageClearButton"));
  EXPECT_PRED3(HasSize, d.SizeOf(BoxPicture(d, 1)), 137, 137);
  SetWindowPos(hwnd, nullptr, 240, 170, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  d.PostClick(d.Control("CancelButton"));
  ASSERT_EQ(module->WaitExit(kExit), 0u);
  store[L"ScreenSetUpPointRegXFlag"] = L"240";
  store[L"ScreenSetUpPointRegYFlag"] = L"170";
  EXPECT_EQ(registry::All(), store);
}

TEST_F(SettingsDialog, SaveWritesEveryChangeAUserMakesAndReopeningShowsThem) {
  const PictureFiles& p = Pictures();
  Values store = FullStore();
  store[L"ScrActionRegSelectNo1FlagTimer"] = L"2500";
  store[L"ScrActionRegSelectScaleNo2FormNo3Flag"] = L"75";
  store[L"MusicPlayStopNo2"] = L"0";
  store[Key(1, 1)] = p.quad;
  store[Key(3, 2)] = p.folder + L"\\Gone.jpg";
  store[Key(4, 7)] = p.square;  // kept as stored, case and all
  WriteStore(store);

  std::unique_ptr<Module> module;
  HWND hwnd = Open(module);
  ASSERT_NE(hwnd, nullptr);
  const SettingsDialogDriver d(hwnd);
  EXPECT_PRED3(HasSize, d.SizeOf(BoxPicture(d, 1)), 137, 102);

  // Box 1: the open-picture dialog starts in the folder of the slot's picture; cancelled, it
  // changes nothing.
  OpenDialogSeen seen;
  ASSERT_TRUE(ChooseFileInOpenDialog(d, 1, L"", &seen)) << "the open-picture dialog did not work";
  EXPECT_EQ(seen.look_in, L"Tessmoor-Setup");
  std::vector<std::wstring> filters;
  for (const FileFilter& f : kPictureFileFilters) filters.push_back(Wide(f.description));
  EXPECT_EQ(seen.filters, filters);
  EXPECT_PRED3(HasSize, d.SizeOf(BoxPicture(d, 1)), 137, 102);
  // Box 1, slot 3 (empty): a file chosen there; the dialog starts where it was left.
  d.SelectTab(1, 2);
  EXPECT_PRED3(HasSize, d.SizeOf(BoxPicture(d, 1)), 137, 137);
  seen = {};
  ASSERT_TRUE(ChooseFileInOpenDialog(d, 1, p.sea, &seen));
  EXPECT_EQ(seen.look_in, L"Tessmoor-Setup");
  EXPECT_PRED3(HasSize, d.SizeOf(BoxPicture(d, 1)), 102, 137);

  // Box 1, slot 1: cleared.
  d.SelectTab(1, 0);
  EXPECT_PRED3(HasSize, d.SizeOf(BoxPicture(d, 1)), 137, 102);
  d.Click(d.BoxControl(1, "NoImageClearButton"));
  EXPECT_PRED3(HasSize, d.SizeOf(BoxPicture(d, 1)), 137, 137);

  // The folder browser: the picture files of the folder only, and a click previews one.
  ASSERT_TRUE(d.OpenFolder(p.folder)) << "the folder list does not lead to " << p.folder;
  EXPECT_EQ(d.Items(d.Control("ScrSetUpFileListBox")),
            (std::vector<std::wstring>{L"broken.jpg", L"Portrait.jpg", L"Quad.JPG", L"Sea.Jpeg", L"Small.bmp",
                                       L"Square.jpg", L"Tall.BMP"}));
  HWND folder_list = d.Control("ScrSetUpDirectoryListBox");
  const std::vector<std::wstring> folders = d.Items(folder_list);
  EXPECT_EQ(folders.back(), L"Sub");
  // Enter opens the selected folder as a double click does; the folder's own entry leads back.
  d.SelectItem(folder_list, static_cast<int>(folders.size()) - 1);
  PostMessageW(folder_list, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(WaitUntil([&] { return d.Items(d.Control("ScrSetUpFileListBox")).empty(); }, 5s))
      << "Enter did not open Sub";
  EXPECT_EQ(d.Items(folder_list).back(), L"Sub");
  d.SelectItem(folder_list, static_cast<int>(folders.size()) - 2);
  d.Notify(folder_list, LBN_DBLCLK);
  EXPECT_EQ(d.Items(folder_list), folders);
  ASSERT_TRUE(d.ClickFile(L"Small.bmp"));
  EXPECT_PRED3(HasSize, d.SizeOf(d.Control("ScrSetUpPreviewImage")), 97, 77);

  // Box 2, slot 5: Tall.BMP dragged from the file list, with the no-drop cursor away from the
  // boxes and the drag cursor over one.
  d.SelectTab(2, 4);
  SettingsDialogDriver::DragCursors cursors;
  ASSERT_TRUE(d.DragFileToBox(L"Tall.BMP", 2, [&] { return HasSize(d.SizeOf(BoxPicture(d, 2)), 45, 137); },
                              &cursors))
      << "the drag never arrived; box 2 is " << Text(d.SizeOf(BoxPicture(d, 2)));
  // Cursor handles are the module's own: they can only be told apart.
  EXPECT_NE(cursors.before, nullptr);
  EXPECT_NE(cursors.over_list, cursors.before);
  EXPECT_NE(cursors.over_target, cursors.before);
  EXPECT_NE(cursors.over_target, cursors.over_list);
  d.SelectTab(4, 6);
  EXPECT_PRED3(HasSize, d.SizeOf(BoxPicture(d, 4)), 137, 137);

  d.Click(d.Control("No2ScrActionRadioButton"));
  d.Click(d.Control("MusicPlaySetRadioButton"));
  SetWindowPos(hwnd, nullptr, 150, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  d.PostClick(d.Control("NoImageRegFileSaveButton"));
  ASSERT_EQ(module->WaitExit(kExit), 0u);

  Values expected = store;
  expected[L"ScrActionRegSelectNoFlag"] = L"2";
  expected[L"MusicPlayStop"] = L"0";
  expected[L"ScreenSetUpPointRegXFlag"] = L"150";
  expected[L"ScreenSetUpPointRegYFlag"] = L"120";
  expected[Key(1, 1)] = L"";
  expected[Key(1, 3)] = Lower(p.sea);
  expected[Key(2, 5)] = p.folder + L"\\tall.bmp";  // the folder keeps its case
  expected[Key(3, 2)] = L"";
  const Values saved = registry::All();
  EXPECT_EQ(saved.size(), 87u);
  EXPECT_EQ(saved, expected);

  // Reopened: the saved choices, each tab back on "No.1".
  HWND again = Open(module);
  ASSERT_NE(again, nullptr);
  const SettingsDialogDriver r(again);
  const RECT at = WindowRectOf(again);
  EXPECT_EQ(at.left, 150);
  EXPECT_EQ(at.top, 120);
  EXPECT_TRUE(r.Checked(r.Control("No2ScrActionRadioButton")));
  EXPECT_TRUE(r.Checked(r.Control("MusicPlaySetRadioButton")));
  EXPECT_PRED3(HasSize, r.SizeOf(BoxPicture(r, 1)), 137, 137);
  r.SelectTab(1, 2);
  EXPECT_PRED3(HasSize, r.SizeOf(BoxPicture(r, 1)), 102, 137);
  r.SelectTab(2, 4);
  EXPECT_PRED3(HasSize, r.SizeOf(BoxPicture(r, 2)), 45, 137);
  r.PostClick(r.Control("CancelButton"));
  EXPECT_EQ(module->WaitExit(kExit), 0u);
}

TEST_F(SettingsDialog, DropAtADriveRootJoinsTheFolderAndTheNameWithOneBackslash) {
  const std::wstring root_file = WriteFileIn(L"C:", L"TessmoorRoot.BMP", test::MakeBmp(300, 900, test::Solid(test::kBlue)));
  std::unique_ptr<Module> module;
  HWND hwnd = Open(module);
  ASSERT_NE(hwnd, nullptr);
  const SettingsDialogDriver d(hwnd);
  ASSERT_TRUE(d.OpenFolder(L"C:\\"));
  ASSERT_TRUE(d.DragFileToBox(L"TessmoorRoot.BMP", 3, [&] { return HasSize(d.SizeOf(BoxPicture(d, 3)), 45, 137); }))
      << "the drag never arrived";
  d.PostClick(d.Control("NoImageRegFileSaveButton"));
  ASSERT_EQ(module->WaitExit(kExit), 0u);
  EXPECT_EQ(registry::Read(Key(3, 1)), L"C:\\tessmoorroot.bmp");
  DeleteFileW(root_file.c_str());
}

TEST_F(SettingsDialog, AFirstPictureThatCannotBeDecodedLeavesItsBoxEmptyAndKeepsItsPath) {
  const PictureFiles& p = Pictures();
  registry::Write(Key(1, 1), p.quad);
  registry::Write(Key(2, 1), p.broken);
  std::unique_ptr<Module> module;
  HWND hwnd = Open(module);
  ASSERT_NE(hwnd, nullptr) << "a picture that cannot be decoded kept the dialog from opening";
  const SettingsDialogDriver d(hwnd);
  PumpFor(500ms);
  EXPECT_EQ(WaitOwnedWindow(hwnd, L"#32770", 0ms), nullptr) << "opening showed a message";
  EXPECT_PRED3(HasSize, d.SizeOf(BoxPicture(d, 2)), 137, 137);
  EXPECT_PRED3(HasSize, d.SizeOf(BoxPicture(d, 1)), 137, 102);

  // Coming back to the slot later says why it shows nothing.
  d.SelectTab(2, 1);
  PostMessageW(d.BoxControl(2, ""), TCM_SETCURFOCUS, 0, 0);
  HWND message = WaitOwnedWindow(hwnd, L"#32770", 5s);
  ASSERT_NE(message, nullptr) << "no message for the picture that cannot be decoded";
  bool names_it = false;
  for (HWND c : ChildWindows(message))
    if (WindowText(c).find(L"broken.jpg") != std::wstring::npos) names_it = true;
  EXPECT_TRUE(names_it);
  PostMessageW(message, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(message); }, 5s));

  d.PostClick(d.Control("NoImageRegFileSaveButton"));
  ASSERT_EQ(module->WaitExit(kExit), 0u);
  EXPECT_EQ(registry::Read(Key(2, 1)), p.broken);
}

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

TEST_F(SettingsDialog, ScreenshotShowsTheJapaneseCaptionsAndAPictureInEachBox) {
  const PictureFiles& p = Pictures();
  registry::Write(Key(1, 1), p.quad);    // 640 x 480 in four colours: 137 x 102
  registry::Write(Key(2, 1), p.yellow);  // 480 x 640: 102 x 137
  registry::Write(Key(3, 1), p.small);   // 50 x 40, enlarged in box 3 only: 137 x 109
  registry::Write(Key(4, 1), p.square);  // 200 x 200: 137 x 137
  registry::Write(Key(1, 2), p.small);   // in box 1: 50 x 40 in a 137 x 109 control
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
  // The title bar (icon and "設定") and the menu bar's one item "ヘルプ&バージョン".
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

TEST_F(SettingsDialog, TheWindowNamedAfterSlashCColonOwnsTheDialog) {
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

TEST_F(SettingsDialog, EachPressOfADetailButtonOrTheMenuOpensANewDialogOfItsOwn) {
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

// Wine takes a process's DPI from the desktop settings when the process starts.
class SystemDpi {
 public:
  explicit SystemDpi(DWORD dpi) {
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_,
                    nullptr);
    DWORD size = sizeof(old_);
    had_ = RegQueryValueExW(key_, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&old_), &size) == ERROR_SUCCESS;
    RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
  }
  ~SystemDpi() {
    if (had_)
      RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old_), sizeof(old_));
    else
      RegDeleteValueW(key_, L"LogPixels");
    RegCloseKey(key_);
  }

 private:
  HKEY key_ = nullptr;
  DWORD old_ = 96;
  bool had_ = false;
};

TEST_F(SettingsDialog, AtTwentyPercentMoreDpiTheWholeLayoutScales) {
  const PictureFiles& p = Pictures();
  registry::Write(Key(1, 1), p.quad);
  SystemDpi dpi(120);
  std::unique_ptr<Module> module;
  HWND hwnd = Open(module);
  ASSERT_NE(hwnd, nullptr);
  const SettingsDialogDriver d(hwnd);
  const RECT outer = WindowRectOf(hwnd);
  if (outer.right - outer.left == 638) {
    d.PostClick(d.Control("CancelButton"));
    module->WaitExit(kExit);
    GTEST_SKIP() << "this Wine kept 96 DPI for the module";
  }
  auto s = [](int v) { return MulDiv(v, 120, 96); };
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

TEST_F(SettingsDialog, TwentyFourMegapixelPhotosOpenAtOnceAndAreNeverDecodedWhole) {
  // Decoded whole, each of these would take 72 MB; a 137-pixel box needs an eighth of each side.
  static const std::wstring big = WriteFileIn(TempFolder() + L"Tessmoor-Big", L"Photo.jpg",
                                              test::MakeJpeg(6000, 4000, test::Gradient(6000, 4000), 85));
  for (int b = 1; b <= 4; ++b) {
    registry::Write(Key(b, 1), big);
    registry::Write(Key(b, 2), big);
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
