#include "languages/win/SaxKeyboardReader.h"

#include <windows.h>

#include <msxml2.h>
#include <ole2.h>

#include <string>

namespace {

// MinGW's import libraries lack these identifiers.
constexpr CLSID kSaxXmlReader30 = {
    0x3124C396, 0xFB13, 0x4836, {0xA6, 0xAD, 0x13, 0x17, 0xF1, 0x71, 0x36, 0x88}};
constexpr IID kISaxXmlReader = {
    0xA4F96ED0, 0xF829, 0x476E, {0x81, 0xC0, 0xCD, 0xC7, 0xBD, 0x2A, 0x08, 0x02}};
constexpr IID kISaxContentHandler = {
    0x1545CDFA, 0x9E4E, 0x4497, {0xA8, 0xA4, 0x2B, 0xF7, 0xD0, 0x11, 0x2C, 0x44}};
constexpr DWORD kAnyServer = 0x17; // in-process server and handler, local and remote server

std::u16string_view View(const wchar_t* text, int length) {
    return {reinterpret_cast<const char16_t*>(text), length > 0 ? std::size_t(length) : 0};
}

HRESULT Result(bool ok) {
    return ok ? S_OK : E_FAIL;
}

// The content handler the SAX reader calls: a COM object of its own reference count that
// passes the callbacks on to the keyboard's handler. Attributes are never read.
class CKeyboardXmlHandler : public ISAXContentHandler {
public:
    explicit CKeyboardXmlHandler(gw::KeyboardXmlHandler& handler) : handler_(handler) {}
    virtual ~CKeyboardXmlHandler() = default;

    HRESULT WINAPI QueryInterface(REFIID iid, void** object) override {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, kISaxContentHandler)) {
            *object = static_cast<ISAXContentHandler*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG WINAPI AddRef() override { return static_cast<ULONG>(++references_); }
    ULONG WINAPI Release() override {
        const long left = --references_;
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT WINAPI putDocumentLocator(ISAXLocator*) override { return S_OK; }
    HRESULT WINAPI startDocument() override {
        handler_.StartDocument();
        return S_OK;
    }
    HRESULT WINAPI endDocument() override { return S_OK; }
    HRESULT WINAPI startPrefixMapping(const wchar_t*, int, const wchar_t*, int) override {
        return S_OK;
    }
    HRESULT WINAPI endPrefixMapping(const wchar_t*, int) override { return S_OK; }
    HRESULT WINAPI startElement(const wchar_t*, int, const wchar_t*, int, const wchar_t* name,
                                int length, ISAXAttributes*) override {
        return Result(handler_.StartElement(View(name, length)));
    }
    HRESULT WINAPI endElement(const wchar_t*, int, const wchar_t*, int, const wchar_t* name,
                              int length) override {
        return Result(handler_.EndElement(View(name, length)));
    }
    HRESULT WINAPI characters(const wchar_t* text, int length) override {
        return Result(handler_.Characters(View(text, length)));
    }
    HRESULT WINAPI ignorableWhitespace(const wchar_t*, int) override { return S_OK; }
    HRESULT WINAPI processingInstruction(const wchar_t*, int, const wchar_t*, int) override {
        return S_OK;
    }
    HRESULT WINAPI skippedEntity(const wchar_t*, int) override { return S_OK; }

private:
    gw::KeyboardXmlHandler& handler_;
    long references_ = 0;
};

ISAXXMLReader* CreateReader() {
    IUnknown* unknown = nullptr;
    if (FAILED(::CoCreateInstance(kSaxXmlReader30, nullptr, kAnyServer, IID_IUnknown,
                                  reinterpret_cast<void**>(&unknown))) ||
        !unknown)
        return nullptr;
    ISAXXMLReader* reader = nullptr;
    if (SUCCEEDED(::OleRun(unknown)))
        unknown->QueryInterface(kISaxXmlReader, reinterpret_cast<void**>(&reader));
    unknown->Release();
    return reader;
}

} // namespace

gw::LanguagePort::ReadResult ReadKeyboardFileWithSax(const std::u16string& path,
                                                     gw::KeyboardXmlHandler& handler) {
    ISAXXMLReader* reader = CreateReader();
    if (!reader)
        return gw::LanguagePort::ReadResult::kNoReader;
    auto* contentHandler = new CKeyboardXmlHandler(handler);
    contentHandler->AddRef();
    reader->putContentHandler(contentHandler);
    wchar_t url[MAX_PATH] = {};
    path.copy(reinterpret_cast<char16_t*>(url), MAX_PATH - 1);
    const HRESULT parsed = reader->parseURL(url);
    reader->Release();
    contentHandler->Release();
    return SUCCEEDED(parsed) ? gw::LanguagePort::ReadResult::kRead
                             : gw::LanguagePort::ReadResult::kFailed;
}
