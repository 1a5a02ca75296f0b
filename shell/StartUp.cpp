#include "shell/StartUp.h"

namespace gw {

bool StartPracticeGame(ProgramStartPort& port) {
    if (port.StartProgram(kGameProgramFile))
        return true;
    port.ShowMessage(kGameStartFailedText);
    return false;
}

} // namespace gw
