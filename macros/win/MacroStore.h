#pragma once
// The macro store of the keyboard program: the portable store with its file. The current
// macro file is the one last chosen in Macro Scribe, or macros.dat in the user's data folder.
#include "macros/MacroStore.h"
#include "shell/Settings.h"

#include <windows.h>

#include <string>
#include <vector>

class CMacroStore : public gw::MacroStore {
public:
    CMacroStore(gw::MacroStorePort& port, const gw::MacroSettings& settings)
        : gw::MacroStore(port), settings_(settings) {}

    // CurrentMacroFilename, or <AppData>\Vantorel\Glyphwell\macros.dat.
    std::wstring CurrentMacroFile() const;
    // Merges the current macro file into the map. A broken file ends the load silently; what
    // was read before stays. False when the file could not be read at all.
    bool LoadMacros();
    // Writes the whole map to the current macro file. The file is replaced only once the new
    // one is completely written, so a failed save leaves the old file whole; the failure is
    // shown in a message box over the owner. False when it failed.
    bool SaveMacros(HWND owner);

private:
    const gw::MacroSettings& settings_;
};

// Writes the bytes to a new file beside the path and replaces the path's file with it once
// they are all on disk. A read-only file is not replaced. On failure nothing changed and the
// system's error code is returned; ERROR_SUCCESS otherwise.
DWORD ReplaceFileContents(const std::wstring& path, const std::vector<std::uint8_t>& bytes);
