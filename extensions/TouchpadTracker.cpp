#include "extensions/TouchpadTracker.h"

namespace gw {

namespace {

std::uint16_t Read16(std::span<const std::uint8_t, kPacketSize> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

} // namespace

TouchpadPacket ReadTouchpadPacket(std::span<const std::uint8_t, kPacketSize> bytes) {
    return {bytes[kPacketFlagsOffset], Read16(bytes, kPacketXOffset), Read16(bytes, kPacketYOffset),
            Read16(bytes, kPacketZOffset), Read16(bytes, kPacketReservedOffset)};
}

void TouchpadTracker::SetKeyboard(TouchpadKeyboardPort* keyboard) {
    keyboard_ = keyboard;
    CutAreas();
}

void TouchpadTracker::SetPlacement(const TouchpadPlacement& placement) {
    placement_ = placement;
    CutAreas();
}

void TouchpadTracker::CutAreas() {
    areas_.Build(placement_, keyboard_ ? keyboard_->GetLetterSide() : true);
}

void TouchpadTracker::OnPacket(const TouchpadPacket& packet, bool ownDevice,
                               std::uint16_t threshold) {
    if (!keyboard_)
        return;
    PrepareKeyboard();
    if (!ownDevice || !(packet.flags & kPacketFingerFlag) || packet.reserved != 0)
        return;
    const int limit = threshold * kPressureFactor;
    const Point at{packet.x, packet.y};
    if (!strokeInProgress_) {
        if (packet.z > limit)
            Touch(at);
        return;
    }
    Follow(at, packet.z >= limit);
}

// The first packet since the touchpad took over puts the keyboard into the one shape its areas
// follow: Normal, and no other state allowed.
void TouchpadTracker::PrepareKeyboard() {
    if (keyboard_->GetExternalPointer())
        return;
    keyboard_->SetStateAllowed(kHorizontal, false);
    keyboard_->SetStateAllowed(kVertical, false);
    keyboard_->SetStateAllowed(kNormal, true);
    keyboard_->SetKeyboardStateNormal();
    keyboard_->SetExternalPointer(true);
}

void TouchpadTracker::Touch(Point at) {
    // The side may have been switched on the screen since the areas were cut.
    if (keyboard_->GetLetterSide() != areas_.LetterSide())
        CutAreas();
    keyboard_->ShowTouchCursor();
    area_ = kNoArea;
    strokeInProgress_ = true;
    StartIfMapped(at);
}

// A finger that came down outside every area starts its stroke once it reaches one.
void TouchpadTracker::StartIfMapped(Point at) {
    area_ = areas_.Find(at);
    if (area_ != kNoArea)
        keyboard_->StrokeStart(area_, areas_.ToEngineUnits(area_, at));
}

void TouchpadTracker::Follow(Point at, bool pressed) {
    if (area_ == kNoArea) {
        if (pressed) {
            StartIfMapped(at);
        } else {
            keyboard_->ShowIdleCursor();
            strokeInProgress_ = false;
        }
        return;
    }
    const Point units = areas_.ToEngineUnits(area_, at);
    if (pressed)
        keyboard_->StrokeMove(units);
    else
        Lift(units);
}

void TouchpadTracker::Lift(Point units) {
    const bool letterSide = keyboard_->GetLetterSide();
    keyboard_->ShowIdleCursor();
    keyboard_->StrokeEnd(units);
    strokeInProgress_ = false;
    if (keyboard_->GetLetterSide() != letterSide)
        CutAreas();
}

} // namespace gw
