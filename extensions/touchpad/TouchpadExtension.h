#pragma once
// The touchpad extension's one object: the device library, the placement read from the
// settings, the cursors, and the tracker that turns the device's packets into the engine's
// strokes on the keyboard's user-interface thread.
#include "extensions/TouchpadTracker.h"
#include "extensions/touchpad/DeviceLibrary.h"
#include "extensions/touchpad/PacketHandoff.h"
#include "extensions/win/GWMainEngineInterface.h"

class CTouchpadExtension : private gw::TouchpadKeyboardPort {
public:
    static CTouchpadExtension& Instance();

    void SetModule(HINSTANCE module) { module_ = module; }
    bool SetupCursors(HINSTANCE module);
    bool Install();
    void SetEngine(CGWMainEngineInterface* engine);
    void TurnOn() const { device_.Start(); }
    void TurnOff() const { device_.Stop(); }
    bool Uninstall();
    // The library leaves the process: a device still open is stopped and closed, and the device
    // library let go.
    void Unload();

private:
    CTouchpadExtension() = default;
    // The device library's thread.
    static void OnDevicePacket(touchpad::DeviceHandle device, const void* packet, std::intptr_t);
    // The user-interface thread.
    void HandlePacket(const gw::TouchpadPacket& packet, touchpad::DeviceHandle device);

    // gw::TouchpadKeyboardPort
    void StrokeStart(int area, gw::Point units) override;
    void StrokeMove(gw::Point units) override { engine_->StrokeMove(units.x, units.y, 1); }
    void StrokeEnd(gw::Point units) override { engine_->StrokeEnd(units.x, units.y, 1); }
    bool GetLetterSide() override { return engine_->GetLetterSide() != 0; }
    bool GetExternalPointer() override { return engine_->GetExternalPointer() != 0; }
    void SetExternalPointer(bool external) override { engine_->SetExternalPointer(external); }
    void SetStateAllowed(int state, bool allowed) override;
    void SetKeyboardStateNormal() override { engine_->SetKeyboardStateNormal(); }
    void ShowTouchCursor() override { ShowCursor(touchCursor_); }
    void ShowIdleCursor() override { ShowCursor(idleCursor_); }
    void ShowCursor(HCURSOR cursor);

    HINSTANCE module_ = nullptr;
    CDeviceLibrary device_;
    CPacketHandoff handoff_;
    CGWMainEngineInterface* engine_ = nullptr;
    gw::TouchpadTracker tracker_;
    bool placementRead_ = false;
    HCURSOR touchCursor_ = nullptr;
    HCURSOR idleCursor_ = nullptr;
};
