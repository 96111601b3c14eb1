// Deals that also explain the other seats' past cards: a Markov chain over the
// sampler's deals that swaps two cards between two seats and keeps the swap
// with the Metropolis rule, so that deals come up in proportion to how likely
// each seat's strategy was to lay the cards it laid from the hand it then had.
#pragma once

#include "coach/deal_sampler.hpp"

#include <array>
#include <cstdint>
#include <random>
#include <vector>

namespace corvane::coach {

class DealChain {
public:
    // dFloor is the chance left to a card a seat's strategy would not have laid,
    // in case the seat does not play quite as modelled.
    DealChain(const Position& pos, const DealSampler& sampler, double dFloor, std::mt19937_64& rng);

    // The deal after nSteps more proposals.
    const std::array<std::uint64_t, 4>& Next(int nSteps, std::mt19937_64& rng);

private:
    struct PastCard {
        int nCard;
        std::uint64_t nTableMask;
        std::uint64_t nLaidSince; // the seat's cards laid from this one on
    };

    double SeatLikelihood(int nSeat, std::uint64_t nHand);
    void Propose(std::mt19937_64& rng);

    std::array<std::uint64_t, 4> hands_{};
    std::array<int, 3> Slots_{};
    std::array<std::uint64_t, 3> nForbidden_{};
    std::array<std::vector<PastCard>, 4> Past_;
    std::array<double, 4> dLikelihood_{};
    std::array<int, 4> Levels_{};
    double dFloor_;
    std::vector<int> Cards_;
};

} // namespace corvane::coach
