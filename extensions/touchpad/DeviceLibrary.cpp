#include "extensions/touchpad/DeviceLibrary.h"

#include "framework/win/ProcAddress.h"

namespace {

template <typename Function> bool Bind(HMODULE module, int ordinal, Function& function) {
    function = ProcAddress<Function>(module, MAKEINTRESOURCEA(ordinal));
    return function != nullptr;
}

} // namespace

bool CDeviceLibrary::Load() {
    if (!module_)
        module_ = ::LoadLibraryW(touchpad::kLibraryName);
    if (module_ && BindOperations())
        return true;
    ops_ = Operations{};
    return false;
}

bool CDeviceLibrary::BindOperations() {
    return Bind(module_, touchpad::kIsPresentOrdinal, ops_.isPresent) &&
           Bind(module_, touchpad::kOpenOrdinal, ops_.open) &&
           Bind(module_, touchpad::kSetCallbackOrdinal, ops_.setCallback) &&
           Bind(module_, touchpad::kStartOrdinal, ops_.start) &&
           Bind(module_, touchpad::kStopOrdinal, ops_.stop) &&
           Bind(module_, touchpad::kCloseOrdinal, ops_.close) &&
           Bind(module_, touchpad::kThresholdOrdinal, ops_.threshold);
}

bool CDeviceLibrary::Open(touchpad::PacketCallback callback) {
    if (!ops_.open)
        return false;
    device_ = ops_.open(touchpad::kOpenArgument);
    if (!device_)
        return false;
    ops_.setCallback(device_, callback, touchpad::kCallbackMode, touchpad::kCallbackReserved);
    return true;
}

void CDeviceLibrary::Start() const {
    if (device_)
        ops_.start(device_);
}

void CDeviceLibrary::Stop() const {
    if (device_)
        ops_.stop(device_);
}

bool CDeviceLibrary::Close() {
    if (!device_)
        return false;
    const bool closed = ops_.close(device_) != 0;
    device_ = 0;
    return closed;
}

void CDeviceLibrary::Free() {
    if (module_)
        ::FreeLibrary(module_);
    module_ = nullptr;
    ops_ = Operations{};
    device_ = 0;
}
