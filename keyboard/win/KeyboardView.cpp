#include "keyboard/win/KeyboardView.h"

#include "framework/win/WaitCursor.h"
#include "framework/win/WideString.h"
#include "resources/resource.h"

#include <algorithm>
#include <utility>

namespace {

const wchar_t kViewWindowClass[] = L"GlyphwellKeyboardView";

POINT PointOf(LPARAM lParam) {
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

} // namespace

CKeyboardView::CKeyboardView(gw::AppSettings& settings, const gw::KeyboardLayout& layout,
                             gw::KeyGeometry& geometry, CGWMainEngine& engine,
                             CKeyboardViewHost& host)
    : settings_(settings), layout_(layout), geometry_(geometry), engine_(engine), host_(host),
      switcher_(settings, *this) {
    normalCursor_ = ::LoadCursorW(nullptr, IDC_ARROW);
    strokeCursor_ = ::LoadCursorW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_STROKE_CURSOR));
    if (!strokeCursor_)
        strokeCursor_ = normalCursor_;
    currentCursor_ = normalCursor_;
}

CKeyboardView::~CKeyboardView() {
    DestroyWindow();
}

bool CKeyboardView::Create(HWND parent, UINT id, const std::wstring& languagesFolder, DWORD style,
                           DWORD exStyle) {
    languagesFolder_ = languagesFolder;
    RegisterWindowClass(
        kViewWindowClass, CS_HREDRAW | CS_VREDRAW, ::LoadCursorW(nullptr, IDC_ARROW),
        reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)),
        ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME)), sizeof(LONG));
    return CreateEx(exStyle | WS_EX_CLIENTEDGE, kViewWindowClass, L"", style & ~WS_BORDER, 0, 0, 0,
                    0, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

void CKeyboardView::SetLanguagesFolder(const std::wstring& languagesFolder) {
    languagesFolder_ = languagesFolder;
}

std::wstring CKeyboardView::LanguageFolder() const {
    return CKeyboardPictures::LanguageFolder(languagesFolder_, ToWide(settings_.language));
}

void CKeyboardView::OnCreate() {
    ::SetWindowLongW(GetSafeHwnd(), 0, static_cast<LONG>(kKeyboardViewSignature));
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const std::wstring folder = LanguageFolder();
    switcher_.available = gw::ComputeAvailableSizes(
        [&folder](gw::KeyboardState state, int size) {
            return CKeyboardPictures::LowerCaseSize(state, size, folder);
        },
        {work.right - work.left, work.bottom - work.top}, host_.FrameMargins());
    LoadPictures();
}

void CKeyboardView::ReloadPictures() {
    LoadPictures();
    if (GetSafeHwnd()) {
        ::InvalidateRect(GetSafeHwnd(), nullptr, TRUE);
        ::UpdateWindow(GetSafeHwnd());
    }
}

void CKeyboardView::LoadPictures() {
    const WaitCursor wait;
    const auto state = static_cast<gw::KeyboardState>(settings_.keyboardState);
    const int size = static_cast<int>(settings_.keyboardSize);
    pictures_.Load(state, size, layout_, LanguageFolder());
    traceHalfSize_ = gw::TraceDotHalfSize(size);
    traceWidth_ = gw::TraceLineWidth(size);
    current_ = ChoosePicture();
    const CKeyboardPicture* picture = pictures_.Get(current_);
    currentSource_ = picture ? picture->Source() : CPictureSource{};
    ComputeGeometry();
}

int CKeyboardView::ChoosePicture() const {
    return gw::ChoosePicture(static_cast<gw::KeyboardState>(settings_.keyboardState),
                             engine_.Engine().letterSide != 0, settings_.busyKeyboard,
                             engine_.Engine().shiftIndicator);
}

void CKeyboardView::ComputeGeometry() {
    const CKeyboardPicture* picture = pictures_.Get(current_);
    const gw::Size size = picture ? picture->Size() : gw::Size{};
    geometry_.Compute(size.width, size.height,
                      static_cast<gw::KeyboardState>(settings_.keyboardState),
                      engine_.Engine().letterSide != 0);
}

void CKeyboardView::UpdatePicture() {
    current_ = ChoosePicture();
    const CKeyboardPicture* picture = pictures_.Get(current_);
    const CPictureSource source = picture ? picture->Source() : CPictureSource{};
    const bool changed = !(source == currentSource_);
    currentSource_ = source;
    // The areas first, so that the repaint below already uses them.
    ComputeGeometry();
    if (changed && GetSafeHwnd()) {
        ::InvalidateRect(GetSafeHwnd(), nullptr, FALSE);
        ::UpdateWindow(GetSafeHwnd());
    }
}

bool CKeyboardView::IsStateAllowed(int state) const {
    return engine_.Engine().IsStateAllowed(state);
}

void CKeyboardView::ResizeFrame(int normalPictureHeight) {
    host_.ResizeForKeyboard(normalPictureHeight);
}

void CKeyboardView::Repaint() {
    if (!GetSafeHwnd())
        return;
    ::InvalidateRect(GetSafeHwnd(), nullptr, FALSE);
    ::UpdateWindow(GetSafeHwnd());
}

// --- picture and client pixels --------------------------------------------------------------

gw::Point CKeyboardView::ToPicture(POINT client) const {
    const CKeyboardPicture* picture = pictures_.Get(current_);
    RECT rc{};
    if (!switcher_.stretched || !picture || !::GetClientRect(GetSafeHwnd(), &rc) || rc.right <= 0 ||
        rc.bottom <= 0)
        return {client.x, client.y};
    return {
        static_cast<int>(static_cast<long long>(client.x) * picture->Size().width / rc.right),
        static_cast<int>(static_cast<long long>(client.y) * picture->Size().height / rc.bottom)};
}

POINT CKeyboardView::ToClient(gw::Point p) const {
    const CKeyboardPicture* picture = pictures_.Get(current_);
    RECT rc{};
    if (!switcher_.stretched || !picture || !::GetClientRect(GetSafeHwnd(), &rc) ||
        picture->Size().width <= 0 || picture->Size().height <= 0)
        return {p.x, p.y};
    return {static_cast<LONG>(static_cast<long long>(p.x) * rc.right / picture->Size().width),
            static_cast<LONG>(static_cast<long long>(p.y) * rc.bottom / picture->Size().height)};
}

RECT CKeyboardView::ToClient(gw::Rect r) const {
    const POINT topLeft = ToClient(gw::Point{r.left, r.top});
    const POINT bottomRight = ToClient(gw::Point{r.right, r.bottom});
    return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

// --- painting -------------------------------------------------------------------------------

void CKeyboardView::Render(HDC dc) const {
    const CKeyboardPicture* picture = pictures_.Get(current_);
    if (!picture)
        return;
    UniqueMemoryDc memory(::CreateCompatibleDC(dc));
    if (!memory)
        return;
    HGDIOBJ original = ::SelectObject(memory.Get(), picture->Bitmap());
    if (!original)
        return;
    const gw::Size size = picture->Size();

    if (switcher_.stretched) {
        RECT client{};
        ::GetClientRect(GetSafeHwnd(), &client);
        ::SetStretchBltMode(dc, HALFTONE);
        ::SetBrushOrgEx(dc, 0, 0, nullptr);
        ::StretchBlt(dc, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, size.width,
                     size.height, SRCCOPY);
    } else {
        for (const gw::KeyArea& area : geometry_.areas) {
            const gw::Rect& r = area.rect;
            if (r.right < r.left || r.bottom < r.top)
                continue;
            ::BitBlt(dc, r.left, r.top, r.right - r.left + 1, r.bottom - r.top + 1, memory.Get(),
                     r.left, r.top, SRCCOPY);
        }
    }

    const bool longDrag = engine_.Engine().Stroke().LongDragPending();
    const bool matchShown = macroStore_ && macroStore_->MatchShown();
    for (const gw::HighlightDraw& draw :
         gw::HighlightsToDraw(engine_.Engine().Modifiers(), longDrag, matchShown, geometry_)) {
        const CKeyboardPicture* highlight = pictures_.Get(draw.picture);
        if (!highlight || !::SelectObject(memory.Get(), highlight->Bitmap()))
            break;
        // Never more than the highlight picture holds.
        const int width = std::min(draw.rect.right - draw.rect.left + 1, highlight->Size().width);
        const int height = std::min(draw.rect.bottom - draw.rect.top + 1, highlight->Size().height);
        if (switcher_.stretched) {
            const RECT to = ToClient(gw::Rect{draw.rect.left, draw.rect.top, draw.rect.left + width,
                                              draw.rect.top + height});
            ::StretchBlt(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, memory.Get(),
                         0, 0, width, height, SRCCOPY);
        } else {
            ::BitBlt(dc, draw.rect.left, draw.rect.top, width, height, memory.Get(), 0, 0, SRCCOPY);
        }
    }
    ::SelectObject(memory.Get(), original);

    if (trace_.empty())
        return;
    const COLORREF colour = settings_.traceColor & 0xFFFFFF;
    const POINT first = ToClient(trace_.front());
    UniqueGdiObject brush(::CreateSolidBrush(colour));
    const RECT dot{first.x - traceHalfSize_, first.y - traceHalfSize_, first.x + traceHalfSize_,
                   first.y + traceHalfSize_};
    ::FillRect(dc, &dot, static_cast<HBRUSH>(brush.Get()));
    UniqueGdiObject pen(::CreatePen(PS_SOLID, traceWidth_, colour));
    HGDIOBJ oldPen = ::SelectObject(dc, pen.Get());
    ::MoveToEx(dc, first.x, first.y, nullptr);
    for (std::size_t i = 1; i < trace_.size(); ++i) {
        const POINT p = ToClient(trace_[i]);
        ::LineTo(dc, p.x, p.y);
    }
    ::SelectObject(dc, oldPen);
}

void CKeyboardView::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(GetSafeHwnd(), &paint);
    if (dc)
        Render(dc);
    ::EndPaint(GetSafeHwnd(), &paint);
}

void CKeyboardView::InvalidateView() {
    if (GetSafeHwnd())
        ::InvalidateRect(GetSafeHwnd(), nullptr, FALSE);
}

void CKeyboardView::InvalidateArea(int area) {
    if (!GetSafeHwnd() || area < 0 || area >= gw::kKeyAreaCount)
        return;
    const gw::Rect& r = geometry_.areas[static_cast<std::size_t>(area)].rect;
    const RECT rect = ToClient(gw::Rect{r.left, r.top, r.right + 1, r.bottom + 1});
    ::InvalidateRect(GetSafeHwnd(), &rect, FALSE);
}

void CKeyboardView::RefreshView() {
    if (!GetSafeHwnd())
        return;
    ::UpdateWindow(GetSafeHwnd());
    ::InvalidateRect(GetSafeHwnd(), nullptr, FALSE);
    ::UpdateWindow(GetSafeHwnd());
}

// --- engine callbacks -----------------------------------------------------------------------

void CKeyboardView::MoveCursorTo(int area, gw::Point units) {
    if (host_.IsMinimized() || !GetSafeHwnd() || area < 0 || area >= gw::kKeyAreaCount)
        return;
    POINT p = ToClient(geometry_.FromEngineUnits(area, units));
    lastEngineCursor_ = p;
    ::ClientToScreen(GetSafeHwnd(), &p);
    ::SetCursorPos(p.x, p.y);
}

void CKeyboardView::AddTracePoint(int area, gw::Point units) {
    if (area < 0 || area >= gw::kKeyAreaCount)
        return;
    trace_.push_back(geometry_.FromEngineUnits(area, units));
    InvalidateView();
}

void CKeyboardView::ClearTrace() {
    std::vector<gw::Point>().swap(trace_);
}

void CKeyboardView::ClearExternalStrokeFlag() {
    if (GetSafeHwnd())
        ::SendMessageW(GetSafeHwnd(), WM_GW_CLEAR_EXTERNAL_STROKE, 0, 0);
    else
        externalStroke_ = false;
}

void CKeyboardView::SetViewCursor(HCURSOR cursor) {
    currentCursor_ = cursor;
    ::SetCursor(cursor);
}

void CKeyboardView::ExtensionKeyboardOff() {
    host_.ExtensionKeyboardOff();
    SetViewCursor(normalCursor_);
}

void CKeyboardView::MinimizeMainWindow() {
    if (HWND parent = Parent())
        ::SendMessageW(parent, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

// --- mouse and focus ------------------------------------------------------------------------

void CKeyboardView::AllowAllStatesAgain() {
    gw::CharacterEngine& engine = engine_.Engine();
    if (!engine.externalPointer)
        return;
    engine.externalPointer = 0;
    for (int state = 0; state < gw::kStateCount; ++state)
        engine.SetStateAllowed(state, true);
}

void CKeyboardView::OnButtonDown(POINT client) {
    ::SetCapture(GetSafeHwnd());
    AllowAllStatesAgain();
    const gw::Point p = ToPicture(client);
    if (p.x >= geometry_.gripOrigin.x && p.y >= geometry_.gripOrigin.y) {
        sizing_ = true;
        switcher_.stretched = true;
        RECT rc{};
        ::GetClientRect(GetSafeHwnd(), &rc);
        lastSizingPoint_ = {rc.right + ::GetSystemMetrics(SM_CXEDGE) + 1,
                            rc.bottom + ::GetSystemMetrics(SM_CYEDGE) + 1};
        POINT screen = lastSizingPoint_;
        ::ClientToScreen(GetSafeHwnd(), &screen);
        ::SetCursorPos(screen.x, screen.y);
        if (HWND parent = Parent())
            ::SendMessageW(parent, WM_ENTERSIZEMOVE, 0, 0);
        ::SetCursor(::LoadCursorW(nullptr, IDC_SIZENWSE));
        return;
    }
    buttonDown_ = true;
    strokeArea_ = geometry_.HitTest(p);
    SetViewCursor(strokeCursor_);
    if (strokeArea_ == gw::kNoArea)
        return;
    const gw::Point units = geometry_.ToEngineUnits(strokeArea_, p);
    engine_.StrokeStart(strokeArea_, units.x, units.y, 0);
}

void CKeyboardView::OnMouseMove(POINT client) {
    if (!buttonDown_ && !externalStroke_ &&
        (client.x != lastEngineCursor_.x || client.y != lastEngineCursor_.y)) {
        currentCursor_ = normalCursor_;
        AllowAllStatesAgain();
    }
    if (sizing_) {
        HWND parent = Parent();
        RECT frame{};
        if (parent && ::GetWindowRect(parent, &frame)) {
            frame.right += client.x - lastSizingPoint_.x;
            frame.bottom += client.y - lastSizingPoint_.y;
            if (::GetWindowLongW(parent, GWL_STYLE) & WS_CHILD)
                ::MapWindowPoints(nullptr, ::GetParent(parent), reinterpret_cast<POINT*>(&frame),
                                  2);
            ::MoveWindow(parent, frame.left, frame.top, frame.right - frame.left,
                         frame.bottom - frame.top, TRUE);
        }
        lastSizingPoint_ = client;
        Repaint();
        ::SetCursor(::LoadCursorW(nullptr, IDC_SIZENWSE));
        return;
    }
    const gw::Point p = ToPicture(client);
    if (p.x >= geometry_.gripOrigin.x && p.y >= geometry_.gripOrigin.y)
        ::SetCursor(::LoadCursorW(nullptr, IDC_SIZENWSE));
    else if (currentCursor_)
        ::SetCursor(currentCursor_);
    if (!buttonDown_) {
        if (::GetFocus() == GetSafeHwnd())
            GiveFocusBack();
        return;
    }
    if (strokeArea_ == gw::kNoArea)
        return;
    const gw::Point units = geometry_.ToEngineUnits(strokeArea_, p);
    engine_.StrokeMove(units.x, units.y, 0);
}

// The characters go out first: the capture and the cursor follow the stroke's end.
void CKeyboardView::OnButtonUp(POINT client) {
    if (sizing_) {
        sizing_ = false;
        ::ReleaseCapture();
        switcher_.stretched = true;
        if (HWND parent = Parent())
            ::SendMessageW(parent, WM_EXITSIZEMOVE, 0, 0);
        return;
    }
    buttonDown_ = false;
    const int area = std::exchange(strokeArea_, gw::kNoArea);
    if (area != gw::kNoArea) {
        // The stroke may choose a cursor of its own (an extension's); the normal one is chosen
        // before it, and shown after it.
        currentCursor_ = normalCursor_;
        const gw::Point units = geometry_.ToEngineUnits(area, ToPicture(client));
        engine_.StrokeEnd(units.x, units.y, 0);
    }
    ::ReleaseCapture();
    if (area != gw::kNoArea)
        ::SetCursor(currentCursor_);
}

// A program brought to the front puts its focus back where it was by itself, in a moment; only
// where it does not is the focus set from here.
bool CKeyboardView::FocusIsBack() const {
    for (int attempt = 0; attempt < 5; ++attempt) {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        if (::GetGUIThreadInfo(focusedThread_, &info) && info.hwndFocus == focusedWindow_)
            return true;
        ::Sleep(10);
    }
    return false;
}

void CKeyboardView::GiveFocusBack() {
    if (!focusedWindow_) {
        HWND target = host_.TargetWindow();
        if (target && ::IsWindow(target))
            ::SetForegroundWindow(target);
        return;
    }
    // The program comes to the front first: the focus alone, set from here, can leave it
    // behind, and the keys would then reach nobody.
    HWND program = ::GetAncestor(focusedWindow_, GA_ROOT);
    if (program && ::GetForegroundWindow() != program)
        ::SetForegroundWindow(program);
    if (FocusIsBack())
        return;
    // Setting the focus in another thread needs the two threads' input attached, and while it
    // is, a button press on its way to the keyboard can end up in the other thread's queue: the
    // stroke would be lost, so with one waiting the program keeps the focus it chose.
    if (HIWORD(::GetQueueStatus(QS_MOUSEBUTTON)) != 0)
        return;
    const DWORD mine = ::GetCurrentThreadId();
    const bool attached = focusedThread_ != 0 && focusedThread_ != mine &&
                          ::AttachThreadInput(mine, focusedThread_, TRUE);
    if (::IsWindow(focusedWindow_))
        ::SetFocus(focusedWindow_);
    if (attached)
        ::AttachThreadInput(mine, focusedThread_, FALSE);
}

LRESULT CKeyboardView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_PRINTCLIENT:
        Render(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
        OnButtonDown(PointOf(lParam));
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(PointOf(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp(PointOf(lParam));
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_GW_CLEAR_EXTERNAL_STROKE:
        externalStroke_ = false;
        return 0;
    case WM_KILLFOCUS: {
        const LRESULT result = Default(message, wParam, lParam);
        if (HWND parent = Parent())
            ::SetLayeredWindowAttributes(
                parent, 0, gw::AlphaForTransparency(settings_.transparency), LWA_ALPHA);
        return result;
    }
    case WM_SETCURSOR:
        if (LOWORD(lParam) != HTCLIENT)
            break;
        if (sizing_)
            ::SetCursor(::LoadCursorW(nullptr, IDC_SIZENWSE));
        else if (currentCursor_)
            ::SetCursor(currentCursor_);
        return TRUE;
    case WM_CAPTURECHANGED:
        // The capture went elsewhere in the middle of a resize: end it as a release would.
        if (sizing_ && reinterpret_cast<HWND>(lParam) != GetSafeHwnd()) {
            sizing_ = false;
            if (HWND parent = Parent())
                ::SendMessageW(parent, WM_EXITSIZEMOVE, 0, 0);
        }
        break;
    default:
        break;
    }
    return Default(message, wParam, lParam);
}
