#pragma once
// The program's icon in the task bar's notification area: adds it, changes its picture, shows
// its context menu and turns a double click into the menu's default command, and removes it.
// A hidden window of its own receives the shell's notifications. If adding the icon fails,
// the tray stays disabled and every later operation does nothing.
#include "framework/win/Window.h"

#include <shellapi.h>

class CSystemTray : public CWnd {
public:
    CSystemTray() = default;
    ~CSystemTray() override;

    // The shell's notification-icon record in its form with balloon fields (936 bytes in the
    // 32-bit program).
    static constexpr DWORD kRecordSize = NOTIFYICONDATAW_V2_SIZE;

    // Creates the hidden window and adds the icon; the icon's identifier is the menu
    // resource. The record's owner is the tray's own window whatever parent is given. True
    // when the icon was added.
    bool Create(HWND parent, UINT callbackMessage, const wchar_t* tip, UINT iconResource,
                UINT menuResource);
    // Changes the icon's picture; true when the shell took it.
    bool SetIcon(UINT iconResource);
    // Makes an item of the menu's first popup the default one (bold, run by a double click):
    // by position or by command identifier. True when the popup accepts it.
    bool SetMenuDefaultItem(UINT item, bool byPosition);
    // The window that the menu's commands go to: the program's main window.
    void SetMainWindow(HWND mainWindow) { mainWindow_ = mainWindow; }
    // Removes the icon (if it was added) and destroys the hidden window.
    void Destroy();

    bool IsEnabled() const { return enabled_; }
    const NOTIFYICONDATAW& Record() const { return record_; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The callback message: wParam the icon's identifier, LOWORD(lParam) the mouse event.
    virtual LRESULT OnTrayNotification(WPARAM wParam, LPARAM lParam);
    // The one door to the shell, so that a test can watch or refuse the calls.
    virtual BOOL ShellNotify(DWORD message, NOTIFYICONDATAW* record);

private:
    // The command identifier that the default item stands for, or 0 if there is none.
    UINT DefaultCommand() const;

    bool enabled_ = false;
    NOTIFYICONDATAW record_{};
    UINT menuResource_ = 0;
    UINT defaultItem_ = 0;
    bool defaultByPosition_ = true;
    HWND mainWindow_ = nullptr;
};
