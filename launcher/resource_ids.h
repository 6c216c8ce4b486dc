#pragma once
// Resource ids of Tracewipe HotKey; read by the resource compiler and the C++ code.
#define IDS_ABOUTBOX 101
#define IDD_HOTKEYTEST_DIALOG 102
#define IDR_MAINFRAME 128
#define IDC_START 1000
// The system-menu entry that string 101 labels.
#define IDM_ABOUTBOX 0x0010
