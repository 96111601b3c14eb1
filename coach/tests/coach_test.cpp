// The coach: dealing what the user cannot see, finding forced and winning moves,
// and explaining with the search's own figures.
#include "coach/coach.hpp"
#include "coach/deal_chain.hpp"
#include "coach/deal_sampler.hpp"
#include "coach/tests/game_positions.hpp"

#include <array>
#include <bit>
#include <cmath>
#include <regex>
#include <tuple>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace corvane::coach {
namespace {

using ::testing::AllOf;
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
    // A card that every other seat has shown it lacks fits no deal.
    Position pos = MadePosition(0, Mask({Card(7, 2), Card(12, 3)}), {1, 1, 0, 0});
    pos.Moves = {{0, -1, pos.nTableMask}, {1, -1, pos.nTableMask}, {2, -1, pos.nTableMask}};
    EXPECT_FALSE(DealSampler(pos).IsConsistent());
}

TEST(DealChain, NeverDealsASeatAHandItsPastCardsRuleOut) {
    // The left seat laid the Ace of Clubs with the 9 of Hearts open, and the 9
    // later: holding the 10 of Hearts too, its strategy would have laid the 9 first.
    // In between, the top seat laid the 8 of Clubs, its only card that fitted.
    Position pos = MadePosition(0, Mask({Card(9, 2), Card(12, 3)}), {1, 1, 0, 0});
    const std::uint64_t nBefore = Mask({4, 8, 12, 16, 20, 24, kSevenOfHearts, Card(7, 2)});
    pos.Moves = {{0, Card(0, 0), nBefore},
                 {1, Card(7, 0), nBefore | 1U},
                 {0, Card(8, 2), nBefore | Mask({Card(0, 0), Card(7, 0)})}};
    for (std::uint64_t nSeed = 1; nSeed <= 8; ++nSeed) {
        std::mt19937_64 rng(nSeed);
        DealChain chain(pos, DealSampler(pos), 0.0, rng);
        // With a card each, the two seats trade until the deal fits.
        EXPECT_EQ(chain.Next(40, rng)[0], Mask({Card(12, 3)})) << nSeed;
    }
}

// The user holds the 10 and the King of Clubs; the Jack, Queen and King of
// Diamonds are out, one in each hand. The 10 frees the Jack for whoever holds
// it, who wins; the King of Clubs blocks everyone, and the 10 then wins.
Position WinningPosition() {
    return MadePosition(Mask({Card(9, 1), Card(12, 0)}),
                        Mask({Card(10, 1), Card(11, 1), Card(12, 1)}), {1, 1, 1, 2});
}

TEST(Coach, FindsTheForcedMove) {
    Position opening =
        MadePosition(Mask({26, 0, 1, 2, 3, 5, 9, 13, 17, 21, 29, 33, 37}), kDeck, {13, 13, 13, 13});
    opening.bSevenHeartsPlayed = false;
    const std::array<std::pair<Position, int>, 3> cases{{
        // pay the pot; the only card; the opening Seven
        {MadePosition(Mask({Card(10, 1)}), Mask({Card(9, 1), Card(11, 1), Card(12, 1)}),
                      {1, 1, 1, 1}),
         kPayThePot},
        {MadePosition(Mask({Card(9, 1)}), Mask({Card(10, 1), Card(11, 1), Card(12, 1)}),
                      {1, 1, 1, 1}),
         Card(9, 1)},
        {opening, kSevenOfHearts},
    }};
    for (const auto& [pos, nExpected] : cases) {
        const Advice advice = Advise(pos, SearchBudget{64});
        EXPECT_EQ(advice.nChoice, nExpected);
        EXPECT_FALSE(advice.sText.empty()) << nExpected;
    }
}

TEST(Coach, TheWinningMoveIsWorthWhatThePlayoutsPay) {
    const Advice advice = Advise(WinningPosition(), SearchBudget{2048});
    // The King loses on every deal, so the search stops at its first judgement.
    EXPECT_TRUE(advice.nDeals >= 256 && advice.nDeals < 2048) << advice.nDeals;
    ASSERT_EQ(advice.Outcomes.size(), 2U);
    // Pot $20, three payments and three cards left at $5; against $5 for the King kept.
    EXPECT_EQ(std::tuple(advice.Outcomes[0].dDollars, advice.Outcomes[1].dDollars,
                         advice.Outcomes[0].dWinRate),
              std::tuple(50.0, -5.0, 1.0));
    EXPECT_THAT(advice.sText, AllOf(HasSubstr("hold the 10\u2666"), HasSubstr("about $55.")));
    // The same cards in the right seat, as a coach in the simulator holds them
    // once the seats before it have moved.
    Position right = WinningPosition();
    std::tie(right.nSeat, right.nCardsLeft) = std::tuple(2, std::array{1, 1, 2, 1});
    const Advice fromRight = Advise(right, SearchBudget{64});
    EXPECT_EQ(std::tuple(fromRight.nChoice, fromRight.Outcomes[0].dDollars),
              std::tuple(Card(12, 0), 50.0));
}

TEST(Coach, ScoresAMoveByTheFinalStandings) {
    // The King wins the hand: the user gains $50, every other seat loses $10.
    // {the hand, the funds, the least and the most chance of heading the standings}
    const std::array<std::tuple<int, std::array<int, 4>, double, double>, 5> cases{{
        {3, {160, 100, 100, 100}, 1.0, 1.0},    // level with the leader after the last hand
        {3, {165, 100, 100, 100}, 0.0, 0.0},    // behind the leader after the last hand
        {0, {160, 10, 100, 100}, 1.0, 1.0},     // a seat left without money ends the game
        {0, {160, 100, 100, 100}, 0.05, 0.95},  // hands still to play
        {2, {100, 100, 100, 900}, 0.9999, 1.0}, // far ahead, with a hand to play
    }};
    for (const auto& [nHand, nFunds, dLeast, dMost] : cases) {
        Position pos = WinningPosition();
        pos.nHand = nHand;
        pos.nFunds = nFunds;
        const Advice advice = Advise(pos, SearchBudget{16});
        ASSERT_EQ(advice.nChoice, Card(12, 0)) << nFunds[0];
        const double d = advice.Outcomes[0].dStanding;
        EXPECT_TRUE(d >= dLeast && d <= dMost) << nFunds[0] << ": " << d;
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
        double dPercentScale = 100.0; // 1000 when the chances are quoted to a tenth
        for (std::sregex_iterator it(advice.sText.begin(), advice.sText.end(), figure), end;
             it != end; ++it) {
            dPercentScale = (*it)[4].matched ? 1000.0 : dPercentScale;
            quoted.push_back((*it)[3].matched ? std::stod((*it)[3])
                                              : ((*it)[1] == "-" ? -1 : 1) * std::stod((*it)[2]));
        }
        const auto dollars = [](double d) { return static_cast<double>(std::lround(d)); };
        const auto percent = [&](double d) {
            return static_cast<double>(std::lround(dPercentScale * d)) * 100.0 / dPercentScale;
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
    EXPECT_TRUE(nExplained > 20 && nByStandings > 0) << nExplained << " " << nByStandings;
    // Laying the 6♣ leads to the 5♣ (not the 8♣), the 8♦ to the 9♦ (and the J♦):
    // keeping Diamonds blocked is told only when the 8♦ would lead to more cards.
    for (const auto& [nHand, dPaid, bLeads] :
         {std::tuple(Mask({20, 16, 28, 29, 33}), 1.0, true),
          std::tuple(Mask({20, 16, 28, 29, 33, 41}), 1.0, false),
          std::tuple(Mask({20, 16, 28, 29, 33, 41}), 0.0, true)}) {
        Position pos;
        pos.nHandMask = nHand;
        const Advice advice{.Outcomes = {{20, 10.0, dPaid}, {29}}, .sText = {}};
        const std::string sText = Explain(pos, advice);
        EXPECT_EQ(sText.find(" leads to ") != std::string::npos, bLeads) << sText;
        pos.Moves = {{0, Card(0, 0), 0}}; // a card laid, not a payment
        EXPECT_EQ(Explain(pos, advice), sText);
    }
}

} // namespace
} // namespace corvane::coach
