// Writing the picture to a file: the finished file appears only under its name, a failed write
// leaves nothing behind, and standard tools (ImageMagick) read every format we write.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "base/files.h"
#include "archiver/archiver_errors.h"
#include "compose/image_file.h"
#include "compose/image_jpeg.h"
#include "image_pictures.h"
#include "tests/support/scratch_folder.h"

namespace vlm {
namespace {

namespace fs = std::filesystem;

// A JPEG goes to the file as libjpeg makes it, in pieces of 64 KB: this picture takes several.
TEST(ImageFile, WritesTheEncodingAndReplacesAnEarlierFile) {
  test::TScratchFolder folder;
  const TBitmapImage image = test::Noise(640, 480, 256, 7);
  for (const auto& [format, name] :
       {std::pair{ifPng, "Image.png"}, std::pair{ifJpeg, "Image.jpg"}}) {
    const fs::path target = folder.Path() / name;
    std::ofstream(target) << "an older picture";
    WriteImageFile(image, format, 9, target.wstring());
    const std::vector<std::uint8_t> expected = EncodeImage(image, format, 9);
    EXPECT_GT(expected.size(), format == ifJpeg ? 2 * 64 * 1024u : 0u);
    EXPECT_EQ(test::ReadFile(target), std::string(expected.begin(), expected.end())) << name;
  }
  std::vector<std::string> names = folder.Names();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Image.jpg", "Image.png"}));
}

// What the JPEG writer's sink throws ends the encoding and comes out as it was thrown.
TEST(ImageFile, AFailingJpegSinkEndsTheEncoding) {
  struct TFull {};
  int pieces = 0;
  EXPECT_THROW(EncodeJpeg(test::Noise(640, 480, 256, 7), 90,
                          [&](const std::uint8_t*, std::size_t) {
                            if (++pieces == 2) throw TFull{};
                          }),
               TFull);
  EXPECT_EQ(pieces, 2);
}

TEST(ImageFile, FailedWritesLeaveTheTargetAndNoPartialFile) {
  test::TScratchFolder folder;
  const fs::path target = folder.Path() / "Image.jpg";
  std::ofstream(target) << "kept";
  TBitmapImage broken = test::Photo(8, 8);
  broken.Pixels.resize(3);
  EXPECT_THROW(WriteImageFile(broken, ifJpeg, 9, target.wstring()), EImageEncode);
  EXPECT_THROW(WriteImageFile(test::Photo(8, 8), ifJpeg, 9,
                              (folder.Path() / "missing" / "Image.jpg").wstring()),
               EFileError);
  EXPECT_EQ(test::ReadFile(target), "kept");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"Image.jpg"});
}

// ImageMagick's view of a file: its format and size from identify, its pixels from convert.
struct TMagickView {
  std::string Identity;
  test::TRgb Rgb;
};

TMagickView AskImageMagick(const fs::path& file) {
  TMagickView view;
  const fs::path info = file.string() + ".txt", ppm = file.string() + ".ppm";
  const std::string quoted = "'" + file.string() + "'";
  if (std::system(
          ("identify -format '%m %wx%h' " + quoted + " > '" + info.string() + "' 2>&1").c_str()) ==
      0)
    view.Identity = test::ReadFile(info);
  if (std::system(
          ("convert " + quoted + " -depth 8 ppm:'" + ppm.string() + "' 2>/dev/null").c_str()) ==
      0) {
    const std::string bytes = test::ReadFile(ppm);
    // "P6\n<w> <h>\n255\n" then the pixels.
    std::size_t at = 0;
    for (int fields = 0; fields < 4 && at < bytes.size(); ++at)
      if (bytes[at] == '\n' || bytes[at] == ' ') ++fields;
    view.Rgb.assign(bytes.begin() + static_cast<long>(at), bytes.end());
  }
  return view;
}

TEST(ImageFile, ImageMagickReadsEveryFormat) {
  if (std::system("command -v convert >/dev/null && command -v identify >/dev/null") != 0)
    GTEST_SKIP() << "ImageMagick is not installed";
  struct TCase {
    TImageFormat Format;
    const char* Name;
    const char* Identity;
    double MinPsnr;  // 99: identical
  };
  const TCase cases[] = {{ifBmp, "a.bmp", "BMP3 123x77", 99},
                         {ifPng, "a.png", "PNG 123x77", 99},
                         {ifJpeg, "a.jpg", "JPEG 123x77", 30},
                         {ifGif, "a.gif", "GIF 123x77", 28}};
  test::TScratchFolder folder;
  for (const TBitmapImage& image : {test::Photo(123, 77, 32), test::Screenshot(123, 77)}) {
    for (const TCase& c : cases) {
      const fs::path file = folder.Path() / c.Name;
      WriteImageFile(image, c.Format, 9, file.wstring());
      const TMagickView view = AskImageMagick(file);
      EXPECT_EQ(view.Identity, c.Identity);
      EXPECT_GE(test::Psnr(view.Rgb, test::RgbOf(image)), c.MinPsnr) << c.Name;
    }
  }
}

}  // namespace
}  // namespace vlm
