#include "framework/win/CommonDialogs.h"

#include "framework/win/ProcAddress.h"

namespace {

// Loaded once and kept for the life of the program.
HMODULE Library() {
    static const HMODULE library = ::LoadLibraryW(L"comdlg32.dll");
    return library;
}

template <typename Function, typename Argument> BOOL Show(const char* name, Argument& argument) {
    const auto show = ProcAddress<Function>(Library(), name);
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
