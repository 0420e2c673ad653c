/* Ids of the testbed dialog, shared by testbed.rc and testbed.cpp. */
#ifndef KELVARO_TESTBED_H
#define KELVARO_TESTBED_H

#define IDD_TESTBED     100
#define IDC_TB_EDIT     1001
#define IDC_TB_LOG      1002
#define IDC_TB_MENU     1003
#define IDC_TB_ASK      1004
#define IDC_TB_KEYS     1005
#define IDC_TB_ICON     1006
#define IDC_TB_COMBO    1007
#define IDC_TB_CHECK    1008

#endif
