#include "keyboard/win/KeyboardPictures.h"

#include "framework/win/Bitmaps.h"
#include "framework/win/WideString.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <map>
#include <utility>
#include <vector>

namespace {

// A dark keyboard, so that the default white trace stands out against it. No colour of the
// pictures is pure white.
constexpr COLORREF kBorder = RGB(84, 92, 110);
constexpr COLORREF kKeyFill = RGB(34, 38, 48);
constexpr COLORREF kActionFill = RGB(24, 38, 56);
constexpr COLORREF kTapColour = RGB(242, 242, 232);
constexpr COLORREF kDragColour = RGB(130, 194, 255);
constexpr COLORREF kDragReturnColour = RGB(255, 164, 80);
constexpr COLORREF kActionColour = RGB(236, 208, 116);
constexpr COLORREF kActionTapColour = RGB(232, 232, 222);

struct HighlightColours {
    COLORREF fill;
    COLORREF glyph;
};

HighlightColours ColoursOf(gw::HighlightStyle style) {
    switch (style) {
    case gw::HighlightStyle::kInternal:
        return {RGB(250, 186, 48), RGB(28, 24, 16)};
    case gw::HighlightStyle::kExternal:
        return {RGB(222, 58, 58), RGB(252, 246, 240)};
    case gw::HighlightStyle::kWindowsFlag:
        return {RGB(52, 128, 226), RGB(246, 246, 240)};
    case gw::HighlightStyle::kMemoryRecall:
        return {RGB(64, 190, 108), RGB(16, 28, 20)};
    case gw::HighlightStyle::kMemoryStore:
        return {RGB(186, 96, 232), RGB(252, 246, 240)};
    }
    return {RGB(128, 128, 128), RGB(0, 0, 0)};
}

// A 32-bit top-down bitmap selected into a memory device context.
class Canvas {
public:
    Canvas(int width, int height) : dc_(::CreateCompatibleDC(nullptr)) {
        const BITMAPINFO info = TopDown32BitmapInfo(width, height);
        void* bits = nullptr;
        bitmap_.Reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (dc_ && bitmap_)
            old_ = ::SelectObject(dc_.Get(), bitmap_.Get());
        ::SetBkMode(dc_.Get(), TRANSPARENT);
    }
    ~Canvas() { Deselect(); }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    bool Ok() const { return dc_ && bitmap_ && old_; }
    HDC Dc() const { return dc_.Get(); }
    UniqueGdiObject TakeBitmap() {
        Deselect();
        return std::move(bitmap_);
    }

private:
    void Deselect() {
        if (old_)
            ::SelectObject(dc_.Get(), old_);
        old_ = nullptr;
    }
    UniqueMemoryDc dc_;
    UniqueGdiObject bitmap_;
    HGDIOBJ old_ = nullptr;
};

void Fill(HDC dc, RECT r, COLORREF colour) {
    UniqueGdiObject brush(::CreateSolidBrush(colour));
    ::FillRect(dc, &r, static_cast<HBRUSH>(brush.Get()));
}

int CALLBACK OnFontFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

// The first installed of a few faces that cover the keyboard's characters well.
const wchar_t* FontFace() {
    static const std::wstring face = [] {
        const wchar_t* const candidates[] = {L"Segoe UI", L"Tahoma", L"DejaVu Sans", L"Arial"};
        WindowDc screen(nullptr);
        for (const wchar_t* candidate : candidates) {
            LOGFONTW wanted{};
            wanted.lfCharSet = DEFAULT_CHARSET;
            ::lstrcpynW(wanted.lfFaceName, candidate, LF_FACESIZE);
            bool found = false;
            ::EnumFontFamiliesExW(screen.Get(), &wanted, OnFontFamily,
                                  reinterpret_cast<LPARAM>(&found), 0);
            if (found)
                return std::wstring(candidate);
        }
        return std::wstring(L"Tahoma");
    }();
    return face.c_str();
}

// Fonts of one drawing, by pixel height and weight.
class Fonts {
public:
    HFONT Get(int height, bool bold) {
        UniqueGdiObject& font = fonts_[height * 2 + (bold ? 1 : 0)];
        if (!font) {
            font.Reset(::CreateFontW(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                                     FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                     CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                     DEFAULT_PITCH | FF_SWISS, FontFace()));
        }
        return static_cast<HFONT>(font.Get());
    }

private:
    std::map<int, UniqueGdiObject> fonts_;
};

// The text's width in pixels at a height, in the drawing's fonts.
int TextWidth(HDC dc, Fonts& fonts, const std::wstring& text, int height, bool bold) {
    HGDIOBJ old = ::SelectObject(dc, fonts.Get(height, bold));
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    ::SelectObject(dc, old);
    return extent.cx;
}

// Draws the text centred in the box, shrinking it to fit and using the short form when the
// long one would have to shrink too far.
void DrawFittedText(HDC dc, Fonts& fonts, const gw::GlyphLook& look, RECT box, int height,
                    bool bold, COLORREF colour) {
    ::SetTextColor(dc, colour);
    const int boxWidth = box.right - box.left;
    const bool hasShort = !look.shortText.empty();
    const std::u16string* forms[] = {&look.text, &look.shortText};
    for (int form = 0; form < 2; ++form) {
        const std::wstring text = ToWide(*forms[form]);
        if (text.empty())
            continue;
        const bool last = form == 1 || !hasShort;
        const int smallest =
            std::min(height, last ? std::max(6, height * 6 / 10) : std::max(6, height * 8 / 10));
        int fitting = gw::LargestFittingHeight(
            height, smallest, boxWidth, [&](int h) { return TextWidth(dc, fonts, text, h, bold); });
        if (!fitting && last)
            fitting = smallest;
        if (!fitting)
            continue;
        HGDIOBJ old = ::SelectObject(dc, fonts.Get(fitting, bold));
        RECT r = box;
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
        ::SelectObject(dc, old);
        return;
    }
}

// The small figures, in coordinates of -1..1 around the box's middle.
class Figure {
public:
    Figure(HDC dc, RECT box, COLORREF colour, bool wide)
        : dc_(dc), cx_((box.left + box.right) / 2.0), cy_((box.top + box.bottom) / 2.0) {
        const int w = box.right - box.left;
        const int h = box.bottom - box.top;
        const double r = std::min(w, h) * 0.40;
        rx_ = wide ? std::max(r, w * 0.40) : r;
        ry_ = wide ? h * 0.28 : r;
        const int width = std::max(1, static_cast<int>(std::lround(r / 4.0)));
        pen_.Reset(::CreatePen(PS_SOLID, width, colour));
        brush_.Reset(::CreateSolidBrush(colour));
        oldPen_ = ::SelectObject(dc_, pen_.Get());
        oldBrush_ = ::SelectObject(dc_, ::GetStockObject(NULL_BRUSH));
    }
    ~Figure() {
        ::SelectObject(dc_, oldPen_);
        ::SelectObject(dc_, oldBrush_);
    }
    Figure(const Figure&) = delete;
    Figure& operator=(const Figure&) = delete;

    POINT At(double x, double y) const {
        return {static_cast<LONG>(std::lround(cx_ + x * rx_)),
                static_cast<LONG>(std::lround(cy_ + y * ry_))};
    }
    void Line(double x0, double y0, double x1, double y1) const {
        const POINT a = At(x0, y0);
        const POINT b = At(x1, y1);
        ::MoveToEx(dc_, a.x, a.y, nullptr);
        ::LineTo(dc_, b.x, b.y);
    }
    void Polyline(std::initializer_list<std::pair<double, double>> points) const {
        std::vector<POINT> p;
        for (const auto& [x, y] : points)
            p.push_back(At(x, y));
        ::Polyline(dc_, p.data(), static_cast<int>(p.size()));
    }
    void Polygon(std::initializer_list<std::pair<double, double>> points, bool filled) const {
        std::vector<POINT> p;
        for (const auto& [x, y] : points)
            p.push_back(At(x, y));
        HGDIOBJ old = ::SelectObject(dc_, filled ? brush_.Get() : ::GetStockObject(NULL_BRUSH));
        ::Polygon(dc_, p.data(), static_cast<int>(p.size()));
        ::SelectObject(dc_, old);
    }
    void Box(double x0, double y0, double x1, double y1, bool filled) const {
        const POINT a = At(x0, y0);
        const POINT b = At(x1, y1);
        if (filled) {
            RECT r{a.x, a.y, b.x, b.y};
            ::FillRect(dc_, &r, static_cast<HBRUSH>(brush_.Get()));
        } else {
            ::Rectangle(dc_, a.x, a.y, b.x + 1, b.y + 1);
        }
    }
    void Circle(double x, double y, double radius, bool filled) const {
        const POINT a = At(x - radius, y - radius);
        const POINT b = At(x + radius, y + radius);
        HGDIOBJ old = ::SelectObject(dc_, filled ? brush_.Get() : ::GetStockObject(NULL_BRUSH));
        ::Ellipse(dc_, a.x, a.y, b.x + 1, b.y + 1);
        ::SelectObject(dc_, old);
    }
    // An arrow pointing right, turned a quarter turn `turns` times clockwise.
    void Arrow(int turns) const {
        auto turn = [turns](double x, double y) {
            for (int i = 0; i < turns; ++i) {
                const double t = x;
                x = -y;
                y = t;
            }
            return std::pair<double, double>{x, y};
        };
        const auto [ax, ay] = turn(-0.9, 0.0);
        const auto [bx, by] = turn(0.2, 0.0);
        Line(ax, ay, bx, by);
        Polygon({turn(0.95, 0.0), turn(0.15, -0.55), turn(0.15, 0.55)}, true);
    }

private:
    HDC dc_;
    double cx_;
    double cy_;
    double rx_ = 0;
    double ry_ = 0;
    UniqueGdiObject pen_;
    UniqueGdiObject brush_;
    HGDIOBJ oldPen_ = nullptr;
    HGDIOBJ oldBrush_ = nullptr;
};

void DrawSymbol(HDC dc, gw::Symbol symbol, RECT box, COLORREF colour) {
    using gw::Symbol;
    const Figure f(dc, box, colour, symbol == Symbol::kSpace);
    switch (symbol) {
    case Symbol::kArrowRight:
        f.Arrow(0);
        break;
    case Symbol::kArrowDown:
        f.Arrow(1);
        break;
    case Symbol::kArrowLeft:
        f.Arrow(2);
        break;
    case Symbol::kArrowUp:
        f.Arrow(3);
        break;
    case Symbol::kPageUp:
        f.Line(-0.8, -0.9, 0.8, -0.9);
        f.Line(0.0, 0.9, 0.0, -0.1);
        f.Polygon({{0.0, -0.65}, {-0.55, 0.0}, {0.55, 0.0}}, true);
        break;
    case Symbol::kPageDown:
        f.Line(-0.8, 0.9, 0.8, 0.9);
        f.Line(0.0, -0.9, 0.0, 0.1);
        f.Polygon({{0.0, 0.65}, {-0.55, 0.0}, {0.55, 0.0}}, true);
        break;
    case Symbol::kEnter:
        f.Polyline({{0.75, -0.8}, {0.75, 0.25}, {-0.4, 0.25}});
        f.Polygon({{-0.95, 0.25}, {-0.35, -0.22}, {-0.35, 0.72}}, true);
        break;
    case Symbol::kBackspace:
        f.Polygon({{-0.95, 0.0}, {-0.45, -0.62}, {0.95, -0.62}, {0.95, 0.62}, {-0.45, 0.62}},
                  false);
        f.Line(0.0, -0.28, 0.56, 0.28);
        f.Line(0.0, 0.28, 0.56, -0.28);
        break;
    case Symbol::kTab:
        f.Line(0.9, -0.6, 0.9, 0.6);
        f.Line(-0.9, 0.0, 0.3, 0.0);
        f.Polygon({{0.75, 0.0}, {0.2, -0.45}, {0.2, 0.45}}, true);
        break;
    case Symbol::kSpace:
        f.Polyline({{-1.0, -0.2}, {-1.0, 0.6}, {1.0, 0.6}, {1.0, -0.2}});
        break;
    case Symbol::kShift:
        f.Polygon({{0.0, -0.95},
                   {0.9, 0.0},
                   {0.42, 0.0},
                   {0.42, 0.9},
                   {-0.42, 0.9},
                   {-0.42, 0.0},
                   {-0.9, 0.0}},
                  false);
        break;
    case Symbol::kShiftCancel:
        f.Polygon({{0.0, 0.95},
                   {0.9, 0.0},
                   {0.42, 0.0},
                   {0.42, -0.9},
                   {-0.42, -0.9},
                   {-0.42, 0.0},
                   {-0.9, 0.0}},
                  false);
        break;
    case Symbol::kCapsLock:
        f.Polygon({{0.0, -0.95},
                   {0.9, -0.15},
                   {0.42, -0.15},
                   {0.42, 0.38},
                   {-0.42, 0.38},
                   {-0.42, -0.15},
                   {-0.9, -0.15}},
                  false);
        f.Box(-0.42, 0.62, 0.42, 0.92, false);
        break;
    case Symbol::kCombine:
        f.Circle(0.0, 0.0, 0.85, false);
        f.Line(-0.45, 0.0, 0.45, 0.0);
        f.Line(0.0, -0.45, 0.0, 0.45);
        break;
    case Symbol::kWindowsFlag:
        f.Box(-0.9, -0.9, -0.1, -0.1, true);
        f.Box(0.1, -0.9, 0.9, -0.1, true);
        f.Box(-0.9, 0.1, -0.1, 0.9, true);
        f.Box(0.1, 0.1, 0.9, 0.9, true);
        break;
    case Symbol::kSizeDown:
        f.Box(-0.85, -0.85, 0.85, 0.85, false);
        f.Line(-0.45, 0.0, 0.45, 0.0);
        break;
    case Symbol::kSizeUp:
        f.Box(-0.85, -0.85, 0.85, 0.85, false);
        f.Line(-0.45, 0.0, 0.45, 0.0);
        f.Line(0.0, -0.45, 0.0, 0.45);
        break;
    case Symbol::kNormalState:
        f.Box(-0.7, -0.7, 0.7, 0.7, false);
        break;
    case Symbol::kHorizontalState:
        f.Box(-0.95, -0.55, 0.95, 0.55, false);
        break;
    case Symbol::kVerticalState:
        f.Box(-0.38, -0.95, 0.38, 0.95, false);
        break;
    case Symbol::kBusy:
        for (int row = -1; row <= 1; ++row) {
            for (int column = -1; column <= 1; ++column)
                f.Circle(column * 0.65, row * 0.65, 0.2, true);
        }
        break;
    case Symbol::kAppsMenu:
        f.Box(-0.75, -0.85, 0.75, 0.85, false);
        for (double y : {-0.4, 0.0, 0.4})
            f.Line(-0.4, y, 0.4, y);
        break;
    case Symbol::kNone:
        break;
    }
}

COLORREF ColourOf(gw::GlyphRole role) {
    switch (role) {
    case gw::GlyphRole::kTap:
        return kTapColour;
    case gw::GlyphRole::kDrag:
        return kDragColour;
    case gw::GlyphRole::kDragReturn:
        return kDragReturnColour;
    case gw::GlyphRole::kAction:
        return kActionColour;
    case gw::GlyphRole::kActionTap:
        return kActionTapColour;
    }
    return kTapColour;
}

RECT ToRect(gw::Rect r) {
    return {r.left, r.top, r.right, r.bottom};
}

int HighlightOf(int picture) {
    switch (picture) {
    case gw::kPicAltInternal:
    case gw::kPicAltExternal:
        return gw::kAltHighlight;
    case gw::kPicCtrlInternal:
    case gw::kPicCtrlExternal:
        return gw::kCtrlHighlight;
    case gw::kPicShiftInternal:
    case gw::kPicShiftExternal:
        return gw::kShiftHighlight;
    case gw::kPicCapsLockInternal:
    case gw::kPicCapsLockExternal:
        return gw::kCapsLockHighlight;
    case gw::kPicWinFlag:
        return gw::kWinFlagHighlight;
    default:
        return gw::kMemoryHighlight;
    }
}

int LowerCaseEntry(gw::KeyboardState state) {
    switch (state) {
    case gw::kHorizontal:
        return gw::kPicHorizontalLower;
    case gw::kVertical:
        return gw::kPicVerticalLower;
    default:
        return gw::kPicNormalLower;
    }
}

} // namespace

std::shared_ptr<const CKeyboardPicture>
CKeyboardPictures::DrawKeyboard(const gw::PictureDescription& description, int entry) {
    const int width = description.size.width;
    const int height = description.size.height;
    if (width <= 0 || height <= 0)
        return nullptr;
    Canvas canvas(width, height);
    if (!canvas.Ok())
        return nullptr;
    HDC dc = canvas.Dc();
    Fill(dc, {0, 0, width, height}, kBorder);
    // One border line between cells and around the picture; two at the largest sizes.
    const int line = description.cellWidth >= 90 ? 2 : 1;
    for (const gw::PictureCell& cell : description.cells) {
        RECT r = ToRect(cell.rect);
        r.right -= line;
        r.bottom -= line;
        if (r.left == 0)
            r.left += line;
        if (r.top == 0)
            r.top += line;
        Fill(dc, r, cell.style == gw::CellStyle::kAction ? kActionFill : kKeyFill);
    }
    Fonts fonts;
    for (const gw::PictureGlyph& glyph : description.glyphs) {
        const COLORREF colour = ColourOf(glyph.role);
        const RECT box = ToRect(glyph.box);
        if (glyph.look.symbol != gw::Symbol::kNone) {
            DrawSymbol(dc, glyph.look.symbol, box, colour);
        } else {
            const bool bold =
                glyph.role == gw::GlyphRole::kTap || glyph.role == gw::GlyphRole::kActionTap;
            DrawFittedText(dc, fonts, glyph.look, box, glyph.textHeight, bold, colour);
        }
    }
    return std::make_shared<CKeyboardPicture>(canvas.TakeBitmap(), description.size,
                                              CPictureSource{entry, {}});
}

std::shared_ptr<const CKeyboardPicture> CKeyboardPictures::DrawHighlight(int picture, int size) {
    gw::HighlightLook look;
    if (!gw::DescribeHighlight(picture, look))
        return nullptr;
    const gw::Rect place = gw::HighlightTemplate(size, HighlightOf(picture));
    const int width = place.right - place.left;
    const int height = place.bottom - place.top;
    if (width <= 0 || height <= 0)
        return nullptr;
    Canvas canvas(width, height);
    if (!canvas.Ok())
        return nullptr;
    HDC dc = canvas.Dc();
    const HighlightColours colours = ColoursOf(look.style);
    Fill(dc, {0, 0, width, height}, colours.fill);
    const RECT box{1, 1, width - 1, height - 1};
    if (look.look.symbol != gw::Symbol::kNone) {
        DrawSymbol(dc, look.look.symbol, box, colours.glyph);
    } else {
        Fonts fonts;
        DrawFittedText(dc, fonts, look.look, box, std::max(6, height - 2), true, colours.glyph);
    }
    return std::make_shared<CKeyboardPicture>(canvas.TakeBitmap(), gw::Size{width, height},
                                              CPictureSource{picture, {}});
}

std::shared_ptr<const CKeyboardPicture> CKeyboardPictures::ReadFile(const std::wstring& path) {
    UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return nullptr;
    file.Reset();
    UniqueGdiObject bitmap(::LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                        LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    BITMAP info{};
    if (!bitmap || !::GetObjectW(bitmap.Get(), sizeof(info), &info))
        return nullptr; // opens but is no bitmap: the drawn picture stays
    const gw::Size size{info.bmWidth, std::abs(info.bmHeight)};
    return std::make_shared<CKeyboardPicture>(std::move(bitmap), size, CPictureSource{-1, path});
}

std::wstring CKeyboardPictures::LanguageFolder(const std::wstring& languagesFolder,
                                               const std::wstring& language) {
    if (languagesFolder.empty() || language.empty() || language == L"English")
        return {};
    return languagesFolder + L"\\\\" + language;
}

std::wstring CKeyboardPictures::PictureFile(const std::wstring& languageFolder, int size,
                                            int picture) {
    const std::u16string relative = gw::PicturePath(size, picture);
    if (languageFolder.empty() || relative.empty())
        return {};
    return languageFolder + L"\\\\" + ToWide(relative);
}

gw::Size CKeyboardPictures::LowerCaseSize(gw::KeyboardState state, int size,
                                          const std::wstring& languageFolder) {
    if (!languageFolder.empty()) {
        if (auto file = ReadFile(PictureFile(languageFolder, size, LowerCaseEntry(state))))
            return file->Size();
    }
    return gw::BuiltInPictureSize(state, size);
}

void CKeyboardPictures::Load(gw::KeyboardState state, int size, const gw::KeyboardLayout& layout,
                             const std::wstring& languageFolder) {
    if (size != loadedSize_ || &layout != loadedLayout_ || languageFolder != loadedFolder_) {
        loadedSize_ = size;
        loadedLayout_ = &layout;
        loadedFolder_ = languageFolder;
        for (std::shared_ptr<const CKeyboardPicture>& picture : pictures_)
            picture.reset();
        drawn_.fill(false);
    }
    lowerCaseEntry_ = LowerCaseEntry(state);
}

std::shared_ptr<const CKeyboardPicture> CKeyboardPictures::Make(int entry) const {
    std::shared_ptr<const CKeyboardPicture> picture;
    if (!loadedFolder_.empty())
        picture = ReadFile(PictureFile(loadedFolder_, loadedSize_, entry));
    if (picture)
        return picture;
    gw::KeyboardState pictureState{};
    gw::PictureKind kind{};
    if (gw::KeyboardPictureOf(entry, pictureState, kind))
        return DrawKeyboard(
            gw::DescribeKeyboardPicture(pictureState, loadedSize_, kind, *loadedLayout_), entry);
    return DrawHighlight(entry, loadedSize_);
}

const CKeyboardPicture* CKeyboardPictures::Get(int picture) const {
    if (picture < 0 || picture >= gw::kPictureCount || !loadedLayout_)
        return nullptr;
    if (picture == gw::kPicLowerCase || picture == gw::kPicUpperCase)
        picture = lowerCaseEntry_ + (picture == gw::kPicUpperCase ? 1 : 0);
    const auto entry = static_cast<std::size_t>(picture);
    if (!drawn_[entry]) {
        pictures_[entry] = Make(picture);
        drawn_[entry] = true;
    }
    return pictures_[entry].get();
}
