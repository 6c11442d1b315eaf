#include "platform/win32/wic_frame.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <vector>

#include "platform/image/decode.h"
#include "platform/image/decode_common.h"
#include "platform/win32/handles.h"

namespace tessmoor::win32::wic {
namespace {

using image_detail::Failure;

// Pixels are taken from the codec a strip of about this many bytes at a time.
constexpr std::size_t kStripBytes = std::size_t{1} << 20;
// The most a codec may need for the whole frame in its own pixel format (several codecs decode
// the whole frame before handing out any of it): a bound on what a decompression bomb can take.
constexpr std::uint64_t kMaxCodecBytes = std::uint64_t{1} << 30;

UINT BitsPerPixel(IWICImagingFactory& factory, const WICPixelFormatGUID& format) {
  ComPtr<IWICComponentInfo> info;
  if (FAILED(factory.CreateComponentInfo(format, info.put()))) return 0;
  const ComPtr<IWICPixelFormatInfo> pixel = info.As<IWICPixelFormatInfo>(IID_IWICPixelFormatInfo);
  UINT bits = 0;
  if (!pixel || FAILED(pixel->GetBitsPerPixel(&bits))) return 0;
  return bits;
}

struct Pixels {
  ComPtr<IWICBitmapSource> source;
  int width = 0;
  int height = 0;
};

// The frame scaled down by its own codec to a size no smaller than `want`, where the codec can do
// that (it then decodes less: the JPEG, HEIF and camera RAW codecs of Windows can). Nothing when it
// cannot or anything goes wrong: the caller then decodes the frame at full size.
std::optional<Pixels> ScaledByCodec(IWICImagingFactory& factory, IWICBitmapFrameDecode& frame, PictureSize full,
                                    PictureSize want) {
  ComPtr<SourceTransform> transform;
  if (FAILED(frame.QueryInterface(kIidSourceTransform, transform.put_void())) || !transform) return std::nullopt;
  UINT width = static_cast<UINT>(want.width);
  UINT height = static_cast<UINT>(want.height);
  BOOL supported = FALSE;
  if (FAILED(transform->GetClosestSize(&width, &height)) ||
      FAILED(transform->DoesSupportTransform(WICBitmapTransformRotate0, &supported)) || !supported) {
    return std::nullopt;
  }
  const bool covers = width >= static_cast<UINT>(want.width) && height >= static_cast<UINT>(want.height);
  const bool smaller = width <= static_cast<UINT>(full.width) && height <= static_cast<UINT>(full.height) &&
                       (width < static_cast<UINT>(full.width) || height < static_cast<UINT>(full.height));
  if (!covers || !smaller) return std::nullopt;
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
  if (FAILED(transform->GetClosestPixelFormat(&format))) return std::nullopt;
  const UINT bits = BitsPerPixel(factory, format);
  if (bits == 0) return std::nullopt;
  const std::uint64_t stride = (std::uint64_t{width} * bits + 31) / 32 * 4;
  const std::uint64_t size = stride * height;
  if (size > std::numeric_limits<UINT>::max()) return std::nullopt;
  std::vector<BYTE> buffer(static_cast<std::size_t>(size));
  ComPtr<IWICBitmap> bitmap;
  if (FAILED(transform->CopyPixels(nullptr, width, height, &format, WICBitmapTransformRotate0,
                                   static_cast<UINT>(stride), static_cast<UINT>(size), buffer.data())) ||
      FAILED(factory.CreateBitmapFromMemory(width, height, format, static_cast<UINT>(stride), static_cast<UINT>(size),
                                            buffer.data(), bitmap.put()))) {
    return std::nullopt;
  }
  return Pixels{bitmap.As<IWICBitmapSource>(IID_IWICBitmapSource), static_cast<int>(width), static_cast<int>(height)};
}

// BGRA with straight alpha, drawn over black.
void CompositeOnBlack(const BYTE* bgra, std::uint8_t* bgr, int width) {
  for (int x = 0; x < width; ++x, bgra += 4, bgr += 3) {
    const unsigned a = bgra[3];
    bgr[0] = static_cast<std::uint8_t>((bgra[0] * a + 127) / 255);
    bgr[1] = static_cast<std::uint8_t>((bgra[1] * a + 127) / 255);
    bgr[2] = static_cast<std::uint8_t>((bgra[2] * a + 127) / 255);
  }
}

// Converts `pixels` to BGRA a strip at a time and pushes its rows into `rows`, placed at
// (left, top) on a black canvas of the resampler's source size. Any strip the codec cannot
// deliver fails the decode.
std::optional<DecodeResult> StreamRows(IWICImagingFactory& factory, const Pixels& pixels, int left, int top,
                                       int canvas_width, RowResampler& rows) {
  ComPtr<IWICFormatConverter> converter;
  HRESULT hr = factory.CreateFormatConverter(converter.put());
  if (SUCCEEDED(hr)) {
    hr = converter->Initialize(pixels.source.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr,
                               0.0, WICBitmapPaletteTypeCustom);
  }
  if (FAILED(hr)) return Failed(DecodeStatus::kUnsupportedType, "pixel format cannot be converted", hr);
  const std::size_t row_bytes = static_cast<std::size_t>(pixels.width) * 4;
  const int strip_rows =
      static_cast<int>(std::clamp<std::size_t>(kStripBytes / row_bytes, 1, static_cast<std::size_t>(pixels.height)));
  std::vector<BYTE> strip(row_bytes * static_cast<std::size_t>(strip_rows));
  std::vector<std::uint8_t> canvas_row(static_cast<std::size_t>(canvas_width) * 3, 0);
  const std::vector<std::uint8_t> black(canvas_row.size(), 0);
  for (int y = 0; y < top; ++y) rows.PushRow(black.data());
  const int visible = std::max(0, std::min(pixels.width, canvas_width - left));
  for (int y = 0; y < pixels.height; y += strip_rows) {
    const int count = std::min(strip_rows, pixels.height - y);
    const WICRect rect{0, y, pixels.width, count};
    hr = converter->CopyPixels(&rect, static_cast<UINT>(row_bytes), static_cast<UINT>(row_bytes * count), strip.data());
    if (FAILED(hr)) return Failed(DecodeStatus::kCorrupt, "picture data unreadable", hr);
    for (int r = 0; r < count; ++r) {
      CompositeOnBlack(strip.data() + row_bytes * static_cast<std::size_t>(r), canvas_row.data() + left * 3, visible);
      rows.PushRow(canvas_row.data());
    }
  }
  return std::nullopt;
}

ComPtr<IWICBitmapSource> AsSource(IWICBitmapFrameDecode& frame) {
  ComPtr<IWICBitmapSource> source;
  frame.QueryInterface(IID_IWICBitmapSource, source.put_void());
  return source;
}

}  // namespace

DecodeResult Failed(DecodeStatus status, const char* what, HRESULT hr) {
  char text[160];
  std::snprintf(text, sizeof text, "%s (0x%08lX)", what, static_cast<unsigned long>(hr));
  return Failure(hr == E_OUTOFMEMORY ? DecodeStatus::kTooLarge : status, text);
}

DecodeResult DecodeFrame(IWICImagingFactory& factory, IWICBitmapFrameDecode& frame,
                         const std::optional<ScreenPlacement>& placement, DecodeTarget target) {
  UINT frame_width = 0, frame_height = 0;
  const HRESULT hr = frame.GetSize(&frame_width, &frame_height);
  if (FAILED(hr)) return Failed(DecodeStatus::kCorrupt, "first frame unreadable", hr);
  // Everything about the size is settled before a single pixel is asked for.
  if (auto refusal = image_detail::RefuseDeclaredSize(frame_width, frame_height)) return std::move(*refusal);
  WICPixelFormatGUID native{};
  if (FAILED(frame.GetPixelFormat(&native))) native = GUID_WICPixelFormat32bppBGRA;
  const UINT native_bits = std::max(32u, BitsPerPixel(factory, native));
  if (std::uint64_t{frame_width} * frame_height * native_bits / 8 > kMaxCodecBytes) {
    return Failure(DecodeStatus::kTooLarge, "picture too large for its pixel format");
  }
  const PictureSize full{static_cast<int>(frame_width), static_cast<int>(frame_height)};
  if (placement) {
    if (auto refusal = image_detail::RefuseDeclaredSize(placement->screen_width, placement->screen_height)) {
      return std::move(*refusal);
    }
  }
  const PictureSize stored = placement ? PictureSize{placement->screen_width, placement->screen_height} : full;
  const int orientation = FrameOrientation(frame);
  const PictureSize want = image_detail::StoredTargetSize(stored.width, stored.height, orientation, target);

  std::optional<Pixels> pixels;
  if (!placement) pixels = ScaledByCodec(factory, frame, full, want);
  if (!pixels) pixels = Pixels{AsSource(frame), full.width, full.height};
  if (!pixels->source) return Failure(DecodeStatus::kCorrupt, "first frame unreadable");
  const PictureSize decoded = placement ? stored : PictureSize{pixels->width, pixels->height};
  RowResampler rows = image_detail::StoredResampler(decoded, stored, orientation, target);
  const int left = placement ? std::min(placement->left, stored.width) : 0;
  const int top = placement ? std::min(placement->top, stored.height) : 0;
  if (auto failure = StreamRows(factory, *pixels, left, top, decoded.width, rows)) return std::move(*failure);
  return image_detail::FinishRows(rows, stored, orientation);
}

}  // namespace tessmoor::win32::wic
