// Entry point of the keyboard program. Until the keyboard view and main frame exist, it shows
// a plain stroke window: the key areas of the Normal letter side at size 3, each stroke on them
// classified and typed by the engine into the program that has the foreground.
#include "framework/win/Window.h"
#include "keyboard/win/GWMainEngine.h"

#include <string>

namespace {

constexpr int kPictureSize = 180; // Normal, size 3

const wchar_t* const kAreaNames[gw::kKeyAreaCount] = {
    L"space", L"letters", L"enter", L"back", L"numbers", L"0", L"edit", L"nav", L"system", L"F"};

class CStrokeDemoWnd : public CWnd, public gw::EngineViewPort {
public:
    CStrokeDemoWnd() { geometry_.Compute(kPictureSize, kPictureSize, gw::kNormal, true); }

    bool Create(int showCommand) {
        RegisterWindowClass(L"GlyphwellStrokeWindow", CS_HREDRAW | CS_VREDRAW, nullptr,
                            static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        RECT frame{0, 0, kPictureSize, kPictureSize};
        const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
        ::AdjustWindowRectEx(&frame, style, FALSE, WS_EX_NOACTIVATE | WS_EX_TOPMOST);
        if (!CreateEx(WS_EX_NOACTIVATE | WS_EX_TOPMOST, L"GlyphwellStrokeWindow", L"Glyphwell",
                      style, 600, 100, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                      nullptr))
            return false;
        engine_.Create(nullptr, 0xE901);
        engine_.SetView(this, GetSafeHwnd());
        ::ShowWindow(GetSafeHwnd(),
                     showCommand == SW_SHOWDEFAULT ? SW_SHOWNOACTIVATE : showCommand);
        return true;
    }

    // The program being typed into is the one in the foreground: this window never takes it.
    std::uint32_t FocusedWindowThread() const override {
        return ::GetWindowThreadProcessId(::GetForegroundWindow(), nullptr);
    }
    void InvalidateEditingArea() override { Invalidate(); }
    void InvalidateView() override { Invalidate(); }
    void MoveCursorTo(int, gw::Point) override {}
    void AddTracePoint(int, gw::Point) override {}
    void ClearTrace() override {}
    void SetExternalStrokeFlag() override {}
    void ClearExternalStrokeFlag() override {}
    void RefreshView() override { Invalidate(); }
    void SetKeyboardStateHorizontal() override {}
    void SetKeyboardStateVertical() override {}
    void SetKeyboardStateNormal() override {}
    void ToggleBusyKeyboard() override {}
    void TapSystemKey() override {
        engine_.Engine().letterSide = engine_.Engine().letterSide ? 0 : 1;
        geometry_.Compute(kPictureSize, kPictureSize, gw::kNormal, engine_.Engine().letterSide);
        Invalidate();
    }
    void SizeDown() override {}
    void SizeUp() override {}
    void InvalidateArea(int) override { Invalidate(); }
    void UpdatePicture() override { Invalidate(); }
    void ExtensionKeyboardOn() override {}
    void ExtensionKeyboardOff() override {}
    void MinimizeMainWindow() override { ::ShowWindow(GetSafeHwnd(), SW_SHOWMINNOACTIVE); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_LBUTTONDOWN:
            ::SetCapture(GetSafeHwnd());
            area_ = geometry_.HitTest(PointOf(lParam));
            StartStroke(PointOf(lParam));
            return 0;
        case WM_MOUSEMOVE:
            if (area_ != gw::kNoArea) {
                const gw::Point units = geometry_.ToEngineUnits(area_, PointOf(lParam));
                engine_.StrokeMove(units.x, units.y, 0);
            }
            return 0;
        case WM_LBUTTONUP:
            ::ReleaseCapture();
            if (area_ != gw::kNoArea) {
                const gw::Point units = geometry_.ToEngineUnits(area_, PointOf(lParam));
                engine_.StrokeEnd(units.x, units.y, 0);
                area_ = gw::kNoArea;
            }
            return 0;
        case WM_PAINT:
            Paint();
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            return Default(message, wParam, lParam);
        }
    }

private:
    static gw::Point PointOf(LPARAM lParam) {
        return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    }
    void StartStroke(gw::Point pixel) {
        if (area_ == gw::kNoArea)
            return;
        const gw::Point units = geometry_.ToEngineUnits(area_, pixel);
        engine_.StrokeStart(area_, units.x, units.y, 0);
    }
    void Invalidate() { ::InvalidateRect(GetSafeHwnd(), nullptr, TRUE); }

    void Paint() {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(GetSafeHwnd(), &ps);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, RGB(230, 230, 230));
        HGDIOBJ pen = ::SelectObject(dc, ::GetStockObject(WHITE_PEN));
        ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
        for (int a = 0; a < gw::kKeyAreaCount; ++a) {
            const gw::KeyArea& area = geometry_.areas[static_cast<std::size_t>(a)];
            if (!area.enabled || area.rect.right < area.rect.left)
                continue;
            RECT r{area.rect.left, area.rect.top, area.rect.right + 1, area.rect.bottom + 1};
            ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
            ::DrawTextW(dc, kAreaNames[a], -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
        ::SelectObject(dc, pen);
        ::EndPaint(GetSafeHwnd(), &ps);
    }

    gw::KeyboardLayout layout_;
    gw::KeyGeometry geometry_;
    gw::CombineList combines_{gw::BuiltInCombineList().begin(), gw::BuiltInCombineList().end()};
    CGWMainEngine engine_{layout_, geometry_, combines_};
    int area_ = gw::kNoArea;
};

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    CStrokeDemoWnd window;
    if (!window.Create(showCommand))
        return 1;
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
