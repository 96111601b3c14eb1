// The simulator's game loop: the user's seat moves whenever it is its turn.
#include "tools/sim_runner.hpp"

namespace corvane::sim {

Tally PlayGames(const SeatPlan& plan, long long nGames, std::uint64_t nSeed) {
    MGlobal g;
    g.sUserName = "User";
    g.sLeftName = "Left";
    g.sTopName = "Top";
    g.sRightName = "Right";
    g.lSeed = static_cast<std::int32_t>(nSeed % 2147483646ULL) + 1;
    SilentPort port(g, nSeed);
    port.nGamesWanted = nGames;
    testing::PerSeatOpponents opponents(plan.OpponentLevels);
    Game game(g, port, port, port, opponents);
    port.pGame = &game;
    testing::AutoPlayer player(plan.User, nSeed);

    game.LoadDeck();
    game.StartGame(true);
    while (!port.bUnloaded && player.Move(game)) {
    }
    return port.tally;
}

} // namespace corvane::sim
