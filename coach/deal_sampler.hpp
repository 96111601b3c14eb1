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
    bool IsConsistent() const { return m_bConsistent; }
    // One deal: every seat's hand as a card set, the advised seat's as it is.
    std::array<std::uint64_t, 4> Sample(std::mt19937_64& rng) const;

private:
    // Slots 0..2 are the other seats in order; a card's type is the set of slots
    // that may hold it.
    bool Fits(const std::array<int, 8>& nOfType, const std::array<int, 3>& nRoom) const;

    int m_nSeat;
    std::uint64_t m_nHand;
    std::array<int, 3> m_Slots{};
    std::array<int, 3> m_nCounts{};
    std::vector<int> m_Unknown;
    std::vector<unsigned> m_Types; // beside m_Unknown
    std::array<int, 8> m_nOfType{};
    bool m_bConsistent = false;
};

} // namespace corvane::coach
