#pragma once
// Drives the Keyboard.xml handler with expat, as the platform's SAX reader drives it on
// Windows: element starts and ends by name and character data with entities resolved, all in
// UTF-16, split where the parser splits it.
#include "languages/KeyboardXmlHandler.h"

#include <expat.h>

#include <fstream>
#include <sstream>
#include <string>

namespace xmltest {

// UTF-8 to UTF-16 (expat hands out well-formed UTF-8).
inline std::u16string Utf16(const char* text, std::size_t length) {
    std::u16string out;
    for (std::size_t i = 0; i < length;) {
        const auto byte = static_cast<unsigned char>(text[i]);
        char32_t c = byte;
        int extra = 0;
        if (byte >= 0xF0) {
            c = byte & 0x07;
            extra = 3;
        } else if (byte >= 0xE0) {
            c = byte & 0x0F;
            extra = 2;
        } else if (byte >= 0xC0) {
            c = byte & 0x1F;
            extra = 1;
        }
        for (int k = 1; k <= extra && i + static_cast<std::size_t>(k) < length; ++k)
            c = (c << 6) |
                (static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]) & 0x3F);
        i += static_cast<std::size_t>(extra) + 1;
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

inline std::u16string Utf16(const std::string& text) {
    return Utf16(text.data(), text.size());
}

// Parses the document; false when the parse failed (not well-formed, or a callback refused).
// A null document stands for a file that cannot be opened: the document never starts.
inline bool ParseKeyboardXml(const std::string* document, gw::KeyboardXmlHandler& handler) {
    if (!document)
        return false;
    XML_Parser parser = XML_ParserCreate(nullptr);
    // After a refusal no callback follows (expat still ends an empty element it started).
    struct Context {
        XML_Parser parser;
        gw::KeyboardXmlHandler& handler;
        bool stopped = false;
        void Refused() {
            stopped = true;
            XML_StopParser(parser, XML_FALSE);
        }
    } context{parser, handler};
    XML_SetUserData(parser, &context);
    XML_SetElementHandler(
        parser,
        [](void* data, const XML_Char* name, const XML_Char**) {
            auto* c = static_cast<Context*>(data);
            const std::string n(name);
            if (!c->stopped && !c->handler.StartElement(Utf16(n)))
                c->Refused();
        },
        [](void* data, const XML_Char* name) {
            auto* c = static_cast<Context*>(data);
            const std::string n(name);
            if (!c->stopped && !c->handler.EndElement(Utf16(n)))
                c->Refused();
        });
    XML_SetCharacterDataHandler(parser, [](void* data, const XML_Char* text, int length) {
        auto* c = static_cast<Context*>(data);
        if (!c->stopped && !c->handler.Characters(Utf16(text, static_cast<std::size_t>(length))))
            c->Refused();
    });
    handler.StartDocument();
    const bool ok = XML_Parse(parser, document->data(), static_cast<int>(document->size()),
                              XML_TRUE) == XML_STATUS_OK;
    XML_ParserFree(parser);
    return ok;
}

// The file's contents, or false when it cannot be read.
inline bool ReadFile(const std::string& path, std::string& contents) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream all;
    all << file.rdbuf();
    contents = all.str();
    return true;
}

} // namespace xmltest
