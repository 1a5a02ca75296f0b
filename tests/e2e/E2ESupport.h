#pragma once
// Helpers of the end-to-end tests: start the real programs, find their windows, drive them
// with real mouse input and read what they show.
#include "keyboard/KeyboardModel.h"
#include "tests/win/WinTestSupport.h"

#include <windows.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace e2e {

// The keyboard's two window classes, and the tray menu's "&Exit" command.
constexpr wchar_t kFrameClass[] = L"GlyphwellMainFrame";
constexpr wchar_t kViewClass[] = L"GlyphwellKeyboardView";
constexpr WPARAM kTrayExit = 32822;

inline std::wstring FullPath(const wchar_t* relative) {
    wchar_t full[MAX_PATH] = {};
    ::GetFullPathNameW(relative, MAX_PATH, full, nullptr);
    return full;
}

// The keyboard's settings key of the current user, as the program keeps it.
constexpr wchar_t kSettingsKey[] = L"SOFTWARE\\Vantorel\\Glyphwell";

// Removes every stored setting, so that the next start is a first start.
inline void ResetSettings() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
}

inline bool WriteSetting(const wchar_t* name, DWORD value) {
    return ::RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, name, REG_DWORD, &value,
                             sizeof(value)) == ERROR_SUCCESS;
}

// The stored DWORD, or the fallback when there is none.
inline DWORD ReadSetting(const wchar_t* name, DWORD fallback = 0xFFFFFFFF) {
    DWORD value = 0;
    DWORD bytes = sizeof(value);
    if (::RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_DWORD, nullptr, &value,
                       &bytes) != ERROR_SUCCESS)
        return fallback;
    return value;
}

inline bool WriteStringSetting(const wchar_t* name, const std::wstring& value) {
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return ::RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, name, REG_SZ, value.c_str(), bytes) ==
           ERROR_SUCCESS;
}

inline std::wstring ReadStringSetting(const wchar_t* name) {
    wchar_t value[1024] = {};
    DWORD bytes = sizeof(value);
    ::RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_SZ, nullptr, value, &bytes);
    return value;
}

// Writes the bytes as the whole file; false when it cannot be written.
inline bool WriteFileBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

// Polls until the condition holds or the time is up.
template <typename Condition> bool WaitUntil(Condition condition, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start >= timeoutMs)
            return false;
        ::Sleep(20);
    }
    return true;
}

// A program started for a test; it is ended when the object goes.
class Process {
public:
    // Starts the program with the folder as its working directory.
    Process(const std::wstring& program, const std::wstring& folder,
            const std::wstring& arguments = L"") {
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        std::wstring commandLine = L"\"" + program + L"\"";
        if (!arguments.empty())
            commandLine += L" " + arguments;
        started_ = ::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                    nullptr, folder.c_str(), &startup, &info_) != 0;
    }
    ~Process() {
        if (!started_)
            return;
        if (::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT)
            ::TerminateProcess(info_.hProcess, 1);
        ::WaitForSingleObject(info_.hProcess, 5000);
        ::CloseHandle(info_.hThread);
        ::CloseHandle(info_.hProcess);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Started() const { return started_; }
    // Ends the program at once, as a crash or the task manager would.
    void Kill() const {
        ::TerminateProcess(info_.hProcess, 1);
        ::WaitForSingleObject(info_.hProcess, 5000);
    }
    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Handle() const { return info_.hProcess; }
    // Waits for the process to end by itself; true if it did, with its exit code.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr) const {
        if (::WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0)
            return false;
        if (exitCode)
            ::GetExitCodeProcess(info_.hProcess, exitCode);
        return true;
    }
    // The process's top-level window of the class, once it is there (and visible, unless
    // hidden ones count).
    HWND WaitForWindow(const wchar_t* className, DWORD timeoutMs, bool visible = true) const {
        HWND found = nullptr;
        WaitUntil(
            [&] {
                found = ::FindWindowW(className, nullptr);
                DWORD owner = 0;
                if (found)
                    ::GetWindowThreadProcessId(found, &owner);
                return found && owner == info_.dwProcessId &&
                       (!visible || ::IsWindowVisible(found));
            },
            timeoutMs);
        return found;
    }

private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

// The text of another program's edit control.
inline std::wstring EditText(HWND edit) {
    DWORD_PTR length = 0;
    ::SendMessageTimeoutW(edit, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length);
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(edit, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                          SMTO_ABORTIFHUNG, 2000, &copied);
    text.resize(copied);
    return text;
}

// The key areas of the keyboard at its first start: Normal, size 3 (a 180 pixel square).
inline gw::KeyGeometry NormalGeometry(bool letterSide) {
    gw::KeyGeometry geometry;
    geometry.Compute(180, 180, gw::kNormal, letterSide);
    return geometry;
}

// Real mouse input at screen points.
class Mouse {
public:
    static void MoveTo(POINT at) { Send(at, MOUSEEVENTF_MOVE); }
    static void Down(POINT at) { Send(at, MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN); }
    static void Up(POINT at) { Send(at, MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTUP); }
    // Button down at the first point, through the others, up at the last one.
    static void Stroke(const std::vector<POINT>& points) {
        Down(points.front());
        for (std::size_t i = 1; i < points.size(); ++i)
            MoveTo(points[i]);
        Up(points.back());
    }

    // A drag of a window's caption or border: the system's move and size loop starts when the
    // window takes the button down, which can be a while on a busy machine, so the moves wait
    // for it, and the loop sees the last position before the button goes up.
    static void DragWindowPart(POINT from, POINT to) {
        Down(from);
        ::Sleep(300);
        for (int i = 1; i <= 10; ++i)
            MoveTo({from.x + (to.x - from.x) * i / 10, from.y + (to.y - from.y) * i / 10});
        ::Sleep(300);
        Up(to);
    }

private:
    static void Send(POINT at, DWORD flags) {
        wintest::SendMouse(at, flags);
        // Each event is taken by the other program before the next one goes.
        ::Sleep(12);
    }
};

// Key positions on a keyboard picture shown in a window's client area.
class KeyboardOnScreen {
public:
    KeyboardOnScreen(HWND client, const gw::KeyGeometry& geometry)
        : client_(client), geometry_(geometry) {}
    void SetGeometry(const gw::KeyGeometry& geometry) { geometry_ = geometry; }

    // The screen point of a point in engine units of an area.
    POINT At(int area, gw::Point units) const {
        const gw::Point pixel = geometry_.FromEngineUnits(area, units);
        POINT p{pixel.x, pixel.y};
        ::ClientToScreen(client_, &p);
        return p;
    }
    static gw::Point KeyCentre(int key) {
        return {(key - 1) % 3 * 100 + 50, (key - 1) / 3 * 100 + 50};
    }
    static gw::Point AreaCentre() { return {50, 50}; }

    // Strokes on a key (grid areas) or on a whole area (others, key 1).
    void Tap(int area, int key = 1) const {
        const POINT p = At(area, Centre(area, key));
        Mouse::Stroke({p, p});
    }
    void Drag(int area, int key, int direction) const { Mouse::Stroke(Line(area, key, direction)); }
    void DragReturn(int area, int key, int direction) const {
        std::vector<POINT> points = Line(area, key, direction);
        for (int i = static_cast<int>(points.size()) - 2; i >= 0; --i)
            points.push_back(points[static_cast<std::size_t>(i)]);
        Mouse::Stroke(points);
    }
    void Circle(int area, int key) const {
        const gw::Point c = Centre(area, key);
        std::vector<POINT> points;
        for (int i = 0; i <= 16; ++i) {
            const double a = i * 2 * 3.14159265358979 / 16;
            points.push_back(At(area, {c.x + static_cast<int>(30 * (std::cos(a) - 1)),
                                       c.y + static_cast<int>(30 * std::sin(a))}));
        }
        points.back() = points.front();
        Mouse::Stroke(points);
    }

private:
    static gw::Point Centre(int area, int key) {
        return area == gw::kLetterGrid || area == gw::kNumberGrid ? KeyCentre(key) : AreaCentre();
    }
    std::vector<POINT> Line(int area, int key, int direction) const {
        static constexpr gw::Point kStep[8] = {{12, 0},  {9, -9}, {0, -12}, {-9, -9},
                                               {-12, 0}, {-9, 9}, {0, 12},  {9, 9}};
        const gw::Point c = Centre(area, key);
        std::vector<POINT> points;
        for (int i = 0; i <= 5; ++i)
            points.push_back(
                At(area, {c.x + kStep[direction].x * i, c.y + kStep[direction].y * i}));
        return points;
    }

    HWND client_;
    gw::KeyGeometry geometry_;
};

} // namespace e2e
