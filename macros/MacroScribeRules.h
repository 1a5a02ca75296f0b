#pragma once
// The rules of the Macro Scribe dialogs: how the list shows a macro, what the Edit Macro
// dialog accepts, and the edits of the dialog's working copy of the macros. The dialogs
// themselves are in win/.
#include "macros/MacroFile.h"

#include <string>
#include <string_view>
#include <vector>

namespace gw {

// The characters a long drag can type; their one-character macros are marked in the list.
inline constexpr std::u16string_view kDragCharacters =
    u"-v$a`^\u00B4+/l\\!?x=\u20AC{([%k_qupcgdjbm|@])}~\u00A8y<*\"w'z,.:f#;&\u00B0>";

// True when the key is one character of the drag character set.
bool ShowsMacroBadge(std::u16string_view key);

// The content as the list shows it: line breaks as "<CR>", tabs as "<TAB>".
std::u16string ListedContent(std::u16string_view content);

// The content in and out of the multi-line edit field: a stored line break is one carriage
// return, the edit field's is CR LF.
std::u16string ContentToEditText(std::u16string_view content);
std::u16string ContentFromEditText(std::u16string_view text);

// The Edit Macro dialog's fields: OK is possible only with a key and a content, and a key
// holds no white space (tab, line feed, vertical tab, form feed, carriage return, space).
struct MacroFieldsCheck {
    bool acceptable = false;
    bool keyHasWhiteSpace = false;
};
MacroFieldsCheck CheckMacroFields(std::u16string_view key, std::u16string_view content);

// The question asked before a macro replaces another of the same key.
std::u16string ReplaceMacroQuestion(std::u16string_view key);
inline constexpr std::u16string_view kSaveChangesQuestion =
    u"You have made changes to your macros.\nDo you want to save these changes?";

// "Macro Scribe", followed by " - " and the current macro file when one was chosen.
std::u16string MacroScribeTitle(std::u16string_view currentMacroFile);

// The working copy's edits. Each stores the key in the spelling given, so a macro can be
// renamed to another letter case.

// True when storing under the key would replace a macro other than the one edited (empty
// editedKey: a new macro).
bool ReplacesOtherMacro(const MacroMap& macros, std::u16string_view editedKey,
                        std::u16string_view key);
// A new macro, replacing one of the same key.
void StoreNewMacro(MacroMap& macros, std::u16string_view key, std::u16string_view content);
// The edited macro becomes key -> content, replacing any macro of that key. True when the
// key (in any letter) or the content changed.
bool StoreEditedMacro(MacroMap& macros, std::u16string_view editedKey, std::u16string_view key,
                      std::u16string_view content);
// Removes the macros of the keys.
void RemoveMacros(MacroMap& macros, const std::vector<std::u16string>& keys);
// Every macro of the source goes into the working copy; its own other macros stay.
void TakeMacros(MacroMap& macros, const MacroMap& source);

} // namespace gw
