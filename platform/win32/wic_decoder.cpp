#include "platform/win32/wic_decoder.h"

#include <windows.h>
#include <wincodec.h>

#include <limits>
#include <new>
#include <optional>

#include "platform/image/decode.h"
#include "platform/image/decode_common.h"
#include "platform/win32/handles.h"
#include "platform/win32/wic_frame.h"
#include "platform/win32/wic_metadata.h"

namespace tessmoor::win32 {
namespace {

using image_detail::Failure;
using wic::Failed;

DecodeResult DecodeFile(std::span<const std::uint8_t> bytes, DecodeTarget target) {
  const ComApartment com;
  if (!com.ok()) return Failure(DecodeStatus::kUnsupportedType, "COM is not available on this thread");
  ComPtr<IWICImagingFactory> factory;
  HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                factory.put_void());
  if (FAILED(hr)) return Failed(DecodeStatus::kUnsupportedType, "Windows Imaging Component not available", hr);
  if (bytes.empty()) return Failure(DecodeStatus::kCorrupt, "empty file");
  if (bytes.size() > std::numeric_limits<DWORD>::max()) return Failure(DecodeStatus::kTooLarge, "file too large");

  ComPtr<IWICStream> stream;
  hr = factory->CreateStream(stream.put());
  if (SUCCEEDED(hr)) {
    hr = stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
  }
  if (FAILED(hr)) return Failed(DecodeStatus::kTooLarge, "cannot read the file from memory", hr);
  ComPtr<IWICBitmapDecoder> decoder;
  hr = factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.put());
  if (hr == WINCODEC_ERR_COMPONENTNOTFOUND) return Failed(DecodeStatus::kCorrupt, "no codec recognises the file", hr);
  if (FAILED(hr)) return Failed(DecodeStatus::kCorrupt, "header unreadable", hr);
  ComPtr<IWICBitmapFrameDecode> frame;
  UINT frame_width = 0, frame_height = 0;
  hr = decoder->GetFrame(0, frame.put());
  if (SUCCEEDED(hr)) hr = frame->GetSize(&frame_width, &frame_height);
  if (FAILED(hr)) return Failed(DecodeStatus::kCorrupt, "first frame unreadable", hr);
  const auto placement = wic::GifFramePlacement(*decoder, *frame, static_cast<int>(frame_width),
                                                static_cast<int>(frame_height));
  return wic::DecodeFrame(*factory, *frame, placement, target);
}

}  // namespace

WicPictureDecoder::WicPictureDecoder() {
  const ComApartment com;
  if (!com.ok()) return;
  ComPtr<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              factory.put_void()))) {
    return;
  }
  extensions_ = wic::InstalledDecoderExtensions(*factory);
}

DecodeResult WicPictureDecoder::Decode(std::span<const std::uint8_t> file_bytes, std::string_view extension,
                                       DecodeTarget target) const {
  if (!Accepts(extension)) {
    return Failure(DecodeStatus::kUnsupportedType, "no installed codec for \"" + std::string(extension) + "\" files");
  }
  try {
    return DecodeFile(file_bytes, target);
  } catch (const std::bad_alloc&) {
    return Failure(DecodeStatus::kTooLarge, "not enough memory for the picture");
  }
}

std::unique_ptr<PictureDecoder> MakeSystemPictureDecoder() {
  std::vector<std::unique_ptr<PictureDecoder>> decoders;
  decoders.push_back(std::make_unique<BuiltInPictureDecoder>());
  decoders.push_back(std::make_unique<WicPictureDecoder>());
  return std::make_unique<PictureDecoderSet>(std::move(decoders));
}

}  // namespace tessmoor::win32
