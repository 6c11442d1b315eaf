#pragma once
#include <windows.h>
#include <objbase.h>
#include <propidl.h>
#include <mmsystem.h>

#include <utility>

namespace tessmoor::win32 {

// One move-only owner per handle kind; the kind's cleanup call is part of its type, so a memory
// DC can never be released with ReleaseDC nor a bitmap with CloseHandle. A kind's traits name its
// handle type, its cleanup call and, where the API does not use a null handle for "none"
// (CreateFile, FindFirstFile), its invalid value. This file is the only place in the product
// that calls a cleanup function: tools/check-cleanup-calls.sh fails the test run otherwise.
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

// The traits of a handle kind whose "none" is the null handle and whose cleanup is `close`.
template <typename H, auto close>
struct Closer : NullInvalid<H> {
  static void Close(H h) { close(h); }
};

inline void CloseMciDevice(MCIDEVICEID id) {
  MCI_GENERIC_PARMS close{};
  mciSendCommandW(id, MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&close));
}

// Files and find handles say "none" with INVALID_HANDLE_VALUE, not null.
template <auto close>
struct InvalidValueCloser {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { close(h); }
};

using UniqueHandle = Unique<Closer<HANDLE, &CloseHandle>>;
using UniqueFile = Unique<InvalidValueCloser<&CloseHandle>>;
using UniqueFind = Unique<InvalidValueCloser<&FindClose>>;
using UniqueMemoryDc = Unique<Closer<HDC, &DeleteDC>>;
using UniqueBitmap = Unique<Closer<HBITMAP, &DeleteObject>>;
using UniqueBrush = Unique<Closer<HBRUSH, &DeleteObject>>;
using UniqueFont = Unique<Closer<HFONT, &DeleteObject>>;
using UniquePen = Unique<Closer<HPEN, &DeleteObject>>;
using UniqueRegKey = Unique<Closer<HKEY, &RegCloseKey>>;
using UniqueIcon = Unique<Closer<HICON, &DestroyIcon>>;
using UniqueCursor = Unique<Closer<HCURSOR, &DestroyCursor>>;
using UniqueMenu = Unique<Closer<HMENU, &DestroyMenu>>;
// A window this process made. Window (window.h) keeps its handle in one and lets go of it when
// the system destroys the window for another reason (its parent or owner went).
using UniqueWindow = Unique<Closer<HWND, &DestroyWindow>>;
// Memory the system allocated with LocalAlloc for the caller (CommandLineToArgvW's list).
template <typename P>
void FreeLocal(P p) {
  LocalFree(p);
}
template <typename P>
using UniqueLocal = Unique<Closer<P, &FreeLocal<P>>>;
// An open MCI device; closing waits for the device to stop.
using MciDevice = Unique<Closer<MCIDEVICEID, &CloseMciDevice>>;

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

// COM: the apartment of a thread, interface references and property values, each given back by
// its owner like the handles above.

// COM on the calling thread for the owner's life. It asks for the multithreaded apartment; a thread
// already in a single-threaded one (a dialog's thread that uses drag and drop) keeps it, and the
// owner then leaves it alone on destruction. Either way COM is usable while the owner lives when
// ok() is true. Threads that make many COM calls hold one for their whole life: set-up and the
// loading of the in-process servers then happen once, not at every call.
class ComApartment {
 public:
  ComApartment() {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    owns_ = SUCCEEDED(hr);  // S_FALSE too: already initialised, but counted again
    ok_ = owns_ || hr == RPC_E_CHANGED_MODE;
  }
  ComApartment(ComApartment&& other) noexcept
      : owns_(std::exchange(other.owns_, false)), ok_(std::exchange(other.ok_, false)) {}
  ComApartment& operator=(ComApartment&&) = delete;
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (owns_) CoUninitialize();
  }
  bool ok() const { return ok_; }

 private:
  bool owns_ = false;
  bool ok_ = false;
};

// One reference to a COM interface.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      reset();
      p_ = std::exchange(other.p_, nullptr);
    }
    return *this;
  }
  ~ComPtr() { reset(); }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  T& operator*() const { return *p_; }
  explicit operator bool() const { return p_ != nullptr; }
  void reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }
  // For an out parameter: lets go of the current reference and takes the one the call returns.
  T** put() {
    reset();
    return &p_;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }

  // Another interface of the same object (empty when the object has none).
  template <typename U>
  ComPtr<U> As(REFIID iid) const {
    ComPtr<U> other;
    if (p_) p_->QueryInterface(iid, other.put_void());
    return other;
  }

 private:
  T* p_ = nullptr;
};

// A PROPVARIANT that is cleared when it goes.
class PropVariant {
 public:
  PropVariant() { PropVariantInit(&value_); }
  PropVariant(const PropVariant&) = delete;
  PropVariant& operator=(const PropVariant&) = delete;
  ~PropVariant() { PropVariantClear(&value_); }
  PROPVARIANT* get() { return &value_; }
  const PROPVARIANT& operator*() const { return value_; }

 private:
  PROPVARIANT value_;
};

}  // namespace tessmoor::win32
