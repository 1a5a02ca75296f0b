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
#define IDD_MORE_LANGUAGES 306
#define IDD_OPTIONS 175
#define IDC_MIN_DRAG_SLIDER 1000
#define IDC_MAX_DRAG_SLIDER 1001
#define IDC_IDLE_SLIDER 1002
#define IDC_MIN_DRAG_VALUE 1003
#define IDC_MAX_DRAG_VALUE 1004
#define IDC_SEND_WITH_CHARACTERS 1005
#define IDC_SEND_IMMEDIATELY 1006
#define IDC_WITH_CHARACTERS_LABEL 1007
#define IDC_IMMEDIATELY_LABEL 1008
#define IDC_IDLE_VALUE 1009
#define IDC_CIRCLE_SLIDER 1010
#define IDC_CIRCLE_PICTURE 1011
#define IDC_DONT_MINIMIZE 1012
#define IDC_DRAW_TRACE 1013
#define IDC_MIN_DRAG_LOW 1014
#define IDC_MIN_DRAG_HIGH 1015
#define IDC_MAX_DRAG_LOW 1016
#define IDC_MAX_DRAG_HIGH 1017
#define IDC_IDLE_LOW 1018
#define IDC_IDLE_HIGH 1019
#define IDC_FOLLOW_CARET 1020
#define IDC_MACRO_RECALL 1027
#define IDC_TRACE_COLOR 1028
#define IDC_DEFAULTS 1029
#define IDC_LANGUAGE 1030
#define IDC_LINK_LANGUAGES 1045
#define IDC_LINK_LANGUAGES_PAGE 1046

// The main frame: its menu bar (IDR_MAINFRAME), its child windows and its commands.
#define IDW_KEYBOARD_VIEW 0xE900 // the keyboard view, the frame's client area
#define IDW_ENGINE_WINDOW 0xE901 // the engine's hidden child window
#define ID_OPTIONS_MACRO_SCRIBE 32817
#define ID_OPTIONS_SETTINGS 32785
#define ID_OPTIONS_GAME 32800
#define ID_SIZE_1 32816
#define ID_SIZE_2 32815
#define ID_SIZE_3 32814
#define ID_SIZE_4 32813
#define ID_SIZE_5 32812
#define ID_SIZE_6 32811
#define ID_MODE_VERTICAL 32809
#define ID_MODE_NORMAL 32803
#define ID_MODE_HORIZONTAL 32807
#define ID_TRANSPARENCY_0 32787
#define ID_TRANSPARENCY_10 32797
#define ID_TRANSPARENCY_20 32789
#define ID_TRANSPARENCY_30 32790
#define ID_TRANSPARENCY_40 32791
#define ID_TRANSPARENCY_50 32798
#define ID_TRANSPARENCY_60 32793
#define ID_TRANSPARENCY_70 32794
#define ID_TRANSPARENCY_80 32795
#define ID_TRANSPARENCY_90 32799
#define ID_LANG_ENGLISH 32830 // the built-in language; folders follow from 32831
#define ID_LANG_FIRST_FOLDER 32831
#define ID_LANG_LAST_FOLDER 32840
#define ID_LANG_MORE 32841
#define ID_HELP_FINDER 0xE143
#define ID_HELP_WEB_SITE 32843
#define ID_HELP_ABOUT_LANGUAGE 32844 // added by a language that has an About link
#define ID_APP_ABOUT 0xE140

// Macro Scribe (IDD_MACROS) and its Edit Macro dialog (IDD_EDIT_MACRO).
#define IDD_MACROS 287
#define IDD_EDIT_MACRO 288
#define IDB_MACRO_BADGES 297 // two 16 x 16 images: blank, the macro badge; black is the mask
#define IDC_MACRO_SAVE_AS 298
#define IDC_MACRO_LOAD 299
#define IDC_MACRO_LIST 1015
#define IDC_MACRO_NEW 1016
#define IDC_MACRO_EDIT 1017
#define IDC_MACRO_DELETE 1018
#define IDC_MACRO_HOTKEY 1022
#define IDC_MACRO_HOTKEY_LABEL 1023
#define IDC_EDIT_MACRO_KEY 1017
#define IDC_EDIT_MACRO_CONTENT 1018
#define IDC_EDIT_MACRO_OK 1020
#define IDC_EDIT_MACRO_WARNING 1021
