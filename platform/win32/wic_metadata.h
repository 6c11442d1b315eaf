#pragma once
#include <windows.h>
#include <wincodec.h>

#include <optional>
#include <string>
#include <vector>

// What the WIC decoder reads besides the pixels: the installed codecs' extensions, a frame's
// orientation, and where a GIF's first frame sits on its screen.
namespace tessmoor::win32::wic {

// The file extensions of every installed WIC decoder, lower-cased, dot included, sorted, once each.
std::vector<std::string> InstalledDecoderExtensions(IWICImagingFactory& factory);

// The frame's orientation (1..8, as the EXIF tag), 1 when it has none or an invalid one.
int FrameOrientation(IWICBitmapFrameDecode& frame);

// A GIF frame is a rectangle on the file's logical screen; the picture is the whole screen.
struct ScreenPlacement {
  int screen_width = 0;
  int screen_height = 0;
  int left = 0;
  int top = 0;
};
// For a GIF whose first frame does not cover its screen exactly; nothing for every other file.
std::optional<ScreenPlacement> GifFramePlacement(IWICBitmapDecoder& decoder, IWICBitmapFrameDecode& frame,
                                                 int frame_width, int frame_height);

}  // namespace tessmoor::win32::wic
