// Fuzz target for the JPEG decoder (libjpeg underneath, our EXIF reader, scaling and orientation).
//
// With libFuzzer (clang):
//   cmake -S . -B /work/build-fuzz -G Ninja -DTESSMOOR_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
//         -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined"
//   ninja -C /work/build-fuzz jpeg_fuzz
//   /work/build-decoders/jpeg_fuzz --write-seeds /tmp/jpeg-corpus   # seeds from a normal build
//   /work/build-fuzz/jpeg_fuzz /tmp/jpeg-corpus -max_total_time=180 -rss_limit_mb=4096
// (fuzzer-no-link instruments the decoders in the core library too, not only this file.)
// Without libFuzzer the same target is linked with replay_main.cc:
//   jpeg_fuzz [FOLDER...]   replays the built-in seeds and every file in the folders.

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/image/decode.h"
#include "tests/fuzz/decode_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  for (const tessmoor::DecodeTarget target : tessmoor::fuzz::kFuzzTargets) {
    tessmoor::fuzz::CheckDecodeResult(tessmoor::DecodeJpeg(bytes, target), target);
  }
  return 0;
}
