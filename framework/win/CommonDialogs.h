#pragma once
// The system's file and colour dialogs. Their library is loaded the first time one is opened:
// it brings the printing system with it (under Wine the print spooler, CUPS and their network
// and crypto libraries), megabytes that a keyboard which never opens a dialog should not carry.
#include <windows.h>

#include <commdlg.h>

// Each returns what the dialog function returns, or FALSE when the library is not there.
BOOL ShowOpenFileDialog(OPENFILENAMEW& dialog);
BOOL ShowSaveFileDialog(OPENFILENAMEW& dialog);
BOOL ShowColourDialog(CHOOSECOLORW& dialog);
