#include "tests/support/picture_files.h"

#include <algorithm>
#include <bit>
#include <optional>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>

#include <jpeglib.h>

namespace tessmoor::test {

PixelFn Solid(Rgb colour) {
  return [colour](int, int) { return colour; };
}

PixelFn Quadrants(int width, int height, Rgb top_left, Rgb top_right, Rgb bottom_left, Rgb bottom_right) {
  return [=](int x, int y) {
    const bool right = x >= width / 2;
    const bool bottom = y >= height / 2;
    return bottom ? (right ? bottom_right : bottom_left) : (right ? top_right : top_left);
  };
}

PixelFn Gradient(int width, int height) {
  return [=](int x, int y) {
    return Rgb{static_cast<std::uint8_t>(x * 255 / std::max(1, width - 1)),
               static_cast<std::uint8_t>(y * 255 / std::max(1, height - 1)),
               static_cast<std::uint8_t>((x + y) * 255 / std::max(1, width + height - 2))};
  };
}

Rgb PixelAt(const Picture& picture, int x, int y) {
  if (x < 0 || y < 0 || x >= picture.width || y >= picture.height) {
    throw std::out_of_range("pixel outside the picture");
  }
  const std::uint8_t* p = picture.pixels.data() + static_cast<std::size_t>(y) * picture.stride() + x * 3;
  return Rgb{p[2], p[1], p[0]};
}

Picture PictureOf(int width, int height, const PixelFn& pixels) {
  Picture p;
  p.width = p.source_width = width;
  p.height = p.source_height = height;
  p.pixels.assign(static_cast<std::size_t>(p.stride()) * static_cast<std::size_t>(height), 0xEE);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = p.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(p.stride());
    for (int x = 0; x < width; ++x) {
      const Rgb c = pixels(x, y);
      row[x * 3 + 0] = c.b;
      row[x * 3 + 1] = c.g;
      row[x * 3 + 2] = c.r;
    }
  }
  return p;
}

void PutLe16(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint16_t value) {
  if (bytes.size() < offset + 2) bytes.resize(offset + 2);
  bytes[offset] = static_cast<std::uint8_t>(value);
  bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

void PutLe32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
  PutLe16(bytes, offset, static_cast<std::uint16_t>(value));
  PutLe16(bytes, offset + 2, static_cast<std::uint16_t>(value >> 16));
}

void WriteFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

// ---- EXIF -------------------------------------------------------------------------------------

std::vector<std::uint8_t> MakeExifPayload(int orientation, bool big_endian) {
  std::vector<std::uint8_t> out = {'E', 'x', 'i', 'f', 0, 0};
  auto u16 = [&](std::uint32_t v) {
    if (big_endian) {
      out.push_back(static_cast<std::uint8_t>(v >> 8));
      out.push_back(static_cast<std::uint8_t>(v));
    } else {
      out.push_back(static_cast<std::uint8_t>(v));
      out.push_back(static_cast<std::uint8_t>(v >> 8));
    }
  };
  auto u32 = [&](std::uint32_t v) {
    if (big_endian) {
      u16(v >> 16);
      u16(v & 0xFFFF);
    } else {
      u16(v & 0xFFFF);
      u16(v >> 16);
    }
  };
  out.push_back(big_endian ? 'M' : 'I');
  out.push_back(big_endian ? 'M' : 'I');
  u16(42);
  u32(8);  // IFD0 right after the TIFF header
  u16(2);
  u16(0x0100);  // ImageWidth, LONG: an entry to step over before the orientation
  u16(4);
  u32(1);
  u32(640);
  u16(0x0112);
  u16(3);
  u32(1);
  u16(static_cast<std::uint32_t>(orientation));
  u16(0);
  u32(0);  // no next IFD
  return out;
}

// ---- JPEG -------------------------------------------------------------------------------------

namespace {

struct JpegWriterError {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

[[noreturn]] void WriterErrorExit(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<JpegWriterError*>(cinfo->err)->jump, 1);
}

struct JpegWriter {
  jpeg_compress_struct cinfo{};
  JpegWriterError error{};
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  std::vector<JSAMPLE> samples;  // the whole picture, rows top-down
  ~JpegWriter() {
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
  }
};

std::vector<JSAMPLE> Samples(int width, int height, const PixelFn& pixels, const JpegOptions& options) {
  const bool cmyk = options.colour == JpegColour::kCmyk || options.colour == JpegColour::kYcck;
  const int components = options.colour == JpegColour::kGray ? 1 : cmyk ? 4 : 3;
  std::vector<JSAMPLE> out;
  out.reserve(static_cast<std::size_t>(width) * height * components);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Rgb c = pixels(x, y);
      if (components == 1) {
        out.push_back(static_cast<JSAMPLE>((c.r * 299 + c.g * 587 + c.b * 114 + 500) / 1000));
      } else if (components == 3) {
        out.insert(out.end(), {c.r, c.g, c.b});
      } else {
        // Inverted CMYK: the key is the brightest channel, the rest scaled against it.
        const int k = std::max({c.r, c.g, c.b});
        auto ink = [k](int v) { return k == 0 ? 255 : v * 255 / k; };
        JSAMPLE values[4] = {static_cast<JSAMPLE>(ink(c.r)), static_cast<JSAMPLE>(ink(c.g)),
                             static_cast<JSAMPLE>(ink(c.b)), static_cast<JSAMPLE>(k)};
        for (JSAMPLE v : values) out.push_back(options.adobe_marker ? v : static_cast<JSAMPLE>(255 - v));
      }
    }
  }
  return out;
}

// All libjpeg calls of one file, after the setjmp; the state lives in `w`, owned by the caller.
bool Compress(JpegWriter& w, int width, int height, const JpegOptions& options) {
  jpeg_compress_struct& cinfo = w.cinfo;
  cinfo.err = jpeg_std_error(&w.error.pub);
  w.error.pub.error_exit = WriterErrorExit;
  if (setjmp(w.error.jump)) return false;
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, &w.buffer, &w.size);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  switch (options.colour) {
    case JpegColour::kRgb: cinfo.input_components = 3; cinfo.in_color_space = JCS_RGB; break;
    case JpegColour::kGray: cinfo.input_components = 1; cinfo.in_color_space = JCS_GRAYSCALE; break;
    case JpegColour::kCmyk:
    case JpegColour::kYcck: cinfo.input_components = 4; cinfo.in_color_space = JCS_CMYK; break;
  }
  jpeg_set_defaults(&cinfo);
  if (options.colour == JpegColour::kCmyk) jpeg_set_colorspace(&cinfo, JCS_CMYK);
  if (options.colour == JpegColour::kYcck) jpeg_set_colorspace(&cinfo, JCS_YCCK);
  cinfo.write_Adobe_marker = options.adobe_marker && cinfo.write_Adobe_marker;
  jpeg_set_quality(&cinfo, options.quality, TRUE);
  if (!options.subsample_chroma) {
    cinfo.comp_info[0].h_samp_factor = 1;
    cinfo.comp_info[0].v_samp_factor = 1;
  }
  if (options.progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  if (!options.app1.empty()) {
    jpeg_write_marker(&cinfo, JPEG_APP0 + 1, options.app1.data(), static_cast<unsigned>(options.app1.size()));
  }
  const std::size_t row_size = static_cast<std::size_t>(width) * cinfo.input_components;
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = w.samples.data() + row_size * cinfo.next_scanline;
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  return true;
}

}  // namespace

std::vector<std::uint8_t> MakeJpeg(int width, int height, const PixelFn& pixels, const JpegOptions& options) {
  JpegOptions effective = options;
  if (effective.app1.empty() && effective.exif_orientation != 0) {
    effective.app1 = MakeExifPayload(effective.exif_orientation, effective.exif_big_endian);
  }
  JpegWriter writer;
  writer.samples = Samples(width, height, pixels, effective);
  if (!Compress(writer, width, height, effective)) {
    char message[JMSG_LENGTH_MAX];
    (*writer.error.pub.format_message)(reinterpret_cast<j_common_ptr>(&writer.cinfo), message);
    throw std::runtime_error(std::string("MakeJpeg: ") + message);
  }
  return std::vector<std::uint8_t>(writer.buffer, writer.buffer + writer.size);
}

std::vector<std::uint8_t> MakeJpeg(int width, int height, const PixelFn& pixels, int quality, bool progressive,
                                   bool gray, int exif_orientation) {
  JpegOptions options;
  options.quality = quality;
  options.progressive = progressive;
  options.colour = gray ? JpegColour::kGray : JpegColour::kRgb;
  options.exif_orientation = exif_orientation;
  return MakeJpeg(width, height, pixels, options);
}

// ---- BMP --------------------------------------------------------------------------------------

namespace {

std::uint32_t ToField(std::uint8_t value, std::uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const std::uint64_t max = mask >> shift;
  return static_cast<std::uint32_t>(((value * max + 127) / 255) << shift) & mask;
}

class IndexedPicture {
 public:
  IndexedPicture(int width, int height, const PixelFn& pixels, int bits, bool full_palette) {
    indices_.reserve(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const Rgb c = pixels(x, y);
        auto it = std::find(palette_.begin(), palette_.end(), c);
        if (it == palette_.end()) {
          palette_.push_back(c);
          it = palette_.end() - 1;
        }
        indices_.push_back(static_cast<std::uint8_t>(it - palette_.begin()));
      }
    }
    const std::size_t limit = std::size_t{1} << bits;
    if (palette_.size() > limit) throw std::invalid_argument("MakeBmp: more colours than the palette holds");
    // Padding entries get a colour no test picture uses, so a wrong index shows.
    if (full_palette) palette_.resize(limit, Rgb{1, 2, 3});
    width_ = width;
  }
  const std::vector<Rgb>& palette() const { return palette_; }
  std::span<const std::uint8_t> Row(int y) const {
    return std::span(indices_).subspan(static_cast<std::size_t>(y) * width_, static_cast<std::size_t>(width_));
  }

 private:
  std::vector<Rgb> palette_;
  std::vector<std::uint8_t> indices_;
  int width_ = 0;
};

// One row as RLE8 or RLE4: repeats as encoded runs, stretches of three or more differing pixels
// as absolute runs (padded to 16 bits), shorter ones as runs of one.
void EncodeRleRow(std::span<const std::uint8_t> row, bool rle4, std::vector<std::uint8_t>& out) {
  const std::size_t n = row.size();
  std::size_t i = 0;
  while (i < n) {
    std::size_t run = 1;
    while (i + run < n && run < 255 && row[i + run] == row[i]) ++run;
    if (run >= 2) {
      out.push_back(static_cast<std::uint8_t>(run));
      out.push_back(static_cast<std::uint8_t>(rle4 ? (row[i] << 4) | row[i] : row[i]));
      i += run;
      continue;
    }
    std::size_t j = i;
    while (j < n && j - i < 255 && !(j + 1 < n && row[j + 1] == row[j])) ++j;
    const std::size_t length = j - i;
    if (length < 3) {
      for (std::size_t k = i; k < j; ++k) {
        out.push_back(1);
        out.push_back(static_cast<std::uint8_t>(rle4 ? row[k] << 4 : row[k]));
      }
    } else {
      out.push_back(0);
      out.push_back(static_cast<std::uint8_t>(length));
      const std::size_t start = out.size();
      for (std::size_t k = i; k < j; ++k) {
        if (!rle4) {
          out.push_back(row[k]);
        } else if ((k - i) % 2 == 0) {
          out.push_back(static_cast<std::uint8_t>(row[k] << 4));
        } else {
          out.back() = static_cast<std::uint8_t>(out.back() | row[k]);
        }
      }
      if ((out.size() - start) % 2 != 0) out.push_back(0);
    }
    i = j;
  }
}

std::vector<std::uint8_t> PixelData(int width, int height, const PixelFn& pixels, const BmpOptions& o,
                                    const IndexedPicture* indexed) {
  std::vector<std::uint8_t> out;
  const bool bitfields = o.encoding == BmpEncoding::kBitfields;
  for (int r = 0; r < height; ++r) {
    const int y = o.top_down ? r : height - 1 - r;
    if (o.encoding == BmpEncoding::kRle) {
      EncodeRleRow(indexed->Row(y), o.bits == 4, out);
      out.push_back(0);
      out.push_back(r == height - 1 ? 1 : 0);
      continue;
    }
    const std::size_t row_start = out.size();
    if (o.bits <= 8) {
      const auto row = indexed->Row(y);
      const int per_byte = 8 / o.bits;
      for (int x = 0; x < width; x += per_byte) {
        std::uint8_t byte = 0;
        for (int k = 0; k < per_byte; ++k) {
          const std::uint8_t index = x + k < width ? row[static_cast<std::size_t>(x + k)] : 0;
          byte = static_cast<std::uint8_t>(byte | (index << (8 - o.bits * (k + 1))));
        }
        out.push_back(byte);
      }
    } else {
      for (int x = 0; x < width; ++x) {
        const Rgb c = pixels(x, y);
        if (o.bits == 24) {
          out.insert(out.end(), {c.b, c.g, c.r});
          continue;
        }
        const std::array<std::uint32_t, 4> masks =
            bitfields ? o.masks
            : o.bits == 16 ? std::array<std::uint32_t, 4>{0x7C00, 0x03E0, 0x001F, 0}
                           : std::array<std::uint32_t, 4>{0xFF0000, 0xFF00, 0xFF, 0};
        const std::uint32_t v = ToField(c.r, masks[0]) | ToField(c.g, masks[1]) | ToField(c.b, masks[2]);
        for (int k = 0; k < o.bits / 8; ++k) out.push_back(static_cast<std::uint8_t>(v >> (8 * k)));
      }
    }
    while ((out.size() - row_start) % 4 != 0) out.push_back(0);
  }
  return out;
}

}  // namespace

std::vector<std::uint8_t> MakeBmp(int width, int height, const PixelFn& pixels, const BmpOptions& o) {
  std::optional<IndexedPicture> indexed;
  if (o.bits <= 8) indexed.emplace(width, height, pixels, o.bits, o.full_palette);
  const bool core = o.header == BmpHeaderKind::kCore;
  const bool bitfields = o.encoding == BmpEncoding::kBitfields;
  const std::uint32_t header_size = static_cast<std::uint32_t>(o.header);
  const std::size_t masks_after = (o.header == BmpHeaderKind::kInfo && bitfields) ? 12 : 0;
  const std::size_t palette_entries = indexed ? indexed->palette().size() : 0;
  const std::size_t palette_bytes = palette_entries * (core ? 3 : 4);
  const std::size_t off_bits = 14 + header_size + masks_after + palette_bytes;
  const std::vector<std::uint8_t> data = PixelData(width, height, pixels, o, indexed ? &*indexed : nullptr);

  std::vector<std::uint8_t> out = {'B', 'M'};
  PutLe32(out, 2, static_cast<std::uint32_t>(off_bits + data.size()));
  PutLe32(out, 6, 0);
  PutLe32(out, kBmpOffBitsAt, static_cast<std::uint32_t>(off_bits));
  PutLe32(out, 14, header_size);
  if (core) {
    PutLe16(out, 18, static_cast<std::uint16_t>(width));
    PutLe16(out, 20, static_cast<std::uint16_t>(height));
    PutLe16(out, 22, 1);
    PutLe16(out, 24, static_cast<std::uint16_t>(o.bits));
  } else {
    const std::uint32_t compression = o.encoding == BmpEncoding::kRle ? (o.bits == 8 ? 1 : 2) : bitfields ? 3 : 0;
    PutLe32(out, kBmpWidthAt, static_cast<std::uint32_t>(width));
    PutLe32(out, kBmpHeightAt, static_cast<std::uint32_t>(o.top_down ? -height : height));
    PutLe16(out, 26, 1);
    PutLe16(out, kBmpBitsAt, static_cast<std::uint16_t>(o.bits));
    PutLe32(out, kBmpCompressionAt, compression);
    PutLe32(out, 34, static_cast<std::uint32_t>(data.size()));
    PutLe32(out, 38, 2835);  // 72 dpi
    PutLe32(out, 42, 2835);
    PutLe32(out, kBmpColorsUsedAt, o.full_palette ? 0 : static_cast<std::uint32_t>(palette_entries));
    PutLe32(out, 50, 0);
    out.resize(14 + header_size, 0);
    const std::size_t masks_at = 54;
    if (bitfields && (header_size >= 52 || masks_after > 0)) {
      out.resize(std::max(out.size(), masks_at + 12), 0);
      for (std::size_t i = 0; i < 3; ++i) PutLe32(out, masks_at + 4 * i, o.masks[i]);
    }
    if (bitfields && header_size >= 56) PutLe32(out, masks_at + 12, o.masks[3]);
    if (header_size >= 108) PutLe32(out, 14 + 56, 0x73524742);  // 'sRGB'
    if (header_size >= 124) PutLe32(out, 14 + 108, 4);         // LCS_GM_IMAGES
  }
  out.resize(14 + header_size + masks_after, 0);
  if (indexed) {
    for (const Rgb& c : indexed->palette()) {
      out.insert(out.end(), {c.b, c.g, c.r});
      if (!core) out.push_back(0);
    }
  }
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

}  // namespace tessmoor::test
