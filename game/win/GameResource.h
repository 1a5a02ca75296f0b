#pragma once
// Resource and command ids of the practice game.

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDR_GAME_MENU 101
#define IDD_TOP_SCORES 102
#define IDD_GAME_ABOUT 103
#define IDI_GAME 104

// Game menu.
#define ID_GAME_START 40001
#define ID_GAME_PAUSE 40002
#define ID_GAME_TOP_SCORES 40003
// Speed menu: Slow, 2 to 5, Fast.
#define ID_SPEED_FIRST 40011
#define ID_SPEED_LAST 40016
// Category menu, by menu index.
#define ID_CATEGORY_FIRST 40021
#define ID_CATEGORY_LAST 40029
#define ID_HELP_ABOUT 40031

// Controls of the main window.
#define IDC_START_BUTTON 1001
#define IDC_SCORE_CAPTION 1002
#define IDC_SCORE 1003
#define IDC_LAST_KEY 1004
#define IDC_LANDED 1005
#define IDC_GAME_OVER_FRAME 1006
#define IDC_GAME_OVER 1007
#define IDC_HEART_FIRST 1010
#define IDC_EXPLOSION 1020
// Every falling item's label.
#define IDC_ITEM_LABEL 1100

// Top Scores window: name boxes and score labels of places 1 to 5.
#define IDC_TOP_NAME_FIRST 2001
#define IDC_TOP_SCORE_FIRST 2011

// About window.
#define IDC_SYSTEM_INFO 3001
