#pragma once
// The touchpad's device library ("Touchpad.dll") as the touchpad extension uses it: seven
// operations exported by ordinal, with C linkage and the default calling convention. A device
// library for another touchpad supplies the same seven with these results; its packets carry
// the fields the extension reads at the offsets of extensions/TouchpadTracker.h.
#include <cstdint>

namespace touchpad {

// An open device; 0 is none.
using DeviceHandle = std::intptr_t;

// Called for every packet, on a thread of the device library's own; the last value is not
// used.
using PacketCallback = void (*)(DeviceHandle device, const void* packet, std::intptr_t unused);

// The open operation's argument, and the registration's mode and last argument.
constexpr int kOpenArgument = -2;
constexpr int kCallbackMode = 3;
constexpr int kCallbackReserved = 0;

extern "C" {
// Non-zero when a touchpad is present.
using IsPresentFunction = int (*)();
using OpenFunction = DeviceHandle (*)(int which);
using SetCallbackFunction = int (*)(DeviceHandle device, PacketCallback callback, int mode,
                                    int reserved);
using StartFunction = int (*)(DeviceHandle device);
using StopFunction = int (*)(DeviceHandle device);
// Non-zero on success.
using CloseFunction = int (*)(DeviceHandle device);
// The pressure above which a finger counts as touching (before the extension's factor).
using ThresholdFunction = std::uint16_t (*)(DeviceHandle device);
}

enum Ordinal : int {
    kIsPresentOrdinal = 38,
    kOpenOrdinal = 22,
    kSetCallbackOrdinal = 1,
    kStartOrdinal = 59,
    kStopOrdinal = 60,
    kCloseOrdinal = 53,
    kThresholdOrdinal = 29,
};

constexpr wchar_t kLibraryName[] = L"Touchpad.dll";

} // namespace touchpad
