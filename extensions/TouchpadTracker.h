#pragma once
// The touchpad's packets turned into strokes: a finger pressing harder than the threshold
// starts a stroke in the key area under it, moving it moves the stroke and lifting it ends the
// stroke, all in engine units of that area, as the keyboard view does for the pen.
#include "extensions/TouchpadKeyAreas.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace gw {

// The fields of a device packet that matter here.
struct TouchpadPacket {
    std::uint8_t flags = 0;
    std::uint16_t x = 0;
    std::uint16_t y = 0;
    std::uint16_t z = 0; // pressure
    std::uint16_t reserved = 0;
};

// Where the fields lie in the device's packet (16-bit values little-endian), and its size.
inline constexpr std::size_t kPacketFlagsOffset = 0;
inline constexpr std::size_t kPacketXOffset = 4;
inline constexpr std::size_t kPacketYOffset = 6;
inline constexpr std::size_t kPacketZOffset = 8;
inline constexpr std::size_t kPacketReservedOffset = 10;
inline constexpr std::size_t kPacketSize = 12;
// The flag a packet of finger data carries.
inline constexpr std::uint8_t kPacketFingerFlag = 2;
// The device's touch threshold is multiplied by this.
inline constexpr int kPressureFactor = 2;

TouchpadPacket ReadTouchpadPacket(std::span<const std::uint8_t, kPacketSize> bytes);

// The keyboard as the touchpad drives it: the engine's interface.
class TouchpadKeyboardPort {
public:
    virtual ~TouchpadKeyboardPort() = default;
    virtual void StrokeStart(int area, Point units) = 0;
    virtual void StrokeMove(Point units) = 0;
    virtual void StrokeEnd(Point units) = 0;
    virtual bool GetLetterSide() = 0;
    virtual bool GetExternalPointer() = 0;
    virtual void SetExternalPointer(bool external) = 0;
    virtual void SetStateAllowed(int state, bool allowed) = 0;
    virtual void SetKeyboardStateNormal() = 0;
    // The view's cursor while a finger is down, and after it lifted.
    virtual void ShowTouchCursor() = 0;
    virtual void ShowIdleCursor() = 0;
};

class TouchpadTracker {
public:
    // The keyboard to drive (null: none); the areas are cut for the side it shows.
    void SetKeyboard(TouchpadKeyboardPort* keyboard);
    void SetPlacement(const TouchpadPlacement& placement);
    const TouchpadPlacement& Placement() const { return placement_; }
    const TouchpadKeyAreas& Areas() const { return areas_; }
    bool StrokeInProgress() const { return strokeInProgress_; }
    int CurrentArea() const { return area_; }

    // One packet of the device; ownDevice: it comes from the device this extension opened.
    // threshold: the device's touch threshold now.
    void OnPacket(const TouchpadPacket& packet, bool ownDevice, std::uint16_t threshold);

private:
    void PrepareKeyboard();
    void Touch(Point at);
    void StartIfMapped(Point at);
    void Follow(Point at, bool pressed);
    void Lift(Point units);
    void CutAreas();

    TouchpadKeyboardPort* keyboard_ = nullptr;
    TouchpadPlacement placement_;
    TouchpadKeyAreas areas_;
    bool strokeInProgress_ = false;
    int area_ = kNoArea;
};

} // namespace gw
