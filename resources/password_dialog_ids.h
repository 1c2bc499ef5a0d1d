// Resource and control ids of the password dialog.
#pragma once
#define IDD_PasswordForm 300
#define IDC_PasswordEdit1 301
#define IDC_PasswordButton1 302
