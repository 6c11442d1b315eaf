#include "setup/version_dialog_model.h"


#include "platform/text.h"

namespace tessmoor {

namespace {

using K = ControlKind;
using R = VersionRole;

struct Bgr {
  std::uint8_t b, g, r;
};

void Put(Picture& p, int x, int y, Bgr c) {
  if (x < 0 || y < 0 || x >= p.width || y >= p.height) return;
  std::uint8_t* px = p.pixels.data() + static_cast<std::size_t>(y) * p.stride() + static_cast<std::size_t>(x) * 3;
  px[0] = c.b;
  px[1] = c.g;
  px[2] = c.r;
}

std::uint8_t Mix(int a, int b, int num, int den) { return static_cast<std::uint8_t>(a + (b - a) * num / den); }

}  // namespace

const FormDesign& VersionDialogForm() {
  static const FormDesign form{"TForm4", "バージョン&ヘルプ", 310, 115, 279, 258, TitleButtons::kNormal, true};
  return form;
}

const std::vector<ControlDesign<VersionRole>>& VersionDialogControls() {
  static const std::vector<ControlDesign<VersionRole>> controls = {
      {"StaticText1", K::kStaticText, R::kTitle, 0, 0, "", 16, 8, 270, 19, kProductTitle, 0, {},
       FontDesign{kDialogFont.face, 15, true, true}},
      {"Image1", K::kPicture, R::kPicture, 0, 0, "", 16, 32, 150, 30},
      {"HelpButton", K::kButton, R::kHelpButton, 0, 0, "", 184, 32, 49, 25, "ヘルプ"},
      {"VerCloseButton", K::kButton, R::kCloseButton, 0, 0, "", 248, 32, 49, 25, "閉じる"},
  };
  return controls;
}

// A dusk sky with a row of five framed pictures in the colours of the pattern-2 preview panels.
Picture VersionArtwork() {
  Picture p;
  p.width = p.source_width = 150;
  p.height = p.source_height = 30;
  p.pixels.assign(static_cast<std::size_t>(p.stride()) * p.height, 0);
  for (int y = 0; y < p.height; ++y) {
    const Bgr sky{Mix(0x49, 0x8c, y, p.height - 1), Mix(0x2a, 0x6b, y, p.height - 1), Mix(0x1b, 0x3d, y, p.height - 1)};
    for (int x = 0; x < p.width; ++x) Put(p, x, y, sky);
  }
  static constexpr Bgr kInks[5] = {{0, 0, 255}, {0, 255, 0}, {0, 255, 255}, {255, 0, 0}, {0, 140, 255}};
  for (int i = 0; i < 5; ++i) {
    const int left = 9 + i * 28;
    const int top = 4 + (i % 2) * 2;
    for (int y = 0; y < 20; ++y) {
      for (int x = 0; x < 22; ++x) {
        const bool frame = x < 2 || y < 2 || x >= 20 || y >= 18;
        Put(p, left + x, top + y, frame ? Bgr{0xf4, 0xf4, 0xf4} : kInks[i]);
      }
    }
  }
  return p;
}

std::string HelpFilePath(std::string_view module_path) {
  std::string path(FolderOf(module_path));
  path += kHelpFileName;
  return LowerCase(path);
}

ShellExecuteRequest HelpRequest(std::string_view module_path) {
  ShellExecuteRequest request;
  request.file = HelpFilePath(module_path);
  return request;
}

VersionDialogModel::VersionDialogModel(std::string module_path, VersionDialogView& view)
    : module_path_(std::move(module_path)), view_(view) {
  view_.MakeTopMostAndShow();
}

void VersionDialogModel::HelpButtonClick() { view_.ShellExecute(HelpRequest(module_path_)); }

void VersionDialogModel::VerCloseButtonClick() { view_.CloseWindow(); }

}  // namespace tessmoor
