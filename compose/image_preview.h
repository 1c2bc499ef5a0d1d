#pragma once
// Where the pasted-image dialog draws the picture inside its preview: centred and proportional,
// a picture larger than the preview in either dimension shrunk to fit, a smaller one shown at its
// own size.
namespace vlm {

struct TPreviewRect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
};

// The stretch setting the dialog takes on opening: on only when the picture is both wider and
// taller than the preview. It is not recomputed when the picture is edited.
bool PreviewStretch(int pictureWidth, int pictureHeight, int boxWidth, int boxHeight);

// With `stretch` on, or for a picture larger than the box in either dimension, the picture is
// scaled to the largest size of its proportions that fits the box; otherwise it keeps its size.
TPreviewRect PreviewRect(int pictureWidth, int pictureHeight, int boxWidth, int boxHeight,
                         bool stretch);

}  // namespace vlm
