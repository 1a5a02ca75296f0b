#pragma once
// The macro store: the user's macros, and their recall. It watches what the user types in any
// program (the hook library reports the typed characters) and keeps the characters typed
// since the last white space; when they equal a macro's key, the match is shown, and a recall
// erases the key with Backspace and types the content. It then follows the echo of the content
// so that the characters it typed are not taken for new typing.
//
// The Macro Scribe dialog works on its own thread: every operation takes the store's lock, and
// the calls out to the application are made outside it.
#include "hook/HookEvent.h"
#include "hook/HookRing.h"
#include "keyboard/CharacterEngine.h"
#include "keyboard/KeystrokeOutput.h"
#include "macros/MacroFile.h"

#include <mutex>
#include <optional>

namespace gw {

// What the store needs from the application.
class MacroStorePort {
public:
    virtual ~MacroStorePort() = default;
    // The match shown flag changed, or the matched content while it is shown.
    virtual void OnMacroMatchChanged() = 0;
    // Opens Macro Scribe; with newKey set it opens the new macro dialog for the key.
    virtual void OpenMacroScribe(std::uint8_t newKey, const std::u16string& key) = 0;
};

// The hot key's modifier flags, as the system's hot key control reports them.
namespace hotkey {
inline constexpr std::uint16_t kShift = 1;
inline constexpr std::uint16_t kControl = 2;
inline constexpr std::uint16_t kAlt = 4;
inline constexpr std::uint16_t kExtended = 8;
} // namespace hotkey

class MacroStore : public MacroRecallPort, public CHookEventListener {
public:
    static constexpr std::size_t kTypedBufferLength = 16;

    explicit MacroStore(MacroStorePort& port) : port_(port) {}
    MacroStore(const MacroStore&) = delete;
    MacroStore& operator=(const MacroStore&) = delete;

    // Where recalled content is typed; nothing is typed without it.
    void SetOutput(KeystrokeOutput* output, KeyStatePort* keys);

    // The map, each operation under the lock.
    MacroMap Macros() const;
    void ReplaceMacros(MacroMap macros);
    // Merges a macro file's records into the map (see ReadMacroFile).
    std::size_t MergeMacroFile(std::span<const std::uint8_t> file, AnsiDecoder decodeAnsi);
    std::vector<std::uint8_t> MacroFileBytes() const;
    std::optional<std::u16string> FindMacro(std::u16string_view key) const;

    // Matching (the engine's long-drag preview uses these too).
    std::u16string TypedBuffer() const override;
    void ResetMatch() override;
    void OnTypedChar(char16_t ch) override;
    bool MatchShown() const override;
    std::u16string MatchedContent() const;

    // Sending: set from a recall until its echo is complete or broken.
    bool IsSending() const;
    void StopSending();

    // Typing in other programs: focus changes, navigation keys and characters.
    void OnHookEvent(const HookEvent& event) override;

    // What a recall types: the matched content. Without a typed key or without a match it
    // opens Macro Scribe when openDialog is set, and returns false.
    bool GetRecallContent(std::u16string& out, bool openDialog);
    // Types the matched content, after erasing the typed key when erase is set.
    bool RecallMacro(bool openDialog, bool erase) override;
    // Macro Scribe's send of a listed macro: typed as if its key had just been typed.
    bool SendMacro(const std::u16string& key, const std::u16string& content);
    // The macro hot key (with its modifier flags) was pressed: true when it recalled a macro.
    // Otherwise the caller passes the key combination on with PassOnHotKey.
    bool OnMacroHotKey(int id, std::uint16_t modifiers);
    void PassOnHotKey(std::uint16_t virtualKey, std::uint16_t modifiers);

private:
    // Under the lock; true when the shown match changed.
    bool ResetMatchLocked();
    bool OnTypedCharLocked(char16_t ch);
    bool StopSendingLocked();
    // An echo character while sending: true when the match changed.
    bool FollowEcho(std::uint32_t ch);
    void Notify(bool matchChanged);
    bool Recall(bool openDialog, bool erase, std::uint16_t heldHotKeyModifiers);
    void TypeContent(const std::u16string& content, std::size_t erase,
                     std::uint16_t heldHotKeyModifiers);
    void SendKey(std::uint8_t virtualKey, bool up);

    MacroStorePort& port_;
    KeystrokeOutput* output_ = nullptr;
    KeyStatePort* keys_ = nullptr;

    mutable std::recursive_mutex lock_;
    MacroMap macros_;
    std::u16string typedBuffer_;
    std::u16string matchedContent_;
    std::u16string sendingContent_;
    bool matchShown_ = false;
    bool sending_ = false;
    std::size_t sendPosition_ = 0;
};

} // namespace gw
