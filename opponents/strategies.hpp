// How a computer seat chooses which legal card to lay, at each skill level.
// DownCards holds the seat's cards that extend a row downwards and then its
// Sevens; UpCards the cards that extend a row upwards and then its Sevens again.
// nDown and nUp are their lengths; at least one is above 0. Cards is the seat's
// hand. Each function returns one of the listed cards and empties both lists.
#pragma once

#include "engine/cards.hpp"
#include "engine/clock.hpp"

#include <cstdint>
#include <vector>

namespace corvane {

// Lists a hand's legal cards once the Seven of Hearts is down: the cards one
// below the row ends into DownCards and one above into UpCards, in the order of
// the row ends, then every Seven held into both lists.
void CollectCandidates(const std::vector<int>& Cards, std::uint64_t nTableMask,
                       std::vector<int>& DownCards, std::vector<int>& UpCards);

// What the strategies need to draw random numbers: the shared generator state
// and the clock that seeds it.
struct RandomSource {
    std::int32_t& lSeed;
    Clock& clock;
};

// Easy: a legal card at random (a Seven, listed twice, is twice as likely).
int GetBestEasyCard(const std::vector<int>& Cards, int nDown, int nUp, std::vector<int>& DownCards,
                    std::vector<int>& UpCards, RandomSource rnd);
// Medium: the card opening the longest stretch towards another card of its suit
// in the hand; ties at random.
int GetBestMediumCard(const std::vector<int>& Cards, int nDown, int nUp,
                      std::vector<int>& DownCards, std::vector<int>& UpCards, RandomSource rnd);
// Hard: as Medium, but when no card leads anywhere, the card farthest from the Seven.
int GetBestHardCard(const std::vector<int>& Cards, int nDown, int nUp, std::vector<int>& DownCards,
                    std::vector<int>& UpCards, RandomSource rnd);

// The same, with the hand given as its set of cards (one bit per card number),
// as the game state keeps it beside each hand, and the lists kept inline, as a
// seat's turn fills them.
void CollectCandidatesFromMask(std::uint64_t nHandMask, std::uint64_t nTableMask,
                               CardList& DownCards, CardList& UpCards);
int GetBestEasyCardFromMask(std::uint64_t nHandMask, int nDown, int nUp, CardList& DownCards,
                            CardList& UpCards, RandomSource rnd);
int GetBestMediumCardFromMask(std::uint64_t nHandMask, int nDown, int nUp, CardList& DownCards,
                              CardList& UpCards, RandomSource rnd);
int GetBestHardCardFromMask(std::uint64_t nHandMask, int nDown, int nUp, CardList& DownCards,
                            CardList& UpCards, RandomSource rnd);

// How often, out of nOutOf, the strategy of nLevel (0 Easy, 1 Medium, 2 Hard)
// lays nCard from this hand on this table once the Seven of Hearts is down; the
// draws among equal candidates are what makes it less than certain.
struct ChoiceOdds {
    int nCount = 0;
    int nOutOf = 1;
};
ChoiceOdds OddsOfChoice(int nLevel, const std::vector<int>& Cards, std::uint64_t nTableMask,
                        int nCard);

} // namespace corvane
