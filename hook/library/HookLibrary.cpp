// The focus hook library. The keyboard installs its two hook procedures on every thread of the
// desktop, so the system loads a copy of this library into every program with a user
// interface. Each copy records the messages that tell about focus, typing, clicks, scrolling and
// the caret into the shared ring and wakes the keyboard.
//
// This code runs inside other programs' message processing: it filters by message number
// before anything else, never allocates, never shows a window, posts (never sends) to the
// keyboard, waits at most 100 ms for the ring's mutex and always passes the message on.
#include "hook/HookRing.h"

#include <windows.h>

#include <mmsystem.h> // after windows.h, which it needs

#include <atomic>

namespace {

constexpr DWORD kMutexWaitMs = 100;

// This process's hold on the shared area. Hook procedures of several threads use it at once;
// they hold the lock shared while they touch the area, and whoever lets the area go takes it
// exclusively, so no thread ever reads a view that was unmapped under it.
SRWLOCK g_areaLock = SRWLOCK_INIT;
HANDLE g_mapping = nullptr;
HANDLE g_mutex = nullptr;
gw::SharedArea* g_area = nullptr;
// Set once the keyboard marked the area inactive: this process records nothing more.
std::atomic<bool> g_letGo{false};
// Set once this process has let the area go.
std::atomic<bool> g_released{false};

void ReleaseArea() {
    if (g_mutex)
        ::CloseHandle(g_mutex);
    if (g_area)
        ::UnmapViewOfFile(g_area);
    if (g_mapping)
        ::CloseHandle(g_mapping);
    g_mutex = nullptr;
    g_area = nullptr;
    g_mapping = nullptr;
}

// Opens the area and its mutex. On failure this copy records nothing, silently: a message box
// raised while the library loads could hang the program it is loaded into.
void AttachArea() {
    g_mapping = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                     static_cast<DWORD>(gw::kSharedAreaBytes),
                                     reinterpret_cast<const wchar_t*>(gw::kSharedAreaName));
    if (g_mapping)
        g_area = static_cast<gw::SharedArea*>(
            ::MapViewOfFile(g_mapping, FILE_MAP_WRITE, 0, 0, gw::kSharedAreaBytes));
    if (g_area)
        g_mutex = ::OpenMutexW(SYNCHRONIZE, FALSE,
                               reinterpret_cast<const wchar_t*>(gw::kSharedAreaMutexName));
    if (!g_mutex) {
        ReleaseArea();
        g_letGo.store(true, std::memory_order_relaxed);
        g_released.store(true, std::memory_order_relaxed);
    }
}

std::uint32_t LoadShared(const std::uint32_t& field) {
    return std::atomic_ref<const std::uint32_t>(field).load(std::memory_order_acquire);
}

// The recording step for one message, with the area held.
void Record(gw::SharedArea& area, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
            DWORD time) {
    if (LoadShared(area.header.active) == 0) {
        g_letGo.store(true, std::memory_order_relaxed);
        return;
    }
    if (LoadShared(area.header.overflow) != 0 || !gw::IsRecordedMessage(message, wParam))
        return;
    // What is typed into a password field stays in its program.
    if (gw::IsTypingMessage(message) && (::GetWindowLongW(window, GWL_STYLE) & ES_PASSWORD) != 0)
        return;

    gw::HookEvent event;
    event.window = gw::HandleToShared(window);
    event.message = message;
    event.wParam = static_cast<std::uint32_t>(wParam);
    event.lParam = static_cast<std::uint32_t>(lParam);
    event.time = time != 0 ? time : ::timeGetTime();
    POINT caret{};
    if (::GetCaretPos(&caret)) {
        event.caretX = caret.x;
        event.caretY = caret.y;
    }

    // A writer that died holding the mutex leaves it abandoned; the ring is still whole, since
    // a record is complete before the index moves.
    const DWORD wait = ::WaitForSingleObject(g_mutex, kMutexWaitMs);
    if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED)
        return;
    gw::WriteHookEvent(area, event);
    const std::uint32_t mainWindow = area.header.mainWindow;
    ::ReleaseMutex(g_mutex);
    if (mainWindow != 0)
        ::PostMessageW(static_cast<HWND>(gw::HandleFromShared(mainWindow)), gw::kHookWakeUpMessage,
                       0, 0);
}

// Runs the recording step when the area is held and gives the hook handle to pass the message
// on with (null once the area is gone). Lets the area go when the keyboard marked it inactive.
HHOOK RecordAndFindNextHook(const std::uint32_t gw::SharedAreaHeader::*hookField, bool record,
                            HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD time) {
    HHOOK next = nullptr;
    if (!g_letGo.load(std::memory_order_relaxed)) {
        ::AcquireSRWLockShared(&g_areaLock);
        if (g_area) {
            if (record)
                Record(*g_area, window, message, wParam, lParam, time);
            if (!g_letGo.load(std::memory_order_relaxed))
                next = static_cast<HHOOK>(gw::HandleFromShared(g_area->header.*hookField));
        }
        ::ReleaseSRWLockShared(&g_areaLock);
    }
    if (g_letGo.load(std::memory_order_relaxed) && !g_released.load(std::memory_order_relaxed) &&
        ::TryAcquireSRWLockExclusive(&g_areaLock)) {
        ReleaseArea();
        g_released.store(true, std::memory_order_relaxed);
        ::ReleaseSRWLockExclusive(&g_areaLock);
    }
    return next;
}

} // namespace

extern "C" {

__declspec(dllexport) LRESULT CALLBACK GetMessageHookProc(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    // Only a message taken out of the queue counts; a peek leaves it there to come again.
    const bool record = code >= 0 && msg && msg->hwnd && wParam == PM_REMOVE;
    const HHOOK next = RecordAndFindNextHook(&gw::SharedAreaHeader::messageHook, record,
                                             record ? msg->hwnd : nullptr,
                                             record ? msg->message : 0, record ? msg->wParam : 0,
                                             record ? msg->lParam : 0, record ? msg->time : 0);
    return ::CallNextHookEx(next, code, wParam, lParam);
}

__declspec(dllexport) LRESULT CALLBACK CallWndHookProc(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    const bool record = code >= 0 && sent && sent->hwnd;
    const HHOOK next = RecordAndFindNextHook(
        &gw::SharedAreaHeader::callHook, record, record ? sent->hwnd : nullptr,
        record ? sent->message : 0, record ? sent->wParam : 0, record ? sent->lParam : 0, 0);
    return ::CallNextHookEx(next, code, wParam, lParam);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        ::DisableThreadLibraryCalls(instance);
        AttachArea();
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        // Unloaded while the process goes on; at process end the system closes everything.
        ReleaseArea();
    }
    return TRUE;
}

} // extern "C"
