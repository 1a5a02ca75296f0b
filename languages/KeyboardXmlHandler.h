#pragma once
// What a language's Keyboard.xml does to the keyboard: the handler of the XML reader's
// callbacks. It redefines the characters of definable slots of the active layout, marks letter
// pairs, adds or replaces combine rules, and reports what is wrong with a file in the keyboard's
// own messages. The XML parser itself is the platform's; this class sees only its callbacks
// (element starts and ends by name, character data with entities resolved), so any SAX-style
// parser can drive it.
#include "keyboard/CombineList.h"
#include "keyboard/KeyboardModel.h"

#include <string>
#include <string_view>
#include <vector>

namespace gw {

// What a file asks of the rest of the program besides the tables.
class KeyboardXmlHost {
public:
    virtual ~KeyboardXmlHost() = default;
    // A modal message box with an OK button only.
    virtual void ShowMessage(std::u16string_view text, std::u16string_view caption) = 0;
    // The language's "About" item of the Help menu, with the web page it opens.
    virtual void AddLanguageAboutItem(std::u16string_view itemText, std::u16string_view link) = 0;
};

inline constexpr std::size_t kMaxElementNameLength = 260;

class KeyboardXmlHandler {
public:
    KeyboardXmlHandler(KeyboardLayout& layout, CombineList& combines, KeyboardXmlHost& host,
                       std::u16string languageName);

    // The callbacks; false stops the parse (the reader's failure).
    void StartDocument();
    bool StartElement(std::u16string_view name);
    bool EndElement(std::u16string_view name);
    // Character data may come in several calls for one text (parsers split it, at entity
    // references for one): it is taken whole at the next element start or end.
    bool Characters(std::u16string_view text);

    // After a failed parse: a message prepared by the handler (combine rules), the line, and
    // the innermost open element (or the one that failed).
    const std::u16string& ErrorText() const { return errorText_; }
    int Line() const { return line_; }
    std::u16string TopElement() const;

private:
    bool TakeText();
    bool TakeCombineText(const std::u16string& text);
    bool TakeSlotText(const std::u16string& text);
    bool ReportStrayText(const std::u16string& text);
    bool ReportTooLong(const std::u16string& text, bool bottomKey);
    bool SetGroupMember(std::u16string_view name, int value);
    bool EndCombineElement();
    void MarkLetterPair();
    std::u16string PathDiagnostic() const;

    KeyboardLayout& layout_;
    CombineList& combines_;
    KeyboardXmlHost& host_;
    std::u16string languageName_;

    bool inKeyboard_ = false;
    int side_ = -1;
    int row_ = -1;
    int column_ = -1;
    int direction_ = -1;
    int kind_ = -1;
    bool inLanguageName_ = false;
    bool inCombineList_ = false;
    bool inCombineElement_ = false;
    bool inFirstChar_ = false;
    bool inSecondChar_ = false;
    bool inResultChar_ = false;
    bool inRotFlag_ = false;
    bool inCaseMatters_ = false;
    bool inAutoCombineFlag_ = false;
    bool inAboutLanguageLink_ = false;
    CombineElement record_;
    std::vector<std::u16string> elements_;
    std::u16string errorText_;
    int line_ = 0;
    std::u16string text_; // character data not yet taken
};

// The message of a failed load, shown before the keyboard goes back to "English".
std::u16string LanguageLoadFailedText(const KeyboardXmlHandler& handler);
// The message when there is no XML reader at all.
std::u16string NoXmlReaderText();

} // namespace gw
