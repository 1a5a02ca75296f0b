#include "extensions/win/ExtensionLoader.h"

#include "framework/win/ProcAddress.h"
#include "keyboard/win/GWMainEngine.h"

#include <cwchar>

std::wstring CExtensionLoader::LibraryName(int slot) {
    wchar_t name[32] = {};
    std::swprintf(name, 32, L"GWExt%03d.dll", slot);
    return name;
}

bool CExtensionLoader::LoadExtensions(CGWMainEngine& engine) {
    for (int n = 0; n < kSlotCount; ++n) {
        slots_[static_cast<std::size_t>(n)] = Slot{};
        LoadSlot(slots_[static_cast<std::size_t>(n)], n, engine);
    }
    return true;
}

void CExtensionLoader::LoadSlot(Slot& slot, int number, CGWMainEngine& engine) {
    slot.module = ::LoadLibraryW(LibraryName(number).c_str());
    if (!slot.module)
        return;
    const auto install = ProcAddress<InstallKeyboardFunction>(slot.module, "InstallKeyboard");
    if (!install)
        return;
    const auto setEngine = ProcAddress<SetGWEngineFunction>(slot.module, "SetGWEngine");
    if (!setEngine)
        return;
    if (!(slot.turnOff = ProcAddress<TurnOffKeyboardFunction>(slot.module, "TurnOffKeyboard")))
        return;
    if (!(slot.turnOn = ProcAddress<TurnOnKeyboardFunction>(slot.module, "TurnOnKeyboard")))
        return;
    if (!(slot.uninstall =
              ProcAddress<UninstallKeyboardFunction>(slot.module, "UninstallKeyboard")))
        return;
    if (const auto setupCursors = ProcAddress<SetupCursorsFunction>(slot.module, "SetupCursors"))
        setupCursors(slot.module);
    if (!install())
        return;
    setEngine(&engine);
    engine.Engine().extensionKeyboard = 1;
}

void CExtensionLoader::TurnOnKeyboard() {
    if (slots_[0].turnOn)
        slots_[0].turnOn();
}

void CExtensionLoader::TurnOffKeyboard() {
    if (slots_[0].turnOff)
        slots_[0].turnOff();
}

void CExtensionLoader::Release() {
    for (Slot& slot : slots_) {
        if (slot.turnOff)
            slot.turnOff();
        if (slot.uninstall)
            slot.uninstall();
        if (slot.module)
            ::FreeLibrary(slot.module);
        slot = Slot{};
    }
}
