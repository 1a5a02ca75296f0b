#pragma once
// The common controls library: the list view, trackbar and hot key fields of the dialogs, image
// lists and window subclassing. It is loaded, and its window classes registered, the first time
// a window needs it: the keyboard window uses none of it, and under Wine merely loading it costs
// the keyboard process about a megabyte (the library draws its tooltip icons at 256 pixels).
#include <windows.h>

#include <commctrl.h>

// Loads the library and registers its window classes, once for the program; false when the
// library is not there. Call it before a dialog with common controls is created.
bool LoadCommonControls();

// The library's functions of the same names (failing as they do when it is not there).
BOOL SetWindowSubclassOf(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data);
BOOL RemoveWindowSubclassOf(HWND window, SUBCLASSPROC procedure, UINT_PTR id);
LRESULT DefSubclassProcOf(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
HIMAGELIST ImageListLoadImage(HINSTANCE instance, LPCWSTR name, int width, int grow, COLORREF mask,
                              UINT type, UINT flags);
