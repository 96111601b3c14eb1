// Deals the cards the advised seat cannot see to the other three seats, at
// random but never against what it knows: each seat gets exactly its count,
// no card on the table or in the advised hand is dealt, and a seat that paid
// the pot gets none of the cards it could have laid then.
#pragma once

#include "coach/position.hpp"

#include <array>
#include <cstdint>
#include <random>
#include <vector>

namespace corvane::coach {

class DealSampler {
public:
    explicit DealSampler(const Position& pos);

    // False when no deal fits the position (its counts or payments contradict it).
    bool IsConsistent() const { return bConsistent_; }
    // One deal: every seat's hand as a card set, the advised seat's as it is.
    std::array<std::uint64_t, 4> Sample(std::mt19937_64& rng) const;

private:
    // Slots 0..2 are the other seats in order; a card's type is the set of slots
    // that may hold it.
    bool Fits(const std::array<int, 8>& nOfType, const std::array<int, 3>& nRoom) const;

    int nSeat_;
    std::uint64_t nHand_;
    std::array<int, 3> Slots_{};
    std::array<int, 3> nCounts_{};
    std::vector<int> Unknown_;
    std::vector<unsigned> Types_; // beside Unknown_
    std::array<int, 8> nOfType_{};
    bool bConsistent_ = false;
};

} // namespace corvane::coach
