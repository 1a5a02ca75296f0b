#include "macros/win/MacroStore.h"

#include "framework/win/Handles.h"
#include "framework/win/WideString.h"
#include "shell/win/RegistrySettings.h"

#include <new>

namespace {

std::u16string DecodeAnsi(std::string_view bytes) {
    if (bytes.empty())
        return {};
    const int size = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(std::max(length, 0)), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, text.data(), length);
    return FromWide(text);
}

bool ReadWholeFile(const std::wstring& path, std::vector<std::uint8_t>& bytes) {
    const UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.Get(), &size) || size.QuadPart > MAXDWORD)
        return false;
    try {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        return false;
    }
    DWORD read = 0;
    return bytes.empty() || (::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                        &read, nullptr) &&
                             read == bytes.size());
}

bool WriteAll(HANDLE file, const std::vector<std::uint8_t>& bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1 << 20));
        DWORD done = 0;
        if (!::WriteFile(file, bytes.data() + written, chunk, &done, nullptr) || done == 0)
            return false;
        written += done;
    }
    return ::FlushFileBuffers(file) != FALSE;
}

std::wstring SystemErrorText(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length ? std::wstring(buffer, length) : L"Error " + std::to_wstring(error);
    ::LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r'))
        text.pop_back();
    return text;
}

} // namespace

DWORD ReplaceFileContents(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return ERROR_ACCESS_DENIED;
    const std::wstring temporary = path + L".saving";
    {
        const UniqueHandle file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            return ::GetLastError();
        if (!WriteAll(file.Get(), bytes)) {
            const DWORD error = ::GetLastError();
            ::DeleteFileW(temporary.c_str());
            return error;
        }
    }
    if (!::MoveFileExW(temporary.c_str(), path.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = ::GetLastError();
        ::DeleteFileW(temporary.c_str());
        return error;
    }
    return ERROR_SUCCESS;
}

std::wstring CMacroStore::CurrentMacroFile() const {
    if (!settings_.currentMacroFilename.empty())
        return ToWide(settings_.currentMacroFilename);
    return ToWide(GetAppDataFolder()) + L"\\Vantorel\\Glyphwell\\macros.dat";
}

bool CMacroStore::LoadMacros() {
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(CurrentMacroFile(), bytes))
        return false;
    MergeMacroFile(bytes, DecodeAnsi);
    return true;
}

bool CMacroStore::SaveMacros(HWND owner) {
    // Only the default file's folders are made; a chosen file is written where it is.
    if (settings_.currentMacroFilename.empty())
        EnsureUserDataFolder();
    const std::wstring path = CurrentMacroFile();
    const DWORD error = ReplaceFileContents(path, MacroFileBytes());
    if (error == ERROR_SUCCESS)
        return true;
    const std::wstring text = L"The macros could not be saved to\n" + path + L"\n\n" +
                              SystemErrorText(error) + L"\n\nThe file keeps what it held before.";
    ::MessageBoxW(owner, text.c_str(), L"Macro Scribe", MB_OK | MB_ICONERROR);
    return false;
}
