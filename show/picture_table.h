#pragma once
#include <array>
#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "app/settings.h"
#include "platform/file_system.h"
#include "platform/image/picture.h"
#include "platform/image/picture_decoder.h"
#include "platform/random.h"
#include "show/decode_queue.h"
#include "show/decode_turns.h"
#include "show/folder_feed.h"
#include "show/picture_source.h"
#include "show/show_settings.h"

namespace tessmoor {

// The largest size the show draws each box's pictures at, for a show window of the given client
// size: pattern 1 fits every picture into the square of its fit side; a pattern-2 window is half
// its fitted picture, at its own scale.
std::array<DecodeTarget, 4> ShowDecodeTargets(const ShowSettings& show, int client_width,
                                              int client_height);

// What decodes a table's pictures and how its background threads run.
struct PicturePipeline {
  // Empty: JPEG and BMP only (BuiltInPictureDecoder).
  std::shared_ptr<const PictureDecoder> decoder;
  // Held by every background thread for its life.
  ThreadScope thread_scope;
  // Seeds the folder slots' shuffles; null: a fixed seed.
  RandomSource* random = nullptr;
  std::chrono::milliseconds folder_wait{250};
};

// The 48 image slots of a show, built once when the show starts (both patterns).
//
// Building reads the 48 picture keys in box-major order (a key never set is written as the empty
// text) and keeps the path of every slot that names an existing file or folder exactly as it is
// stored; it switches off, in `show`, every box without one. The table is the show parts' source
// of the slot paths. A slot's picture comes from one of two sources, which the show parts never
// tell apart:
//   - a file: decoded once in the background, in the order the show needs the pictures, no larger
//     than the show draws it (DecodeTarget); a picture keeps its file's own size in
//     source_width/source_height for the fit arithmetic. A file that cannot be read or decoded
//     makes its slot unusable: its path becomes empty. A file whose extension the decoder does not
//     accept keeps its slot and path but has an empty picture, which the show parts pass over.
//   - a folder (FolderFeed): a different picture at each showing, in the order of the folder
//     settings (read once, when a slot names a folder), one picture decoded ahead whatever the
//     folder holds; the folder is listed and read on a thread of its own. Each picture taken
//     writes what the slot keeps to its FolderPlace key (folder_kept.h): its place, so the next
//     show goes on from there, and its next picture once known, so the next show starts on that
//     picture before it lists the folder. A showing whose picture is not ready within `folder_wait` (the folder is still being listed
//     or read: a sleeping network share) passes the slot over for that showing only. A folder
//     that has no picture to show (gone, emptied, none decodable) makes its slot unusable.
// A box that loses its last usable slot is switched off with ForceBoxOff.
//
// Every picture is decoded by one decoder, shared by every thread; at most one decode per decode
// thread runs at once, the one the show needs first first (DecodeTurns).
//
// Threads: build, query and destroy the table on one thread, the show's user-interface thread.
// Only that thread changes the paths, `show` and the settings; the background threads never call
// into them (see DecodeQueue and FolderFeed). The shell learns of boxes switched off during the
// show from Collect(). Destroying the table never waits long for a folder that does not answer.
class PictureTable final : public PictureSource {
 public:
  struct Options {
    std::array<DecodeTarget, 4> targets{};  // per box; 0 x 0 decodes at full size
    int threads = 0;                        // 0: one decode thread per core
  };

  // `settings`, `files` and `show` must outlive the table.
  PictureTable(Settings& settings, FileSystem& files, ShowSettings& show, Options options,
               PicturePipeline pipeline = {});
  ~PictureTable() override;
  PictureTable(const PictureTable&) = delete;
  PictureTable& operator=(const PictureTable&) = delete;

  // Slot 0 is always empty, as are slots outside 1..12.
  const std::string& Path(int box, int slot) const override;
  bool Present(int box, int slot) override;
  // Waits for this slot only. An empty picture for a file of a type that is not decoded.
  const Picture* PictureAt(int box, int slot) override;
  std::shared_ptr<const Picture> Take(int box, int slot) override;
  // Waits until one slot of the box has decoded or all have failed; a folder slot counts while
  // its folder is not known to hold no picture.
  bool BoxHasPicture(int box) override;

  // Takes in the decodes and folders that have failed by now (emptying their paths) and returns
  // the boxes switched off since the last call, so that the shell stops their pattern-2 window
  // timers; keeps a folder slot's next picture that became known after its take. Call it at every
  // show timer tick; it never waits.
  std::vector<int> Collect();

  // Slots of the box that hold a usable picture as far as is known now.
  int usable_count(int box) const { return usable_[box - 1]; }
  // For tests and the benchmark: waits until every file is decoded (or failed) and every folder
  // slot's next picture is ready (or known not to come).
  void WaitAll();
  // Bytes held by the decoded pictures, those decoded ahead for folder slots included.
  std::size_t PictureBytes() const;
  int decode_threads() const { return queue_->thread_count(); }

 private:
  enum class Kind { kEmpty, kNotDecoded, kDecoded, kFolder };
  struct Slot {
    Kind kind = Kind::kEmpty;
    int job = -1;
    bool lost = false;  // its decode or its folder failed and that has been taken in
  };
  static int Index(int box, int slot) { return (box - 1) * 12 + (slot - 1); }
  static bool InRange(int box, int slot) { return box >= 1 && box <= 4 && slot >= 1 && slot <= 12; }
  void StartFolders(Settings& settings, const std::vector<int>& order, const Options& options,
                    const PicturePipeline& pipeline);
  // A folder slot whose folder turned out to hold nothing is lost; true while it is usable.
  bool FolderUsable(int index);
  void Lose(int index);

  Settings& settings_;
  FileSystem& files_;
  ShowSettings& show_;
  std::shared_ptr<const PictureDecoder> decoder_;
  std::shared_ptr<DecodeTurns> turns_;
  std::chrono::milliseconds folder_wait_;
  std::array<std::array<std::string, 13>, 4> paths_;
  std::array<Slot, 48> slots_;
  std::array<int, 4> usable_{};
  std::vector<int> slot_of_job_;
  std::vector<int> switched_off_;
  Picture not_decoded_;
  std::unique_ptr<DecodeQueue> queue_;
  std::array<std::unique_ptr<FolderFeed>, 48> feeds_;
};

}  // namespace tessmoor
