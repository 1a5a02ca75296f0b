#pragma once
// Starting the practice game from the main frame's "&Game" command.
#include "shell/StartUp.h"

#include <windows.h>

// Starts programs with CreateProcessW and shows messages in a message box of the owner.
class CWin32ProgramStarter : public gw::ProgramStartPort {
public:
    explicit CWin32ProgramStarter(HWND owner) : owner_(owner) {}
    // The file is looked for in the working directory only; the program gets no command line,
    // inherits the handles, and is not waited for.
    bool StartProgram(std::u16string_view file) override;
    void ShowMessage(std::u16string_view text) override;

private:
    HWND owner_;
};

// Starts "GW Game.exe", or tells the user that it cannot be started.
bool StartPracticeGame(HWND owner);
