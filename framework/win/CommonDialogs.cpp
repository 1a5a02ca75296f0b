#include "framework/win/CommonDialogs.h"

#include "framework/win/ProcAddress.h"

namespace {

// Loaded once and kept for the life of the program.
template <typename Function> Function DialogFunction(const char* name) {
    static const HMODULE library = ::LoadLibraryW(L"comdlg32.dll");
    return library ? ProcAddress<Function>(library, name) : nullptr;
}

template <typename Function, typename Argument> BOOL Show(const char* name, Argument& argument) {
    const Function show = DialogFunction<Function>(name);
    return show ? show(&argument) : FALSE;
}

using FileDialogFunction = BOOL(WINAPI*)(OPENFILENAMEW*);
using ColourDialogFunction = BOOL(WINAPI*)(CHOOSECOLORW*);

} // namespace

BOOL ShowOpenFileDialog(OPENFILENAMEW& dialog) {
    return Show<FileDialogFunction>("GetOpenFileNameW", dialog);
}

BOOL ShowSaveFileDialog(OPENFILENAMEW& dialog) {
    return Show<FileDialogFunction>("GetSaveFileNameW", dialog);
}

BOOL ShowColourDialog(CHOOSECOLORW& dialog) {
    return Show<ColourDialogFunction>("ChooseColorW", dialog);
}
