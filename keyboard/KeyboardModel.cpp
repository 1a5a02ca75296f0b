#include "keyboard/KeyboardModel.h"

#include <algorithm>

namespace gw {

void KeyboardLayout::ResetToBuiltIn() {
    slots = BuiltInSlots();
    bottom = BuiltInBottomSlots();
}

namespace {

bool ValidArea(int area) {
    return area >= 0 && area < kKeyAreaCount;
}

bool ValidSize(int size) {
    return size >= 1 && size <= kSizeCount;
}

// Highlight templates per size; Shift and Caps Lock share one place.
struct HighlightRow {
    Rect alt, ctrl, shift, winFlag, memory;
};
constexpr HighlightRow kHighlightTemplates[kSizeCount] = {
    {{0, 0, 10, 8}, {18, 0, 28, 8}, {66, 28, 76, 36}, {0, 19, 10, 27}, {9, 9, 19, 17}},
    {{0, 0, 13, 10}, {24, 0, 37, 10}, {87, 38, 100, 48}, {1, 25, 14, 35}, {12, 14, 25, 24}},
    {{1, 1, 16, 14}, {29, 1, 44, 14}, {106, 46, 121, 59}, {1, 30, 16, 43}, {16, 16, 31, 29}},
    {{1, 2, 22, 20}, {39, 2, 60, 20}, {142, 62, 163, 80}, {1, 42, 22, 60}, {21, 21, 42, 39}},
    {{2, 2, 28, 24}, {47, 2, 73, 24}, {177, 77, 203, 99}, {1, 52, 27, 74}, {25, 26, 51, 48}},
    {{2, 2, 36, 32}, {64, 2, 98, 32}, {235, 102, 269, 132}, {2, 68, 36, 98}, {34, 34, 68, 64}},
};

// The area each highlight is placed relative to.
constexpr std::array<int, kHighlightCount> kHighlightAnchors = {
    kEditingArea, kEditingArea, kLetterGrid, kLetterGrid, kSystemArea, kEditingArea,
};

// Size-1 paths; the digit after the first separator (or in the flag's name) is the size.
constexpr const char16_t* kPicturePaths[kPictureCount] = {
    u"Normal\\\\1\\\\LCKB.bmp",
    u"Normal\\\\1\\\\UCKB.bmp",
    u"Normal\\\\1\\\\NumberKB.bmp",
    u"Normal\\\\1\\\\LCbusyKB.bmp",
    u"Normal\\\\1\\\\UCbusyKB.bmp",
    u"Normal\\\\1\\\\Highlight-Bitmaps\\\\Alt_internal.bmp",
    u"Normal\\\\1\\\\Highlight-Bitmaps\\\\Alt_external.bmp",
    u"Normal\\\\1\\\\Highlight-Bitmaps\\\\Ctrl_internal.bmp",
    u"Normal\\\\1\\\\Highlight-Bitmaps\\\\Ctrl_external.bmp",
    u"Normal\\\\1\\\\Highlight-Bitmaps\\\\shift_internal.bmp",
    u"Normal\\\\1\\\\Highlight-Bitmaps\\\\shift_external.bmp",
    u"Normal\\\\1\\\\Highlight-Bitmaps\\\\capslock_internal.bmp",
    u"Normal\\\\1\\\\Highlight-Bitmaps\\\\capslock_external.bmp",
    u"Normal\\\\1\\\\Highlight-Bitmaps\\\\mem_recall.bmp",
    u"Normal\\\\1\\\\Highlight-Bitmaps\\\\mem_store.bmp",
    u"Horizontal\\\\1\\\\LCKB.bmp",
    u"Horizontal\\\\1\\\\UCKB.bmp",
    u"Normal\\\\1\\\\LCKB.bmp",
    u"Normal\\\\1\\\\UCKB.bmp",
    u"Vertical\\\\1\\\\LCKB.bmp",
    u"Vertical\\\\1\\\\UCKB.bmp",
    u"WinFlagBitmaps\\\\WinFlag-1.bmp",
    u"Normal\\\\1\\\\UCNumberKB.bmp",
};

} // namespace

void KeyGeometry::Compute(int width, int height, KeyboardState state, bool letterSide,
                          std::span<const int> normalHeights) {
    int columns = 4;
    int rows = 4;
    if (state == kHorizontal) {
        columns = 7;
    } else if (state == kVertical) {
        columns = 3;
        rows = 9;
    } else {
        state = kNormal; // an unknown stored state lays out as Normal
    }
    const int cw = width / columns;
    const int ch = height / rows;

    // Cells x0..x1 and y0..y1, right and bottom inclusive.
    auto set = [&](int area, int x0, int x1, int y0, int y1, int spanCells = 1,
                   bool enabled = true) {
        areas[area] = {{x0 * cw, y0 * ch, x1 * cw - 1, y1 * ch - 1}, spanCells * cw, ch, enabled};
    };
    auto disable = [&](int area) { areas[area] = {{0, 0, -1, -1}, cw, ch, false}; };

    switch (state) {
    case kNormal:
        if (letterSide) {
            set(kSpaceArea, 1, 3, 3, 4, 2);
        } else {
            set(kSpaceArea, 2, 3, 3, 4);
        }
        set(kLetterGrid, 0, 3, 0, 3, 1, letterSide);
        disable(kEnterArea);
        set(kBackspaceArea, 0, 1, 3, 4);
        set(kNumberGrid, 0, 3, 0, 3, 1, !letterSide);
        set(kZeroKeyArea, 1, 2, 3, 4, 1, !letterSide);
        set(kEditingArea, 3, 4, 0, 1);
        set(kNavigationArea, 3, 4, 1, 2);
        set(kSystemArea, 3, 4, 3, 4);
        set(kFunctionArea, 3, 4, 2, 4);
        break;
    case kHorizontal:
        set(kSpaceArea, 1, 4, 3, 4, 3);
        set(kLetterGrid, 0, 3, 0, 3);
        set(kEnterArea, 4, 5, 3, 4);
        set(kBackspaceArea, 0, 1, 3, 4);
        set(kNumberGrid, 4, 7, 0, 3);
        set(kZeroKeyArea, 5, 6, 3, 4);
        set(kEditingArea, 3, 4, 0, 1);
        set(kNavigationArea, 3, 4, 1, 2);
        set(kSystemArea, 6, 7, 3, 4);
        set(kFunctionArea, 3, 7, 2, 4);
        break;
    case kVertical:
        set(kSpaceArea, 1, 3, 4, 5, 2);
        set(kLetterGrid, 0, 3, 1, 4);
        disable(kEnterArea);
        set(kBackspaceArea, 0, 1, 4, 5);
        set(kNumberGrid, 0, 3, 5, 8);
        set(kZeroKeyArea, 0, 2, 8, 9, 2);
        set(kEditingArea, 0, 1, 0, 1);
        set(kNavigationArea, 1, 2, 0, 1);
        set(kSystemArea, 2, 3, 8, 9);
        set(kFunctionArea, 2, 3, 0, 9);
        break;
    }

    gripOrigin = {width - cw / 4, height - ch / 4};

    // The Vertical picture is 9 cells high against the Normal picture's 4.
    const int groupHeight = state == kVertical ? height * 4 / 9 : height;
    const auto match = std::find(normalHeights.begin(), normalHeights.end(), groupHeight);
    const auto index = match - normalHeights.begin();
    if (match == normalHeights.end() || index >= kSizeCount) {
        return;
    }
    for (int h = 0; h < kHighlightCount; ++h) {
        const Rect t = HighlightTemplate(static_cast<int>(index) + 1, h);
        const Rect& anchor = areas[kHighlightAnchors[h]].rect;
        highlights[h] = {t.left + anchor.left, t.top + anchor.top, t.right + anchor.left,
                         t.bottom + anchor.top};
    }
}

int KeyGeometry::HitTest(Point pixel) const {
    for (int a = 0; a < kKeyAreaCount; ++a) {
        const KeyArea& area = areas[a];
        if (area.enabled && pixel.x >= area.rect.left && pixel.x <= area.rect.right &&
            pixel.y >= area.rect.top && pixel.y <= area.rect.bottom) {
            return a;
        }
    }
    return kNoArea;
}

Point KeyGeometry::ToEngineUnits(int area, Point pixel) const {
    if (!ValidArea(area)) {
        return {};
    }
    const KeyArea& a = areas[area];
    // A degenerate picture has zero-sized cells; give 0 rather than divide by zero.
    return {a.cellWidth > 0 ? (pixel.x - a.rect.left) * 100 / a.cellWidth : 0,
            a.cellHeight > 0 ? (pixel.y - a.rect.top) * 100 / a.cellHeight : 0};
}

Point KeyGeometry::FromEngineUnits(int area, Point units) const {
    if (!ValidArea(area)) {
        return {};
    }
    const KeyArea& a = areas[area];
    return {units.x * a.cellWidth / 100 + a.rect.left, units.y * a.cellHeight / 100 + a.rect.top};
}

int KeyGeometry::KeyNumber(int xUnits, int yUnits, int area) const {
    const int factor = ValidArea(area) ? factors[area] : 1;
    // Points come from outside the area too (an extension's device, a stroke that left it):
    // rows and columns are held to the grid so the key always indexes the slot table.
    int row = std::clamp(yUnits / 100, 0, 3);
    const int column = std::clamp(xUnits / 100, 0, 2);
    if (factor > 1) {
        row = std::min(row, 2);
    }
    return factor * row + column + 1;
}

std::u16string PicturePath(int size, int picture) {
    if (!ValidSize(size) || picture < 0 || picture >= kPictureCount) {
        return {};
    }
    std::u16string path = kPicturePaths[picture];
    const auto digit = static_cast<char16_t>(u'0' + size);
    std::replace(path.begin(), path.end(), u'1', digit); // the only digit in every path
    if (size >= 5 && picture >= kPicAltInternal && picture <= kPicCtrlExternal) {
        const auto slash = path.rfind(u'\\');
        path[slash + 1] = static_cast<char16_t>(path[slash + 1] - u'A' + u'a');
    }
    return path;
}

Size PictureSizeForSide(KeyboardState state, int side) {
    const int q = side / 4;
    switch (state) {
    case kNormal:
        return {side, side};
    case kHorizontal:
        return {7 * q, side};
    case kVertical:
        return {3 * q, 9 * q};
    }
    return {};
}

Size BuiltInPictureSize(KeyboardState state, int size) {
    if (!ValidSize(size) || (state == kVertical && size == 1)) {
        return {};
    }
    return PictureSizeForSide(state, kBuiltInNormalHeights[size - 1]);
}

Rect HighlightTemplate(int size, int highlight) {
    if (!ValidSize(size)) {
        return {};
    }
    const HighlightRow& row = kHighlightTemplates[size - 1];
    switch (highlight) {
    case kAltHighlight:
        return row.alt;
    case kCtrlHighlight:
        return row.ctrl;
    case kShiftHighlight:
    case kCapsLockHighlight:
        return row.shift;
    case kWinFlagHighlight:
        return row.winFlag;
    case kMemoryHighlight:
        return row.memory;
    default:
        return {};
    }
}

bool SizeFitsWorkArea(Size picture, Size workArea, const FrameMargins& margins) {
    if (picture.width <= 0 || picture.height <= 0) {
        return false; // no picture: the size cannot be shown
    }
    const long long needWidth = static_cast<long long>(picture.width) + 2LL * margins.margin +
                                2LL * (margins.borderWidth + margins.frameWidth);
    const long long needHeight =
        static_cast<long long>(picture.height) + 2LL * (margins.borderHeight + margins.frameHeight);
    return workArea.width >= needWidth && workArea.height >= needHeight;
}

} // namespace gw
