#pragma once
#include <objbase.h>
#include <propidl.h>

#include <utility>

// Owners for COM, in the manner of handles.h: one move-only type per kind of thing to give back,
// the call that gives it back part of the type, so that no Release or CoUninitialize is written
// anywhere else.
namespace tessmoor::win32 {

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
