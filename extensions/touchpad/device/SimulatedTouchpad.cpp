// Touchpad.dll: a simulated touchpad with the seven operations of the device library, exported
// by ordinal (Touchpad.def). It is driven through the control channel of TouchpadControl.h.
// Packets are delivered on the device's own thread, which runs while the device is open.
#include "extensions/touchpad/TouchpadDevice.h"
#include "extensions/touchpad/device/TouchpadControl.h"

#include <atomic>

namespace {

constexpr touchpad::DeviceHandle kDevice = 0x7A0C;
constexpr DWORD kCloseWaitMs = 5000;

touchpad::ControlArea* g_control = nullptr;
HANDLE g_mapping = nullptr;
HANDLE g_packets = nullptr; // the test's wake-up
HANDLE g_stop = nullptr;    // tells the device thread to end
HANDLE g_ended = nullptr;   // the device thread will call back no more
std::atomic<touchpad::PacketCallback> g_callback{nullptr};
std::atomic<bool> g_started{false};
bool g_open = false;

// The control area, opened (or created empty) at first use.
touchpad::ControlArea* Control() {
    if (g_control)
        return g_control;
    g_mapping = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                     sizeof(touchpad::ControlArea), touchpad::kControlAreaName);
    if (!g_mapping)
        return nullptr;
    g_control = static_cast<touchpad::ControlArea*>(
        ::MapViewOfFile(g_mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(touchpad::ControlArea)));
    return g_control;
}

// Takes the packets written so far, in order. The counts come from another process, so a
// writer that ran more than a ring ahead only loses the packets it overwrote.
void DeliverWritten(touchpad::ControlArea& control) {
    for (;;) {
        const LONG written = control.written;
        LONG taken = control.taken;
        if (taken >= written)
            return;
        if (written - taken > static_cast<LONG>(touchpad::kPacketRingSize))
            taken = written - static_cast<LONG>(touchpad::kPacketRingSize);
        const touchpad::DevicePacket packet =
            control.packets[static_cast<std::uint32_t>(taken) % touchpad::kPacketRingSize];
        const touchpad::PacketCallback callback = g_callback;
        if (g_started && callback) {
            control.deliveringThread = ::GetCurrentThreadId();
            callback(kDevice, &packet, 0);
            ::InterlockedIncrement(&control.delivered);
        }
        ::InterlockedExchange(&control.taken, taken + 1);
    }
}

DWORD WINAPI DeviceThread(void* self) {
    const HANDLE events[2] = {g_stop, g_packets};
    while (::WaitForMultipleObjects(2, events, FALSE, 50) != WAIT_OBJECT_0) {
        if (touchpad::ControlArea* control = Control())
            DeliverWritten(*control);
    }
    ::SetEvent(g_ended);
    // The thread holds the library until its very last instruction.
    ::FreeLibraryAndExitThread(static_cast<HMODULE>(self), 0);
}

bool StartDeviceThread() {
    HMODULE self = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                              reinterpret_cast<LPCWSTR>(&DeviceThread), &self))
        return false;
    g_packets = ::CreateEventW(nullptr, FALSE, FALSE, touchpad::kPacketsEventName);
    g_stop = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    g_ended = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = ::CreateThread(nullptr, 0, &DeviceThread, self, 0, nullptr);
    if (!thread) {
        ::FreeLibrary(self);
        return false;
    }
    ::CloseHandle(thread);
    return true;
}

void EndDeviceThread() {
    ::SetEvent(g_stop);
    ::WaitForSingleObject(g_ended, kCloseWaitMs);
    for (HANDLE* handle : {&g_packets, &g_stop, &g_ended}) {
        ::CloseHandle(*handle);
        *handle = nullptr;
    }
}

bool IsOurs(touchpad::DeviceHandle device) {
    return g_open && device == kDevice;
}

} // namespace

extern "C" {

int TouchpadIsPresent() {
    const touchpad::ControlArea* control = Control();
    return control && control->present ? 1 : 0;
}

touchpad::DeviceHandle TouchpadOpen(int which) {
    touchpad::ControlArea* control = Control();
    if (!control || !control->present || g_open || !StartDeviceThread())
        return 0;
    g_open = true;
    control->openArgument = which;
    ++control->opens;
    return kDevice;
}

int TouchpadSetPacketCallback(touchpad::DeviceHandle device, touchpad::PacketCallback callback,
                              int mode, int reserved) {
    if (!IsOurs(device))
        return 0;
    g_callback = callback;
    g_control->callbackMode = mode;
    g_control->callbackReserved = reserved;
    return 1;
}

int TouchpadStart(touchpad::DeviceHandle device) {
    if (!IsOurs(device))
        return 0;
    g_started = true;
    g_control->started = 1;
    return 1;
}

int TouchpadStop(touchpad::DeviceHandle device) {
    if (!IsOurs(device))
        return 0;
    g_started = false;
    g_control->started = 0;
    return 1;
}

int TouchpadClose(touchpad::DeviceHandle device) {
    if (!IsOurs(device))
        return 0;
    g_started = false;
    g_control->started = 0;
    EndDeviceThread();
    g_callback = nullptr;
    g_open = false;
    ++g_control->closes;
    return 1;
}

std::uint16_t TouchpadThreshold(touchpad::DeviceHandle device) {
    if (!IsOurs(device))
        return 0;
    const std::uint32_t threshold = g_control->threshold;
    return threshold ? static_cast<std::uint16_t>(threshold) : touchpad::kDefaultThreshold;
}

} // extern "C"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_DETACH && g_control) {
        ::UnmapViewOfFile(g_control);
        ::CloseHandle(g_mapping);
        g_control = nullptr;
    }
    return TRUE;
}
