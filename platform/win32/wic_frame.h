#pragma once
#include <windows.h>
#include <wincodec.h>

#include <optional>

#include "platform/image/picture.h"
#include "platform/win32/wic_metadata.h"

// Decoding one frame that WIC has opened: the part of the WIC decoder after the file is parsed.
namespace tessmoor::win32::wic {

// A codec's scaling at decode. Not declared by this toolchain's wincodec.h; the layout and the IID
// are the documented ones.
struct SourceTransform : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height, WICPixelFormatGUID* format,
                                                WICBitmapTransformOptions transform, UINT stride, UINT size,
                                                BYTE* buffer) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) = 0;
  virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform, BOOL* supported) = 0;
};
inline constexpr IID kIidSourceTransform = {0x3b16811b, 0x6a43, 0x4ec9,
                                            {0xb7, 0x13, 0x3d, 0x5a, 0x0c, 0x13, 0xb9, 0x40}};

// A failure with the HRESULT in its message; E_OUTOFMEMORY is always kTooLarge.
DecodeResult Failed(DecodeStatus status, const char* what, HRESULT hr);

// The frame's pixels at the target size, upright, drawn on black; on a screen of its own when
// `placement` is given. The size is checked before any pixel is asked for; any step that fails
// fails the whole decode.
DecodeResult DecodeFrame(IWICImagingFactory& factory, IWICBitmapFrameDecode& frame,
                         const std::optional<ScreenPlacement>& placement, DecodeTarget target);

}  // namespace tessmoor::win32::wic
