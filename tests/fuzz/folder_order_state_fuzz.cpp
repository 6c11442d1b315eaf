// Fuzz target for a folder slot's kept place: the text read back from the registry may be
// anything at all.
//
// With libFuzzer (clang), as for the decoder targets:
//   ninja -C /work/build-fuzz folder_order_state_fuzz
//   /work/build-fuzz/folder_order_state_fuzz tests/fuzz/corpus/folder_order_state_fuzz -max_total_time=180
// Without libFuzzer the same target is linked with replay_main.cc and replays the files of
// tests/fuzz/corpus/folder_order_state_fuzz:
//   folder_order_state_fuzz [FOLDER...]

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/random.h"
#include "show/folder_order.h"
#include "show/folder_order_state.h"

namespace {

constexpr std::string_view kFolder = "C:\\Photos";

void Check(bool ok) {
  if (!ok) std::abort();
}

const tessmoor::FolderListing& Listing() {
  static const tessmoor::FolderListing listing(
      std::vector<std::string>{"img1.jpg", "img2.jpg", "img10.jpg", "2023\\img10.jpg", "夏\\花火.png"});
  return listing;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // Only the writer's own lines are read, so whatever is read is written back the same.
  if (const auto state = tessmoor::ParseFolderOrderState(text)) Check(tessmoor::FormatFolderOrderState(*state) == text);

  // Whatever the text, a listed picture comes next and the place kept after it is valid.
  for (const auto order : {tessmoor::FolderOrderKind::kByName, tessmoor::FolderOrderKind::kShuffled}) {
    tessmoor::SplitMixRandom random(size);
    const auto pick = tessmoor::NextInFolder(kFolder, Listing(), order, text, random);
    Check(pick.has_value());
    bool listed = false;
    for (const std::string& path : Listing().paths()) listed = listed || path == pick->path;
    Check(listed);
    const auto kept = tessmoor::ParseFolderOrderState(pick->state);
    Check(kept && kept->kind() == order && kept->folder == tessmoor::FolderFingerprint(kFolder));
  }
  return 0;
}
