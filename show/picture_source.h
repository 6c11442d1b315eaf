#pragma once
#include <string>

namespace tessmoor {

struct Picture;

// The registered pictures as the show parts see them once the show has started: per box
// (1..4) and slot (1..12), the slot's path (empty when the slot holds no usable picture) and its
// decoded picture.
class PictureSource {
 public:
  virtual ~PictureSource() = default;
  virtual const std::string& Path(int box, int slot) const = 0;
  // The slot's picture, decoded for the size the show draws it at. Waits while the slot is still
  // being decoded. Nothing when the slot is empty or its file could not be decoded; the slot's
  // path is then empty from this call on.
  virtual const Picture* PictureAt(int box, int slot) = 0;
  // Whether the box still holds a usable slot. A source that decodes in the background waits
  // until that is known; a box whose every file fails to decode holds none.
  virtual bool BoxHasPicture(int box) {
    for (int slot = 1; slot <= 12; ++slot)
      if (!Path(box, slot).empty()) return true;
    return false;
  }
};

}  // namespace tessmoor
