#pragma once
#include <array>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "pattern2/picture_window_port.h"
#include "platform/image/picture.h"
#include "show/picture_source.h"

namespace tessmoor::testing {

// Pictures of the four boxes without any file behind them. A picture is only its size; its
// pixels are never looked at by the motion.
class FakePictureSource : public PictureSource {
 public:
  // A usable picture in box/slot whose file and pixels are both `width` x `height`.
  void Add(int box, int slot, int width, int height);
  // A picture decoded smaller than its file: the fit works on the file's size.
  void AddScaled(int box, int slot, int source_width, int source_height, int pixels_width,
                 int pixels_height);
  // A slot whose path is set but whose file cannot be decoded: PictureAt gives nothing and the
  // path is empty from then on, as the picture table does.
  void AddUndecodable(int box, int slot);
  // A slot whose path is set and whose picture has no pixels (a type that is not decoded).
  void AddEmpty(int box, int slot);

  const std::string& Path(int box, int slot) const override;
  const Picture* PictureAt(int box, int slot) override;
  // The picture as PictureAt has it, without another request.
  std::shared_ptr<const Picture> Take(int box, int slot) override;

  // The slot a picture handed out belongs to, 0 for one that is not from here.
  int SlotOf(const Picture* picture) const;
  // Every PictureAt call, as (box, slot).
  const std::vector<std::pair<int, int>>& requests() const { return requests_; }

 private:
  std::array<std::array<std::string, 13>, 5> paths_;
  std::map<std::pair<int, int>, std::unique_ptr<Picture>> pictures_;
  std::vector<std::pair<int, int>> requests_;
};

// A picture window that records every operation in order, as text:
//   "Create 175x131 s2" (size and the slot of the picture), "Position 0,637", "Show", "Close".
class FakePictureWindow : public pattern2::PictureWindowPort {
 public:
  explicit FakePictureWindow(const FakePictureSource& source) : source_(source) {}

  void Create(const Picture& picture, Size size) override;
  void SetPosition(int left, int top) override;
  void Show() override;
  void Close() override;
  int Left() const override { return left_; }
  int Top() const override { return top_; }
  int Width() const override { return width_; }
  int Height() const override { return height_; }

  const std::vector<std::string>& log() const { return log_; }
  // The log since the last call: what one tick did.
  std::vector<std::string> TakeLog();
  bool visible() const { return visible_; }
  // The slot of the picture shown now, 0 before the first Create.
  int shown_slot() const { return shown_slot_; }
  int creates() const { return creates_; }

 private:
  const FakePictureSource& source_;
  std::vector<std::string> log_;
  std::size_t taken_ = 0;
  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  bool visible_ = false;
  int shown_slot_ = 0;
  int creates_ = 0;
};

// Window `window`'s scale as the show reads it from the stored text `text`.
int StoredScale(int window, const std::string& text);

}  // namespace tessmoor::testing
