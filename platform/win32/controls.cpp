#include "platform/win32/controls.h"

namespace tessmoor::win32 {

DpiScale DpiScale::ForSystem() {
  const WindowDc screen(nullptr);
  return DpiScale(GetDeviceCaps(screen.get(), LOGPIXELSY));
}

DpiScale DpiScale::ForWindow(HWND hwnd) {
  // GetDpiForWindow exists from Windows 10 1607 on; look it up so older systems still start.
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto get_dpi = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (get_dpi && hwnd) {
    const UINT dpi = get_dpi(hwnd);
    if (dpi > 0) return DpiScale(static_cast<int>(dpi));
  }
  return ForSystem();
}

namespace {
int CALLBACK FoundFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}
}  // namespace

bool FontFamilyExists(const std::wstring& face) {
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  face.copy(lf.lfFaceName, LF_FACESIZE - 1);
  bool found = false;
  const WindowDc screen(nullptr);
  EnumFontFamiliesExW(screen.get(), &lf, FoundFamily, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

std::wstring UiFontFace() {
  static const std::wstring face = [] {
    for (const wchar_t* candidate : {L"ＭＳ Ｐゴシック", L"MS PGothic", L"MS UI Gothic", L"Meiryo UI",
                                     L"Yu Gothic UI", L"Meiryo", L"IPAPGothic", L"Noto Sans CJK JP"})
      if (FontFamilyExists(candidate)) return std::wstring(candidate);
    return std::wstring(L"MS Shell Dlg 2");
  }();
  return face;
}

UniqueFont MakeUiFont(int pixels, DpiScale scale, bool bold, bool italic) {
  LOGFONTW lf{};
  lf.lfHeight = -scale(pixels);
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = italic ? TRUE : FALSE;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  const std::wstring face = UiFontFace();
  face.copy(lf.lfFaceName, LF_FACESIZE - 1);
  return UniqueFont(CreateFontIndirectW(&lf));
}

void Control::SetText(std::wstring_view text) const {
  const std::wstring s(text);
  SetWindowTextW(hwnd_, s.c_str());
}

std::wstring Control::Text() const {
  const int n = GetWindowTextLengthW(hwnd_);
  std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
  GetWindowTextW(hwnd_, s.data(), n + 1);
  s.resize(static_cast<std::size_t>(n));
  return s;
}

RECT Control::Bounds() const {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void Control::Move(int left, int top, int width, int height) const {
  SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Control::Resize(int width, int height) const {
  SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

void ScrollBar::SetRange(int min, int max) const {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE;
  si.nMin = min;
  si.nMax = max;
  SetScrollInfo(hwnd_, SB_CTL, &si, TRUE);
}

int ScrollBar::Position() const {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_POS;
  GetScrollInfo(hwnd_, SB_CTL, &si);
  return si.nPos;
}

void ScrollBar::SetPosition(int position) const {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_POS;
  si.nPos = position;
  SetScrollInfo(hwnd_, SB_CTL, &si, TRUE);
}

void TabControl::AddTab(std::wstring_view caption) const {
  std::wstring text(caption);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text.data();
  const int count = static_cast<int>(SendMessageW(hwnd_, TCM_GETITEMCOUNT, 0, 0));
  SendMessageW(hwnd_, TCM_INSERTITEMW, count, reinterpret_cast<LPARAM>(&item));
}

int ListBox::ItemAt(POINT client) const {
  const LRESULT r = SendMessageW(hwnd_, LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y));
  if (HIWORD(r) != 0) return -1;
  return LOWORD(r) < Count() ? LOWORD(r) : -1;
}

void InitCommonControlsOnce() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES;
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)done;
}

}  // namespace tessmoor::win32
