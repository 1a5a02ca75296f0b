#include "languages/KeyboardXmlHandler.h"

#include "util/DecimalText.h"

#include <algorithm>
#include <array>
#include <utility>

namespace gw {

namespace {

constexpr char16_t kEnglish[] = u"English";

// White space as the C library's iswspace sees it in the characters a file can hold.
bool IsSpace(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r') || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}

std::u16string Trimmed(std::u16string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsSpace(text[begin]))
        ++begin;
    while (end > begin && IsSpace(text[end - 1]))
        --end;
    return std::u16string(text.substr(begin, end - begin));
}

bool IsUpperCaseLetter(char16_t c) {
    return (c >= 0x41 && c <= 0x5A) || (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xDE);
}

constexpr std::array<std::u16string_view, 9> kDirectionNames = {u"E",  u"NE", u"N",  u"NW",    u"W",
                                                                u"SW", u"S",  u"SE", u"Center"};

// The reason a combine rule is refused, or nothing when it is valid.
std::u16string_view CombineRecordFault(const CombineElement& r) {
    if (r.FirstChar == 0)
        return u"Combine element missing first character.";
    if (r.ResultChar == 0)
        return u"Combine element missing result character.";
    if (r.SecondChar == 0 && (!r.RotFlag || r.AutoCombineFlag))
        return u"Combine element missing second character.";
    if (r.SecondChar == 0 || r.CaseMatters)
        return {};
    if (IsUpperCaseLetter(r.FirstChar) || IsUpperCaseLetter(r.SecondChar))
        return u"Upper case is not allowed as the first or second character\n"
               u"unless the CaseMatters flag is set.";
    return {};
}

} // namespace

KeyboardXmlHandler::KeyboardXmlHandler(KeyboardLayout& layout, CombineList& combines,
                                       KeyboardXmlHost& host, std::u16string languageName)
    : layout_(layout), combines_(combines), host_(host), languageName_(std::move(languageName)) {}

void KeyboardXmlHandler::StartDocument() {
    inKeyboard_ = false;
    side_ = row_ = column_ = direction_ = kind_ = -1;
    inLanguageName_ = inCombineList_ = inCombineElement_ = false;
    inFirstChar_ = inSecondChar_ = inResultChar_ = false;
    inRotFlag_ = inCaseMatters_ = inAutoCombineFlag_ = inAboutLanguageLink_ = false;
    record_ = CombineElement{};
    elements_.clear();
    errorText_.clear();
    text_.clear();
    line_ = 2; // the root element stands after the XML declaration
}

std::u16string KeyboardXmlHandler::TopElement() const {
    return elements_.empty() ? std::u16string() : elements_.back();
}

bool KeyboardXmlHandler::Characters(std::u16string_view text) {
    text_ += text;
    return true;
}

// Character data is taken whole once the element it belongs to ends or another one starts.
bool KeyboardXmlHandler::TakeText() {
    if (text_.empty())
        return true;
    const std::u16string text = std::exchange(text_, {});
    line_ += static_cast<int>(std::count(text.begin(), text.end(), u'\n'));
    if (inLanguageName_)
        return true;
    if (inCombineList_)
        return TakeCombineText(text);
    if (inAboutLanguageLink_) {
        const std::u16string link = Trimmed(text);
        if (!link.empty())
            host_.AddLanguageAboutItem(u"About " + languageName_ + u" Glyphwell", link);
        return true;
    }
    if (inKeyboard_ && side_ >= 0 && row_ >= 0 && column_ >= 0 && direction_ >= 0 && kind_ >= 0)
        return TakeSlotText(text);
    return ReportStrayText(text);
}

bool KeyboardXmlHandler::TakeCombineText(const std::u16string& text) {
    if (!inFirstChar_ && !inSecondChar_ && !inResultChar_)
        return true; // white space between a rule's elements
    if (text.size() != 1)
        return ReportTooLong(text, false);
    if (inFirstChar_)
        record_.FirstChar = text[0];
    else if (inSecondChar_)
        record_.SecondChar = text[0];
    else
        record_.ResultChar = text[0];
    return true;
}

bool KeyboardXmlHandler::TakeSlotText(const std::u16string& text) {
    CharacterSlot* slot = nullptr;
    const CharacterSlot* builtIn = nullptr;
    if (row_ <= 2) {
        const int index = SlotIndex(side_, 3 * row_ + column_ + 1, direction_, kind_);
        slot = &layout_.slots[index];
        builtIn = &BuiltInSlots()[index];
    } else if (column_ == 1) {
        const int index = BottomSlotIndex(direction_, kind_);
        slot = &layout_.bottom[index];
        builtIn = &BuiltInBottomSlots()[index];
    } else {
        return true; // the bottom row has only its middle key
    }
    if (!builtIn->definable)
        return true;
    if (text.size() != 1)
        return ReportTooLong(text, row_ == 3);
    slot->vk = 1;
    slot->ch = text[0];
    slot->ctrl = 0;
    if (row_ <= 2)
        slot->letterPair = 0;
    return true;
}

bool KeyboardXmlHandler::ReportTooLong(const std::u16string& text, bool bottomKey) {
    host_.ShowMessage(u"Error reading data: Data too long\n" +
                          std::u16string(bottomKey ? u"\tLine " : u"Line ") + DecimalText(line_) +
                          u" following <" + TopElement() + u">\n\t" + text,
                      u"Error");
    return false;
}

bool KeyboardXmlHandler::ReportStrayText(const std::u16string& text) {
    if (std::all_of(text.begin(), text.end(), IsSpace))
        return true;
    host_.ShowMessage(PathDiagnostic(), u"Debug");
    return false;
}

// Where in the file the text stood, as far as the path of groups is set.
std::u16string KeyboardXmlHandler::PathDiagnostic() const {
    std::u16string path = u"Error reading keyboard file\n";
    if (!inKeyboard_)
        return path;
    path += u"Keyboard";
    if (side_ < 0)
        return path;
    path += side_ == 0 ? u"\n LetterSide" : u"\n NumberSide";
    if (row_ < 0)
        return path;
    if (row_ <= 2)
        path += u"\n  Row" + DecimalText(row_ + 1);
    if (column_ < 0)
        return path;
    path += u"\n   Col" + DecimalText(column_ + 1);
    if (direction_ < 0)
        return path;
    path += u"\n   " + std::u16string(kDirectionNames[static_cast<std::size_t>(direction_)]);
    if (kind_ < 0)
        return path;
    if (direction_ == kCenter)
        path += kind_ == 0 ? u"\n    Tap" : u"\n    Circle";
    else
        path += kind_ == 0 ? u"\n    Drag" : u"\n    DragReturn";
    return path;
}

// The member of one of the groups (side, row, column, direction, stroke) that a name stands
// for, or false when it is none of them. value -1 closes the group.
bool KeyboardXmlHandler::SetGroupMember(std::u16string_view name, int value) {
    const bool open = value >= 0;
    if (name == u"LetterSide" || name == u"NumberSide") {
        side_ = open ? (name == u"NumberSide" ? 1 : 0) : -1;
        return true;
    }
    static constexpr std::array<std::u16string_view, 4> kRows = {u"Row1", u"Row2", u"Row3",
                                                                 u"Row4"};
    static constexpr std::array<std::u16string_view, 3> kColumns = {u"Col1", u"Col2", u"Col3"};
    for (std::size_t i = 0; i < kRows.size(); ++i)
        if (name == kRows[i]) {
            row_ = open ? static_cast<int>(i) : -1;
            return true;
        }
    for (std::size_t i = 0; i < kColumns.size(); ++i)
        if (name == kColumns[i]) {
            column_ = open ? static_cast<int>(i) : -1;
            return true;
        }
    for (std::size_t i = 0; i < kDirectionNames.size(); ++i)
        if (name == kDirectionNames[i]) {
            direction_ = open ? static_cast<int>(i) : -1;
            return true;
        }
    if (name == u"Drag" || name == u"Tap" || name == u"DragReturn" || name == u"Circle") {
        kind_ = open ? (name == u"DragReturn" || name == u"Circle" ? 1 : 0) : -1;
        return true;
    }
    return false;
}

bool KeyboardXmlHandler::StartElement(std::u16string_view name) {
    if (!TakeText())
        return false;
    if (name.size() > kMaxElementNameLength)
        return false;
    elements_.emplace_back(name);
    if (name == u"Keyboard") {
        inKeyboard_ = true;
        return true;
    }
    if (!inKeyboard_)
        return false;
    if (SetGroupMember(name, 0))
        return true;
    if (name == u"LanguageName") {
        inLanguageName_ = true;
    } else if (name == u"CombineList") {
        inCombineList_ = true;
        inCombineElement_ = inFirstChar_ = inSecondChar_ = inResultChar_ = false;
        inRotFlag_ = inCaseMatters_ = inAutoCombineFlag_ = false;
    } else if (name == u"CombineElement") {
        inCombineElement_ = true;
        record_ = CombineElement{};
    } else if (name == u"AboutLanguageLink") {
        inAboutLanguageLink_ = true;
    } else {
        std::pair<std::u16string_view, bool*> ruleParts[] = {
            {u"FirstChar", &inFirstChar_},     {u"SecondChar", &inSecondChar_},
            {u"ResultChar", &inResultChar_},   {u"RotFlag", &inRotFlag_},
            {u"CaseMatters", &inCaseMatters_}, {u"AutoCombineFlag", &inAutoCombineFlag_}};
        for (auto& [part, flag] : ruleParts)
            if (name == part) {
                if (!inCombineElement_)
                    return false;
                *flag = true;
            }
    }
    return true; // LetterPair and unknown names need nothing here
}

bool KeyboardXmlHandler::EndElement(std::u16string_view name) {
    if (!TakeText())
        return false;
    const std::u16string popped = elements_.empty() ? std::u16string() : elements_.back();
    if (!elements_.empty())
        elements_.pop_back();
    if (popped != name)
        host_.ShowMessage(u"Mismatched tag pair\n<" + popped + u"></" + std::u16string(name) + u">",
                          u"ERROR");
    if (name == u"Keyboard") {
        inKeyboard_ = false;
    } else if (SetGroupMember(name, -1)) {
    } else if (name == u"LetterPair") {
        MarkLetterPair();
    } else if (name == u"LanguageName") {
        inLanguageName_ = false;
    } else if (name == u"CombineList") {
        inCombineList_ = false;
    } else if (name == u"AboutLanguageLink") {
        inAboutLanguageLink_ = false;
    } else if (name == u"FirstChar" || name == u"SecondChar" || name == u"ResultChar") {
        bool& in = name == u"FirstChar"    ? inFirstChar_
                   : name == u"SecondChar" ? inSecondChar_
                                           : inResultChar_;
        const char16_t got = name == u"FirstChar"    ? record_.FirstChar
                             : name == u"SecondChar" ? record_.SecondChar
                                                     : record_.ResultChar;
        if (got == 0) { // an empty element: the message names it
            elements_.emplace_back(name);
            return false;
        }
        in = false;
    } else if (name == u"RotFlag") {
        record_.RotFlag = 1;
        inRotFlag_ = false;
    } else if (name == u"CaseMatters") {
        record_.CaseMatters = 1;
        inCaseMatters_ = false;
    } else if (name == u"AutoCombineFlag") {
        record_.AutoCombineFlag = 1;
        inAutoCombineFlag_ = false;
    } else if (name == u"CombineElement") {
        return EndCombineElement();
    }
    return true;
}

void KeyboardXmlHandler::MarkLetterPair() {
    if (side_ < 0 || row_ < 0 || row_ > 2 || column_ < 0 || direction_ < 0)
        return;
    layout_.slots[SlotIndex(side_, 3 * row_ + column_ + 1, direction_, 0)].letterPair = 1;
}

bool KeyboardXmlHandler::EndCombineElement() {
    inCombineElement_ = false;
    const std::u16string_view fault = CombineRecordFault(record_);
    if (!fault.empty()) {
        errorText_ = u"Error reading Keyboard.xml file\n\nLine " + DecimalText(line_) + u":\n" +
                     std::u16string(fault);
        return false;
    }
    auto same = std::find_if(combines_.begin(), combines_.end(), [&](const CombineElement& e) {
        return e.FirstChar == record_.FirstChar && e.SecondChar == record_.SecondChar;
    });
    if (same != combines_.end())
        *same = record_;
    else
        combines_.push_back(record_);
    return true;
}

std::u16string LanguageLoadFailedText(const KeyboardXmlHandler& handler) {
    std::u16string text = handler.ErrorText();
    if (text.empty()) {
        if (handler.Line() == 0)
            text = u"Error reading Keyboard.xml file\n\nFile does not exist or error at beginning "
                   u"of file.";
        else
            text = u"Error reading Keyboard.xml file\n\nLine " + DecimalText(handler.Line()) +
                   u": Following <" + handler.TopElement() + u">";
    }
    return text +
           u"\n\nTherefore, since the keyboard file could not be read correctly,\nthe language "
           u"will be set back to the default, " +
           kEnglish + u".";
}

std::u16string NoXmlReaderText() {
    return std::u16string(u"Unable to load XML reader. Languages will not work on this "
                          u"computer.\nThe language will be reset to the defualt - ") +
           kEnglish + u".";
}

} // namespace gw
