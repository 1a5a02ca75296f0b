#pragma once
// The ring of hook events in the shared area: which messages the hook library records, how a
// writer adds a record and how the reader takes the oldest one out. Both sides call these with
// the area's mutex held. The area is writable by every program of the session, so each side
// checks the indices it finds before using them: a value out of range never leads outside the
// ring.
#include "hook/SharedArea.h"

#include <cstddef>
#include <cstdint>

namespace gw {

// Message numbers the library records (Win32 values).
namespace hookmsg {
inline constexpr std::uint32_t kSetFocus = 0x0007;
inline constexpr std::uint32_t kSetCursor = 0x0020;
inline constexpr std::uint32_t kKeyDown = 0x0100;
inline constexpr std::uint32_t kKeyUp = 0x0101;
inline constexpr std::uint32_t kChar = 0x0102;
inline constexpr std::uint32_t kSysCommand = 0x0112;
inline constexpr std::uint32_t kHScroll = 0x0114;
inline constexpr std::uint32_t kVScroll = 0x0115;
inline constexpr std::uint32_t kLButtonUp = 0x0202;
inline constexpr std::uint32_t kRButtonUp = 0x0205;
inline constexpr std::uint32_t kMButtonUp = 0x0208;
inline constexpr std::uint32_t kMouseWheel = 0x020A;
inline constexpr std::uintptr_t kScreenSave = 0xF140; // SC_SCREENSAVE
} // namespace hookmsg

// The wake-up the library posts to the keyboard's main window after each record (the
// framework's kick-idle message: it only makes the message loop run its idle processing).
inline constexpr std::uint32_t kHookWakeUpMessage = 0x036A;
// What the keyboard's main window is sent when the ring overflowed and was emptied.
inline constexpr std::uint32_t kHookOverflowMessage = 0x0406;

// A WM_SYSCOMMAND that starts the screen saver (the low four bits are the system's own).
inline bool IsScreenSaverCommand(std::uintptr_t wParam) {
    return (wParam & 0xFFF0) == hookmsg::kScreenSave;
}

// True for the messages the library writes into the ring. Button-down and double-click
// messages are not among them; a system command only when it starts the screen saver.
bool IsRecordedMessage(std::uint32_t message, std::uintptr_t wParam);

// True for the key messages that carry what the user types: they are never recorded for a
// password field.
inline bool IsTypingMessage(std::uint32_t message) {
    return message == hookmsg::kKeyDown || message == hookmsg::kKeyUp || message == hookmsg::kChar;
}

// Writes the event at the write index and moves the index on, wrapping at the capacity; when it
// catches up with the reader the ring is marked overflowed. Nothing is written while the ring
// is overflowed, nor when either index is out of range (the ring is then marked overflowed, so
// the reader empties it). True when the event was written.
bool WriteHookEvent(SharedArea& area, const HookEvent& event);

enum class RingRead {
    kEvent,    // the oldest event was taken out
    kEmpty,    // nothing to read
    kDiscarded // the ring had overflowed or held indices out of range: it was emptied
};

// Takes the oldest event out of the ring into event.
RingRead ReadHookEvent(SharedArea& area, HookEvent& event);
// Takes up to max of the oldest events out, in order, into events; count says how many. The
// reader does this under one hold of the mutex and hands them out one by one: each hold costs
// a round trip to the system, which one event at a time would pay 64,000 times for a full ring.
RingRead ReadHookEvents(SharedArea& area, HookEvent* events, std::size_t max, std::size_t& count);

// The reader's quick test before it tries the mutex: true when the ring looks empty. Only a
// hint, read without the mutex.
bool RingLooksEmpty(const SharedAreaHeader& header);

} // namespace gw
