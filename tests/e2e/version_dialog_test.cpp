// The version dialog, opened from the settings dialog's menu item as a user opens it: its title,
// its picture, its close button and close box, and its help button handing the shell the help
// file beside the module.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
// <shellapi.h> names ShellExecute as a macro; the version dialog's view has a member of that name.
#undef ShellExecute

#include <cwchar>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/text.h"
#include "tests/e2e/layout_dialog_checks.h"
#include "tests/e2e/version_dialog_driver.h"

namespace tessmoor::e2e {
namespace {

using namespace std::chrono_literals;

class VersionDialog : public FromSettingsDialog {};

TEST_F(VersionDialog, ShowsTheBoldItalicTitleAndOurPictureAndCloses) {
  ASSERT_TRUE(OpenSettings());
  const auto dialog = VersionDialogDriver::OpenFrom(*settings_);
  ASSERT_TRUE(dialog) << "the version dialog did not open from the menu item";
  ExpectDialogFrame(dialog.hwnd(), settings_->hwnd(), VersionDialogForm());
  EXPECT_EQ(dialog.Origin(), (Point{VersionDialogForm().left, VersionDialogForm().top}));
  ExpectLayout(dialog.hwnd(), RowsOf(dialog.Layout()));
  EXPECT_EQ(dialog.Title(), L"Tessmoor Ver1.2.2");

  ExpectCaptionsDrawnAndKeep(dialog.hwnd(), RowsOf(dialog.Layout()), L"version");
  const Screenshot shot = CaptureScreen();
  // The picture, pixel for pixel where the screen has the designed resolution.
  if (Dpi() == 96) {
    const Screenshot picture = Crop(shot, dialog.PictureArea());
    const Picture artwork = VersionArtwork();
    ASSERT_EQ(picture.width, artwork.width);
    ASSERT_EQ(picture.height, artwork.height);
    int off = 0;
    for (int y = 0; y < artwork.height; ++y)
      for (int x = 0; x < artwork.width; ++x) {
        const std::uint8_t* p = artwork.pixels.data() + static_cast<std::size_t>(y) * artwork.stride() + x * 3;
        off += !Near(picture.At(x, y), (p[2] << 16) | (p[1] << 8) | p[0], 8);
      }
    EXPECT_EQ(off, 0) << "pixels of the version picture differ from the artwork";
  }
  // The title matches its text drawn bold italic better than any other weight and slant.
  const Ink screen = InkOf(shot);
  const RECT title = dialog.TitleArea();
  int best = -1, best_mismatch = 0;
  for (int variant = 0; variant < 4; ++variant) {
    const Ink text = InkOf(RenderCaption(L"Tessmoor Ver1.2.2", 15, variant & 1, variant & 2));
    const int mismatch = BestMismatch(screen, title, text);
    if (best < 0 || mismatch < best_mismatch) {
      best = variant;
      best_mismatch = mismatch;
    }
  }
  EXPECT_EQ(best, 3) << "the title is not drawn bold italic (closest: bold " << (best & 1) << ", italic "
                     << (best >> 1) << ")";

  dialog.Close();
  EXPECT_TRUE(dialog.WaitClosed());
  EXPECT_TRUE(IsWindow(dialog.hwnd()));

  const auto first = VersionDialogDriver::OpenFrom(*settings_);
  const auto second = VersionDialogDriver::OpenFrom(*settings_);
  ASSERT_TRUE(first);
  ASSERT_TRUE(second);
  EXPECT_NE(first.hwnd(), second.hwnd());
  EXPECT_EQ(WindowsTitled(settings_->pid(), VersionDialogDriver::kTitle).size(), 2u)
      << "two choices of the menu item show two dialogs";
  for (HWND d : {first.hwnd(), second.hwnd()}) EXPECT_TRUE(GetWindowLongW(d, GWL_EXSTYLE) & WS_EX_TOPMOST);
  first.PressCloseBox();
  EXPECT_TRUE(first.WaitClosed()) << "the close box leaves the dialog open";
  EXPECT_TRUE(second.Visible());
}

// The shell is made to start this driver in place of the help viewer: started so, the driver
// writes the file it was asked to open into the record file and ends before any test runs.
constexpr const wchar_t* kRecordSwitch = L"--record-shell-launch=";

const bool kStartedAsHelpViewer = [] {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!argv || count < 3 || std::wcsncmp(argv[1], kRecordSwitch, std::wcslen(kRecordSwitch)) != 0) {
    if (argv) LocalFree(argv);
    return false;
  }
  const std::wstring record = argv[1] + std::wcslen(kRecordSwitch);
  const std::wstring opened = argv[2];
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(opened.data());
  // Written whole under another name first, so that the test never reads half of it.
  const std::size_t cut = record.find_last_of(L'\\');
  try {
    const std::wstring partial = WriteFileIn(record.substr(0, cut), record.substr(cut + 1) + L".part",
                                             {bytes, bytes + opened.size() * sizeof(wchar_t)});
    MoveFileExW(partial.c_str(), record.c_str(), MOVEFILE_REPLACE_EXISTING);
  } catch (const std::runtime_error&) {
  }
  ExitProcess(0);
}();

// What the stand-in viewer recorded, once it has.
std::optional<std::wstring> RecordedLaunch(const std::wstring& record) {
  if (!FileExists(record)) return std::nullopt;
  const std::string bytes = ReadWholeFile(record);
  return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

TEST_F(VersionDialog, HelpButtonHandsTheShellTheLowerCasedHelpFileBesideTheModule) {
  // A folder with capitals, holding a copy of the module and a help file of the test's own.
  const std::wstring folder = TempFolder() + L"TessmoorHelp\\MixedCase\\";
  CreateDirectoryW((TempFolder() + L"TessmoorHelp").c_str(), nullptr);
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring module = folder + L"Tessmoor.scr";
  ASSERT_TRUE(CopyFileW(GetOptions().module.c_str(), module.c_str(), FALSE));
  const std::string stand_in = "a stand-in for the help file";
  WriteFileIn(folder.substr(0, folder.size() - 1), L"Tessmoor.chm", {stand_in.begin(), stand_in.end()});
  const std::wstring record = TempFolder() + L"tessmoor-help-launch.txt";
  DeleteFileW(record.c_str());
  // The shell's "open" of .chm files starts this driver for the life of the object.
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const registry::ScopedValue catcher(HKEY_CLASSES_ROOT, L"chm.file\\shell\\open\\command", L"",
                                      L"\"" + std::wstring(self) + L"\" \"" + kRecordSwitch + record + L"\" \"%1\"");

  ASSERT_TRUE(OpenSettings(module));
  const auto dialog = VersionDialogDriver::OpenFrom(*settings_);
  ASSERT_TRUE(dialog);
  dialog.PressHelp();
  std::optional<std::wstring> opened;
  EXPECT_TRUE(WaitUntil([&] { return (opened = RecordedLaunch(record)).has_value(); }, 15s))
      << "the help button started no viewer";
  const std::string expected = LowerCase(Narrow(folder) + "Tessmoor.chm");
  EXPECT_EQ(Narrow(opened.value_or(L"")), expected);
  EXPECT_TRUE(dialog.Visible()) << "the help button closed the dialog";
}

}  // namespace
}  // namespace tessmoor::e2e
