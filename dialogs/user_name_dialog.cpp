// The user dialog. Event handlers keep the names of the controls they serve.
#include "user_name_dialog.hpp"

#include "dialog_support.hpp"
#include "storage/settings.hpp"
#include "user_validation.hpp"

#include <array>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvane {

FUserName::FUserName(MGlobal& g, StorageEnv& env, UserDisplay& display, QWidget* pParent)
    : QDialog(pParent), g_(g), env_(env), display_(display) {
    setObjectName(QStringLiteral("FUserName"));
    setWindowTitle(QStringLiteral("The Game of Corvane"));

    auto* pGrid = new QGridLayout;
    const std::array labels = {
        "Your first name:", "1st Opponent:", "2nd Opponent:", "3rd Opponent:", "Skill Level:"};
    for (int i = 0; i < 5; ++i) {
        auto* pLabel = new QLabel(QString::fromLatin1(labels[i]), this);
        pLabel->setObjectName(QStringLiteral("lblPName%1").arg(i));
        pGrid->addWidget(pLabel, i, 0);
    }
    cboUser_ = new QComboBox(this);
    cboUser_->setObjectName(QStringLiteral("cboUser"));
    cboUser_->setEditable(true);
    // Typed names stay in the box as typed: a new user may have a name that
    // begins another user's, or the same name. Only the list from the database
    // fills the list, and only picking from it changes the selection.
    cboUser_->setInsertPolicy(QComboBox::NoInsert);
    cboUser_->setCompleter(nullptr);
    QObject::disconnect(cboUser_->lineEdit(), &QLineEdit::editingFinished, cboUser_, nullptr);
    cboUser_->installEventFilter(this);
    cboUser_->lineEdit()->installEventFilter(this);
    pGrid->addWidget(cboUser_, 0, 1);
    for (int i = 1; i <= 3; ++i) {
        txtPlayer_[i] = new QLineEdit(this);
        txtPlayer_[i]->setObjectName(QStringLiteral("txtPlayer%1").arg(i));
        txtPlayer_[i]->installEventFilter(this);
        pGrid->addWidget(txtPlayer_[i], i, 1);
    }
    cboSkillLevel_ = new QComboBox(this);
    cboSkillLevel_->setObjectName(QStringLiteral("cboSkillLevel"));
    cboSkillLevel_->addItems(
        {QStringLiteral("Easy"), QStringLiteral("Medium"), QStringLiteral("Hard")});
    pGrid->addWidget(cboSkillLevel_, 4, 1);

    auto* pButtons = new QHBoxLayout;
    pButtons->addStretch();
    const std::array captions = {"&OK", "E&xit"};
    for (int i = 0; i < 2; ++i) {
        cmdUserName_[i] = new QPushButton(QString::fromLatin1(captions[i]), this);
        cmdUserName_[i]->setObjectName(QStringLiteral("cmdUserName%1").arg(i));
        cmdUserName_[i]->setAutoDefault(false);
        connect(cmdUserName_[i], &QPushButton::clicked, this, [this, i] { cmdUserName_Click(i); });
        pButtons->addWidget(cmdUserName_[i]);
    }
    cmdUserName_[0]->setDefault(true);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->addLayout(pGrid);
    pLayout->addLayout(pButtons);

    Form_Load();
    connect(cboUser_, &QComboBox::currentIndexChanged, this, [this](int nIndex) {
        if (nIndex >= 0) {
            cboUser_Click();
        }
    });
}

void FUserName::SetExitCaption(const QString& sCaption) {
    cmdUserName_[1]->setText(sCaption);
}

int FUserName::exec() {
    if (bEndProgram_) {
        return QDialog::Rejected;
    }
    return QDialog::exec();
}

void FUserName::Form_Load() {
    GetPlayerData();
    if (g_.bDBError) {
        if (!g_.bUseDefaultDB) {
            bEndProgram_ = true;
            return;
        }
        g_.bDBError = false;
        g_.bUseDefaultDB = false;
        g_.sDBPath = env_.sAppPath;
        GetPlayerData();
        if (g_.bDBError) {
            bEndProgram_ = true;
            return;
        }
    }
    if (!bNoUsers_) {
        for (const UserRec& user : Users_) {
            cboUser_->addItem(Q(TrimBlanks(user.sName)), user.nUserID);
        }
    }
    cboUser_->addItem(QString::fromLatin1(kNewUserText), kNewUserID);
    // Nothing is selected until the dialog shows: the preselection raises the click.
    cboUser_->setCurrentIndex(-1);
}

void FUserName::showEvent(QShowEvent* pEvent) {
    QDialog::showEvent(pEvent);
    if (!bActivated_) {
        bActivated_ = true;
        PlaceAboveMiddle(*this);
        Form_Activate();
    }
}

void FUserName::Form_Activate() {
    int nFound = cboUser_->findData(g_.nLastUserID);
    if (nFound < 0) {
        nFound = cboUser_->findData(kNewUserID);
    }
    cboUser_->setCurrentIndex(nFound);
}

void FUserName::cboUser_Click() {
    const int nIndex = cboUser_->currentIndex();
    SelUser_ = UserRec{};
    SelUser_.sName = cboUser_->itemText(nIndex).toStdString();
    SelUser_.nUserID = cboUser_->itemData(nIndex).toInt();
    ShowPlayerData();
    if (SelUser_.nUserID != kNewUserID) {
        txtPlayer_[1]->setFocus(Qt::OtherFocusReason);
    } else {
        cboUser_->setFocus(Qt::OtherFocusReason);
    }
}

bool FUserName::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pEvent->type() == QEvent::KeyPress && pWatched == cboUser_->lineEdit()) {
        // Checked by type().
        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-static-cast-downcast)
        const int nKey = static_cast<QKeyEvent*>(pEvent)->key();
        if (nKey == Qt::Key_Return || nKey == Qt::Key_Enter) {
            // OK, once, with the name as typed.
            cmdUserName_Click(0);
            return true;
        }
    }
    if (pEvent->type() == QEvent::FocusOut &&
        (pWatched == cboUser_ || pWatched == cboUser_->lineEdit())) {
        // Opening the drop-down list (whose list then takes the focus) or moving
        // between the combo box and its edit field does not leave the name field.
        // Checked by type().
        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-static-cast-downcast)
        const auto* pFocus = static_cast<QFocusEvent*>(pEvent);
        const QWidget* pNow = QApplication::focusWidget();
        if (pFocus->reason() != Qt::PopupFocusReason && pNow != cboUser_ &&
            pNow != cboUser_->lineEdit() && pNow != cboUser_->view()) {
            ShowPlayerData(); // cboUser_LostFocus
        }
    } else if (pEvent->type() == QEvent::FocusIn) {
        for (int i = 1; i <= 3; ++i) {
            if (pWatched == txtPlayer_[i] && !txtPlayer_[i]->text().isEmpty()) {
                // After the line edit's own handling, which may place the cursor.
                QMetaObject::invokeMethod(txtPlayer_[i], &QLineEdit::selectAll,
                                          Qt::QueuedConnection);
            }
        }
    }
    return QDialog::eventFilter(pWatched, pEvent);
}

void FUserName::GetPlayerData() {
    Users_ = user_dialog::GetPlayerData(g_, env_);
    bNoUsers_ = Users_.empty();
}

void FUserName::ShowPlayerData() {
    bool bFound = false;
    if (!bNoUsers_) {
        for (const UserRec& user : Users_) {
            if (user.nUserID == SelUser_.nUserID) {
                SelUser_.sPlayer1 = TrimBlanks(user.sPlayer1);
                SelUser_.sPlayer2 = TrimBlanks(user.sPlayer2);
                SelUser_.sPlayer3 = TrimBlanks(user.sPlayer3);
                SelUser_.sSkillLevel = TrimBlanks(user.sSkillLevel);
                SelUser_.nNumGames = user.nNumGames;
                SelUser_.nWinnings = user.nWinnings;
                bFound = true;
                break;
            }
        }
    }
    if (!bFound) {
        SelUser_.sPlayer1 = "Player 1";
        SelUser_.sPlayer2 = "Player 2";
        SelUser_.sPlayer3 = "Player 3";
        SelUser_.sSkillLevel = "Easy";
        SelUser_.nNumGames = 0;
        SelUser_.nWinnings = 0;
    }
    txtPlayer_[1]->setText(Q(SelUser_.sPlayer1));
    txtPlayer_[2]->setText(Q(SelUser_.sPlayer2));
    txtPlayer_[3]->setText(Q(SelUser_.sPlayer3));
    // A stored level that is none of the three shows as no selection, which the
    // check on OK then refuses.
    cboSkillLevel_->setCurrentIndex(cboSkillLevel_->findText(Q(SelUser_.sSkillLevel)));
}

void FUserName::ValidateInput(bool& bValid) {
    NewUser_.nUserID = SelUser_.nUserID;
    NewUser_.sName = TrimmedText(cboUser_->currentText());
    NewUser_.sPlayer1 = TrimmedText(txtPlayer_[1]->text());
    NewUser_.sPlayer2 = TrimmedText(txtPlayer_[2]->text());
    NewUser_.sPlayer3 = TrimmedText(txtPlayer_[3]->text());
    NewUser_.sSkillLevel = TrimmedText(cboSkillLevel_->currentText());
    NewUser_.nNumGames = SelUser_.nNumGames;
    NewUser_.nWinnings = SelUser_.nWinnings;

    std::optional<NameProblem> problem =
        FindNameProblem({NewUser_.sName, NewUser_.sPlayer1, NewUser_.sPlayer2, NewUser_.sPlayer3});
    if (!problem && !IsValidSkillLevel(NewUser_.sSkillLevel)) {
        problem =
            NameProblem{NameField::SkillLevel, "Skilllevel is invalid!", "Invalid SkillLevel"};
    }
    if (!problem) {
        bValid = true;
        return;
    }
    env_.msg.Show(problem->sMessage, problem->sTitle, MsgIcon::Exclamation);
    switch (problem->field) {
    case NameField::User:
        cboUser_->setFocus(Qt::OtherFocusReason);
        break;
    case NameField::Player1:
    case NameField::Player2:
    case NameField::Player3:
        txtPlayer_[static_cast<int>(problem->field) - 1]->setFocus(Qt::OtherFocusReason);
        break;
    case NameField::SkillLevel:
        cboSkillLevel_->setFocus(Qt::OtherFocusReason);
        break;
    }
    bValid = false;
}

void FUserName::cmdUserName_Click(int nIndex) {
    if (nIndex == 1) {
        CloseWith(DialogAnswer::Exit);
        return;
    }
    bool bValid = false;
    ValidateInput(bValid);
    if (!bValid) {
        return;
    }
    if (NewUser_.nUserID != kNewUserID && NewUser_.sName != SelUser_.sName) {
        if (env_.msg.AskYesNo(RenameQuestion(SelUser_.sName, NewUser_.sName), kRenameTitle,
                              MsgIcon::Question) == MsgAnswer::No) {
            cboUser_->setEditText(Q(SelUser_.sName));
            txtPlayer_[1]->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    if (NewUser_.nUserID == kNewUserID) {
        NewUser_.nUserID = GetNextUserID(g_, env_);
        if (g_.bDBError) {
            CloseWith(DialogAnswer::None);
            return;
        }
        // No id could be handed out: writing under id 0 would overwrite whichever
        // user a second such failure created.
        if (NewUser_.nUserID == 0) {
            env_.msg.Show(kNoUserIdText, kNoUserIdTitle, MsgIcon::Exclamation);
            return;
        }
    }
    g_.nLastUserID = NewUser_.nUserID;
    g_.nUserID = NewUser_.nUserID;
    g_.sUserName = NewUser_.sName;
    g_.sLeftName = NewUser_.sPlayer1;
    g_.sTopName = NewUser_.sPlayer2;
    g_.sRightName = NewUser_.sPlayer3;
    SetSkillLevel(g_, NewUser_.sSkillLevel);
    g_.nNumGames = NewUser_.nNumGames;
    g_.nWinnings = NewUser_.nWinnings;

    ShowCurrentUserNames(display_, g_);
    display_.ShowWinnings(DollarText(g_.nWinnings));

    user_dialog::UpdateDatabase(g_, env_);
    CloseWith(DialogAnswer::Ok);
}

void FUserName::reject() {
    // Closing the window counts as the exit button: a caller must never take
    // it for a confirmed user.
    cmdUserName_Click(1);
}

void FUserName::CloseWith(DialogAnswer answer) {
    answer_ = answer;
    done(answer_ == DialogAnswer::Ok ? QDialog::Accepted : QDialog::Rejected);
}

} // namespace corvane
