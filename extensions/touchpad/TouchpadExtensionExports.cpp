// GWExt000.dll's exports: the touchpad as the keyboard's writing surface.
#include "extensions/touchpad/TouchpadExtension.h"

GW_EXTENSION_EXPORT bool SetupCursors(HINSTANCE module) {
    return CTouchpadExtension::Instance().SetupCursors(module);
}

GW_EXTENSION_EXPORT bool InstallKeyboard() {
    return CTouchpadExtension::Instance().Install();
}

GW_EXTENSION_EXPORT void SetGWEngine(CGWMainEngineInterface* engine) {
    CTouchpadExtension::Instance().SetEngine(engine);
}

GW_EXTENSION_EXPORT void TurnOnKeyboard() {
    CTouchpadExtension::Instance().TurnOn();
}

GW_EXTENSION_EXPORT void TurnOffKeyboard() {
    CTouchpadExtension::Instance().TurnOff();
}

GW_EXTENSION_EXPORT bool UninstallKeyboard() {
    return CTouchpadExtension::Instance().Uninstall();
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        CTouchpadExtension::Instance().SetModule(module);
    } else if (reason == DLL_PROCESS_DETACH && !reserved) {
        // Freed by the program; when the process ends instead, its threads are already gone.
        CTouchpadExtension::Instance().Unload();
    }
    return TRUE;
}
