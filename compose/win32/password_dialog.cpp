#include "compose/win32/password_dialog.h"

#include <windows.h>

#include "compose/archive_password.h"
#include "base/plugin_state.h"
#include "base/win32/app_window.h"
#include "base/win32/module.h"
#include "base/win32/export_guard.h"
#include "resources/password_dialog_ids.h"

namespace vlm {
namespace {

constexpr int kClientWidth = 226;
constexpr int kClientHeight = 74;

class TForm2 {
 public:
  std::wstring Text;

  static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto* form = reinterpret_cast<TForm2*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!form) return FALSE;
    // Nothing may unwind through the system's dialog manager.
    return Guarded("HookProc", INT_PTR{FALSE},
                   [&] { return form->Handle(dialog, message, wParam); });
  }

 private:
  INT_PTR Handle(HWND dialog, UINT message, WPARAM wParam) {
    switch (message) {
      case WM_INITDIALOG:
        FormCreate(dialog);
        return FALSE;  // the focus is set
      case WM_COMMAND:
        if (LOWORD(wParam) == IDC_PasswordButton1 && HIWORD(wParam) == BN_CLICKED)
          Button1Click(dialog);
        else if (LOWORD(wParam) == IDC_PasswordEdit1 && HIWORD(wParam) == EN_SETFOCUS)
          CloseInputMethod(GetDlgItem(dialog, IDC_PasswordEdit1));
        // Enter and Esc (IDOK, IDCANCEL) do nothing: the form has no default or cancel button.
        return TRUE;
      case WM_CLOSE:
        Text = EditText(dialog);
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
  }

  void FormCreate(HWND dialog) {
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(dialog, GWL_EXSTYLE)));
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    SetWindowPos(dialog, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    HWND edit = GetDlgItem(dialog, IDC_PasswordEdit1);
    SetWindowPos(edit, nullptr, 8, 8, 209, 20, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(edit, EM_SETPASSWORDCHAR, L'*', 0);
    SetWindowPos(GetDlgItem(dialog, IDC_PasswordButton1), nullptr, 72, 40, 89, 25,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetForegroundWindow(dialog);
    SetFocus(edit);
  }

  void Button1Click(HWND dialog) {
    const std::wstring text = EditText(dialog);
    if (const std::wstring problem = PasswordProblem(text); !problem.empty()) {
      ShowMessage(problem, L"情報", MB_OK | MB_ICONINFORMATION);
      // The dialog stays, with the typed text selected in the field for correction.
      HWND edit = GetDlgItem(dialog, IDC_PasswordEdit1);
      SetFocus(edit);
      SendMessageW(edit, EM_SETSEL, 0, -1);
      return;
    }
    Text = text;
    EndDialog(dialog, IDOK);
  }

  static std::wstring EditText(HWND dialog) {
    HWND edit = GetDlgItem(dialog, IDC_PasswordEdit1);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    return text;
  }

  // A password is typed letter by letter: the input method stays closed in the field. The input
  // method library is looked up at run time so that Velmora.dll keeps its import list.
  static void CloseInputMethod(HWND edit) {
    HMODULE imm = GetModuleHandleW(L"imm32.dll");
    if (!imm) return;
    using GetContextFn = HANDLE(WINAPI*)(HWND);
    using SetOpenStatusFn = BOOL(WINAPI*)(HANDLE, BOOL);
    using ReleaseContextFn = BOOL(WINAPI*)(HWND, HANDLE);
    auto get = reinterpret_cast<GetContextFn>(
        reinterpret_cast<void*>(GetProcAddress(imm, "ImmGetContext")));
    auto set = reinterpret_cast<SetOpenStatusFn>(
        reinterpret_cast<void*>(GetProcAddress(imm, "ImmSetOpenStatus")));
    auto release = reinterpret_cast<ReleaseContextFn>(
        reinterpret_cast<void*>(GetProcAddress(imm, "ImmReleaseContext")));
    if (!get || !set || !release) return;
    if (HANDLE context = get(edit)) {
      set(context, FALSE);
      release(edit, context);
    }
  }
};

}  // namespace

std::wstring ShowPasswordDialog() {
  TForm2 form;
  DialogBoxParamW(ModuleHandle(), MAKEINTRESOURCEW(IDD_PasswordForm), static_cast<HWND>(AppWindow),
                  TForm2::Proc, reinterpret_cast<LPARAM>(&form));
  return form.Text;
}

}  // namespace vlm
