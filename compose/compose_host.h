#pragma once
// What the drop handling asks of the host: its compose windows and status line (through
// Velmora's own exports), its temporary folder and its sending setting. The Windows side binds
// these to the host; tests record them.
#include <string>

#include "base/host_api.h"

namespace vlm {

class TComposeHost {
 public:
  virtual ~TComposeHost() = default;
  // Opens a compose window with the file attached; no window when the host could not open one,
  // and nothing was attached then.
  virtual HostWnd ComposeMail(const std::wstring& body, const std::wstring& path) = 0;
  virtual void CompAttachFile(HostWnd window, const std::wstring& body,
                              const std::wstring& path) = 0;
  virtual void SetMessageText(HostWnd window, const std::wstring& text) = 0;
  // Refreshes the settings form's TempFolder from the host.
  virtual void RefreshTempFolder() = 0;
  // The host splits large messages when it sends them; may throw when its settings are missing.
  virtual bool PartialSending() = 0;
  // Lets the host's window breathe for `milliseconds` while pending messages are processed.
  virtual void PauseWithMessages(int milliseconds) = 0;
  // Processes the pending messages once, so that a long walk of a folder does not freeze the host.
  virtual void KeepResponsive() = 0;
};

}  // namespace vlm
