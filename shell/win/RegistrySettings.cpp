#include "shell/win/RegistrySettings.h"

#include "framework/win/WideString.h"

#include <algorithm>
#include <span>
#include <vector>

namespace {

// Queries a value into a zeroed buffer of bufferBytes bytes. The data size is kept within the
// buffer, so a reader never looks past what was handed to the query.
LSTATUS QueryInto(HKEY key, const wchar_t* name, std::vector<BYTE>& buffer, DWORD& type,
                  DWORD& size) {
    // A query with no buffer at all would only report the size, so an empty buffer is still
    // handed over as a real (one-byte) one.
    const DWORD bufferBytes = static_cast<DWORD>(buffer.size());
    if (buffer.empty())
        buffer.push_back(0);
    size = bufferBytes;
    const LSTATUS status = ::RegQueryValueExW(key, name, nullptr, &type, buffer.data(), &size);
    buffer.resize(bufferBytes);
    if (status == ERROR_SUCCESS)
        size = std::min(size, bufferBytes);
    return status;
}

} // namespace

bool OpenSettingsKey(HKEY& key) {
    HKEY software = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE", 0, KEY_ALL_ACCESS, &software) !=
        ERROR_SUCCESS)
        return false;
    UniqueRegistryKey softwareKey(software);
    HKEY vantorel = nullptr;
    if (::RegCreateKeyExW(softwareKey.Get(), L"Vantorel", 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_ALL_ACCESS, nullptr, &vantorel, nullptr) != ERROR_SUCCESS)
        return false;
    UniqueRegistryKey vantorelKey(vantorel);
    HKEY glyphwell = nullptr;
    if (::RegCreateKeyExW(vantorelKey.Get(), L"Glyphwell", 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_ALL_ACCESS, nullptr, &glyphwell, nullptr) != ERROR_SUCCESS)
        return false;
    key = glyphwell;
    return true;
}

bool ReadDwordValue(const wchar_t* name, DWORD& value) {
    HKEY opened = nullptr;
    if (!OpenSettingsKey(opened))
        return false;
    UniqueRegistryKey key(opened);
    std::vector<BYTE> buffer(sizeof(DWORD), 0);
    DWORD type = 0, size = 0;
    if (QueryInto(key.Get(), name, buffer, type, size) != ERROR_SUCCESS || type != REG_DWORD ||
        size != sizeof(DWORD))
        return false;
    value = static_cast<DWORD>(buffer[0] | buffer[1] << 8 | buffer[2] << 16) |
            static_cast<DWORD>(buffer[3]) << 24;
    return true;
}

bool ReadStringValue(const wchar_t* name, std::u16string& text, DWORD bufferBytes) {
    HKEY opened = nullptr;
    if (!OpenSettingsKey(opened))
        return false;
    UniqueRegistryKey key(opened);
    std::vector<BYTE> buffer(bufferBytes, 0);
    DWORD type = 0, size = 0;
    if (QueryInto(key.Get(), name, buffer, type, size) != ERROR_SUCCESS || type != REG_SZ)
        return false;
    return gw::DecodeStringValue(std::span<const BYTE>(buffer.data(), size), bufferBytes, text);
}

bool WriteDwordValue(const wchar_t* name, DWORD value) {
    HKEY opened = nullptr;
    if (!OpenSettingsKey(opened))
        return false;
    UniqueRegistryKey key(opened);
    return ::RegSetValueExW(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                            sizeof(value)) == ERROR_SUCCESS;
}

bool WriteStringValue(const wchar_t* name, std::u16string_view text) {
    if (text.size() >= MAXDWORD / 2)
        return false;
    HKEY opened = nullptr;
    if (!OpenSettingsKey(opened))
        return false;
    UniqueRegistryKey key(opened);
    const std::wstring wide = ToWide(text);
    const auto bytes = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                            bytes) == ERROR_SUCCESS;
}

bool RegistrySettingsStore::ReadDword(std::u16string_view name, std::uint32_t& value) {
    DWORD read = 0;
    if (!ReadDwordValue(ToWide(name).c_str(), read))
        return false;
    value = read;
    return true;
}

bool RegistrySettingsStore::ReadString(std::u16string_view name, std::u16string& text,
                                       std::size_t bufferBytes) {
    if (bufferBytes > MAXDWORD)
        return false;
    return ReadStringValue(ToWide(name).c_str(), text, static_cast<DWORD>(bufferBytes));
}

bool RegistrySettingsStore::WriteDword(std::u16string_view name, std::uint32_t value) {
    return WriteDwordValue(ToWide(name).c_str(), value);
}

bool RegistrySettingsStore::WriteString(std::u16string_view name, std::u16string_view text) {
    return WriteStringValue(ToWide(name).c_str(), text);
}

bool RegistryShellFolders::QueryAppData(std::u16string_view keyPath, std::size_t bufferBytes,
                                        std::u16string& text, std::size_t& reportedBytes) {
    if (bufferBytes > MAXDWORD)
        return false;
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, ToWide(keyPath).c_str(), 0, KEY_READ, &opened) !=
        ERROR_SUCCESS)
        return false;
    UniqueRegistryKey key(opened);
    std::vector<BYTE> buffer(bufferBytes, 0);
    DWORD type = 0, size = 0;
    const LSTATUS status = QueryInto(key.Get(), L"AppData", buffer, type, size);
    if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA)
        reportedBytes = size;
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    return gw::DecodeStringValue(std::span<const BYTE>(buffer.data(), size), bufferBytes, text);
}

bool WinFileSystem::DirectoryExists(const std::u16string& path) {
    const DWORD attributes = ::GetFileAttributesW(ToWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WinFileSystem::MakeDirectory(const std::u16string& path) {
    return ::CreateDirectoryW(ToWide(path).c_str(), nullptr) != FALSE;
}

std::u16string GetAppDataFolder() {
    RegistryShellFolders shellFolders;
    return gw::GetAppDataFolder(shellFolders);
}

std::u16string EnsureUserDataFolder() {
    WinFileSystem fileSystem;
    return gw::EnsureUserDataFolder(GetAppDataFolder(), fileSystem);
}
