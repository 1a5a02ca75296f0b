// Language files read through expat: what a Keyboard.xml changes in the active tables, the
// messages a faulty file shows (exactly), the fall-back to English, the Help menu items, and
// the list of installed languages.
#include "languages/Languages.h"
#include "tests/native/xml/ExpatKeyboardXml.h"

#include <gtest/gtest.h>

#include <map>

namespace gw {
namespace {

constexpr char16_t kFolder[] = u"C:\\Glyphwell\\Languages";
const std::u16string kProgramAbout = u"&About Glyphwell...";

std::string Utf8(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// Files in memory, the Help menu as a list of item texts, and every message shown.
class FakeLanguagePort : public LanguagePort {
public:
    std::vector<std::u16string> SubFolders(const std::u16string& folder) override {
        return folder == kFolder ? folders : std::vector<std::u16string>{};
    }
    ReadResult ReadKeyboardFile(const std::u16string& path, KeyboardXmlHandler& handler) override {
        ++reads;
        if (!hasReader)
            return ReadResult::kNoReader;
        auto file = files.find(path);
        return xmltest::ParseKeyboardXml(file == files.end() ? nullptr : &file->second, handler)
                   ? ReadResult::kRead
                   : ReadResult::kFailed;
    }
    void ShowMessage(std::u16string_view text, std::u16string_view caption) override {
        messages.push_back(std::u16string(caption) + u": " + std::u16string(text));
    }
    void AddLanguageAboutItem(std::u16string_view itemText, std::u16string_view url) override {
        help.emplace_back(itemText);
        link = url;
    }
    void RemoveLanguageAboutItem() override {
        std::erase_if(help, [](const std::u16string& item) {
            return item.starts_with(u"About ") && item.ends_with(u" Glyphwell");
        });
    }
    void RemoveProgramAboutItem() override { std::erase(help, kProgramAbout); }
    void AppendProgramAboutItem() override { help.push_back(kProgramAbout); }
    void ClearLanguageLink() override { link.clear(); }
    void ReloadPictures() override { ++pictureReloads; }

    void AddFile(const std::u16string& language, const std::string& xml) {
        files[std::u16string(kFolder) + u"\\" + language + u"\\Keyboard.xml"] = xml;
    }

    std::map<std::u16string, std::string> files;
    std::vector<std::u16string> folders;
    std::vector<std::u16string> messages;
    std::vector<std::u16string> help{u"&Help Topics", kProgramAbout};
    std::u16string link;
    bool hasReader = true;
    int reads = 0;
    int pictureReloads = 0;
};

std::string Document(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Keyboard>" + body + "</Keyboard>\n";
}

class LanguagesTest : public ::testing::Test {
protected:
    LanguagesTest() { languages.ScanLanguages(kFolder); }

    // Loads a file given as its body inside Keyboard; the messages it showed.
    std::vector<std::u16string> Load(const std::string& body) {
        port.AddFile(u"Test", Document(body));
        languages.SetLanguage(u"Test");
        return port.messages;
    }
    bool IsBuiltIn() const {
        const auto builtIn = BuiltInCombineList();
        return layout.slots == BuiltInSlots() && layout.bottom == BuiltInBottomSlots() &&
               combines == CombineList(builtIn.begin(), builtIn.end());
    }
    const CharacterSlot& Slot(int key, int direction, int kind) const {
        return layout.Slot(kLetterSide, key, direction, kind);
    }

    KeyboardLayout layout;
    CombineList combines;
    FakeLanguagePort port;
    Languages languages{layout, combines, port};
};

const std::u16string kFallBack = u"\n\nTherefore, since the keyboard file could not be read "
                                 u"correctly,\nthe language will be set back to the default, "
                                 u"English.";

TEST_F(LanguagesTest, AnEmptyKeyboardLeavesTheBuiltInLayoutAndRules) {
    EXPECT_TRUE(Load("").empty());
    EXPECT_TRUE(IsBuiltIn());
    EXPECT_EQ(languages.GetLanguage(), u"Test");
    EXPECT_EQ(port.help.back(), kProgramAbout);
}

TEST_F(LanguagesTest, AFileSetsDefinableSlotsLetterPairsAndTheBottomKey) {
    const std::string body = R"(
  <LanguageName>Test</LanguageName>
  <LetterSide>
    <Row1><Col1>
      <NE><Drag>&#xE4;</Drag><DragReturn>&#xC4;</DragReturn><LetterPair/></NE>
      <N><Drag>x</Drag></N>
    </Col1></Row1>
    <Row2><Col2><Center><Tap>&lt;</Tap><Circle>&#233;</Circle></Center></Col2></Row2>
    <Row2><Col2><NE><Tap>y</Tap></NE></Col2></Row2>
    <Row4><Col2><Center><Tap> </Tap></Center></Col2></Row4>
    <Row4><Col1><Center><Tap>zz</Tap></Center></Col1></Row4>
  </LetterSide>)";
    EXPECT_TRUE(Load(body).empty());
    EXPECT_EQ(Slot(1, kNE, 0).ch, u'\u00E4');
    EXPECT_EQ(Slot(1, kNE, 0).vk, 1);
    EXPECT_EQ(Slot(1, kNE, 0).letterPair, 1);
    EXPECT_EQ(Slot(1, kNE, 1).ch, u'\u00C4');
    EXPECT_EQ(Slot(1, kN, 0), BuiltInSlots()[SlotIndex(kLetterSide, 1, kN, 0)])
        << "the arrow up is not definable: its text is ignored";
    EXPECT_EQ(Slot(5, kCenter, 0).ch, u'<');
    EXPECT_EQ(Slot(5, kCenter, 0).letterPair, 0) << "a redefined slot is no letter pair";
    EXPECT_EQ(Slot(5, kCenter, 1).ch, u'\u00E9');
    EXPECT_EQ(Slot(5, kNE, 0).ch, u'y') << "Tap is Drag under an outer direction";
    EXPECT_EQ(layout.BottomSlot(kCenter, 0).ch, u' ');
    EXPECT_EQ(layout.BottomSlot(kCenter, 0).shift, BuiltInBottomSlots()[16].shift);
}

TEST_F(LanguagesTest, CombineRulesReplaceTheirPairInPlaceOrAreAppended) {
    const CombineElement first = BuiltInCombineList()[0];
    std::string body = "<CombineList><CombineElement><FirstChar>" +
                       Utf8(std::u16string(1, first.FirstChar)) + "</FirstChar><SecondChar>" +
                       Utf8(std::u16string(1, first.SecondChar)) +
                       "</SecondChar><ResultChar>#</ResultChar><AutoCombineFlag/></CombineElement>"
                       "<CombineElement><FirstChar>q</FirstChar><SecondChar>q</SecondChar>"
                       "<ResultChar>Q</ResultChar><RotFlag/><CaseMatters/></CombineElement>"
                       "<CombineElement><FirstChar>o</FirstChar><ResultChar>0</ResultChar>"
                       "<RotFlag/></CombineElement></CombineList>";
    EXPECT_TRUE(Load(body).empty());
    ASSERT_EQ(combines.size(), BuiltInCombineList().size() + 2);
    EXPECT_EQ(combines[0], (CombineElement{first.FirstChar, first.SecondChar, u'#', 0, 0, 1}));
    EXPECT_EQ(combines[combines.size() - 2], (CombineElement{u'q', u'q', u'Q', 1, 1, 0}));
    EXPECT_EQ(combines.back(), (CombineElement{u'o', 0, u'0', 1, 0, 0}));
}

TEST_F(LanguagesTest, AFaultyFileShowsItsMessagesAndFallsBackToEnglish) {
    struct Case {
        const char* what;
        std::string document; // without the declaration and Keyboard when it starts with '!'
        std::vector<std::u16string> messages;
    };
    const Case cases[] = {
        {"two characters in a Drag",
         "<LetterSide><Row1><Col1><E>\n<Drag>ab</Drag></E></Col1></Row1></LetterSide>",
         {u"Error: Error reading data: Data too long\nLine 3 following <Drag>\n\tab",
          u"Error: Error reading Keyboard.xml file\n\nLine 3: Following <Drag>" + kFallBack}},
        {"a blank, a letter and a blank",
         "<LetterSide><Row1><Col1><E><Drag> a </Drag></E></Col1></Row1></LetterSide>",
         {u"Error: Error reading data: Data too long\nLine 2 following <Drag>\n\t a ",
          u"Error: Error reading Keyboard.xml file\n\nLine 2: Following <Drag>" + kFallBack}},
        {"two characters on the bottom key",
         "<NumberSide><Row4><Col2><Center><Tap>ab</Tap></Center></Col2></Row4></NumberSide>",
         {u"Error: Error reading data: Data too long\n\tLine 2 following <Tap>\n\tab",
          u"Error: Error reading Keyboard.xml file\n\nLine 2: Following <Tap>" + kFallBack}},
        {"an upper-case first character without CaseMatters",
         "\n\n<CombineList><CombineElement><FirstChar>A</FirstChar><SecondChar>b</SecondChar>"
         "<ResultChar>c</ResultChar></CombineElement></CombineList>",
         {u"Error: Error reading Keyboard.xml file\n\nLine 4:\nUpper case is not allowed as the "
          u"first or second character\nunless the CaseMatters flag is set." +
          kFallBack}},
        {"a rotation without a second character that combines automatically",
         "<CombineList><CombineElement><FirstChar>a</FirstChar><ResultChar>c</ResultChar>"
         "<RotFlag/><AutoCombineFlag/></CombineElement></CombineList>",
         {u"Error: Error reading Keyboard.xml file\n\nLine 2:\nCombine element missing second "
          u"character." +
          kFallBack}},
        {"an empty FirstChar",
         "<CombineList>\n<CombineElement><FirstChar></FirstChar></CombineElement></CombineList>",
         {u"Error: Error reading Keyboard.xml file\n\nLine 3: Following <FirstChar>" + kFallBack}},
        {"a rule part outside a rule",
         "<CombineList><FirstChar>a</FirstChar></CombineList>",
         {u"Error: Error reading Keyboard.xml file\n\nLine 2: Following <FirstChar>" + kFallBack}},
        {"text directly in Keyboard",
         "stray",
         {u"Debug: Error reading keyboard file\nKeyboard",
          u"Error: Error reading Keyboard.xml file\n\nLine 2: Following <Keyboard>" + kFallBack}},
        {"text under a direction without a stroke",
         "<LetterSide><Row3><Col3><SW>x</SW></Col3></Row3></LetterSide>",
         {u"Debug: Error reading keyboard file\nKeyboard\n LetterSide\n  Row3\n   Col3\n   SW",
          u"Error: Error reading Keyboard.xml file\n\nLine 2: Following <SW>" + kFallBack}},
        {"an element outside Keyboard",
         "!<?xml version=\"1.0\"?>\n<Layout><Keyboard/></Layout>",
         {u"Error: Error reading Keyboard.xml file\n\nLine 2: Following <Layout>" + kFallBack}},
        {"an element name over 260 characters",
         "<" + std::string(261, 'x') + "/>",
         {u"Error: Error reading Keyboard.xml file\n\nLine 2: Following <Keyboard>" + kFallBack}},
    };
    for (const Case& c : cases) {
        port.messages.clear();
        port.AddFile(u"Test", c.document[0] == '!' ? c.document.substr(1) : Document(c.document));
        languages.SetLanguage(u"Test");
        EXPECT_EQ(port.messages, c.messages) << c.what;
        EXPECT_EQ(languages.GetLanguage(), u"English") << c.what;
        EXPECT_TRUE(IsBuiltIn()) << c.what;
        EXPECT_EQ(port.help.back(), kProgramAbout) << c.what;
    }
}

TEST_F(LanguagesTest, AFileThatCannotBeReadFallsBackToEnglish) {
    const std::u16string missing = u"Error: Error reading Keyboard.xml file\n\nFile does not "
                                   u"exist or error at beginning of file." +
                                   kFallBack;
    languages.SetLanguage(u"Gone");
    EXPECT_EQ(port.messages, std::vector<std::u16string>{missing});

    // A path over 259 characters is not read at all.
    port.messages.clear();
    const std::u16string longName(300 - std::u16string(kFolder).size(), u'L');
    port.AddFile(longName, Document(""));
    const int readsBefore = port.reads;
    languages.SetLanguage(longName);
    EXPECT_EQ(port.reads, readsBefore);
    EXPECT_EQ(port.messages, std::vector<std::u16string>{missing});

    port.messages.clear();
    port.hasReader = false;
    languages.SetLanguage(u"Test");
    EXPECT_EQ(port.messages,
              std::vector<std::u16string>{
                  u"Error: Unable to load XML reader. Languages will not work on this computer.\n"
                  u"The language will be reset to the defualt - English."});
    EXPECT_EQ(languages.GetLanguage(), u"English");
}

TEST_F(LanguagesTest, TheLanguagesAboutItemComesAndGoesWithIt) {
    Load("<AboutLanguageLink>\n  https://example.org/test  \n</AboutLanguageLink>");
    EXPECT_EQ(port.help, (std::vector<std::u16string>{u"&Help Topics", u"About Test Glyphwell",
                                                      kProgramAbout}));
    EXPECT_EQ(port.link, u"https://example.org/test");

    const int readsBefore = port.reads;
    languages.SetLanguage(u"English");
    languages.SetLanguage(u"English");
    EXPECT_EQ(port.reads, readsBefore) << "English needs no file";
    EXPECT_TRUE(port.messages.empty());
    EXPECT_EQ(port.help, (std::vector<std::u16string>{u"&Help Topics", kProgramAbout}));
    EXPECT_TRUE(port.link.empty());
}

TEST_F(LanguagesTest, InstalledLanguagesAreListedAfterEnglishSortedWithoutRegardToCase) {
    port.folders = {u"Zulu", u"Fran\u00E7ais", u"deutsch"};
    languages.ScanLanguages(kFolder);
    EXPECT_EQ(languages.List(),
              (std::vector<std::u16string>{u"English", u"deutsch", u"Fran\u00E7ais", u"Zulu"}));
    EXPECT_EQ(languages.LanguageForCommand(32830), u"English");
    EXPECT_EQ(languages.LanguageForCommand(32832), u"Fran\u00E7ais");
    EXPECT_EQ(languages.LanguageForCommand(32834), u"");
    EXPECT_EQ(languages.LanguageForCommand(32841), u"");

    languages.ScanLanguages(u"C:\\Nowhere");
    EXPECT_EQ(languages.List(), std::vector<std::u16string>{u"English"});
}

// The languages we ship read without a message and type what their layout promises.
TEST_F(LanguagesTest, TheShippedLanguagesReadCleanly) {
    struct Shipped {
        const char* folder;
        int key;
        int direction;
        int kind;
        char16_t typed;
    };
    const Shipped shipped[] = {
        {"Deutsch", 9, kSW, 0, u'\u00DF'},
        {"Fran\u00E7ais", 8, kW, 0, u'\u00E9'},
        {"Espa\u00F1ol", 2, kNW, 0, u'\u00F1'},
        {"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC", 8, kN, 0, u'\u03C2'},
        {"\u0420\u0443\u0441\u0441\u043A\u0438\u0439", 1, kNE, 1, u'\u042F'},
    };
    for (const Shipped& language : shipped) {
        const std::string folder =
            std::string(GW_SOURCE_DIR) + "/languages/files/" + language.folder;
        std::string xml;
        ASSERT_TRUE(xmltest::ReadFile(folder + "/Keyboard.xml", xml)) << folder;
        const std::u16string name = xmltest::Utf16(language.folder);
        port.AddFile(name, xml);
        port.messages.clear();
        languages.SetLanguage(name);
        EXPECT_TRUE(port.messages.empty()) << language.folder << ": " << Utf8(port.messages[0]);
        EXPECT_EQ(languages.GetLanguage(), name);
        EXPECT_EQ(Slot(language.key, language.direction, language.kind).ch, language.typed)
            << language.folder;
    }
}

} // namespace
} // namespace gw
