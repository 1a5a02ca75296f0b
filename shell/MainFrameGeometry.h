#pragma once
// The main frame's geometry: its outer size around the keyboard picture in each state, its
// place relative to the nearest corner of the work area, the moves after a resize, the size
// and state that a resize by the border asks for, the tracking limits, the layered alpha of a
// transparency and the macro content window's place over the menu bar. Rectangles are screen
// pixels with right and bottom exclusive, as Win32 gives them.
#include "keyboard/KeyboardModel.h"
#include "shell/DialogGeometry.h"
#include "shell/Settings.h"

#include <cstdint>
#include <span>

namespace gw {

// The six system metrics the frame is measured with; the application reads them once at
// start-up and never again.
struct FrameMetrics {
    int cyMenu = 0;    // SM_CYMENU
    int cyCaption = 0; // SM_CYCAPTION
    int cyFrame = 0;   // SM_CYFRAME
    int cxFrame = 0;   // SM_CXFRAME
    int cxEdge = 0;    // SM_CXEDGE
    int cyEdge = 0;    // SM_CYEDGE
};

// The size table: the ascending pixel sizes S of keyboard sizes 1..n (the Normal picture is
// S x S). Every function below takes a non-empty table.
using SizeTable = std::span<const int>;
inline constexpr SizeTable kBuiltInSizeTable{kBuiltInNormalHeights};

// What the frame adds around the keyboard picture: Bx = 2 (cxFrame + cyEdge) and
// By = 2 (cyFrame + cxEdge) + cyCaption + cyMenu.
int FrameExtraWidth(const FrameMetrics& metrics);
int FrameExtraHeight(const FrameMetrics& metrics);

// A stored state other than 0..2 is laid out as Normal.
KeyboardState StateOrNormal(std::uint32_t state);

// The outer window size for the picture size S: Normal S x S, Horizontal 7q x S, Vertical
// 3q x 9q with q = S / 4, each plus Bx and By.
Size WindowSizeForPicture(std::uint32_t state, int pixelSize, const FrameMetrics& metrics);
// The picture size S of keyboard size 1..n of the table (an out-of-range size is held to it).
int KeyboardPixelSize(std::uint32_t keyboardSize, SizeTable table = kBuiltInSizeTable);
// The window size for keyboard size 1..n of the table (an out-of-range size is held to the table).
Size WindowSizeForKeyboard(std::uint32_t state, std::uint32_t keyboardSize,
                           const FrameMetrics& metrics, SizeTable table = kBuiltInSizeTable);

// The frame margins for the available-size test (SizeFitsWorkArea): a picture fits when the
// whole window around it fits the work area, the caption and the menu bar included (their
// height is split over the two vertical frame margins, rounded up).
FrameMargins MainFrameMargins(const FrameMetrics& metrics);

// ClosestCorner bits.
inline constexpr std::uint32_t kRightEdgeCorner = 1;
inline constexpr std::uint32_t kBottomEdgeCorner = 2;

// PlaceAtClosestCorner: the window's top-left for the remembered corner and distances. A
// corner value other than 0..3 gives (0, 0) and sets knownCorner false (at creation the frame
// then takes the default position).
struct CornerPlacement {
    Point topLeft;
    bool knownCorner = false;
};
CornerPlacement PlaceAtClosestCorner(const PixelRect& work, const AppSettings& settings);

// RecordClosestCorner's measuring steps: the corner of the work area nearest to the window
// (ties go to the right and bottom edges) and the window's distances from it, written into
// settings (closestCorner, horizDistToClosestEdge, vertDistToClosestEdge). Placing the window
// with PlaceAtClosestCorner afterwards puts it back where it was.
void RecordClosestCorner(const PixelRect& window, const PixelRect& work, AppSettings& settings);

// SnapToWorkArea after a resize by the border: the window's new top-left. Each axis snaps to
// the near edge first, else to the far edge, when that edge is at most 30 pixels away; when
// both axes are exactly 30 pixels off the window stays.
Point SnapToWorkArea(const PixelRect& window, const PixelRect& work);

// KeepInsideWorkArea: the window's new top-left, moved left and up by how far it passes the
// work area's right and bottom edges (never right or down).
Point KeepInsideWorkArea(const PixelRect& window, const PixelRect& work);

// One WM_SIZE step of a resize by the border, from the client size.
struct BorderDragStep {
    int pixelSize = 0;             // s': the size-table entry the client area holds
    KeyboardState state = kNormal; // the state the client's shape asks for
    bool stateChange = false;      // state differs from the current one
    Size layout;                   // the size handed on to the default frame layout
};
BorderDragStep BorderDragLayout(Size client, std::uint32_t state, const FrameMetrics& metrics,
                                SizeTable table = kBuiltInSizeTable);

// The keyboard size 1..n chosen at the end of a resize by the border (WM_EXITSIZEMOVE): the
// table entry nearest to the client size. Vertical never gives size 1. When the chosen size is
// not in availableSizes (bit s - 1 for size s) the nearest available smaller size is taken,
// else the nearest larger one; with none available the chosen size stays.
int SizeAfterBorderDrag(Size client, std::uint32_t state, const FrameMetrics& metrics,
                        SizeTable table = kBuiltInSizeTable, std::uint32_t availableSizes = ~0u);

// WM_GETMINMAXINFO: from the smallest Normal window to the largest Horizontal width and
// Vertical height.
struct TrackingLimits {
    Size minimum;
    Size maximum;
    bool operator==(const TrackingLimits&) const = default;
};
TrackingLimits MainFrameTrackingLimits(const FrameMetrics& metrics,
                                       SizeTable table = kBuiltInSizeTable);

// The macro content window's screen rectangle: exactly over the frame's menu bar.
PixelRect MacroWindowOverMenuBar(const PixelRect& window, const FrameMetrics& metrics);

} // namespace gw
