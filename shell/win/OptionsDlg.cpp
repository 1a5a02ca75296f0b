#include "shell/win/OptionsDlg.h"

#include "framework/win/CommonControls.h"
#include "framework/win/CommonDialogs.h"
#include "framework/win/WideString.h"
#include "resources/resource.h"
#include "shell/OptionsRules.h"

#include <commctrl.h>

namespace {

const wchar_t kDefaultsQuestion[] =
    L"This will restore all default settings.\nAre you sure you want to continue?";

} // namespace

COptionsDlg::COptionsDlg(COptionsDlgHost& host, HWND parent)
    : CDialog(IDD_OPTIONS, parent), host_(host) {
    LoadCommonControls(); // the sliders
}

int COptionsDlg::SliderPosition(int id) const {
    return static_cast<int>(::SendMessageW(GetDlgItem(id), TBM_GETPOS, 0, 0));
}

void COptionsDlg::SetSlider(int id, int low, int high, int position) {
    HWND slider = GetDlgItem(id);
    ::SendMessageW(slider, TBM_SETRANGE, TRUE, MAKELPARAM(low, high));
    ::SendMessageW(slider, TBM_SETPOS, TRUE, position);
}

void COptionsDlg::ShowNumber(int id, int value) {
    ::SetDlgItemInt(GetSafeHwnd(), id, static_cast<UINT>(value), TRUE);
}

bool COptionsDlg::IsChecked(int id) const {
    return ::IsDlgButtonChecked(GetSafeHwnd(), id) == BST_CHECKED;
}

void COptionsDlg::Check(int id, bool on) {
    ::CheckDlgButton(GetSafeHwnd(), id, on ? BST_CHECKED : BST_UNCHECKED);
}

bool COptionsDlg::OnInitDialog() {
    const gw::AppSettings& app = host_.Settings();
    colorButton_.SubclassDlgItem(IDC_TRACE_COLOR, GetSafeHwnd());
    circle_.SubclassDlgItem(IDC_CIRCLE_PICTURE, GetSafeHwnd());
    ShowEngineSettings(host_.EngineSettings());
    ShowCircleRatio(app.circleAreaRatio);
    Check(IDC_FOLLOW_CARET, app.followCaret);
    ShowTraceColor(app.traceColor);
    customColors_ = app.customColors;
    HWND list = GetDlgItem(IDC_LANGUAGE);
    for (const std::u16string& name : host_.LanguageList())
        ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(name).c_str()));
    SelectLanguage(host_.CurrentLanguage());
    return true;
}

// The sliders, check boxes and radio buttons of the engine's settings, as loaded: the drag
// values are shown as they are, even closer than the sliders would let them come.
void COptionsDlg::ShowEngineSettings(const gw::EngineSettings& engine) {
    SetSlider(IDC_MIN_DRAG_SLIDER, gw::kMinDragSliderMin, gw::kMinDragSliderMax,
              static_cast<int>(engine.minDrag));
    ShowNumber(IDC_MIN_DRAG_VALUE, static_cast<int>(engine.minDrag));
    SetSlider(IDC_MAX_DRAG_SLIDER, gw::kMaxDragSliderMin, gw::kMaxDragSliderMax,
              static_cast<int>(engine.maxDrag));
    ShowNumber(IDC_MAX_DRAG_VALUE, static_cast<int>(engine.maxDrag));
    SetSlider(IDC_IDLE_SLIDER, gw::kIdleSliderMin, gw::kIdleSliderMax,
              static_cast<int>(engine.minimizeTime));
    ShowNumber(IDC_IDLE_VALUE, static_cast<int>(engine.minimizeTime));
    Check(IDC_MACRO_RECALL, engine.maxDragMacros);
    Check(IDC_DONT_MINIMIZE, engine.dontMinimize);
    EnableIdleControls();
    Check(IDC_DRAW_TRACE, engine.drawTrace);
    const bool immediately = engine.shiftCtrlAltDragAction != 0;
    Check(IDC_SEND_IMMEDIATELY, immediately);
    Check(IDC_SEND_WITH_CHARACTERS, !immediately);
    UpdateDragLabels();
}

void COptionsDlg::ShowTraceColor(COLORREF color) {
    traceColor_ = color;
    colorButton_.SetColor(color);
    circle_.SetColor(color);
}

void COptionsDlg::ShowCircleRatio(double ratio) {
    ratio_ = ratio;
    SetSlider(IDC_CIRCLE_SLIDER, gw::kCircleSliderMin, gw::kCircleSliderMax,
              gw::CirclePositionForRatio(ratio));
    circle_.SetRatio(ratio);
}

// Selects the entry equal to the name, or none.
void COptionsDlg::SelectLanguage(const std::u16string& name) {
    const auto& list = host_.LanguageList();
    WPARAM selected = static_cast<WPARAM>(-1);
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i] == name)
            selected = i;
    ::SendMessageW(GetDlgItem(IDC_LANGUAGE), CB_SETCURSEL, selected, 0);
}

void COptionsDlg::UpdateDragLabels() {
    if (!IsChecked(IDC_SEND_WITH_CHARACTERS) && !IsChecked(IDC_SEND_IMMEDIATELY))
        return;
    const gw::DragActionLabels labels = gw::LabelsForDragAction(IsChecked(IDC_SEND_IMMEDIATELY));
    ::SetDlgItemTextW(GetSafeHwnd(), IDC_WITH_CHARACTERS_LABEL,
                      ToWide(labels.withCharacters).c_str());
    ::SetDlgItemTextW(GetSafeHwnd(), IDC_IMMEDIATELY_LABEL, ToWide(labels.immediately).c_str());
}

void COptionsDlg::EnableIdleControls() {
    const BOOL enable = IsChecked(IDC_DONT_MINIMIZE) ? FALSE : TRUE;
    for (int id : {IDC_IDLE_SLIDER, IDC_IDLE_VALUE, IDC_IDLE_LOW, IDC_IDLE_HIGH})
        ::EnableWindow(GetDlgItem(id), enable);
}

void COptionsDlg::OnSlider(HWND slider) {
    const int id = ::GetDlgCtrlID(slider);
    if (id == IDC_IDLE_SLIDER) {
        ShowNumber(IDC_IDLE_VALUE, SliderPosition(IDC_IDLE_SLIDER));
    } else if (id == IDC_MIN_DRAG_SLIDER || id == IDC_MAX_DRAG_SLIDER) {
        const gw::DragSliders now{SliderPosition(IDC_MIN_DRAG_SLIDER),
                                  SliderPosition(IDC_MAX_DRAG_SLIDER)};
        const gw::DragSliders after = id == IDC_MIN_DRAG_SLIDER ? gw::AfterMinimumDragMoved(now)
                                                                : gw::AfterMaximumDragMoved(now);
        ::SendMessageW(GetDlgItem(IDC_MIN_DRAG_SLIDER), TBM_SETPOS, TRUE, after.minimum);
        ::SendMessageW(GetDlgItem(IDC_MAX_DRAG_SLIDER), TBM_SETPOS, TRUE, after.maximum);
        ShowNumber(IDC_MIN_DRAG_VALUE, SliderPosition(IDC_MIN_DRAG_SLIDER));
        ShowNumber(IDC_MAX_DRAG_VALUE, SliderPosition(IDC_MAX_DRAG_SLIDER));
    } else if (id == IDC_CIRCLE_SLIDER) {
        ratio_ = gw::CircleRatioForPosition(SliderPosition(IDC_CIRCLE_SLIDER));
        circle_.SetRatio(ratio_);
    }
}

void COptionsDlg::ChooseTraceColor() {
    COLORREF custom[gw::kCustomColorCount];
    std::copy(customColors_.begin(), customColors_.end(), custom);
    CHOOSECOLORW chooser{};
    chooser.lStructSize = sizeof(chooser);
    chooser.hwndOwner = GetSafeHwnd();
    chooser.rgbResult = traceColor_;
    chooser.lpCustColors = custom;
    chooser.Flags = CC_RGBINIT | CC_SOLIDCOLOR;
    if (!ShowColourDialog(chooser))
        return;
    std::copy(custom, custom + gw::kCustomColorCount, customColors_.begin());
    ShowTraceColor(chooser.rgbResult);
    // Saved at once as they stand: the new colour and custom colours are stored only on OK.
    host_.SaveSettings();
}

void COptionsDlg::RestoreDefaults() {
    if (::MessageBoxW(GetSafeHwnd(), kDefaultsQuestion, L"Glyphwell", MB_YESNO | MB_ICONQUESTION) !=
        IDYES)
        return;
    gw::AppSettings app = host_.Settings();
    gw::EngineSettings engine = host_.EngineSettings();
    gw::ResetToDefaults(app, engine);
    ShowEngineSettings(engine);
    ShowTraceColor(app.traceColor);
    ShowCircleRatio(app.circleAreaRatio);
    const auto& list = host_.LanguageList();
    SelectLanguage(app.language);
    if (::SendMessageW(GetDlgItem(IDC_LANGUAGE), CB_GETCURSEL, 0, 0) == CB_ERR && !list.empty())
        ::SendMessageW(GetDlgItem(IDC_LANGUAGE), CB_SETCURSEL, 0, 0);
}

void COptionsDlg::OnCommand(int id) {
    switch (id) {
    case IDC_SEND_WITH_CHARACTERS:
    case IDC_SEND_IMMEDIATELY:
        UpdateDragLabels();
        break;
    case IDC_DONT_MINIMIZE:
        EnableIdleControls();
        break;
    case IDC_TRACE_COLOR:
        ChooseTraceColor();
        break;
    case IDC_DEFAULTS:
        RestoreDefaults();
        break;
    default:
        break;
    }
}

INT_PTR COptionsDlg::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HSCROLL && lParam) {
        OnSlider(reinterpret_cast<HWND>(lParam));
        return TRUE;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) != IDOK &&
        LOWORD(wParam) != IDCANCEL) {
        OnCommand(LOWORD(wParam));
        return TRUE;
    }
    return CDialog::DialogProc(message, wParam, lParam);
}

void COptionsDlg::OnOK() {
    gw::AppSettings& app = host_.Settings();
    gw::EngineSettings engine = host_.EngineSettings();
    engine.minDrag = static_cast<std::uint32_t>(SliderPosition(IDC_MIN_DRAG_SLIDER));
    engine.maxDrag = static_cast<std::uint32_t>(SliderPosition(IDC_MAX_DRAG_SLIDER));
    engine.dontMinimize = IsChecked(IDC_DONT_MINIMIZE);
    engine.drawTrace = IsChecked(IDC_DRAW_TRACE);
    engine.minimizeTime = static_cast<std::uint32_t>(SliderPosition(IDC_IDLE_SLIDER));
    engine.shiftCtrlAltDragAction = IsChecked(IDC_SEND_WITH_CHARACTERS) ? 0 : 1;
    engine.maxDragMacros = IsChecked(IDC_MACRO_RECALL);
    app.circleAreaRatio = ratio_;
    app.followCaret = IsChecked(IDC_FOLLOW_CARET);
    app.traceColor = traceColor_;
    app.customColors = customColors_;
    host_.ApplyEngineSettings(engine);
    host_.SaveSettings();
    host_.RestartIdleTimer();
    // No language selected (the current one is not listed): it stays as it is.
    const auto selected = ::SendMessageW(GetDlgItem(IDC_LANGUAGE), CB_GETCURSEL, 0, 0);
    const auto& list = host_.LanguageList();
    if (selected >= 0 && static_cast<std::size_t>(selected) < list.size() &&
        list[static_cast<std::size_t>(selected)] != host_.CurrentLanguage())
        host_.SetLanguage(list[static_cast<std::size_t>(selected)]);
    EndDialog(IDOK);
}
