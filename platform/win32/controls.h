#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/dialog_layout.h"
#include "platform/win32/handles.h"

// Thin wrappers over the common controls, in the manner of WTL: they borrow the HWND that the
// parent window owns (the parent's destruction destroys them) and each method is one message.
namespace tessmoor::win32 {

// Layouts are given at 96 DPI and scaled by the window's DPI.
class DpiScale {
 public:
  explicit DpiScale(int dpi = 96) : dpi_(dpi > 0 ? dpi : 96) {}
  static DpiScale ForWindow(HWND hwnd);
  static DpiScale ForSystem();
  int dpi() const { return dpi_; }
  int operator()(int value) const { return ScaleToDpi(value, dpi_); }
  RECT operator()(const RECT& r) const { return {(*this)(r.left), (*this)(r.top), (*this)(r.right), (*this)(r.bottom)}; }

 private:
  int dpi_;
};

// The dialogs' font: "ＭＳ Ｐゴシック" where the system has it, otherwise the first present of
// the Japanese UI fonts, so that no caption is drawn as boxes. `pixels` is the height at 96 DPI.
UniqueFont MakeUiFont(int pixels, DpiScale scale, bool bold = false, bool italic = false);
std::wstring UiFontFace();
bool FontFamilyExists(const std::wstring& face);

// A borrowed control handle with the messages every control understands.
class Control {
 public:
  Control() = default;
  explicit Control(HWND hwnd) : hwnd_(hwnd) {}
  HWND hwnd() const { return hwnd_; }
  int id() const { return GetDlgCtrlID(hwnd_); }
  void SetText(std::wstring_view text) const;
  std::wstring Text() const;
  void Enable(bool on) const { EnableWindow(hwnd_, on ? TRUE : FALSE); }
  bool Enabled() const { return IsWindowEnabled(hwnd_) != FALSE; }
  void Show(bool on) const { ShowWindow(hwnd_, on ? SW_SHOWNA : SW_HIDE); }
  // Bounds in the parent's client coordinates, in pixels.
  RECT Bounds() const;
  void Move(int left, int top, int width, int height) const;
  void Resize(int width, int height) const;

 protected:
  HWND hwnd_ = nullptr;
};

class Button : public Control {
 public:
  using Control::Control;
  // Radio buttons and check boxes.
  bool Checked() const { return SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void SetChecked(bool on) const { SendMessageW(hwnd_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }
  void SetBitmap(HBITMAP bitmap) const { SendMessageW(hwnd_, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)); }
};

class ScrollBar : public Control {
 public:
  using Control::Control;
  void SetRange(int min, int max) const;
  int Position() const;
  void SetPosition(int position) const;
};

class TabControl : public Control {
 public:
  using Control::Control;
  void AddTab(std::wstring_view caption) const;
  int Selected() const { return static_cast<int>(SendMessageW(hwnd_, TCM_GETCURSEL, 0, 0)); }
  void Select(int index) const { SendMessageW(hwnd_, TCM_SETCURSEL, index, 0); }
};

// The messages of a list of text items: a list box's or a combo box's.
struct ListBoxMessages {
  static constexpr UINT kClear = LB_RESETCONTENT, kAdd = LB_ADDSTRING, kSelected = LB_GETCURSEL,
                        kSelect = LB_SETCURSEL, kTextLength = LB_GETTEXTLEN, kText = LB_GETTEXT;
  static constexpr LRESULT kError = LB_ERR;
};
struct ComboBoxMessages {
  static constexpr UINT kClear = CB_RESETCONTENT, kAdd = CB_ADDSTRING, kSelected = CB_GETCURSEL,
                        kSelect = CB_SETCURSEL, kTextLength = CB_GETLBTEXTLEN, kText = CB_GETLBTEXT;
  static constexpr LRESULT kError = CB_ERR;
};

template <class Messages>
class ItemList : public Control {
 public:
  using Control::Control;
  void Clear() const { SendMessageW(hwnd_, Messages::kClear, 0, 0); }
  int Add(std::wstring_view item) const {
    const std::wstring s(item);
    return static_cast<int>(SendMessageW(hwnd_, Messages::kAdd, 0, reinterpret_cast<LPARAM>(s.c_str())));
  }
  int Selected() const { return static_cast<int>(SendMessageW(hwnd_, Messages::kSelected, 0, 0)); }
  void Select(int index) const { SendMessageW(hwnd_, Messages::kSelect, index, 0); }
  // The text of item `index`; empty for an index the list does not have.
  std::wstring Item(int index) const {
    const LRESULT n = SendMessageW(hwnd_, Messages::kTextLength, index, 0);
    if (n == Messages::kError) return {};
    std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
    SendMessageW(hwnd_, Messages::kText, index, reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<std::size_t>(n));
    return s;
  }
};

class ListBox : public ItemList<ListBoxMessages> {
 public:
  using ItemList::ItemList;
  int Count() const { return static_cast<int>(SendMessageW(hwnd_, LB_GETCOUNT, 0, 0)); }
  // The item under a point in the list's client coordinates, or -1.
  int ItemAt(POINT client) const;
};

using ComboBox = ItemList<ComboBoxMessages>;

// Registers the common controls the dialogs use (tabs, standard classes) once per process.
void InitCommonControlsOnce();

}  // namespace tessmoor::win32
