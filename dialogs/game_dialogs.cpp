#include "game_dialogs.hpp"

#include "game_over_dialog.hpp"
#include "hand_over_dialog.hpp"
#include "high_score_dialog.hpp"
#include "top_ten_dialog.hpp"

namespace corvane {

DialogAnswer RunHandOver(const MGlobal& g, const SoundPlayer& playSound, QWidget* pParent,
                         bool bOfferReplay) {
    FHandOver dialog(g, playSound, pParent, bOfferReplay);
    dialog.exec();
    return dialog.Answer();
}

DialogAnswer RunGameOver(MGlobal& g, StorageEnv& env,
                         const std::array<std::string, 4>& asFundsCaptions, int nLevel,
                         const std::function<void(const std::string&)>& setWinnings,
                         const SoundPlayer& playSound, QWidget* pParent) {
    FGameOver dialog(g, env, asFundsCaptions, nLevel, setWinnings, playSound, pParent);
    dialog.exec();
    return dialog.Answer();
}

DialogAnswer RunGameOverAnswers(MGlobal& g, QWidget* pParent) {
    FGameOver dialog(g, pParent);
    dialog.exec();
    return dialog.Answer();
}

void RunTopTen(MGlobal& g, StorageEnv& env, QWidget* pParent) {
    FTopTen dialog(g, env, pParent);
    dialog.exec();
}

void RunHighScore(const SoundPlayer& playSound, QWidget* pParent) {
    FHighScore dialog(playSound, pParent);
    dialog.exec();
}

} // namespace corvane
