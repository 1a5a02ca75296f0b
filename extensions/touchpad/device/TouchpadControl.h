#pragma once
// The control channel of the simulated touchpad ("Touchpad.dll" of the install folder): a named
// shared area through which a test says whether a touchpad is present and what its threshold
// is, reads what the extension did with the device, and hands it packets, which the device
// delivers in order on a thread of its own, as a real one would. Without a test nobody makes
// the touchpad present, so the extension finds none.
#include "extensions/TouchpadTracker.h"

#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>

namespace touchpad {

constexpr wchar_t kControlAreaName[] = L"GWSimulatedTouchpadControl";
// Set by the test when it has written packets.
constexpr wchar_t kPacketsEventName[] = L"GWSimulatedTouchpadPackets";
constexpr std::uint32_t kPacketRingSize = 256;
constexpr std::uint16_t kDefaultThreshold = 30;

// A packet as the device reports it; the extension reads the fields at their offsets.
struct DevicePacket {
    std::uint8_t flags = 0;
    std::uint8_t unused[3] = {};
    std::uint16_t x = 0;
    std::uint16_t y = 0;
    std::uint16_t z = 0;
    std::uint16_t reserved = 0;
};
static_assert(sizeof(DevicePacket) == gw::kPacketSize);
static_assert(offsetof(DevicePacket, flags) == gw::kPacketFlagsOffset);
static_assert(offsetof(DevicePacket, x) == gw::kPacketXOffset);
static_assert(offsetof(DevicePacket, y) == gw::kPacketYOffset);
static_assert(offsetof(DevicePacket, z) == gw::kPacketZOffset);
static_assert(offsetof(DevicePacket, reserved) == gw::kPacketReservedOffset);

struct ControlArea {
    // Written by the test before the device is used.
    std::uint32_t present;
    std::uint32_t threshold; // 0: the default
    // Written by the device: what the extension asked of it.
    std::uint32_t opens;
    std::int32_t openArgument;
    std::int32_t callbackMode;
    std::int32_t callbackReserved;
    std::uint32_t started; // packets flow
    std::uint32_t closes;
    std::uint32_t deliveringThread; // the thread that delivered the last packet
    // Packets: the test writes packet n into slot n % kPacketRingSize and then counts it in
    // written; the device takes them in order, counting each in taken, and in delivered when
    // it went to the callback (packets that come while the device is stopped are dropped).
    volatile LONG written;
    volatile LONG taken;
    volatile LONG delivered;
    std::array<DevicePacket, kPacketRingSize> packets;
};

} // namespace touchpad
