#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "app/extended_settings.h"
#include "app/settings.h"
#include "platform/file_system.h"
#include "platform/image/picture_decoder.h"
#include "platform/random.h"

namespace tessmoor {

// The writes of one dialog's save, made in order until the store refuses one (a key the user may
// not change, a full registry). From then on nothing more is written; the dialog tells the user
// and stays open with the choices, which another press saves once the store takes writes again.
class SaveWrites {
 public:
  explicit SaveWrites(Settings& settings) : settings_(settings) {}

  void Write(std::string_view key, std::string_view value);
  void Write(std::string_view key, int value);
  void WriteSwitch(std::string_view key, bool on);

  bool failed() const { return error_ != 0; }
  // The system's error number of the refused write; 0 while every write went in.
  std::uint32_t error() const { return error_; }

 private:
  void Keep(WriteResult result);

  Settings& settings_;
  std::uint32_t error_ = 0;
};

// Where a save draws what a slot keeps for the show (keys::FolderPlace) from.
struct KeptPlaceSources {
  FileSystem& files;
  const PictureDecoder& decoder;  // the show's formats
  const ExtendedSettings& extended;
  RandomSource& random;  // starts a shuffled order
};

// After a save whose writes all went in, for slot (box, slot) whose path the save changed to
// `path`: a folder that holds pictures (listed as the show lists it) keeps no place yet and its
// first picture in the order as the next, so that even the first show starts on it without
// listing the folder first. A file, an empty slot or a folder without a picture keeps nothing:
// a place kept for what the slot held before is emptied, and an empty or unwritten one is left
// as it is. The kept place is the show's own: a refused write only means that the show starts
// the slot afresh, so it is not reported.
void KeepPlaceOfChangedSlot(Settings& settings, const KeptPlaceSources& sources, int box, int slot,
                            std::string_view path);

inline constexpr std::string_view kSaveFailureTitle = "Tessmoor";

// What the user reads when a save was refused: that the settings were not saved, the system's own
// words for `error` (`system_text`, as the system gives it, or empty when it has none: then a
// sentence of ours), and the error number.
std::string SaveFailureText(std::uint32_t error, std::string_view system_text);

}  // namespace tessmoor
