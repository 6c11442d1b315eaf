#pragma once
#include <windows.h>

#include "platform/win32/handles.h"

namespace tessmoor::win32 {

enum class LoudspeakerGlyph {
  kPlay,  // a loudspeaker sending out sound
  kStop,  // the same loudspeaker, crossed out in red
};

// The music dialog's button glyphs, drawn at run time as icons `side` pixels square (16 at
// 96 DPI). Everything but the drawing is transparent, so that a disabled button can show the
// glyph's shape greyed as it does for any icon.
UniqueIcon DrawLoudspeakerGlyph(LoudspeakerGlyph glyph, int side);

}  // namespace tessmoor::win32
