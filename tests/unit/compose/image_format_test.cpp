// The formats' extensions and how the compression position reaches each encoder, read back
// from the encoded files themselves.
#include <gtest/gtest.h>

#include "compose/image_file.h"
#include "image_pictures.h"

namespace vlm {
namespace {

TEST(ImageFormat, ExtensionsFollowTheDialogsChoices) {
  EXPECT_EQ(ImageExtension(ifJpeg), L".jpg");
  EXPECT_EQ(ImageExtension(ifBmp), L".bmp");
  EXPECT_EQ(ImageExtension(ifGif), L".gif");
  EXPECT_EQ(ImageExtension(ifPng), L".png");
}

// The first entry of the first quantisation table: 16 in the standard luminance table, scaled.
int FirstLumaQuantizer(const std::vector<std::uint8_t>& jpeg) {
  for (std::size_t i = 2; i + 5 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDB) return jpeg[i + 5];
  return -1;
}

// The compression level class recorded in the zlib stream header (FLEVEL): 0 for levels 0 and
// 1, 1 for 2 to 5, 2 for 6 and 7, 3 for 8 and above.
int DeflateLevelClass(const std::vector<std::uint8_t>& png) {
  for (std::size_t i = 8; i + 9 < png.size(); ++i)
    if (png[i] == 'I' && png[i + 1] == 'D' && png[i + 2] == 'A' && png[i + 3] == 'T')
      return png[i + 5] >> 6;
  return -1;
}

TEST(ImageFormat, CompressionPositionSetsQualityAndLevel) {
  struct TCase {
    int Comp, Quality, Level, FirstQuantizer, LevelClass;
  };
  // Quality 1 scales 16 by 50 and is capped at 255; 10 scales by 5, 60 by 0.8, 90 by 0.2; 100
  // gives 1.
  const TCase cases[] = {{0, 1, 0, 255, 0},  {1, 10, 1, 80, 0},   {6, 60, 6, 13, 2},
                         {9, 90, 8, 3, 3},   {10, 100, 12, 1, 3}, {-1, 1, 0, 255, 0},
                         {11, 100, 12, 1, 3}};
  // A photograph for JPEG; a screenshot for PNG, since a photograph is noise to deflate and is
  // coded as bytes and runs at positions 1 to 9 (see the next test).
  const TBitmapImage photo = test::Photo(64, 48);
  const TBitmapImage screenshot = test::Screenshot(64, 48);
  for (const TCase& c : cases) {
    EXPECT_EQ(JpegQuality(c.Comp), c.Quality) << "position " << c.Comp;
    EXPECT_EQ(PngCompressionLevel(c.Comp, 64 * 48), c.Level) << "position " << c.Comp;
    EXPECT_EQ(FirstLumaQuantizer(EncodeImage(photo, ifJpeg, c.Comp)), c.FirstQuantizer)
        << "position " << c.Comp;
    EXPECT_EQ(DeflateLevelClass(EncodeImage(screenshot, ifPng, c.Comp)), c.LevelClass)
        << "position " << c.Comp;
  }
}

// Beyond Full HD positions 8 and 9 take level 7; the others, and every smaller picture, keep
// theirs. The writer asks with the picture's own size.
TEST(ImageFormat, LargePicturesTakeLevelSevenAtPositionsEightAndNine) {
  constexpr std::uint64_t kFullHd = 1920 * 1080, k4K = 3840 * 2160;
  struct TCase {
    int Comp;
    std::uint64_t Pixels;
    int Level;
  } cases[] = {{9, kFullHd, 8}, {9, kFullHd + 1, 7}, {8, k4K, 7},
               {7, k4K, 7},     {10, k4K, 12},       {1, k4K, 1}};
  for (const TCase& c : cases)
    EXPECT_EQ(PngCompressionLevel(c.Comp, c.Pixels), c.Level)
        << "position " << c.Comp << ", " << c.Pixels << " pixels";
  EXPECT_EQ(DeflateLevelClass(EncodeImage(test::Screenshot(1921, 1080), ifPng, 9)), 2);
  EXPECT_EQ(DeflateLevelClass(EncodeImage(test::Screenshot(1920, 1080), ifPng, 9)), 3);
}

// A photograph's PNG: bytes and runs only at positions 1 to 9 (FLEVEL 0, the same file at
// each), the weighing levels above them, never larger as the position rises.
TEST(ImageFormat, PhotographsInPngShrinkAsThePositionRises) {
  const TBitmapImage photo = test::Photo(160, 90);
  const std::vector<std::uint8_t> at1 = EncodeImage(photo, ifPng, 1);
  EXPECT_EQ(DeflateLevelClass(at1), 0);
  EXPECT_EQ(EncodeImage(photo, ifPng, 9), at1);
  const std::vector<std::uint8_t> at10 = EncodeImage(photo, ifPng, 10);
  EXPECT_EQ(DeflateLevelClass(at10), 3);
  EXPECT_LE(at10.size(), at1.size());
  EXPECT_LT(at1.size(), EncodeImage(photo, ifPng, 0).size());
}

TEST(ImageFormat, PositionZeroStoresThePngAndNineCompressesIt) {
  const TBitmapImage image = test::Screenshot(200, 100);
  const std::size_t raw = (200 * 3 + 1) * 100;
  EXPECT_GT(EncodeImage(image, ifPng, 0).size(), raw);
  EXPECT_LT(EncodeImage(image, ifPng, 9).size(), raw / 10);
}

TEST(ImageFormat, EachFormatWritesItsOwnSignature) {
  struct TCase {
    TImageFormat Format;
    std::string Signature;
  };
  const TCase cases[] = {
      {ifJpeg, "\xFF\xD8\xFF"}, {ifBmp, "BM"}, {ifGif, "GIF89a"}, {ifPng, "\x89PNG\r\n\x1A\n"}};
  const TBitmapImage image = test::Screenshot(40, 30);
  for (const TCase& c : cases) {
    const std::vector<std::uint8_t> bytes = EncodeImage(image, c.Format, 9);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + static_cast<long>(c.Signature.size())),
              c.Signature)
        << "format " << c.Format;
  }
}

}  // namespace
}  // namespace vlm
