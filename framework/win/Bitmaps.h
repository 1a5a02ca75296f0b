#pragma once
// The header of a 32-bit top-down device-independent bitmap: the form the program draws its
// pictures in and the tests read pixels from (row 0 at the top, one DWORD a pixel).
#include <windows.h>

inline BITMAPINFO TopDown32BitmapInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}
