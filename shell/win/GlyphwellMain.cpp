// Entry point of the keyboard program: the application object runs the start-up, the message
// loop and the shutdown.
#include "shell/win/KeyboardApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    CKeyboardApp app;
    return app.RunApplication();
}
