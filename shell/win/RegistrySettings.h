#pragma once
// The settings key HKEY_CURRENT_USER\SOFTWARE\Vantorel\Glyphwell, and the Windows side of the
// per-user data folder. Each access function opens the key for its one operation and closes
// every key it opened before it returns; each returns true on success.
#include <windows.h>

#include "framework/win/Handles.h"
#include "shell/Settings.h"
#include "shell/UserDataFolder.h"

#include <string>
#include <string_view>

struct RegistryKeyCloser {
    static HKEY Invalid() { return nullptr; }
    static void Close(HKEY key) { ::RegCloseKey(key); }
};
using UniqueRegistryKey = ScopedHandle<HKEY, RegistryKeyCloser>;

// Opens "SOFTWARE" (never creating it), then creates or opens "Vantorel" and "Glyphwell", all
// with full access. The caller closes the returned key.
bool OpenSettingsKey(HKEY& key);
// True only for a REG_DWORD of exactly 4 bytes; value is left alone otherwise.
bool ReadDwordValue(const wchar_t* name, DWORD& value);
// True only for a REG_SZ that fits a buffer of bufferBytes bytes (see gw::DecodeStringValue);
// text is left alone otherwise.
bool ReadStringValue(const wchar_t* name, std::u16string& text, DWORD bufferBytes);
bool WriteDwordValue(const wchar_t* name, DWORD value);
// A REG_SZ of (length + 1) * 2 bytes.
bool WriteStringValue(const wchar_t* name, std::u16string_view text);

// The settings store of the program: the functions above.
class RegistrySettingsStore : public gw::SettingsStore {
public:
    bool ReadDword(std::u16string_view name, std::uint32_t& value) override;
    bool ReadString(std::u16string_view name, std::u16string& text,
                    std::size_t bufferBytes) override;
    bool WriteDword(std::u16string_view name, std::uint32_t value) override;
    bool WriteString(std::u16string_view name, std::u16string_view text) override;
};

// The Shell Folders keys of the current user, read-only.
class RegistryShellFolders : public gw::ShellFoldersPort {
public:
    bool QueryAppData(std::u16string_view keyPath, std::size_t bufferBytes, std::u16string& text,
                      std::size_t& reportedBytes) override;
};

// Folder tests and creation by full path; the working directory is never touched.
class WinFileSystem : public gw::FileSystemPort {
public:
    bool DirectoryExists(const std::u16string& path) override;
    bool MakeDirectory(const std::u16string& path) override;
};

// The user's application data folder; empty when it cannot be found.
std::u16string GetAppDataFolder();
// <AppData>\Vantorel\Glyphwell, created where missing.
std::u16string EnsureUserDataFolder();
