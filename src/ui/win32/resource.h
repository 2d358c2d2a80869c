// Resource ids of StartZUVO.exe, shared by the resource script and the code.
// Plain #defines only: the resource compiler reads this file too.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_STARTZUVO_DIALOG 102
#define IDR_MAINFRAME 128

// Command id of the about entry in the system menu (a multiple of 16, as
// system commands keep their lowest four bits for the system's own use).
#define IDM_ABOUTBOX 0x0010

// Controls of the main dialog; the same numbers as app::ControlId.
#define IDC_LAYOUT_PATH 1000
#define IDC_LOAD 1001
#define IDC_CAMERA_SET 1002
#define IDC_START 1003
#define IDC_DELETE_CAMERA_SET 1004
#define IDC_GEN_TERRAIN 1005
#define IDC_CHOOSE_BUFFER_STOP 1006
#define IDC_BUFFER_STOP 1007
#define IDC_CHOOSE_CATENARY 1008
#define IDC_CATENARY 1009
#define IDC_CHOOSE_GUIDE_POST 1010
#define IDC_GUIDE_POST 1011
#define IDC_CHOOSE_GROUND_TEXTURE 1012
#define IDC_GROUND_TEXTURE 1013
#define IDC_STANDARD 1015
#define IDC_REMOVE_ROLLING_STOCK 1016
#define IDC_REMOVE_GBOS 1017
#define IDC_REMOVE_REAL_ESTATE 1018
#define IDC_INVENTORY_LIST 1019
#define IDC_MISSING_LIST 1020

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
