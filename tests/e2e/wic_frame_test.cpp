// The WIC decoder's handling of a frame, on a frame of our own that behaves as the codecs Wine
// lacks: one that scales at decode (IWICBitmapSourceTransform, as Windows' JPEG, HEIF and RAW
// codecs), one whose orientation is only known by its property name, one that fails half-way.
// The system's format converter and bitmaps are real.
#include <windows.h>
#include <wincodec.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "platform/image/decode.h"
#include "platform/image/exif.h"
#include "platform/image/resample.h"
#include "platform/win32/handles.h"
#include "platform/win32/wic_frame.h"
#include "tests/support/picture_compare.h"

namespace tessmoor {
namespace {

using test::ExpectSamePixels;
using test::PictureOf;
using test::PixelFn;
using test::Rgb;

// A 24-bit BGR frame drawn by a PixelFn. Lives on the stack: its reference count only counts.
class FakeFrame final : public IWICBitmapFrameDecode, public win32::wic::SourceTransform, public IWICMetadataQueryReader {
 public:
  FakeFrame(int width, int height, PixelFn pixels) : width_(width), height_(height), pixels_(std::move(pixels)) {}

  bool scales = false;           // offers the source transform
  bool scales_too_small = false; // and answers with a size below the one asked for
  int orientation = 0;           // 0: no orientation property
  int fail_at_row = -1;          // CopyPixels of a strip holding this row fails
  HRESULT failure = E_FAIL;
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  int full_copies = 0;
  int scaled_copies = 0;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IWICBitmapSource || iid == IID_IWICBitmapFrameDecode) {
      *out = static_cast<IWICBitmapFrameDecode*>(this);
    } else if (iid == win32::wic::kIidSourceTransform && scales) {
      *out = static_cast<win32::wic::SourceTransform*>(this);
    } else if (iid == IID_IWICMetadataQueryReader) {
      *out = static_cast<IWICMetadataQueryReader*>(this);
    } else {
      return E_NOINTERFACE;
    }
    ++refs_;
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }

  // IWICBitmapSource
  HRESULT STDMETHODCALLTYPE GetSize(UINT* w, UINT* h) override {
    *w = static_cast<UINT>(width_);
    *h = static_cast<UINT>(height_);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPixelFormat(WICPixelFormatGUID* f) override {
    *f = format;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetResolution(double* x, double* y) override {
    *x = *y = 96.0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE CopyPalette(IWICPalette*) override { return WINCODEC_ERR_PALETTEUNAVAILABLE; }
  HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT stride, UINT, BYTE* buffer) override {
    ++full_copies;
    const WICRect all{0, 0, width_, height_};
    const WICRect r = rect ? *rect : all;
    if (fail_at_row >= r.Y && fail_at_row < r.Y + r.Height) return failure;
    Fill(r, stride, buffer, [&](int x, int y) { return pixels_(x, y); });
    return S_OK;
  }

  // IWICBitmapFrameDecode
  HRESULT STDMETHODCALLTYPE GetMetadataQueryReader(IWICMetadataQueryReader** out) override {
    return QueryInterface(IID_IWICMetadataQueryReader, reinterpret_cast<void**>(out));
  }
  HRESULT STDMETHODCALLTYPE GetColorContexts(UINT, IWICColorContext**, UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetThumbnail(IWICBitmapSource**) override { return WINCODEC_ERR_CODECNOTHUMBNAIL; }

  // The source transform: the 1/2, 1/4 and 1/8 scales, by point sampling.
  HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect*, UINT w, UINT h, WICPixelFormatGUID* f, WICBitmapTransformOptions t,
                                       UINT stride, UINT, BYTE* buffer) override {
    ++scaled_copies;
    if (*f != GUID_WICPixelFormat24bppBGR || t != WICBitmapTransformRotate0) return E_INVALIDARG;
    Fill({0, 0, static_cast<INT>(w), static_cast<INT>(h)}, stride, buffer, Scaled(static_cast<int>(w), static_cast<int>(h)));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* w, UINT* h) override {
    for (int s : {8, 4, 2}) {
      if (width_ / s >= static_cast<int>(*w) && height_ / s >= static_cast<int>(*h)) {
        *w = static_cast<UINT>(width_ / s / (scales_too_small ? 2 : 1));
        *h = static_cast<UINT>(height_ / s / (scales_too_small ? 2 : 1));
        return S_OK;
      }
    }
    *w = static_cast<UINT>(width_);
    *h = static_cast<UINT>(height_);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* f) override {
    *f = GUID_WICPixelFormat24bppBGR;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions t, BOOL* supported) override {
    *supported = t == WICBitmapTransformRotate0;
    return S_OK;
  }

  // IWICMetadataQueryReader: only the property name, as Windows maps it for every format.
  HRESULT STDMETHODCALLTYPE GetContainerFormat(GUID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetLocation(UINT, WCHAR*, UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMetadataByName(LPCWSTR name, PROPVARIANT* value) override {
    if (orientation == 0 || std::wstring(name) != L"System.Photo.Orientation") return WINCODEC_ERR_PROPERTYNOTFOUND;
    value->vt = VT_UI2;
    value->uiVal = static_cast<USHORT>(orientation);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetEnumerator(IEnumString**) override { return E_NOTIMPL; }

  PixelFn Scaled(int w, int h) const {
    return [this, w, h](int x, int y) { return pixels_(x * width_ / w, y * height_ / h); };
  }

 private:
  static void Fill(const WICRect& r, UINT stride, BYTE* buffer, const PixelFn& pixels) {
    for (int y = 0; y < r.Height; ++y) {
      for (int x = 0; x < r.Width; ++x) {
        const Rgb c = pixels(r.X + x, r.Y + y);
        BYTE* px = buffer + static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x) * 3;
        px[0] = c.b;
        px[1] = c.g;
        px[2] = c.r;
      }
    }
  }

  int width_;
  int height_;
  PixelFn pixels_;
  ULONG refs_ = 1;
};

class WicFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(com_.ok());
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                           factory_.put_void())));
  }
  DecodeResult Decode(FakeFrame& frame, DecodeTarget target) {
    return win32::wic::DecodeFrame(*factory_, frame, std::nullopt, target);
  }

  win32::ComApartment com_;
  win32::ComPtr<IWICImagingFactory> factory_;
};

const PixelFn kPhoto = test::Gradient(4000, 3000);

TEST_F(WicFrame, LetsTheCodecScaleAndResamplesTheRest) {
  FakeFrame frame(4000, 3000, kPhoto);
  frame.scales = true;
  // 500 x 375 is exactly the 1/8 scale: nothing left to resample.
  const DecodeResult exact = Decode(frame, {500, 500});
  ASSERT_EQ(exact.status, DecodeStatus::kOk) << exact.message;
  ExpectSamePixels(exact.picture, PictureOf(500, 375, frame.Scaled(500, 375)));
  EXPECT_EQ(exact.picture.source_width, 4000);
  EXPECT_EQ(exact.picture.source_height, 3000);
  // 600 x 450 comes from the 1/4 scale, 1000 x 750, resampled.
  const DecodeResult between = Decode(frame, {600, 600});
  ASSERT_EQ(between.status, DecodeStatus::kOk) << between.message;
  ExpectSamePixels(between.picture, Resample(PictureOf(1000, 750, frame.Scaled(1000, 750)), 600, 450));
  EXPECT_EQ(frame.scaled_copies, 2);
  EXPECT_EQ(frame.full_copies, 0);
}

TEST_F(WicFrame, DecodesAtFullSizeWhenTheCodecCannotScaleToCoverTheTarget) {
  const PixelFn small = test::Gradient(400, 300);
  for (const bool offers : {false, true}) {
    FakeFrame frame(400, 300, small);
    frame.scales = offers;
    frame.scales_too_small = true;
    const DecodeResult r = Decode(frame, {100, 100});
    ASSERT_EQ(r.status, DecodeStatus::kOk) << r.message;
    ExpectSamePixels(r.picture, Resample(PictureOf(400, 300, small), 100, 75));
    EXPECT_EQ(frame.scaled_copies, 0);
    EXPECT_GT(frame.full_copies, 0);
  }
}

TEST_F(WicFrame, TurnsThePictureUprightByTheOrientationProperty) {
  const PixelFn stored = test::Gradient(400, 300);
  FakeFrame whole(400, 300, stored);
  whole.orientation = 6;
  const DecodeResult r = Decode(whole, {});
  ASSERT_EQ(r.status, DecodeStatus::kOk) << r.message;
  ExpectSamePixels(r.picture, ApplyOrientation(PictureOf(400, 300, stored), 6));
  EXPECT_EQ(r.picture.source_width, 300);
  EXPECT_EQ(r.picture.source_height, 400);
  // Scaled: the upright 300 x 400 fits 150 x 150 at 112 x 150, so 150 x 112 is wanted as stored,
  // which the codec's 1/2 scale (200 x 150) covers.
  FakeFrame scaled(400, 300, stored);
  scaled.orientation = 6;
  scaled.scales = true;
  const DecodeResult small = Decode(scaled, {150, 150});
  ASSERT_EQ(small.status, DecodeStatus::kOk) << small.message;
  ExpectSamePixels(small.picture, ApplyOrientation(Resample(PictureOf(200, 150, scaled.Scaled(200, 150)), 150, 112), 6));
}

TEST_F(WicFrame, FailsWholeWhenAnyStripCannotBeRead) {
  for (const auto& [row, failure, status] : {std::tuple{0, E_FAIL, DecodeStatus::kCorrupt},
                                            std::tuple{2999, WINCODEC_ERR_BADIMAGE, DecodeStatus::kCorrupt},
                                            std::tuple{1500, E_OUTOFMEMORY, DecodeStatus::kTooLarge}}) {
    FakeFrame frame(400, 3000, test::Gradient(400, 3000));
    frame.fail_at_row = row;
    frame.failure = failure;
    const DecodeResult r = Decode(frame, {64, 64});
    EXPECT_EQ(r.status, status) << row << ": " << r.message;
    EXPECT_TRUE(r.picture.pixels.empty()) << row;
  }
}

TEST_F(WicFrame, RefusesTooLargeSizesBeforeAskingForAnyPixel) {
  FakeFrame wide(70000, 10, test::Solid(test::kRed));
  FakeFrame many(20000, 15000, test::Solid(test::kRed));
  FakeFrame deep(12000, 12000, test::Solid(test::kRed));
  deep.format = GUID_WICPixelFormat64bppRGBA;  // 1.1 GB in the codec's own format
  for (FakeFrame* frame : {&wide, &many, &deep}) {
    frame->scales = true;
    const DecodeResult r = Decode(*frame, {64, 64});
    EXPECT_EQ(r.status, DecodeStatus::kTooLarge) << r.message;
    EXPECT_TRUE(r.picture.pixels.empty());
    EXPECT_EQ(frame->full_copies + frame->scaled_copies, 0);
  }
}

}  // namespace
}  // namespace tessmoor
