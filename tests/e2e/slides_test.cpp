// The pattern-1 slide show in the real module: pictures registered by the test appear in the
// rectangles the show computes, on a 1024 x 768 screen.
#include <gtest/gtest.h>

#include "tests/e2e/harness.h"
#include "tests/support/picture_files.h"

namespace tessmoor::e2e {
namespace {

using namespace std::chrono_literals;
using test::Rgb;

constexpr auto kStart = 15s;
constexpr std::uint32_t kRedRgb = 0xFF0000, kGreenRgb = 0x00FF00, kBlueRgb = 0x0000FF, kYellowRgb = 0xFFFF00;
constexpr int kTolerance = 48;  // JPEG and the halftone filter blur colour edges a little

// A 1600 x 1200 picture in four coloured quadrants: red, green / blue, yellow.
std::vector<std::uint8_t> QuadrantJpeg() {
  return test::MakeJpeg(1600, 1200, test::Quadrants(1600, 1200, test::kRed, test::kGreen, test::kBlue, test::kYellow), 92);
}

struct Box {
  int left, top, right, bottom;
};

// Checks the quadrant colours inside `r` (sampled well inside each quadrant) and black just outside.
void ExpectQuadrantPicture(const Screenshot& shot, Box r, const char* what) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  struct Probe {
    int x, y;
    std::uint32_t rgb;
  };
  const Probe inside[] = {{r.left + w / 4, r.top + h / 4, kRedRgb},
                          {r.left + 3 * w / 4, r.top + h / 4, kGreenRgb},
                          {r.left + w / 4, r.top + 3 * h / 4, kBlueRgb},
                          {r.left + 3 * w / 4, r.top + 3 * h / 4, kYellowRgb},
                          {r.left + 2, r.top + 2, kRedRgb},
                          {r.right - 3, r.bottom - 3, kYellowRgb}};
  for (const Probe& p : inside)
    EXPECT_TRUE(Near(shot.At(p.x, p.y), p.rgb, kTolerance))
        << what << ": pixel " << p.x << "," << p.y << " is " << std::hex << shot.At(p.x, p.y);
  const Probe outside[] = {{r.left - 2, r.top + h / 2, 0}, {r.right + 1, r.top + h / 2, 0},
                           {r.left + w / 2, r.top - 2, 0}, {r.left + w / 2, r.bottom + 1, 0}};
  for (const Probe& p : outside) {
    if (p.x < 0 || p.y < 0 || p.x >= shot.width || p.y >= shot.height) continue;
    EXPECT_TRUE(Near(shot.At(p.x, p.y), 0, 8))
        << what << ": pixel " << p.x << "," << p.y << " outside the picture is " << std::hex << shot.At(p.x, p.y);
  }
}

class SlideShow : public ::testing::Test {
 protected:
  void SetUp() override {
    registry::DeleteSettings();
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
  }
};

TEST_F(SlideShow, CentreModeDrawsTheFittedPictureInTheCentre) {
  RegisterPicture(1, 1, WriteTestFile(L"quad.jpg", QuadrantJpeg()));
  Module show(L"/s");
  ASSERT_NE(show.WaitWindow(L"No1Form", kStart), nullptr);
  // Scale 50 on 1024 x 768: fit side 350, the picture 350 x 262 at (337, 253).
  ASSERT_TRUE(WaitForPixel(337 + 87, 253 + 65, kRedRgb, kTolerance, 10s)) << "the picture never appeared";
  PumpFor(200ms);
  const Screenshot shot = CaptureScreen();
  shot.Save(L"slides-centre");
  ExpectQuadrantPicture(shot, {337, 253, 687, 515}, "centre");
  EXPECT_TRUE(show.Running());
}

TEST_F(SlideShow, AScaleStoredAsANumberShowsAtTheFirstRunScaleAndStaysANumber) {
  // 90 % would fit the picture into a square of 691 pixels.
  registry::WriteDword(L"ScrActionRegSelectNo1FlagScale", 90);
  RegisterPicture(1, 1, WriteTestFile(L"quad-dword.jpg", QuadrantJpeg()));
  Module show(L"/s");
  HWND window = show.WaitWindow(L"No1Form", kStart);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForPixel(337 + 87, 253 + 65, kRedRgb, kTolerance, 10s)) << "the picture never appeared";
  PumpFor(200ms);
  const Screenshot shot = CaptureScreen();
  ExpectQuadrantPicture(shot, {337, 253, 687, 515}, "the first-run scale 50");
  EXPECT_EQ(registry::ReadDword(L"ScrActionRegSelectNo1FlagScale"), DWORD{90});
  EXPECT_EQ(registry::Read(L"ScrActionRegSelectNo1FlagScale"), std::nullopt) << "a text took the number's place";
  PostMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(show.WaitExit(10s), 0u);
  EXPECT_EQ(registry::ReadDword(L"ScrActionRegSelectNo1FlagScale"), DWORD{90});
}

TEST_F(SlideShow, FiveDirectionModeAddsTheCornerCopiesInTurn) {
  registry::Write(L"ScrActionRegSelectNo1FlagDetail", L"4");
  registry::Write(L"ScrActionRegSelectNo1FlagTimer", L"500");
  RegisterPicture(1, 1, WriteTestFile(L"quad5.jpg", QuadrantJpeg()));
  Module show(L"/s");
  ASSERT_NE(show.WaitWindow(L"No1Form", kStart), nullptr);
  // Centre, then top left, top right, bottom right, bottom left, 500 ms apart.
  ASSERT_TRUE(WaitForPixel(674 + 262, 506 + 196, kYellowRgb, kTolerance, 10s)) << "bottom-right copy never drawn";
  const Screenshot shot = CaptureScreen();
  shot.Save(L"slides-five-directions");
  EXPECT_TRUE(Near(shot.At(87, 65), kRedRgb, kTolerance)) << "top-left copy";
  EXPECT_TRUE(Near(shot.At(674 + 262, 65), kGreenRgb, kTolerance)) << "top-right copy";
  EXPECT_TRUE(Near(shot.At(337 + 87, 253 + 65), kRedRgb, kTolerance)) << "centre copy";
  // Between the copies the screen stays black.
  EXPECT_TRUE(Near(shot.At(512, 100), 0, 8));
  EXPECT_TRUE(Near(shot.At(512, 650), 0, 8));
}

TEST_F(SlideShow, CorruptPictureAmongGoodOnesDoesNotStopTheShow) {
  std::vector<std::uint8_t> broken = QuadrantJpeg();
  broken.resize(200);  // header only, then nothing
  std::vector<std::uint8_t> garbage(5000, 0x5A);
  RegisterPicture(1, 1, WriteTestFile(L"broken.jpg", broken));
  RegisterPicture(1, 2, WriteTestFile(L"garbage.bmp", garbage));
  RegisterPicture(1, 3, WriteTestFile(L"good.jpg", QuadrantJpeg()));
  registry::Write(L"ScrActionRegSelectNo1FlagTimer", L"500");
  Module show(L"/s");
  ASSERT_NE(show.WaitWindow(L"No1Form", kStart), nullptr);
  EXPECT_TRUE(WaitForPixel(337 + 262, 253 + 196, kYellowRgb, kTolerance, 10s)) << "the good picture never appeared";
  EXPECT_TRUE(show.Running());
  for (HWND h : show.TopWindows()) EXPECT_EQ(WindowText(h), L"No1Form") << "an error window appeared";
}

TEST_F(SlideShow, InputDuringThePauseAfterSlotTwelveEndsTheShowAtOnce) {
  // Only slot 12 holds a picture; at 5000 ms it is followed by a pause of 5 s.
  registry::Write(L"ScrActionRegSelectNo1FlagTimer", L"5000");
  RegisterPicture(1, 12, WriteTestFile(L"last.jpg", QuadrantJpeg()));
  Module show(L"/s");
  HWND window = show.WaitWindow(L"No1Form", kStart);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForPixel(337 + 87, 253 + 65, kRedRgb, kTolerance, 10s));
  PumpFor(300ms);  // well inside the pause
  const auto pressed = std::chrono::steady_clock::now();
  PostMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(show.WaitExit(2s), 0u);
  EXPECT_LT(std::chrono::steady_clock::now() - pressed, 500ms);
}

}  // namespace
}  // namespace tessmoor::e2e
