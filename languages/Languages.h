#pragma once
// The keyboard's languages: "English" is built in; every other language is a folder under the
// "Languages" folder holding a Keyboard.xml. This finds the installed ones and switches the
// active layout and combine list between them.
#include "keyboard/CombineList.h"
#include "keyboard/KeyboardModel.h"
#include "languages/KeyboardXmlHandler.h"

#include <string>
#include <vector>

namespace gw {

inline constexpr char16_t kBuiltInLanguage[] = u"English";
// Menu commands of the languages.
inline constexpr unsigned kLanguageEnglishCommand = 32830;
inline constexpr unsigned kLanguageFirstCommand = 32831; // language 1; up to ten of them
inline constexpr unsigned kLanguageCommandCount = 10;
inline constexpr unsigned kMoreLanguagesCommand = 32841;
inline constexpr unsigned kAboutLanguageCommand = 32844;
inline constexpr unsigned kAboutProgramCommand = 57664;
// The longest full path of a language file.
inline constexpr std::size_t kMaxLanguageFilePath = 259;

// Where the languages live and how a file is read.
class LanguagePort : public KeyboardXmlHost {
public:
    // The names of the folders directly inside a folder (not "." or ".."), in any order.
    virtual std::vector<std::u16string> SubFolders(const std::u16string& folder) = 0;

    enum class ReadResult { kRead, kFailed, kNoReader };
    // Parses the file at the full path with the handler (whose document starts only if the file
    // could be opened).
    virtual ReadResult ReadKeyboardFile(const std::u16string& path,
                                        KeyboardXmlHandler& handler) = 0;

    // The Help menu: the language's "About" item goes, the program's "About" item goes or
    // comes back as the last item.
    virtual void RemoveLanguageAboutItem() = 0;
    virtual void RemoveProgramAboutItem() = 0;
    virtual void AppendProgramAboutItem() = 0;
    // The language link of the "About" item is forgotten.
    virtual void ClearLanguageLink() = 0;
    // The keyboard pictures show the active layout again.
    virtual void ReloadPictures() = 0;
};

class Languages {
public:
    Languages(KeyboardLayout& layout, CombineList& combines, LanguagePort& port)
        : layout_(layout), combines_(combines), port_(port) {}

    // Lists "English", then the folders of the languages folder sorted without regard to case.
    void ScanLanguages(const std::u16string& languagesFolder);
    // Makes the language current and loads it: the built-in layout and combine list, then the
    // language's file. A file that cannot be read is reported and "English" is used instead.
    void SetLanguage(const std::u16string& name);

    const std::u16string& GetLanguage() const { return current_; }
    const std::vector<std::u16string>& List() const { return list_; }
    // Element i of the list; empty when there is none.
    std::u16string GetLanguageAt(std::size_t i) const {
        return i < list_.size() ? list_[i] : std::u16string();
    }
    const std::u16string& Folder() const { return folder_; }

    // The language a menu command chooses, or empty.
    std::u16string LanguageForCommand(unsigned command) const;

private:
    bool LoadFile(const std::u16string& name);

    KeyboardLayout& layout_;
    CombineList& combines_;
    LanguagePort& port_;
    std::u16string current_ = kBuiltInLanguage;
    std::vector<std::u16string> list_{kBuiltInLanguage};
    std::u16string folder_;
};

// Less, comparing letters without regard to case (Latin letters, accented ones included).
bool LessIgnoringCase(const std::u16string& a, const std::u16string& b);

} // namespace gw
