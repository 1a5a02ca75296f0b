#pragma once
// "Touchpad.dll" loaded by name and bound by its ordinals. Every operation but loading asks an
// open device; with none, nothing reaches the library.
#include "extensions/touchpad/TouchpadDevice.h"

#include <windows.h>

class CDeviceLibrary {
public:
    CDeviceLibrary() = default;
    CDeviceLibrary(const CDeviceLibrary&) = delete;
    CDeviceLibrary& operator=(const CDeviceLibrary&) = delete;

    // Loads the library (once) and binds all seven operations; false when any is missing.
    bool Load();
    bool IsPresent() const { return ops_.isPresent && ops_.isPresent() != 0; }
    // Opens the device and registers the callback; false without a device.
    bool Open(touchpad::PacketCallback callback);
    bool IsOpen() const { return device_ != 0; }
    touchpad::DeviceHandle Device() const { return device_; }
    void Start() const;
    void Stop() const;
    // Closes the device; true when the library says it did.
    bool Close();
    std::uint16_t Threshold() const { return device_ ? ops_.threshold(device_) : 0; }
    // Lets the library go (the device closed first).
    void Free();

private:
    struct Operations {
        touchpad::IsPresentFunction isPresent = nullptr;
        touchpad::OpenFunction open = nullptr;
        touchpad::SetCallbackFunction setCallback = nullptr;
        touchpad::StartFunction start = nullptr;
        touchpad::StopFunction stop = nullptr;
        touchpad::CloseFunction close = nullptr;
        touchpad::ThresholdFunction threshold = nullptr;
    };
    bool BindOperations();

    HMODULE module_ = nullptr;
    Operations ops_;
    touchpad::DeviceHandle device_ = 0;
};
