// Resource and control ids shared by the .rc files and the code. Controls are named after the
// form's controls; a LabeledEdit's label is "<edit>Label", a radio group's items "<group><Item>".
#pragma once

// The manifest a DLL carries for its own use of common controls 6.
#define IDR_IsolationManifest 2

// Settings dialog.
#define IDD_SettingsForm 200
#define IDC_GroupBox1 1001
#define IDC_GroupBox2 1002
#define IDC_GroupBox3 1003
#define IDC_GroupBox4 1004
#define IDC_LabeledEdit1 1011
#define IDC_LabeledEdit2 1012
#define IDC_LabeledEdit3 1013
#define IDC_LabeledEdit4 1014
#define IDC_LabeledEdit5 1015
#define IDC_LabeledEdit1Label 1021
#define IDC_LabeledEdit2Label 1022
#define IDC_LabeledEdit3Label 1023
#define IDC_LabeledEdit4Label 1024
#define IDC_LabeledEdit5Label 1025
#define IDC_CheckBox1 1031
#define IDC_CheckBox2 1032
#define IDC_CheckBox3 1033
#define IDC_CheckBox4 1034
#define IDC_CheckBox5 1035
#define IDC_CheckBox6 1036
#define IDC_CheckBox7 1037
#define IDC_CheckBox8 1038
#define IDC_CheckBox9 1039
#define IDC_CheckBox10 1040
#define IDC_CheckBox11 1041
#define IDC_CheckBox12 1042
#define IDC_RadioGroup1 1051
#define IDC_RadioGroup1Lha 1052
#define IDC_RadioGroup1Zip 1053
#define IDC_ButtonedEdit1 1061
#define IDC_ButtonedEdit1RightButton 1062
#define IDC_TrackBar1 1071
#define IDC_Label1 1081
#define IDC_Label2 1082
#define IDC_Label3 1083
#define IDC_Label4 1084
#define IDC_Label5 1085
#define IDC_Button1 1091
#define IDC_Button2 1092
