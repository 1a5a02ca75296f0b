#include "game/win/TopScoresDlg.h"

#include "framework/win/WideString.h"
#include "framework/win/Window.h"
#include "game/win/GameResource.h"

#include <string>

CTopScoresDlg::CTopScoresDlg(gw::ScoreStore& store) : CDialog(IDD_TOP_SCORES), store_(store) {}

bool CTopScoresDlg::CreateFor(HWND mainWindow) {
    mainWindow_ = mainWindow;
    if (!Create())
        return false;
    Reload();
    return true;
}

void CTopScoresDlg::Reload() {
    table_ = gw::TopScoreTable::Load(store_);
    Fill();
    CloseNameBoxes();
}

void CTopScoresDlg::ShowTable() {
    ::ShowWindow(GetSafeHwnd(), SW_SHOW);
    ::SetForegroundWindow(GetSafeHwnd());
    ::ShowWindow(mainWindow_, SW_HIDE);
}

bool CTopScoresDlg::EnterScore(int finalScore) {
    table_ = gw::TopScoreTable::Load(store_);
    const std::optional<int> place = table_.Enter(finalScore);
    if (!place)
        return false;
    Fill();
    CloseNameBoxes();
    HWND nameBox = GetDlgItem(IDC_TOP_NAME_FIRST + *place);
    ::EnableWindow(nameBox, TRUE);
    ShowTable();
    ::SetFocus(nameBox);
    ::SendMessageW(nameBox, EM_SETSEL, 0, -1);
    return true;
}

void CTopScoresDlg::Fill() {
    for (int i = 0; i < gw::kTopScorePlaces; ++i) {
        const gw::TopScorePlace& place = table_.places[static_cast<std::size_t>(i)];
        ::SetDlgItemTextW(GetSafeHwnd(), IDC_TOP_NAME_FIRST + i, ToWide(place.name).c_str());
        ::SetDlgItemTextW(GetSafeHwnd(), IDC_TOP_SCORE_FIRST + i,
                          std::to_wstring(place.score).c_str());
    }
}

void CTopScoresDlg::CloseNameBoxes() {
    for (int i = 0; i < gw::kTopScorePlaces; ++i)
        ::EnableWindow(GetDlgItem(IDC_TOP_NAME_FIRST + i), FALSE);
}

INT_PTR CTopScoresDlg::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        // Closing this window ends the program, as closing the main window does.
        ::DestroyWindow(mainWindow_);
        return TRUE;
    }
    return CDialog::DialogProc(message, wParam, lParam);
}

void CTopScoresDlg::OnOK() {
    for (int i = 0; i < gw::kTopScorePlaces; ++i) {
        table_.places[static_cast<std::size_t>(i)].name =
            FromWide(WindowText(GetDlgItem(IDC_TOP_NAME_FIRST + i)));
    }
    table_.Save(store_);
    OnCancel();
}

void CTopScoresDlg::OnCancel() {
    Reload();
    ::ShowWindow(mainWindow_, SW_SHOW);
    ::SetForegroundWindow(mainWindow_);
    ::ShowWindow(GetSafeHwnd(), SW_HIDE);
}
