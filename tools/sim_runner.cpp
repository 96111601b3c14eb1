// The simulator's game loop: the user's seat moves whenever it is its turn, and
// coached seats take the coach's card instead of their strategy's.
#include "tools/sim_runner.hpp"

#include "coach/coach.hpp"
#include "engine/cards.hpp"

namespace corvane::sim {
namespace {

int LevelOf(testing::SeatStrategy s) {
    return s == testing::SeatStrategy::Hard ? 2 : s == testing::SeatStrategy::Medium ? 1 : 0;
}

// The coach's choice for a seat at its turn. Every other seat is assumed to play
// as it does in this plan; the seat's own later moves are played out as Hard.
int CoachChoice(const SeatPlan& plan, Game& game, int nSeat) {
    std::array<int, 4> levels{plan.OpponentLevels[0], plan.OpponentLevels[1],
                              plan.OpponentLevels[2], LevelOf(plan.User)};
    levels[nSeat] = 2;
    const coach::Position pos =
        coach::PositionFromGame(game.State(), nSeat, levels, game.Globals().lSeed);
    return coach::Advise(pos, coach::SearchBudget{plan.nCoachDeals}).nChoice;
}

class SimOpponents final : public Opponents {
public:
    explicit SimOpponents(const SeatPlan& plan) : plan_(plan) {}

    void PlayerTurn(Game& game, int nSeat) override {
        game.Globals().nSkillLevel = plan_.OpponentLevels[nSeat];
        Opponents::PlayerTurn(game, nSeat);
    }

protected:
    int ChooseCard(Game& game, int nSeat, int nDown, int nUp) override {
        if (plan_.Coached[nSeat] && nDown + nUp > 1) {
            const int nCard = CoachChoice(plan_, game, nSeat);
            if (nCard != coach::kPayThePot) {
                game.State().DownCards.clear();
                game.State().UpCards.clear();
                return nCard;
            }
        }
        return Opponents::ChooseCard(game, nSeat, nDown, nUp);
    }

private:
    const SeatPlan& plan_;
};

// The user's move when the coach plays its seat: the same click a person makes.
bool CoachedUserMove(const SeatPlan& plan, Game& game) {
    return testing::MakeUserMove(game,
                                 [&plan](Game& g) { return CoachChoice(plan, g, kUserSeat); });
}

} // namespace

Tally PlayGames(const SeatPlan& plan, long long nGames, std::uint64_t nSeed,
                long long nProgressEvery) {
    MGlobal g;
    g.sUserName = "User";
    g.sLeftName = "Left";
    g.sTopName = "Top";
    g.sRightName = "Right";
    g.lSeed = static_cast<std::int32_t>(nSeed % 2147483646ULL) + 1;
    SilentPort port(g, nSeed);
    port.nGamesWanted = nGames;
    port.nProgressEvery = nProgressEvery;
    SimOpponents opponents(plan);
    Game game(g, port, port, port, opponents);
    port.pGame = &game;
    testing::AutoPlayer player(plan.User, nSeed);

    game.LoadDeck();
    game.StartGame(true);
    if (plan.Coached[kUserSeat]) {
        while (!port.bUnloaded && CoachedUserMove(plan, game)) {
        }
    } else {
        while (!port.bUnloaded && player.Move(game)) {
        }
    }
    return port.tally;
}

} // namespace corvane::sim
