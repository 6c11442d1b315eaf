#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tessmoor::image_detail {

// Walks a JPEG's marker segments and entropy-coded data and gives the offset where the first
// segment that the data cuts short begins, or the file's size when no marker segment is cut.
// libjpeg copes with entropy data that ends early, but not with a marker segment (a Huffman
// table, a scan header) that does; cut there, a truncated file decodes as far as it goes.
std::size_t JpegCompletePrefix(std::span<const std::uint8_t> file);

}  // namespace tessmoor::image_detail
