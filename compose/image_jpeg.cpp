#include "compose/image_jpeg.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

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

// Compresses the picture into a buffer that libjpeg allocates with malloc (`*out`, `*size`).
// Holds no object with a destructor between setjmp and the last library call, so a jump back
// skips nothing. False after a library error, whose text is then in errors.Message.
bool Compress(jpeg_compress_struct& cinfo, TJpegErrors& errors, const TBitmapImage& image,
              int quality, unsigned char** out, unsigned long* size) {
  if (setjmp(errors.Jump)) return false;
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, out, size);
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

// The compressor's state and the buffer libjpeg allocated, released whichever way Compress ends.
struct TJpegCompressor {
  jpeg_compress_struct Info{};
  TJpegErrors Errors;
  unsigned char* Out = nullptr;
  unsigned long Size = 0;

  TJpegCompressor() {
    Info.err = jpeg_std_error(&Errors.Manager);
    Errors.Manager.error_exit = ExitOnError;
  }
  ~TJpegCompressor() {
    jpeg_destroy_compress(&Info);
    std::free(Out);
  }
  TJpegCompressor(const TJpegCompressor&) = delete;
  TJpegCompressor& operator=(const TJpegCompressor&) = delete;
};

}  // namespace

std::vector<std::uint8_t> EncodeJpeg(const TBitmapImage& image, int quality) {
  image.Validate();
  if (image.Width > JPEG_MAX_DIMENSION || image.Height > JPEG_MAX_DIMENSION)
    throw EImageEncode("the picture is too large for JPEG");
  TJpegCompressor jpeg;
  if (!Compress(jpeg.Info, jpeg.Errors, image, std::clamp(quality, 1, 100), &jpeg.Out, &jpeg.Size))
    throw EImageEncode(std::string("JPEG encoding failed: ") + jpeg.Errors.Message);
  return std::vector<std::uint8_t>(jpeg.Out, jpeg.Out + jpeg.Size);
}

}  // namespace vlm
