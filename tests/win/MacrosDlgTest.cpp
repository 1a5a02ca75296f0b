// Macro Scribe under Wine, on its own thread as the program runs it, driven with the messages
// its controls send and with real key input: the list's badges and line breaks, New and Edit
// with their questions, Delete, Save and Save As with the file dialog, Load, the hot key, the
// size kept, the question at the program's end, and a list of a thousand macros.
#include "framework/win/DialogLayout.h"
#include "framework/win/ThreadInput.h"
#include "framework/win/WideString.h"
#include "macros/win/MacroScribe.h"
#include "resources/resource.h"
#include "shell/win/RegistrySettings.h"
#include "tests/win/Screenshots.h"
#include "tests/win/WinTestSupport.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

constexpr DWORD kWait = 5000;

class NoApplication : public gw::MacroStorePort {
public:
    void OnMacroMatchChanged() override {}
    void OpenMacroScribe(std::uint8_t, const std::u16string&) override {}
};

// The program's side: the store, the macro settings (saved to the registry) and the
// listeners.
class FakeHost : public CMacroScribeHost {
public:
    CMacroStore& Store() override { return store; }
    gw::MacroSettings MacroSettings() override {
        const std::lock_guard<std::mutex> lock(settingsLock);
        return settings;
    }
    void ChangeMacroSettings(const std::function<void(gw::MacroSettings&)>& change,
                             bool save) override {
        const std::lock_guard<std::mutex> lock(settingsLock);
        change(settings);
        if (save) {
            RegistrySettingsStore registry;
            gw::SaveMacroSettings(registry, settings);
        }
    }
    void MacroHotKeyChanged() override { ++hotKeyRegistrations; }
    void AddHookEventListener(CHookEventListener* listener) override {
        const std::lock_guard<std::mutex> lock(settingsLock);
        listeners.push_back(listener);
    }
    void RemoveHookEventListener(CHookEventListener* listener) override {
        const std::lock_guard<std::mutex> lock(settingsLock);
        std::erase(listeners, listener);
    }
    std::size_t ListenerCount() {
        const std::lock_guard<std::mutex> lock(settingsLock);
        return listeners.size();
    }

    NoApplication application;
    std::mutex settingsLock;
    gw::MacroSettings settings;
    CMacroStore store{application, settings};
    std::vector<CHookEventListener*> listeners;
    std::atomic<int> hotKeyRegistrations{0};
};

struct DialogSearch {
    const std::wstring* title;
    HWND except;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<DialogSearch*>(param);
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    if (window != search.except && std::wstring(className) == L"#32770" &&
        ::IsWindowVisible(window) && wintest::WindowText(window).rfind(*search.title, 0) == 0) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

// The first visible top-level dialog, other than the one given, whose title starts with the
// text.
HWND FindDialog(const std::wstring& titleStart, HWND except = nullptr) {
    DialogSearch search{&titleStart, except, nullptr};
    ::EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForDialog(const std::wstring& titleStart, HWND except = nullptr) {
    HWND found = nullptr;
    wintest::PumpUntil([&] { return (found = FindDialog(titleStart, except)) != nullptr; }, kWait);
    return found;
}

bool WaitUntilGone(HWND window) {
    return wintest::PumpUntil([window] { return !::IsWindow(window); }, kWait);
}

std::wstring TempPath(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + name;
    ::DeleteFileW(path.c_str());
    return path;
}

class MacrosDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\Vantorel\\Glyphwell");
        file = TempPath(L"gw-scribe-test.msb");
    }
    void TearDown() override {
        scribe.Close();
        ::DeleteFileW(file.c_str());
    }

    // Opens Macro Scribe on the macros, with the test's file as the current macro file.
    void Open(gw::MacroMap macros, bool withFile = true, std::uint8_t newKey = 0,
              const std::u16string& key = u"") {
        host.store.ReplaceMacros(std::move(macros));
        if (withFile)
            host.settings.currentMacroFilename = FromWide(file);
        scribe.Open(newKey, key);
        dialog = WaitForDialog(L"Macro Scribe");
        ASSERT_TRUE(dialog) << "Macro Scribe did not open";
        list = ::GetDlgItem(dialog, IDC_MACRO_LIST);
    }

    // Clicks a button; buttons that open a dialog of their own are posted.
    void Click(HWND window, int id, bool post = false) {
        const WPARAM command = MAKEWPARAM(id, BN_CLICKED);
        const auto button = reinterpret_cast<LPARAM>(::GetDlgItem(window, id));
        if (post)
            ::PostMessageW(window, WM_COMMAND, command, button);
        else
            ::SendMessageW(window, WM_COMMAND, command, button);
    }

    // Waits for the question box, answers it with the button and gives back its text.
    std::wstring Answer(int button) {
        HWND box = WaitForDialog(L"Glyphwell");
        if (!box)
            return L"(no question)";
        const std::wstring text = wintest::WindowText(::GetDlgItem(box, 0xFFFF));
        ::PostMessageW(box, WM_COMMAND, button, 0);
        WaitUntilGone(box);
        return text;
    }

    int ItemCount() const { return static_cast<int>(ListView_GetItemCount(list)); }
    std::wstring ItemText(int item, int column) const {
        wchar_t text[512] = {};
        ListView_GetItemText(list, item, column, text, 512);
        return text;
    }
    std::vector<std::wstring> Keys() const {
        std::vector<std::wstring> keys;
        for (int i = 0; i < ItemCount(); ++i)
            keys.push_back(ItemText(i, 0));
        return keys;
    }
    int ItemImage(int item) const {
        LVITEMW request{};
        request.mask = LVIF_IMAGE;
        request.iItem = item;
        ListView_GetItem(list, &request);
        return request.iImage;
    }
    void Select(std::initializer_list<int> items) {
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
        for (int item : items)
            ListView_SetItemState(list, item, LVIS_SELECTED | LVIS_FOCUSED,
                                  LVIS_SELECTED | LVIS_FOCUSED);
    }
    bool Enabled(int id) const { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE; }

    // Fills in the Edit Macro dialog and gives back its window (not yet closed).
    HWND FillEditDialog(const wchar_t* title, const wchar_t* key, const wchar_t* content) {
        HWND edit = WaitForDialog(title);
        if (!edit)
            return nullptr;
        if (key)
            ::SetDlgItemTextW(edit, IDC_EDIT_MACRO_KEY, key);
        if (content)
            ::SetDlgItemTextW(edit, IDC_EDIT_MACRO_CONTENT, content);
        return edit;
    }
    // Edits the selected macro: the key and content given, then OK.
    void EditSelected(const wchar_t* key, const wchar_t* content = nullptr) {
        Click(dialog, IDC_MACRO_EDIT, true);
        HWND edit = FillEditDialog(L"Edit Macro", key, content);
        ASSERT_TRUE(edit);
        Click(edit, IDC_EDIT_MACRO_OK, true);
    }
    // Closes Macro Scribe with its Close button, answering the question when asked; the
    // question's text, empty when none was asked.
    std::wstring CloseAnswering(int button) {
        Click(dialog, IDCANCEL, true);
        std::wstring asked;
        wintest::PumpUntil(
            [&] {
                if (FindDialog(L"Glyphwell"))
                    asked = Answer(button);
                return !::IsWindow(dialog) || (!asked.empty() && button == IDCANCEL);
            },
            kWait);
        return asked;
    }
    // Chooses the path in the open or save file dialog.
    bool ChooseFile(const wchar_t* title, const std::wstring& path) {
        HWND chooser = WaitForDialog(title);
        if (!chooser)
            return false;
        ::SetDlgItemTextW(chooser, 0x47C, path.c_str());
        ::PostMessageW(chooser, WM_COMMAND, IDOK, 0);
        return WaitUntilGone(chooser);
    }
    std::wstring Title() const { return wintest::WindowText(dialog); }
    gw::MacroMap FileMacros(const std::wstring& path) {
        NoApplication application;
        gw::MacroSettings settings;
        settings.currentMacroFilename = FromWide(path);
        CMacroStore store(application, settings);
        store.LoadMacros();
        return store.Macros();
    }

    FakeHost host;
    CMacroScribe scribe{host};
    std::wstring file;
    HWND dialog = nullptr;
    HWND list = nullptr;
};

const std::wstring kSaveQuestion =
    L"You have made changes to your macros.\nDo you want to save these changes?";

TEST_F(MacrosDlgTest, TheListShowsBadgesLineBreaksAndTabs) {
    Open({{u"v", u"vee"},
          {u"7", u"seven"},
          {u"btw", u"by the way"},
          {u"addr", u"1 Long Road\rSpringfield\tZIP"},
          {u"vv", u"double"}});
    EXPECT_EQ(Title(), L"Macro Scribe - " + file);
    EXPECT_EQ(Keys(), (std::vector<std::wstring>{L"7", L"addr", L"btw", L"v", L"vv"}));
    EXPECT_EQ(ItemImage(3), 1) << "v is a drag character";
    for (int item : {0, 1, 2, 4})
        EXPECT_EQ(ItemImage(item), 0) << ItemText(item, 0);
    EXPECT_EQ(ItemText(1, 1), L"1 Long Road<CR>Springfield<TAB>ZIP");
    EXPECT_EQ(host.ListenerCount(), 1u);
    EXPECT_FALSE(Enabled(IDC_MACRO_EDIT));
    EXPECT_FALSE(Enabled(IDC_MACRO_DELETE));
    Select({1});
    EXPECT_TRUE(Enabled(IDC_MACRO_EDIT));
    wintest::PumpFor(300);
    EXPECT_TRUE(wintest::WriteBmp(wintest::CaptureWindow(dialog), "macro-scribe.bmp"));

    Click(dialog, IDC_MACRO_EDIT, true);
    HWND edit = WaitForDialog(L"Edit Macro");
    ASSERT_TRUE(edit);
    EXPECT_FALSE(::IsWindowEnabled(dialog)) << "Macro Scribe waits for Edit Macro";
    EXPECT_EQ(wintest::WindowText(::GetDlgItem(edit, IDC_EDIT_MACRO_KEY)), L"addr");
    EXPECT_EQ(wintest::WindowText(::GetDlgItem(edit, IDC_EDIT_MACRO_CONTENT)),
              L"1 Long Road\r\nSpringfield\tZIP");
    wintest::PumpFor(300);
    EXPECT_TRUE(wintest::WriteBmp(wintest::CaptureWindow(edit), "edit-macro.bmp"));
    Click(edit, IDCANCEL, true);
    ASSERT_TRUE(WaitUntilGone(edit));
    EXPECT_TRUE(wintest::PumpUntil([&] { return ::IsWindowEnabled(dialog) != FALSE; }, kWait));
    EXPECT_EQ(CloseAnswering(IDYES), L"") << "nothing changed";
    EXPECT_EQ(host.ListenerCount(), 0u);
}

TEST_F(MacrosDlgTest, BtwRenamedBtwIsOneMacroAndSavedOnClose) {
    Open({{u"btw", u"by the way"}, {u"cu", u"see you"}});
    Select({0});
    EditSelected(L"BTW");
    EXPECT_TRUE(wintest::PumpUntil([&] { return ItemText(0, 0) == L"BTW"; }, kWait));
    EXPECT_EQ(Keys(), (std::vector<std::wstring>{L"BTW", L"cu"}));
    EXPECT_EQ(host.store.Macros().begin()->first, u"btw") << "the store waits for Save";

    EXPECT_EQ(CloseAnswering(IDYES), kSaveQuestion);
    const gw::MacroMap expected{{u"BTW", u"by the way"}, {u"cu", u"see you"}};
    EXPECT_EQ(host.store.Macros().begin()->first, u"BTW");
    EXPECT_EQ(FileMacros(file), expected);
    EXPECT_EQ(FileMacros(file).begin()->first, u"BTW");
}

TEST_F(MacrosDlgTest, RenamedOntoAnotherKeyAnsweredNoChangesNothing) {
    Open({{u"btw", u"by the way"}, {u"cu", u"see you"}});
    Select({0});
    EditSelected(L"CU", L"changed");
    EXPECT_EQ(Answer(IDNO), L"The macro (CU) already exists.\nDo you want to replace it?");
    EXPECT_TRUE(wintest::PumpUntil([&] { return ::IsWindowEnabled(dialog) != FALSE; }, kWait));
    EXPECT_EQ(Keys(), (std::vector<std::wstring>{L"btw", L"cu"}));
    EXPECT_EQ(ItemText(1, 1), L"see you");

    // Still usable: the same rename answered Yes replaces cu.
    Select({0});
    EditSelected(L"CU", L"changed");
    EXPECT_EQ(Answer(IDYES), L"The macro (CU) already exists.\nDo you want to replace it?");
    EXPECT_TRUE(wintest::PumpUntil([&] { return ItemCount() == 1; }, kWait));
    EXPECT_EQ(ItemText(0, 0), L"CU");
    EXPECT_EQ(ItemText(0, 1), L"changed");
    EXPECT_EQ(CloseAnswering(IDNO), kSaveQuestion);
    EXPECT_EQ(host.store.Macros().size(), 2u) << "No keeps the store as it was";
}

TEST_F(MacrosDlgTest, DeletesExactlyThreeNonAdjacentSelectedMacros) {
    Open({{u"a", u"1"}, {u"b", u"2"}, {u"c", u"3"}, {u"d", u"4"}, {u"e", u"5"}, {u"f", u"6"}});
    Select({0, 2, 5});
    EXPECT_FALSE(Enabled(IDC_MACRO_EDIT)) << "three selected";
    EXPECT_TRUE(Enabled(IDC_MACRO_DELETE));
    Click(dialog, IDC_MACRO_DELETE);
    EXPECT_EQ(Keys(), (std::vector<std::wstring>{L"b", L"d", L"e"}));
    EXPECT_FALSE(Enabled(IDC_MACRO_DELETE));
    Click(dialog, IDOK);
    EXPECT_EQ(FileMacros(file), (gw::MacroMap{{u"b", u"2"}, {u"d", u"4"}, {u"e", u"5"}}));
    EXPECT_EQ(host.hotKeyRegistrations, 1);
    EXPECT_EQ(CloseAnswering(IDYES), L"") << "saved";
}

TEST_F(MacrosDlgTest, SaveWithoutAFileSavesAsAndTheNextStartLoadsThatFile) {
    Open({{u"btw", u"by the way"}}, false);
    EXPECT_EQ(Title(), L"Macro Scribe");
    ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(ChooseFile(L"Macro Scribe Save File", file));
    EXPECT_TRUE(wintest::PumpUntil([&] { return Title() == L"Macro Scribe - " + file; }, kWait));
    EXPECT_EQ(host.store.Macros(), FileMacros(file));

    // The next start reads the settings, then the file they name.
    gw::MacroSettings stored;
    RegistrySettingsStore registry;
    gw::LoadMacroSettings(registry, stored);
    EXPECT_EQ(stored.currentMacroFilename, FromWide(file));
    NoApplication application;
    CMacroStore nextStart(application, stored);
    ASSERT_TRUE(nextStart.LoadMacros());
    EXPECT_EQ(nextStart.Macros(), (gw::MacroMap{{u"btw", u"by the way"}}));
    EXPECT_EQ(CloseAnswering(IDYES), L"");
}

TEST_F(MacrosDlgTest, LoadMergesAFileAndAnUnreadableOneChangesNothing) {
    gw::MacroMap other{{u"cu", u"see you"}, {u"btw", u"from the file"}};
    {
        FakeHost writer;
        writer.settings.currentMacroFilename = FromWide(file);
        writer.store.ReplaceMacros(other);
        ASSERT_TRUE(writer.store.SaveMacros(nullptr));
    }
    Open({{u"Btw", u"mine"}, {u"only", u"here"}}, false);
    Click(dialog, IDC_MACRO_LOAD, true);
    ASSERT_TRUE(ChooseFile(L"Macro Scribe Load File", file));
    EXPECT_TRUE(wintest::PumpUntil([&] { return ItemCount() == 3; }, kWait));
    EXPECT_EQ(Keys(), (std::vector<std::wstring>{L"Btw", L"cu", L"only"}));
    EXPECT_EQ(ItemText(0, 1), L"from the file");
    EXPECT_EQ(Title(), L"Macro Scribe - " + file);

    // A file that is there but cannot be read (it is locked) is said so and not taken.
    const std::wstring locked = TempPath(L"gw-scribe-locked.msb");
    HANDLE hold = ::CreateFileW(locked.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    Click(dialog, IDC_MACRO_LOAD, true);
    ASSERT_TRUE(ChooseFile(L"Macro Scribe Load File", locked));
    HWND failed = WaitForDialog(L"Macro Scribe", dialog);
    ASSERT_TRUE(failed);
    EXPECT_EQ(wintest::WindowText(::GetDlgItem(failed, 0xFFFF)),
              L"The macros could not be loaded from\n" + locked);
    ::PostMessageW(failed, WM_COMMAND, IDOK, 0);
    WaitUntilGone(failed);
    ::CloseHandle(hold);
    ::DeleteFileW(locked.c_str());
    EXPECT_EQ(Title(), L"Macro Scribe - " + file);
    EXPECT_EQ(host.MacroSettings().currentMacroFilename, FromWide(file));
    EXPECT_EQ(CloseAnswering(IDNO), L"");
}

TEST_F(MacrosDlgTest, AChangedHotKeyAsksToSaveAndIsRegisteredAgain) {
    Open({{u"btw", u"by the way"}});
    HWND hotKey = ::GetDlgItem(dialog, IDC_MACRO_HOTKEY);
    ::SendMessageW(hotKey, HKM_SETHOTKEY, MAKEWORD('M', HOTKEYF_CONTROL | HOTKEYF_SHIFT), 0);
    EXPECT_EQ(CloseAnswering(IDCANCEL), kSaveQuestion);
    ASSERT_TRUE(::IsWindow(dialog)) << "Cancel keeps Macro Scribe open";
    EXPECT_EQ(CloseAnswering(IDYES), kSaveQuestion);
    EXPECT_EQ(host.hotKeyRegistrations, 1);
    EXPECT_EQ(host.settings.hotKeyVk, 'M');
    EXPECT_EQ(host.settings.hotKeyModifiers, gw::hotkey::kControl | gw::hotkey::kShift);
    gw::MacroSettings stored;
    RegistrySettingsStore registry;
    gw::LoadMacroSettings(registry, stored);
    EXPECT_EQ(stored.hotKeyVk, 'M');

    // Opened again, the control shows it; unchanged, Close asks nothing.
    Open({{u"btw", u"by the way"}});
    EXPECT_EQ(::SendMessageW(::GetDlgItem(dialog, IDC_MACRO_HOTKEY), HKM_GETHOTKEY, 0, 0),
              MAKEWORD('M', HOTKEYF_CONTROL | HOTKEYF_SHIFT));
    EXPECT_EQ(CloseAnswering(IDYES), L"");
}

TEST_F(MacrosDlgTest, AKeyWithWhiteSpaceIsRefusedByOkAndByEnter) {
    Open({}, true, 1, u"xyz");
    HWND edit = WaitForDialog(L"New Macro");
    ASSERT_TRUE(edit) << "a recall without a match opens New Macro";
    HWND key = ::GetDlgItem(edit, IDC_EDIT_MACRO_KEY);
    HWND ok = ::GetDlgItem(edit, IDC_EDIT_MACRO_OK);
    HWND warning = ::GetDlgItem(edit, IDC_EDIT_MACRO_WARNING);
    EXPECT_EQ(wintest::WindowText(key), L"xyz");
    EXPECT_FALSE(::IsWindowEnabled(ok)) << "no content yet";
    EXPECT_FALSE(::IsWindowVisible(warning));

    // Typed at the keyboard: a space in the key, then Enter.
    ::SetDlgItemTextW(edit, IDC_EDIT_MACRO_CONTENT, L"some text");
    ::SetForegroundWindow(edit);
    SetFocusOfThread(key);
    ASSERT_TRUE(wintest::PumpUntil([&] { return ::GetForegroundWindow() == edit; }, kWait));
    ::PostMessageW(key, EM_SETSEL, 0, -1);
    wintest::TypeKeys("A B");
    EXPECT_TRUE(wintest::PumpUntil([&] { return wintest::WindowText(key) == L"a b"; }, kWait));
    EXPECT_TRUE(::IsWindowVisible(warning));
    EXPECT_FALSE(::IsWindowEnabled(ok));
    wintest::TypeKeys("\r");
    wintest::PumpFor(300);
    ASSERT_TRUE(::IsWindow(edit)) << "Enter is held to the same check as OK";
    ::SetDlgItemTextW(edit, IDC_EDIT_MACRO_KEY, L"");
    wintest::TypeKeys("\r");
    wintest::PumpFor(300);
    ASSERT_TRUE(::IsWindow(edit)) << "nor an empty key";

    ::SetDlgItemTextW(edit, IDC_EDIT_MACRO_KEY, L"ab");
    EXPECT_FALSE(::IsWindowVisible(warning));
    EXPECT_TRUE(::IsWindowEnabled(ok));
    wintest::TypeKeys("\r");
    EXPECT_TRUE(WaitUntilGone(edit));
    EXPECT_TRUE(wintest::PumpUntil([&] { return ItemCount() == 1; }, kWait));
    EXPECT_EQ(ItemText(0, 0), L"ab");
    EXPECT_EQ(CloseAnswering(IDNO), kSaveQuestion);
}

TEST_F(MacrosDlgTest, DoubleClicksEditSendOrMakeANewMacroAndASecondOpenDoesNothing) {
    Open({{u"btw", u"by the way"}});
    scribe.Open(1, u"again");
    wintest::PumpFor(300);
    EXPECT_FALSE(FindDialog(L"New Macro")) << "the open Macro Scribe keeps the request";

    RECT item{};
    ListView_GetItemRect(list, 0, &item, LVIR_BOUNDS);
    const int y = (item.top + item.bottom) / 2;
    Select({0});
    ::PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, y));
    HWND edit = WaitForDialog(L"Edit Macro");
    ASSERT_TRUE(edit) << "on the key of the one selected macro";
    Click(edit, IDCANCEL, true);
    WaitUntilGone(edit);

    Select({});
    ::PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, item.bottom + 40));
    HWND added = WaitForDialog(L"New Macro");
    ASSERT_TRUE(added) << "below the items, with none selected";
    EXPECT_EQ(wintest::WindowText(::GetDlgItem(added, IDC_EDIT_MACRO_KEY)), L"");
    Click(added, IDCANCEL, true);
    WaitUntilGone(added);
    EXPECT_EQ(CloseAnswering(IDYES), L"");
}

TEST_F(MacrosDlgTest, ResizingKeepsTheLayoutAndTheSizeIsUsedAgain) {
    Open({{u"btw", u"by the way"}});
    RECT before{};
    ::GetWindowRect(dialog, &before);
    const RECT saveBefore = ChildRect(::GetDlgItem(dialog, IDOK));
    RECT clientBefore{};
    ::GetClientRect(dialog, &clientBefore);
    const int width = before.right - before.left + 120;
    const int height = before.bottom - before.top + 80;
    ::SetWindowPos(dialog, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(host.MacroSettings().macroDlgX, static_cast<std::uint32_t>(width));
    EXPECT_EQ(host.MacroSettings().macroDlgY, static_cast<std::uint32_t>(height));
    RECT client{};
    ::GetClientRect(dialog, &client);
    const RECT save = ChildRect(::GetDlgItem(dialog, IDOK));
    EXPECT_EQ(client.right - save.right, clientBefore.right - saveBefore.right);
    const RECT listRect = ChildRect(list);
    const RECT hotKey = ChildRect(::GetDlgItem(dialog, IDC_MACRO_HOTKEY));
    EXPECT_LT(listRect.bottom, hotKey.top);
    RECT listClient{};
    ::GetClientRect(list, &listClient);
    EXPECT_EQ(ListView_GetColumnWidth(list, 0) + ListView_GetColumnWidth(list, 1), listClient.right)
        << "the content column fills the list";
    MINMAXINFO limits{};
    ::SendMessageW(dialog, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_GT(limits.ptMinTrackSize.x, 200);
    EXPECT_GT(limits.ptMinTrackSize.y, ChildRect(::GetDlgItem(dialog, IDC_MACRO_DELETE)).bottom);
    EXPECT_EQ(CloseAnswering(IDYES), L"");

    Open({{u"btw", u"by the way"}});
    RECT again{};
    ::GetWindowRect(dialog, &again);
    EXPECT_EQ(again.right - again.left, width);
    EXPECT_EQ(again.bottom - again.top, height);
    EXPECT_EQ(CloseAnswering(IDYES), L"");
}

TEST_F(MacrosDlgTest, TheProgramsEndClosesMacroScribeOfferingToSave) {
    Open({{u"btw", u"by the way"}});
    Select({0});
    Click(dialog, IDC_MACRO_DELETE);
    std::atomic<bool> answered{false};
    std::wstring asked;
    std::thread answering([&] {
        for (int i = 0; i < 500 && !answered; ++i) {
            HWND box = FindDialog(L"Glyphwell");
            if (box && ::IsWindowEnabled(box)) {
                asked = wintest::WindowText(::GetDlgItem(box, 0xFFFF));
                ::PostMessageW(box, WM_COMMAND, IDYES, 0);
                answered = true;
            }
            ::Sleep(10);
        }
    });
    scribe.Close();
    answering.join();
    EXPECT_EQ(asked, kSaveQuestion);
    EXPECT_FALSE(::IsWindow(dialog));
    EXPECT_FALSE(scribe.IsOpen());
    EXPECT_TRUE(FileMacros(file).empty());
}

TEST_F(MacrosDlgTest, AThousandMacrosOpenScrollAndSaveWithoutAStall) {
    gw::MacroMap macros;
    for (int i = 0; i < 1000; ++i) {
        const std::u16string number = FromWide(std::to_wstring(1000 + i));
        macros.emplace(u"k" + number, u"content of macro " + number + u"\rsecond line");
    }
    Open(macros);
    ASSERT_EQ(ItemCount(), 1000);
    // Each step is answered at once: the dialog never stops taking messages for long.
    const auto responsive = [this] {
        DWORD_PTR result = 0;
        return ::SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result) != 0;
    };
    ListView_EnsureVisible(list, 999, FALSE);
    EXPECT_TRUE(responsive());
    EXPECT_GT(ListView_GetTopIndex(list), 900);
    EXPECT_EQ(ItemText(999, 0), L"k1999");
    wintest::PumpFor(200);
    EXPECT_TRUE(wintest::WriteBmp(wintest::CaptureWindow(dialog), "macro-scribe-long.bmp"));
    Select({0, 500, 999});
    Click(dialog, IDC_MACRO_DELETE);
    EXPECT_TRUE(responsive());
    Click(dialog, IDOK);
    EXPECT_TRUE(responsive());
    EXPECT_EQ(FileMacros(file).size(), 997u);
    EXPECT_EQ(CloseAnswering(IDYES), L"");
}

} // namespace
