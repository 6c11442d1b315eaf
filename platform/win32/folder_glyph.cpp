#include "platform/win32/folder_glyph.h"

#include "platform/win32/handles.h"

namespace tessmoor::win32 {

void DrawFolderGlyph(HDC dc, int left, int top, DpiScale s, bool open) {
  UniquePen outline(CreatePen(PS_SOLID, 1, RGB(128, 96, 0)));
  UniqueBrush back(CreateSolidBrush(RGB(240, 200, 80)));
  UniqueBrush front(CreateSolidBrush(RGB(255, 232, 140)));
  SelectScope pen(dc, outline.get());
  {
    SelectScope brush(dc, back.get());
    Rectangle(dc, left, top + s(1), left + s(6), top + s(4));
    Rectangle(dc, left, top + s(3), left + s(14), top + s(12));
  }
  if (!open) return;
  SelectScope brush(dc, front.get());
  const POINT flap[] = {{left + s(3), top + s(6)}, {left + s(16), top + s(6)}, {left + s(13), top + s(11)},
                        {left, top + s(11)}};
  Polygon(dc, flap, 4);
}

}  // namespace tessmoor::win32
