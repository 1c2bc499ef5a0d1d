// Resource and control ids of the pasted-image dialog.
#pragma once
#define IDD_ImageForm 400
#define IDC_ImageLabel2 401
#define IDC_ImagePanel1 402
#define IDC_ImageImage1 403
#define IDC_ImageLabel1 404
#define IDC_ImageRadioGroup1 405
#define IDC_ImageRadioGroup1Jpg 406
#define IDC_ImageRadioGroup1Bmp 407
#define IDC_ImageRadioGroup1Gif 408
#define IDC_ImageRadioGroup1Png 409
#define IDC_ImageLabeledEdit1Label 410
#define IDC_ImageLabeledEdit1 411
#define IDC_ImageButton2 412
#define IDC_ImageButton1 413
