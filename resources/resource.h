#pragma once

// Resource and control ids of Korvix_Setup.exe.
#define IDI_KORVIX 128
#define IDD_MAINDLG 129

#define IDC_BTN_CLOSE 1000
#define IDC_BTN_MIN 1001
#define IDC_BTN_INSTALL 1002
#define IDC_CHK_AGREE 1003
#define IDC_BTN_LICENCE 1004
#define IDC_CHK_OPTIONS 1005
#define IDC_BTN_BROWSE 1008
#define IDC_EDIT_PATH 1009
#define IDC_PROGRESS 1010
#define IDC_LBL_PATH 1012
#define IDC_LBL_AGREE 1013
#define IDC_BTN_HIDE 1014
#define IDC_BTN_START 1015
#define IDC_LBL_STATUS 1016
