#include "sendcheck/win32/outgoing_check.h"

#include "base/plugin_state.h"
#include "base/settings_form.h"
#include "base/win32/app_window.h"
#include "base/win32/host_registry.h"
#include "sendcheck/send_check.h"

namespace vlm {

int CheckOutgoingMessage(const char* message) {
  const TForm1& form = *SettingsForm;
  TSendCheckSettings settings;
  settings.SearchWord1 = form.LabeledEdit1.Text;
  settings.SearchWord2 = form.LabeledEdit2.Text;
  settings.SearchWord3 = form.LabeledEdit3.Text;
  settings.NotReplyCheck = form.CheckBox1.Checked;
  settings.SendWarning = form.CheckBox4.Checked;
  settings.GmailSendCheck = form.CheckBox12.Checked;
  settings.SizeCheckBytes = form.SizeCheckBytes;
  return RunSendChecks(
      message, settings, *HostApi, [] { return HostPartialSending(); }, ShowMessage);
}

}  // namespace vlm
