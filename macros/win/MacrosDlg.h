#pragma once
// Macro Scribe: the list of the macros, with New, Edit, Delete, sending a macro into the
// program that was in the foreground, Save, Save As, Load and the macro hot key. It edits a
// working copy of the macros; the store and the macro file change only on Save, Save As, Load
// or a Yes to the question whether to save the changes.
#include "framework/win/Dialog.h"
#include "framework/win/DialogLayout.h"
#include "framework/win/SubclassWnd.h"
#include "macros/MacroFile.h"
#include "macros/win/EditMacroDlg.h"
#include "macros/win/MacroScribe.h"

#include <commctrl.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Macro Scribe's list: a list view whose double clicks go to the dialog.
class CMacroListCtrl : public CSubclassWnd {
public:
    std::function<void(POINT)> onDoubleClick;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CMacrosDlg : public CDialog {
public:
    // With newKey set, the New Macro dialog opens with the key once the dialog is shown. The
    // common controls (the list, the hot key field) are loaded by then: CMacroScribe::Open loads
    // them on its caller's thread.
    CMacrosDlg(CMacroScribeHost& host, std::uint8_t newKey, std::u16string key);
    ~CMacrosDlg() override;

    // Runs the dialog modally; Cancel at once while another Macro Scribe runs in the process.
    INT_PTR RunModal();
    // Follows the typing in other programs: the target of a send, and a send's echo.
    CHookEventListener& Listener() { return listener_; }
    const gw::MacroMap& WorkingCopy() const { return macros_; }
    bool IsModified() const;

protected:
    bool OnInitDialog() override;
    INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;     // Save
    void OnCancel() override; // Close

private:
    class CListener : public CHookEventListener {
    public:
        explicit CListener(CMacrosDlg& dialog) : dialog_(dialog) {}
        void OnHookEvent(const gw::HookEvent& event) override;

    private:
        CMacrosDlg& dialog_;
    };

    // The list.
    void SetUpList();
    void FillList();
    void UpdateButtons();
    int SelectedCount() const;
    std::vector<int> SelectedItems() const;
    std::u16string ItemKey(int item) const;
    void FitContentColumn();

    // The commands.
    void OnCommand(int id);
    void NewMacro(const std::u16string& key);
    void EditMacro();
    void DeleteMacros();
    void OnListDoubleClick(POINT at);
    bool RunEditDialog(std::u16string& key, std::u16string& content, const std::u16string& title);
    bool ConfirmReplace(const std::u16string& key);
    void SetModified() { modified_ = true; }

    // Saving and loading.
    bool Save();
    bool SaveAs();
    bool Apply();
    void Load();
    void SetCurrentFile(const std::u16string& path);
    // Asks whether to save the changes (if there are any) with the buttons; false when the
    // caller is to stop: Cancel, or a save that failed.
    bool OfferToSave(UINT buttons);
    std::uint32_t HotKeyInControl() const;
    void ShowTitle();
    void Close();

    // Sending a macro to the target and waiting for its echo.
    void SendSelectedMacro();
    void TrackTarget();
    void OnEchoCharacter(std::uint32_t ch);
    void StopSendWatcher();

    // Resizing.
    void MeasureLayout();
    void OnSize();

    CMacroScribeHost& host_;
    CListener listener_{*this};
    CMacroListCtrl list_;
    HIMAGELIST images_ = nullptr;
    CDialogLayout layout_;
    SIZE minimum_{};
    bool initialised_ = false;
    bool newMacro_ = false;
    std::u16string newMacroKey_;
    gw::MacroMap macros_;
    bool modified_ = false;
    bool ending_ = false;
    bool laidOut_ = false;
    DWORD threadId_ = 0;

    // Shared with the listener, which runs on the program's main thread.
    std::mutex stateLock_;
    HWND targetWindow_ = nullptr;
    HWND targetControl_ = nullptr;
    bool echoWait_ = false;
    std::size_t echoIndex_ = 0;
    std::u16string echoContent_;

    // Enables the dialog again once the store has typed the sent macro.
    std::thread sendWatcher_;
    std::atomic<bool> stopWatching_{false};
};
