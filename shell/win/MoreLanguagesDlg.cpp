#include "shell/win/MoreLanguagesDlg.h"

#include "framework/win/WideString.h"
#include "resources/resource.h"
#include "shell/ProgramLinks.h"

CMoreLanguagesDlg::CMoreLanguagesDlg(HWND parent) : CDialog(IDD_MORE_LANGUAGES, parent) {}

bool CMoreLanguagesDlg::OnInitDialog() {
    const int ids[] = {IDC_LINK_LANGUAGES, IDC_LINK_LANGUAGES_PAGE};
    for (std::size_t i = 0; i < links_.size(); ++i) {
        links_[i].SubclassDlgItem(ids[i], GetSafeHwnd());
        links_[i].SetLink(ToWide(gw::kLanguagesPage));
    }
    return true;
}
