#include "extensions/touchpad/PacketHandoff.h"

namespace {

const wchar_t kWindowClass[] = L"GWExtTouchpadPackets";
constexpr UINT kPacketsPosted = WM_APP + 1;

} // namespace

bool CPacketHandoff::Create(HINSTANCE module, Handler handler) {
    Destroy();
    module_ = module;
    handler_ = std::move(handler);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &CPacketHandoff::WindowProc;
    wc.hInstance = module;
    wc.lpszClassName = kWindowClass;
    ::RegisterClassExW(&wc);
    HWND window = ::CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    module, nullptr);
    if (!window)
        return false;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    window_ = window;
    return true;
}

void CPacketHandoff::Destroy() {
    if (HWND window = window_.exchange(nullptr)) {
        ::DestroyWindow(window);
        ::UnregisterClassW(kWindowClass, module_);
    }
    const std::lock_guard<std::mutex> guard(lock_);
    posted_.clear();
}

void CPacketHandoff::Post(const gw::TouchpadPacket& packet, touchpad::DeviceHandle device) {
    HWND window = window_;
    if (!window)
        return;
    {
        const std::lock_guard<std::mutex> guard(lock_);
        posted_.push_back({packet, device});
    }
    ::PostMessageW(window, kPacketsPosted, 0, 0);
}

void CPacketHandoff::HandlePosted() {
    std::vector<Entry> taken;
    {
        const std::lock_guard<std::mutex> guard(lock_);
        taken.swap(posted_);
    }
    for (const Entry& entry : taken)
        handler_(entry.packet, entry.device);
}

LRESULT CALLBACK CPacketHandoff::WindowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    if (message == kPacketsPosted) {
        auto* self = reinterpret_cast<CPacketHandoff*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        try {
            if (self)
                self->HandlePosted();
        } catch (...) {
            // Nothing unwinds into the system's code; the packets are lost.
        }
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}
