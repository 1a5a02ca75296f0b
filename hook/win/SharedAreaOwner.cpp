#include "hook/win/SharedAreaOwner.h"

#include <atomic>

namespace {

// An area found active belongs to a keyboard that ended without shutting down (killed, crashed):
// the single-instance claim comes before the area, so no other keyboard runs. Under Wine its
// global hooks stay in the chain and go on calling the library in every program; remove them.
void RemoveHooksLeftBehind(const gw::SharedAreaHeader& header) {
    if (header.active == 0)
        return;
    for (const std::uint32_t hook : {header.messageHook, header.callHook}) {
        if (hook != 0)
            ::UnhookWindowsHookEx(static_cast<HHOOK>(gw::HandleFromShared(hook)));
    }
}

} // namespace

bool CSharedAreaOwner::Create(const std::wstring& mappingName, const std::wstring& mutexName) {
    Release();
    mapping_.Reset(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        static_cast<DWORD>(gw::kSharedAreaBytes),
                                        mappingName.c_str()));
    if (!mapping_)
        return false;
    void* view = ::MapViewOfFile(mapping_.Get(), FILE_MAP_WRITE, 0, 0, gw::kSharedAreaBytes);
    if (!view) {
        mapping_.Reset();
        return false;
    }
    area_ = static_cast<gw::SharedArea*>(view);
    RemoveHooksLeftBehind(area_->header);
    gw::InitialiseSharedAreaHeader(area_->header);
    mutex_.Reset(::CreateMutexW(nullptr, FALSE, mutexName.c_str()));
    if (!mutex_) {
        Release(); // a library copy that still holds the mapping must not go on using it
        return false;
    }
    return true;
}

void CSharedAreaOwner::SetMainWindow(HWND window) {
    if (area_)
        area_->header.mainWindow = gw::HandleToShared(window);
}

void CSharedAreaOwner::MarkInactive() {
    // Other processes read the flag without the mutex.
    if (area_)
        std::atomic_ref<std::uint32_t>(area_->header.active).store(0, std::memory_order_release);
}

void CSharedAreaOwner::Release() {
    if (!area_)
        return;
    MarkInactive();
    ::UnmapViewOfFile(area_);
    area_ = nullptr;
    mapping_.Reset();
    mutex_.Reset();
}
