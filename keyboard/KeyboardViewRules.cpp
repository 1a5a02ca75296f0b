#include "keyboard/KeyboardViewRules.h"

#include <algorithm>

namespace gw {

namespace {
constexpr int kTraceHalfSizes[kSizeCount] = {2, 3, 4, 4, 4, 4};
constexpr int kTraceWidths[kSizeCount] = {2, 2, 3, 3, 3, 3};

int SizeIndex(int size) {
    return std::clamp(size, 1, kSizeCount) - 1;
}
} // namespace

int ChoosePicture(KeyboardState state, bool letterSide, bool busyKeyboard,
                  std::uint32_t shiftIndicator) {
    const bool shifted = shiftIndicator != 0;
    if (state == kNormal && !letterSide)
        return shifted ? kPicUpperNumber : kPicNumber;
    if (state == kNormal && busyKeyboard)
        return shifted ? kPicUpperBusy : kPicLowerBusy;
    return shifted ? kPicUpperCase : kPicLowerCase;
}

int TraceDotHalfSize(int size) {
    return kTraceHalfSizes[SizeIndex(size)];
}

int TraceLineWidth(int size) {
    return kTraceWidths[SizeIndex(size)];
}

std::vector<HighlightDraw> HighlightsToDraw(const OutputState& modifiers, bool longDragPending,
                                            bool macroMatchShown, const KeyGeometry& geometry) {
    std::vector<HighlightDraw> draws;
    auto add = [&](int picture, int highlight) {
        draws.push_back({picture, geometry.highlights[static_cast<std::size_t>(highlight)]});
    };
    if (longDragPending)
        add(kPicMemStore, kMemoryHighlight);
    else if (macroMatchShown)
        add(kPicMemRecall, kMemoryHighlight);

    if (modifiers.altState == kLatchOneShot)
        add(kPicAltInternal, kAltHighlight);
    else if (modifiers.altState == kLatchHeld)
        add(kPicAltExternal, kAltHighlight);

    if (modifiers.ctrlState == kLatchOneShot)
        add(kPicCtrlInternal, kCtrlHighlight);
    else if (modifiers.ctrlState == kLatchHeld)
        add(kPicCtrlExternal, kCtrlHighlight);

    switch (modifiers.shiftMode) {
    case kShiftOneShot:
        add(kPicShiftInternal, kShiftHighlight);
        break;
    case kShiftHeld:
        add(kPicShiftExternal, kShiftHighlight);
        break;
    case kShiftCaps:
        add(kPicCapsLockInternal, kCapsLockHighlight);
        break;
    case kShiftCapsLock:
        add(kPicCapsLockExternal, kCapsLockHighlight);
        break;
    default:
        break;
    }

    if (modifiers.windowsOneShot)
        add(kPicWinFlag, kWinFlagHighlight);
    return draws;
}

AvailableSizes ComputeAvailableSizes(const PictureSizeSource& lowerCasePicture, Size workArea,
                                     const FrameMargins& margins) {
    AvailableSizes available{};
    for (int state = 0; state < kStateCount; ++state) {
        for (int size = 1; size <= kSizeCount; ++size) {
            const Size picture = lowerCasePicture(static_cast<KeyboardState>(state), size);
            if (SizeFitsWorkArea(picture, workArea, margins))
                available[static_cast<std::size_t>(state)] |= 1u << (size - 1);
        }
    }
    return available;
}

bool IsSizeAvailable(const AvailableSizes& available, int state, int size) {
    if (state < 0 || state >= kStateCount || size < 1 || size > kSizeCount)
        return false;
    return (available[static_cast<std::size_t>(state)] >> (size - 1)) & 1u;
}

int SettleSize(const AvailableSizes& available, int state, int size) {
    if (IsSizeAvailable(available, state, size))
        return size;
    for (int smaller = std::min(size, kSizeCount + 1) - 1; smaller >= 1; --smaller) {
        if (IsSizeAvailable(available, state, smaller))
            return smaller;
    }
    for (int larger = std::max(size, 0) + 1; larger <= kSizeCount; ++larger) {
        if (IsSizeAvailable(available, state, larger))
            return larger;
    }
    return size;
}

} // namespace gw
