#pragma once
// The input state of other threads.
#include <windows.h>

// The window that has the focus in another thread (nullptr for none). The system tells it
// without tying the two threads' input together: while they are attached, mouse input on its
// way to this thread can end up in the other thread's queue, and a press would be lost. Only
// where the system cannot tell is the input attached, for the one call, and always undone.
// False when the focus could not be read.
bool FocusOfThread(DWORD thread, HWND& focus);

// Gives a window of another thread the keyboard focus, with the two threads' input attached
// for the call. False when the window is gone.
bool SetFocusOfThread(HWND window);
