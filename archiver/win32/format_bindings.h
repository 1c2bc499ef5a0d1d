#pragma once
// One DLL binding per archive format for the whole process, created and loaded on first use and
// then shared by every archiver object of the format (TAR, TGZ and BZ2 share TAR32.DLL's).
// Nothing frees them: a loaded archiver DLL stays loaded until the process ends.
#include "archiver/archiver_types.h"
#include "archiver/win32/custom_archiver_dll.h"
#include "archiver/win32/zip_dll.h"

namespace vlm::win {

// The binding of `type`'s DLL, loaded. Throws ENoArchiverDLL when the DLL cannot be loaded
// (EArchiver naming both candidates for YZ1); the ZIP binding never fails to load. `type` must
// be a format with an archiver class.
TCustomArchiverDll& LoadFormatDll(TArchiverType type);

// The ZIP binding when one was made, else null.
const TZipBinding* ZipBinding();

}  // namespace vlm::win
