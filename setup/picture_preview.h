#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/image/picture.h"
#include "platform/image/picture_decoder.h"
#include "platform/picture_rect.h"

// The picture controls of the settings dialog: the four box pictures and the file browser's
// preview. A control is shrunk to its picture's aspect ratio and draws the picture at its
// top-left corner; all sizes are at 96 DPI.
namespace tessmoor {

inline constexpr Size kBoxPictureDesign{137, 137};
inline constexpr Size kFilePreviewDesign{97, 97};

// Files larger than this are not read for a preview (no picture file the decoders accept needs
// more).
inline constexpr std::size_t kMaxPreviewFileBytes = std::size_t{256} << 20;

// The size of a control of `design` size holding a picture of `picture` size: a picture at least
// as wide as high keeps the width and shrinks the height to trunc(design height × H / W), a
// taller one keeps the height and shrinks the width. 640 × 480 gives 137 × 102, 480 × 640 gives
// 102 × 137, 300 × 900 gives 45 × 137. A picture without pixels leaves the design size.
Size PictureControlSize(Size design, Size picture);

struct PicturePlacement {
  Size control;  // the control's new size
  Rect picture;  // where the picture is drawn, in the control's client coordinates
  friend bool operator==(const PicturePlacement&, const PicturePlacement&) = default;
};

// The placement of a picture of `picture` size in a control of `design` size.
PicturePlacement PlacePicture(Size design, Size picture, bool enlarge);

enum class PreviewStatus {
  kShown,      // `picture` and `placement` hold what to show
  kNoPicture,  // the name is not a picture file's: the control is emptied at its design size
  kFailed,     // the file cannot be read or decoded: `message` says why
};

struct Preview {
  PreviewStatus status = PreviewStatus::kNoPicture;
  Picture picture;
  PicturePlacement placement;
  std::string message;
};

// Reads `path` and decodes it by `extension` (lower-cased, dot included; ".jpg", ".jpeg" and
// ".bmp" are pictures, anything else is not). The picture is decoded no larger than the control
// of `design` size shows it on a screen of `dpi` dots per inch, so a large photo costs little;
// the placement still follows the file's own size.
Preview LoadPreview(FileSystem& files, std::string_view path, std::string_view extension, Size design,
                    bool enlarge, int dpi = 96);

// The same through `decoder`: a picture is a file whose extension (PictureExtension) the decoder
// takes.
Preview LoadPreview(FileSystem& files, const PictureDecoder& decoder, std::string_view path, Size design,
                    bool enlarge, int dpi = 96);

// The open-picture dialog's preview pane: a square of this side at 96 DPI beside the dialog's
// own controls, showing the picture selected in its list.
inline constexpr int kOpenDialogPreviewSide = 160;

// Where a pane of `pane` pixels draws a preview that LoadPreview placed for a control of that
// size: the picture at the size the placement gives it, centred in the pane.
Rect PaneDrawRect(Size pane, const PicturePlacement& placement);

}  // namespace tessmoor
