#pragma once
// The per-user data folder <AppData>\Vantorel\Glyphwell that holds the macro store. The user's
// application data folder is read from the shell's folder list in the registry; both reaching
// that list and creating folders go through small ports, so the rules are tested anywhere.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace gw {

// The "AppData" value of a Shell Folders key under the current user's hive.
class ShellFoldersPort {
public:
    virtual ~ShellFoldersPort() = default;
    // Opens HKCU\<keyPath> read-only, queries "AppData" into a zeroed buffer of bufferBytes
    // bytes and closes the key. reportedBytes is set to the data size the query reported, or
    // left alone when it reported none. False when the key or the value cannot be read.
    virtual bool QueryAppData(std::u16string_view keyPath, std::size_t bufferBytes,
                              std::u16string& text, std::size_t& reportedBytes) = 0;
};

class FileSystemPort {
public:
    virtual ~FileSystemPort() = default;
    // Neither may change the process's working directory. (Not named CreateDirectory: the
    // Win32 headers turn that name into a macro.)
    virtual bool DirectoryExists(const std::u16string& path) = 0;
    virtual bool MakeDirectory(const std::u16string& path) = 0;
};

constexpr std::u16string_view kShellFoldersNtKey =
    u"Software\\Microsoft\\Windows NT\\CurrentVersion\\Explorer\\Shell Folders";
constexpr std::u16string_view kShellFoldersKey =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr std::size_t kAppDataBufferBytes = 768;

// The user's application data folder, trimmed of white space; empty when neither key has it.
std::u16string GetAppDataFolder(ShellFoldersPort& shellFolders);

// appData + "\Vantorel\Glyphwell", appended as written (an empty appData gives a path from the
// root of the current drive).
std::u16string UserDataFolderPath(std::u16string_view appData);

// Creates "\Vantorel" and then "\Glyphwell" below appData where missing and returns the path.
// A folder that cannot be created is not reported: the later file access fails and says so.
std::u16string EnsureUserDataFolder(std::u16string_view appData, FileSystemPort& fileSystem);

} // namespace gw
