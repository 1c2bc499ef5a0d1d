#pragma once
// What an archiver reports while it works. The Windows side turns each report into the
// "wm_arcextract" message for an owner window and each member into an enumeration callback.
#include <cstdint>
#include <string>

namespace standin {

// States of the progress message (its wParam).
enum ProgressState : unsigned {
  kStateBegin = 0,      // a member is about to be processed
  kStateInProcess = 1,  // a member is being written
  kStateEnd = 2,        // the whole command has finished
  kStateOpen = 3,       // the archive was opened
};

struct ProgressRecord {
  std::uint32_t fileSize = 0;
  std::uint32_t writeSize = 0;
  std::string sourceName;  // ANSI: the file read (packing) or the member read (unpacking)
  std::string destName;    // ANSI: the member written (packing) or the file written (unpacking)
  std::uint32_t compressedSize = 0;
  std::uint32_t crc = 0;
  std::uint16_t ratio = 0;  // per mille
  std::uint16_t dosDate = 0;
  std::uint16_t dosTime = 0;
  std::string attribute;
  std::string mode;
};

class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  // Returns true when the receiver asks to stop.
  virtual bool Report(ProgressState state, const ProgressRecord& record) = 0;
  // A member about to be packed; returns false when the receiver asks to stop.
  virtual bool Enumerate(const ProgressRecord&) { return true; }
};

class SilentProgress : public ProgressSink {
 public:
  bool Report(ProgressState, const ProgressRecord&) override { return false; }
};

}  // namespace standin
