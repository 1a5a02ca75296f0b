#pragma once
// A library's exported function as the function type the caller knows it to have.
#include <windows.h>

template <typename Function> Function ProcAddress(HMODULE library, const char* name) {
    // Through void*: FARPROC has no parameters, and a direct cast between function types warns.
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
}
