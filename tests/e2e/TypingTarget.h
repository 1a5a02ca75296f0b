#pragma once
// The program the end-to-end tests type into, started for a test and ended with it.
#include "tests/e2e/E2ESupport.h"

#include <gtest/gtest.h>

namespace e2e {

// A started program to type into: GWTypingTarget.exe with a plain edit control, or with the
// argument "rich" a rich-text control.
struct TypingTarget {
    TypingTarget(const wchar_t* argument, const wchar_t* windowClass, const wchar_t* editClass)
        : process(FullPath(L"GWTypingTarget.exe"), FullPath(L"."), argument) {
        window = process.WaitForWindow(windowClass, 15000);
        if (!window)
            return;
        edit = ::FindWindowExW(window, nullptr, editClass, nullptr);
        // It brings itself to the front once shown: a click before that could be undone by it.
        WaitUntil([&] { return ::GetForegroundWindow() == window; }, 5000);
    }
    // Text with line breaks as a lone "\r", however the control reports them.
    std::wstring Text() const {
        std::wstring text = EditText(edit);
        for (std::size_t at; (at = text.find(L"\r\n")) != std::wstring::npos;)
            text.erase(at + 1, 1);
        return text;
    }
    // A real click into the edit control, at a point the keyboard does not cover.
    bool ClickInto(HWND keyboard) const {
        RECT r{};
        ::GetWindowRect(edit, &r);
        RECT covered{};
        ::GetWindowRect(keyboard, &covered);
        for (int x = r.left + 20; x < r.right; x += 40) {
            const POINT p{x, (r.top + r.bottom) / 2};
            if (!::PtInRect(&covered, p)) {
                Mouse::Stroke({p, p});
                return WaitUntil([&] { return ::GetForegroundWindow() == window; }, 5000);
            }
        }
        return false;
    }
    ::testing::AssertionResult WaitForText(const std::wstring& expected,
                                           DWORD timeoutMs = 5000) const {
        if (WaitUntil([&] { return Text() == expected; }, timeoutMs))
            return ::testing::AssertionSuccess();
        std::string shown;
        for (wchar_t c : Text())
            shown += c >= 0x20 && c < 0x7F ? std::string(1, static_cast<char>(c))
                                           : "\\u" + std::to_string(static_cast<int>(c));
        return ::testing::AssertionFailure() << "the text is \"" << shown << "\"";
    }

    Process process;
    HWND window = nullptr;
    HWND edit = nullptr;
};

} // namespace e2e
