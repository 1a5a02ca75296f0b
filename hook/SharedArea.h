#pragma once
// The shared area between the keyboard program and every copy of the hook library: a 28-byte
// header and a ring of event records, in a named page-file mapping guarded by a named mutex.
// Both deliverables compile against this one layout. All fields are 32-bit little-endian;
// window and hook handles are stored in their 32 significant bits.
#include "hook/HookEvent.h"

#include <cstddef>
#include <cstdint>

namespace gw {

inline constexpr char16_t kSharedAreaName[] = u"GWOKHookMemFileMap";
inline constexpr char16_t kSharedAreaMutexName[] = u"GWOKHookMemFileMutex";
inline constexpr std::uint32_t kHookRingCapacity = 64000;

struct SharedAreaHeader {
    std::uint32_t mainWindow = 0;  // the keyboard's main window: the library's wake-ups go here
    std::uint32_t active = 0;      // 1 while the program runs; 0 tells the library to let go
    std::uint32_t overflow = 0;    // set by a writer that caught up with the reader
    std::uint32_t messageHook = 0; // the WH_GETMESSAGE hook, for CallNextHookEx
    std::uint32_t callHook = 0;    // the WH_CALLWNDPROC hook
    std::uint32_t readIndex = 0;   // next record to read, 0..kHookRingCapacity - 1
    std::uint32_t writeIndex = 0;  // next record to write
};

struct SharedArea {
    SharedAreaHeader header;
    HookEvent records[kHookRingCapacity];
};

static_assert(sizeof(SharedAreaHeader) == sizeof(HookEvent), "the header is one record long");
static_assert(offsetof(SharedAreaHeader, active) == 4 &&
                  offsetof(SharedAreaHeader, overflow) == 8 &&
                  offsetof(SharedAreaHeader, messageHook) == 12 &&
                  offsetof(SharedAreaHeader, callHook) == 16 &&
                  offsetof(SharedAreaHeader, readIndex) == 20 &&
                  offsetof(SharedAreaHeader, writeIndex) == 24,
              "header field offsets are part of the format");
static_assert(offsetof(SharedArea, records) == 28, "record i starts at 28 + 28 i");
inline constexpr std::size_t kSharedAreaBytes = 1792028;
static_assert(sizeof(SharedArea) == kSharedAreaBytes, "28 + 64000 * 28 bytes");

// The header as the program sets it when it creates the area: empty ring, no hooks, no main
// window yet, active.
inline void InitialiseSharedAreaHeader(SharedAreaHeader& header) {
    header = SharedAreaHeader{};
    header.active = 1;
}

// A handle in its stored 32 bits, and back. Window and hook handles have 32 significant bits
// in 64-bit processes too (sign-extended), which is what lets 32- and 64-bit copies share them.
inline std::uint32_t HandleToShared(const void* handle) {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle));
}
inline void* HandleFromShared(std::uint32_t value) {
    return reinterpret_cast<void*>(static_cast<std::intptr_t>(static_cast<std::int32_t>(value)));
}

} // namespace gw
