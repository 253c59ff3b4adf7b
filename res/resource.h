#pragma once
// Resource identifiers shared by the resource script and the Win32 views, one
// block per form. Only the Win32 targets have this folder on their include
// path, so portable code cannot use an identifier by mistake.

// The program.
#define IDI_APP 1

// The main window: menus, accelerators and their commands (1000-1599).
#define IDR_MAINMENU 100
#define IDR_POPUPMENUS 101
#define IDR_ACCELERATORS 102

#define IDM_FILE_NEW 1001
#define IDM_FILE_OPEN 1002
#define IDM_FILE_SAVEAS 1003
#define IDM_FILE_CLOSE 1004
#define IDM_FILE_DATETIME 1005
#define IDM_FILE_VOLUME 1006
#define IDM_FILE_EXIT 1007

#define IDM_VIEW_STATUS 1101
#define IDM_VIEW_TOOLTIP 1102
#define IDM_VIEW_SORT_NAME 1111
#define IDM_VIEW_SORT_DAY 1112
#define IDM_VIEW_SORT_TIME 1113
#define IDM_VIEW_SORT_FILE 1114
#define IDM_VIEW_SORT_DELETE 1115

#define IDM_ALARM_ENABLE 1201
#define IDM_ALARM_EDIT 1202
#define IDM_ALARM_DELETE 1203
#define IDM_ALARM_ADD 1204
#define IDM_ALARM_PREVIEW 1205

#define IDM_HELP_README 1301
#define IDM_HELP_ABOUT 1302

#define IDM_POPUP_EDIT 1401
#define IDM_POPUP_DELETE 1402
#define IDM_POPUP_ADD 1403
#define IDM_POPUP_PREVIEW 1404

#define IDM_TRAY_SIZE 1501
#define IDM_TRAY_EXIT 1502
#define IDM_TRAY_CANCEL 1503

// The notification window (200-299).
#define IDD_SOUNDFORM 200
#define IDC_ALARM_NAME 201
#define IDC_DIGIT_HINT 202
