// TIFF through a writer of our own: uncompressed RGB or RGBA, in strips, in either byte order.

#include <algorithm>

#include "tests/support/picture_formats.h"

namespace tessmoor::test {
namespace {

constexpr std::uint16_t kShort = 3;
constexpr std::uint16_t kLong = 4;

class TiffWriter {
 public:
  explicit TiffWriter(bool big_endian) : big_endian_(big_endian) {}
  std::vector<std::uint8_t>& bytes() { return out_; }

  void U16(std::uint32_t v) { Put(v, 2); }
  void U32(std::uint32_t v) { Put(v, 4); }
  void U16At(std::size_t at, std::uint32_t v) { PutAt(at, v, 2); }
  void U32At(std::size_t at, std::uint32_t v) { PutAt(at, v, 4); }

  struct Entry {
    std::uint16_t tag;
    std::uint16_t type;
    std::vector<std::uint32_t> values;
  };

  // Writes the directory (entries sorted by tag) with the values that do not fit in an entry after
  // it, and points the header at it.
  void Directory(std::vector<Entry> entries) {
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.tag < b.tag; });
    if (out_.size() % 2) out_.push_back(0);
    U32At(4, static_cast<std::uint32_t>(out_.size()));
    U16(static_cast<std::uint32_t>(entries.size()));
    std::vector<std::pair<std::size_t, const Entry*>> spilled;
    for (const Entry& e : entries) {
      const std::size_t size = e.values.size() * (e.type == kShort ? 2 : 4);
      U16(e.tag);
      U16(e.type);
      U32(static_cast<std::uint32_t>(e.values.size()));
      const std::size_t field = out_.size();
      U32(0);
      if (size > 4) {
        spilled.emplace_back(field, &e);
      } else {
        for (std::size_t i = 0; i < e.values.size(); ++i) {
          if (e.type == kShort) U16At(field + 2 * i, e.values[i]); else U32At(field, e.values[i]);
        }
      }
    }
    U32(0);  // no next directory
    for (const auto& [field, e] : spilled) {
      U32At(field, static_cast<std::uint32_t>(out_.size()));
      for (std::uint32_t v : e->values) Put(v, e->type == kShort ? 2 : 4);
    }
  }

 private:
  void Put(std::uint32_t v, int n) {
    out_.resize(out_.size() + static_cast<std::size_t>(n));
    PutAt(out_.size() - static_cast<std::size_t>(n), v, n);
  }
  void PutAt(std::size_t at, std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) {
      const int shift = big_endian_ ? 8 * (n - 1 - i) : 8 * i;
      out_[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> shift);
    }
  }

  bool big_endian_;
  std::vector<std::uint8_t> out_;
};

}  // namespace

std::vector<std::uint8_t> MakeTiff(int width, int height, const PixelFn& pixels, const TiffOptions& options) {
  const bool alpha = static_cast<bool>(options.alpha);
  const std::uint32_t samples = alpha ? 4 : 3;
  const int rows_per_strip = options.rows_per_strip > 0 ? std::min(options.rows_per_strip, height) : height;
  TiffWriter w(options.big_endian);
  std::vector<std::uint8_t>& out = w.bytes();
  out.insert(out.end(), options.big_endian ? std::initializer_list<std::uint8_t>{'M', 'M'}
                                           : std::initializer_list<std::uint8_t>{'I', 'I'});
  w.U16(42);
  w.U32(0);  // the directory's offset, written once it is placed

  std::vector<std::uint32_t> offsets, counts;
  for (int top = 0; top < height; top += rows_per_strip) {
    offsets.push_back(static_cast<std::uint32_t>(out.size()));
    const int rows = std::min(rows_per_strip, height - top);
    counts.push_back(static_cast<std::uint32_t>(rows) * static_cast<std::uint32_t>(width) * samples);
    for (int y = top; y < top + rows; ++y) {
      for (int x = 0; x < width; ++x) {
        const Rgb c = pixels(x, y);
        out.insert(out.end(), {c.r, c.g, c.b});
        if (alpha) out.push_back(options.alpha(x, y));
      }
    }
  }
  if (options.strips_past_end) {
    for (std::uint32_t& o : offsets) o += static_cast<std::uint32_t>(out.size()) + 4096;
  }
  const std::uint32_t declared_width = options.declared_width ? options.declared_width : static_cast<std::uint32_t>(width);
  const std::uint32_t declared_height =
      options.declared_height ? options.declared_height : static_cast<std::uint32_t>(height);
  std::vector<TiffWriter::Entry> entries = {
      {256, kLong, {declared_width}},
      {257, kLong, {declared_height}},
      {258, kShort, std::vector<std::uint32_t>(samples, 8)},
      {259, kShort, {1}},  // no compression
      {262, kShort, {2}},  // RGB
      {273, kLong, offsets},
      {277, kShort, {samples}},
      {278, kLong, {static_cast<std::uint32_t>(rows_per_strip)}},
      {279, kLong, counts},
      {284, kShort, {1}},  // samples of a pixel side by side
  };
  if (options.orientation != 0) entries.push_back({274, kShort, {static_cast<std::uint32_t>(options.orientation)}});
  if (alpha) entries.push_back({338, kShort, {2}});  // unassociated alpha
  w.Directory(std::move(entries));
  return out;
}

}  // namespace tessmoor::test
