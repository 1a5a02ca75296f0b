#include "shell/win/PracticeGame.h"

#include "framework/win/WideString.h"

bool CWin32ProgramStarter::StartProgram(std::u16string_view file) {
    const std::wstring path = ToWide(file);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(path.c_str(), nullptr, nullptr, nullptr, TRUE,
                          CREATE_DEFAULT_ERROR_MODE | CREATE_NEW_PROCESS_GROUP |
                              NORMAL_PRIORITY_CLASS,
                          nullptr, nullptr, &startup, &process))
        return false;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

void CWin32ProgramStarter::ShowMessage(std::u16string_view text) {
    const std::wstring message = ToWide(text);
    const std::wstring caption = ToWide(gw::kMainWindowTitle);
    ::MessageBoxW(owner_, message.c_str(), caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

bool StartPracticeGame(HWND owner) {
    CWin32ProgramStarter starter(owner);
    return gw::StartPracticeGame(starter);
}
