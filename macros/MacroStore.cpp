#include "macros/MacroStore.h"

namespace gw {

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

bool IsNavigationKey(std::uint32_t virtualKey) {
    return virtualKey >= vk::kPrior && virtualKey <= vk::kDown;
}

// The modifiers a recall releases first, so that the content is not typed as shortcuts, with
// the hot key flag that holds each.
struct HeldModifier {
    std::uint8_t key;
    std::uint16_t hotKeyFlag;
};
constexpr HeldModifier kHeldModifiers[] = {{vk::kMenu, hotkey::kAlt},
                                           {vk::kControl, hotkey::kControl},
                                           {vk::kShift, hotkey::kShift},
                                           {vk::kLWin, 0},
                                           {vk::kLWin + 1, 0}};

// Line breaks and tabs go as their keys: rich-text controls ignore them as Unicode characters.
std::uint8_t KeyOfContentCharacter(char16_t ch) {
    return ch == u'\r' || ch == u'\t' ? static_cast<std::uint8_t>(ch) : 0;
}

} // namespace

void MacroStore::SetOutput(KeystrokeOutput* output, KeyStatePort* keys) {
    const Lock lock(lock_);
    output_ = output;
    keys_ = keys;
}

// --- the map ----------------------------------------------------------------------------------

MacroMap MacroStore::Macros() const {
    const Lock lock(lock_);
    return macros_;
}

void MacroStore::ReplaceMacros(MacroMap macros) {
    const Lock lock(lock_);
    macros_ = std::move(macros);
}

std::size_t MacroStore::MergeMacroFile(std::span<const std::uint8_t> file, AnsiDecoder decodeAnsi) {
    const Lock lock(lock_);
    return ReadMacroFile(file, macros_, decodeAnsi);
}

std::vector<std::uint8_t> MacroStore::MacroFileBytes() const {
    const Lock lock(lock_);
    return WriteMacroFile(macros_);
}

std::optional<std::u16string> MacroStore::FindMacro(std::u16string_view key) const {
    const Lock lock(lock_);
    const auto found = macros_.find(key);
    if (found == macros_.end())
        return std::nullopt;
    return found->second;
}

// --- matching ---------------------------------------------------------------------------------

std::u16string MacroStore::TypedBuffer() const {
    const Lock lock(lock_);
    return typedBuffer_;
}

bool MacroStore::MatchShown() const {
    const Lock lock(lock_);
    return matchShown_;
}

std::u16string MacroStore::MatchedContent() const {
    const Lock lock(lock_);
    return matchedContent_;
}

bool MacroStore::IsSending() const {
    const Lock lock(lock_);
    return sending_;
}

void MacroStore::Notify(bool matchChanged) {
    if (matchChanged)
        port_.OnMacroMatchChanged();
}

bool MacroStore::ResetMatchLocked() {
    typedBuffer_.clear();
    matchedContent_.clear();
    const bool wasShown = matchShown_;
    matchShown_ = false;
    return wasShown;
}

void MacroStore::ResetMatch() {
    bool changed = false;
    {
        const Lock lock(lock_);
        changed = ResetMatchLocked();
    }
    Notify(changed);
}

// Only the whole buffer is compared: a key matches when it was typed right after white space,
// a reset or the start, as its last character arrives.
bool MacroStore::OnTypedCharLocked(char16_t ch) {
    if (IsMacroWhiteSpace(ch)) {
        typedBuffer_.clear();
    } else if (ch == vk::kBack) {
        if (!typedBuffer_.empty())
            typedBuffer_.pop_back();
    } else {
        typedBuffer_ += ch;
        if (typedBuffer_.size() > kTypedBufferLength)
            typedBuffer_.erase(0, typedBuffer_.size() - kTypedBufferLength);
    }
    const auto found = macros_.find(typedBuffer_);
    const bool isFound = found != macros_.end();
    const bool changed =
        isFound != matchShown_ || (isFound && matchShown_ && found->second != matchedContent_);
    matchShown_ = isFound;
    matchedContent_ = isFound ? found->second : std::u16string();
    return changed;
}

void MacroStore::OnTypedChar(char16_t ch) {
    bool changed = false;
    {
        const Lock lock(lock_);
        changed = OnTypedCharLocked(ch);
    }
    Notify(changed);
}

// --- the echo of a recall ---------------------------------------------------------------------

bool MacroStore::StopSendingLocked() {
    sending_ = false;
    sendPosition_ = 0;
    return ResetMatchLocked();
}

void MacroStore::StopSending() {
    bool changed = false;
    {
        const Lock lock(lock_);
        changed = StopSendingLocked();
    }
    Notify(changed);
}

bool MacroStore::FollowEcho(std::uint32_t ch) {
    if (ch == vk::kBack)
        return false; // the Backspaces that erased the key
    if (sendPosition_ < sendingContent_.size() && ch == sendingContent_[sendPosition_]) {
        ++sendPosition_;
        if (sendPosition_ < sendingContent_.size())
            return false;
    }
    return StopSendingLocked();
}

void MacroStore::OnHookEvent(const HookEvent& event) {
    bool changed = false;
    {
        const Lock lock(lock_);
        switch (event.message) {
        case hookmsg::kSetFocus:
            changed = ResetMatchLocked();
            break;
        case hookmsg::kKeyDown:
        case hookmsg::kKeyUp:
            if (IsNavigationKey(event.wParam))
                changed = ResetMatchLocked();
            break;
        case hookmsg::kChar:
            changed = sending_ ? FollowEcho(event.wParam)
                               : OnTypedCharLocked(static_cast<char16_t>(event.wParam));
            break;
        default:
            break;
        }
    }
    Notify(changed);
}

// --- recall -----------------------------------------------------------------------------------

bool MacroStore::GetRecallContent(std::u16string& out, bool openDialog) {
    std::u16string typed;
    {
        const Lock lock(lock_);
        if (!typedBuffer_.empty() && !matchedContent_.empty()) {
            out = matchedContent_;
            return true;
        }
        typed = typedBuffer_;
    }
    if (openDialog)
        port_.OpenMacroScribe(typed.empty() ? 0 : 1, typed);
    return false;
}

bool MacroStore::RecallMacro(bool openDialog, bool erase) {
    return Recall(openDialog, erase, 0);
}

bool MacroStore::Recall(bool openDialog, bool erase, std::uint16_t heldHotKeyModifiers) {
    std::u16string content;
    if (!GetRecallContent(content, openDialog))
        return false;
    std::size_t typedLength = 0;
    {
        const Lock lock(lock_);
        typedLength = typedBuffer_.size();
        sendingContent_ = content;
        sending_ = true;
        sendPosition_ = 0;
    }
    TypeContent(content, erase ? typedLength : 0, heldHotKeyModifiers);
    return true;
}

bool MacroStore::SendMacro(const std::u16string& key, const std::u16string& content) {
    {
        const Lock lock(lock_);
        typedBuffer_ = key;
        matchedContent_ = content;
    }
    return RecallMacro(false, false);
}

void MacroStore::SendKey(std::uint8_t virtualKey, bool up) {
    output_->SendKeyEvent(virtualKey, up, 0);
}

// The hot key's own modifiers are down when it fires, whatever a key state read at that
// moment says: the system may answer from a state a few milliseconds old.
void MacroStore::TypeContent(const std::u16string& content, std::size_t erase,
                             std::uint16_t heldHotKeyModifiers) {
    if (!output_ || !keys_)
        return;
    for (const HeldModifier& modifier : kHeldModifiers) {
        if ((heldHotKeyModifiers & modifier.hotKeyFlag) || keys_->IsKeyDown(modifier.key))
            SendKey(modifier.key, true);
    }
    for (std::size_t i = 0; i < erase; ++i) {
        SendKey(vk::kBack, false);
        SendKey(vk::kBack, true);
    }
    for (char16_t ch : content) {
        if (const std::uint8_t key = KeyOfContentCharacter(ch)) {
            SendKey(key, false);
            SendKey(key, true);
        } else {
            output_->SendKeyEvent(0, false, ch);
            output_->SendKeyEvent(0, true, ch);
        }
    }
}

// --- the hot key ------------------------------------------------------------------------------

bool MacroStore::OnMacroHotKey(int id, std::uint16_t modifiers) {
    return id == 0 && Recall(false, true, modifiers);
}

// The combination reaches the program that has the focus as if the hot key were not there.
void MacroStore::PassOnHotKey(std::uint16_t virtualKey, std::uint16_t modifiers) {
    if (!output_)
        return;
    struct Modifier {
        std::uint16_t flag;
        std::uint8_t key;
    };
    static constexpr Modifier kOrder[] = {
        {hotkey::kControl, vk::kControl}, {hotkey::kAlt, vk::kMenu}, {hotkey::kShift, vk::kShift}};
    for (const Modifier& modifier : kOrder) {
        if (modifiers & modifier.flag)
            SendKey(modifier.key, false);
    }
    SendKey(static_cast<std::uint8_t>(virtualKey), false);
    SendKey(static_cast<std::uint8_t>(virtualKey), true);
    for (auto it = std::rbegin(kOrder); it != std::rend(kOrder); ++it) {
        if (modifiers & it->flag)
            SendKey(it->key, true);
    }
}

} // namespace gw
