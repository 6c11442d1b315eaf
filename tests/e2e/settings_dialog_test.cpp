// The settings dialog of the real module, opened with "/c" as Windows' display settings open it
// and driven as a user drives it: its layout and keyboard, the keys it writes on the first run,
// cancel and save, the open-picture dialog, the folder browser and a file dragged onto a box.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <map>

#include "app/settings_keys.h"
#include "platform/win32/wic_decoder.h"
#include "setup/settings_dialog_layout.h"
#include "setup/win32/settings_ids.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/settings_dialog_driver.h"
#include "tests/support/picture_files.h"

namespace tessmoor::e2e {
namespace {

using namespace std::chrono_literals;
using Values = std::map<std::wstring, std::wstring>;

// Every key of the table at its first-run value: a store a user has used for a while.
Values FullStore() {
  Values values;
  for (const keys::KeyDef& k : keys::AllKeys()) values[Wide(k.name)] = Wide(k.first_run);
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
    for (int s = 1; s <= 12; ++s) values[ImageKey(b, s)] = L"";
  return values;
}

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
  const PictureFiles& p = SettingsPictures();
  Values store = FullStore();
  store[L"ScrActionRegSelectNoFlag"] = L"2";
  store[L"MusicPlayStop"] = L"0";
  store[ImageKey(1, 1)] = p.quad;
  store[ImageKey(3, 2)] = p.folder + L"\\Gone.jpg";  // a file that no longer exists
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
  const PictureFiles& p = SettingsPictures();
  Values store = FullStore();
  store[L"ScrActionRegSelectNo1FlagTimer"] = L"2500";
  store[L"ScrActionRegSelectScaleNo2FormNo3Flag"] = L"75";
  store[L"MusicPlayStopNo2"] = L"0";
  store[ImageKey(1, 1)] = p.quad;
  store[ImageKey(3, 2)] = p.folder + L"\\Gone.jpg";
  store[ImageKey(4, 7)] = p.square;  // kept as stored, case and all
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
  // Every format the system decodes, JPEG and BMP first.
  std::vector<std::wstring> filters;
  for (const OwnedFileFilter& f : PictureFileFilters(win32::MakeSystemPictureDecoder()->Extensions()))
    filters.push_back(Wide(f.description));
  ASSERT_GE(filters.size(), 5u);
  EXPECT_NE(filters[0].find(L"*.jpg;*.jpeg;*.bmp;"), std::wstring::npos) << filters[0];
  EXPECT_NE(filters[0].find(L"*.png"), std::wstring::npos) << filters[0];
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

  // The folder browser: the picture files of the folder only, in every format the system
  // decodes, and a click previews one.
  ASSERT_TRUE(d.OpenFolder(p.folder)) << "the folder list does not lead to " << p.folder;
  EXPECT_EQ(d.Items(d.Control("ScrSetUpFileListBox")),
            (std::vector<std::wstring>{L"broken.jpg", L"picture.png", L"Portrait.jpg", L"Quad.JPG", L"Sea.Jpeg",
                                       L"Small.bmp", L"Square.jpg", L"Tall.BMP"}));
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
      << "the drag never arrived; box 2 is " << SizeText(d.SizeOf(BoxPicture(d, 2)));
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
  expected[ImageKey(1, 1)] = L"";
  expected[ImageKey(1, 3)] = LowerCased(p.sea);
  expected[ImageKey(2, 5)] = p.folder + L"\\tall.bmp";  // the folder keeps its case
  expected[ImageKey(3, 2)] = L"";
  const Values saved = registry::All();
  EXPECT_EQ(saved.size(), keys::AllKeys().size());
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
  EXPECT_EQ(registry::Read(ImageKey(3, 1)), L"C:\\tessmoorroot.bmp");
  DeleteFileW(root_file.c_str());
}

TEST_F(SettingsDialog, AFirstPictureThatCannotBeDecodedLeavesItsBoxEmptyAndKeepsItsPath) {
  const PictureFiles& p = SettingsPictures();
  registry::Write(ImageKey(1, 1), p.quad);
  registry::Write(ImageKey(2, 1), p.broken);
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
  EXPECT_EQ(registry::Read(ImageKey(2, 1)), p.broken);
}

}  // namespace
}  // namespace tessmoor::e2e
