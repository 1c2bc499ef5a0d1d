#include "compose/image_jpeg.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <exception>

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

// libjpeg's output through a buffer of our own to the caller's sink, as cjpeg writes through
// stdio.
struct TSinkDestination {
  jpeg_destination_mgr Manager{};  // first: libjpeg hands the callbacks a pointer to it
  const TByteSink* Sink = nullptr;
  std::vector<std::uint8_t> Buffer = std::vector<std::uint8_t>(64 * 1024);
  // What the sink threw: an exception cannot pass through libjpeg's frames, so it is carried
  // past them and thrown again once the library has given up.
  std::exception_ptr Failure;

  static TSinkDestination& Of(j_compress_ptr cinfo) {
    return *reinterpret_cast<TSinkDestination*>(cinfo->dest);
  }
  static void Start(j_compress_ptr cinfo) {
    TSinkDestination& to = Of(cinfo);
    to.Manager.next_output_byte = to.Buffer.data();
    to.Manager.free_in_buffer = to.Buffer.size();
  }
  // Called with the whole buffer full.
  static boolean Empty(j_compress_ptr cinfo) {
    Pass(cinfo, Of(cinfo).Buffer.size());
    Start(cinfo);
    return TRUE;
  }
  static void Finish(j_compress_ptr cinfo) {
    TSinkDestination& to = Of(cinfo);
    Pass(cinfo, to.Buffer.size() - to.Manager.free_in_buffer);
  }
  static void Pass(j_compress_ptr cinfo, std::size_t size) {
    TSinkDestination& to = Of(cinfo);
    try {
      (*to.Sink)(to.Buffer.data(), size);
    } catch (...) {
      to.Failure = std::current_exception();
    }
    // Outside the handler: the error jumps back to Compress.
    if (to.Failure) ERREXIT(cinfo, JERR_FILE_WRITE);
  }
};

// Compresses the picture into `to`. Holds no object with a destructor between setjmp and the last
// library call, so a jump back skips nothing. False after a library error, whose text is then in
// errors.Message.
bool Compress(jpeg_compress_struct& cinfo, TJpegErrors& errors, const TBitmapImage& image,
              int quality, TSinkDestination& to) {
  if (setjmp(errors.Jump)) return false;
  jpeg_create_compress(&cinfo);
  to.Manager.init_destination = TSinkDestination::Start;
  to.Manager.empty_output_buffer = TSinkDestination::Empty;
  to.Manager.term_destination = TSinkDestination::Finish;
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

void EncodeJpeg(const TBitmapImage& image, int quality, const TByteSink& sink) {
  image.Validate();
  if (image.Width > JPEG_MAX_DIMENSION || image.Height > JPEG_MAX_DIMENSION)
    throw EImageEncode("the picture is too large for JPEG");
  TJpegCompressor jpeg;
  TSinkDestination to;
  to.Sink = &sink;
  if (!Compress(jpeg.Info, jpeg.Errors, image, std::clamp(quality, 1, 100), to)) {
    if (to.Failure) std::rethrow_exception(to.Failure);
    throw EImageEncode(std::string("JPEG encoding failed: ") + jpeg.Errors.Message);
  }
}

std::vector<std::uint8_t> EncodeJpeg(const TBitmapImage& image, int quality) {
  return CollectBytes([&](const TByteSink& sink) { EncodeJpeg(image, quality, sink); });
}

}  // namespace vlm
