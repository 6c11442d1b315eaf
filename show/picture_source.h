#pragma once
#include <memory>
#include <string>

namespace tessmoor {

struct Picture;

// The registered pictures as the show parts see them once the show has started: per box
// (1..4) and slot (1..12), the slot's path (empty when the slot holds no usable picture) and the
// picture it shows next. A slot may show the same picture at every showing (a file) or a
// different one each time (a folder); the show parts never need to know which.
class PictureSource {
 public:
  virtual ~PictureSource() = default;
  virtual const std::string& Path(int box, int slot) const = 0;
  // Whether the slot is there to be shown now, asked before every showing: the default is whether
  // its path is set.
  virtual bool Present(int box, int slot) { return !Path(box, slot).empty(); }
  // The picture the slot shows at its next showing, decoded for the size the show draws it at,
  // without taking it: asking again gives the same picture until it is taken. Waits while the
  // slot is still being decoded. Nothing when the slot is empty or could not be decoded (its path
  // is then empty from this call on), or, while the path stays set, when the picture is not ready
  // in time: the slot is then passed over for this showing only.
  virtual const Picture* PictureAt(int box, int slot) = 0;
  // Takes the picture PictureAt gives now, to put it on screen: the caller keeps it for as long as
  // it shows it. The slot's next showing may show another picture. Nothing where PictureAt gives
  // nothing. The default is for sources whose pictures live as long as they do.
  virtual std::shared_ptr<const Picture> Take(int box, int slot) {
    const Picture* picture = PictureAt(box, slot);
    if (picture == nullptr) return nullptr;
    return std::shared_ptr<const Picture>(std::shared_ptr<const Picture>(), picture);
  }
  // Whether the box still holds a usable slot. A source that decodes in the background waits
  // until that is known; a box whose every file fails to decode holds none.
  virtual bool BoxHasPicture(int box) {
    for (int slot = 1; slot <= 12; ++slot)
      if (!Path(box, slot).empty()) return true;
    return false;
  }
};

}  // namespace tessmoor
