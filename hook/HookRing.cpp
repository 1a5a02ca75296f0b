#include "hook/HookRing.h"

#include <atomic>

namespace gw {

namespace {

bool IndicesInRange(const SharedAreaHeader& header) {
    return header.readIndex < kHookRingCapacity && header.writeIndex < kHookRingCapacity;
}

std::uint32_t Next(std::uint32_t index) {
    return index + 1 == kHookRingCapacity ? 0 : index + 1;
}

// A field that other processes may change without the mutex.
std::uint32_t LoadShared(const std::uint32_t& field) {
    return std::atomic_ref<const std::uint32_t>(field).load(std::memory_order_acquire);
}

} // namespace

bool IsRecordedMessage(std::uint32_t message, std::uintptr_t wParam) {
    using namespace hookmsg;
    switch (message) {
    case kSetFocus:
    case kSetCursor:
    case kKeyDown:
    case kKeyUp:
    case kChar:
    case kHScroll:
    case kVScroll:
    case kLButtonUp:
    case kRButtonUp:
    case kMButtonUp:
    case kMouseWheel:
        return true;
    case kSysCommand:
        return IsScreenSaverCommand(wParam);
    default:
        return false;
    }
}

bool WriteHookEvent(SharedArea& area, const HookEvent& event) {
    SharedAreaHeader& header = area.header;
    if (header.overflow != 0)
        return false;
    if (!IndicesInRange(header)) {
        header.overflow = 1;
        return false;
    }
    area.records[header.writeIndex] = event;
    header.writeIndex = Next(header.writeIndex);
    if (header.writeIndex == header.readIndex)
        header.overflow = 1;
    return true;
}

RingRead ReadHookEvent(SharedArea& area, HookEvent& event) {
    std::size_t count = 0;
    return ReadHookEvents(area, &event, 1, count);
}

RingRead ReadHookEvents(SharedArea& area, HookEvent* events, std::size_t max, std::size_t& count) {
    SharedAreaHeader& header = area.header;
    count = 0;
    if (header.overflow == 0 && !IndicesInRange(header)) {
        // A corrupted index is treated as an overflow: everything pending is dropped.
        header.overflow = 1;
    }
    if (header.overflow != 0) {
        header.readIndex = 0;
        header.writeIndex = 0;
        header.overflow = 0;
        return RingRead::kDiscarded;
    }
    while (count < max && header.readIndex != header.writeIndex) {
        events[count++] = area.records[header.readIndex];
        header.readIndex = Next(header.readIndex);
    }
    return count != 0 ? RingRead::kEvent : RingRead::kEmpty;
}

bool RingLooksEmpty(const SharedAreaHeader& header) {
    return LoadShared(header.overflow) == 0 &&
           LoadShared(header.readIndex) == LoadShared(header.writeIndex);
}

} // namespace gw
