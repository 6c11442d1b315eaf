// Stand-in for libFuzzer's main in the normal build: runs the fuzz target over a few built-in
// seeds and over every file in the folders named on the command line, so that the targets are
// built, linked and exercised by every build, and crashes found by fuzzing stay fixed when
// their inputs are kept in a folder.
//
//   <target> [FOLDER...]          replay; exit code 0 when nothing crashed
//   <target> --write-seeds DIR    write the built-in seeds as files, to start a libFuzzer corpus

#include <cstddef>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/picture_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace t = tessmoor::test;

// Small files of each kind the decoders read, JPEG and BMP alike: each target rejects the other
// format at once, and the fuzzer mutates its way from either.
std::vector<std::pair<std::string, std::vector<std::uint8_t>>> Seeds() {
  const int w = 17, h = 11;
  const auto quads = t::Quadrants(w, h, t::kRed, t::kGreen, t::kBlue, t::kYellow);
  const auto two = t::Quadrants(w, h, t::kBlack, t::kWhite, t::kWhite, t::kBlack);
  std::vector<std::pair<std::string, std::vector<std::uint8_t>>> seeds;
  seeds.emplace_back("baseline.jpg", t::MakeJpeg(w, h, t::Gradient(w, h), 75));
  seeds.emplace_back("progressive.jpg", t::MakeJpeg(w, h, quads, 75, true));
  seeds.emplace_back("gray.jpg", t::MakeJpeg(w, h, quads, 60, false, true));
  seeds.emplace_back("exif6.jpg", t::MakeJpeg(w, h, quads, 60, false, false, 6));
  t::JpegOptions ycck;
  ycck.colour = t::JpegColour::kYcck;
  ycck.exif_orientation = 8;
  ycck.exif_big_endian = true;
  seeds.emplace_back("ycck.jpg", t::MakeJpeg(w, h, quads, ycck));
  seeds.emplace_back("rgb24.bmp", t::MakeBmp(w, h, quads));
  seeds.emplace_back("mono.bmp", t::MakeBmp(w, h, two, {.bits = 1}));
  seeds.emplace_back("core8.bmp", t::MakeBmp(w, h, quads, {.bits = 8, .header = t::BmpHeaderKind::kCore}));
  seeds.emplace_back("rle8.bmp", t::MakeBmp(w, h, quads, {.bits = 8, .encoding = t::BmpEncoding::kRle}));
  // Sixteen colours that change at every pixel in places: absolute runs as well as encoded ones.
  const t::PixelFn sixteen = [](int x, int y) {
    return t::Rgb{static_cast<std::uint8_t>((x % 4) * 80), static_cast<std::uint8_t>((x / 4 + y) % 4 * 80), 0};
  };
  seeds.emplace_back("rle4.bmp", t::MakeBmp(w, h, sixteen, {.bits = 4, .encoding = t::BmpEncoding::kRle}));
  seeds.emplace_back("v5_565.bmp", t::MakeBmp(w, h, quads,
                                              {.bits = 16, .header = t::BmpHeaderKind::kV5,
                                               .encoding = t::BmpEncoding::kBitfields,
                                               .masks = {0xF800, 0x07E0, 0x001F, 0}}));
  seeds.emplace_back("topdown32.bmp", t::MakeBmp(w, h, quads, {.bits = 32, .top_down = true}));
  return seeds;
}

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Run(const std::vector<std::uint8_t>& bytes) {
  // A copy of exactly the input's size, so that reads past its end reach the sanitizers.
  const std::vector<std::uint8_t> exact(bytes);
  LLVMFuzzerTestOneInput(exact.data(), exact.size());
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == "--write-seeds") {
      std::filesystem::create_directories(args[1]);
      for (const auto& [name, bytes] : Seeds()) t::WriteFile(std::filesystem::path(args[1]) / name, bytes);
      return 0;
    }
    std::size_t count = 0;
    for (const auto& seed : Seeds()) {
      Run(seed.second);
      ++count;
    }
    for (const std::string& folder : args) {
      for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        Run(ReadAll(entry.path()));
        ++count;
      }
    }
    std::cout << "replayed " << count << " inputs\n";
    return 0;
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 2;
  }
}
