#pragma once
// The names and texts of the program's start-up that other programs or the user see: the
// single-instance mutex, the main window's title and class, the practice game's file and the
// messages of a failed start, and the game's start itself over a small port.
#include <string_view>

namespace gw {

inline constexpr char16_t kInstanceMutexName[] = u"Glyphwell Mutex";
// A second start looks for a top-level window of this class and title.
inline constexpr char16_t kMainWindowTitle[] = u"Glyphwell";
inline constexpr char16_t kMainFrameClassName[] = u"GlyphwellMainFrame";

inline constexpr char16_t kGameProgramFile[] = u"GW Game.exe";
inline constexpr char16_t kGameStartFailedText[] =
    u"Unable to start game.\nPlease check that GW Game.exe is installed in the same directory "
    u"with Glyphwell.exe";
inline constexpr char16_t kOleFailedText[] =
    u"Glyphwell could not initialise OLE and cannot start.";

// What starting the practice game needs from the platform.
class ProgramStartPort {
public:
    virtual ~ProgramStartPort() = default;
    // Starts a program file of the working directory without arguments and without waiting
    // for it; false when it could not be started.
    virtual bool StartProgram(std::u16string_view file) = 0;
    // A message box with an OK button.
    virtual void ShowMessage(std::u16string_view text) = 0;
};

// The "&Game" command: starts "GW Game.exe"; when that fails, says so. True when it started.
bool StartPracticeGame(ProgramStartPort& port);

} // namespace gw
