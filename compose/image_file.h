#pragma once
// Encoding the pasted picture in the chosen format, into memory (to measure its size) or into a
// file. A file is written under a temporary name beside it and renamed into place only once it
// is complete, so a failed or interrupted write never leaves a half image to be attached.
#include <cstdint>
#include <string>
#include <vector>

#include "compose/image_bitmap.h"
#include "compose/image_format.h"

namespace vlm {

// Raises EImageEncode for a picture the format cannot hold.
std::vector<std::uint8_t> EncodeImage(const TBitmapImage& image, TImageFormat format, int comp);

// Replaces `fileName` with the encoded picture. Raises EImageEncode as above, and EFileError
// when the file cannot be written; `fileName` is then untouched.
void WriteImageFile(const TBitmapImage& image, TImageFormat format, int comp,
                    const std::wstring& fileName);

}  // namespace vlm
