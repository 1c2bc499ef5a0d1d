#include "compose/drop_settings.h"

#include "base/settings_form.h"

namespace vlm {

TDropSettings DropSettingsOf(const TForm1& form) {
  TDropSettings settings;
  settings.ArchiveCheck = form.CheckBox2.Checked;
  settings.ArchiveType = form.RadioGroup1.ItemIndex;
  settings.WriteFileName = form.CheckBox3.Checked;
  settings.WriteWord = form.LabeledEdit5.Text;
  settings.CheckPassword = form.CheckBox5.Checked;
  settings.OverSizeCheck = form.CheckBox6.Checked;
  settings.OverSize = form.LabeledEdit4.Text;
  settings.FileNameChange = form.CheckBox7.Checked;
  settings.TempFolder = form.TempFolder;
  settings.B2OhWnd = form.B2OhWnd;
  settings.NewMesWindow = form.NewMesWindow;
  return settings;
}

}  // namespace vlm
