#pragma once
// The game's pictures, drawn with GDI when the window is made: the heart of a life and the
// frames of the explosion animation, each on the background it is shown on.
#include "framework/win/Handles.h"

#include <vector>

inline constexpr COLORREF kFieldColour = RGB(16, 24, 64);
inline constexpr COLORREF kItemColour = RGB(255, 230, 90);
inline constexpr SIZE kHeartSize{34, 30};
inline constexpr SIZE kExplosionSize{56, 56};
inline constexpr int kExplosionFrames = 6;

class CGamePictures {
public:
    CGamePictures();
    HBITMAP Heart() const { return static_cast<HBITMAP>(heart_.Get()); }
    HBITMAP ExplosionFrame(int index) const {
        return static_cast<HBITMAP>(explosion_[static_cast<std::size_t>(index)].Get());
    }

private:
    UniqueGdiObject heart_;
    std::vector<UniqueGdiObject> explosion_;
};
