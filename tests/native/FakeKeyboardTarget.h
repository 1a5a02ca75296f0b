#pragma once
// A fake system for tests of the typing path: it takes the synthesized key events as an
// application with a US-English layout would, keeps the key states they imply and writes the
// resulting text. Keys that produce no character appear as tags, e.g. "<Del>" or "<^C>".
#include "keyboard/KeystrokeOutput.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace gw::testing {

class FakeKeyboardTarget : public KeyEventPort, public KeyStatePort {
public:
    static constexpr KeyboardLayoutId kUsLayout = 0x04090409;

    void Send(const KeyInput& input) override {
        events.push_back(input);
        const bool up = (input.flags & kKeyEventKeyUp) != 0;
        if (input.flags & kKeyEventUnicode) {
            if (!up)
                Insert(static_cast<char16_t>(input.scan));
            return;
        }
        const auto key = static_cast<std::uint8_t>(input.vk);
        if (up) {
            down_.erase(key);
            return;
        }
        down_.insert(key);
        if (key == vk::kCapital)
            capsLock_ = !capsLock_;
        else
            TypeKey(key);
    }

    bool IsKeyDown(std::uint8_t key) const override {
        return down_.count(key) != 0 || physicallyDown.count(key) != 0;
    }
    bool IsKeyToggled(std::uint8_t key) const override { return key == vk::kCapital && capsLock_; }
    KeyboardLayoutId ThreadLayout(std::uint32_t) const override { return kUsLayout; }
    void ActivateLayout(KeyboardLayoutId) override {}
    std::int16_t ScanCharacter(char16_t ch, KeyboardLayoutId) const override {
        const auto& table = UsKeys();
        for (const auto& [key, chars] : table) {
            if (chars.first == ch)
                return key;
            if (chars.second == ch)
                return static_cast<std::int16_t>(0x100 | key);
        }
        return -1;
    }
    std::uint16_t ScanCode(std::uint8_t key, KeyboardLayoutId) const override {
        return static_cast<std::uint16_t>(0x100 + key); // any distinct code will do
    }
    KeyboardLayoutId LoadUsEnglishLayout() override { return kUsLayout; }

    void SetCapsLock(bool on) { capsLock_ = on; }
    // Keys the user holds down on the real keyboard.
    std::set<std::uint8_t> physicallyDown;
    std::u16string text;
    std::vector<KeyInput> events;
    // Keys the synthesized events left down.
    const std::set<std::uint8_t>& KeysDown() const { return down_; }

private:
    // virtual key -> (unshifted, shifted) character of the US-English layout
    static const std::map<std::uint8_t, std::pair<char16_t, char16_t>>& UsKeys() {
        static const std::map<std::uint8_t, std::pair<char16_t, char16_t>> keys = [] {
            std::map<std::uint8_t, std::pair<char16_t, char16_t>> m;
            for (char16_t c = u'a'; c <= u'z'; ++c)
                m[static_cast<std::uint8_t>(c - 32)] = {c, static_cast<char16_t>(c - 32)};
            const char16_t* shiftedDigits = u")!@#$%^&*(";
            for (int d = 0; d < 10; ++d)
                m[static_cast<std::uint8_t>('0' + d)] = {static_cast<char16_t>(u'0' + d),
                                                         shiftedDigits[d]};
            m[0xBA] = {u';', u':'};
            m[0xBB] = {u'=', u'+'};
            m[0xBC] = {u',', u'<'};
            m[0xBD] = {u'-', u'_'};
            m[0xBE] = {u'.', u'>'};
            m[0xBF] = {u'/', u'?'};
            m[0xC0] = {u'`', u'~'};
            m[0xDB] = {u'[', u'{'};
            m[0xDC] = {u'\\', u'|'};
            m[0xDD] = {u']', u'}'};
            m[0xDE] = {u'\'', u'"'};
            m[0x20] = {u' ', 0};
            m[0x0D] = {u'\r', 0};
            m[0x09] = {u'\t', 0};
            m[0x08] = {u'\b', 0};
            return m;
        }();
        return keys;
    }

    void Insert(char16_t ch) {
        if (ch == u'\b') {
            if (!text.empty())
                text.pop_back();
            return;
        }
        text += ch;
    }

    void Tag(const std::string& name) { text += std::u16string(name.begin(), name.end()); }

    void TypeKey(std::uint8_t key) {
        if (key == vk::kShift || key == vk::kControl || key == vk::kMenu || key == vk::kLWin)
            return;
        const bool ctrl = down_.count(vk::kControl) != 0;
        const bool alt = down_.count(vk::kMenu) != 0;
        const bool letter = key >= 'A' && key <= 'Z';
        if (ctrl || alt) {
            std::string name = std::string(ctrl ? "^" : "") + (alt ? "Alt+" : "");
            name += letter ? std::string(1, static_cast<char>(key)) : Name(key);
            return Tag("<" + name + ">");
        }
        auto it = UsKeys().find(key);
        if (it == UsKeys().end())
            return Tag("<" + Name(key) + ">");
        bool shifted = down_.count(vk::kShift) != 0;
        if (letter && capsLock_)
            shifted = !shifted;
        Insert(shifted && it->second.second ? it->second.second : it->second.first);
    }

    static std::string Name(std::uint8_t key) {
        static const std::map<std::uint8_t, std::string> names = {
            {vk::kDelete, "Del"}, {vk::kInsert, "Ins"}, {vk::kLeft, "Left"}, {vk::kRight, "Right"},
            {vk::kUp, "Up"},      {vk::kDown, "Down"},  {vk::kHome, "Home"}, {vk::kEnd, "End"},
            {vk::kPrior, "PgUp"}, {vk::kNext, "PgDn"},  {vk::kApps, "Apps"}, {0x1B, "Esc"}};
        if (auto it = names.find(key); it != names.end())
            return it->second;
        if (key >= 0x70 && key <= 0x7B)
            return "F" + std::to_string(key - 0x6F);
        if (key >= 'A' && key <= 'Z')
            return std::string(1, static_cast<char>(key));
        return "vk" + std::to_string(key);
    }

    std::set<std::uint8_t> down_;
    bool capsLock_ = false;
};

} // namespace gw::testing
