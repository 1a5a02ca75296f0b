#include "game/PracticeGame.h"

#include "util/DecimalText.h"

#include <cmath>

namespace gw {
namespace {

char16_t ToLower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}
char16_t ToUpper(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

std::u16string Lower(std::u16string text) {
    for (char16_t& c : text)
        c = ToLower(c);
    return text;
}

// Rounds to the nearest integer, halves to even.
int RoundHalfEven(double value) {
    const double down = std::floor(value);
    const double fraction = value - down;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(down, 2.0) != 0.0))
        return static_cast<int>(down) + 1;
    return static_cast<int>(down);
}

} // namespace

std::vector<std::u16string> SplitItems(std::u16string_view source) {
    std::vector<std::u16string> items;
    std::u16string current;
    for (char16_t c : source) {
        if (c != u' ') {
            current += c;
        } else if (!current.empty()) {
            items.push_back(std::move(current));
            current.clear();
        }
    }
    if (!current.empty())
        items.push_back(std::move(current));
    return items;
}

double BaseFallRate(int score, int speed, int categoryNumber) {
    const double rate = (score / 400.0 + 1.0) * speed * 10.0;
    return categoryNumber > 3 ? rate / 3.0 : rate;
}

int MaxItemsForScore(int score) {
    if (score < 100)
        return 1;
    if (score < 250)
        return 2;
    if (score < 400)
        return 3;
    return 4;
}

int NewItemIntervalMs(int speed, int categoryNumber) {
    // The small allowance keeps 5000 / (10 / 3) at 1500, as decimal arithmetic gives it.
    const double ticks = std::floor(5000.0 / BaseFallRate(0, speed, categoryNumber) + 1e-9);
    return 30 * static_cast<int>(ticks);
}

PracticeGame::PracticeGame(RandomSource& random, GameField field) : random_(random), field_(field) {
    SelectCategory(0);
}

void PracticeGame::SelectSpeed(int speed) {
    if (!running_ && speed >= 1 && speed <= kSpeedCount)
        speed_ = speed;
}

void PracticeGame::SelectCategory(int index) {
    if (running_ || index < 0 || index >= kCategoryCount)
        return;
    category_ = index;
    source_ = SplitItems(GameCategories()[static_cast<std::size_t>(index)].source);
}

void PracticeGame::Start() {
    if (running_)
        return;
    running_ = true;
    paused_ = false;
    gameOver_ = false;
    score_ = 0;
    lives_ = kLives;
    newItemIntervalMs_ = gw::NewItemIntervalMs(speed_, CategoryNumber());
    AddItem();
}

int PracticeGame::End() {
    running_ = false;
    paused_ = false;
    items_.clear();
    activeCount_ = 0;
    gameOver_ = true;
    return score_;
}

void PracticeGame::TogglePause() {
    if (running_)
        paused_ = !paused_;
}

void PracticeGame::AddItem() {
    if (activeCount_ + 1 > MaxItemsForScore(score_))
        return;
    ++activeCount_;
    FallingItem item;
    item.active = true;
    item.top = kItemStartTop;
    const auto n = static_cast<std::size_t>(source_.size() * random_.Next());
    item.text = n < source_.size() ? Lower(source_[n]) : std::u16string();
    item.width = kTwipsPerCharacter * static_cast<int>(item.text.size());
    item.left = (field_.width * 3.0 / 5.0 - item.width) * random_.Next() + field_.width / 5.0;
    const double rate = CurrentFallRate();
    item.fallStep = RoundHalfEven(rate * random_.Next() + rate);
    item.direction = RoundHalfEven(random_.Next() * 2.0 - 1.0);
    items_.push_back(std::move(item));
}

bool PracticeGame::FallTick() {
    if (!running_ || paused_)
        return running_;
    random_.Reseed();
    // Items added during the tick fall from the next one on.
    const std::size_t count = items_.size();
    for (std::size_t i = 0; i < count; ++i) {
        FallingItem& item = items_[i];
        if (!item.active)
            continue;
        item.top += item.fallStep;
        Drift(item);
        if (item.top > field_.height && !Land(item))
            return false;
    }
    return true;
}

void PracticeGame::Drift(FallingItem& item) {
    double x = item.left + std::fabs(std::cos(random_.Next() * 3.14159)) * 200.0 * item.direction;
    if (x > field_.width - item.width) {
        x = field_.width - item.width - 30;
        item.direction = -1;
    } else if (x < 0) {
        x = 20;
        item.direction = 1;
    }
    item.left = x;
    const bool step = static_cast<int>(random_.Next() * 2.0) == 1;
    if (item.direction == 0)
        item.direction = step ? 1 : -1;
    else
        item.direction = step ? item.direction : 0;
}

// An item reached the bottom: it costs a life. False when that was the last one.
bool PracticeGame::Land(FallingItem& item) {
    ++landed_;
    Finish(item);
    if (--lives_ > 0)
        return true;
    End();
    return false;
}

void PracticeGame::Finish(FallingItem& item) {
    item.active = false;
    --activeCount_;
    if (activeCount_ < kMaxItemsOnField)
        AddItem();
}

std::optional<Explosion> PracticeGame::KeyDown(int virtualKey, int shiftState) {
    if (!running_ || paused_)
        return std::nullopt;
    lastKey_ = DecimalText(shiftState) + u' ' + DecimalText(virtualKey) + u' ';
    if (virtualKey >= 0x20)
        lastKey_ += static_cast<char16_t>(virtualKey);
    for (FallingItem& item : items_) {
        if (!item.active || item.text.empty() || ToUpper(item.text.front()) != virtualKey)
            continue;
        item.text.erase(0, 1);
        std::optional<Explosion> explosion;
        if (item.text.empty()) {
            explosion = Explode(item);
            Finish(item);
        }
        score_ += Multiplier() * heightBonus_;
        return explosion;
    }
    ScoreMiss();
    return std::nullopt;
}

Explosion PracticeGame::Explode(const FallingItem& item) {
    heightBonus_ = static_cast<int>((field_.height - item.top) * 10.0 / field_.height) + 1;
    return {item.top, item.left};
}

void PracticeGame::ScoreMiss() {
    const int penalty = 5 * Multiplier();
    score_ = score_ - penalty > 0 ? score_ - penalty : 0;
}

} // namespace gw
