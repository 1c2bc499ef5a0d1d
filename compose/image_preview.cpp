#include "compose/image_preview.h"

namespace vlm {

bool PreviewStretch(int pictureWidth, int pictureHeight, int boxWidth, int boxHeight) {
  return pictureHeight > boxHeight && pictureWidth > boxWidth;
}

TPreviewRect PreviewRect(int pictureWidth, int pictureHeight, int boxWidth, int boxHeight,
                         bool stretch) {
  int w = pictureWidth, h = pictureHeight;
  if (w > 0 && h > 0 && (stretch || w > boxWidth || h > boxHeight)) {
    // Fit the width first; a picture that then runs over the height fits the height instead.
    // 64-bit products keep large pictures from overflowing.
    w = boxWidth;
    h = static_cast<int>(static_cast<long long>(pictureHeight) * boxWidth / pictureWidth);
    if (h > boxHeight) {
      h = boxHeight;
      w = static_cast<int>(static_cast<long long>(pictureWidth) * boxHeight / pictureHeight);
    }
  }
  return {(boxWidth - w) / 2, (boxHeight - h) / 2, w, h};
}

}  // namespace vlm
