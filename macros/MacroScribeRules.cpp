#include "macros/MacroScribeRules.h"

#include <algorithm>

namespace gw {

namespace {

bool SameKey(std::u16string_view a, std::u16string_view b) {
    const MacroKeyLess less;
    return !less(a, b) && !less(b, a);
}

} // namespace

bool ShowsMacroBadge(std::u16string_view key) {
    return key.size() == 1 && kDragCharacters.find(key[0]) != std::u16string_view::npos;
}

std::u16string ListedContent(std::u16string_view content) {
    std::u16string listed;
    listed.reserve(content.size());
    for (char16_t ch : content) {
        if (ch == u'\r')
            listed += u"<CR>";
        else if (ch == u'\t')
            listed += u"<TAB>";
        else
            listed += ch;
    }
    return listed;
}

std::u16string ContentToEditText(std::u16string_view content) {
    std::u16string text;
    text.reserve(content.size());
    for (char16_t ch : content) {
        text += ch;
        if (ch == u'\r')
            text += u'\n';
    }
    return text;
}

std::u16string ContentFromEditText(std::u16string_view text) {
    std::u16string content;
    content.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        content += text[i];
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
    }
    return content;
}

MacroFieldsCheck CheckMacroFields(std::u16string_view key, std::u16string_view content) {
    MacroFieldsCheck check;
    check.keyHasWhiteSpace = std::any_of(key.begin(), key.end(), IsMacroWhiteSpace);
    check.acceptable = !key.empty() && !content.empty() && !check.keyHasWhiteSpace;
    return check;
}

std::u16string ReplaceMacroQuestion(std::u16string_view key) {
    return u"The macro (" + std::u16string(key) + u") already exists.\nDo you want to replace it?";
}

std::u16string MacroScribeTitle(std::u16string_view currentMacroFile) {
    std::u16string title = u"Macro Scribe";
    if (!currentMacroFile.empty())
        title += u" - " + std::u16string(currentMacroFile);
    return title;
}

bool ReplacesOtherMacro(const MacroMap& macros, std::u16string_view editedKey,
                        std::u16string_view key) {
    const auto found = macros.find(key);
    return found != macros.end() && (editedKey.empty() || !SameKey(found->first, editedKey));
}

void StoreNewMacro(MacroMap& macros, std::u16string_view key, std::u16string_view content) {
    if (const auto found = macros.find(key); found != macros.end())
        macros.erase(found);
    macros.emplace(std::u16string(key), std::u16string(content));
}

bool StoreEditedMacro(MacroMap& macros, std::u16string_view editedKey, std::u16string_view key,
                      std::u16string_view content) {
    const auto edited = macros.find(editedKey);
    const bool changed =
        edited == macros.end() || edited->first != key || edited->second != content;
    if (edited != macros.end())
        macros.erase(edited);
    StoreNewMacro(macros, key, content);
    return changed;
}

void RemoveMacros(MacroMap& macros, const std::vector<std::u16string>& keys) {
    for (const std::u16string& key : keys)
        macros.erase(key);
}

void TakeMacros(MacroMap& macros, const MacroMap& source) {
    for (const auto& [key, content] : source)
        StoreMacro(macros, key, content);
}

} // namespace gw
