#pragma once
// The settings form's archive component as the form stores it.
#include <memory>

#include "archiver/win32/archive_file.h"

namespace vlm {

// FileName " ", OutputSize 0, format guessed when an operation starts; options w, jo, job, jz,
// gr, gyd, gye, gyt and gyw "-1" (a value: those switches are emitted), x 0, jyc -1, response
// file allowed for packing, unpacking and removing, streams not included, separator ";#".
std::unique_ptr<TArchiveFile> CreateFormArchiveFile();

}  // namespace vlm
