#pragma once
#include <windows.h>

#include <utility>

namespace tessmoor::win32 {

// One move-only owner per handle kind; the kind's cleanup call is part of its type, so a memory
// DC can never be released with ReleaseDC nor a bitmap with CloseHandle. A kind's traits name its handle type, its cleanup call and, where the API does not use a null
// handle for "none" (CreateFile, FindFirstFile), its invalid value.
template <typename H>
struct NullInvalid {
  using Handle = H;
  static constexpr Handle Invalid() { return Handle{}; }
};

template <typename Traits>
class Unique {
 public:
  using Handle = typename Traits::Handle;
  Unique() = default;
  explicit Unique(Handle h) : h_(h) {}
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  Unique(Unique&& other) noexcept : h_(std::exchange(other.h_, Traits::Invalid())) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) reset(std::exchange(other.h_, Traits::Invalid()));
    return *this;
  }
  ~Unique() { reset(); }

  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != Traits::Invalid(); }
  Handle release() { return std::exchange(h_, Traits::Invalid()); }
  void reset(Handle h = Traits::Invalid()) {
    if (h_ != Traits::Invalid()) Traits::Close(h_);
    h_ = h;
  }

 private:
  Handle h_ = Traits::Invalid();
};

struct KernelHandleTraits : NullInvalid<HANDLE> {
  static void Close(HANDLE h) { CloseHandle(h); }
};
struct MemoryDcTraits : NullInvalid<HDC> {
  static void Close(HDC h) { DeleteDC(h); }
};
struct BitmapTraits : NullInvalid<HBITMAP> {
  static void Close(HBITMAP h) { DeleteObject(h); }
};
struct BrushTraits : NullInvalid<HBRUSH> {
  static void Close(HBRUSH h) { DeleteObject(h); }
};
struct FontTraits : NullInvalid<HFONT> {
  static void Close(HFONT h) { DeleteObject(h); }
};
struct RegKeyTraits : NullInvalid<HKEY> {
  static void Close(HKEY h) { RegCloseKey(h); }
};
struct IconTraits : NullInvalid<HICON> {
  static void Close(HICON h) { DestroyIcon(h); }
};

// Files and find handles say "none" with INVALID_HANDLE_VALUE, not null.
struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { CloseHandle(h); }
};
struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { FindClose(h); }
};
struct PenTraits : NullInvalid<HPEN> {
  static void Close(HPEN h) { DeleteObject(h); }
};
struct CursorTraits : NullInvalid<HCURSOR> {
  static void Close(HCURSOR h) { DestroyCursor(h); }
};

using UniqueHandle = Unique<KernelHandleTraits>;
using UniqueFile = Unique<FileHandleTraits>;
using UniqueFind = Unique<FindHandleTraits>;
using UniquePen = Unique<PenTraits>;
using UniqueCursor = Unique<CursorTraits>;
using UniqueMemoryDc = Unique<MemoryDcTraits>;
using UniqueBitmap = Unique<BitmapTraits>;
using UniqueBrush = Unique<BrushTraits>;
using UniqueFont = Unique<FontTraits>;
using UniqueRegKey = Unique<RegKeyTraits>;
using UniqueIcon = Unique<IconTraits>;

// A window's DC, borrowed for one scope.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// BeginPaint/EndPaint for one WM_PAINT.
class PaintScope {
 public:
  explicit PaintScope(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd_, &ps_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  ~PaintScope() { EndPaint(hwnd_, &ps_); }
  HDC get() const { return dc_; }
  const RECT& area() const { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// An object selected into a DC for one scope; the previous one is put back.
class SelectScope {
 public:
  SelectScope(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  SelectScope(const SelectScope&) = delete;
  SelectScope& operator=(const SelectScope&) = delete;
  ~SelectScope() { SelectObject(dc_, old_); }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace tessmoor::win32
