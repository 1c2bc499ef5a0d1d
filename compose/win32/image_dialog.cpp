#include "compose/win32/image_dialog.h"

#include <windows.h>
#include <commctrl.h>

#include <exception>
#include <optional>

#include "base/path.h"
#include "compose/image_file.h"
#include "compose/image_format.h"
#include "compose/image_preview.h"
#include "compose/work_folder.h"
#include "compose/win32/windows_bitmap.h"
#include "base/ansi_text.h"
#include "base/format_size.h"
#include "base/plugin_state.h"
#include "base/settings_form.h"
#include "base/win32/app_window.h"
#include "base/win32/dialog_support.h"
#include "base/files.h"
#include "base/win32/launch.h"
#include "base/win32/module.h"
#include "base/win32/export_guard.h"
#include "resources/image_dialog_ids.h"

namespace vlm {
namespace {

constexpr int kClientWidth = 471;
constexpr int kClientHeight = 410;
constexpr int kPreviewWidth = 452;  // Image1 inside the bevels of Panel1
constexpr int kPreviewHeight = 285;
constexpr int kLabelSpacing = 3;  // between the file-name edit and its label above it
constexpr wchar_t kMeasureFile[] = L"Velmora.bmp";
constexpr wchar_t kEditFile[] = L"Image.bmp";
constexpr wchar_t kDefaultName[] = L"Image";

// A control's rectangle in client pixels of the dialog; a width of 0 marks a label that takes
// the size of its text.
struct Place {
  int id;
  int x, y, w, h;
};

constexpr Place kPlaces[] = {
    {IDC_ImageLabel2, 10, 8, 0, 0},
    {IDC_ImagePanel1, 8, 24, 456, 289},
    {IDC_ImageImage1, 8 + 2, 24 + 2, kPreviewWidth, kPreviewHeight},
    {IDC_ImageLabel1, 8, 319, 0, 0},
    {IDC_ImageRadioGroup1, 8, 338, 185, 36},
    {IDC_ImageLabeledEdit1, 208, 353, 121, 21},
    {IDC_ImageButton2, 151, 380, 75, 25},
    {IDC_ImageButton1, 240, 380, 75, 25},
};

// In the order of TImageFormat.
constexpr int kFormatItems[] = {IDC_ImageRadioGroup1Jpg, IDC_ImageRadioGroup1Bmp,
                                IDC_ImageRadioGroup1Gif, IDC_ImageRadioGroup1Png};
constexpr int kFormatCount = 4;

std::wstring SizeText(const TBitmapImage& image, std::int64_t bytes) {
  return L"サイズ:" + std::to_wstring(image.Width) + L"x" + std::to_wstring(image.Height) + L" [" +
         FormatSize(bytes) + L"]";
}

class TForm3 {
 public:
  // Working fields, copied from the settings before the dialog shows.
  bool FormatChange = false;
  int Comp = 9;
  std::wstring SavePath;
  std::wstring PaintFileName;

  TBitmapImage Picture;
  bool Stretch = false;
  std::wstring SizeLabel;  // Label1's text on opening
  std::wstring FileName;   // the saved picture's full path when the dialog closed

  static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void FormCreate();
  void FormShow();
  void OnCommand(int id, int code);
  // Writes the measurement file, or with `resultFolder` the picture itself into that folder.
  // False when a file could not be written.
  bool RadioGroup1Click(const std::wstring& resultFolder = {});
  void Button2Click();
  void Image1DblClick();
  void DrawImage1(const DRAWITEMSTRUCT& item);
  void SetLabel1(const std::wstring& text);
  void DeleteMeasurementFiles();
  int SelectedFormat() const;
  std::wstring FileNameText() const { return WindowText(Item(IDC_ImageLabeledEdit1)); }
  HWND Item(int id) const { return GetDlgItem(window_, id); }
  // Writes a file the way the user asked; a failure is told and leaves the dialog open.
  bool Write(TImageFormat format, const std::wstring& target);

  HWND window_ = nullptr;
  win::TScopedGdiObject font_;
  int itemIndex_ = ifBmp;
};

INT_PTR CALLBACK TForm3::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    reinterpret_cast<TForm3*>(lParam)->window_ = window;
  }
  auto* form = reinterpret_cast<TForm3*>(GetWindowLongPtrW(window, DWLP_USER));
  if (!form) return FALSE;
  // Nothing may unwind through the system's dialog manager.
  return Guarded("HookProc", INT_PTR{FALSE}, [&] { return form->Handle(message, wParam, lParam); });
}

INT_PTR TForm3::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      FormCreate();
      FormShow();
      return TRUE;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_DRAWITEM:
      if (wParam != IDC_ImageImage1) return FALSE;
      DrawImage1(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_CLOSE:
      // Alt+F4 still reaches a window without a system menu: it cancels.
      FileName = FileNameText();
      EndDialog(window_, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

void TForm3::FormCreate() {
  ApplyFormFont(window_, font_);
  SetWindowTextW(Item(IDC_ImageLabel1), SizeLabel.c_str());
  SetWindowTextW(Item(IDC_ImageLabeledEdit1), kEditFile);
  CheckRadioButton(window_, kFormatItems[0], kFormatItems[kFormatCount - 1],
                   kFormatItems[itemIndex_]);
  SizeAndCentre(window_, kClientWidth, kClientHeight);
  for (const Place& p : kPlaces) {
    HWND control = Item(p.id);
    SIZE size{p.w, p.h};
    if (p.w == 0) size = TextSize(control);
    MoveControl(control, p.x, p.y, size.cx, size.cy);
  }
  const RECT edit = RectInDialog(window_, Item(IDC_ImageLabeledEdit1));
  const SIZE label = TextSize(Item(IDC_ImageLabeledEdit1Label));
  MoveControl(Item(IDC_ImageLabeledEdit1Label), edit.left, edit.top - label.cy - kLabelSpacing,
              label.cx, label.cy);
  PlaceRadioItems(window_, IDC_ImageRadioGroup1, kFormatItems, kFormatCount, kFormatCount);
  SetForegroundWindow(window_);
}

// Measurement files of an earlier opening would show the sizes of another picture.
void TForm3::FormShow() {
  DeleteMeasurementFiles();
}

void TForm3::DeleteMeasurementFiles() {
  for (int format = ifJpeg; format <= ifPng; ++format)
    DeleteFileW((SavePath +
                 ChangeExtension(kMeasureFile, ImageExtension(static_cast<TImageFormat>(format))))
                    .c_str());
}

void TForm3::OnCommand(int id, int code) {
  if (id == IDC_ImageButton2 && code == BN_CLICKED) return Button2Click();
  if (id == IDC_ImageButton1 && code == BN_CLICKED) {
    FileName = FileNameText();
    EndDialog(window_, IDCANCEL);
    return;
  }
  if (id == IDC_ImageImage1 && code == STN_DBLCLK) return Image1DblClick();
  if (code == BN_CLICKED && SelectedFormat() != itemIndex_) {
    // The group reports a change of its choice, not a click on the item already chosen.
    itemIndex_ = SelectedFormat();
    RadioGroup1Click();
  }
  // Enter and Esc (IDOK, IDCANCEL) do nothing: the form has no default or cancel button.
}

int TForm3::SelectedFormat() const {
  for (int i = 0; i < kFormatCount; ++i)
    if (IsDlgButtonChecked(window_, kFormatItems[i]) == BST_CHECKED) return i;
  return itemIndex_;
}

bool TForm3::RadioGroup1Click(const std::wstring& resultFolder) {
  const bool fromDecide = !resultFolder.empty();
  const auto format = static_cast<TImageFormat>(itemIndex_);
  const std::wstring name = ChangeExtension(FileNameText(), ImageExtension(format));
  SetWindowTextW(Item(IDC_ImageLabeledEdit1), name.c_str());
  const std::wstring target =
      fromDecide ? JoinPath(resultFolder, name)
                 : SavePath + ChangeExtension(kMeasureFile, ImageExtension(format));
  if (!fromDecide && !FormatChange) return true;
  // An encoded measurement file of this opening is still the picture's: it is reused. The result
  // itself is always written afresh, and BMP costs no encoding.
  if (format == ifBmp || fromDecide || !FileExists(target)) {
    if (!Write(format, target)) return false;
  }
  if (FormatChange) SetLabel1(SizeText(Picture, FileSize(target)));
  return true;
}

bool TForm3::Write(TImageFormat format, const std::wstring& target) {
  try {
    WriteImageFile(Picture, format, Comp, target);
    return true;
  } catch (const EWideMessage& e) {
    ShowMessage(e.Message(), L"Velmora", MB_OK | MB_ICONERROR);
  } catch (const std::exception& e) {
    ShowMessage(L"画像を保存できません: " + target + L"\r\n" + FromAnsi(e.what()), L"Velmora",
                MB_OK | MB_ICONERROR);
  }
  return false;
}

void TForm3::Button2Click() {
  if (FileNameText().empty()) {
    const std::wstring name = kDefaultName + ImageExtension(static_cast<TImageFormat>(itemIndex_));
    SetWindowTextW(Item(IDC_ImageLabeledEdit1), name.c_str());
  }
  // The picture goes into a folder of its own: the host reads it only when the message is sent,
  // and a later paste of the same name must not replace it.
  std::optional<TWorkFolder> work;
  try {
    work.emplace(SavePath);
  } catch (const EWideMessage& e) {
    ShowMessage(e.Message(), L"Velmora", MB_OK | MB_ICONERROR);
    return;
  }
  // A result that could not be written is nothing to attach: the user may pick another name.
  if (!RadioGroup1Click(work->Path())) return;
  work->Keep();
  FileName = JoinPath(work->Path(), FileNameText());
  EndDialog(window_, IDOK);
}

void TForm3::Image1DblClick() {
  const std::wstring editFile = SavePath + kEditFile;
  if (!Write(ifBmp, editFile)) return;
  // The editor is to come in front of the dialog while the user works in it.
  SetWindowPos(window_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // Quoted: the temporary folder may hold spaces, and the editor takes one parameter.
  const DWORD exitCode = RunElevatedAndWait(window_, PaintFileName, L"\"" + editFile + L"\"");
  if (exitCode == 0 && FileExists(editFile)) {
    if (std::optional<TBitmapImage> edited = LoadBitmapFile(editFile)) {
      Picture = std::move(*edited);
      InvalidateRect(Item(IDC_ImageImage1), nullptr, TRUE);
      DeleteMeasurementFiles();
    }
  }
  SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TForm3::DrawImage1(const DRAWITEMSTRUCT& item) {
  const RECT box = item.rcItem;
  FillRect(item.hDC, &box, GetSysColorBrush(COLOR_BTNFACE));
  const TPreviewRect r = PreviewRect(Picture.Width, Picture.Height, box.right - box.left,
                                     box.bottom - box.top, Stretch);
  const RECT target{box.left + r.Left, box.top + r.Top, box.left + r.Left + r.Width,
                    box.top + r.Top + r.Height};
  DrawPicture(item.hDC, Picture, target);
}

// Label1 sizes itself to its text.
void TForm3::SetLabel1(const std::wstring& text) {
  HWND label = Item(IDC_ImageLabel1);
  SetWindowTextW(label, text.c_str());
  const SIZE size = TextSize(label);
  SetWindowPos(label, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

bool ShowImageDialog(const std::function<void()>& consumeKey, std::wstring& fileName) {
  HWND owner = EnsureAppWindow();
  std::optional<TClipboardPicture> picture = TakeClipboardPicture(owner);
  if (!picture) return false;
  TForm3 form;
  form.Picture = std::move(picture->Image);
  form.Stretch =
      PreviewStretch(form.Picture.Width, form.Picture.Height, kPreviewWidth, kPreviewHeight);
  form.SizeLabel = SizeText(form.Picture, picture->DibSize);
  if (SettingsForm) {
    form.FormatChange = SettingsForm->CheckBox11.Checked;
    form.Comp = SettingsForm->TrackBar1.Position;
    form.SavePath = SettingsForm->TempFolder;
    form.PaintFileName = SettingsForm->ButtonedEdit1.Text;
  }
  consumeKey();
  TThemedScope themed;
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&classes);
  const INT_PTR result = DialogBoxParamW(ModuleHandle(), MAKEINTRESOURCEW(IDD_ImageForm), owner,
                                         TForm3::Proc, reinterpret_cast<LPARAM>(&form));
  if (result != IDOK) return false;
  fileName = form.FileName;
  return true;
}

}  // namespace vlm
