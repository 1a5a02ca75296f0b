#pragma once
// One event recorded by the hook library in another program, as it lies in the shared ring,
// and the interface of the objects the keyboard program hands every drained event to.
#include <cstdint>

namespace gw {

struct HookEvent {
    std::uint32_t window = 0; // handle of the window the message is for
    std::uint32_t message = 0;
    std::uint32_t wParam = 0;
    std::uint32_t lParam = 0;
    std::uint32_t time = 0;  // milliseconds
    std::int32_t caretX = 0; // the recording thread's caret, client coordinates
    std::int32_t caretY = 0;
};
static_assert(sizeof(HookEvent) == 28, "the ring's records are seven 32-bit fields");

} // namespace gw

class CHookEventListener {
public:
    virtual ~CHookEventListener() = default;
    virtual void OnHookEvent(const gw::HookEvent& event) = 0;
};
