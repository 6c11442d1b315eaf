// The two detail dialogs and the version dialog, opened from the settings dialog by its own
// button and menu item and driven as a user drives them: radio buttons and check boxes clicked,
// scroll bars moved by their arrows and their thumbs, saved, cancelled and closed, with the
// registry read after each step.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
// <shellapi.h> names ShellExecute as a macro; the version dialog's view has a member of that name.
#undef ShellExecute

#include <array>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/text.h"
#include "setup/detail_dialog_layouts.h"
#include "setup/version_dialog_model.h"
#include "setup/win32/settings_ids.h"
#include "tests/e2e/harness.h"

namespace tessmoor::e2e {
namespace {

using namespace std::chrono_literals;

constexpr auto kStart = 15s;
constexpr auto kOpen = 5s;
constexpr const wchar_t* kSettingsTitle = L"設定";
constexpr const wchar_t* kPattern1Title = L"パターン１詳細";
constexpr const wchar_t* kPattern2Title = L"パターン２詳細";
constexpr const wchar_t* kVersionTitle = L"バージョン&ヘルプ";
// The dialogs number their controls from this id in the order of their layout tables.
constexpr int kFirstControlId = 1000;
constexpr const wchar_t* kNoSettingsDialog =
    L"the settings dialog (TScrSetUpForm) does not open yet, so its detail dialogs cannot be reached";

std::wstring W(std::string_view utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Narrow(std::wstring_view text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                    nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

int Dpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}
int Scaled(int value) { return MulDiv(value, Dpi(), 96); }

bool Checked(HWND button) { return SendBounded(button, BM_GETCHECK) == BST_CHECKED; }
int BarPosition(HWND bar) { return static_cast<int>(SendBounded(bar, SBM_GETPOS)); }
void Click(HWND button) { SendBounded(button, BM_CLICK); }

// A scroll action as the bar itself reports it to its dialog: the step, then the end of the action.
void Scroll(HWND bar, int code, int position = 0) {
  HWND dialog = GetParent(bar);
  SendBounded(dialog, WM_HSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(bar));
  SendBounded(dialog, WM_HSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), reinterpret_cast<LPARAM>(bar));
}
void ArrowRight(HWND bar) { Scroll(bar, SB_LINERIGHT); }
void ArrowLeft(HWND bar) { Scroll(bar, SB_LINELEFT); }
void ThumbTo(HWND bar, int position) { Scroll(bar, SB_THUMBPOSITION, position); }

void MoveDialog(HWND dialog, int x, int y) {
  SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::wstring Key(const wchar_t* prefix, int n, const wchar_t* suffix) { return prefix + std::to_wstring(n) + suffix; }
std::wstring Value(const std::wstring& name) { return registry::Read(name).value_or(L"<absent>"); }

// The row of a layout table with this role and numbers.
template <class Role>
std::size_t RowOf(const std::vector<ControlSpec<Role>>& table, Role role, int index = 0, int item = 0) {
  for (std::size_t i = 0; i < table.size(); ++i)
    if (table[i].role == role && table[i].index == index && table[i].item == item) return i;
  ADD_FAILURE() << "no such row";
  return 0;
}

template <class Role>
HWND ControlOf(HWND dialog, const std::vector<ControlSpec<Role>>& table, Role role, int index = 0, int item = 0) {
  return GetDlgItem(dialog, kFirstControlId + static_cast<int>(RowOf(table, role, index, item)));
}

// The settings dialog of a `/c` run and the dialogs opened from it.
class DetailDialogs : public ::testing::Test {
 protected:
  void SetUp() override { registry::DeleteSettings(); }

  // Starts the configuration run; false when no settings dialog appears.
  bool OpenSettings() {
    module_ = std::make_unique<Module>(L"/c");
    WaitUntil(
        [&] {
          for (HWND h : module_->TopWindows())
            if (WindowText(h) == kSettingsTitle) settings_ = h;
          return settings_ != nullptr || !module_->Running();
        },
        kStart);
    return settings_ != nullptr;
  }

  // Chooses the pattern by its radio button and presses "詳細設定" in "動作"; the new dialog.
  HWND PressDetailButton(bool pattern2) {
    HWND radio = FindSettingsChild(pattern2 ? L"パターン２" : L"パターン 1", L"Button");
    HWND button = ActionDetailButton();
    if (!radio || !button) {
      ADD_FAILURE() << "the settings dialog has no pattern radio button or no detail button in 動作";
      return nullptr;
    }
    Click(radio);
    return AwaitNewDialog(pattern2 ? kPattern2Title : kPattern1Title, [&] { Click(button); });
  }

  // Chooses the menu item "ヘルプ&バージョン"; the new version dialog.
  HWND ChooseVersionMenuItem() {
    return AwaitNewDialog(kVersionTitle, [&] { PostMessageW(settings_, WM_COMMAND, MAKEWPARAM(kSettingsHelpMenuId, 0), 0); });
  }

  // The visible top-level windows of the module with this title.
  std::vector<HWND> Dialogs(const std::wstring& title) const {
    std::vector<HWND> found;
    for (HWND h : module_->TopWindows())
      if (WindowText(h) == title) found.push_back(h);
    return found;
  }

  HWND FindSettingsChild(const std::wstring& text, const wchar_t* window_class) const {
    const auto found = ChildrenWithText(settings_, text, window_class);
    return found.empty() ? nullptr : found.front();
  }

  std::unique_ptr<Module> module_;
  HWND settings_ = nullptr;

 private:
  // The "詳細設定" button inside the group box "動作" (the music group has one of its own).
  HWND ActionDetailButton() const {
    HWND group = FindSettingsChild(L"動作", L"Button");
    if (!group) return nullptr;
    const RECT g = WindowRectOf(group);
    for (HWND b : ChildrenWithText(settings_, L"詳細設定", L"Button")) {
      const RECT r = WindowRectOf(b);
      const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
      if (PtInRect(&g, centre)) return b;
    }
    return nullptr;
  }

  template <class Press>
  HWND AwaitNewDialog(const std::wstring& title, Press press) {
    const std::vector<HWND> before = Dialogs(title);
    press();
    HWND opened = nullptr;
    WaitUntil(
        [&] {
          for (HWND h : Dialogs(title))
            if (std::find(before.begin(), before.end(), h) == before.end()) opened = h;
          return opened != nullptr;
        },
        kOpen);
    return opened;
  }
};

#define OPEN_SETTINGS_OR_SKIP() \
  if (!OpenSettings()) GTEST_SKIP() << Narrow(kNoSettingsDialog)

const wchar_t* WindowClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::kScrollBar: return L"ScrollBar";
    case ControlKind::kLabel:
    case ControlKind::kStaticText: return L"Static";
    case ControlKind::kPicture: return L"TessmoorWindow";
    default: return L"Button";
  }
}

// Every control of a layout table is there with its class, kind, caption, place and size (scaled
// from 96 DPI) in the dialog's client area, and every scroll bar with its range.
template <class Role>
void ExpectLayout(HWND dialog, const std::vector<ControlSpec<Role>>& table) {
  POINT client{0, 0};
  ClientToScreen(dialog, &client);
  std::vector<POINT> origins;
  for (std::size_t i = 0; i < table.size(); ++i) {
    const ControlSpec<Role>& c = table[i];
    POINT at{c.x, c.y};
    for (std::size_t p = 0; p < i; ++p)
      if (!c.parent.empty() && table[p].name == c.parent) at = {at.x + origins[p].x, at.y + origins[p].y};
    origins.push_back(at);
    const std::string name(c.name);
    HWND h = GetDlgItem(dialog, kFirstControlId + static_cast<int>(i));
    ASSERT_NE(h, nullptr) << name;
    wchar_t window_class[64] = {};
    GetClassNameW(h, window_class, 64);
    EXPECT_EQ(_wcsicmp(window_class, WindowClassOf(c.kind)), 0) << name;
    const RECT r = WindowRectOf(h);
    EXPECT_EQ(r.left - client.x, Scaled(at.x)) << name;
    EXPECT_EQ(r.top - client.y, Scaled(at.y)) << name;
    EXPECT_EQ(r.right - r.left, Scaled(c.width)) << name;
    EXPECT_EQ(r.bottom - r.top, Scaled(c.height)) << name;
    if (!c.caption.empty()) {
      EXPECT_EQ(WindowText(h), W(c.caption)) << name;
    }
    const LONG type = GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK;
    switch (c.kind) {
      case ControlKind::kRadioButton: EXPECT_EQ(type, BS_RADIOBUTTON) << name; break;
      case ControlKind::kCheckBox: EXPECT_EQ(type, BS_AUTOCHECKBOX) << name; break;
      case ControlKind::kGroupBox: EXPECT_EQ(type, BS_GROUPBOX) << name; break;
      default: break;
    }
    if (c.kind == ControlKind::kScrollBar) {
      EXPECT_EQ(GetWindowLongW(h, GWL_STYLE) & SBS_VERT, 0) << name;
      SCROLLINFO si{};
      si.cbSize = sizeof(si);
      si.fMask = SIF_RANGE | SIF_PAGE;
      ASSERT_TRUE(GetScrollInfo(h, SB_CTL, &si)) << name;
      EXPECT_EQ(si.nMin, c.scroll.min) << name;
      EXPECT_EQ(si.nMax, c.scroll.max) << name;
      EXPECT_EQ(si.nPage, 0u) << name;
    }
  }
}

// A dialog of the module as the user sees it: top-most, owned by the settings dialog, of its
// designed outer size.
void ExpectDialogFrame(HWND dialog, HWND owner, const FormSpec& form) {
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_TRUE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner);
  const RECT r = WindowRectOf(dialog);
  EXPECT_EQ(r.right - r.left, Scaled(form.width));
  EXPECT_EQ(r.bottom - r.top, Scaled(form.height));
  const LONG style = GetWindowLongW(dialog, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  const bool normal = form.title_buttons == TitleButtons::kNormal;
  EXPECT_EQ((style & WS_MINIMIZEBOX) != 0, normal);
  EXPECT_EQ((style & WS_MAXIMIZEBOX) != 0, normal);
}

Point OriginOf(HWND window) {
  const RECT r = WindowRectOf(window);
  return {r.left, r.top};
}

bool HasJapanese(std::string_view caption) {
  for (char c : caption)
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  return false;
}

// The title bar: the rows between the top of the window's frame and its client area, short of
// the close box.
RECT TitleBarOf(HWND dialog) {
  const RECT r = WindowRectOf(dialog);
  POINT client{0, 0};
  ClientToScreen(dialog, &client);
  const int caption = GetSystemMetrics(SM_CYCAPTION);
  return {client.x, client.y - caption + 2, client.x + (r.right - r.left) / 2, client.y - 2};
}

// Screenshot of a dialog, kept in the artefacts, with the title bar and every Japanese caption
// drawn as text and not as boxes: each caption looks as this driver draws it in the dialogs'
// font, in a Japanese font that is really there (its glyphs are not all one box).
template <class Role>
void ExpectCaptionsDrawnAndKeep(HWND dialog, const std::vector<ControlSpec<Role>>& table, const wchar_t* name) {
  ASSERT_GE(DistinctGlyphCells(RenderCaption(L"画像の大きさ", 12), {0, 0, 1000, 100}, InkBackground::kMostCommonColour), 5)
      << "this system draws no Japanese glyphs, so no caption can be checked";
  SetForegroundWindow(dialog);
  PumpFor(500ms);
  const Screenshot shot = CaptureScreen();
  Crop(shot, WindowRectOf(dialog)).Save(name);
  EXPECT_GE(DistinctGlyphCells(shot, TitleBarOf(dialog), InkBackground::kTopRowOfColumn), 4) << "title bar";
  const Ink screen = InkOf(shot);
  for (std::size_t i = 0; i < table.size(); ++i) {
    const ControlSpec<Role>& c = table[i];
    if (!HasJapanese(c.caption)) continue;
    RECT area = WindowRectOf(GetDlgItem(dialog, kFirstControlId + static_cast<int>(i)));
    const Ink text = InkOf(RenderCaption(W(c.caption), c.font.height_px, c.font.bold, c.font.italic));
    if (c.kind == ControlKind::kGroupBox) area.bottom = area.top + text.height;
    ASSERT_GT(text.count, 0);
    EXPECT_LE(BestMismatch(screen, area, text), text.count / 5)
        << std::string(c.name) << ": its caption is not drawn as in the dialogs' font";
  }
}

// ---------------------------------------------------------------------------------------------
// Pattern 1

using P1 = Pattern1DetailRole;
HWND P1Control(HWND dialog, P1 role, int index = 0) { return ControlOf(dialog, Pattern1DetailControls(), role, index); }

void ExpectPattern1Shows(HWND dialog, int mode, int timer, int scale, std::array<bool, 4> boxes) {
  for (int m = 1; m <= 4; ++m) EXPECT_EQ(Checked(P1Control(dialog, P1::kModeRadio, m)), m == mode) << "mode " << m;
  EXPECT_EQ(BarPosition(P1Control(dialog, P1::kTimerBar)), timer);
  EXPECT_EQ(BarPosition(P1Control(dialog, P1::kScaleBar)), scale);
  EXPECT_EQ(WindowText(P1Control(dialog, P1::kScaleValueLabel)), std::to_wstring(scale));
  for (int b = 1; b <= 4; ++b) EXPECT_EQ(Checked(P1Control(dialog, P1::kBoxCheck, b)), boxes[b - 1]) << "box " << b;
}

std::wstring P1BoxKey(int b) { return Key(L"ImageRegForm1No", b, L"BoxScrSetUpFormTabControlCheckBoxReg"); }

TEST_F(DetailDialogs, Pattern1OnAnEmptyStoreOpensAtTheFirstRunPlaceWithEveryControlAsDesigned) {
  OPEN_SETTINGS_OR_SKIP();
  HWND dialog = PressDetailButton(false);
  ASSERT_NE(dialog, nullptr) << "the pattern-1 detail dialog did not open";
  ExpectDialogFrame(dialog, settings_, Pattern1DetailForm());
  EXPECT_EQ(OriginOf(dialog), (Point{100, 100}));
  ExpectLayout(dialog, Pattern1DetailControls());
  ExpectPattern1Shows(dialog, 1, 1500, 50, {true, true, true, true});
  ExpectCaptionsDrawnAndKeep(dialog, Pattern1DetailControls(), L"pattern1-detail");
  EXPECT_EQ(Value(L"ScreenDetailSetUpPointRegXFlag"), L"100");
  EXPECT_EQ(Value(L"ScreenDetailSetUpPointRegYFlag"), L"100");
  EXPECT_EQ(Value(L"ScrActionRegSelectNo1FlagDetail"), L"1");
  EXPECT_EQ(Value(L"ScrActionRegSelectNo1FlagTimer"), L"1500");
  EXPECT_EQ(Value(L"ScrActionRegSelectNo1FlagScale"), L"50");
  for (int b = 1; b <= 4; ++b) EXPECT_EQ(Value(P1BoxKey(b)), L"1");
}

TEST_F(DetailDialogs, Pattern1SavesWhatClicksAndScrollsChoseAndTheNextInstanceShowsIt) {
  OPEN_SETTINGS_OR_SKIP();
  HWND dialog = PressDetailButton(false);
  ASSERT_NE(dialog, nullptr);
  Click(P1Control(dialog, P1::kModeRadio, 4));
  Click(P1Control(dialog, P1::kBoxCheck, 3));
  HWND scale = P1Control(dialog, P1::kScaleBar);
  for (int i = 0; i < 3; ++i) ArrowRight(scale);
  EXPECT_EQ(BarPosition(scale), 53);
  EXPECT_EQ(WindowText(P1Control(dialog, P1::kScaleValueLabel)), L"53");
  ThumbTo(scale, 120);
  EXPECT_EQ(WindowText(P1Control(dialog, P1::kScaleValueLabel)), L"120");
  HWND timer = P1Control(dialog, P1::kTimerBar);
  ArrowRight(timer);
  EXPECT_EQ(BarPosition(timer), 2000) << "an arrow click steps the slide interval by 500";
  ThumbTo(timer, 3210);
  ExpectPattern1Shows(dialog, 4, 3210, 120, {true, true, false, true});
  // Nothing reaches the store before the save.
  EXPECT_EQ(Value(L"ScrActionRegSelectNo1FlagTimer"), L"1500");
  EXPECT_EQ(Value(L"ScrActionRegSelectNo1FlagDetail"), L"1");
  MoveDialog(dialog, 150, 160);

  Click(P1Control(dialog, P1::kSaveButton));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, kOpen)) << "save leaves the dialog open";
  EXPECT_TRUE(IsWindow(dialog)) << "a closed dialog is hidden, not destroyed";
  EXPECT_EQ(Value(L"ScrActionRegSelectNo1FlagDetail"), L"4");
  EXPECT_EQ(Value(L"ScrActionRegSelectNo1FlagTimer"), L"3210");
  EXPECT_EQ(Value(L"ScrActionRegSelectNo1FlagScale"), L"120");
  for (int b = 1; b <= 4; ++b) EXPECT_EQ(Value(P1BoxKey(b)), b == 3 ? L"0" : L"1") << b;
  EXPECT_EQ(Value(L"ScreenDetailSetUpPointRegXFlag"), L"150");
  EXPECT_EQ(Value(L"ScreenDetailSetUpPointRegYFlag"), L"160");

  HWND again = PressDetailButton(false);
  ASSERT_NE(again, nullptr);
  EXPECT_NE(again, dialog);
  EXPECT_EQ(OriginOf(again), (Point{150, 160}));
  ExpectPattern1Shows(again, 4, 3210, 120, {true, true, false, true});
}

TEST_F(DetailDialogs, Pattern1CancelAndTheCloseBoxWriteNothingButThePosition) {
  OPEN_SETTINGS_OR_SKIP();
  for (bool close_box : {false, true}) {
    HWND dialog = PressDetailButton(false);
    ASSERT_NE(dialog, nullptr);
    const auto before = registry::All();
    Click(P1Control(dialog, P1::kModeRadio, 2));
    Click(P1Control(dialog, P1::kBoxCheck, 1));
    ArrowRight(P1Control(dialog, P1::kTimerBar));
    ThumbTo(P1Control(dialog, P1::kScaleBar), 77);
    MoveDialog(dialog, 210, close_box ? 230 : 220);
    if (close_box)
      PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    else
      Click(P1Control(dialog, P1::kCancelButton));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, kOpen)) << close_box;
    auto expected = before;
    expected[L"ScreenDetailSetUpPointRegXFlag"] = L"210";
    expected[L"ScreenDetailSetUpPointRegYFlag"] = close_box ? L"230" : L"220";
    EXPECT_EQ(registry::All(), expected) << (close_box ? "close box" : "cancel");
  }
}

TEST_F(DetailDialogs, Pattern1StoredModeSixShowsFiveDirectionsAndAScaleOf500ComesBackAs150) {
  registry::Write(L"ScrActionRegSelectNo1FlagDetail", L"6");
  registry::Write(L"ScrActionRegSelectNo1FlagScale", L"500");
  OPEN_SETTINGS_OR_SKIP();
  HWND dialog = PressDetailButton(false);
  ASSERT_NE(dialog, nullptr);
  ExpectPattern1Shows(dialog, 4, 1500, 150, {true, true, true, true});
  Click(P1Control(dialog, P1::kSaveButton));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, kOpen));
  EXPECT_EQ(Value(L"ScrActionRegSelectNo1FlagDetail"), L"4");
  EXPECT_EQ(Value(L"ScrActionRegSelectNo1FlagScale"), L"150");
  EXPECT_EQ(Value(L"ScrActionRegSelectNo1FlagTimer"), L"1500");
}

// ---------------------------------------------------------------------------------------------
// Pattern 2

using P2 = Pattern2DetailRole;
HWND P2Control(HWND dialog, P2 role, int window, int item = 0) {
  return ControlOf(dialog, Pattern2DetailControls(), role, window, item);
}

struct Pattern2Group {
  int mode;  // 0: none selected
  int speed;
  int size;
  bool use;
};

constexpr std::array<Pattern2Group, 4> kPattern2FirstRun{
    {{1, 50, 50, true}, {2, 50, 50, true}, {3, 50, 50, true}, {4, 50, 50, true}}};

void ExpectPattern2Shows(HWND dialog, const std::array<Pattern2Group, 4>& groups) {
  for (int n = 1; n <= 4; ++n) {
    const Pattern2Group& g = groups[n - 1];
    for (int k = 1; k <= 5; ++k)
      EXPECT_EQ(Checked(P2Control(dialog, P2::kModeRadio, n, k)), k == g.mode) << "window " << n << " mode " << k;
    EXPECT_EQ(BarPosition(P2Control(dialog, P2::kSpeedBar, n)), g.speed) << "window " << n;
    EXPECT_EQ(BarPosition(P2Control(dialog, P2::kSizeBar, n)), g.size) << "window " << n;
    EXPECT_EQ(WindowText(P2Control(dialog, P2::kSizeValueLabel, n)), std::to_wstring(g.size)) << "window " << n;
    EXPECT_EQ(Checked(P2Control(dialog, P2::kBoxCheck, n)), g.use) << "window " << n;
  }
}

std::wstring ModeKey(int n) { return Key(L"ScrNo2ActionRegSelectNo", n, L"FlagDetail"); }
std::wstring SpeedKey(int n) { return Key(L"ScrActionRegSelectTimerNo2FormNo", n, L"Flag"); }
std::wstring SizeKey(int n) { return Key(L"ScrActionRegSelectScaleNo2FormNo", n, L"Flag"); }
std::wstring UseKey(int n) { return Key(L"ImageRegForm2No", n, L"BoxScrSetUpFormTabControlCheckBoxReg"); }

TEST_F(DetailDialogs, Pattern2OnAnEmptyStoreWritesItsFirstRunValuesAndShowsThem) {
  OPEN_SETTINGS_OR_SKIP();
  EXPECT_FALSE(registry::Read(ModeKey(1))) << "the settings dialog alone writes no pattern-2 detail";
  HWND dialog = PressDetailButton(true);
  ASSERT_NE(dialog, nullptr) << "the pattern-2 detail dialog did not open";
  ExpectDialogFrame(dialog, settings_, Pattern2DetailForm());
  EXPECT_EQ(OriginOf(dialog), (Point{100, 100}));
  ExpectLayout(dialog, Pattern2DetailControls());
  ExpectPattern2Shows(dialog, kPattern2FirstRun);
  ExpectCaptionsDrawnAndKeep(dialog, Pattern2DetailControls(), L"pattern2-detail");
  for (int n = 1; n <= 4; ++n) {
    EXPECT_EQ(Value(ModeKey(n)), std::to_wstring(n));
    EXPECT_EQ(Value(SpeedKey(n)), L"50");
    EXPECT_EQ(Value(SizeKey(n)), L"50");
    EXPECT_EQ(Value(UseKey(n)), L"1");
  }
  EXPECT_EQ(Value(L"ScreenDetailSetUpPointRegXFlag"), L"100");
  EXPECT_EQ(Value(L"ScreenDetailSetUpPointRegYFlag"), L"100");
}

TEST_F(DetailDialogs, Pattern2ArrowsStepEverySpeedBarByOneAndTheSizeLabelShowsTheThumbAtOnce) {
  OPEN_SETTINGS_OR_SKIP();
  HWND dialog = PressDetailButton(true);
  ASSERT_NE(dialog, nullptr);
  for (int n = 1; n <= 4; ++n) {
    HWND speed = P2Control(dialog, P2::kSpeedBar, n);
    ArrowRight(speed);
    EXPECT_EQ(BarPosition(speed), 51) << "window " << n;
    ArrowLeft(speed);
    ArrowLeft(speed);
    EXPECT_EQ(BarPosition(speed), 49) << "window " << n;
  }
  // While the thumb is dragged, each notification's position shows at once, before the drag ends.
  HWND size = P2Control(dialog, P2::kSizeBar, 3);
  HWND label = P2Control(dialog, P2::kSizeValueLabel, 3);
  for (int at : {77, 80}) {
    SendBounded(dialog, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, at), reinterpret_cast<LPARAM>(size));
    EXPECT_EQ(WindowText(label), std::to_wstring(at));
    EXPECT_EQ(BarPosition(size), at);
  }
  SendBounded(dialog, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 80), reinterpret_cast<LPARAM>(size));
  SendBounded(dialog, WM_HSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), reinterpret_cast<LPARAM>(size));
  EXPECT_EQ(WindowText(label), L"80");
}

TEST_F(DetailDialogs, Pattern2SaveWritesEveryGroupAndCancelWritesNothingButThePosition) {
  OPEN_SETTINGS_OR_SKIP();
  const std::array<Pattern2Group, 4> chosen{{{1, 51, 1, true}, {5, 300, 50, true}, {3, 50, 80, true}, {1, 50, 50, false}}};
  auto choose = [](HWND dialog) {
    Click(P2Control(dialog, P2::kModeRadio, 2, 5));
    Click(P2Control(dialog, P2::kModeRadio, 4, 1));
    Click(P2Control(dialog, P2::kBoxCheck, 4));
    ArrowRight(P2Control(dialog, P2::kSpeedBar, 1));
    ThumbTo(P2Control(dialog, P2::kSpeedBar, 2), 300);
    ThumbTo(P2Control(dialog, P2::kSizeBar, 3), 80);
    ThumbTo(P2Control(dialog, P2::kSizeBar, 1), 1);
  };

  // Cancelled: the store keeps the first-run values, only the place the dialog closed at is new.
  HWND dialog = PressDetailButton(true);
  ASSERT_NE(dialog, nullptr);
  choose(dialog);
  ExpectPattern2Shows(dialog, chosen);
  const auto before = registry::All();
  MoveDialog(dialog, 180, 190);
  Click(P2Control(dialog, P2::kCancelButton, 0));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, kOpen));
  auto expected = before;
  expected[L"ScreenDetailSetUpPointRegXFlag"] = L"180";
  expected[L"ScreenDetailSetUpPointRegYFlag"] = L"190";
  EXPECT_EQ(registry::All(), expected);

  // Saved: every group's choice is stored, and the next instance shows it.
  dialog = PressDetailButton(true);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(OriginOf(dialog), (Point{180, 190}));
  ExpectPattern2Shows(dialog, kPattern2FirstRun);
  choose(dialog);
  Click(P2Control(dialog, P2::kSaveButton, 0));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, kOpen));
  for (int n = 1; n <= 4; ++n) {
    const Pattern2Group& g = chosen[n - 1];
    EXPECT_EQ(Value(ModeKey(n)), std::to_wstring(g.mode)) << n;
    EXPECT_EQ(Value(SpeedKey(n)), std::to_wstring(g.speed)) << n;
    EXPECT_EQ(Value(SizeKey(n)), std::to_wstring(g.size)) << n;
    EXPECT_EQ(Value(UseKey(n)), g.use ? L"1" : L"0") << n;
  }
  HWND again = PressDetailButton(true);
  ASSERT_NE(again, nullptr);
  ExpectPattern2Shows(again, chosen);
}

TEST_F(DetailDialogs, Pattern2StoredModeSevenSelectsNoButtonAndSurvivesASave) {
  registry::Write(ModeKey(3), L"7");
  OPEN_SETTINGS_OR_SKIP();
  HWND dialog = PressDetailButton(true);
  ASSERT_NE(dialog, nullptr);
  ExpectPattern2Shows(dialog, {{{1, 50, 50, true}, {2, 50, 50, true}, {0, 50, 50, true}, {4, 50, 50, true}}});
  Click(P2Control(dialog, P2::kSaveButton, 0));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, kOpen));
  EXPECT_EQ(Value(ModeKey(3)), L"7");
  EXPECT_EQ(Value(ModeKey(4)), L"4");
}

// ---------------------------------------------------------------------------------------------
// Both detail dialogs

TEST_F(DetailDialogs, DamagedPositionTimerScaleSpeedAndSizeStillOpenTheDialogsWithFirstRunValues) {
  registry::Write(L"ScreenDetailSetUpPointRegXFlag", L"left");
  registry::Write(L"ScreenDetailSetUpPointRegYFlag", L"120");
  registry::Write(L"ScrActionRegSelectNo1FlagTimer", L"1.5e3");
  registry::Write(L"ScrActionRegSelectNo1FlagScale", L"");
  registry::Write(SpeedKey(2), L"fast");
  registry::Write(SizeKey(4), L"9x");
  OPEN_SETTINGS_OR_SKIP();
  HWND one = PressDetailButton(false);
  ASSERT_NE(one, nullptr) << "damaged numbers kept the pattern-1 dialog from opening";
  EXPECT_EQ(OriginOf(one), (Point{100, 120}));
  ExpectPattern1Shows(one, 1, 1500, 50, {true, true, true, true});
  Click(P1Control(one, P1::kCancelButton));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(one); }, kOpen));

  registry::Write(L"ScreenDetailSetUpPointRegYFlag", L"0x20");
  HWND two = PressDetailButton(true);
  ASSERT_NE(two, nullptr) << "damaged numbers kept the pattern-2 dialog from opening";
  EXPECT_EQ(OriginOf(two), (Point{100, 100}));
  ExpectPattern2Shows(two, kPattern2FirstRun);
}

TEST_F(DetailDialogs, BothDetailDialogsReopenWhereEitherWasLastClosed) {
  OPEN_SETTINGS_OR_SKIP();
  HWND two = PressDetailButton(true);
  ASSERT_NE(two, nullptr);
  MoveDialog(two, 300, 200);
  PostMessageW(two, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(two); }, kOpen));
  HWND one = PressDetailButton(false);
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(OriginOf(one), (Point{300, 200})) << "the pattern-1 dialog ignores where the pattern-2 one closed";
  MoveDialog(one, 250, 150);
  Click(P1Control(one, P1::kCancelButton));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(one); }, kOpen));
  two = PressDetailButton(true);
  ASSERT_NE(two, nullptr);
  EXPECT_EQ(OriginOf(two), (Point{250, 150}));
}

TEST_F(DetailDialogs, TwoPressesOpenTwoInstancesThatShareTheWorkingValues) {
  OPEN_SETTINGS_OR_SKIP();
  HWND first = PressDetailButton(false);
  HWND second = PressDetailButton(false);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(Dialogs(kPattern1Title).size(), 2u);
  for (HWND d : {first, second}) ExpectDialogFrame(d, settings_, Pattern1DetailForm());
  // A bar moved in one instance is what the other one saves.
  ThumbTo(P1Control(first, P1::kScaleBar), 70);
  EXPECT_EQ(BarPosition(P1Control(second, P1::kScaleBar)), 50);
  Click(P1Control(second, P1::kSaveButton));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(second); }, kOpen));
  EXPECT_TRUE(IsWindowVisible(first));
  EXPECT_EQ(Value(L"ScrActionRegSelectNo1FlagScale"), L"70");
  EXPECT_EQ(Value(L"ScrActionRegSelectNo1FlagTimer"), L"1500");

  HWND a = PressDetailButton(true);
  HWND b = PressDetailButton(true);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(a, b);
  EXPECT_EQ(Dialogs(kPattern2Title).size(), 2u);
  ThumbTo(P2Control(a, P2::kSpeedBar, 4), 123);
  Click(P2Control(b, P2::kSaveButton, 0));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(b); }, kOpen));
  EXPECT_EQ(Value(SpeedKey(4)), L"123");
  // Closed instances stay, hidden, until the settings dialog goes.
  for (HWND closed : {second, b}) EXPECT_TRUE(IsWindow(closed) && !IsWindowVisible(closed));
}

// ---------------------------------------------------------------------------------------------
// The version dialog

RECT ScreenRectOfControl(HWND dialog, std::size_t row) {
  return WindowRectOf(GetDlgItem(dialog, kFirstControlId + static_cast<int>(row)));
}

TEST_F(DetailDialogs, VersionDialogShowsTheBoldItalicTitleAndOurPictureAndCloses) {
  OPEN_SETTINGS_OR_SKIP();
  HWND dialog = ChooseVersionMenuItem();
  ASSERT_NE(dialog, nullptr) << "the version dialog did not open from the menu item";
  ExpectDialogFrame(dialog, settings_, VersionDialogForm());
  EXPECT_EQ(OriginOf(dialog), (Point{VersionDialogForm().left, VersionDialogForm().top}));
  ExpectLayout(dialog, VersionDialogControls());
  const auto& table = VersionDialogControls();
  EXPECT_EQ(WindowText(ControlOf(dialog, table, VersionRole::kTitle)), L"Tessmoor Ver1.2.2");

  ExpectCaptionsDrawnAndKeep(dialog, table, L"version");
  const Screenshot shot = CaptureScreen();
  // The picture, pixel for pixel where the screen has the designed resolution.
  if (Dpi() == 96) {
    const Screenshot picture = Crop(shot, ScreenRectOfControl(dialog, RowOf(table, VersionRole::kPicture)));
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
  const RECT title = ScreenRectOfControl(dialog, RowOf(table, VersionRole::kTitle));
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

  Click(ControlOf(dialog, table, VersionRole::kCloseButton));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, kOpen));
  EXPECT_TRUE(IsWindow(dialog));

  HWND first = ChooseVersionMenuItem();
  HWND second = ChooseVersionMenuItem();
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(Dialogs(kVersionTitle).size(), 2u) << "two choices of the menu item show two dialogs";
  for (HWND d : {first, second}) EXPECT_TRUE(GetWindowLongW(d, GWL_EXSTYLE) & WS_EX_TOPMOST);
  PostMessageW(first, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(first); }, kOpen)) << "the close box leaves the dialog open";
  EXPECT_TRUE(IsWindowVisible(second));
}

// ---------------------------------------------------------------------------------------------
// The help button

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
  const std::wstring partial = record + L".part";
  if (FILE* f = _wfopen(partial.c_str(), L"wb")) {
    fwrite(argv[2], sizeof(wchar_t), std::wcslen(argv[2]), f);
    fclose(f);
    MoveFileExW(partial.c_str(), record.c_str(), MOVEFILE_REPLACE_EXISTING);
  }
  ExitProcess(0);
}();

std::wstring TempFolder() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  return temp;
}

std::optional<std::wstring> ReadWideFile(const std::wstring& path) {
  FILE* f = _wfopen(path.c_str(), L"rb");
  if (!f) return std::nullopt;
  std::wstring text;
  wchar_t c;
  while (fread(&c, sizeof(c), 1, f) == 1) text.push_back(c);
  fclose(f);
  return text;
}

// Points the shell's "open" of .chm files at this driver for the life of the object.
class HelpViewerCatcher {
 public:
  explicit HelpViewerCatcher(const std::wstring& record) {
    original_ = ReadCommand();
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    WriteCommand(L"\"" + std::wstring(self) + L"\" \"" + kRecordSwitch + record + L"\" \"%1\"");
  }
  ~HelpViewerCatcher() {
    if (original_) WriteCommand(*original_);
  }

 private:
  static constexpr const wchar_t* kCommandKey = L"chm.file\\shell\\open\\command";
  static std::optional<std::wstring> ReadCommand() {
    wchar_t buffer[1024];
    DWORD size = sizeof(buffer);
    if (RegGetValueW(HKEY_CLASSES_ROOT, kCommandKey, nullptr, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
      return std::nullopt;
    return std::wstring(buffer);
  }
  static void WriteCommand(const std::wstring& command) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CLASSES_ROOT, kCommandKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
  }
  std::optional<std::wstring> original_;
};

// Runs the module from another path for the life of the object.
class ModuleAt {
 public:
  explicit ModuleAt(const std::wstring& path) : saved_(GetOptions()) { SetOptions({path, saved_.artifacts}); }
  ~ModuleAt() { SetOptions(saved_); }

 private:
  Options saved_;
};

TEST_F(DetailDialogs, HelpButtonHandsTheShellTheLowerCasedHelpFileBesideTheModule) {
  // A folder with capitals, holding a copy of the module and a help file of the test's own.
  const std::wstring folder = TempFolder() + L"TessmoorHelp\\MixedCase\\";
  CreateDirectoryW((TempFolder() + L"TessmoorHelp").c_str(), nullptr);
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring module = folder + L"Tessmoor.scr";
  ASSERT_TRUE(CopyFileW(GetOptions().module.c_str(), module.c_str(), FALSE));
  if (FILE* f = _wfopen((folder + L"Tessmoor.chm").c_str(), L"wb")) {
    fputs("a stand-in for the help file", f);
    fclose(f);
  }
  const std::wstring record = TempFolder() + L"tessmoor-help-launch.txt";
  DeleteFileW(record.c_str());
  HelpViewerCatcher catcher(record);
  ModuleAt at(module);

  OPEN_SETTINGS_OR_SKIP();
  HWND dialog = ChooseVersionMenuItem();
  ASSERT_NE(dialog, nullptr);
  Click(ControlOf(dialog, VersionDialogControls(), VersionRole::kHelpButton));
  std::optional<std::wstring> opened;
  EXPECT_TRUE(WaitUntil([&] { return (opened = ReadWideFile(record)).has_value(); }, 15s))
      << "the help button started no viewer";
  const std::string expected = LowerCase(Narrow(folder) + "Tessmoor.chm");
  EXPECT_EQ(Narrow(opened.value_or(L"")), expected);
  EXPECT_TRUE(IsWindowVisible(dialog)) << "the help button closed the dialog";
}

}  // namespace
}  // namespace tessmoor::e2e
