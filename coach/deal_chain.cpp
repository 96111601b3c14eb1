// The chain's state is one deal; a proposal moves a card each way between two
// seats, so every seat keeps its count, and only swaps that the pot payments
// allow are proposed.
#include "coach/deal_chain.hpp"

#include "engine/cards.hpp"
#include "opponents/strategies.hpp"

#include <bit>

namespace corvane::coach {
namespace {

int NthCard(std::uint64_t nMask, int n) {
    for (int i = 0; i < n; ++i) {
        nMask &= nMask - 1;
    }
    return std::countr_zero(nMask);
}

} // namespace

DealChain::DealChain(const Position& pos, const DealSampler& sampler, double dFloor,
                     std::mt19937_64& rng)
    : hands_(sampler.Sample(rng)), Levels_(pos.Levels), dFloor_(dFloor) {
    int j = 0;
    for (int nSeat = 0; nSeat < 4; ++nSeat) {
        if (nSeat != pos.nSeat) {
            Slots_[j] = nSeat;
            nForbidden_[j] = ForbiddenCards(pos, nSeat);
            ++j;
        }
    }
    // The Seven of Hearts that opens the hand is laid whatever else is held.
    std::array<std::uint64_t, 4> nLaid{};
    for (auto it = pos.Moves.rbegin(); it != pos.Moves.rend(); ++it) {
        if (it->nCard < 0) {
            continue;
        }
        nLaid[it->nSeat] |= std::uint64_t{1} << it->nCard;
        if (it->nSeat != pos.nSeat && it->nCard != kSevenOfHearts) {
            Past_[it->nSeat].push_back(PastCard{it->nCard, it->nTableMask, nLaid[it->nSeat]});
        }
    }
    for (const int nSeat : Slots_) {
        dLikelihood_[nSeat] = SeatLikelihood(nSeat, hands_[nSeat]);
    }
}

double DealChain::SeatLikelihood(int nSeat, std::uint64_t nHand) {
    double dLikelihood = 1.0;
    for (const PastCard& past : Past_[nSeat]) {
        Cards_.clear();
        for (std::uint64_t n = nHand | past.nLaidSince; n != 0; n &= n - 1) {
            Cards_.push_back(std::countr_zero(n));
        }
        const ChoiceOdds odds = OddsOfChoice(Levels_[nSeat], Cards_, past.nTableMask, past.nCard);
        dLikelihood *= dFloor_ + (1.0 - dFloor_) * odds.nCount / odds.nOutOf;
    }
    return dLikelihood;
}

void DealChain::Propose(std::mt19937_64& rng) {
    std::uniform_int_distribution<int> slot(0, 2);
    const int j1 = slot(rng);
    const int j2 = (j1 + 1 + slot(rng) % 2) % 3;
    const int s1 = Slots_[j1];
    const int s2 = Slots_[j2];
    const int n1 = std::popcount(hands_[s1]);
    const int n2 = std::popcount(hands_[s2]);
    if (n1 == 0 || n2 == 0) {
        return;
    }
    const int c1 = NthCard(hands_[s1], std::uniform_int_distribution<int>(0, n1 - 1)(rng));
    const int c2 = NthCard(hands_[s2], std::uniform_int_distribution<int>(0, n2 - 1)(rng));
    if (InMask(nForbidden_[j2], c1) || InMask(nForbidden_[j1], c2)) {
        return;
    }
    const std::uint64_t nSwap = (std::uint64_t{1} << c1) | (std::uint64_t{1} << c2);
    const std::uint64_t nHand1 = hands_[s1] ^ nSwap;
    const std::uint64_t nHand2 = hands_[s2] ^ nSwap;
    const double dNew1 = SeatLikelihood(s1, nHand1);
    const double dNew2 = SeatLikelihood(s2, nHand2);
    const double dOld = dLikelihood_[s1] * dLikelihood_[s2];
    if (dOld <= 0.0 || dNew1 * dNew2 >= dOld ||
        std::uniform_real_distribution<double>(0.0, dOld)(rng) < dNew1 * dNew2) {
        hands_[s1] = nHand1;
        hands_[s2] = nHand2;
        dLikelihood_[s1] = dNew1;
        dLikelihood_[s2] = dNew2;
    }
}

const std::array<std::uint64_t, 4>& DealChain::Next(int nSteps, std::mt19937_64& rng) {
    for (int i = 0; i < nSteps; ++i) {
        Propose(rng);
    }
    return hands_;
}

} // namespace corvane::coach
