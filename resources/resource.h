// Resource identifiers of the keyboard program, shared by the .rc files and the code.
#pragma once

// Icons, bitmaps and cursors.
#define IDR_MAINFRAME 128   // the program icon (also the main frame's menu and title)
#define IDI_MACRO_MATCH 291 // the icon while a typed key matches a macro
#define IDB_SPLASH 245      // the splash and about picture, 574 x 229
#define IDC_STROKE_CURSOR 284
#define IDC_TOUCH_CURSOR 285
#define IDC_IDLE_CURSOR 286

// The tray icon's menu and its commands (carried out by the main frame).
#define IDR_TRAY_MENU 294
#define ID_TRAY_OPEN 32825
#define ID_TRAY_MACRO_SCRIBE 32824
#define ID_TRAY_EXIT 32822

// Dialogs.
#define IDD_ABOUTBOX 100
#define IDD_SPLASH 237
#define IDC_LINK_WEB_SITE 1041
#define IDC_LINK_USERS_GROUP 1042
#define IDC_LINK_MAKER 1043
#define IDC_LINK_MAIL 1044
