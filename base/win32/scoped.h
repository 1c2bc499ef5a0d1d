#pragma once
// Owning wrappers for Windows handles: each closes its handle once, and none can be copied.
#include <windows.h>

#include <utility>

namespace vlm::win {

// Traits: `Handle`, `static Handle Invalid()`, `static void Close(Handle)`.
template <typename Traits>
class TScoped {
 public:
  using Handle = typename Traits::Handle;
  TScoped() = default;
  explicit TScoped(Handle h) : handle_(h) {}
  TScoped(const TScoped&) = delete;
  TScoped& operator=(const TScoped&) = delete;
  TScoped(TScoped&& other) noexcept : handle_(std::exchange(other.handle_, Traits::Invalid())) {}
  TScoped& operator=(TScoped&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, Traits::Invalid()));
    return *this;
  }
  ~TScoped() { reset(); }

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
struct TNullInvalid {
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

struct TFindTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { FindClose(h); }
};

using TScopedKey = TScoped<TNullInvalid<HKEY, CloseKey>>;
using TScopedHandle = TScoped<TNullInvalid<HANDLE, CloseKernelHandle>>;
using TScopedFindHandle = TScoped<TFindTraits>;
using TScopedGdiObject = TScoped<TNullInvalid<HGDIOBJ, DeleteGdiObject>>;
// Never let this run from DllMain or a global destructor: FreeLibrary under the loader lock
// can deadlock.
using TScopedModule = TScoped<TNullInvalid<HMODULE, UnloadModule>>;

// A window's device context, released to the same window: its client area (GetDC), or with
// WholeWindow the frame as well (GetWindowDC).
class TScopedWindowDC {
 public:
  explicit TScopedWindowDC(HWND window) : TScopedWindowDC(window, GetDC(window)) {}
  static TScopedWindowDC WholeWindow(HWND window) {
    return TScopedWindowDC(window, GetWindowDC(window));
  }
  TScopedWindowDC(const TScopedWindowDC&) = delete;
  TScopedWindowDC& operator=(const TScopedWindowDC&) = delete;
  ~TScopedWindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  [[nodiscard]] HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  TScopedWindowDC(HWND window, HDC dc) : window_(window), dc_(dc) {}
  HWND window_;
  HDC dc_;
};

// An object selected into a device context; the one it replaced goes back on leaving.
class TScopedSelection {
 public:
  TScopedSelection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  TScopedSelection(const TScopedSelection&) = delete;
  TScopedSelection& operator=(const TScopedSelection&) = delete;
  ~TScopedSelection() {
    if (old_) SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// The clipboard, open for this thread while the object lives. Another program may hold it: check
// opened() before reading.
class TScopedClipboard {
 public:
  explicit TScopedClipboard(HWND owner) : opened_(OpenClipboard(owner) != FALSE) {}
  TScopedClipboard(const TScopedClipboard&) = delete;
  TScopedClipboard& operator=(const TScopedClipboard&) = delete;
  ~TScopedClipboard() {
    if (opened_) CloseClipboard();
  }
  [[nodiscard]] bool opened() const { return opened_; }

 private:
  bool opened_;
};

}  // namespace vlm::win
