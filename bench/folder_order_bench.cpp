// What a folder slot's next picture costs, by the number of pictures in the folder (10, 10,000,
// 100,000), in name order and shuffled, the kept place passed from one pick to the next as the
// show does; and what making the listing (the one sort, when the folder has been listed) costs.
// The paths look like a photo library: year and event folders, camera names, some in Japanese.
//
// Baseline (RelWithDebInfo, processor time on the shared 2-core development machine):
//   NextByName     10: 0.3 us    10,000: 1.7 us    100,000: 15 us    (a scan of the name hashes)
//   NextShuffled   10: 0.4 us    10,000: 46 us     100,000: 0.23 ms  (a scan of the keys)
//   MakeListing    10: 3 us      10,000: 6 ms      100,000: 100 ms   (the natural sort, once)
// and the kept place is 54 to 60 bytes whatever the folder holds.
//
// Usage: folder_order_bench [google-benchmark flags]
#include <cstdint>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "platform/random.h"
#include "show/folder_order.h"

namespace {

using tessmoor::FolderListing;
using tessmoor::FolderOrderKind;

std::vector<std::string> LibraryPaths(std::int64_t count) {
  static const char* const kEvents[] = {"京都旅行", "Birthday", "夏祭り", "Garden", "Snow trip"};
  std::vector<std::string> paths;
  tessmoor::SplitMixRandom random(1);
  for (std::int64_t i = 0; i < count; ++i) {
    const std::int64_t folder = i / 1000;
    std::string path = std::to_string(2010 + folder / 10) + "\\" + std::to_string(folder % 10 + 1) + " " +
                       kEvents[folder % 5] + "\\";
    path += (i % 3 == 0) ? "写真" + std::to_string(i % 1000 + 1) + ".jpg"
                         : "IMG_" + std::to_string(20100101 + random.Next31() % 100000) + "_" + std::to_string(i) + ".JPG";
    paths.push_back(path);
  }
  // The order a directory listing comes in is not the natural order.
  for (std::size_t i = paths.size(); i > 1; --i) std::swap(paths[i - 1], paths[random.Next31() % i]);
  return paths;
}

void NextPicture(benchmark::State& state, FolderOrderKind order) {
  const FolderListing listing(LibraryPaths(state.range(0)));
  tessmoor::SplitMixRandom random(7);
  std::string kept;
  for (auto _ : state) {
    auto pick = tessmoor::NextInFolder("D:\\写真", listing, order, kept, random);
    kept = std::move(pick->state);
    benchmark::DoNotOptimize(pick->path.data());
  }
  state.counters["state_bytes"] = static_cast<double>(kept.size());
}

void NextByName(benchmark::State& state) { NextPicture(state, FolderOrderKind::kByName); }
void NextShuffled(benchmark::State& state) { NextPicture(state, FolderOrderKind::kShuffled); }

void MakeListing(benchmark::State& state) {
  const std::vector<std::string> paths = LibraryPaths(state.range(0));
  for (auto _ : state) {
    FolderListing listing(paths);
    benchmark::DoNotOptimize(listing.paths().data());
  }
}

}  // namespace

BENCHMARK(NextByName)->Arg(10)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(NextShuffled)->Arg(10)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(MakeListing)->Arg(10)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
