#pragma once
#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/settings.h"
#include "platform/canvas.h"
#include "platform/image/picture.h"
#include "show/picture_source.h"
#include "show/show_settings.h"
#include "show/slide_engine.h"
#include "tests/support/fakes.h"

namespace tessmoor::testing {

// A canvas that records what is done to it: every Clear and every StretchDraw with its rectangle
// and the id of the picture drawn (given with Name; -1 for a picture without one).
class FakeCanvas : public Canvas {
 public:
  struct Call {
    bool clear = false;
    Rect rect;
    int picture = -1;
    const Picture* address = nullptr;
    friend bool operator==(const Call&, const Call&) = default;
  };

  FakeCanvas(int width, int height) : width_(width), height_(height) {}
  int ClientWidth() const override { return width_; }
  int ClientHeight() const override { return height_; }
  void Clear() override { calls_.push_back({true, {}, -1, nullptr}); }
  void StretchDraw(const Rect& rect, const Picture& picture) override;

  void Resize(int width, int height) { width_ = width; height_ = height; }
  void Name(const Picture& picture, int id) { names_[&picture] = id; }
  const std::vector<Call>& calls() const { return calls_; }
  // The calls since the last TakeCalls.
  std::vector<Call> TakeCalls();

 private:
  int width_;
  int height_;
  std::map<const Picture*, int> names_;
  std::vector<Call> calls_;
};

// "clear", "draw 13 (337,253,687,515)", joined by "; ".
std::string Describe(const std::vector<FakeCanvas::Call>& calls);
std::string DescribeDraw(int picture, const Rect& rect);

// Pictures for the show parts without decoding anything: each slot holds a picture of a chosen
// source size, known on canvases by its picture number (box - 1) * 12 + slot.
class FakePictures : public PictureSource {
 public:
  // With `files`, a slot is present while its file exists there, as the picture table has it.
  explicit FakePictures(FileSystem* files = nullptr);
  // A picture of source_width x source_height (held as a tiny bitmap) at `path`.
  void Set(int box, int slot, std::string path, int source_width, int source_height);
  // A file the table does not decode: the path stays, the picture is empty.
  void SetNotDecoded(int box, int slot, std::string path);
  // A file that fails to decode: the first PictureAt empties its path and gives nothing.
  void SetFailing(int box, int slot, std::string path);
  void NameOn(FakeCanvas& canvas) const;

  const std::string& Path(int box, int slot) const override;
  bool Present(int box, int slot) override;
  const Picture* PictureAt(int box, int slot) override;
  // PictureAt calls, those made by Take included.
  int picture_requests() const { return requests_; }

 private:
  enum class Kind { kNone, kPicture, kNotDecoded, kFailing };
  struct Slot {
    Kind kind = Kind::kNone;
    std::string path;
    Picture picture;
  };
  static int Index(int box, int slot) { return (box - 1) * 12 + (slot - 1); }
  FileSystem* files_;
  std::array<Slot, 48> slots_;
  std::string no_path_;
  int requests_ = 0;
};

// Everything a slide engine works with, wired up for pattern 1 on a 1024 x 768 screen with the
// first-run settings: detail mode `mode`, interval 1500 (also in the store), scale 50, all four
// boxes in use, no pictures.
class SlideRig {
 public:
  explicit SlideRig(std::string mode, int width = 1024, int height = 768);

  // Registers a picture in (box, slot): its file exists and the picture source holds its path
  // and its picture, named by its picture number.
  void Register(int box, int slot, int source_width = 1600, int source_height = 1200);
  void RegisterAll(int source_width = 1600, int source_height = 1200);
  void RegisterBox(int box, int source_width = 1600, int source_height = 1200);
  // Removes a registered file from the disk; the picture source keeps its path.
  void Vanish(int box, int slot);
  static std::string PathOf(int box, int slot);

  struct TickRecord {
    std::string screen;  // Describe() of what the tick did to the canvas
    int interval_ms = 0;
    int pause_seconds = 0;
    friend bool operator==(const TickRecord&, const TickRecord&) = default;
  };
  // Reads `show` again the way the show window does, from the store as the test left it (with
  // pattern 1 and the rig's detail mode); the reads' first-run writes are forgotten.
  void ReadShowFromStore();
  // Creates the engine at the first call.
  TickRecord Tick();
  std::vector<TickRecord> Ticks(int count);
  SlideEngine& engine();

  MemoryStore store;
  Settings settings{store};
  FakeFileSystem files;
  ShowSettings show;
  FakePictures pictures{&files};
  FakeCanvas canvas;
  ScriptedRandom random{{0}};

 private:
  std::unique_ptr<SlideEngine> engine_;
};

std::ostream& operator<<(std::ostream& out, const SlideRig::TickRecord& record);

}  // namespace tessmoor::testing
