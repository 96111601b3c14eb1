// Sequential dealing with a look-ahead: a card goes to a seat only if the cards
// still to deal can then be placed, which with three seats is Hall's condition
// over the seven sets of seats. So a deal never has to be thrown away.
#include "coach/deal_sampler.hpp"

#include "engine/cards.hpp"

#include <algorithm>
#include <bit>
#include <numeric>

namespace corvane::coach {

DealSampler::DealSampler(const Position& pos) : nSeat_(pos.nSeat), nHand_(pos.nHandMask) {
    int j = 0;
    for (int nSeat = 0; nSeat < 4; ++nSeat) {
        if (nSeat != pos.nSeat) {
            Slots_[j] = nSeat;
            nCounts_[j] = pos.nCardsLeft[nSeat];
            ++j;
        }
    }
    std::array<std::uint64_t, 3> nForbidden{};
    for (j = 0; j < 3; ++j) {
        nForbidden[j] = ForbiddenCards(pos, Slots_[j]);
    }
    const std::uint64_t nSeen = pos.nTableMask | pos.nHandMask;
    for (int c = 0; c < kCardsInDeck; ++c) {
        if (InMask(nSeen, c)) {
            continue;
        }
        unsigned nType = 0;
        for (j = 0; j < 3; ++j) {
            if (!InMask(nForbidden[j], c)) {
                nType |= 1U << j;
            }
        }
        Unknown_.push_back(c);
        Types_.push_back(nType);
        ++nOfType_[nType];
    }
    const bool bCountsOk =
        std::all_of(nCounts_.begin(), nCounts_.end(), [](int n) { return n >= 0; }) &&
        std::accumulate(nCounts_.begin(), nCounts_.end(), 0) == static_cast<int>(Unknown_.size()) &&
        std::popcount(pos.nHandMask) == pos.nCardsLeft[pos.nSeat] &&
        (pos.nHandMask & pos.nTableMask) == 0;
    bConsistent_ = bCountsOk && Fits(nOfType_, nCounts_);
}

bool DealSampler::Fits(const std::array<int, 8>& nOfType, const std::array<int, 3>& nRoom) const {
    for (unsigned nSet = 0; nSet < 8; ++nSet) {
        int nCards = 0;
        for (unsigned nType = 0; nType < 8; ++nType) {
            if ((nType & ~nSet) == 0) {
                nCards += nOfType[nType];
            }
        }
        int nSpace = 0;
        for (unsigned j = 0; j < 3; ++j) {
            if ((nSet >> j & 1U) != 0) {
                nSpace += nRoom[j];
            }
        }
        if (nCards > nSpace) {
            return false;
        }
    }
    return true;
}

std::array<std::uint64_t, 4> DealSampler::Sample(std::mt19937_64& rng) const {
    std::array<std::uint64_t, 4> hands{};
    hands[nSeat_] = nHand_;
    if (!bConsistent_) {
        return hands;
    }
    std::vector<std::size_t> order(Unknown_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::shuffle(order.begin(), order.end(), rng);
    std::array<int, 8> nOfType = nOfType_;
    std::array<int, 3> nRoom = nCounts_;
    for (const std::size_t i : order) {
        const unsigned nType = Types_[i];
        --nOfType[nType];
        // Each seat that can take the card is weighted by its room, as in a real deal.
        std::array<int, 3> nWeight{};
        int nTotal = 0;
        for (unsigned j = 0; j < 3; ++j) {
            if ((nType >> j & 1U) == 0 || nRoom[j] == 0) {
                continue;
            }
            --nRoom[j];
            if (Fits(nOfType, nRoom)) {
                nWeight[j] = nRoom[j] + 1;
                nTotal += nWeight[j];
            }
            ++nRoom[j];
        }
        int r = std::uniform_int_distribution<int>(0, nTotal - 1)(rng);
        unsigned j = 0;
        while (r >= nWeight[j]) {
            r -= nWeight[j];
            ++j;
        }
        --nRoom[j];
        hands[Slots_[j]] |= std::uint64_t{1} << Unknown_[i];
    }
    return hands;
}

} // namespace corvane::coach
