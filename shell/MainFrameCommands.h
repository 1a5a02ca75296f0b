#pragma once
// The main frame's menu commands as data: which size, state or transparency a command selects,
// the enabled and checked states of the menu items when a menu opens, and the frame's
// decisions on closing and on a change of the macro match.
#include <array>
#include <cstdint>
#include <optional>

namespace gw {

// Command identifiers of the Size items for sizes 1..6, of the Mode items by state (Normal,
// Horizontal, Vertical) and of the Transparency items for 0%, 10% .. 90%.
extern const std::array<unsigned, 6> kSizeCommands;
extern const std::array<unsigned, 3> kModeCommands;
extern const std::array<unsigned, 10> kTransparencyCommands;

// The value a command selects, or nothing when it is not one of that group.
std::optional<std::uint32_t> KeyboardSizeForCommand(unsigned command);
std::optional<std::uint32_t> KeyboardStateForCommand(unsigned command);
std::optional<std::uint32_t> TransparencyForCommand(unsigned command);

// What the update rules read.
struct MenuUpdateInput {
    std::uint32_t keyboardState = 0;
    std::uint32_t keyboardSize = 3;
    std::uint32_t transparency = 0;
    std::array<std::uint32_t, 3> availableSizes{}; // per state, bit s - 1 for size s
    std::uint32_t availableModes = 0;              // bit per state
};

struct MenuItemState {
    bool enabled = true;
    bool checked = false;
    bool operator==(const MenuItemState&) const = default;
};

// The state of a Size, Mode or Transparency item when its menu opens; nothing for every other
// command (they are always enabled and never checked). A Size item is enabled when that size
// is available in the current state and checked when it is the current size; a Mode item is
// enabled when its state is available and checked when it is current; a Transparency item is
// checked when it is the current transparency.
std::optional<MenuItemState> MenuItemUpdate(unsigned command, const MenuUpdateInput& input);

// WM_CLOSE: with "MinimizeToTray" on, only "&Exit" closes; any other close minimizes.
enum class CloseAction { kMinimize, kClose };
CloseAction CloseActionFor(bool minimizeToTray, bool exitRequested);

// OnMacroMatchChanged, after the view is repainted: what happens to the macro content window
// and to the icons.
enum class MacroWindowAction { kLeave, kShowOnTop, kHideAndRaiseFrame };
struct MacroMatchDisplay {
    MacroWindowAction window = MacroWindowAction::kLeave;
    unsigned trayIcon = 0;  // icon resource for the tray icon; 0 leaves it
    unsigned smallIcon = 0; // icon resource to set as the frame's small icon; 0 leaves it
    bool operator==(const MacroMatchDisplay&) const = default;
};
MacroMatchDisplay MacroMatchDisplayFor(bool matchShown, bool frameMinimized, bool minimizeToTray);
// The tray icon shows the match only while the keyboard is minimized.
unsigned TrayIconFor(bool matchShown, bool frameMinimized);

} // namespace gw
