// FUserName: who plays, against whom and at which level. The choice becomes the
// current user, is written to the user table and shows on the main window.
#pragma once

#include "engine/program_port.hpp"
#include "storage/game_db.hpp"
#include "user_display.hpp"

#include <array>
#include <string>
#include <vector>

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace corvane {

class FUserName final : public QDialog {
public:
    // Loads the user list at once. When the database cannot be opened and the
    // program folder's database cannot take over either, EndProgram() is true
    // and the dialog must not be shown: the caller ends the program.
    FUserName(MGlobal& g, StorageEnv& env, UserDisplay& display, QWidget* pParent = nullptr);

    // The caption of the exit button cmdUserName(1): "E&xit" at a fresh start,
    // "&Cancel" from the menu.
    void SetExitCaption(const QString& sCaption);

    bool EndProgram() const { return bEndProgram_; }
    // Ok after a confirmed choice, Exit after the exit button (or closing the
    // window); None when the dialog closed because the database failed.
    DialogAnswer Answer() const { return answer_; }

    // Does nothing when the program must end (see EndProgram).
    int exec() override;

    void cmdUserName_Click(int nIndex);

protected:
    void showEvent(QShowEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void reject() override;

private:
    void Form_Load();
    void Form_Activate();
    void cboUser_Click();
    void GetPlayerData();
    void ShowPlayerData();
    void ValidateInput(bool& bValid);
    void CloseWith(DialogAnswer answer);

    MGlobal& g_;
    StorageEnv& env_;
    UserDisplay& display_;

    std::vector<UserRec> Users_;
    bool bNoUsers_ = true;
    UserRec SelUser_;
    UserRec NewUser_;
    bool bEndProgram_ = false;
    bool bActivated_ = false;
    DialogAnswer answer_ = DialogAnswer::None;

    QComboBox* cboUser_;
    QComboBox* cboSkillLevel_;
    std::array<QLineEdit*, 4> txtPlayer_{};
    std::array<QPushButton*, 2> cmdUserName_{};
};

} // namespace corvane
