#include "archiver/archiver_factory.h"

#include "archiver/arj32.h"
#include "archiver/bga32.h"
#include "archiver/cab32.h"
#include "archiver/lha32.h"
#include "archiver/rar32.h"
#include "archiver/seven_zip32.h"
#include "archiver/tar32.h"
#include "archiver/yz1.h"
#include "archiver/zip32.h"

namespace vlm {

std::unique_ptr<TArchiverCommands> CreateArchiverCommands(TArchiverType type,
                                                          const TArchiverPlatform& platform) {
  switch (type) {
    case atLha:
      return std::make_unique<TLha32>(platform);
    case atZip:
      return std::make_unique<TZip32>(platform);
    case atCab:
      return std::make_unique<TCab32>(platform);
    case atArj:
      return std::make_unique<TArj32>(platform);
    case atTar:
      return std::make_unique<TTar32>(platform);
    case atTgz:
      return std::make_unique<TTgz32>(platform);
    case atBZ2:
      return std::make_unique<TBZ232>(platform);
    case atRar:
      return std::make_unique<TRar32>(platform);
    case atBga:
      return std::make_unique<TBGA32>(platform);
    case atYz1:
      return std::make_unique<TYZ1>(platform);
    case at7z:
      return std::make_unique<TSevenZip32>(platform);
    case atGCA:
    case atBel:
    case atNone:
    case atAutoDetect:
      break;
  }
  return nullptr;
}

}  // namespace vlm
