#pragma once
// Dialogs drawn on a picture: CBitmapDialog tiles a bitmap resource over its client area and
// lets it show through its static controls; CSplashAboutParentDlg is the splash and about
// picture with the build line on it.
#include "framework/win/Dialog.h"

class CBitmapDialog : public CDialog {
public:
    CBitmapDialog(UINT templateId, UINT bitmapId, HWND parent = nullptr);
    ~CBitmapDialog() override;

    int BitmapWidth() const { return bitmapWidth_; }
    int BitmapHeight() const { return bitmapHeight_; }
    // Text colour of the static controls drawn over the picture.
    void SetControlTextColor(COLORREF color) { textColor_ = color; }
    COLORREF ControlTextColor() const { return textColor_; }

protected:
    INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Paints the background: the bitmap tiled from the top-left corner, row by row.
    virtual void DrawBackground(HDC dc);

private:
    void LoadPicture();
    void ReleasePicture();

    UINT bitmapId_;
    HBITMAP bitmap_ = nullptr;
    int bitmapWidth_ = 0;
    int bitmapHeight_ = 0;
    COLORREF textColor_;
};

class CSplashAboutParentDlg : public CBitmapDialog {
public:
    explicit CSplashAboutParentDlg(UINT templateId, HWND parent = nullptr);

protected:
    // The picture, then the build line centred at (60, 200).
    void DrawBackground(HDC dc) override;
};
