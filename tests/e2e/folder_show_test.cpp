// Slots that name a folder in the real module: pictures of every format the system decodes, in
// name order with and without the subfolders, a shuffled folder that starts each new show on a
// picture it has not shown yet, a folder that vanishes during the show, and the picture windows of
// pattern 2. Each picture is a flat colour of its own, read at the centre of where it is drawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/support/picture_files.h"
#include "tests/support/picture_formats.h"

namespace tessmoor::e2e {
namespace {

using namespace std::chrono_literals;
using test::Rgb;

constexpr auto kStart = 15s;
constexpr int kTolerance = 40;  // JPEG and the halftone filter shift a flat colour a little
constexpr int kSide = 120;      // every test picture is a square of one colour

struct Named {
  const char* name;
  Rgb rgb;
};
constexpr Rgb kMagenta{255, 0, 255}, kCyan{0, 255, 255}, kOrange{255, 128, 0};
const std::vector<Named> kPalette = {{"red", test::kRed},     {"green", test::kGreen}, {"blue", test::kBlue},
                                     {"yellow", test::kYellow}, {"magenta", kMagenta}, {"cyan", kCyan},
                                     {"orange", kOrange}};

std::uint32_t RgbOf(Rgb c) { return static_cast<std::uint32_t>(c.r) << 16 | c.g << 8 | c.b; }

// The screen's colour at (x, y) by name: "" for black, "?" for anything else.
std::string ColourAt(int x, int y) {
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  const std::uint32_t pixel = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
  if (Near(pixel, 0, 24)) return "";
  for (const Named& n : kPalette)
    if (Near(pixel, RgbOf(n.rgb), kTolerance)) return n.name;
  return "?";
}

// The pictures that appear at a point of the screen, each once per appearance, until `count` have
// appeared or `limit` passes. `where` gives the point, or nothing while there is none to look at.
std::vector<std::string> Watch(const std::function<std::optional<POINT>()>& where, std::size_t count,
                               std::chrono::milliseconds limit) {
  std::vector<std::string> seen;
  std::string last;
  WaitUntil(
      [&] {
        const std::optional<POINT> at = where();
        const std::string now = at ? ColourAt(at->x, at->y) : "";
        if (now != last && !now.empty() && now != "?") seen.push_back(now);
        if (now != "?") last = now;
        return seen.size() >= count;
      },
      limit);
  return seen;
}

// Pattern 1 on 1024 x 768 at scale 50: every picture is centred.
std::optional<POINT> ScreenCentre() { return POINT{512, 384}; }

// A folder of the test's own, made afresh; its Windows path without a trailing backslash.
std::wstring NewFolder(const std::wstring& name) {
  const std::wstring root = TempFolder() + L"tessmoor-e2e-folders";
  CreateDirectoryW(root.c_str(), nullptr);
  const std::wstring folder = root + L"\\" + name;
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

std::vector<std::uint8_t> PictureOf(const std::wstring& name, Rgb colour) {
  const test::PixelFn solid = test::Solid(colour);
  const std::wstring ext = name.substr(name.find_last_of(L'.'));
  if (ext == L".png") return test::MakePng(kSide, kSide, solid);
  if (ext == L".gif") return test::MakeGif(kSide, kSide, {{0, 0, kSide, kSide, solid, std::nullopt}});
  if (ext == L".tif") return test::MakeTiff(kSide, kSide, solid);
  if (ext == L".bmp") return test::MakeBmp(kSide, kSide, solid);
  return test::MakeJpeg(kSide, kSide, solid, 95);
}

void Put(const std::wstring& folder, const std::wstring& name, Rgb colour) {
  WriteFileIn(folder, name, PictureOf(name, colour));
}

// One picture of each format the system decodes here, named in the order they are to come, and a
// subfolder whose picture comes after them.
std::wstring EveryFormatFolder(const std::wstring& name) {
  const std::wstring folder = NewFolder(name);
  Put(folder, L"a.png", test::kRed);
  Put(folder, L"B.gif", test::kGreen);
  Put(folder, L"c.TIF", test::kBlue);
  Put(folder, L"d10.jpg", kMagenta);  // by value: d9 before d10
  Put(folder, L"d9.jpg", test::kYellow);
  Put(folder, L"e.bmp", kOrange);
  WriteFileIn(folder, L"notes.txt", {'h', 'i'});
  Put(folder + L"\\サブ", L"夕日.png", kCyan);  // names in another script, through the wide file API
  return folder;
}

class FolderShow : public ::testing::Test {
 protected:
  void SetUp() override {
    registry::DeleteSettings();
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    registry::Write(L"ScrActionRegSelectNo1FlagTimer", L"500");
  }
};

TEST_F(FolderShow, NameOrderShowsEveryFormatInTurnWithTheSubfolderAfterTheFolderOwnPictures) {
  RegisterPicture(1, 1, EveryFormatFolder(L"every-format"));
  registry::Write(L"ImageRegFolderOrderFlag", L"1");
  Module show(L"/s");
  ASSERT_NE(show.WaitWindow(L"No1Form", kStart), nullptr);
  const std::vector<std::string> seen = Watch(ScreenCentre, 8, 30s);
  EXPECT_EQ(seen, (std::vector<std::string>{"red", "green", "blue", "yellow", "magenta", "orange", "cyan", "red"}));
  EXPECT_TRUE(show.Running());
}

TEST_F(FolderShow, WithoutSubfoldersOnlyTheFolderOwnPicturesComeRound) {
  RegisterPicture(1, 1, EveryFormatFolder(L"no-subfolders"));
  registry::Write(L"ImageRegFolderOrderFlag", L"1");
  registry::Write(L"ImageRegFolderSubFlag", L"0");
  Module show(L"/s");
  ASSERT_NE(show.WaitWindow(L"No1Form", kStart), nullptr);
  const std::vector<std::string> seen = Watch(ScreenCentre, 7, 30s);
  EXPECT_EQ(seen, (std::vector<std::string>{"red", "green", "blue", "yellow", "magenta", "orange", "red"}));
}

TEST_F(FolderShow, ShuffledFolderStartsEachNewShowOnAPictureNotYetShown) {
  const std::wstring folder = NewFolder(L"shuffled");
  const std::vector<std::pair<std::wstring, Rgb>> pictures = {
      {L"1.png", test::kRed}, {L"2.jpg", test::kGreen}, {L"3.bmp", test::kBlue}, {L"4.gif", test::kYellow}};
  for (const auto& [name, colour] : pictures) Put(folder, name, colour);
  RegisterPicture(1, 1, folder);  // the order is the first-run one: shuffled
  std::set<std::string> firsts;
  for (int run = 0; run < 4; ++run) {
    Module show(L"/s");
    HWND window = show.WaitWindow(L"No1Form", kStart);
    ASSERT_NE(window, nullptr) << run;
    const std::vector<std::string> seen = Watch(ScreenCentre, 1, 10s);
    ASSERT_EQ(seen.size(), 1u) << "show " << run << " showed no picture";
    EXPECT_TRUE(firsts.insert(seen[0]).second) << "show " << run << " started on " << seen[0] << " again";
    const std::optional<std::wstring> kept = registry::Read(L"ImageRegNo1BoxNo1FolderPlace");
    ASSERT_TRUE(kept.has_value()) << run;
    EXPECT_NE(kept->find(L"1 S "), std::wstring::npos) << Narrow(*kept);
    PostMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
    ASSERT_EQ(show.WaitExit(5s), 0u) << run;
  }
  EXPECT_EQ(registry::Read(L"ImageRegFolderOrderFlag"), L"2");
}

TEST_F(FolderShow, FolderThatVanishesDuringTheShowDoesNotStopIt) {
  const std::wstring folder = NewFolder(L"vanishing");
  Put(folder, L"a.png", test::kRed);
  Put(folder, L"b.png", test::kGreen);
  RegisterPicture(1, 1, folder);
  registry::Write(L"ImageRegFolderOrderFlag", L"1");
  RegisterPicture(1, 2, WriteTestFile(L"beside-the-folder.bmp", PictureOf(L".bmp", test::kBlue)));
  Module show(L"/s");
  ASSERT_NE(show.WaitWindow(L"No1Form", kStart), nullptr);
  ASSERT_EQ(Watch(ScreenCentre, 2, 15s), (std::vector<std::string>{"red", "blue"}));
  ASSERT_TRUE(MoveFileW(folder.c_str(), (folder + L"-gone").c_str()));
  // The file slot goes on; the folder slot may still show the picture it had ready, then none.
  const std::vector<std::string> after = Watch(ScreenCentre, 4, 20s);
  ASSERT_EQ(after.size(), 4u) << "the show stopped showing pictures";
  EXPECT_LE(std::count(after.begin(), after.end(), "green"), 1);
  EXPECT_EQ(std::count(after.begin(), after.end(), "red"), 0);
  EXPECT_GE(std::count(after.begin(), after.end(), "blue"), 3);
  EXPECT_TRUE(show.Running());
  for (HWND h : show.TopWindows()) EXPECT_EQ(WindowText(h), L"No1Form") << "an error window appeared";
  MoveFileW((folder + L"-gone").c_str(), (folder + L"-done").c_str());
}

TEST_F(FolderShow, PictureWindowShowsTheFolderNextPictureAtEachNewWindow) {
  const std::wstring folder = NewFolder(L"windows");
  Put(folder, L"a.png", test::kRed);
  Put(folder, L"b.gif", test::kGreen);
  Put(folder, L"c.jpg", test::kBlue);
  RegisterPicture(1, 1, folder);
  registry::Write(L"ImageRegFolderOrderFlag", L"1");
  registry::Write(L"ScrActionRegSelectNoFlag", L"2");
  // Window 1 from the bottom-left corner, as fast as the timer goes, a 350-pixel square: it runs
  // off the top and comes back with the next picture every couple of seconds.
  registry::Write(L"ScrNo2ActionRegSelectNo1FlagDetail", L"3");
  registry::Write(L"ScrActionRegSelectTimerNo2FormNo1Flag", L"1");
  registry::Write(L"ScrActionRegSelectScaleNo2FormNo1Flag", L"100");
  Module show(L"/s");
  ASSERT_NE(show.WaitWindow(L"No1Form", kStart), nullptr);
  auto window_centre = [&]() -> std::optional<POINT> {
    for (HWND h : show.TopWindows())
      if (WindowText(h) == L"No2FormNo1") {
        const RECT r = WindowRectOf(h);
        return POINT{(r.left + r.right) / 2, std::max(0L, (r.top + r.bottom) / 2)};
      }
    return std::nullopt;
  };
  EXPECT_EQ(Watch(window_centre, 4, 40s), (std::vector<std::string>{"red", "green", "blue", "red"}));
  EXPECT_TRUE(show.Running());
}

}  // namespace
}  // namespace tessmoor::e2e
