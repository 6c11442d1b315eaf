#pragma once
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "platform/file_system.h"
#include "platform/image/picture.h"
#include "platform/image/picture_decoder.h"
#include "show/decode_turns.h"
#include "show/folder_picker.h"

namespace tessmoor {

// A folder slot during the show: a thread of its own lists the folder and keeps the slot's next
// picture decoded, one ahead, however many pictures the folder holds. When the show takes it, the
// thread prepares the one after it.
//
// The thread's steps and how long the show waits for each when it asks for the next picture:
//   listing the folder, reading a file  at most the wait given to Peek, and not at all again once a
//                                       wait has run out, until the slot has a picture again: a
//                                       sleeping network share never holds the show up twice;
//   decoding                            until it is done, as for a file slot whose decode is under
//                                       way (decodes take a decode turn at the slot's rank);
//   ready                               not at all;
//   no pictures                         not at all: the slot is empty for good.
//
// Threads: construct, call and destroy it on one thread (the show's user-interface thread). The
// feed's thread calls only the file system, the decoder and the turns. Stopping it never waits
// for a listing or a read that hangs: Finish gives the thread until a deadline and then leaves it
// to end on its own, holding what it uses; the file system must stay usable until the process
// ends (the show's does).
class FolderFeed {
 public:
  struct Shared {
    FileSystem& files;
    std::shared_ptr<const PictureDecoder> decoder;
    std::shared_ptr<DecodeTurns> turns;  // may be empty
    ThreadScope scope;
  };
  // `rank` is the slot's place in the order the show needs pictures; its later pictures decode
  // after every slot's first.
  FolderFeed(Shared shared, FolderPicker::Setup setup, int rank, std::uint64_t seed);
  ~FolderFeed();
  FolderFeed(const FolderFeed&) = delete;
  FolderFeed& operator=(const FolderFeed&) = delete;

  // The next picture, without taking it; nothing when it is not ready in time or the folder has
  // none (exhausted() tells which).
  const Picture* Peek(std::chrono::milliseconds wait);
  struct Taken {
    std::shared_ptr<const Picture> picture;
    std::string kept;  // what the slot keeps now (folder_kept.h)
  };
  // Takes the picture Peek gives, if it is ready, and lets the thread prepare the next.
  std::optional<Taken> Take();
  // What the slot keeps, once more, when the picture that follows the one taken last has become
  // known only after it was taken (the folder was still being listed); nothing otherwise.
  std::optional<std::string> TakeLateKept();
  // The folder has no picture left to show.
  bool exhausted() const;
  // Waits, without bound, until the next picture is ready or the folder has none (for tests and
  // benchmarks).
  void WaitSettled();
  // Bytes held by the picture decoded ahead.
  std::size_t PictureBytes() const;

  // Tells the thread to stop; Finish then waits for it until `deadline` at most.
  void RequestStop();
  void Finish(std::chrono::steady_clock::time_point deadline);

 private:
  struct Core;
  static void Run(std::shared_ptr<Core> core);

  std::shared_ptr<Core> core_;
  std::thread thread_;
  bool missed_ = false;  // a wait has run out and no picture has been ready since
};

}  // namespace tessmoor
