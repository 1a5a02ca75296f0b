#pragma once
// The "More Languages" dialog: where more language modules can be downloaded. It changes
// nothing.
#include "framework/win/Dialog.h"
#include "shell/win/DialogControls.h"

#include <array>

class CMoreLanguagesDlg : public CDialog {
public:
    explicit CMoreLanguagesDlg(HWND parent = nullptr);
    // The two link controls ("click here" and the page's address).
    const CLinkStatic& Link(std::size_t i) const { return links_[i]; }

protected:
    bool OnInitDialog() override;

private:
    std::array<CLinkStatic, 2> links_;
};
