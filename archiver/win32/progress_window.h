#pragma once
// The hidden window an archiver DLL sends its progress to: the registered message
// "wm_arcextract" with the state in wParam and a TExtractingInfoEx in lParam; a nonzero answer
// stops the command. The DLL sends it from inside its own call, on the caller's thread.
#include <windows.h>

#include <functional>

#include "archiver/win32/archiver_records.h"

namespace vlm {

// The number of "wm_arcextract", registered on first use.
UINT ArcExtractMessage();

class TProgressWindow {
 public:
  // Called for each progress message; answers true to stop the command.
  using THandler = std::function<bool(int state, LPEXTRACTINGINFOEX info)>;

  explicit TProgressWindow(THandler handler);
  ~TProgressWindow();
  TProgressWindow(const TProgressWindow&) = delete;
  TProgressWindow& operator=(const TProgressWindow&) = delete;

  HWND Handle() const { return FHandle; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  THandler FHandler;
  HWND FHandle = nullptr;
};

}  // namespace vlm
