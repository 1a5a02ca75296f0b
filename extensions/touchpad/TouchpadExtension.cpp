#include "extensions/touchpad/TouchpadExtension.h"

#include "resources/resource.h"
#include "shell/win/RegistrySettings.h"

#include <span>

CTouchpadExtension& CTouchpadExtension::Instance() {
    static CTouchpadExtension extension;
    return extension;
}

bool CTouchpadExtension::SetupCursors(HINSTANCE module) {
    HCURSOR touch = ::LoadCursorW(module, MAKEINTRESOURCEW(IDC_TOUCH_CURSOR));
    HCURSOR idle = ::LoadCursorW(module, MAKEINTRESOURCEW(IDC_IDLE_CURSOR));
    if (!touch || !idle)
        return false;
    touchCursor_ = touch;
    idleCursor_ = idle;
    return true;
}

bool CTouchpadExtension::Install() {
    if (!device_.Load() || !device_.IsPresent())
        return false;
    if (!handoff_.Create(module_,
                         [this](const gw::TouchpadPacket& packet, touchpad::DeviceHandle device) {
                             HandlePacket(packet, device);
                         }))
        return false;
    if (!device_.Open(&CTouchpadExtension::OnDevicePacket)) {
        handoff_.Destroy();
        return false;
    }
    device_.Start();
    RegistrySettingsStore store;
    tracker_.SetPlacement(gw::LoadTouchpadPlacement(store));
    placementRead_ = true;
    return true;
}

void CTouchpadExtension::SetEngine(CGWMainEngineInterface* engine) {
    engine_ = engine;
    tracker_.SetKeyboard(engine ? this : nullptr);
}

// Only what was read is written back: an extension that never found its device leaves the
// stored placement alone.
bool CTouchpadExtension::Uninstall() {
    if (placementRead_) {
        RegistrySettingsStore store;
        gw::SaveTouchpadPlacement(store, tracker_.Placement());
    }
    const bool closed = device_.Close();
    handoff_.Destroy();
    SetEngine(nullptr);
    return closed;
}

void CTouchpadExtension::Unload() {
    if (device_.IsOpen()) {
        device_.Stop();
        device_.Close();
    }
    handoff_.Destroy();
    device_.Free();
}

void CTouchpadExtension::OnDevicePacket(touchpad::DeviceHandle device, const void* packet,
                                        std::intptr_t) {
    if (!packet)
        return;
    const auto* bytes = static_cast<const std::uint8_t*>(packet);
    Instance().handoff_.Post(gw::ReadTouchpadPacket(std::span<const std::uint8_t, gw::kPacketSize>(
                                 bytes, gw::kPacketSize)),
                             device);
}

void CTouchpadExtension::HandlePacket(const gw::TouchpadPacket& packet,
                                      touchpad::DeviceHandle device) {
    if (!engine_)
        return;
    tracker_.OnPacket(packet, device == device_.Device(), device_.Threshold());
}

void CTouchpadExtension::StrokeStart(int area, gw::Point units) {
    engine_->StrokeStart(area, units.x, units.y, 1);
}

void CTouchpadExtension::SetStateAllowed(int state, bool allowed) {
    engine_->SetStateAllowed(state, allowed);
}

// Without its cursors the extension leaves the view's cursor as it is.
void CTouchpadExtension::ShowCursor(HCURSOR cursor) {
    if (cursor)
        engine_->SetViewCursor(cursor);
}
