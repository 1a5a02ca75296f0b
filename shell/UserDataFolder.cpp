#include "shell/UserDataFolder.h"

#include <algorithm>

namespace gw {
namespace {

bool IsSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f';
}

std::u16string Trim(std::u16string_view text) {
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return std::u16string(text);
}

} // namespace

std::u16string GetAppDataFolder(ShellFoldersPort& shellFolders) {
    std::u16string folder;
    std::size_t reported = 0;
    if (shellFolders.QueryAppData(kShellFoldersNtKey, kAppDataBufferBytes, folder, reported))
        return Trim(folder);
    // The second query may use the size the first one asked for, but never a smaller buffer
    // than the first.
    const std::size_t bytes = std::max(reported, kAppDataBufferBytes);
    folder.clear();
    if (shellFolders.QueryAppData(kShellFoldersKey, bytes, folder, reported))
        return Trim(folder);
    return {};
}

std::u16string UserDataFolderPath(std::u16string_view appData) {
    return std::u16string(appData) + u"\\Vantorel\\Glyphwell";
}

std::u16string EnsureUserDataFolder(std::u16string_view appData, FileSystemPort& fileSystem) {
    const std::u16string vantorel = std::u16string(appData) + u"\\Vantorel";
    const std::u16string glyphwell = vantorel + u"\\Glyphwell";
    for (const std::u16string* folder : {&vantorel, &glyphwell}) {
        if (!fileSystem.DirectoryExists(*folder))
            fileSystem.MakeDirectory(*folder);
    }
    return glyphwell;
}

} // namespace gw
