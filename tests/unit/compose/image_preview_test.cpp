// Where the preview draws a picture in the dialog's 452 x 285 image area.
#include <gtest/gtest.h>

#include <array>

#include "compose/image_preview.h"

namespace vlm {
namespace {

struct Case {
  int width, height;
  bool stretch;  // as given, not as the dialog would compute it
  TPreviewRect expected;
};

TEST(ImagePreview, CentredProportionalNeverEnlarged) {
  constexpr int kBoxW = 452, kBoxH = 285;
  const Case cases[] = {
      {100, 50, false, {176, 117, 100, 50}},  // own size, centred
      {452, 285, false, {0, 0, 452, 285}},    // exactly fits
      {1000, 800, true, {48, 0, 356, 285}},   // both larger: height limits
      {1000, 100, false, {0, 120, 452, 45}},  // only wider: still shrunk, width limits
      {100, 1000, false, {212, 0, 28, 285}},  // only taller
      {226, 100, true, {0, 42, 452, 200}},    // stretch left on after an edit enlarges
      {0, 0, false, {226, 142, 0, 0}},
  };
  for (const Case& c : cases) {
    const TPreviewRect r = PreviewRect(c.width, c.height, kBoxW, kBoxH, c.stretch);
    EXPECT_EQ((std::array{r.Left, r.Top, r.Width, r.Height}),
              (std::array{c.expected.Left, c.expected.Top, c.expected.Width, c.expected.Height}))
        << c.width << "x" << c.height << " stretch " << c.stretch;
  }
}

TEST(ImagePreview, StretchOnlyWhenBothDimensionsExceed) {
  EXPECT_TRUE(PreviewStretch(1000, 800, 452, 285));
  EXPECT_FALSE(PreviewStretch(1000, 100, 452, 285));
  EXPECT_FALSE(PreviewStretch(100, 1000, 452, 285));
  EXPECT_FALSE(PreviewStretch(452, 285, 452, 285));
}

}  // namespace
}  // namespace vlm
