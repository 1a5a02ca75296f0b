#pragma once
// A library's exported function as the function type the caller knows it to have; nullptr when
// the library is not loaded (null) or does not export it.
#include <windows.h>

template <typename Function> Function ProcAddress(HMODULE library, const char* name) {
    if (!library)
        return nullptr; // the system would look in the program's own image
    // Through void*: FARPROC has no parameters, and a direct cast between function types warns.
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
}
