// The practice game's rules, replayed from fixed random sequences: speeds and categories, the
// fall and the drift, hits, misses and the height bonus, lives, pause, and the score table.
#include "game/PracticeGame.h"
#include "game/TopScores.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <string>

namespace gw {
namespace {

// Gives the scripted numbers first, then 0.5.
class ScriptedRandom : public RandomSource {
public:
    ScriptedRandom(std::initializer_list<double> values) : values_(values) {}
    double Next() override {
        if (values_.empty())
            return 0.5;
        const double value = values_.front();
        values_.pop_front();
        return value;
    }
    void Reseed() override {}

private:
    std::deque<double> values_;
};

constexpr int kShiftKey = 0x10;

int VirtualKeyOf(char16_t letter) {
    return letter >= u'a' && letter <= u'z' ? letter - u'a' + 'A' : letter;
}

const FallingItem* FirstActive(const PracticeGame& game) {
    for (const FallingItem& item : game.Items()) {
        if (item.active)
            return &item;
    }
    return nullptr;
}

int BonusAt(const PracticeGame& game, double top) {
    return static_cast<int>((game.Field().height - top) * 10.0 / game.Field().height) + 1;
}

// Lets the first active item fall until a hit would score the bonus, then types all of it.
void CompleteAtBonus(PracticeGame& game, int bonus) {
    while (BonusAt(game, FirstActive(game)->top) > bonus)
        ASSERT_TRUE(game.FallTick());
    ASSERT_EQ(BonusAt(game, FirstActive(game)->top), bonus);
    const std::u16string text = FirstActive(game)->text;
    for (char16_t letter : text)
        game.KeyDown(VirtualKeyOf(letter), 0);
}

TEST(PracticeGameRates, FallRatesAndIntervalsFollowSpeedCategoryAndScore) {
    const struct {
        int score, speed, category;
        double rate;
    } rates[] = {
        {0, 1, 1, 10.0},     // Slow, ANIHORTES
        {0, 6, 1, 60.0},     // Fast, letters
        {0, 1, 5, 10.0 / 3}, // Slow, words
        {0, 1, 4, 10.0 / 3}, // All Letters counts with the word lists
        {400, 3, 2, 60.0},   // the rate doubles at 400 points
        {200, 2, 9, 10.0},   // half way there, words
    };
    for (const auto& c : rates)
        EXPECT_DOUBLE_EQ(BaseFallRate(c.score, c.speed, c.category), c.rate)
            << c.score << " " << c.speed << " " << c.category;

    const struct {
        int speed, category, intervalMs;
    } intervals[] = {{1, 1, 15000}, {6, 1, 2490}, {1, 5, 45000}, {1, 4, 45000}, {6, 9, 7500}};
    for (const auto& c : intervals)
        EXPECT_EQ(NewItemIntervalMs(c.speed, c.category), c.intervalMs)
            << c.speed << " " << c.category;
}

TEST(PracticeGameRates, ItemsOnTheFieldGrowWithTheScore) {
    const std::map<int, int> limits = {{0, 1},   {99, 1},  {100, 2}, {249, 2},
                                       {250, 3}, {399, 3}, {400, 4}, {5000, 4}};
    for (const auto& [score, items] : limits)
        EXPECT_EQ(MaxItemsForScore(score), items) << score;
}

TEST(PracticeGameItems, CategoriesHaveTheirItemCounts) {
    const int counts[kCategoryCount] = {9, 8, 9, 26, 100, 100, 100, 100, 399};
    for (int i = 0; i < kCategoryCount; ++i)
        EXPECT_EQ(SplitItems(GameCategories()[static_cast<std::size_t>(i)].source).size(),
                  static_cast<std::size_t>(counts[i]))
            << i;
    EXPECT_EQ(SplitItems(u"  a  b c "), (std::vector<std::u16string>{u"a", u"b", u"c"}));
}

// Slow with ANIHORTES: the first item falls 10 to 20 twips a tick, the new-item timer is 15 s,
// and one item is all the field holds below 100 points. Replayed over many seeds.
TEST(PracticeGameReplay, SlowLettersFallTenToTwentyTwipsOneItemAtATime) {
    for (std::uint32_t seed = 1; seed <= 50; ++seed) {
        SeededRandom random(seed * 7919u);
        PracticeGame game(random);
        game.Start();
        EXPECT_EQ(game.NewItemIntervalMs(), 15000);
        ASSERT_EQ(game.ActiveCount(), 1);
        const FallingItem first = *FirstActive(game);
        EXPECT_GE(first.fallStep, 10);
        EXPECT_LE(first.fallStep, 20);
        EXPECT_EQ(first.text.size(), 1u);
        EXPECT_NE(std::u16string(u"anihortes").find(first.text), std::u16string::npos);
        EXPECT_EQ(first.width, kTwipsPerCharacter);
        EXPECT_GE(first.left, game.Field().width / 5.0);
        EXPECT_LE(first.left + first.width, game.Field().width * 4.0 / 5.0);

        game.NewItemTimer();
        EXPECT_EQ(game.ActiveCount(), 1) << "a second item below 100 points";
        ASSERT_TRUE(game.FallTick());
        EXPECT_DOUBLE_EQ(FirstActive(game)->top, first.top + first.fallStep);
    }
}

// At Fast with all letters the items drift sideways but never leave the field, and land after
// falling its height; three landings end the game.
TEST(PracticeGameReplay, ItemsStayInsideTheFieldAndThreeLandingsEndTheGame) {
    SeededRandom random(12345);
    PracticeGame game(random);
    game.SelectSpeed(6);
    game.SelectCategory(3);
    game.Start();
    int ticks = 0;
    std::vector<int> livesAtLanding;
    while (game.Running() && ticks < 10000) {
        const int landed = game.Landed();
        game.FallTick();
        ++ticks;
        for (const FallingItem& item : game.Items()) {
            if (!item.active)
                continue;
            EXPECT_GE(item.left, 0);
            EXPECT_LE(item.left + item.width, game.Field().width);
        }
        if (game.Landed() > landed)
            livesAtLanding.push_back(game.Lives());
    }
    EXPECT_EQ(livesAtLanding, (std::vector<int>{2, 1, 0}));
    EXPECT_FALSE(game.Running());
    EXPECT_TRUE(game.GameOverShown());
    EXPECT_TRUE(game.Items().empty());
    EXPECT_EQ(game.ActiveCount(), 0);
    EXPECT_FALSE(game.FallTick()) << "a tick after the end changes nothing";

    game.Start();
    EXPECT_EQ(game.Lives(), kLives);
    EXPECT_EQ(game.Score(), 0);
    EXPECT_FALSE(game.GameOverShown());
}

// A completed item scores speed x category x its height bonus: 11 at the very top, 10 just
// below it, 1 near the bottom.
TEST(PracticeGameScoring, TheHeightBonusRunsFromElevenAtTheTopToOneAtTheBottom) {
    SeededRandom random(99);
    PracticeGame game(random);
    game.Start();
    CompleteAtBonus(game, 11);
    EXPECT_EQ(game.HeightBonus(), 11);
    EXPECT_EQ(game.Score(), 11);
    game.FallTick();
    CompleteAtBonus(game, 10);
    EXPECT_EQ(game.Score(), 21);
    CompleteAtBonus(game, 1);
    EXPECT_EQ(game.Score(), 22);

    SeededRandom other(99);
    PracticeGame faster(other);
    faster.SelectSpeed(3);
    faster.SelectCategory(1);
    faster.Start();
    CompleteAtBonus(faster, 11);
    EXPECT_EQ(faster.Score(), 3 * 2 * 11);
}

// A miss takes 5 x speed x category while that leaves something, else the score drops to 0.
TEST(PracticeGameScoring, AMissTakesFivePointsOrLeavesZero) {
    const struct {
        int secondBonus;
        std::vector<int> afterMisses;
    } cases[] = {{6, {12, 7, 2, 0}}, {4, {10, 5, 0, 0}}};
    for (const auto& c : cases) {
        SeededRandom random(5);
        PracticeGame game(random);
        game.Start();
        CompleteAtBonus(game, 11);
        CompleteAtBonus(game, c.secondBonus);
        std::vector<int> scores;
        for (std::size_t i = 0; i < c.afterMisses.size(); ++i) {
            game.KeyDown(kShiftKey, 1);
            scores.push_back(game.Score());
        }
        EXPECT_EQ(scores, c.afterMisses) << "second bonus " << c.secondBonus;
    }
}

// Words: a letter that does not complete its word scores with the bonus of the last explosion,
// 0 before the first; of two items with the same first letter the older one takes the key.
TEST(PracticeGameScoring, LettersOfAWordScoreWithTheLastBonusAndTheOlderItemTakesTheKey) {
    // Word list 1 starts "the to a": pick "a", then "the", then "to".
    constexpr int kWords = 100;
    ScriptedRandom random({(2 + 0.5) / kWords, 0.5, 0.5, 0.5, (0 + 0.5) / kWords, 0.5, 0.5, 0.5,
                           (1 + 0.5) / kWords, 0.5, 0.5, 0.5});
    PracticeGame game(random);
    game.SelectSpeed(6);
    game.SelectCategory(4); // k = 30
    game.Start();
    ASSERT_EQ(FirstActive(game)->text, u"a");
    game.KeyDown('A', 0); // completes "a" at the top: 30 x 11
    EXPECT_EQ(game.Score(), 330);
    ASSERT_EQ(game.ActiveCount(), 1);
    game.NewItemTimer(); // 330 points allow three items
    ASSERT_EQ(game.ActiveCount(), 2);
    std::vector<std::u16string> texts;
    for (const FallingItem& item : game.Items())
        texts.push_back(item.text);
    EXPECT_EQ(texts, (std::vector<std::u16string>{u"", u"the", u"to"}));

    game.KeyDown('T', 0);
    EXPECT_EQ(game.Items()[1].text, u"he");
    EXPECT_EQ(game.Items()[2].text, u"to");
    EXPECT_EQ(game.Score(), 330 + 330) << "a letter scores with the last explosion's bonus";

    SeededRandom seeded(3);
    PracticeGame fresh(seeded);
    fresh.SelectCategory(4);
    fresh.Start();
    const std::u16string word = FirstActive(fresh)->text;
    ASSERT_GT(word.size(), 1u);
    fresh.KeyDown(VirtualKeyOf(word.front()), 0);
    EXPECT_EQ(FirstActive(fresh)->text, word.substr(1));
    EXPECT_EQ(fresh.Score(), 0) << "no explosion yet: no bonus";
}

TEST(PracticeGameKeys, TheLastKeyShowsShiftStateCodeAndCharacter) {
    SeededRandom random(1);
    PracticeGame game(random);
    game.KeyDown('A', 0);
    EXPECT_EQ(game.LastKey(), u"") << "no game: keys are ignored";
    game.Start();
    game.KeyDown('Q', 1);
    EXPECT_EQ(game.LastKey(), u"1 81 Q");
    game.KeyDown(kShiftKey, 1);
    EXPECT_EQ(game.LastKey(), u"1 16 ");
}

// Paused: ticks move nothing, keys change nothing; resumed, the game goes on from where it was.
TEST(PracticeGamePause, PauseKeepsItemsInPlaceAndIgnoresKeys) {
    SeededRandom random(77);
    PracticeGame game(random);
    game.Start();
    game.FallTick();
    const FallingItem before = *FirstActive(game);
    game.TogglePause();
    EXPECT_TRUE(game.Paused());
    for (int i = 0; i < 20; ++i)
        EXPECT_TRUE(game.FallTick());
    game.NewItemTimer();
    game.KeyDown(VirtualKeyOf(before.text.front()), 0);
    game.KeyDown(kShiftKey, 1);
    const FallingItem& still = *FirstActive(game);
    EXPECT_EQ(still.top, before.top);
    EXPECT_EQ(still.left, before.left);
    EXPECT_EQ(still.text, before.text);
    EXPECT_EQ(game.Score(), 0);
    EXPECT_EQ(game.ActiveCount(), 1);
    EXPECT_EQ(game.LastKey(), u"");

    game.TogglePause();
    EXPECT_FALSE(game.Paused());
    game.FallTick();
    EXPECT_EQ(FirstActive(game)->top, before.top + before.fallStep);
    game.KeyDown(VirtualKeyOf(before.text.front()), 0);
    EXPECT_GT(game.Score(), 0);
}

TEST(PracticeGameMenus, SpeedAndCategoryHoldStillWhileAGameRuns) {
    SeededRandom random(1);
    PracticeGame game(random);
    game.SelectSpeed(4);
    game.SelectCategory(8);
    game.SelectSpeed(7);     // out of range: ignored
    game.SelectCategory(-1); // likewise
    game.Start();
    game.SelectSpeed(2);
    game.SelectCategory(1);
    EXPECT_EQ(game.Speed(), 4);
    EXPECT_EQ(game.CategoryNumber(), 9);
}

class MemoryScoreStore : public ScoreStore {
public:
    std::optional<std::u16string> Read(std::u16string_view name) const override {
        const auto found = values.find(std::u16string(name));
        if (found == values.end())
            return std::nullopt;
        return found->second;
    }
    void Write(std::u16string_view name, std::u16string_view text) override {
        values[std::u16string(name)] = std::u16string(text);
    }
    std::map<std::u16string, std::u16string> values;
};

MemoryScoreStore StoreWithScores(std::initializer_list<int> scores) {
    MemoryScoreStore store;
    int place = 0;
    for (int score : scores) {
        const std::string digits = std::to_string(score);
        store.values[TopPlayerValueName(place)] =
            u"P" + std::u16string(1, static_cast<char16_t>(u'1' + place));
        store.values[TopScoreValueName(place)] = std::u16string(digits.begin(), digits.end());
        ++place;
    }
    return store;
}

std::vector<int> Scores(const TopScoreTable& table) {
    std::vector<int> scores;
    for (const TopScorePlace& place : table.places)
        scores.push_back(place.score);
    return scores;
}

// A tie goes above the older score; the last place drops out; a score below all is not entered.
TEST(TopScores, ATieTakesThePlaceAboveAndMovesTheRestDown) {
    MemoryScoreStore store = StoreWithScores({100, 80, 60, 40, 20});
    TopScoreTable table = TopScoreTable::Load(store);
    EXPECT_EQ(table.Enter(60), 2);
    EXPECT_EQ(Scores(table), (std::vector<int>{100, 80, 60, 60, 40}));
    EXPECT_EQ(table.places[2].name, u"Your Name");
    EXPECT_EQ(table.places[3].name, u"P3");
    EXPECT_EQ(table.places[4].name, u"P4");

    EXPECT_EQ(table.Enter(39), std::nullopt);
    EXPECT_EQ(table.Enter(500), 0);
    EXPECT_EQ(Scores(table), (std::vector<int>{500, 100, 80, 60, 60}));
}

// With nothing stored the places are empty (no name, 0), so a first game enters the table; Save
// writes every place's name and score as text under the table's value names.
TEST(TopScores, EmptyPlacesCountAsZeroAndSaveWritesEveryPlace) {
    MemoryScoreStore store;
    store.values[TopScoreValueName(1)] = u"Not Found";
    store.values[TopScoreValueName(2)] = u"007"; // a number stored as REG_DWORD reads so
    TopScoreTable table = TopScoreTable::Load(store);
    EXPECT_EQ(Scores(table), (std::vector<int>{0, 0, 7, 0, 0}));
    EXPECT_EQ(table.places[0].name, u"");

    EXPECT_EQ(table.Enter(25), 0);
    table.places[0].name = u"Ann";
    table.Save(store);
    EXPECT_EQ(store.values[u"Top Player-1"], u"Ann");
    EXPECT_EQ(store.values[u"Top Score-1"], u"25");
    EXPECT_EQ(store.values[u"Top Score-3"], u"0") << "the old second place (0) moved down";
    EXPECT_EQ(store.values[u"Top Score-4"], u"7");
    EXPECT_EQ(store.values[u"Top Player-5"], u"");
    EXPECT_EQ(store.values.size(), 10u);
}

} // namespace
} // namespace gw
