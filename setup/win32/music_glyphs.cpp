#include "setup/win32/music_glyphs.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tessmoor::win32 {
namespace {


// Never part of a glyph: marks the pixels the icon leaves transparent.
constexpr COLORREF kKey = RGB(255, 0, 255);

// Draws on a 16 x 16 design grid scaled to the bitmap's side.
class GlyphPen {
 public:
  GlyphPen(HDC dc, int side) : dc_(dc), side_(side) {}

  void Polygon(const std::array<POINT, 4>& design, COLORREF colour) const {
    std::array<POINT, 4> points{};
    for (std::size_t i = 0; i < design.size(); ++i) points[i] = At(design[i].x, design[i].y);
    UniqueBrush brush(CreateSolidBrush(colour));
    UniquePen pen(CreatePen(PS_SOLID, 1, colour));
    SelectScope b(dc_, brush.get());
    SelectScope p(dc_, pen.get());
    ::Polygon(dc_, points.data(), static_cast<int>(points.size()));
  }

  // The right half of the ellipse in the design box (left, top, right, bottom).
  void RightArc(int left, int top, int right, int bottom, COLORREF colour) const {
    UniquePen pen(CreatePen(PS_SOLID, Width(1), colour));
    SelectScope p(dc_, pen.get());
    const POINT a = At(left, top), b = At(right, bottom);
    const int mid_x = (a.x + b.x) / 2;
    Arc(dc_, a.x, a.y, b.x, b.y, mid_x, b.y, mid_x, a.y);
  }

  void Line(int x0, int y0, int x1, int y1, int width, COLORREF colour) const {
    UniquePen pen(CreatePen(PS_SOLID, Width(width), colour));
    SelectScope p(dc_, pen.get());
    const POINT a = At(x0, y0), b = At(x1, y1);
    MoveToEx(dc_, a.x, a.y, nullptr);
    LineTo(dc_, b.x, b.y);
  }

 private:
  POINT At(int x, int y) const { return {x * side_ / 16, y * side_ / 16}; }
  int Width(int design) const { return design * side_ / 16 > 0 ? design * side_ / 16 : 1; }

  HDC dc_;
  int side_;
};

void Draw(HDC dc, LoudspeakerGlyph glyph, int side) {
  const GlyphPen pen(dc, side);
  pen.Polygon({POINT{1, 6}, POINT{5, 6}, POINT{5, 10}, POINT{1, 10}}, RGB(32, 32, 40));
  pen.Polygon({POINT{5, 6}, POINT{9, 2}, POINT{9, 14}, POINT{5, 10}}, RGB(72, 72, 88));
  if (glyph == LoudspeakerGlyph::kPlay) {
    pen.RightArc(6, 5, 12, 11, RGB(0, 96, 192));
    pen.RightArc(6, 2, 15, 14, RGB(0, 96, 192));
  } else {
    pen.Line(2, 2, 14, 14, 2, RGB(224, 0, 0));
    pen.Line(14, 2, 2, 14, 2, RGB(224, 0, 0));
  }
}

}  // namespace

UniqueIcon DrawLoudspeakerGlyph(LoudspeakerGlyph glyph, int side) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = side;
  info.bmiHeader.biHeight = -side;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  UniqueBitmap colour(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  if (!colour || !dc || !bits) return {};
  {
    SelectScope into(dc.get(), colour.get());
    UniqueBrush key(CreateSolidBrush(kKey));
    const RECT all{0, 0, side, side};
    FillRect(dc.get(), &all, key.get());
    Draw(dc.get(), glyph, side);
    GdiFlush();
  }

  // The mask: 1 where the key colour shows, whose colour pixels become black so that the
  // background is left as it is; rows of whole 16-bit words.
  const int stride = ((side + 15) / 16) * 2;
  std::vector<std::uint8_t> mask(static_cast<std::size_t>(stride) * side, 0);
  auto* pixels = static_cast<std::uint32_t*>(bits);
  const std::uint32_t key_pixel = (GetRValue(kKey) << 16) | (GetGValue(kKey) << 8) | GetBValue(kKey);
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      std::uint32_t& p = pixels[static_cast<std::size_t>(y) * side + x];
      if ((p & 0xFFFFFF) == key_pixel) {
        p = 0;
        mask[static_cast<std::size_t>(y) * stride + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
      }
    }
  }
  UniqueBitmap mono(CreateBitmap(side, side, 1, 1, mask.data()));
  if (!mono) return {};
  ICONINFO icon{};
  icon.fIcon = TRUE;
  icon.hbmMask = mono.get();
  icon.hbmColor = colour.get();
  // The icon keeps copies of both bitmaps.
  return UniqueIcon(CreateIconIndirect(&icon));
}

}  // namespace tessmoor::win32
