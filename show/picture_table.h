#pragma once
#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "app/settings.h"
#include "platform/file_system.h"
#include "platform/image/picture.h"
#include "show/decode_queue.h"
#include "show/picture_source.h"
#include "show/show_settings.h"

namespace tessmoor {

// The largest size the show draws each box's pictures at, for a show window of the given client
// size: pattern 1 fits every picture into the square of its fit side; a pattern-2 window is half
// its fitted picture, at its own scale.
std::array<DecodeTarget, 4> ShowDecodeTargets(const ShowSettings& show, int client_width,
                                              int client_height);

// The 48 image slots of a show, built once when the show starts (both patterns).
//
// Building reads the 48 picture keys in box-major order (a key never set is written as the empty
// text), keeps the path of every slot whose file exists exactly as it is stored and switches off,
// in `show`, every box without an existing file. The table is the show parts' source of the slot
// paths: the slide engine tests Path() with FileExists at every tick. The pictures are then decoded in the background, in
// the order the show needs them, each no larger than the show draws it (DecodeTarget); a picture
// keeps its file's own size in source_width/source_height for the fit arithmetic.
//
// A file that cannot be read or decoded makes its slot unusable: its path becomes empty, and a box that loses its last usable slot is switched off with
// ForceBoxOff. A file with an extension other than .jpg, .jpeg or .bmp keeps its slot and path
// but has an empty picture, which the show parts pass over.
//
// Threads: build, query and destroy the table on one thread, the show's user-interface thread.
// Only that thread changes the paths and `show`; the decode threads never call into
// them (see DecodeQueue). The shell learns of boxes switched off during the show from Collect().
class PictureTable final : public PictureSource {
 public:
  struct Options {
    std::array<DecodeTarget, 4> targets{};  // per box; 0 x 0 decodes at full size
    int threads = 0;                        // 0: one decode thread per core
  };

  // `files` and `show` must outlive the table.
  PictureTable(Settings& settings, FileSystem& files, ShowSettings& show, Options options);
  ~PictureTable() override = default;
  PictureTable(const PictureTable&) = delete;
  PictureTable& operator=(const PictureTable&) = delete;

  // Slot 0 is always empty, as are slots outside 1..12.
  const std::string& Path(int box, int slot) const override;
  // Waits for this slot only. An empty picture for a file of a type that is not decoded.
  const Picture* PictureAt(int box, int slot) override;
  // Waits until one slot of the box has decoded or all have failed.
  bool BoxHasPicture(int box) override;

  // Takes in the decodes that have failed by now (emptying their paths) and returns the boxes
  // switched off since the last call, so that the shell stops their pattern-2 window timers.
  // Call it at every show timer tick; it never waits.
  std::vector<int> Collect();

  // Slots of the box that hold a usable picture as far as is known now.
  int usable_count(int box) const { return usable_[box - 1]; }
  // For tests and the benchmark: waits until every picture is decoded (or failed).
  void WaitAll() { queue_->WaitAll(); }
  // Bytes held by the decoded pictures.
  std::size_t PictureBytes() const { return queue_->PictureBytes(); }
  int decode_threads() const { return queue_->thread_count(); }

 private:
  enum class Kind { kEmpty, kNotDecoded, kDecoded };
  struct Slot {
    Kind kind = Kind::kEmpty;
    int job = -1;
    bool lost = false;  // its decode failed and that has been taken in
  };
  static int Index(int box, int slot) { return (box - 1) * 12 + (slot - 1); }
  void Lose(int index);

  ShowSettings& show_;
  std::array<std::array<std::string, 13>, 4> paths_;
  std::array<Slot, 48> slots_;
  std::array<int, 4> usable_{};
  std::vector<int> slot_of_job_;
  std::vector<int> switched_off_;
  Picture not_decoded_;
  // Last, so that the decode threads stop before anything else goes.
  std::unique_ptr<DecodeQueue> queue_;
};

}  // namespace tessmoor
