// JPEG through libjpeg (the plain libjpeg API, which libjpeg-turbo provides natively and in the
// static Windows build alike).
//
// libjpeg reports fatal errors through error_exit, which must not return; ours longjmps back to
// DecodeStage. Everything that outlives such a jump (the decompressor, the output picture) lives
// in a JpegSession owned by the caller, so the jump never skips a C++ destructor and never leaves
// a changed local of the jumping frame behind.
//
// Truncated files: a file whose data ends early is shown as far as it goes, the way the usual
// Windows viewers show it, once its header (everything up to the first scan) has been read in
// full; a file whose header cannot be read, or that hits a real decoding error, is kCorrupt.
// libjpeg itself only warns when entropy data ends early, inserts an end-of-image marker and
// fills the rest with flat grey; but a later marker segment cut in half (a progressive file's
// next Huffman table or scan header) is a fatal error, so such a file is decoded once more, cut
// back to the last segment boundary.

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>
#include <optional>
#include <utility>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

#include "platform/image/decode.h"
#include "platform/image/decode_common.h"
#include "platform/image/exif.h"
#include "platform/image/jpeg_segments.h"

namespace tessmoor {
namespace {

using image_detail::Failure;

// A progressive file can repeat scans over the whole picture without end; real encoders use
// about ten.
constexpr int kMaxScans = 500;
// Working memory libjpeg may take beyond the output: a progressive file keeps all its
// coefficients, about 2 bytes per sample.
constexpr long kMaxWorkingMemory = 1L << 30;

struct ErrorManager {
  jpeg_error_mgr pub;  // first, so libjpeg's pointer to it is a pointer to the whole
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  bool ran_out = false;  // the data ended before libjpeg was done with it
};

struct JpegSession {
  jpeg_decompress_struct cinfo{};
  ErrorManager error{};
  jpeg_progress_mgr progress{};
  bool header_read = false;
  int orientation = 1;
  PictureSize stored_size;
  // Rows go straight from libjpeg into the resampler; only the picture at its final size is kept.
  std::optional<RowResampler> rows;
  std::vector<JSAMPLE> row;
  std::vector<std::uint8_t> bgr;  // a CMYK row converted
  // jpeg_destroy_decompress accepts a decompressor that was never created (it checks cinfo.mem).
  ~JpegSession() { jpeg_destroy_decompress(&cinfo); }
};

[[noreturn]] void JumpBack(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
  (*cinfo->err->format_message)(cinfo, reinterpret_cast<ErrorManager*>(cinfo->err)->message);
  JumpBack(cinfo);
}

// Warnings (corrupt entropy data, premature end) are not printed: the decoder runs inside a
// screen saver with no console.
void RecordMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;  // trace messages
  if (cinfo->err->msg_code == JWRN_JPEG_EOF) reinterpret_cast<ErrorManager*>(cinfo->err)->ran_out = true;
  ++cinfo->err->num_warnings;
}
void IgnoreMessage(j_common_ptr) {}

void LimitScans(j_common_ptr cinfo) {
  if (!cinfo->is_decompressor) return;
  if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) {
    auto* error = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::snprintf(error->message, sizeof error->message, "too many progressive scans");
    error->pub.msg_code = 0;
    JumpBack(cinfo);
  }
}

DecodeResult FailureAfterJump(const JpegSession& session) {
  switch (session.error.pub.msg_code) {
    case JERR_OUT_OF_MEMORY:
    case JERR_NO_BACKING_STORE:
    case JERR_IMAGE_TOO_BIG:
    case JERR_WIDTH_OVERFLOW:
      return Failure(DecodeStatus::kTooLarge, std::string("JPEG too large: ") + session.error.message);
    default:
      break;
  }
  return Failure(DecodeStatus::kCorrupt,
                 std::string(session.header_read ? "JPEG data unreadable: " : "JPEG header unreadable: ") +
                     session.error.message);
}

int OrientationFromMarkers(const jpeg_decompress_struct& cinfo) {
  for (jpeg_saved_marker_ptr m = cinfo.marker_list; m != nullptr; m = m->next) {
    if (m->marker != JPEG_APP0 + 1 || m->data == nullptr) continue;
    const int orientation = ExifOrientation({m->data, m->data_length});
    if (orientation != 1) return orientation;
  }
  return 1;
}

bool IsCmyk(J_COLOR_SPACE space) { return space == JCS_CMYK || space == JCS_YCCK; }

#ifdef JCS_EXTENSIONS
constexpr J_COLOR_SPACE kThreeComponentOutput = JCS_EXT_BGR;
#else
constexpr J_COLOR_SPACE kThreeComponentOutput = JCS_RGB;
#endif

// The smallest power-of-two DCT scale whose output still covers `want`: those are the scales
// libjpeg-turbo has SIMD code for (the others decode slower than full size), and the resample
// that follows does the rest.
void ChooseScale(jpeg_decompress_struct& cinfo, PictureSize want) {
  for (unsigned int num : {1u, 2u, 4u}) {
    cinfo.scale_num = num;
    cinfo.scale_denom = 8;
    jpeg_calc_output_dimensions(&cinfo);
    if (static_cast<int>(cinfo.output_width) >= want.width &&
        static_cast<int>(cinfo.output_height) >= want.height) {
      return;
    }
  }
  cinfo.scale_num = 1;
  cinfo.scale_denom = 1;
  jpeg_calc_output_dimensions(&cinfo);
}

// Adobe writes CMYK inverted (255 = no ink); a file without its marker holds plain ink amounts.
void CmykRowToBgr(const JSAMPLE* cmyk, std::uint8_t* bgr, int width, bool inverted) {
  for (int x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
    unsigned c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
    if (!inverted) {
      c = 255 - c;
      m = 255 - m;
      y = 255 - y;
      k = 255 - k;
    }
    bgr[0] = static_cast<std::uint8_t>((y * k + 127) / 255);
    bgr[1] = static_cast<std::uint8_t>((m * k + 127) / 255);
    bgr[2] = static_cast<std::uint8_t>((c * k + 127) / 255);
  }
}

void RgbRowToBgr(std::uint8_t* row, int width) {
  for (int x = 0; x < width; ++x) std::swap(row[x * 3], row[x * 3 + 2]);
}

// Every libjpeg call of a decode is in here, after the setjmp. On kOk every row has gone into
// s.rows, which holds the picture at its final size, still in the file's orientation.
DecodeResult DecodeStage(JpegSession& s, std::span<const std::uint8_t> bytes, DecodeTarget target) {
  jpeg_decompress_struct& cinfo = s.cinfo;
  cinfo.err = jpeg_std_error(&s.error.pub);
  s.error.pub.error_exit = ErrorExit;
  s.error.pub.emit_message = RecordMessage;
  s.error.pub.output_message = IgnoreMessage;
  if (setjmp(s.error.jump)) return FailureAfterJump(s);

  jpeg_create_decompress(&cinfo);
  cinfo.mem->max_memory_to_use = kMaxWorkingMemory;
  s.progress.progress_monitor = LimitScans;
  cinfo.progress = &s.progress;
  jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xFFFF);
  jpeg_read_header(&cinfo, TRUE);
  // libjpeg reads on through a cut with stand-in end-of-image bytes; a header read that way
  // holds made-up values.
  if (s.error.ran_out) return Failure(DecodeStatus::kCorrupt, "JPEG header cut short");
  s.header_read = true;
  if (auto refusal = image_detail::RefuseDeclaredSize(cinfo.image_width, cinfo.image_height)) return *refusal;
  s.orientation = OrientationFromMarkers(cinfo);

  const bool cmyk = IsCmyk(cinfo.jpeg_color_space);
  if (cmyk) {
    cinfo.out_color_space = JCS_CMYK;
  } else if (cinfo.jpeg_color_space == JCS_GRAYSCALE || cinfo.jpeg_color_space == JCS_YCbCr ||
             cinfo.jpeg_color_space == JCS_RGB) {
    cinfo.out_color_space = kThreeComponentOutput;
  } else {
    return Failure(DecodeStatus::kUnsupportedType, "JPEG colour space not supported");
  }
  ChooseScale(cinfo, image_detail::StoredTargetSize(static_cast<int>(cinfo.image_width),
                                                    static_cast<int>(cinfo.image_height), s.orientation,
                                                    target));
  // Rows come out at the scaled size; check it as well as the declared one.
  if (auto refusal = image_detail::RefuseDeclaredSize(cinfo.output_width, cinfo.output_height)) return *refusal;
  jpeg_start_decompress(&cinfo);
  const int width = static_cast<int>(cinfo.output_width);
  const int height = static_cast<int>(cinfo.output_height);
  if (cinfo.output_components != (cmyk ? 4 : 3)) {
    return Failure(DecodeStatus::kUnsupportedType, "JPEG colour conversion not supported");
  }
  s.stored_size = {static_cast<int>(cinfo.image_width), static_cast<int>(cinfo.image_height)};
  s.rows.emplace(image_detail::StoredResampler({width, height}, s.stored_size, s.orientation, target));
  s.row.resize(static_cast<std::size_t>(width) * (cmyk ? 4 : 3));
  if (cmyk) s.bgr.resize(static_cast<std::size_t>(width) * 3);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW target_row = s.row.data();
    if (jpeg_read_scanlines(&cinfo, &target_row, 1) != 1) break;
    if (cmyk) {
      CmykRowToBgr(s.row.data(), s.bgr.data(), width, cinfo.saw_Adobe_marker);
      s.rows->PushRow(s.bgr.data());
      continue;
    }
    if (kThreeComponentOutput == JCS_RGB) RgbRowToBgr(s.row.data(), width);
    s.rows->PushRow(s.row.data());
  }
  // jpeg_finish_decompress is left out on purpose: it would only read on to the end marker,
  // and trailing junk after the last scan is no reason to lose a picture already decoded.
  return DecodeResult{DecodeStatus::kOk, {}, {}};
}

// `cut_short` tells whether the file failed after its header had been read, with its data ending
// before libjpeg was done with it.
DecodeResult DecodeOnce(std::span<const std::uint8_t> bytes, DecodeTarget target, bool& cut_short) {
  JpegSession session;
  DecodeResult stage = DecodeStage(session, bytes, target);
  cut_short = stage.status == DecodeStatus::kCorrupt && session.header_read && session.error.ran_out;
  if (stage.status != DecodeStatus::kOk) return stage;
  return image_detail::FinishRows(*session.rows, session.stored_size, session.orientation);
}

}  // namespace

DecodeResult DecodeJpeg(std::span<const std::uint8_t> file_bytes, DecodeTarget target) {
  if (file_bytes.size() < 2 || file_bytes[0] != 0xFF || file_bytes[1] != 0xD8) {
    return Failure(DecodeStatus::kCorrupt, "not a JPEG file");
  }
  if (file_bytes.size() > std::numeric_limits<unsigned long>::max()) {
    return Failure(DecodeStatus::kTooLarge, "JPEG file too large");
  }
  try {
    bool cut_short = false;
    DecodeResult result = DecodeOnce(file_bytes, target, cut_short);
    if (!cut_short) return result;
    const std::size_t complete = image_detail::JpegCompletePrefix(file_bytes);
    if (complete >= file_bytes.size()) return result;
    DecodeResult retry = DecodeOnce(file_bytes.first(complete), target, cut_short);
    return retry.status == DecodeStatus::kOk ? std::move(retry) : std::move(result);
  } catch (const std::bad_alloc&) {
    return Failure(DecodeStatus::kTooLarge, "not enough memory for the JPEG picture");
  }
}

}  // namespace tessmoor
