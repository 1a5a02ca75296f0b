#pragma once
// The small controls of the program's dialogs. Each takes over an existing dialog item
// (SubclassDlgItem or Attach).
#include "framework/win/SubclassWnd.h"

#include <string>
#include <utility>

// Static text drawn with its own colour and font attributes on a transparent background.
class CFormatStatic : public CSubclassWnd {
public:
    void SetTextColor(COLORREF color);
    void SetUnderline(bool on);
    void SetItalic(bool on);
    void SetBold(bool on);
    void SetStrikeOut(bool on);
    void SetCentred(bool on);
    // Text drawn instead of the window text; empty draws the window text.
    void SetText(std::wstring text);

    COLORREF TextColor() const { return color_; }
    bool Underline() const { return underline_; }
    const std::wstring& Text() const { return text_; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc);
    // Repaints the control and the parent's background under it (the text is transparent).
    void Redraw();

    COLORREF color_ = 0x000000;
    bool underline_ = false;
    bool italic_ = false;
    bool bold_ = false;
    bool strikeOut_ = false;
    bool centred_ = false;
    std::wstring text_;
};

// Static text that shows the hand cursor and receives clicks; blue and underlined.
class CHoverStatic : public CFormatStatic {
public:
    CHoverStatic();

protected:
    void OnAttached() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A hover text that opens its link (or, without one, its window text) with the shell when
// clicked.
class CLinkStatic : public CHoverStatic {
public:
    void SetLink(std::wstring link) { link_ = std::move(link); }
    const std::wstring& Link() const { return link_; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Opens the target with the shell's "open" verb, shown normally.
    virtual void Open(const std::wstring& target);

private:
    std::wstring link_;
};

// An edit control in which Ctrl+A selects the whole text.
class CEditWithSelectAll : public CSubclassWnd {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// An owner-drawn button that shows a colour swatch, sunken while pressed. Its parent reflects
// WM_DRAWITEM to it (CDialog does).
class CChangeColorButton : public CSubclassWnd {
public:
    void SetColor(COLORREF color);
    COLORREF Color() const { return color_; }

protected:
    void OnAttached() override;
    bool DrawItem(const DRAWITEMSTRUCT& item) override;

private:
    COLORREF color_ = 0x000000;
};

// The circle-sensitivity picture: an ellipse whose height grows with the ratio, a full
// circle from the ratio of a quarter pi on.
class CCircleShapeStatic : public CSubclassWnd {
public:
    static constexpr COLORREF kBackground = 0x990000;

    void SetRatio(double ratio);
    void SetColor(COLORREF color);
    double Ratio() const { return ratio_; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc);

private:
    double ratio_ = 0.0;
    COLORREF color_ = 0xFFFFFF;
};
