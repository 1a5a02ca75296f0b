#pragma once
// Keeps the controls of a resizable dialog in place as it changes size: a control anchored to
// the right or bottom edge keeps its distance from it; one that stretches keeps both its
// distances, growing and shrinking with the dialog.
#include <windows.h>

#include <initializer_list>
#include <vector>

namespace layout {
inline constexpr unsigned kMoveRight = 1;
inline constexpr unsigned kMoveDown = 2;
inline constexpr unsigned kStretchWidth = 4;
inline constexpr unsigned kStretchHeight = 8;
} // namespace layout

class CDialogLayout {
public:
    struct Control {
        int id;
        unsigned anchors;
    };
    // Measures the controls where the dialog's template put them.
    void Measure(HWND dialog, std::initializer_list<Control> controls);
    // Places the controls for the dialog's client size now.
    void Apply() const;
    // A control's rectangle as measured, in client coordinates.
    RECT Measured(int id) const;
    SIZE MeasuredClient() const { return client_; }

private:
    struct Item {
        Control control;
        RECT rect;
    };
    HWND dialog_ = nullptr;
    SIZE client_{};
    std::vector<Item> items_;
};

// The window's rectangle, in its parent's client coordinates (the screen's for a top-level
// window).
RECT ChildRect(HWND window);
