// An extension library for the loader's tests, built in variants (GW_TEST_SLOT: the slot whose
// name it is built under; GW_TEST_INSTALL_FAILS; GW_TEST_WITHOUT_UNINSTALL). It compiles against
// the published interface header alone and links nothing of the program. Each call the program
// makes is appended to the process's environment variable GW_EXTENSION_CALLS as
// "<slot>:<call> ", so the record outlives the library. CallEngine lets a test reach every
// operation of the engine interface through the pointer the program gave.
#include "extensions/win/GWMainEngineInterface.h"

#include <cstdint>
#include <string>

namespace {

HINSTANCE g_module = nullptr;
CGWMainEngineInterface* g_engine = nullptr;

void Record(const std::wstring& call) {
    wchar_t calls[4096] = {};
    ::GetEnvironmentVariableW(L"GW_EXTENSION_CALLS", calls, 4096);
    const std::wstring now =
        std::wstring(calls) + std::to_wstring(GW_TEST_SLOT) + L":" + call + L" ";
    ::SetEnvironmentVariableW(L"GW_EXTENSION_CALLS", now.c_str());
}

unsigned char Flag(std::intptr_t value) {
    return static_cast<unsigned char>(value);
}

} // namespace

GW_EXTENSION_EXPORT bool SetupCursors(HINSTANCE module) {
    Record(module == g_module ? L"SetupCursors(own)" : L"SetupCursors(other)");
    return true;
}

GW_EXTENSION_EXPORT bool InstallKeyboard() {
    Record(L"Install");
#ifdef GW_TEST_INSTALL_FAILS
    return false;
#else
    return true;
#endif
}

GW_EXTENSION_EXPORT void SetGWEngine(CGWMainEngineInterface* engine) {
    g_engine = engine;
    Record(L"SetGWEngine");
}

GW_EXTENSION_EXPORT void TurnOffKeyboard() {
    Record(L"TurnOff");
}

GW_EXTENSION_EXPORT void TurnOnKeyboard() {
    Record(L"TurnOn");
}

#ifndef GW_TEST_WITHOUT_UNINSTALL
GW_EXTENSION_EXPORT bool UninstallKeyboard() {
    g_engine = nullptr;
    Record(L"Uninstall");
    return true;
}
#endif

// One operation of the engine interface by its number in the interface, with up to four
// arguments; the getters' results come back.
GW_EXTENSION_EXPORT std::intptr_t CallEngine(int operation, std::intptr_t a, int b, int c, int d) {
    CGWMainEngineInterface& engine = *g_engine;
    switch (operation) {
    case 0:
        engine.StrokeStart(static_cast<int>(a), b, c, Flag(d));
        return 0;
    case 1:
        engine.StrokeMove(static_cast<int>(a), b, Flag(c));
        return 0;
    case 2:
        engine.StrokeEnd(static_cast<int>(a), b, Flag(c));
        return 0;
    case 3:
        engine.RestartIdleTimer();
        return 0;
    case 4:
        engine.SetStateAllowed(static_cast<int>(a), Flag(b));
        return 0;
    case 5:
        engine.SetKeyboardStateHorizontal();
        return 0;
    case 6:
        engine.SetKeyboardStateVertical();
        return 0;
    case 7:
        engine.SetKeyboardStateNormal();
        return 0;
    case 8:
        return engine.GetLetterSide();
    case 9:
        engine.SetLetterSide(Flag(a));
        return 0;
    case 10:
        engine.SetExternalPointer(Flag(a));
        return 0;
    case 11:
        return engine.GetExternalPointer();
    case 12:
        return reinterpret_cast<std::intptr_t>(engine.GetApplication());
    case 13:
        engine.SetViewCursor(reinterpret_cast<HCURSOR>(a));
        return 0;
    default:
        return -1;
    }
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        g_module = module;
    else if (reason == DLL_PROCESS_DETACH)
        Record(L"Freed");
    return TRUE;
}
