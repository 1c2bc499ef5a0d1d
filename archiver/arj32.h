#pragma once
// ARJ archives through UNARJ32J.DLL, which takes the LHA command set and switch order.
#include "archiver/lha32.h"

namespace vlm {

class TArj32 : public TLha32 {
 public:
  using TLha32::TLha32;
  TArchiverType ArchiverType() const override { return atArj; }
};

}  // namespace vlm
