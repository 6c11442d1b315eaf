#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessmoor {

// A decoded picture: 24-bit BGR, rows top-down, each row padded to a multiple of 4 bytes (so it can be
// handed to StretchDIBits as a top-down DIB as it is).
struct Picture {
  int width = 0;          // pixels held
  int height = 0;
  int source_width = 0;   // the file's own size after orientation; the show's fit arithmetic uses these
  int source_height = 0;
  std::vector<std::uint8_t> pixels;   // stride() * height bytes
  int stride() const { return (width * 3 + 3) & ~3; }
  bool empty() const { return width <= 0 || height <= 0; }
};

enum class DecodeStatus { kOk, kUnsupportedType, kCorrupt, kTooLarge };

struct DecodeResult {
  DecodeStatus status;
  Picture picture;
  std::string message;  // short, human-readable
};

// Upper bound on the decoded size: the picture is decoded no larger than needed to draw it into a
// box of max_width x max_height (keeping its aspect ratio) — 0 x 0 means full size.
struct DecodeTarget {
  int max_width = 0;
  int max_height = 0;
};

}  // namespace tessmoor
