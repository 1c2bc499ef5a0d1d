#pragma once
// Owning wrappers for Windows handles: each closes its handle once, and none can be copied.
#include <windows.h>

#include <utility>

namespace vlm::win {

// Traits: `Handle`, `static Handle Invalid()`, `static void Close(Handle)`.
template <typename Traits>
class Scoped {
 public:
  using Handle = typename Traits::Handle;
  Scoped() = default;
  explicit Scoped(Handle h) : handle_(h) {}
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;
  Scoped(Scoped&& other) noexcept : handle_(std::exchange(other.handle_, Traits::Invalid())) {}
  Scoped& operator=(Scoped&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, Traits::Invalid()));
    return *this;
  }
  ~Scoped() { reset(); }

  [[nodiscard]] Handle get() const { return handle_; }
  [[nodiscard]] bool valid() const { return handle_ != Traits::Invalid(); }
  explicit operator bool() const { return valid(); }
  Handle release() { return std::exchange(handle_, Traits::Invalid()); }
  void reset(Handle h = Traits::Invalid()) {
    if (valid()) Traits::Close(handle_);
    handle_ = h;
  }

 private:
  Handle handle_ = Traits::Invalid();
};

template <typename H, auto CloseFn>
struct NullInvalid {
  using Handle = H;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { CloseFn(h); }
};

inline void CloseKey(HKEY key) {
  RegCloseKey(key);
}
inline void CloseKernelHandle(HANDLE h) {
  CloseHandle(h);
}
inline void DeleteGdiObject(HGDIOBJ h) {
  DeleteObject(h);
}
inline void UnloadModule(HMODULE m) {
  FreeLibrary(m);
}

struct FindTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { FindClose(h); }
};

using ScopedKey = Scoped<NullInvalid<HKEY, CloseKey>>;
using ScopedHandle = Scoped<NullInvalid<HANDLE, CloseKernelHandle>>;
using ScopedFindHandle = Scoped<FindTraits>;
using ScopedGdiObject = Scoped<NullInvalid<HGDIOBJ, DeleteGdiObject>>;
// Never let this run from DllMain or a global destructor: FreeLibrary under the loader lock
// can deadlock.
using ScopedModule = Scoped<NullInvalid<HMODULE, UnloadModule>>;

// A window's device context, released to the same window: its client area (GetDC), or with
// WholeWindow the frame as well (GetWindowDC).
class ScopedWindowDC {
 public:
  explicit ScopedWindowDC(HWND window) : ScopedWindowDC(window, GetDC(window)) {}
  static ScopedWindowDC WholeWindow(HWND window) {
    return ScopedWindowDC(window, GetWindowDC(window));
  }
  ScopedWindowDC(const ScopedWindowDC&) = delete;
  ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;
  ~ScopedWindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  [[nodiscard]] HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  ScopedWindowDC(HWND window, HDC dc) : window_(window), dc_(dc) {}
  HWND window_;
  HDC dc_;
};

// An object selected into a device context; the one it replaced goes back on leaving.
class ScopedSelection {
 public:
  ScopedSelection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ScopedSelection(const ScopedSelection&) = delete;
  ScopedSelection& operator=(const ScopedSelection&) = delete;
  ~ScopedSelection() {
    if (old_) SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// The clipboard, open for this thread while the object lives. Another program may hold it: check
// opened() before reading.
class ScopedClipboard {
 public:
  explicit ScopedClipboard(HWND owner) : opened_(OpenClipboard(owner) != FALSE) {}
  ScopedClipboard(const ScopedClipboard&) = delete;
  ScopedClipboard& operator=(const ScopedClipboard&) = delete;
  ~ScopedClipboard() {
    if (opened_) CloseClipboard();
  }
  [[nodiscard]] bool opened() const { return opened_; }

 private:
  bool opened_;
};

}  // namespace vlm::win
