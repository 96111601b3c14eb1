// Ports that do nothing and answer nothing, so that a fake overrides only the
// calls it watches or answers. The pause is left to each fake: only it knows
// how to end the engine's count-down.
#pragma once

#include "engine/program_port.hpp"
#include "engine/table_port.hpp"

namespace corvane::testing {

class NullTablePort : public TablePort {
public:
    void SetAmt(int, int) override {}
    void SetPot(int) override {}
    void SetCardsLeft(int, int) override {}
    void SetLastCard(int, int) override {}
    void SetPlayerFill(int, std::uint32_t) override {}
    int TableWidth() override { return 9630; } // the table's design width
    void ClearTable() override {}
    void DrawCardsPlayed(const std::vector<int>&) override {}
    void DrawUserHand(const std::vector<int>&, int, int, int) override {}
    void FlyCard(int, int) override {}
    void SetCaption(int, int) override {}
    void SetPracticeCaption(int, int) override {}
    void SetBackground(int) override {}
    void SetHourglass(bool) override {}
    void SetInputEnabled(bool) override {}
    void PlaySoundRes(Sound) override {}
    void ShowMessage(Hint, int) override {}
};

class NullProgramPort : public ProgramPort {
public:
    DialogAnswer ShowHandOver(bool) override { return DialogAnswer::Ok; }
    DialogAnswer ShowGameOver() override { return DialogAnswer::None; }
    DialogAnswer ShowGameOverAnswers() override { return DialogAnswer::None; }
    void ShowPracticeResult(int, int) override {}
    void ShowHighScore() override {}
    void ShowTopTen() override {}
    DialogAnswer ShowUserName(UserDialogExit) override { return DialogAnswer::None; }
    void SaveSettings() override {}
    void TopTenLoad() override {}
    void TopTenSave() override {}
    void HandleDBError() override {}
    void Unload() override {}
};

} // namespace corvane::testing
