#include "compose/image_jpeg.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <utility>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>
// After jpeglib.h: ERREXIT and the error codes.
#include <jerror.h>

namespace vlm {
namespace {

// libjpeg reports a fatal error through error_exit, which must not return. It jumps back to the
// setjmp in Compress: unwinding a C++ exception through the library's C frames is not possible.
struct TJpegErrors {
  jpeg_error_mgr Manager{};
  std::jmp_buf Jump{};
  char Message[JMSG_LENGTH_MAX] = {};
};

void ExitOnError(j_common_ptr cinfo) {
  auto* errors = reinterpret_cast<TJpegErrors*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, errors->Message);
  std::longjmp(errors->Jump, 1);
}

// libjpeg's output straight into a vector that doubles when full. The library's own memory
// destination starts at 4 KB, doubles by copying into fresh allocations and would still have to
// be copied into the result: together about three times the file's bytes written to new pages.
struct TVectorDestination {
  jpeg_destination_mgr Manager{};  // first: libjpeg hands the callbacks a pointer to it
  std::vector<std::uint8_t> Bytes;

  static TVectorDestination& Of(j_compress_ptr cinfo) {
    return *reinterpret_cast<TVectorDestination*>(cinfo->dest);
  }
  static void Start(j_compress_ptr cinfo) {
    TVectorDestination& to = Of(cinfo);
    to.Manager.next_output_byte = to.Bytes.data();
    to.Manager.free_in_buffer = to.Bytes.size();
  }
  // Called with the whole vector full. An exception cannot pass through libjpeg's frames, so a
  // failed allocation becomes the library's own out-of-memory error.
  static boolean Grow(j_compress_ptr cinfo) {
    TVectorDestination& to = Of(cinfo);
    const std::size_t used = to.Bytes.size();
    bool grown = true;
    try {
      to.Bytes.resize(used * 2);
    } catch (const std::bad_alloc&) {
      grown = false;
    }
    if (!grown) ERREXIT(cinfo, JERR_OUT_OF_MEMORY);
    to.Manager.next_output_byte = to.Bytes.data() + used;
    to.Manager.free_in_buffer = to.Bytes.size() - used;
    return TRUE;
  }
  static void Finish(j_compress_ptr cinfo) {
    TVectorDestination& to = Of(cinfo);
    to.Bytes.resize(to.Bytes.size() - to.Manager.free_in_buffer);
  }
};

// A first guess at the file's size: quality 90 codes a 4K screenshot in about a quarter of a
// byte per channel byte, so one byte in eight rarely has to grow, and small pictures start small.
std::size_t FirstOutputSize(const TBitmapImage& image) {
  return std::max<std::size_t>(
      4096, static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height) * 3 / 8);
}

// Compresses the picture into `to`. Holds no object with a destructor between setjmp and the last
// library call, so a jump back skips nothing. False after a library error, whose text is then in
// errors.Message.
bool Compress(jpeg_compress_struct& cinfo, TJpegErrors& errors, const TBitmapImage& image,
              int quality, TVectorDestination& to) {
  if (setjmp(errors.Jump)) return false;
  jpeg_create_compress(&cinfo);
  to.Manager.init_destination = TVectorDestination::Start;
  to.Manager.empty_output_buffer = TVectorDestination::Grow;
  to.Manager.term_destination = TVectorDestination::Finish;
  cinfo.dest = &to.Manager;
  cinfo.image_width = static_cast<JDIMENSION>(image.Width);
  cinfo.image_height = static_cast<JDIMENSION>(image.Height);
  // The clipboard's blue, green, red (and unused) bytes go in as they are.
  cinfo.input_components = image.BytesPerPixel();
  cinfo.in_color_space = image.BitsPerPixel == 32 ? JCS_EXT_BGRX : JCS_EXT_BGR;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  constexpr int kRowsPerCall = 16;  // one row of 4:2:0 blocks
  JSAMPROW rows[kRowsPerCall];
  while (cinfo.next_scanline < cinfo.image_height) {
    const int first = static_cast<int>(cinfo.next_scanline);
    const int count = std::min(kRowsPerCall, image.Height - first);
    for (int i = 0; i < count; ++i)
      rows[i] = const_cast<JSAMPROW>(image.Row(first + i));  // libjpeg only reads them
    jpeg_write_scanlines(&cinfo, rows, static_cast<JDIMENSION>(count));
  }
  jpeg_finish_compress(&cinfo);
  return true;
}

// The compressor's state, released whichever way Compress ends.
struct TJpegCompressor {
  jpeg_compress_struct Info{};
  TJpegErrors Errors;

  TJpegCompressor() {
    Info.err = jpeg_std_error(&Errors.Manager);
    Errors.Manager.error_exit = ExitOnError;
  }
  ~TJpegCompressor() { jpeg_destroy_compress(&Info); }
  TJpegCompressor(const TJpegCompressor&) = delete;
  TJpegCompressor& operator=(const TJpegCompressor&) = delete;
};

}  // namespace

std::vector<std::uint8_t> EncodeJpeg(const TBitmapImage& image, int quality) {
  image.Validate();
  if (image.Width > JPEG_MAX_DIMENSION || image.Height > JPEG_MAX_DIMENSION)
    throw EImageEncode("the picture is too large for JPEG");
  TJpegCompressor jpeg;
  TVectorDestination to;
  to.Bytes.resize(FirstOutputSize(image));
  if (!Compress(jpeg.Info, jpeg.Errors, image, std::clamp(quality, 1, 100), to))
    throw EImageEncode(std::string("JPEG encoding failed: ") + jpeg.Errors.Message);
  return std::move(to.Bytes);
}

}  // namespace vlm
