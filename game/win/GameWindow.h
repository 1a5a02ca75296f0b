#pragma once
// The game's main window "GW Game": the playing field with the falling items' labels, the
// hearts, score and counters, the Start/End button, the menus and the two timers. It carries
// out the rules of gw::PracticeGame and shows their state.
#include "framework/win/Handles.h"
#include "framework/win/SubclassWnd.h"
#include "framework/win/Window.h"
#include "game/PracticeGame.h"
#include "game/win/GamePictures.h"
#include "game/win/RegistryScoreStore.h"
#include "game/win/TopScoresDlg.h"

#include <vector>

inline constexpr wchar_t kGameWindowClass[] = L"GWGameWindow";

// Clock-seeded, starting a new sequence at every fall tick.
class ClockRandom : public gw::SeededRandom {
public:
    ClockRandom() : SeededRandom(::GetTickCount()) {}
    void Reseed() override { Seed(::GetTickCount()); }
};

class CGameWnd : public CWnd {
public:
    explicit CGameWnd(gw::RandomSource& random);
    bool Create();

    const gw::PracticeGame& Game() const { return game_; }
    HWND TopScoresWindow() const { return topScores_.GetSafeHwnd(); }
    HWND StartButton() const { return button_.GetSafeHwnd(); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The Start/End button: while a game runs it hands every key to the game and takes the
    // focus back whenever it loses it.
    class CStartButton : public CSubclassWnd {
    public:
        explicit CStartButton(CGameWnd& owner) : owner_(owner) {}

    protected:
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        CGameWnd& owner_;
    };

    void CreateControls();
    HWND AddControl(const wchar_t* className, const wchar_t* text, DWORD style, RECT at, int id,
                    HFONT font);
    void OnCommand(int id);
    void OnTimer(UINT_PTR id);
    bool OnKeyDown(WPARAM virtualKey);
    void OnFocusLost();
    void StartGame();
    void EndGame();
    void TogglePause();
    void StartTimers();
    void StopTimers();
    void Explode(const gw::Explosion& explosion);
    void SyncItemLabels();
    void ShowState();
    void ShowMenuState();
    void Paint();
    int Pixels(double twips) const { return gw::TwipsToPixels(twips, dpi_); }
    // A field position in twips as a client point.
    POINT FieldPoint(double top, double left) const;

    gw::PracticeGame game_;
    RegistryScoreStore store_;
    CTopScoresDlg topScores_;
    CGamePictures pictures_;
    CStartButton button_{*this};
    int dpi_ = 96;
    RECT field_{};
    UniqueGdiObject fieldBrush_;
    UniqueGdiObject itemFont_;
    UniqueGdiObject scoreFont_;
    UniqueGdiObject gameOverFont_;
    HWND score_ = nullptr;
    HWND lastKey_ = nullptr;
    HWND landed_ = nullptr;
    HWND gameOverFrame_ = nullptr;
    HWND gameOver_ = nullptr;
    HWND explosion_ = nullptr;
    HWND hearts_[gw::kLives] = {};
    std::vector<HWND> itemLabels_; // by item index; null where the item is gone
};
