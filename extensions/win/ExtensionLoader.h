#pragma once
// The extension libraries GWExt000.dll to GWExt003.dll: found by the system's library search
// at start-up, bound by their exports' names, installed and given the engine; the first one is
// switched on and off by the user; all are turned off, uninstalled and freed at the end.
// Nothing about them is ever reported: a library that is missing, lacks an export or does not
// install leaves its slot unused.
#include "extensions/win/GWMainEngineInterface.h"

#include <array>
#include <string>

class CGWMainEngine;

class CExtensionLoader {
public:
    static constexpr int kSlotCount = 4;
    // "GWExt000.dll" for slot 0.
    static std::wstring LibraryName(int slot);

    CExtensionLoader() = default;
    ~CExtensionLoader() { Release(); }
    CExtensionLoader(const CExtensionLoader&) = delete;
    CExtensionLoader& operator=(const CExtensionLoader&) = delete;

    // Loads, binds and installs each slot's library; each install sets the engine's
    // extension-keyboard flag.
    bool LoadExtensions(CGWMainEngine& engine);
    // The user switches the first slot's keyboard on or off.
    void TurnOnKeyboard();
    void TurnOffKeyboard();
    // Turns off, uninstalls and frees each slot in order.
    void Release();

    HMODULE Module(int slot) const { return slots_[static_cast<std::size_t>(slot)].module; }

private:
    // A slot keeps what was bound before a missing export ended its binding, so that the end
    // still calls it.
    struct Slot {
        HMODULE module = nullptr;
        TurnOffKeyboardFunction turnOff = nullptr;
        TurnOnKeyboardFunction turnOn = nullptr;
        UninstallKeyboardFunction uninstall = nullptr;
    };
    void LoadSlot(Slot& slot, int number, CGWMainEngine& engine);

    std::array<Slot, kSlotCount> slots_{};
};
