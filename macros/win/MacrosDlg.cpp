#include "macros/win/MacrosDlg.h"

#include "framework/win/CommonControls.h"
#include "framework/win/CommonDialogs.h"
#include "framework/win/ThreadInput.h"
#include "framework/win/WideString.h"
#include "framework/win/Window.h"
#include "hook/HookRing.h"
#include "macros/MacroScribeRules.h"
#include "resources/resource.h"

#include <utility>

namespace {

// Posted to the dialog by itself, the listener and the send watcher.
constexpr UINT WM_GW_NEW_MACRO = WM_APP + 2;
constexpr UINT WM_GW_ECHO_ENDED = WM_APP + 3;
constexpr UINT WM_GW_SEND_ENDED = WM_APP + 4;

constexpr int kKeyColumnWidth = 100;
constexpr wchar_t kQuestionCaption[] = L"Glyphwell";
constexpr wchar_t kFileFilter[] = L"Macro Scribe Files (*.msb)\0*.msb\0All (*.*)\0*.*\0";

std::atomic<bool> g_scribeRunning{false};

std::uint32_t PackedHotKey(const gw::MacroSettings& settings) {
    return static_cast<std::uint32_t>(settings.hotKeyModifiers) << 16 | settings.hotKeyVk;
}

// The path the user chose in the system's file dialog, or nothing when it was cancelled.
std::wstring ChooseMacroFile(HWND owner, bool save) {
    wchar_t path[MAX_PATH] = {};
    OPENFILENAMEW file{};
    file.lStructSize = sizeof(file);
    file.hwndOwner = owner;
    file.lpstrFilter = kFileFilter;
    file.lpstrFile = path;
    file.nMaxFile = MAX_PATH;
    file.lpstrDefExt = L"msb";
    file.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (save) {
        file.lpstrTitle = L"Macro Scribe Save File";
        file.Flags |= OFN_OVERWRITEPROMPT;
        return ShowSaveFileDialog(file) ? path : L"";
    }
    file.lpstrTitle = L"Macro Scribe Load File";
    file.Flags |= OFN_FILEMUSTEXIST;
    return ShowOpenFileDialog(file) ? path : L"";
}

int Ask(HWND owner, const std::u16string& question, UINT buttons) {
    return ::MessageBoxW(owner, ToWide(question).c_str(), kQuestionCaption,
                         buttons | MB_ICONQUESTION);
}

} // namespace

// --- the list ---------------------------------------------------------------------------------

LRESULT CMacroListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = Default(message, wParam, lParam);
    if (message == WM_LBUTTONDBLCLK && onDoubleClick)
        onDoubleClick({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
    return result;
}

CMacrosDlg::CMacrosDlg(CMacroScribeHost& host, std::uint8_t newKey, std::u16string key)
    : CDialog(IDD_MACROS, nullptr), host_(host), newMacro_(newKey != 0),
      newMacroKey_(std::move(key)), threadId_(::GetCurrentThreadId()) {
    const std::lock_guard<std::mutex> lock(stateLock_);
    TrackTarget();
}

CMacrosDlg::~CMacrosDlg() {
    host_.RemoveHookEventListener(&listener_);
    StopSendWatcher();
}

INT_PTR CMacrosDlg::RunModal() {
    if (g_scribeRunning.exchange(true))
        return IDCANCEL;
    host_.AddHookEventListener(&listener_);
    const INT_PTR result = DoModal();
    host_.RemoveHookEventListener(&listener_);
    g_scribeRunning = false;
    return result;
}

bool CMacrosDlg::OnInitDialog() {
    HWND dialog = GetSafeHwnd();
    SetUpList();
    macros_ = host_.Store().Macros();
    FillList();
    ::SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    MeasureLayout();
    const gw::MacroSettings settings = host_.MacroSettings();
    if (settings.macroDlgX != 0)
        ::SetWindowPos(dialog, nullptr, 0, 0, static_cast<int>(settings.macroDlgX),
                       static_cast<int>(settings.macroDlgY),
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (settings.hotKeyVk != 0)
        ::SendMessageW(GetDlgItem(IDC_MACRO_HOTKEY), HKM_SETHOTKEY,
                       MAKEWORD(settings.hotKeyVk, settings.hotKeyModifiers), 0);
    initialised_ = true;
    ShowTitle();
    for (const bool small : {false, true})
        ::SendMessageW(GetSafeHwnd(), WM_SETICON, small ? ICON_SMALL : ICON_BIG,
                       reinterpret_cast<LPARAM>(ProgramIcon(IDR_MAINFRAME, small)));
    return true;
}

void CMacrosDlg::SetUpList() {
    list_.SubclassDlgItem(IDC_MACRO_LIST, GetSafeHwnd());
    list_.onDoubleClick = [this](POINT at) { OnListDoubleClick(at); };
    HWND list = list_.GetSafeHwnd();
    ListView_SetExtendedListViewStyle(list, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    wchar_t keyTitle[] = L"Key";
    wchar_t contentTitle[] = L"Content";
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = LVCFMT_LEFT;
    column.cx = kKeyColumnWidth;
    column.pszText = keyTitle;
    ListView_InsertColumn(list, 0, &column);
    column.pszText = contentTitle;
    ListView_InsertColumn(list, 1, &column);
    FitContentColumn();
    images_ = ImageListLoadImage(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_MACRO_BADGES),
                                 16, 0, RGB(0, 0, 0), IMAGE_BITMAP, LR_CREATEDIBSECTION);
    // The list destroys its image lists with itself.
    ListView_SetImageList(list, images_, LVSIL_SMALL);
}

void CMacrosDlg::FillList() {
    HWND list = list_.GetSafeHwnd();
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    ListView_SetItemCountEx(list, macros_.size(), LVSICF_NOINVALIDATEALL);
    int index = 0;
    for (const auto& [key, content] : macros_) {
        std::wstring keyText = ToWide(key);
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = index;
        item.pszText = keyText.data();
        item.iImage = gw::ShowsMacroBadge(key) ? 1 : 0;
        ListView_InsertItem(list, &item);
        std::wstring listed = ToWide(gw::ListedContent(content));
        ListView_SetItemText(list, index, 1, listed.data());
        ++index;
    }
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
    UpdateButtons();
}

void CMacrosDlg::UpdateButtons() {
    const int selected = SelectedCount();
    ::EnableWindow(GetDlgItem(IDC_MACRO_EDIT), selected == 1);
    ::EnableWindow(GetDlgItem(IDC_MACRO_DELETE), selected >= 1);
}

int CMacrosDlg::SelectedCount() const {
    return static_cast<int>(ListView_GetSelectedCount(list_.GetSafeHwnd()));
}

std::vector<int> CMacrosDlg::SelectedItems() const {
    std::vector<int> items;
    HWND list = list_.GetSafeHwnd();
    for (int item = ListView_GetNextItem(list, -1, LVNI_SELECTED); item >= 0;
         item = ListView_GetNextItem(list, item, LVNI_SELECTED))
        items.push_back(item);
    return items;
}

std::u16string CMacrosDlg::ItemKey(int item) const {
    std::wstring text(256, L'\0');
    for (;;) {
        LVITEMW request{};
        request.iSubItem = 0;
        request.pszText = text.data();
        request.cchTextMax = static_cast<int>(text.size());
        const auto length = static_cast<std::size_t>(::SendMessageW(
            list_.GetSafeHwnd(), LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(&request)));
        if (length + 1 < text.size()) {
            text.resize(length);
            return FromWide(text);
        }
        text.resize(text.size() * 2);
    }
}

void CMacrosDlg::FitContentColumn() {
    HWND list = list_.GetSafeHwnd();
    RECT client{};
    ::GetClientRect(list, &client);
    ListView_SetColumnWidth(list, 1, client.right - ListView_GetColumnWidth(list, 0));
}

// --- New, Edit, Delete ------------------------------------------------------------------------

bool CMacrosDlg::RunEditDialog(std::u16string& key, std::u16string& content,
                               const std::u16string& title) {
    const gw::MacroSettings settings = host_.MacroSettings();
    CEditMacroDlg edit(key, content, title, {settings.macroEditDlgX, settings.macroEditDlgY});
    HWND dialog = GetSafeHwnd();
    ::EnableWindow(dialog, FALSE);
    const bool accepted = edit.DoModal() == IDOK;
    ::EnableWindow(dialog, TRUE);
    ::SetForegroundWindow(dialog);
    const CEditMacroDlg::Size size = edit.LastSize();
    host_.ChangeMacroSettings(
        [size](gw::MacroSettings& changed) {
            changed.macroEditDlgX = size.width;
            changed.macroEditDlgY = size.height;
        },
        false);
    if (accepted) {
        key = edit.Key();
        content = edit.Content();
    }
    return accepted;
}

bool CMacrosDlg::ConfirmReplace(const std::u16string& key) {
    return Ask(GetSafeHwnd(), gw::ReplaceMacroQuestion(key), MB_YESNO) == IDYES;
}

void CMacrosDlg::NewMacro(const std::u16string& key) {
    std::u16string newKey = key;
    std::u16string content;
    if (!RunEditDialog(newKey, content, u"New Macro"))
        return;
    if (gw::ReplacesOtherMacro(macros_, u"", newKey) && !ConfirmReplace(newKey))
        return;
    gw::StoreNewMacro(macros_, newKey, content);
    SetModified();
    FillList();
}

void CMacrosDlg::EditMacro() {
    const std::vector<int> selected = SelectedItems();
    if (selected.size() != 1)
        return;
    const std::u16string edited = ItemKey(selected.front());
    const auto found = macros_.find(edited);
    if (found == macros_.end())
        return;
    std::u16string key = found->first;
    std::u16string content = found->second;
    if (!RunEditDialog(key, content, u""))
        return;
    if (gw::ReplacesOtherMacro(macros_, edited, key) && !ConfirmReplace(key))
        return;
    if (gw::StoreEditedMacro(macros_, edited, key, content))
        SetModified();
    FillList();
}

void CMacrosDlg::DeleteMacros() {
    const std::vector<int> selected = SelectedItems();
    if (selected.empty())
        return;
    std::vector<std::u16string> keys;
    for (int item : selected)
        keys.push_back(ItemKey(item));
    gw::RemoveMacros(macros_, keys);
    for (auto item = selected.rbegin(); item != selected.rend(); ++item)
        ListView_DeleteItem(list_.GetSafeHwnd(), *item);
    SetModified();
    UpdateButtons();
}

// Right of the Key column a double click sends the macro; on it, it edits the one selected
// macro, or makes a new one when none is selected.
void CMacrosDlg::OnListDoubleClick(POINT at) {
    HWND list = list_.GetSafeHwnd();
    HWND header = ListView_GetHeader(list);
    RECT keyColumn{};
    Header_GetItemRect(header, 0, &keyColumn);
    ::MapWindowPoints(header, list, reinterpret_cast<POINT*>(&keyColumn), 2);
    if (at.x > keyColumn.right) {
        SendSelectedMacro();
        return;
    }
    const int selected = SelectedCount();
    if (selected == 1)
        EditMacro();
    else if (selected == 0)
        NewMacro(u"");
}

// --- saving and loading -----------------------------------------------------------------------

std::uint32_t CMacrosDlg::HotKeyInControl() const {
    const auto value =
        static_cast<WORD>(::SendMessageW(GetDlgItem(IDC_MACRO_HOTKEY), HKM_GETHOTKEY, 0, 0));
    return static_cast<std::uint32_t>(HIBYTE(value)) << 16 | LOBYTE(value);
}

bool CMacrosDlg::IsModified() const {
    return modified_ || HotKeyInControl() != PackedHotKey(host_.MacroSettings());
}

// The working copy becomes the store's macros and is written to the current macro file; the
// hot key is saved and registered again. False when the file could not be written (the store
// said so to the user): the changes still count as unsaved.
bool CMacrosDlg::Apply() {
    CMacroStore& store = host_.Store();
    store.ReplaceMacros(macros_);
    const bool saved = store.SaveMacros(GetSafeHwnd());
    const std::uint32_t hotKey = HotKeyInControl();
    host_.ChangeMacroSettings(
        [hotKey](gw::MacroSettings& changed) {
            changed.hotKeyVk = static_cast<std::uint16_t>(hotKey & 0xFFFF);
            changed.hotKeyModifiers = static_cast<std::uint16_t>(hotKey >> 16);
        },
        true);
    host_.MacroHotKeyChanged();
    if (saved)
        modified_ = false;
    return saved;
}

void CMacrosDlg::SetCurrentFile(const std::u16string& path) {
    host_.ChangeMacroSettings(
        [&path](gw::MacroSettings& changed) { changed.currentMacroFilename = path; }, true);
}

bool CMacrosDlg::Save() {
    if (host_.MacroSettings().currentMacroFilename.empty())
        return SaveAs();
    return Apply();
}

// A file that could not be written does not become the current macro file.
bool CMacrosDlg::SaveAs() {
    const std::wstring path = ChooseMacroFile(GetSafeHwnd(), true);
    if (path.empty())
        return false;
    const std::u16string previous = host_.MacroSettings().currentMacroFilename;
    SetCurrentFile(FromWide(path));
    if (!Apply()) {
        SetCurrentFile(previous);
        return false;
    }
    ShowTitle();
    return true;
}

// A file that cannot be read does not become the current macro file.
void CMacrosDlg::Load() {
    if (!OfferToSave(MB_YESNOCANCEL))
        return;
    const std::wstring path = ChooseMacroFile(GetSafeHwnd(), false);
    if (path.empty())
        return;
    const std::u16string previous = host_.MacroSettings().currentMacroFilename;
    SetCurrentFile(FromWide(path));
    CMacroStore& store = host_.Store();
    if (!store.LoadMacros()) {
        SetCurrentFile(previous);
        const std::wstring text = L"The macros could not be loaded from\n" + path;
        ::MessageBoxW(GetSafeHwnd(), text.c_str(), L"Macro Scribe", MB_OK | MB_ICONERROR);
        return;
    }
    gw::TakeMacros(macros_, store.Macros());
    FillList();
    ShowTitle();
    modified_ = false;
}

bool CMacrosDlg::OfferToSave(UINT buttons) {
    if (!IsModified())
        return true;
    const int answer = Ask(GetSafeHwnd(), std::u16string(gw::kSaveChangesQuestion), buttons);
    if (answer == IDCANCEL)
        return false;
    return answer != IDYES || Apply();
}

void CMacrosDlg::ShowTitle() {
    const std::wstring title =
        ToWide(gw::MacroScribeTitle(host_.MacroSettings().currentMacroFilename));
    ::SetWindowTextW(GetSafeHwnd(), title.c_str());
}

void CMacrosDlg::OnOK() {
    Save();
}

void CMacrosDlg::OnCancel() {
    if (OfferToSave(MB_YESNOCANCEL))
        Close();
}

void CMacrosDlg::Close() {
    host_.RemoveHookEventListener(&listener_);
    StopSendWatcher();
    EndDialog(IDCANCEL);
}

// --- sending ----------------------------------------------------------------------------------

// The foreground window of another program and the window in it that has the focus. The
// keyboard's own windows, Macro Scribe's among them, are never the target. Under stateLock_.
void CMacrosDlg::TrackTarget() {
    HWND foreground = ::GetForegroundWindow();
    DWORD process = 0;
    const DWORD thread = foreground ? ::GetWindowThreadProcessId(foreground, &process) : 0;
    if (!foreground || process == ::GetCurrentProcessId())
        return;
    targetWindow_ = foreground;
    HWND focus = nullptr;
    if (FocusOfThread(thread, focus))
        targetControl_ = focus;
}

void CMacrosDlg::SendSelectedMacro() {
    const std::vector<int> selected = SelectedItems();
    if (selected.empty())
        return;
    const auto found = macros_.find(ItemKey(selected.front()));
    if (found == macros_.end())
        return;
    HWND target = nullptr;
    HWND control = nullptr;
    {
        const std::lock_guard<std::mutex> lock(stateLock_);
        target = targetWindow_;
        control = targetControl_;
        echoWait_ = true;
        echoIndex_ = 0;
        echoContent_ = found->second;
    }
    // The typed characters go to the foreground window: the target takes it back.
    if (control && ::GetWindowThreadProcessId(control, nullptr) != threadId_)
        SetFocusOfThread(control);
    if (target && ::IsWindow(target))
        ::SetForegroundWindow(target);
    CMacroStore& store = host_.Store();
    store.SendMacro(found->first, found->second);
    HWND dialog = GetSafeHwnd();
    ::EnableWindow(dialog, FALSE);
    StopSendWatcher();
    stopWatching_ = false;
    sendWatcher_ = std::thread([this, &store, dialog] {
        while (!stopWatching_) {
            ::Sleep(100);
            if (!store.IsSending()) {
                ::PostMessageW(dialog, WM_GW_SEND_ENDED, 0, 0);
                return;
            }
        }
    });
}

void CMacrosDlg::StopSendWatcher() {
    stopWatching_ = true;
    if (sendWatcher_.joinable())
        sendWatcher_.join();
}

// Under stateLock_. The echo is followed against the content sent: the store empties its
// matched content on every change of focus, and giving the target the focus makes one.
void CMacrosDlg::OnEchoCharacter(std::uint32_t ch) {
    if (ch != 8 && echoIndex_ < echoContent_.size() && ch == echoContent_[echoIndex_]) {
        ++echoIndex_;
        if (echoIndex_ < echoContent_.size())
            return;
    }
    echoIndex_ = 0;
    echoWait_ = false;
    ::PostMessageW(GetSafeHwnd(), WM_GW_ECHO_ENDED, 0, 0);
}

void CMacrosDlg::CListener::OnHookEvent(const gw::HookEvent& event) {
    const std::lock_guard<std::mutex> lock(dialog_.stateLock_);
    if (event.message == gw::hookmsg::kSetFocus &&
        ::IsWindow(static_cast<HWND>(gw::HandleFromShared(event.window))))
        dialog_.TrackTarget();
    else if (event.message == gw::hookmsg::kChar && dialog_.echoWait_)
        dialog_.OnEchoCharacter(event.wParam);
}

// --- resizing ---------------------------------------------------------------------------------

void CMacrosDlg::MeasureLayout() {
    HWND dialog = GetSafeHwnd();
    constexpr unsigned kButton = layout::kMoveRight;
    layout_.Measure(dialog, {{IDC_MACRO_LIST, layout::kStretchWidth | layout::kStretchHeight},
                             {IDCANCEL, kButton},
                             {IDOK, kButton},
                             {IDC_MACRO_SAVE_AS, kButton},
                             {IDC_MACRO_LOAD, kButton},
                             {IDC_MACRO_NEW, kButton},
                             {IDC_MACRO_EDIT, kButton},
                             {IDC_MACRO_DELETE, kButton},
                             {IDC_MACRO_HOTKEY_LABEL, layout::kMoveDown},
                             {IDC_MACRO_HOTKEY, layout::kMoveDown | layout::kStretchWidth}});
    RECT window{};
    ::GetWindowRect(dialog, &window);
    POINT clientOrigin{0, 0};
    ::ClientToScreen(dialog, &clientOrigin);
    const int clientTop = clientOrigin.y - window.top;
    const SIZE client = layout_.MeasuredClient();
    const RECT list = layout_.Measured(IDC_MACRO_LIST);
    const RECT save = layout_.Measured(IDOK);
    const RECT remove = layout_.Measured(IDC_MACRO_DELETE);
    // The list at least 200 pixels wide; the buttons down to Delete, with about the margin
    // above Save below them.
    const int frameWidth = window.right - window.left - client.cx;
    minimum_ = {frameWidth + list.left + (client.cx - list.right) + 200,
                clientTop + remove.bottom + clientTop + save.top -
                    ::GetSystemMetrics(SM_CYCAPTION) - ::GetSystemMetrics(SM_CYEDGE)};
    laidOut_ = true;
}

void CMacrosDlg::OnSize() {
    if (!laidOut_)
        return;
    layout_.Apply();
    FitContentColumn();
    if (!initialised_)
        return;
    RECT window{};
    ::GetWindowRect(GetSafeHwnd(), &window);
    const auto width = static_cast<std::uint32_t>(window.right - window.left);
    const auto height = static_cast<std::uint32_t>(window.bottom - window.top);
    host_.ChangeMacroSettings(
        [width, height](gw::MacroSettings& changed) {
            changed.macroDlgX = width;
            changed.macroDlgY = height;
        },
        false);
}

// --- messages ---------------------------------------------------------------------------------

void CMacrosDlg::OnCommand(int id) {
    switch (id) {
    case IDC_MACRO_SAVE_AS:
        SaveAs();
        break;
    case IDC_MACRO_LOAD:
        Load();
        break;
    case IDC_MACRO_NEW:
        NewMacro(u"");
        break;
    case IDC_MACRO_EDIT:
        EditMacro();
        break;
    case IDC_MACRO_DELETE:
        DeleteMacros();
        break;
    default:
        break;
    }
}

INT_PTR CMacrosDlg::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) {
            OnCommand(LOWORD(wParam));
            return TRUE;
        }
        break;
    case WM_NOTIFY: {
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.idFrom == IDC_MACRO_LIST && header.code == LVN_ITEMCHANGED) {
            UpdateButtons();
            return TRUE;
        }
        if (header.code == HDN_ENDTRACKW || header.code == HDN_ENDTRACKA) {
            const auto& track = *reinterpret_cast<const NMHEADERW*>(lParam);
            if (track.iItem == 0 && track.pitem && (track.pitem->mask & HDI_WIDTH)) {
                RECT client{};
                ::GetClientRect(list_.GetSafeHwnd(), &client);
                ListView_SetColumnWidth(list_.GetSafeHwnd(), 1, client.right - track.pitem->cxy);
                ::InvalidateRect(GetSafeHwnd(), nullptr, TRUE);
            }
            return TRUE;
        }
        break;
    }
    case WM_SIZE:
        OnSize();
        return TRUE;
    case WM_GETMINMAXINFO:
        if (laidOut_)
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {minimum_.cx, minimum_.cy};
        return TRUE;
    case WM_PAINT:
        // Once shown, a recall without a matching macro opens New Macro with the typed key.
        if (newMacro_) {
            newMacro_ = false;
            ::PostMessageW(GetSafeHwnd(), WM_GW_NEW_MACRO, 0, 0);
        }
        return FALSE;
    case WM_GW_NEW_MACRO:
        NewMacro(std::exchange(newMacroKey_, std::u16string()));
        return TRUE;
    case WM_GW_ECHO_ENDED:
        ::SetForegroundWindow(GetSafeHwnd());
        return TRUE;
    case WM_GW_SEND_ENDED:
        StopSendWatcher();
        ::EnableWindow(GetSafeHwnd(), TRUE);
        return TRUE;
    case WM_GW_END_MACRO_SCRIBE:
        if (!ending_) {
            ending_ = true;
            OfferToSave(MB_YESNO);
            Close();
        }
        return TRUE;
    default:
        break;
    }
    return CDialog::DialogProc(message, wParam, lParam);
}
