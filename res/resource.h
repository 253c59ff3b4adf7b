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
#define IDM_FILE_STARTUP 1008

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

// The alarm editor (300-399) and its preset menus (3100-3199).
#define IDD_CONFIGFORM 300
#define IDC_SELECT_ALARM 301
#define IDC_SELECT_TIMER 302
#define IDC_NAME_LABEL 303
#define IDC_NAME_TEXT 304
#define IDC_NAME_COMBO 305
#define IDC_DAY_FRAME 306
#define IDC_DAY_CHECK0 307  // Sunday; the other six follow
#define IDC_DAY_BUTTON 314
#define IDC_TIME_FRAME 315
#define IDC_HOUR_TEXT 316
#define IDC_HOUR_UPDOWN 317
#define IDC_HOUR_LABEL 318
#define IDC_MINUTE_TEXT 319
#define IDC_MINUTE_UPDOWN 320
#define IDC_MINUTE_LABEL 321
#define IDC_SECOND_TEXT 322
#define IDC_SECOND_UPDOWN 323
#define IDC_SECOND_LABEL 324
#define IDC_FILE_FRAME 325
#define IDC_FILE_TEXT 326
#define IDC_FILE_BUTTON 327
#define IDC_FILE_PREVIEW 328
#define IDC_DELETE_CHECK 329
#define IDC_HISTORY_CHECK 330

#define IDR_EDITOR_PRESETS 340
#define IDM_HOUR_AM0 3100   // 0時 to 11時 of the morning: 3100-3111
#define IDM_HOUR_PM0 3120   // of the afternoon: 3120-3131
#define IDM_HOUR_LEN0 3140  // 0 to 11 hours: 3140-3151
#define IDM_MINUTE0 3160    // 0 to 55 minutes in fives: 3160-3171
#define IDM_SECOND0 3180
#define IDM_SECOND30 3181
#define IDM_DAYS_EVERYDAY 3190
#define IDM_DAYS_WORKDAY 3191
#define IDM_DAYS_WEEKEND 3192
#define IDM_DAYS_CLEAR 3193

// The countdown before a power action (400-409).
#define IDD_POWERFORM 400
#define IDC_POWER_TEXT 401
#define IDC_POWER_RUN_NOW 402

// The missed-alarm report (410-419).
#define IDD_MISSEDFORM 410
#define IDC_MISSED_LIST 411
