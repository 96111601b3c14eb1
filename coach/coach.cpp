// Flat Monte Carlo over determinised deals with common random numbers: every
// choice is played out on the same deals with the same opponent draws, so the
// differences between choices carry little noise even with few deals. A choice
// that clearly trails drops out of the race, so the deals go to the close calls.
#include "coach/coach.hpp"

#include "coach/deal_chain.hpp"
#include "coach/deal_sampler.hpp"
#include "coach/headless_game.hpp"
#include "engine/cards.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace corvane::coach {
namespace {

constexpr std::array<const char*, 13> kRankLabels{"A", "2", "3",  "4", "5", "6", "7",
                                                  "8", "9", "10", "J", "Q", "K"};
constexpr std::array<const char*, 4> kSuitSymbols{"\u2663", "\u2666", "\u2665", "\u2660"};
constexpr std::array<const char*, 4> kSuitNames{"Clubs", "Diamonds", "Hearts", "Spades"};
constexpr std::array<const char*, 4> kNumberWords{"no", "one", "two", "three"};

// A pot payment by another seat more on average counts as keeping it blocked.
constexpr double kBlockingMargin = 0.25;

// How far a seat's funds move in one hand, one standard deviation, between
// seats of equal skill: the winner takes the pot and the cards left, the
// others pay. One seat's funds move about $60 a hand, but what one seat wins
// the others pay, so leads move more; $85 predicted the winners of whole games
// among four Hard seats best.
constexpr double kHandSpread = 85.0;
// Among choices with an equal chance of heading the standings, a dollar more
// decides; this weight keeps it from ever outweighing a real difference.
constexpr double kDollarTieBreak = 1e-4;

// The chance that a seat finishes on top when every seat's funds still move by
// a normal step of kHandSpread a hand, each on its own, for the hands left. The
// seat's own step is integrated over on a fixed grid; given it, the others fall
// behind independently. Money moves in $5 steps, so the normal's values are
// tabled once per search for every such lead.
class StandingsOdds {
public:
    StandingsOdds(int nSeat, int nHandsLeft) : nSeat_(nSeat), nHandsLeft_(nHandsLeft) {
        if (nHandsLeft_ <= 0) {
            return;
        }
        double dSum = 0.0;
        for (std::size_t k = 0; k < kNodes; ++k) {
            const double z = -3.75 + 0.5 * static_cast<double>(k);
            dWeight_[k] = std::exp(-0.5 * z * z);
            dSum += dWeight_[k];
        }
        for (double& w : dWeight_) {
            w /= dSum;
        }
        dScale_ = 1.0 / (kHandSpread * std::sqrt(2.0 * nHandsLeft_));
        Table_.resize(kNodes * (2 * kSteps + 1));
        for (int i = -kSteps; i <= kSteps; ++i) {
            for (std::size_t k = 0; k < kNodes; ++k) {
                Table_[Index(i, k)] = Normal(kStep * i, k);
            }
        }
    }

    double Chance(const std::array<int, 4>& nFunds) const {
        const bool bGameOver = nHandsLeft_ <= 0 || std::any_of(nFunds.begin(), nFunds.end(),
                                                               [](int n) { return n < 1; });
        if (bGameOver) {
            return Heads(nFunds) ? 1.0 : 0.0;
        }
        double dChance = 0.0;
        for (std::size_t k = 0; k < kNodes; ++k) {
            double p = dWeight_[k];
            for (int o = 0; o < 4; ++o) {
                if (o == nSeat_) {
                    continue;
                }
                const int nLead = nFunds[nSeat_] - nFunds[o];
                const int i = nLead / kStep;
                p *= nLead % kStep == 0 && std::abs(i) <= kSteps ? Table_[Index(i, k)]
                                                                 : Normal(nLead, k);
            }
            dChance += p;
        }
        return dChance;
    }

private:
    // The chance of staying ahead of a seat by nLead when the advised seat's own
    // step is node k.
    double Normal(int nLead, std::size_t k) const {
        const double z = -3.75 + 0.5 * static_cast<double>(k);
        return 0.5 * std::erfc(-(nLead * dScale_ + z * std::sqrt(0.5)));
    }

    static std::size_t Index(int i, std::size_t k) {
        return static_cast<std::size_t>(i + kSteps) * kNodes + k;
    }

    // On equal funds the later seat heads the standings.
    bool Heads(const std::array<int, 4>& nFunds) const {
        for (int o = 0; o < 4; ++o) {
            if (o < nSeat_ ? nFunds[o] > nFunds[nSeat_]
                           : o > nSeat_ && nFunds[o] >= nFunds[nSeat_]) {
                return false;
            }
        }
        return true;
    }

    static constexpr std::size_t kNodes = 16;
    static constexpr int kStep = 5;
    static constexpr int kSteps = 200; // leads up to $1,000
    int nSeat_;
    int nHandsLeft_;
    double dScale_ = 0.0;
    std::array<double, kNodes> dWeight_{};
    std::vector<double> Table_;
};

double Merit(const ChoiceOutcome& o) {
    return o.dStanding + kDollarTieBreak * o.dDollars;
}

int DistanceFromSeven(int nCard) {
    return std::abs(Rank(nCard) - 6);
}

// The seat's cards of the same suit that the card opens the way to, nearest first.
std::vector<int> CardsLedTo(const Position& pos, int nCard) {
    std::vector<int> cards;
    if (nCard == kPayThePot) {
        return cards;
    }
    const int nRank = Rank(nCard);
    for (int nStep = 1; nStep < 13; ++nStep) {
        for (const int nDir : {-1, 1}) {
            const int r = nRank + nDir * nStep;
            const bool bAhead = nRank == 6 || (nRank < 6 ? nDir < 0 : nDir > 0);
            const int c = 4 * r + Suit(nCard);
            if (bAhead && r >= 0 && r < 13 && InMask(pos.nHandMask, c)) {
                cards.push_back(c);
            }
        }
    }
    return cards;
}

std::string JoinCards(const std::vector<int>& cards) {
    std::string sList;
    for (std::size_t i = 0; i < cards.size(); ++i) {
        if (i > 0) {
            sList += i + 1 == cards.size() ? " and " : ", ";
        }
        sList += ShortCardName(cards[i]);
    }
    return sList;
}

int OtherSeatsThatPaid(const Position& pos) {
    std::array<bool, 4> bPaid{};
    for (const HandMove& m : pos.Moves) {
        bPaid[m.nSeat] = bPaid[m.nSeat] || (m.nCard < 0 && m.nSeat != pos.nSeat);
    }
    return static_cast<int>(std::count(bPaid.begin(), bPaid.end(), true));
}

std::string ForcedText(const Position& pos, int nChoice) {
    if (nChoice == kPayThePot) {
        return "Pay the pot: none of your cards can be laid.";
    }
    if (!pos.bSevenHeartsPlayed) {
        return "Lay the " + ShortCardName(nChoice) + ": the Seven of Hearts opens every hand.";
    }
    return "Lay the " + ShortCardName(nChoice) + ": it is the only card you can lay.";
}

// "41%"; with one decimal ("41.3%") when nDecimals is 1.
std::string Percent(double dChance, int nDecimals) {
    std::array<char, 16> sText{};
    std::snprintf(sText.data(), sText.size(), "%.*f%%", nDecimals, 100.0 * dChance);
    return sText.data();
}

// A choice in the race: its running sums and its score on every deal played so far.
struct Runner {
    ChoiceOutcome outcome;
    std::vector<double> Merits;
    bool bOut = false;
};

// Deals every choice plays before any may drop out, and how often the race is judged.
constexpr int kRaceFrom = 256;
constexpr int kRaceEvery = 64;
// A choice drops out once it trails the leader by this many standard errors of
// their difference over the same deals: more deals could hardly reverse it.
constexpr double kClearLead = 3.0;

// Drops every running choice that the leader clearly beats, or that scored the
// same as the leader on every deal (they play alike); returns how many still run.
std::size_t DropTheBeaten(std::vector<Runner>& runners) {
    const auto mean = [](const std::vector<double>& v) {
        double dSum = 0.0;
        for (const double d : v) {
            dSum += d;
        }
        return dSum / static_cast<double>(v.size());
    };
    Runner* pLeader = nullptr;
    double dBest = 0.0;
    for (Runner& runner : runners) {
        if (!runner.bOut && (pLeader == nullptr || mean(runner.Merits) > dBest)) {
            pLeader = &runner;
            dBest = mean(runner.Merits);
        }
    }
    std::size_t nRunning = 0;
    for (Runner& runner : runners) {
        if (runner.bOut || &runner == pLeader) {
            nRunning += runner.bOut ? 0 : 1;
            continue;
        }
        const std::size_t n = runner.Merits.size();
        double dSum = 0.0;
        double dSquares = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            const double d = pLeader->Merits[i] - runner.Merits[i];
            dSum += d;
            dSquares += d * d;
        }
        const double dMean = dSum / static_cast<double>(n);
        const double dVariance = std::max(0.0, dSquares / static_cast<double>(n) - dMean * dMean);
        const double dError = std::sqrt(dVariance / static_cast<double>(n - 1));
        runner.bOut = dSquares == 0.0 || dMean > kClearLead * dError;
        nRunning += runner.bOut ? 0 : 1;
    }
    return nRunning;
}

std::uint64_t PositionSeed(const Position& pos) {
    return (pos.nTableMask * 0x9E3779B97F4A7C15ULL) ^ (pos.nHandMask << 7U) ^
           static_cast<std::uint64_t>(pos.lSeed);
}

} // namespace

std::string ShortCardName(int nCard) {
    return std::string(kRankLabels[Rank(nCard)]) + kSuitSymbols[Suit(nCard)];
}

std::string SignedDollars(double dDollars) {
    const long n = std::lround(dDollars);
    if (n == 0) {
        return "$0";
    }
    return (n > 0 ? "+$" : "-$") + std::to_string(std::labs(n));
}

std::string Explain(const Position& pos, const Advice& advice) {
    if (advice.Outcomes.empty()) {
        return {};
    }
    const ChoiceOutcome& best = advice.Outcomes[0];
    if (advice.Outcomes.size() == 1) {
        return ForcedText(pos, best.nChoice);
    }
    const ChoiceOutcome& next = advice.Outcomes[1];
    const std::string sBest = ShortCardName(best.nChoice);
    const std::string sNext = ShortCardName(next.nChoice);
    if (best.dDollars < next.dDollars) {
        // The standings outweigh the dollars of this hand.
        // A decimal more when whole percents would show no difference.
        const int nDecimals =
            std::lround(100.0 * best.dStanding) == std::lround(100.0 * next.dStanding) ? 1 : 0;
        return "Lay the " + sBest + ": it gives you the best chance to finish on top (about " +
               Percent(best.dStanding, nDecimals) + ", against " +
               Percent(next.dStanding, nDecimals) + " for the " + sNext + ").";
    }
    const std::string sFigures = " (about " + SignedDollars(best.dDollars) + ", against " +
                                 SignedDollars(next.dDollars) + " for the " + sNext + ").";
    const std::vector<int> ledBest = CardsLedTo(pos, best.nChoice);
    const std::vector<int> ledNext = CardsLedTo(pos, next.nChoice);
    const long nWorth = std::lround(best.dDollars - next.dDollars);
    const bool bBlocks = best.dOthersPaid - next.dOthersPaid >= kBlockingMargin && nWorth >= 1;
    if (!ledBest.empty() && (ledBest.size() >= ledNext.size() || !bBlocks)) {
        return "Lay the " + sBest + ": it leads to your " + JoinCards(ledBest) + sFigures;
    }
    if (bBlocks) {
        const int nPaid = OtherSeatsThatPaid(pos);
        const std::string sSuit = kSuitNames[Suit(next.nChoice)];
        const std::string sWho =
            nPaid == 0   ? "the other seats"
            : nPaid == 1 ? "the seat that has paid"
                         : "the " + std::string(kNumberWords[nPaid]) + " seats that have paid";
        return "Lay the " + sBest + " and hold the " + sNext + ": it would open " + sSuit + " to " +
               sWho + "; keeping them blocked is worth about $" + std::to_string(nWorth) + ".";
    }
    if (DistanceFromSeven(best.nChoice) > DistanceFromSeven(next.nChoice)) {
        return "Lay the " + sBest + ": far from the Seven, it would be hard to lay later" +
               sFigures;
    }
    return "Lay the " + sBest + ": it plays out best" + sFigures;
}

Advice Advise(const Position& pos, const SearchBudget& budget, const std::atomic<bool>* pCancel) {
    Advice advice;
    const std::vector<int> choices = LegalChoices(pos);
    if (choices.empty()) {
        return advice;
    }
    advice.nChoice = choices[0];
    if (choices.size() == 1) {
        advice.Outcomes.push_back(ChoiceOutcome{choices[0]});
        advice.sText = Explain(pos, advice);
        return advice;
    }
    const DealSampler sampler(pos);
    if (!sampler.IsConsistent()) {
        return advice;
    }
    std::vector<Runner> runners;
    runners.reserve(choices.size());
    for (const int c : choices) {
        runners.push_back(Runner{ChoiceOutcome{c}, {}, false});
    }
    std::mt19937_64 rng(PositionSeed(pos));
    std::uniform_int_distribution<std::int32_t> seeds(1, 2147483646);
    HeadlessGame game;
    const StandingsOdds odds(pos.nSeat, kHandsPerGame - 1 - pos.nHand);
    DealChain chain(pos, sampler, budget.dSurprise, rng);
    chain.Next(budget.nBurnIn, rng);
    std::size_t nRunning = runners.size();
    for (; advice.nDeals < budget.nDeals && nRunning > 1; ++advice.nDeals) {
        if (pCancel != nullptr && pCancel->load(std::memory_order_relaxed)) {
            advice.bCancelled = true;
            break;
        }
        const std::array<std::uint64_t, 4> hands = chain.Next(budget.nStepsPerDeal, rng);
        const std::int32_t lSeed = seeds(rng);
        for (Runner& runner : runners) {
            if (runner.bOut) {
                continue;
            }
            ChoiceOutcome& o = runner.outcome;
            const PlayoutResult r = game.Play(pos, hands, o.nChoice, lSeed);
            const double dStanding = odds.Chance(r.nFunds);
            o.dDollars += r.nDollars;
            o.dOthersPaid += r.nOthersPaid;
            o.dWinRate += r.bWon ? 1.0 : 0.0;
            o.dStanding += dStanding;
            runner.Merits.push_back(dStanding + kDollarTieBreak * r.nDollars);
        }
        if (advice.nDeals + 1 >= kRaceFrom && (advice.nDeals + 1) % kRaceEvery == 0) {
            nRunning = DropTheBeaten(runners);
        }
    }
    std::vector<ChoiceOutcome> outcomes;
    outcomes.reserve(runners.size());
    for (Runner& runner : runners) {
        ChoiceOutcome& o = runner.outcome;
        const std::size_t nPlayed = runner.Merits.size();
        const double dScale = nPlayed > 0 ? 1.0 / static_cast<double>(nPlayed) : 0.0;
        o.dDollars *= dScale;
        o.dOthersPaid *= dScale;
        o.dWinRate *= dScale;
        o.dStanding *= dScale;
        outcomes.push_back(o);
    }
    // The choices still running come first; equal values keep the engine's listing order.
    std::vector<std::size_t> order(runners.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (runners[a].bOut != runners[b].bOut) {
            return !runners[a].bOut;
        }
        return Merit(outcomes[a]) > Merit(outcomes[b]);
    });
    for (const std::size_t i : order) {
        advice.Outcomes.push_back(outcomes[i]);
    }
    advice.nChoice = advice.Outcomes[0].nChoice;
    advice.sText = Explain(pos, advice);
    return advice;
}

} // namespace corvane::coach
