// Reading the screen: pixels, screenshots, and what is drawn where.
#include "tests/e2e/harness.h"

#include <cstdio>
#include <stdexcept>

namespace tessmoor::e2e {
bool Near(std::uint32_t pixel, std::uint32_t rgb, int tolerance) {
  for (int shift : {0, 8, 16}) {
    const int a = static_cast<int>((pixel >> shift) & 0xFF);
    const int b = static_cast<int>((rgb >> shift) & 0xFF);
    if (a - b > tolerance || b - a > tolerance) return false;
  }
  return true;
}

bool WaitForPixel(int x, int y, std::uint32_t rgb, int tolerance, std::chrono::milliseconds timeout) {
  return WaitUntil(
      [&] {
        HDC screen = GetDC(nullptr);
        const COLORREF c = GetPixel(screen, x, y);
        ReleaseDC(nullptr, screen);
        // COLORREF is 0x00BBGGRR.
        const std::uint32_t pixel = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
        return Near(pixel, rgb, tolerance);
      },
      timeout);
}


Screenshot CaptureScreenArea(int left, int top, int width, int height) {
  Screenshot shot;
  shot.width = width;
  shot.height = height;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = shot.width;
  info.bmiHeader.biHeight = -shot.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, shot.width, shot.height, screen, left, top, SRCCOPY);
  GdiFlush();
  shot.pixels.assign(static_cast<std::uint32_t*>(bits),
                     static_cast<std::uint32_t*>(bits) + static_cast<std::size_t>(shot.width) * shot.height);
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return shot;
}

Screenshot CaptureScreen() {
  return CaptureScreenArea(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

void Screenshot::Save(const std::wstring& name) const {
  if (GetOptions().artifacts.empty()) return;
  CreateDirectoryW(GetOptions().artifacts.c_str(), nullptr);
  const std::wstring path = GetOptions().artifacts + L"\\" + name + L".bmp";
  FILE* f = _wfopen(path.c_str(), L"wb");
  if (!f) return;
  const int stride = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER fh{};
  BITMAPINFOHEADER ih{};
  ih.biSize = sizeof(ih);
  ih.biWidth = width;
  ih.biHeight = -height;
  ih.biPlanes = 1;
  ih.biBitCount = 24;
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof(fh) + sizeof(ih);
  fh.bfSize = fh.bfOffBits + static_cast<DWORD>(stride) * height;
  fwrite(&fh, sizeof(fh), 1, f);
  fwrite(&ih, sizeof(ih), 1, f);
  std::vector<unsigned char> row(static_cast<std::size_t>(stride), 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
      row[x * 3] = p & 0xFF;
      row[x * 3 + 1] = (p >> 8) & 0xFF;
      row[x * 3 + 2] = (p >> 16) & 0xFF;
    }
    fwrite(row.data(), 1, row.size(), f);
  }
  fclose(f);
}


Screenshot Crop(const Screenshot& shot, const RECT& area) {
  const int left = area.left > 0 ? area.left : 0, top = area.top > 0 ? area.top : 0;
  const int right = area.right < shot.width ? area.right : shot.width;
  const int bottom = area.bottom < shot.height ? area.bottom : shot.height;
  Screenshot part;
  part.width = right > left ? right - left : 0;
  part.height = bottom > top ? bottom - top : 0;
  part.pixels.reserve(static_cast<std::size_t>(part.width) * part.height);
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) part.pixels.push_back(shot.pixels[static_cast<std::size_t>(y) * shot.width + x]);
  return part;
}

int DistinctGlyphCells(const Screenshot& shot, const RECT& area, InkBackground background) {
  const Screenshot part = Crop(shot, area);
  if (part.width == 0 || part.height == 0) return 0;
  std::map<std::uint32_t, int> counts;
  for (std::uint32_t p : part.pixels) ++counts[p & 0xFFFFFF];
  std::uint32_t face = 0;
  int most = 0;
  for (auto [colour, n] : counts) {
    if (n > most) {
      face = colour;
      most = n;
    }
  }

  using Column = std::vector<bool>;
  std::vector<std::vector<Column>> cells;  // the different ones
  std::vector<Column> cell;
  for (int x = 0; x <= part.width; ++x) {
    Column column(static_cast<std::size_t>(part.height), false);
    bool ink = false;
    if (x < part.width) {
      const std::uint32_t back = background == InkBackground::kTopRowOfColumn ? part.At(x, 0) : face;
      for (int y = 0; y < part.height; ++y) {
        column[y] = !Near(part.At(x, y), back, 96);
        if (column[y]) ink = true;
      }
    }
    if (ink) {
      cell.push_back(std::move(column));
    } else if (!cell.empty()) {
      bool seen = false;
      for (const auto& c : cells) seen = seen || c == cell;
      if (!seen) cells.push_back(cell);
      cell.clear();
    }
  }
  return static_cast<int>(cells.size());
}

namespace {
std::uint32_t FaceColour() {
  const COLORREF f = GetSysColor(COLOR_BTNFACE);
  return (static_cast<std::uint32_t>(GetRValue(f)) << 16) | (GetGValue(f) << 8) | GetBValue(f);
}
}  // namespace

Ink InkOf(const Screenshot& shot) {
  Ink ink{shot.width, shot.height, std::vector<bool>(shot.pixels.size()), 0};
  const std::uint32_t face = FaceColour();
  for (int y = 0; y < shot.height; ++y) {
    for (int x = 0; x < shot.width; ++x) {
      if (Near(shot.At(x, y), face, 96)) continue;
      ink.mask[static_cast<std::size_t>(y) * shot.width + x] = true;
      ++ink.count;
    }
  }
  return ink;
}

Screenshot RenderCaption(const std::wstring& text, int pixels, bool bold, bool italic) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  const int height = MulDiv(pixels, GetDeviceCaps(screen, LOGPIXELSY), 96);
  LOGFONTW lf{};
  lf.lfHeight = -height;
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = italic ? TRUE : FALSE;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  lstrcpynW(lf.lfFaceName, L"ＭＳ Ｐゴシック", LF_FACESIZE);
  HFONT font = CreateFontIndirectW(&lf);
  HGDIOBJ old_font = SelectObject(dc, font);
  RECT size{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), -1, &size, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
  // Italic glyphs lean out of their advance width.
  if (italic) size.right += height / 3;
  Screenshot out;
  out.width = size.right;
  out.height = size.bottom;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), out.width, -out.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dib) {
    HGDIOBJ old_bitmap = SelectObject(dc, dib);
    HBRUSH face = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    FillRect(dc, &size, face);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    DrawTextW(dc, text.c_str(), -1, &size, DT_LEFT | DT_NOPREFIX | DT_SINGLELINE);
    GdiFlush();
    out.pixels.assign(static_cast<std::uint32_t*>(bits),
                      static_cast<std::uint32_t*>(bits) + static_cast<std::size_t>(out.width) * out.height);
    SelectObject(dc, old_bitmap);
    DeleteObject(face);
    DeleteObject(dib);
  } else {
    out.width = out.height = 0;
  }
  SelectObject(dc, old_font);
  DeleteObject(font);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return out;
}

int BestMismatch(const Ink& screen, const RECT& area, const Ink& text) {
  constexpr int kSlack = 4;
  int best = text.width * text.height;
  const int x_end = (area.right - text.width > area.left ? area.right - text.width : area.left) + kSlack;
  const int y_end = (area.bottom - text.height > area.top ? area.bottom - text.height : area.top) + kSlack;
  for (int oy = area.top - kSlack; oy <= y_end; ++oy) {
    for (int ox = area.left - kSlack; ox <= x_end; ++ox) {
      int n = 0;
      for (int y = 0; y < text.height && n < best; ++y) {
        for (int x = 0; x < text.width; ++x) {
          const int sx = ox + x, sy = oy + y;
          const bool seen = sx >= 0 && sy >= 0 && sx < screen.width && sy < screen.height && screen.At(sx, sy);
          if (seen != text.At(x, y)) ++n;
        }
      }
      if (n < best) best = n;
    }
  }
  return best;
}


}  // namespace tessmoor::e2e
