#pragma once
// The settings dialog "Glyphwell Keyboard Settings": it edits the engine's settings, the trace,
// the circle sensitivity and the language. Nothing changes before OK; Cancel discards it all,
// and "Default ..." resets the controls only.
#include "framework/win/Dialog.h"
#include "shell/Settings.h"
#include "shell/win/DialogControls.h"

#include <string>
#include <vector>

// What the dialog reads and changes.
class COptionsDlgHost {
public:
    virtual ~COptionsDlgHost() = default;
    virtual gw::AppSettings& Settings() = 0;
    virtual const gw::EngineSettings& EngineSettings() const = 0;
    // The engine takes the settings (and the circle ratio) from now on.
    virtual void ApplyEngineSettings(const gw::EngineSettings& settings) = 0;
    // Writes the whole set of settings.
    virtual void SaveSettings() = 0;
    virtual void RestartIdleTimer() = 0;
    // "English" first, then the installed languages.
    virtual const std::vector<std::u16string>& LanguageList() const = 0;
    virtual const std::u16string& CurrentLanguage() const = 0;
    virtual void SetLanguage(const std::u16string& name) = 0;
};

class COptionsDlg : public CDialog {
public:
    explicit COptionsDlg(COptionsDlgHost& host, HWND parent = nullptr);

    // The circle gesture ratio the dialog holds now.
    double CircleRatio() const { return ratio_; }

protected:
    bool OnInitDialog() override;
    INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;

private:
    void ShowEngineSettings(const gw::EngineSettings& engine);
    void ShowTraceColor(COLORREF color);
    void ShowCircleRatio(double ratio);
    void SelectLanguage(const std::u16string& name);
    void OnSlider(HWND slider);
    void OnCommand(int id);
    void UpdateDragLabels();
    void EnableIdleControls();
    void ChooseTraceColor();
    void RestoreDefaults();

    int SliderPosition(int id) const;
    void SetSlider(int id, int low, int high, int position);
    void ShowNumber(int id, int value);
    bool IsChecked(int id) const;
    void Check(int id, bool on);

    COptionsDlgHost& host_;
    CChangeColorButton colorButton_;
    CCircleShapeStatic circle_;
    double ratio_ = 0.0;
    COLORREF traceColor_ = 0;
    std::array<std::uint32_t, gw::kCustomColorCount> customColors_{};
};
