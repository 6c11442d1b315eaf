#pragma once

// Pixel-for-pixel comparison of decoded pictures in tests.

#include <string>

#include <gtest/gtest.h>

#include "tests/support/picture_files.h"

namespace tessmoor::test {

// The same size and the same colour at every pixel (row padding aside); the first difference is
// reported with `what` and its place.
inline void ExpectSamePixels(const Picture& got, const Picture& want, const std::string& what = {}) {
  ASSERT_EQ(got.width, want.width) << what;
  ASSERT_EQ(got.height, want.height) << what;
  for (int y = 0; y < want.height; ++y) {
    for (int x = 0; x < want.width; ++x) {
      ASSERT_EQ(PixelAt(got, x, y), PixelAt(want, x, y)) << what << " at " << x << "," << y;
    }
  }
}

}  // namespace tessmoor::test
