#pragma once
// The about box: the program's picture with the OK button in its bottom-right corner and four
// link areas laid over the addresses that the picture shows.
#include "shell/win/BitmapDialog.h"
#include "shell/win/DialogControls.h"

#include <array>

class CAboutDlg : public CSplashAboutParentDlg {
public:
    explicit CAboutDlg(HWND parent = nullptr);

    static constexpr int kLinkCount = 4;
    static constexpr int kOkMargin = 10;
    // The link area with the given control identifier, or nullptr.
    CLinkStatic* Link(int controlId);

protected:
    bool OnInitDialog() override;

private:
    std::array<CLinkStatic, kLinkCount> links_;
};
