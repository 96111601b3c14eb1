#include "flight_path.hpp"

#include "engine/cards.hpp"

#include <cmath>

namespace corvane {
namespace {

int ToPixels(int nTwips) {
    return static_cast<int>(std::nearbyint(static_cast<double>(nTwips) / kTwipsPerPixel));
}

} // namespace

std::vector<TwipsPoint> FlightPath(int nSeat, int nCard, int nTableWidth) {
    std::vector<TwipsPoint> Path;
    if (nCard < 0 || nCard >= kCardsInDeck) {
        return Path;
    }
    const int nLeft = GetCardLeft(nCard);
    const int nTop = GetCardTop(nCard);
    const int xT = ToPixels(nLeft);
    const int yT = ToPixels(nTop);
    switch (nSeat) {
    case kLeftSeat:
        for (int x = 0; x <= xT; x += kFlightStepPixels) {
            Path.push_back({x * kTwipsPerPixel, nTop});
        }
        break;
    case kTopSeat:
        for (int y = 0; y <= yT; y += kFlightStepPixels) {
            Path.push_back({nLeft, y * kTwipsPerPixel});
        }
        break;
    case kRightSeat:
        for (int x = ToPixels(nTableWidth); x >= xT; x -= kFlightStepPixels) {
            Path.push_back({x * kTwipsPerPixel, nTop});
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
