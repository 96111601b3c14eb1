// The coach: dealing what the user cannot see, finding forced and winning moves,
// and explaining with the search's own figures.
#include "coach/coach.hpp"
#include "coach/deal_sampler.hpp"
#include "coach/tests/game_positions.hpp"

#include <array>
#include <bit>
#include <cmath>
#include <regex>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace corvane::coach {
namespace {

using ::testing::HasSubstr;

constexpr std::uint64_t kDeck = (std::uint64_t{1} << kCardsInDeck) - 1;

std::uint64_t Mask(std::initializer_list<int> cards) {
    std::uint64_t n = 0;
    for (const int c : cards) {
        n |= std::uint64_t{1} << c;
    }
    return n;
}

constexpr int Card(int nRank, int nSuit) {
    return 4 * nRank + nSuit;
}

TEST(DealSampler, DealsOnlyUnseenCardsAndHonoursEveryPayment) {
    const auto positions = testing::CollectPositions(400);
    std::mt19937_64 rng(99); // NOLINT(cert-msc32-c,cert-msc51-cpp): the same deals every run
    int nBinding = 0;
    for (const auto& gp : positions) {
        const Position& pos = gp.pos;
        const std::uint64_t nUnseen = kDeck & ~(pos.nTableMask | pos.nHandMask);
        for (int nSeat = 0; nSeat < 3; ++nSeat) {
            // What the engine recorded holds for the real hands too.
            ASSERT_EQ(gp.TrueHands[nSeat] & ForbiddenCards(pos, nSeat), 0U);
            nBinding += (ForbiddenCards(pos, nSeat) & nUnseen) != 0 ? 1 : 0;
        }
        const DealSampler sampler(pos);
        ASSERT_TRUE(sampler.IsConsistent());
        for (int i = 0; i < 20; ++i) {
            const auto hands = sampler.Sample(rng);
            EXPECT_EQ(hands[kUserSeat], pos.nHandMask);
            std::uint64_t nDealt = 0;
            for (int nSeat = 0; nSeat < 3; ++nSeat) {
                EXPECT_EQ(std::popcount(hands[nSeat]), pos.nCardsLeft[nSeat]);
                EXPECT_EQ(hands[nSeat] & nDealt, 0U);
                EXPECT_EQ(hands[nSeat] & ForbiddenCards(pos, nSeat), 0U);
                nDealt |= hands[nSeat];
            }
            ASSERT_EQ(nDealt, nUnseen);
        }
    }
    // The payments must bind often enough for the property to be tested.
    EXPECT_GT(nBinding, 100);
}

// Everything on the table except the user's cards and the unknown ones.
Position MadePosition(std::uint64_t nUser, std::uint64_t nUnknown, std::array<int, 4> nCounts) {
    Position pos;
    pos.nHandMask = nUser;
    pos.nTableMask = kDeck & ~(nUser | nUnknown);
    pos.nCardsLeft = nCounts;
    pos.nFunds = {100, 100, 100, 100};
    pos.nPot = 20;
    return pos;
}

// The user holds the 10 and the King of Clubs; the Jack, Queen and King of
// Diamonds are out, one in each hand. The 10 frees the Jack for whoever holds
// it, who wins; the King of Clubs blocks everyone, and the 10 then wins.
Position WinningPosition() {
    return MadePosition(Mask({Card(9, 1), Card(12, 0)}),
                        Mask({Card(10, 1), Card(11, 1), Card(12, 1)}), {1, 1, 1, 2});
}

TEST(Coach, FindsTheForcedOrWinningMove) {
    Position opening;
    opening.bSevenHeartsPlayed = false;
    opening.nTableMask = 0;
    opening.nHandMask = Mask({26, 0, 1, 2, 3, 5, 9, 13, 17, 21, 29, 33, 37});
    opening.nCardsLeft = {13, 13, 13, 13};
    struct Case {
        const char* sName = "";
        Position pos;
        int nExpected = kPayThePot;
    };
    const std::array<Case, 4> cases{{
        {"pay",
         MadePosition(Mask({Card(10, 1)}), Mask({Card(9, 1), Card(11, 1), Card(12, 1)}),
                      {1, 1, 1, 1}),
         kPayThePot},
        {"only card",
         MadePosition(Mask({Card(9, 1)}), Mask({Card(10, 1), Card(11, 1), Card(12, 1)}),
                      {1, 1, 1, 1}),
         Card(9, 1)},
        {"opening", opening, kSevenOfHearts},
        {"winning", WinningPosition(), Card(12, 0)},
    }};
    for (const auto& c : cases) {
        const Advice advice = Advise(c.pos, SearchBudget{64});
        EXPECT_EQ(advice.nChoice, c.nExpected) << c.sName;
        EXPECT_FALSE(advice.sText.empty()) << c.sName;
    }
}

TEST(Coach, TheWinningMoveIsWorthWhatThePlayoutsPay) {
    const Advice advice = Advise(WinningPosition(), SearchBudget{2048});
    // The King loses on every deal, so the search stops long before its budget.
    EXPECT_LT(advice.nDeals, 2048);
    ASSERT_EQ(advice.Outcomes.size(), 2U);
    // Pot $20, three payments and three cards left at $5; against $5 for the King kept.
    EXPECT_EQ(advice.Outcomes[0].dDollars, 50.0);
    EXPECT_EQ(advice.Outcomes[1].dDollars, -5.0);
    EXPECT_EQ(advice.Outcomes[0].dWinRate, 1.0);
    EXPECT_THAT(advice.sText, HasSubstr("hold the 10\u2666"));
    EXPECT_THAT(advice.sText, HasSubstr("about $55."));
}

TEST(Coach, ScoresAMoveByTheFinalStandings) {
    // The King wins the hand: the user ends on $150, every other seat $10 down.
    struct Case {
        const char* sName = "";
        int nHand = 0;
        int nLeft = 0;
        int nTop = 0;
        double dLeast = 0.0;
        double dMost = 1.0;
    };
    const std::array<Case, 4> cases{{
        {"level with the leader after the last hand", 3, 160, 100, 1.0, 1.0},
        {"behind the leader after the last hand", 3, 165, 100, 0.0, 0.0},
        {"a seat left without money ends the game", 0, 160, 10, 1.0, 1.0},
        {"hands still to play", 0, 160, 100, 0.05, 0.95},
    }};
    for (const auto& c : cases) {
        Position pos = WinningPosition();
        pos.nHand = c.nHand;
        pos.nFunds[0] = c.nLeft;
        pos.nFunds[1] = c.nTop;
        const Advice advice = Advise(pos, SearchBudget{16});
        ASSERT_EQ(advice.nChoice, Card(12, 0)) << c.sName;
        EXPECT_GE(advice.Outcomes[0].dStanding, c.dLeast) << c.sName;
        EXPECT_LE(advice.Outcomes[0].dStanding, c.dMost) << c.sName;
    }
}

TEST(Coach, TheExplanationQuotesTheSearch) {
    const auto positions = testing::CollectPositions(60, 500);
    // Dollars, or chances of finishing on top when the standings overrule the dollars.
    const std::regex figure(R"(([+-]?)\$(\d+)|(\d+(\.\d)?)%)");
    int nExplained = 0;
    int nByStandings = 0;
    for (const auto& gp : positions) {
        const Advice advice = Advise(gp.pos, SearchBudget{24});
        if (advice.Outcomes.size() < 2) {
            continue;
        }
        ++nExplained;
        const ChoiceOutcome& best = advice.Outcomes[0];
        const ChoiceOutcome& next = advice.Outcomes[1];
        EXPECT_EQ(advice.sText.find("Lay the " + ShortCardName(best.nChoice)), 0U) << advice.sText;
        std::vector<double> quoted;
        bool bTenths = false;
        for (std::sregex_iterator it(advice.sText.begin(), advice.sText.end(), figure), end;
             it != end; ++it) {
            bTenths = bTenths || (*it)[4].matched;
            quoted.push_back((*it)[3].matched ? std::stod((*it)[3])
                                              : ((*it)[1] == "-" ? -1 : 1) * std::stod((*it)[2]));
        }
        const auto dollars = [](double d) { return static_cast<double>(std::lround(d)); };
        const auto percent = [bTenths](double d) {
            return bTenths ? static_cast<double>(std::lround(1000 * d)) / 10
                           : static_cast<double>(std::lround(100 * d));
        };
        std::vector<double> searched{dollars(best.dDollars), dollars(next.dDollars)};
        if (best.dDollars < next.dDollars) {
            ++nByStandings;
            EXPECT_GE(best.dStanding, next.dStanding);
            searched = {percent(best.dStanding), percent(next.dStanding)};
        } else if (advice.sText.find("hold the") != std::string::npos) {
            searched = {dollars(best.dDollars - next.dDollars)};
        }
        EXPECT_EQ(quoted, searched) << advice.sText;
    }
    EXPECT_GT(nExplained, 20);
    EXPECT_GT(nByStandings, 0);
}

} // namespace
} // namespace corvane::coach
