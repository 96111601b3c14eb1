// One call per end-of-hand and end-of-game dialog, for the game's program port:
// each builds its dialog, shows it modally and returns when it has closed.
#pragma once

#include "engine/mglobal.hpp"
#include "engine/program_port.hpp"
#include "game_dialog_support.hpp"
#include "storage/game_db.hpp"

#include <array>
#include <functional>
#include <string>

class QWidget;

namespace corvane {

// The standings after a hand: Ok, or Replay when bOfferReplay let the player ask
// for the hand's deal again, or None when closed another way.
DialogAnswer RunHandOver(const MGlobal& g, const SoundPlayer& playSound, QWidget* pParent,
                         bool bOfferReplay = false);

// Books the game and asks whether to play again: Yes, No, Change, Replay, or None
// (closed another way, or closed itself after a database failure; the caller
// then checks g.bDBError). g.bUserWon tells whether the user came first.
// nLevel is the level the game was played at, from 0.
DialogAnswer RunGameOver(MGlobal& g, StorageEnv& env,
                         const std::array<std::string, 4>& asFundsCaptions, int nLevel,
                         const std::function<void(const std::string&)>& setWinnings,
                         const SoundPlayer& playSound, QWidget* pParent);

// The same question over the standings already in g, booking nothing: after a
// practice of the game's last deal.
DialogAnswer RunGameOverAnswers(MGlobal& g, QWidget* pParent);

// The top-ten list, with place g.nTopTenPos highlighted when it is 0 to 9.
void RunTopTen(MGlobal& g, StorageEnv& env, QWidget* pParent);

// The congratulation for a score of 500 or more.
void RunHighScore(const SoundPlayer& playSound, QWidget* pParent);

} // namespace corvane
