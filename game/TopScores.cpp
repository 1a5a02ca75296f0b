#include "game/TopScores.h"

#include "util/DecimalText.h"

#include <limits>

namespace gw {

std::u16string TopPlayerValueName(int place) {
    return u"Top Player-" + DecimalText(place + 1);
}

std::u16string TopScoreValueName(int place) {
    return u"Top Score-" + DecimalText(place + 1);
}

int ParseScore(std::u16string_view text) {
    long long value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9')
            break;
        value = value * 10 + (c - u'0');
        if (value > std::numeric_limits<int>::max())
            return std::numeric_limits<int>::max();
    }
    return static_cast<int>(value);
}

TopScoreTable TopScoreTable::Load(const ScoreStore& store) {
    TopScoreTable table;
    for (int i = 0; i < kTopScorePlaces; ++i) {
        TopScorePlace& place = table.places[static_cast<std::size_t>(i)];
        place.name = store.Read(TopPlayerValueName(i)).value_or(u"");
        place.score = ParseScore(store.Read(TopScoreValueName(i)).value_or(u""));
    }
    return table;
}

void TopScoreTable::Save(ScoreStore& store) const {
    for (int i = 0; i < kTopScorePlaces; ++i) {
        const TopScorePlace& place = places[static_cast<std::size_t>(i)];
        store.Write(TopPlayerValueName(i), place.name);
        store.Write(TopScoreValueName(i), DecimalText(place.score));
    }
}

std::optional<int> TopScoreTable::Enter(int finalScore) {
    for (std::size_t i = 0; i < places.size(); ++i) {
        if (places[i].score > finalScore)
            continue;
        for (std::size_t below = places.size() - 1; below > i; --below)
            places[below] = places[below - 1];
        places[i] = {kNewPlayerName, finalScore};
        return static_cast<int>(i);
    }
    return std::nullopt;
}

} // namespace gw
