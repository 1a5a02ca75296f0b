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
// Set once the keyboard marked the area inactive: this process records nothing more, until a
// keyboard's area is active again (below).
std::atomic<bool> g_letGo{false};
// Set once this process has let the area go, and when.
std::atomic<bool> g_released{false};
std::atomic<DWORD> g_releaseTime{0};
// A copy that let go looks for a keyboard's active area again at most this often: the library
// can stay loaded in a process from one keyboard to the next (Wine keeps the hooks of a killed
// keyboard calling it, and a keyboard started again can come before the system unloaded it).
constexpr DWORD kAttachAgainMs = 200;
// Per thread: the message this copy is passing on down the hook chain. A keyboard that ended
// without removing its hooks (killed, crashed) can leave them in the chain under Wine, each
// calling this same copy with the same message; only the outermost call records it.
DWORD g_passingOnSlot = TLS_OUT_OF_INDEXES;

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

// Opens the area (creating it when asked) and its mutex; on failure holds nothing.
bool OpenArea(bool create) {
    const auto* name = reinterpret_cast<const wchar_t*>(gw::kSharedAreaName);
    g_mapping = create ? ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                              static_cast<DWORD>(gw::kSharedAreaBytes), name)
                       : ::OpenFileMappingW(FILE_MAP_WRITE, FALSE, name);
    if (g_mapping)
        g_area = static_cast<gw::SharedArea*>(
            ::MapViewOfFile(g_mapping, FILE_MAP_WRITE, 0, 0, gw::kSharedAreaBytes));
    if (g_area)
        g_mutex = ::OpenMutexW(SYNCHRONIZE, FALSE,
                               reinterpret_cast<const wchar_t*>(gw::kSharedAreaMutexName));
    if (!g_mutex)
        ReleaseArea();
    return g_mutex != nullptr;
}

void MarkReleased() {
    g_releaseTime.store(::GetTickCount(), std::memory_order_relaxed);
    g_released.store(true, std::memory_order_relaxed);
}

// Opens the area and its mutex. On failure this copy records nothing, silently: a message box
// raised while the library loads could hang the program it is loaded into.
void AttachArea() {
    if (!OpenArea(true)) {
        g_letGo.store(true, std::memory_order_relaxed);
        MarkReleased();
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

bool AttachAgainIsDue() {
    return g_released.load(std::memory_order_relaxed) &&
           ::GetTickCount() - g_releaseTime.load(std::memory_order_relaxed) >= kAttachAgainMs;
}

// A copy that let go takes the area again once a keyboard runs with it (never creating it).
void AttachAgainWhenDue() {
    if (!AttachAgainIsDue() || !::TryAcquireSRWLockExclusive(&g_areaLock))
        return;
    if (AttachAgainIsDue()) {
        if (OpenArea(false) && LoadShared(g_area->header.active) != 0) {
            g_released.store(false, std::memory_order_relaxed);
            g_letGo.store(false, std::memory_order_relaxed);
        } else {
            ReleaseArea();
            MarkReleased();
        }
    }
    ::ReleaseSRWLockExclusive(&g_areaLock);
}

// The message an outer call of this thread is passing on (0 for none).
LPARAM MessagePassedOn() {
    if (g_passingOnSlot == TLS_OUT_OF_INDEXES)
        return 0;
    return reinterpret_cast<LPARAM>(::TlsGetValue(g_passingOnSlot));
}

void SetMessagePassedOn(LPARAM message) {
    if (g_passingOnSlot != TLS_OUT_OF_INDEXES)
        ::TlsSetValue(g_passingOnSlot, reinterpret_cast<void*>(message));
}

// Passes the message on, marked as this thread's message in passing for the calls it leads to.
LRESULT PassOn(HHOOK next, int code, WPARAM wParam, LPARAM lParam, LPARAM outer) {
    SetMessagePassedOn(lParam);
    const LRESULT result = ::CallNextHookEx(next, code, wParam, lParam);
    SetMessagePassedOn(outer);
    return result;
}

// Runs the recording step when the area is held and gives the hook handle to pass the message
// on with (null once the area is gone). Lets the area go when the keyboard marked it inactive.
HHOOK RecordAndFindNextHook(const std::uint32_t gw::SharedAreaHeader::*hookField, bool record,
                            HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD time) {
    AttachAgainWhenDue();
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
        MarkReleased();
        ::ReleaseSRWLockExclusive(&g_areaLock);
    }
    return next;
}

} // namespace

extern "C" {

// Both procedures leave the thread's last error, which belongs to the program, as they found it.
__declspec(dllexport) LRESULT CALLBACK GetMessageHookProc(int code, WPARAM wParam, LPARAM lParam) {
    const DWORD lastError = ::GetLastError();
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    const LPARAM outer = MessagePassedOn();
    // Only a message taken out of the queue counts; a peek leaves it there to come again.
    const bool record = code >= 0 && msg && msg->hwnd && wParam == PM_REMOVE && lParam != outer;
    const HHOOK next = RecordAndFindNextHook(&gw::SharedAreaHeader::messageHook, record,
                                             record ? msg->hwnd : nullptr,
                                             record ? msg->message : 0, record ? msg->wParam : 0,
                                             record ? msg->lParam : 0, record ? msg->time : 0);
    ::SetLastError(lastError);
    return PassOn(next, code, wParam, lParam, outer);
}

__declspec(dllexport) LRESULT CALLBACK CallWndHookProc(int code, WPARAM wParam, LPARAM lParam) {
    const DWORD lastError = ::GetLastError();
    const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    const LPARAM outer = MessagePassedOn();
    const bool record = code >= 0 && sent && sent->hwnd && lParam != outer;
    const HHOOK next = RecordAndFindNextHook(
        &gw::SharedAreaHeader::callHook, record, record ? sent->hwnd : nullptr,
        record ? sent->message : 0, record ? sent->wParam : 0, record ? sent->lParam : 0, 0);
    ::SetLastError(lastError);
    return PassOn(next, code, wParam, lParam, outer);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        ::DisableThreadLibraryCalls(instance);
        g_passingOnSlot = ::TlsAlloc();
        AttachArea();
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        // Unloaded while the process goes on; at process end the system closes everything.
        ReleaseArea();
        if (g_passingOnSlot != TLS_OUT_OF_INDEXES)
            ::TlsFree(g_passingOnSlot);
    }
    return TRUE;
}

} // extern "C"
