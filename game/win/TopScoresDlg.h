#pragma once
// The "Top Scores" window: the five places of the table, with the name box of a new place
// open for the player's name. It stands in for the main window while it is shown.
#include "framework/win/Dialog.h"
#include "game/TopScores.h"

class CTopScoresDlg : public CDialog {
public:
    explicit CTopScoresDlg(gw::ScoreStore& store);
    // Creates the window hidden, standing in for the main window when shown.
    bool CreateFor(HWND mainWindow);

    // Reads the table from the store into the window, every name box closed.
    void Reload();
    // Shows the table in place of the main window.
    void ShowTable();
    // Enters a final score into the table and shows it with the new place's name box open;
    // false (nothing shown) when the score does not reach the table.
    bool EnterScore(int finalScore);

protected:
    INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;
    void OnCancel() override;

private:
    void Fill();
    void CloseNameBoxes();

    gw::ScoreStore& store_;
    HWND mainWindow_ = nullptr;
    gw::TopScoreTable table_;
};
