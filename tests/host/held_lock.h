#pragma once
// One scope's hold on a lock that several of the host's threads share (the cross toolchain's
// threading model has no std::mutex).
#include <windows.h>

namespace host {

class HeldLock {
 public:
  explicit HeldLock(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
  ~HeldLock() { ReleaseSRWLockExclusive(&lock_); }
  HeldLock(const HeldLock&) = delete;
  HeldLock& operator=(const HeldLock&) = delete;

 private:
  SRWLOCK& lock_;
};

}  // namespace host
