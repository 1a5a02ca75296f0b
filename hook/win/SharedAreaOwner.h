#pragma once
// The keyboard program's side of the shared area: it creates the named mapping and its mutex
// before the hook library is loaded, initialises the header, and at the end marks the area
// inactive and releases it.
#include "framework/win/Handles.h"
#include "framework/win/WideString.h"
#include "hook/SharedArea.h"

#include <string>

class CSharedAreaOwner {
public:
    CSharedAreaOwner() = default;
    // Releases the area if Release was not called.
    ~CSharedAreaOwner() { Release(); }
    CSharedAreaOwner(const CSharedAreaOwner&) = delete;
    CSharedAreaOwner& operator=(const CSharedAreaOwner&) = delete;

    // Creates (or, if a library copy still holds it, opens) the page-file mapping of
    // kSharedAreaBytes bytes, maps all of it writable, removes the hooks of a keyboard that left
    // the area active, initialises the header and creates the mutex, not owned. On any failure
    // releases what it made and returns false: the program cannot run without the area.
    bool Create(const std::wstring& mappingName = ToWide(gw::kSharedAreaName),
                const std::wstring& mutexName = ToWide(gw::kSharedAreaMutexName));
    bool IsHeld() const { return area_ != nullptr; }

    // The mapped area; nullptr when not held.
    gw::SharedArea* Area() const { return area_; }
    HANDLE Mutex() const { return mutex_.Get(); }
    // Stores the main window that the library wakes with its posted messages.
    void SetMainWindow(HWND window);

    // Sets active to 0: the library's copies let the area go at their next call.
    void MarkInactive();
    // Sets active to 0, then unmaps the view and closes the mapping and the mutex (the wait for
    // the library's copies is the caller's). Does nothing when not held.
    void Release();

private:
    UniqueHandle mapping_;
    UniqueHandle mutex_;
    gw::SharedArea* area_ = nullptr;
};
