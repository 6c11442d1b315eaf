#include "platform/win32/wic_metadata.h"

#include <algorithm>
#include <cwchar>

#include "platform/image/picture_decoder.h"
#include "platform/win32/handles.h"
#include "platform/win32/utf.h"

namespace tessmoor::win32::wic {
namespace {

std::optional<std::uint32_t> ReadUnsigned(IWICMetadataQueryReader& reader, const wchar_t* name) {
  PropVariant value;
  if (FAILED(reader.GetMetadataByName(name, value.get()))) return std::nullopt;
  switch ((*value).vt) {
    case VT_UI1: return (*value).bVal;
    case VT_UI2: return (*value).uiVal;
    case VT_UI4: return (*value).ulVal;
    case VT_I2: return (*value).iVal >= 0 ? std::optional<std::uint32_t>((*value).iVal) : std::nullopt;
    case VT_I4: return (*value).lVal >= 0 ? std::optional<std::uint32_t>((*value).lVal) : std::nullopt;
    default: return std::nullopt;
  }
}

}  // namespace

std::vector<std::string> InstalledDecoderExtensions(IWICImagingFactory& factory) {
  std::vector<std::string> found;
  ComPtr<IEnumUnknown> components;
  if (FAILED(factory.CreateComponentEnumerator(WICDecoder, WICComponentEnumerateDefault, components.put()))) {
    return found;
  }
  while (true) {
    ComPtr<IUnknown> component;
    ULONG fetched = 0;
    if (components->Next(1, component.put(), &fetched) != S_OK || fetched != 1) break;
    const ComPtr<IWICBitmapCodecInfo> info = component.As<IWICBitmapCodecInfo>(IID_IWICBitmapCodecInfo);
    UINT length = 0;
    if (!info || FAILED(info->GetFileExtensions(0, nullptr, &length)) || length == 0) continue;
    std::wstring text(length, L'\0');
    if (FAILED(info->GetFileExtensions(length, text.data(), &length))) continue;
    text.resize(wcsnlen(text.c_str(), text.size()));
    const std::vector<std::string> listed = SplitExtensionList(Narrow(text));
    found.insert(found.end(), listed.begin(), listed.end());
  }
  return NormalizeExtensions(std::move(found));
}

int FrameOrientation(IWICBitmapFrameDecode& frame) {
  ComPtr<IWICMetadataQueryReader> reader;
  if (FAILED(frame.GetMetadataQueryReader(reader.put())) || !reader) return 1;
  // The property name works wherever the system maps it (every format with the tag on Windows);
  // the paths are the tag itself in a TIFF directory and in a JPEG's EXIF block.
  for (const wchar_t* name : {L"System.Photo.Orientation", L"/ifd/{ushort=274}", L"/app1/ifd/{ushort=274}"}) {
    if (const auto value = ReadUnsigned(*reader, name)) {
      return *value >= 1 && *value <= 8 ? static_cast<int>(*value) : 1;
    }
  }
  return 1;
}

std::optional<ScreenPlacement> GifFramePlacement(IWICBitmapDecoder& decoder, IWICBitmapFrameDecode& frame,
                                                 int frame_width, int frame_height) {
  GUID container{};
  if (FAILED(decoder.GetContainerFormat(&container)) || container != GUID_ContainerFormatGif) return std::nullopt;
  ComPtr<IWICMetadataQueryReader> file_reader;
  ComPtr<IWICMetadataQueryReader> frame_reader;
  if (FAILED(decoder.GetMetadataQueryReader(file_reader.put())) || !file_reader ||
      FAILED(frame.GetMetadataQueryReader(frame_reader.put())) || !frame_reader) {
    return std::nullopt;
  }
  const auto width = ReadUnsigned(*file_reader, L"/logscrdesc/Width");
  const auto height = ReadUnsigned(*file_reader, L"/logscrdesc/Height");
  const auto left = ReadUnsigned(*frame_reader, L"/imgdesc/Left");
  const auto top = ReadUnsigned(*frame_reader, L"/imgdesc/Top");
  if (!width || !height || !left || !top || *width == 0 || *height == 0) return std::nullopt;
  const ScreenPlacement placement{static_cast<int>(*width), static_cast<int>(*height), static_cast<int>(*left),
                                  static_cast<int>(*top)};
  if (placement.left == 0 && placement.top == 0 && placement.screen_width == frame_width &&
      placement.screen_height == frame_height) {
    return std::nullopt;
  }
  return placement;
}

}  // namespace tessmoor::win32::wic
