#include "languages/Languages.h"

#include <algorithm>

namespace gw {

namespace {

char16_t FoldCase(char16_t c) {
    const bool upperLatin = (c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
    if (upperLatin)
        return static_cast<char16_t>(c + 0x20);
    const bool upperGreekOrCyrillic = (c >= 0x391 && c <= 0x3A9) || (c >= 0x410 && c <= 0x42F);
    return upperGreekOrCyrillic ? static_cast<char16_t>(c + 0x20) : c;
}

} // namespace

bool LessIgnoringCase(const std::u16string& a, const std::u16string& b) {
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(),
        [](char16_t x, char16_t y) { return FoldCase(x) < FoldCase(y); });
}

void Languages::ScanLanguages(const std::u16string& languagesFolder) {
    folder_ = languagesFolder;
    list_.assign(1, kBuiltInLanguage);
    std::vector<std::u16string> found = port_.SubFolders(languagesFolder);
    std::sort(found.begin(), found.end(), LessIgnoringCase);
    list_.insert(list_.end(), found.begin(), found.end());
}

std::u16string Languages::LanguageForCommand(unsigned command) const {
    if (command == kLanguageEnglishCommand)
        return kBuiltInLanguage;
    if (command >= kLanguageFirstCommand && command < kLanguageFirstCommand + kLanguageCommandCount)
        return GetLanguageAt(command - kLanguageEnglishCommand);
    return {};
}

void Languages::SetLanguage(const std::u16string& name) {
    current_ = name;
    layout_.ResetToBuiltIn();
    const auto builtIn = BuiltInCombineList();
    combines_.assign(builtIn.begin(), builtIn.end());
    port_.RemoveLanguageAboutItem();
    port_.ClearLanguageLink();
    if (name != kBuiltInLanguage) {
        port_.RemoveProgramAboutItem();
        const bool loaded = LoadFile(name);
        port_.AppendProgramAboutItem();
        if (!loaded) {
            SetLanguage(kBuiltInLanguage);
            return;
        }
    }
    // The pictures are drawn from the layout, so they follow it once it is complete.
    port_.ReloadPictures();
}

// Reads the language's file into the active tables; false, with the messages shown, when it
// cannot be read.
bool Languages::LoadFile(const std::u16string& name) {
    KeyboardXmlHandler handler(layout_, combines_, port_, name);
    const std::u16string path = folder_ + u"\\" + name + u"\\Keyboard.xml";
    const LanguagePort::ReadResult result = path.size() > kMaxLanguageFilePath
                                                ? LanguagePort::ReadResult::kFailed
                                                : port_.ReadKeyboardFile(path, handler);
    if (result == LanguagePort::ReadResult::kRead)
        return true;
    port_.ShowMessage(result == LanguagePort::ReadResult::kNoReader
                          ? NoXmlReaderText()
                          : LanguageLoadFailedText(handler),
                      u"Error");
    return false;
}

} // namespace gw
