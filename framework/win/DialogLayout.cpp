#include "framework/win/DialogLayout.h"

RECT ChildRect(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void CDialogLayout::Measure(HWND dialog, std::initializer_list<Control> controls) {
    dialog_ = dialog;
    RECT client{};
    ::GetClientRect(dialog, &client);
    client_ = {client.right, client.bottom};
    items_.clear();
    for (const Control& control : controls)
        items_.push_back({control, ChildRect(::GetDlgItem(dialog, control.id))});
}

RECT CDialogLayout::Measured(int id) const {
    for (const Item& item : items_) {
        if (item.control.id == id)
            return item.rect;
    }
    return {};
}

void CDialogLayout::Apply() const {
    RECT client{};
    ::GetClientRect(dialog_, &client);
    const int dx = client.right - client_.cx;
    const int dy = client.bottom - client_.cy;
    HDWP positions = ::BeginDeferWindowPos(static_cast<int>(items_.size()));
    for (const Item& item : items_) {
        RECT r = item.rect;
        const unsigned anchors = item.control.anchors;
        if (anchors & layout::kMoveRight)
            ::OffsetRect(&r, dx, 0);
        if (anchors & layout::kMoveDown)
            ::OffsetRect(&r, 0, dy);
        if (anchors & layout::kStretchWidth)
            r.right += dx;
        if (anchors & layout::kStretchHeight)
            r.bottom += dy;
        HWND control = ::GetDlgItem(dialog_, item.control.id);
        const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
        if (positions)
            positions = ::DeferWindowPos(positions, control, nullptr, r.left, r.top,
                                         r.right - r.left, r.bottom - r.top, flags);
        else
            ::SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                           flags);
    }
    if (positions)
        ::EndDeferWindowPos(positions);
}
