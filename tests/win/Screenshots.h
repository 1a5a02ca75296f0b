#pragma once
// Images of what windows show, for the Windows and end-to-end tests: pixels read from the
// screen, and screenshots written as BMP files into the build tree (screenshots/ beside the
// test program).
#include "framework/win/Bitmaps.h"
#include "framework/win/Handles.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace wintest {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)] &
               0xFFFFFF;
    }
    bool Has(std::uint32_t colour) const {
        for (std::uint32_t p : pixels) {
            if ((p & 0xFFFFFF) == colour)
                return true;
        }
        return false;
    }
};

// The pixels of a screen rectangle, read through a device context at origin (the window's
// own, or the whole screen's).
inline Image Capture(HDC source, POINT origin, SIZE size) {
    Image image{size.cx, size.cy,
                std::vector<std::uint32_t>(static_cast<std::size_t>(size.cx) *
                                           static_cast<std::size_t>(size.cy))};
    UniqueMemoryDc dc(::CreateCompatibleDC(source));
    UniqueGdiObject bitmap(::CreateCompatibleBitmap(source, size.cx, size.cy));
    HGDIOBJ old = ::SelectObject(dc.Get(), bitmap.Get());
    ::BitBlt(dc.Get(), 0, 0, size.cx, size.cy, source, origin.x, origin.y, SRCCOPY);
    ::SelectObject(dc.Get(), old);
    BITMAPINFO info = TopDown32BitmapInfo(size.cx, size.cy);
    ::GetDIBits(dc.Get(), static_cast<HBITMAP>(bitmap.Get()), 0, static_cast<UINT>(size.cy),
                image.pixels.data(), &info, DIB_RGB_COLORS);
    return image;
}

inline SIZE ClientSizeOf(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    return {client.right, client.bottom};
}

// What the window shows on the screen now, in its client area, read from the window.
inline Image OnScreen(HWND window) {
    WindowDc dc(window);
    return Capture(dc.Get(), {0, 0}, ClientSizeOf(window));
}

// The client area of a window of another program as the screen shows it (a layered window's
// own device context gives nothing to read).
inline Image FromScreen(HWND window) {
    POINT origin{0, 0};
    ::ClientToScreen(window, &origin);
    WindowDc screen(nullptr);
    return Capture(screen.Get(), origin, ClientSizeOf(window));
}

// The screenshots' folder beside the test program, in the build tree.
inline std::wstring ScreenshotFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.find_last_of(L"\\/") + 1);
    folder += L"screenshots";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

// Writes the image as a 24-bit BMP file.
inline bool WriteBmp(const Image& image, const std::string& name) {
    const std::wstring path = ScreenshotFolder() + L"\\" + std::wstring(name.begin(), name.end());
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file)
        return false;
    const int stride = (image.width * 3 + 3) & ~3;
    BITMAPFILEHEADER header{};
    BITMAPINFOHEADER info{};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof(header) + sizeof(info);
    header.bfSize = header.bfOffBits + static_cast<DWORD>(stride * image.height);
    info.biSize = sizeof(info);
    info.biWidth = image.width;
    info.biHeight = image.height; // bottom-up
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    std::fwrite(&header, sizeof(header), 1, file);
    std::fwrite(&info, sizeof(info), 1, file);
    std::vector<unsigned char> row(static_cast<std::size_t>(stride));
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t p = image.At(x, y);
            row[static_cast<std::size_t>(x) * 3] = static_cast<unsigned char>(p);
            row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<unsigned char>(p >> 8);
            row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<unsigned char>(p >> 16);
        }
        std::fwrite(row.data(), 1, row.size(), file);
    }
    return std::fclose(file) == 0;
}

// What the screen shows of a whole window (frame and menu included).
inline Image CaptureWindow(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    WindowDc screen(nullptr);
    return Capture(screen.Get(), {r.left, r.top}, {r.right - r.left, r.bottom - r.top});
}

} // namespace wintest
