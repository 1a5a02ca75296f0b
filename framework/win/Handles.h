#pragma once
// Scoped owners for Win32 handles and GDI objects. They cannot be copied (a copy would close
// twice); moving hands the ownership over.
#include <windows.h>

#include <utility>

template <typename Handle, typename Closer> class ScopedHandle {
public:
    ScopedHandle() = default;
    explicit ScopedHandle(Handle handle) : handle_(handle) {}
    ~ScopedHandle() { Reset(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.Release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{} && handle_ != Closer::Invalid(); }
    Handle Release() { return std::exchange(handle_, Handle{}); }
    void Reset(Handle handle = Handle{}) {
        if (*this)
            Closer::Close(handle_);
        handle_ = handle;
    }

private:
    Handle handle_{};
};

struct KernelHandleCloser {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct GdiObjectCloser {
    static HGDIOBJ Invalid() { return nullptr; }
    static void Close(HGDIOBJ h) { ::DeleteObject(h); }
};
struct MemoryDcCloser {
    static HDC Invalid() { return nullptr; }
    static void Close(HDC h) { ::DeleteDC(h); }
};
struct ModuleCloser {
    static HMODULE Invalid() { return nullptr; }
    static void Close(HMODULE h) { ::FreeLibrary(h); }
};
struct WindowCloser {
    static HWND Invalid() { return nullptr; }
    static void Close(HWND h) { ::DestroyWindow(h); }
};

using UniqueHandle = ScopedHandle<HANDLE, KernelHandleCloser>;
using UniqueGdiObject = ScopedHandle<HGDIOBJ, GdiObjectCloser>;
using UniqueMemoryDc = ScopedHandle<HDC, MemoryDcCloser>;
using UniqueModule = ScopedHandle<HMODULE, ModuleCloser>;
using UniqueWindow = ScopedHandle<HWND, WindowCloser>;

// A device context obtained with GetDC, released with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
    ~WindowDc() {
        if (dc_)
            ::ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};
