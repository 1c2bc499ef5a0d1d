#pragma once
// The command builder of each archive format.
#include <memory>

#include "archiver/archiver_commands.h"

namespace vlm {

// The builder for `type`, or null for the types without an archiver class (atGCA, atBel,
// atNone, atAutoDetect). `platform` must outlive the builder.
std::unique_ptr<TArchiverCommands> CreateArchiverCommands(TArchiverType type,
                                                          const TArchiverPlatform& platform);

}  // namespace vlm
