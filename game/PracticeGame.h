#pragma once
// The practice game's rules: letters or words fall down a playing field and are typed before
// they land. Positions and sizes are in twips (1440 to the inch); the window converts them to
// pixels. The window calls Start, End, TogglePause, FallTick, NewItemTimer and KeyDown and
// shows what the state then is.
#include "game/GameRandom.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gw {

inline constexpr char16_t kGameTitle[] = u"GW Game";
inline constexpr int kFallTickMs = 150;
inline constexpr int kSpeedCount = 6;
inline constexpr int kLives = 3;
inline constexpr int kMaxItemsOnField = 4;
inline constexpr int kTwipsPerCharacter = 290;
inline constexpr int kItemHeightTwips = 375;
// Where a new item's label starts, from the top of the field.
inline constexpr int kItemStartTop = 0;

struct GameCategory {
    std::u16string_view caption;
    std::u16string_view source; // space-separated items
};
inline constexpr int kCategoryCount = 9;
const std::array<GameCategory, kCategoryCount>& GameCategories();

// The words of a source: trimmed, repeated spaces collapsed.
std::vector<std::u16string> SplitItems(std::u16string_view source);

// The field's inner size in twips.
struct GameField {
    int width = 6000;
    int height = 6900;
};

// How far the first items fall per tick at a score: (score / 400 + 1) x speed x 10, a third of
// it for All Letters and the word lists.
double BaseFallRate(int score, int speed, int categoryNumber);
// How many items may be on the field at a score.
int MaxItemsForScore(int score);
// The new-item timer's interval for a game at this speed and category.
int NewItemIntervalMs(int speed, int categoryNumber);

inline int TwipsToPixels(double twips, int dotsPerInch) {
    return static_cast<int>(twips * dotsPerInch / 1440.0);
}

struct FallingItem {
    std::u16string text; // what is still to be typed
    double top = 0;
    double left = 0;
    int width = 0;
    int fallStep = 0;  // twips per tick
    int direction = 0; // -1 left, 0 straight, +1 right
    bool active = false;
};

struct Explosion {
    double top = 0;
    double left = 0;
};

class PracticeGame {
public:
    explicit PracticeGame(RandomSource& random, GameField field = {});

    // Speed 1 (Slow) to 6 (Fast); category by its menu index. Ignored while a game runs.
    void SelectSpeed(int speed);
    void SelectCategory(int index);
    int Speed() const { return speed_; }
    int CategoryIndex() const { return category_; }
    int CategoryNumber() const { return category_ + 1; }

    void Start();
    // Ends the game (the button, or the last life lost); returns the final score.
    int End();
    // Stops or resumes a running game; keys and ticks change nothing while paused.
    void TogglePause();
    bool Running() const { return running_; }
    bool Paused() const { return paused_; }

    // The fall tick; false when it ended the game.
    bool FallTick();
    // The new-item timer.
    void NewItemTimer() { AddItem(); }
    // A key-down with its virtual-key code and shift state; the explosion of an item it
    // completed, if any.
    std::optional<Explosion> KeyDown(int virtualKey, int shiftState);

    int Score() const { return score_; }
    int Lives() const { return lives_; }
    int Landed() const { return landed_; }
    int HeightBonus() const { return heightBonus_; }
    bool GameOverShown() const { return gameOver_; }
    const std::u16string& LastKey() const { return lastKey_; }
    const std::vector<FallingItem>& Items() const { return items_; }
    int ActiveCount() const { return activeCount_; }
    int NewItemIntervalMs() const { return newItemIntervalMs_; }
    const GameField& Field() const { return field_; }

private:
    double CurrentFallRate() const { return BaseFallRate(score_, speed_, CategoryNumber()); }
    int Multiplier() const { return speed_ * CategoryNumber(); }
    void AddItem();
    void Finish(FallingItem& item);
    void Drift(FallingItem& item);
    bool Land(FallingItem& item);
    Explosion Explode(const FallingItem& item);
    void ScoreMiss();

    RandomSource& random_;
    GameField field_;
    int speed_ = 1;
    int category_ = 0;
    std::vector<std::u16string> source_;
    std::vector<FallingItem> items_;
    int activeCount_ = 0;
    int score_ = 0;
    int lives_ = kLives;
    int landed_ = 0;
    int heightBonus_ = 0;
    int newItemIntervalMs_ = 0;
    bool running_ = false;
    bool paused_ = false;
    bool gameOver_ = false;
    std::u16string lastKey_;
};

} // namespace gw
