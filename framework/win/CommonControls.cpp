#include "framework/win/CommonControls.h"

#include "framework/win/ProcAddress.h"

namespace {

// Loaded once and kept for the life of the program. The program's manifest makes this the
// version 6 library.
HMODULE Library() {
    static const HMODULE library = [] {
        const HMODULE loaded = ::LoadLibraryW(L"comctl32.dll");
        using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
        if (const auto init = ProcAddress<InitFunction>(loaded, "InitCommonControlsEx")) {
            const INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
            init(&controls);
        }
        return loaded;
    }();
    return library;
}

template <typename Function> Function ControlsFunction(const char* name) {
    return ProcAddress<Function>(Library(), name);
}

} // namespace

bool LoadCommonControls() {
    return Library() != nullptr;
}

BOOL SetWindowSubclassOf(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) {
    static const auto function =
        ControlsFunction<BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR)>(
            "SetWindowSubclass");
    return function ? function(window, procedure, id, data) : FALSE;
}

BOOL RemoveWindowSubclassOf(HWND window, SUBCLASSPROC procedure, UINT_PTR id) {
    static const auto function =
        ControlsFunction<BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR)>("RemoveWindowSubclass");
    return function ? function(window, procedure, id) : FALSE;
}

LRESULT DefSubclassProcOf(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    static const auto function =
        ControlsFunction<LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM)>("DefSubclassProc");
    return function ? function(window, message, wParam, lParam)
                    : ::DefWindowProcW(window, message, wParam, lParam);
}

HIMAGELIST ImageListLoadImage(HINSTANCE instance, LPCWSTR name, int width, int grow, COLORREF mask,
                              UINT type, UINT flags) {
    static const auto function =
        ControlsFunction<HIMAGELIST(WINAPI*)(HINSTANCE, LPCWSTR, int, int, COLORREF, UINT, UINT)>(
            "ImageList_LoadImageW");
    return function ? function(instance, name, width, grow, mask, type, flags) : nullptr;
}
