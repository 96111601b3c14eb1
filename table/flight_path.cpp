#include "flight_path.hpp"

#include "engine/cards.hpp"

namespace corvane {

std::vector<TwipsPoint> FlightPath(int nSeat, int nCard, int nTableWidth) {
    std::vector<TwipsPoint> Path;
    if (nCard < 0 || nCard >= kCardsInDeck) {
        return Path;
    }
    const int nLeft = GetCardLeft(nCard);
    const int nTop = GetCardTop(nCard);
    const int xT = TwipsToPixels(nLeft);
    const int yT = TwipsToPixels(nTop);
    switch (nSeat) {
    case kLeftSeat:
        for (int x = 0; x <= xT; x += kFlightStepPixels) {
            Path.push_back({PixelsToTwips(x), nTop});
        }
        break;
    case kTopSeat:
        for (int y = 0; y <= yT; y += kFlightStepPixels) {
            Path.push_back({nLeft, PixelsToTwips(y)});
        }
        break;
    case kRightSeat:
        for (int x = TwipsToPixels(nTableWidth); x >= xT; x -= kFlightStepPixels) {
            Path.push_back({PixelsToTwips(x), nTop});
        }
        break;
    default:
        return Path;
    }
    Path.push_back({nLeft, nTop});
    return Path;
}

long long FlightStepMicroseconds(long lAnimSpeed) {
    // 0.14 microseconds a unit: about 11 ms a step at the default, so the 87
    // steps to the farthest column take about one second.
    if (lAnimSpeed <= 0) {
        return 0;
    }
    return static_cast<long long>(lAnimSpeed) * 14 / 100;
}

} // namespace corvane
