#pragma once
// Packets that the device library reports on a thread of its own, handed over in order to the
// thread that created the handoff: the keyboard's user-interface thread, the only one on which
// the engine may be called. A message-only window of the extension's own receives the wake-up.
#include "extensions/TouchpadTracker.h"
#include "extensions/touchpad/TouchpadDevice.h"

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <vector>

class CPacketHandoff {
public:
    using Handler = std::function<void(const gw::TouchpadPacket&, touchpad::DeviceHandle)>;

    CPacketHandoff() = default;
    ~CPacketHandoff() { Destroy(); }
    CPacketHandoff(const CPacketHandoff&) = delete;
    CPacketHandoff& operator=(const CPacketHandoff&) = delete;

    // On the receiving thread: the handler gets every packet posted from now on.
    bool Create(HINSTANCE module, Handler handler);
    // On the receiving thread; packets not handled yet are dropped.
    void Destroy();
    // From any thread. Without a window the packet is dropped.
    void Post(const gw::TouchpadPacket& packet, touchpad::DeviceHandle device);

private:
    struct Entry {
        gw::TouchpadPacket packet;
        touchpad::DeviceHandle device;
    };
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void HandlePosted();

    HINSTANCE module_ = nullptr;
    std::atomic<HWND> window_{nullptr};
    Handler handler_;
    std::mutex lock_;
    std::vector<Entry> posted_;
};
