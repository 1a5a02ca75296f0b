#include "shell/MainFrameCommands.h"

#include "resources/resource.h"

#include <algorithm>

namespace gw {

const std::array<unsigned, 6> kSizeCommands = {ID_SIZE_1, ID_SIZE_2, ID_SIZE_3,
                                               ID_SIZE_4, ID_SIZE_5, ID_SIZE_6};
const std::array<unsigned, 3> kModeCommands = {ID_MODE_NORMAL, ID_MODE_HORIZONTAL,
                                               ID_MODE_VERTICAL};
const std::array<unsigned, 10> kTransparencyCommands = {
    ID_TRANSPARENCY_0,  ID_TRANSPARENCY_10, ID_TRANSPARENCY_20, ID_TRANSPARENCY_30,
    ID_TRANSPARENCY_40, ID_TRANSPARENCY_50, ID_TRANSPARENCY_60, ID_TRANSPARENCY_70,
    ID_TRANSPARENCY_80, ID_TRANSPARENCY_90};

namespace {

template <std::size_t N>
std::optional<std::uint32_t> IndexOf(const std::array<unsigned, N>& commands, unsigned command) {
    const auto found = std::find(commands.begin(), commands.end(), command);
    if (found == commands.end())
        return std::nullopt;
    return static_cast<std::uint32_t>(found - commands.begin());
}

bool Bit(std::uint32_t bits, std::uint32_t index) {
    return index < 32 && ((bits >> index) & 1u) != 0;
}

} // namespace

std::optional<std::uint32_t> KeyboardSizeForCommand(unsigned command) {
    const auto index = IndexOf(kSizeCommands, command);
    return index ? std::optional<std::uint32_t>(*index + 1) : std::nullopt;
}

std::optional<std::uint32_t> KeyboardStateForCommand(unsigned command) {
    return IndexOf(kModeCommands, command);
}

std::optional<std::uint32_t> TransparencyForCommand(unsigned command) {
    const auto index = IndexOf(kTransparencyCommands, command);
    return index ? std::optional<std::uint32_t>(*index * 10) : std::nullopt;
}

std::optional<MenuItemState> MenuItemUpdate(unsigned command, const MenuUpdateInput& input) {
    if (const auto size = KeyboardSizeForCommand(command)) {
        // A stored state outside 0..2 has no available sizes.
        const std::uint32_t sizes = input.keyboardState < input.availableSizes.size()
                                        ? input.availableSizes[input.keyboardState]
                                        : 0;
        return MenuItemState{Bit(sizes, *size - 1), input.keyboardSize == *size};
    }
    if (const auto state = KeyboardStateForCommand(command))
        return MenuItemState{Bit(input.availableModes, *state), input.keyboardState == *state};
    if (const auto transparency = TransparencyForCommand(command))
        return MenuItemState{true, input.transparency == *transparency};
    return std::nullopt;
}

CloseAction CloseActionFor(bool minimizeToTray, bool exitRequested) {
    return minimizeToTray && !exitRequested ? CloseAction::kMinimize : CloseAction::kClose;
}

unsigned TrayIconFor(bool matchShown, bool frameMinimized) {
    return matchShown && frameMinimized ? IDI_MACRO_MATCH : IDR_MAINFRAME;
}

MacroMatchDisplay MacroMatchDisplayFor(bool matchShown, bool frameMinimized, bool minimizeToTray) {
    MacroMatchDisplay display;
    if (!frameMinimized)
        display.window =
            matchShown ? MacroWindowAction::kShowOnTop : MacroWindowAction::kHideAndRaiseFrame;
    if (minimizeToTray)
        display.trayIcon = TrayIconFor(matchShown, frameMinimized);
    else if (frameMinimized)
        display.smallIcon = matchShown ? IDI_MACRO_MATCH : IDR_MAINFRAME;
    return display;
}

} // namespace gw
