// A game on the recording port with opponents that do only what a test says.
#pragma once

#include "engine/game.hpp"
#include "engine/testing/recording_port.hpp"

#include <gtest/gtest.h>

namespace corvane {

struct EngineTable {
    EngineTable() : port(g), game(g, port, port, port, opponents) {
        port.pGame = &game;
        g.sUserName = "Ann";
        g.sLeftName = "Lefty";
        g.sTopName = "Topper";
        g.sRightName = "Righty";
    }

    GameState& S() { return game.State(); }

    // Puts the user's turn on a table holding the given cards, with the given hand.
    void UserTurnWith(std::vector<int> table, std::vector<int> hand) {
        S().SetCardsPlayed(std::move(table));
        S().bSevenHeartsPlayed = true;
        S().bHandOver = false;
        S().SetHand(3, std::move(hand));
        S().nCardsLeft[3] = static_cast<int>(S().UserHand.size());
        game.DrawUserHand();
        S().bUserCanPlay = game.CanUserPlay();
        S().bUserTurn = true;
    }

    // Clicks the card at nIndex of the user's fanned hand.
    void ClickCard(int nIndex) {
        game.Form_MouseDown(static_cast<float>(S().nHandLeft + nIndex * S().nCardSpacing + 10),
                            static_cast<float>(S().nHandTop + 100));
        game.Form_Click();
    }

    MGlobal g;
    testing::RecordingPort port;
    testing::ScriptedOpponents opponents;
    Game game;
};

class EngineTest : public ::testing::Test, public EngineTable {};

} // namespace corvane
