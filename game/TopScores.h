#pragma once
// The table of the five best scores with the players' names, kept as text values of a store
// (the registry on Windows). Place 1 is the best.
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace gw {

inline constexpr int kTopScorePlaces = 5;
inline constexpr char16_t kNewPlayerName[] = u"Your Name";

// Text values by name; the Windows store is HKEY_CURRENT_USER\SOFTWARE\Vantorel\Glyphwell Game.
class ScoreStore {
public:
    virtual ~ScoreStore() = default;
    // The value's text, or nothing when it cannot be read.
    virtual std::optional<std::u16string> Read(std::u16string_view name) const = 0;
    // Failures are not reported.
    virtual void Write(std::u16string_view name, std::u16string_view text) = 0;
};

// "Top Player-1" ... "Top Player-5" and "Top Score-1" ... "Top Score-5", by place 0 to 4.
std::u16string TopPlayerValueName(int place);
std::u16string TopScoreValueName(int place);

struct TopScorePlace {
    std::u16string name;
    int score = 0;
};

class TopScoreTable {
public:
    // A place whose values cannot be read is empty: no name, score 0.
    static TopScoreTable Load(const ScoreStore& store);
    void Save(ScoreStore& store) const;

    // Puts a final score into the first place whose score it reaches (a tie goes above the
    // older score), the places below moving down and the last dropping out. The new place gets
    // the name "Your Name" to be replaced; its index, or nothing when the score is too low.
    std::optional<int> Enter(int finalScore);

    std::array<TopScorePlace, kTopScorePlaces> places;
};

// A stored score's number: its leading decimal digits, 0 when there are none.
int ParseScore(std::u16string_view text);

} // namespace gw
