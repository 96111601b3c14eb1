// The user dialog, the user editor, the statistics dialog, the database-folder
// dialog and the shortcut offer, driven through their controls on a real
// database in a scratch folder. Message boxes are recorded and answered.
#include "dialogs/copy_icon_dialog.hpp"
#include "dialogs/db_path_dialog.hpp"
#include "dialogs/folder_lists.hpp"
#include "dialogs/user_edit_dialog.hpp"
#include "dialogs/user_name_dialog.hpp"
#include "dialogs/user_stats_dialog.hpp"
#include "dialogs/user_validation.hpp"
#include "storage/db.hpp"
#include "storage/settings.hpp"
#include "table/table_resources.hpp"
#include "user_dialog_test_support.hpp"

#include <algorithm>

#include <QAbstractBarSeries>
#include <QApplication>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace corvane;
using corvane::testing::World;

namespace {

template <typename T>
T* Child(const QWidget& w, const char* sName) {
    T* p = w.findChild<T*>(QString::fromLatin1(sName));
    if (p == nullptr) {
        qFatal("no control %s", sName);
    }
    return p;
}

QString Text(const QWidget& w, const char* sName) {
    if (auto* pLabel = w.findChild<QLabel*>(QString::fromLatin1(sName))) {
        return pLabel->text();
    }
    return Child<QLineEdit>(w, sName)->text();
}

void Click(const QWidget& w, const char* sName) {
    Child<QPushButton>(w, sName)->click();
}

bool HasFocus(const QWidget& dlg, const QWidget* pControl) {
    const QWidget* pFocus = dlg.focusWidget();
    if (const auto* pCombo = qobject_cast<const QComboBox*>(pControl)) {
        return pFocus == pCombo || (pCombo->lineEdit() != nullptr && pFocus == pCombo->lineEdit());
    }
    return pFocus == pControl;
}

void ShowActive(QWidget& w) {
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

// A damaged database whose id counter row is gone.
void EmptySystemTable(World& w) {
    KeyCache keys(false);
    db::Database db = db::Database::Open(DatabaseFileName(w.env.sAppPath), keys);
    db.Exec("DELETE FROM system");
}

} // namespace

class UserDialogsTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InitTableResources(); }

    // FUserName: the list and the preselection
    void emptyTableOffersOnlyANewUserWithDefaults();
    void preselectsTheLastUserAndShowsTheStoredValues();
    void preselectsNewUserWhenTheLastUserIsGone();
    void leavingTheNameBoxReloadsTheSelectedUser();
    void opponentBoxesSelectTheirTextOnFocus();

    // FUserName: OK and its checks
    void validationMessagesInOrderWithFocus();
    void thirteenCharactersRefusedTwelveAccepted();
    void renameAnsweredNoRestoresAndYesRenamesTheRow();
    void newUserGetsTheNextIdAndBecomesCurrent();
    void newUserWithAnExistingNameAddsASecondRow();
    void existingUserKeepsGamesAndWinnings();
    void exitAndClosingTheWindowAnswerX();
    void okUnderAModalLoop();
    void databaseGoneBeforeOkClosesWithoutAnswer();
    void noIdForANewUserWritesNothing();

    // FUserName: recovery at load
    void missingForeignDatabaseFallsBackToTheProgramFolder();
    void missingEverywhereEndsTheProgram();

    // FUserEdit
    void editorFieldsLockedUntilAClick();
    void editorDeleteDisabledForNewUserAndCurrentUser();
    void editorRefusesToDeleteTheCurrentUser();
    void editorDeletesAnotherUserAfterTheQuestion();
    void editorSavesANewUser();
    void editorNewUserEntryLeftUnchangedIsRefused();
    void editorRenamingTheCurrentUserUpdatesTheWindowAtOnce();
    void editorRenameAnsweredNoRestoresTheName();
    void editorClosesItselfAfterADatabaseFailure();

    // FUserStats
    void statsShowTotalsAndTruncatedAverage();
    void statsResetAsksAndClearsInMemoryOnly();
    void statsChartShowsTheLastHundredGames();

    // FDBPath
    void dbPathShowsBothPathsInLowerCase();
    void dbPathSameFolderInOtherCase();
    void dbPathSwitchesToAFolderWithADatabaseWithoutCopying();
    void dbPathCopyQuestionNoKeepsEverything();
    void dbPathCopyQuestionYesCopiesAndSwitches();
    void dbPathFailedCopyChangesNothing();
    void dbPathRootFolder();
    void dbPathCopyButton();
    void dbPathHelpShowsTheNetworkNotes();

    // FCopyIcon
    void copyIconControlsAndButtons();
};

// ---------------------------------------------------------------- FUserName

void UserDialogsTest::emptyTableOffersOnlyANewUserWithDefaults() {
    World w;
    FUserName dlg(w.g, w.env, w.display);
    QVERIFY(!dlg.EndProgram());
    auto* cbo = Child<QComboBox>(dlg, "cboUser");
    QCOMPARE(cbo->count(), 1);
    QCOMPARE(cbo->itemText(0), QStringLiteral("<New User>"));
    QCOMPARE(cbo->itemData(0).toInt(), 9999);
    dlg.show();
    QCOMPARE(cbo->currentIndex(), 0);
    QCOMPARE(Text(dlg, "txtPlayer1"), QStringLiteral("Player 1"));
    QCOMPARE(Text(dlg, "txtPlayer2"), QStringLiteral("Player 2"));
    QCOMPARE(Text(dlg, "txtPlayer3"), QStringLiteral("Player 3"));
    QCOMPARE(Child<QComboBox>(dlg, "cboSkillLevel")->currentText(), QStringLiteral("Easy"));
    QVERIFY(HasFocus(dlg, cbo));
    QCOMPARE(dlg.windowTitle(), QStringLiteral("The Game of Corvane"));
    QVERIFY(w.msg.Shown.empty());
}

void UserDialogsTest::preselectsTheLastUserAndShowsTheStoredValues() {
    World w;
    w.AddUser(3, "  Anna ", "Medium");
    w.AddUser(7, "Bob", "Hard");
    w.g.nLastUserID = 7;
    FUserName dlg(w.g, w.env, w.display);
    auto* cbo = Child<QComboBox>(dlg, "cboUser");
    QCOMPARE(cbo->count(), 3);
    QCOMPARE(cbo->itemText(0), QStringLiteral("Anna"));
    QCOMPARE(cbo->itemData(0).toInt(), 3);
    QCOMPARE(cbo->itemText(2), QStringLiteral("<New User>"));
    dlg.show();
    QCOMPARE(cbo->currentIndex(), 1);
    QCOMPARE(cbo->currentText(), QStringLiteral("Bob"));
    QCOMPARE(Text(dlg, "txtPlayer1"), QStringLiteral("Bob-L"));
    QCOMPARE(Text(dlg, "txtPlayer3"), QStringLiteral("Bob-R"));
    QCOMPARE(Child<QComboBox>(dlg, "cboSkillLevel")->currentText(), QStringLiteral("Hard"));
    QVERIFY(HasFocus(dlg, Child<QLineEdit>(dlg, "txtPlayer1")));

    cbo->setCurrentIndex(0);
    QCOMPARE(Text(dlg, "txtPlayer2"), QStringLiteral("Anna-T"));
    QCOMPARE(Child<QComboBox>(dlg, "cboSkillLevel")->currentText(), QStringLiteral("Medium"));
}

void UserDialogsTest::preselectsNewUserWhenTheLastUserIsGone() {
    World w;
    w.AddUser(3, "Anna");
    w.g.nLastUserID = 42;
    FUserName dlg(w.g, w.env, w.display);
    dlg.show();
    QCOMPARE(Child<QComboBox>(dlg, "cboUser")->currentText(), QStringLiteral("<New User>"));
    QCOMPARE(Text(dlg, "txtPlayer1"), QStringLiteral("Player 1"));
}

void UserDialogsTest::leavingTheNameBoxReloadsTheSelectedUser() {
    World w;
    w.AddUser(3, "Anna");
    w.g.nLastUserID = 3;
    FUserName dlg(w.g, w.env, w.display);
    ShowActive(dlg);
    auto* txt1 = Child<QLineEdit>(dlg, "txtPlayer1");
    txt1->setText(QStringLiteral("Edited"));
    auto* cbo = Child<QComboBox>(dlg, "cboUser");
    cbo->setFocus();
    QTRY_VERIFY(HasFocus(dlg, cbo) && cbo->hasFocus());
    QCOMPARE(txt1->text(), QStringLiteral("Edited"));
    Child<QLineEdit>(dlg, "txtPlayer2")->setFocus();
    QTRY_COMPARE(txt1->text(), QStringLiteral("Anna-L"));
}

void UserDialogsTest::opponentBoxesSelectTheirTextOnFocus() {
    World w;
    FUserName dlg(w.g, w.env, w.display);
    ShowActive(dlg);
    auto* txt2 = Child<QLineEdit>(dlg, "txtPlayer2");
    txt2->setFocus(Qt::MouseFocusReason);
    QTRY_COMPARE(txt2->selectedText(), QStringLiteral("Player 2"));
}

void UserDialogsTest::validationMessagesInOrderWithFocus() {
    World w;
    FUserName dlg(w.g, w.env, w.display);
    dlg.show();
    auto* cbo = Child<QComboBox>(dlg, "cboUser");

    // "<New User>" still in the name box.
    Click(dlg, "cmdUserName0");
    QCOMPARE(w.msg.Shown.size(), size_t{1});
    QCOMPARE(w.msg.Shown[0].sText, std::string("<New User> is not a valid user name!"));
    QCOMPARE(w.msg.Shown[0].sTitle, std::string("Invalid User Name"));
    QCOMPARE(w.msg.Shown[0].icon, MsgIcon::Exclamation);
    QVERIFY(HasFocus(dlg, cbo));
    QVERIFY(dlg.isVisible());
    QVERIFY(dlg.Answer() == DialogAnswer::None);

    // A blank name, blanks only.
    w.msg.Shown.clear();
    cbo->setEditText(QStringLiteral("   "));
    Click(dlg, "cmdUserName0");
    QCOMPARE(w.msg.Shown.at(0).sText, std::string("User name cannot be blank!"));
    QCOMPARE(w.msg.Shown.at(0).sTitle, std::string("Invalid name"));

    // All three opponents blank: only the first is reported.
    w.msg.Shown.clear();
    cbo->setEditText(QStringLiteral("Zoe"));
    for (const char* s : {"txtPlayer1", "txtPlayer2", "txtPlayer3"}) {
        Child<QLineEdit>(dlg, s)->clear();
    }
    Click(dlg, "cmdUserName0");
    QCOMPARE(w.msg.Shown.size(), size_t{1});
    QCOMPARE(w.msg.Shown[0].sText, std::string("1st Opponent name cannot be blank!"));
    QVERIFY(HasFocus(dlg, Child<QLineEdit>(dlg, "txtPlayer1")));

    // Third opponent blank, focus on it.
    w.msg.Shown.clear();
    Child<QLineEdit>(dlg, "txtPlayer1")->setText(QStringLiteral("A"));
    Child<QLineEdit>(dlg, "txtPlayer2")->setText(QStringLiteral("B"));
    Click(dlg, "cmdUserName0");
    QCOMPARE(w.msg.Shown.at(0).sText, std::string("3rd Opponent name cannot be blank!"));
    QVERIFY(HasFocus(dlg, Child<QLineEdit>(dlg, "txtPlayer3")));

    // Names fine, no level chosen.
    w.msg.Shown.clear();
    Child<QLineEdit>(dlg, "txtPlayer3")->setText(QStringLiteral("C"));
    auto* cboLevel = Child<QComboBox>(dlg, "cboSkillLevel");
    cboLevel->setCurrentIndex(-1);
    Click(dlg, "cmdUserName0");
    QCOMPARE(w.msg.Shown.at(0).sText, std::string("Skilllevel is invalid!"));
    QCOMPARE(w.msg.Shown.at(0).sTitle, std::string("Invalid SkillLevel"));
    QVERIFY(HasFocus(dlg, cboLevel));
    QVERIFY(dlg.isVisible());
    QVERIFY(w.StoredUsers().empty());
}

void UserDialogsTest::thirteenCharactersRefusedTwelveAccepted() {
    World w;
    FUserName dlg(w.g, w.env, w.display);
    dlg.show();
    auto* cbo = Child<QComboBox>(dlg, "cboUser");
    cbo->setEditText(QStringLiteral("Maximiliane13"));
    Click(dlg, "cmdUserName0");
    QCOMPARE(w.msg.Shown.size(), size_t{1});
    QCOMPARE(w.msg.Shown[0].sText, std::string("User name cannot be more\r\nthan 12 characters!"));
    QVERIFY(dlg.isVisible());

    w.msg.Shown.clear();
    cbo->setEditText(QStringLiteral("Maximilian12"));
    Child<QLineEdit>(dlg, "txtPlayer2")->setText(QStringLiteral("Christopher13"));
    Click(dlg, "cmdUserName0");
    QCOMPARE(w.msg.Shown.at(0).sText,
             std::string("2nd Opponent name cannot be\r\nmore than 12 characters!"));

    w.msg.Shown.clear();
    Child<QLineEdit>(dlg, "txtPlayer2")->setText(QStringLiteral("Christophe12"));
    Click(dlg, "cmdUserName0");
    QVERIFY(w.msg.Shown.empty());
    QVERIFY(dlg.Answer() == DialogAnswer::Ok);
    QCOMPARE(w.g.sUserName, std::string("Maximilian12"));
}

void UserDialogsTest::renameAnsweredNoRestoresAndYesRenamesTheRow() {
    World w;
    w.AddUser(3, "Anna");
    w.g.nLastUserID = 3;
    FUserName dlg(w.g, w.env, w.display);
    dlg.show();
    auto* cbo = Child<QComboBox>(dlg, "cboUser");
    cbo->setEditText(QStringLiteral("Annie"));
    w.msg.Answers.push_back(MsgAnswer::No);
    Click(dlg, "cmdUserName0");
    QCOMPARE(w.msg.Shown.size(), size_t{1});
    QVERIFY(w.msg.Shown[0].bYesNo);
    QCOMPARE(w.msg.Shown[0].sTitle, std::string("User Name has changed..."));
    QCOMPARE(w.msg.Shown[0].sText, std::string("Do you wish to change the user\r\nname Anna -> "
                                               "Annie?\r\n\r\nNote: To add a NEW user select\r\n"
                                               "<New User> from the user list."));
    QCOMPARE(w.msg.Shown[0].icon, MsgIcon::Question);
    QCOMPARE(cbo->currentText(), QStringLiteral("Anna"));
    QVERIFY(HasFocus(dlg, Child<QLineEdit>(dlg, "txtPlayer1")));
    QVERIFY(dlg.isVisible());
    QCOMPARE(w.StoredUsers().at(0).sName, std::string("Anna"));

    cbo->setEditText(QStringLiteral("Annie"));
    w.msg.Answers.push_back(MsgAnswer::Yes);
    Click(dlg, "cmdUserName0");
    QVERIFY(dlg.Answer() == DialogAnswer::Ok);
    const auto users = w.StoredUsers();
    QCOMPARE(users.size(), size_t{1});
    QCOMPARE(users[0].nUserID, 3);
    QCOMPARE(users[0].sName, std::string("Annie"));
    QCOMPARE(w.g.sUserName, std::string("Annie"));
}

void UserDialogsTest::newUserGetsTheNextIdAndBecomesCurrent() {
    World w;
    w.g.nLastUserID = 0;
    FUserName dlg(w.g, w.env, w.display);
    dlg.show();
    Child<QComboBox>(dlg, "cboUser")->setEditText(QStringLiteral("  Zoe "));
    Child<QLineEdit>(dlg, "txtPlayer1")->setText(QStringLiteral("Lefty"));
    Child<QComboBox>(dlg, "cboSkillLevel")->setCurrentText(QStringLiteral("Medium"));
    Click(dlg, "cmdUserName0");
    QVERIFY(w.msg.Shown.empty());
    QVERIFY(dlg.Answer() == DialogAnswer::Ok);
    QVERIFY(!dlg.isVisible());

    QVERIFY(w.g.nUserID > 0 && w.g.nUserID != kNewUserID);
    QCOMPARE(w.g.nLastUserID, w.g.nUserID);
    QCOMPARE(w.g.sUserName, std::string("Zoe"));
    QCOMPARE(w.g.sLeftName, std::string("Lefty"));
    QCOMPARE(w.g.sTopName, std::string("Player 2"));
    QCOMPARE(w.g.sSkillLevel, std::string("Medium"));
    QCOMPARE(w.g.nSkillLevel, 1);
    QCOMPARE(w.display.Plates,
             (std::array<std::string, 4>{"Lefty", "Player 2", "Player 3", "Zoe"}));
    QCOMPARE(w.display.sStatsCaption, std::string("ZOE's Stats..."));
    QCOMPARE(w.display.sWinnings, std::string("$0"));

    const auto users = w.StoredUsers();
    QCOMPARE(users.size(), size_t{1});
    QCOMPARE(users[0].nUserID, w.g.nUserID);
    QCOMPARE(users[0].sName, std::string("Zoe"));
    QCOMPARE(users[0].sPlayer1, std::string("Lefty"));
    QCOMPARE(users[0].sSkillLevel, std::string("Medium"));

    // The next new user gets the next id.
    const std::int32_t nFirst = w.g.nUserID;
    FUserName again(w.g, w.env, w.display);
    again.show();
    Child<QComboBox>(again, "cboUser")->setCurrentIndex(1);
    Child<QComboBox>(again, "cboUser")->setEditText(QStringLiteral("Yves"));
    Click(again, "cmdUserName0");
    QVERIFY(w.msg.Shown.empty());
    QCOMPARE(w.g.nUserID, nFirst + 1);
    QCOMPARE(w.StoredUsers().size(), size_t{2});
}

void UserDialogsTest::newUserWithAnExistingNameAddsASecondRow() {
    World w;
    w.AddUser(3, "Anna");
    w.g.nLastUserID = 99;
    FUserName dlg(w.g, w.env, w.display);
    ShowActive(dlg);
    auto* cbo = Child<QComboBox>(dlg, "cboUser");
    // Typed text is neither completed nor matched to the list.
    cbo->lineEdit()->clear();
    QTest::keyClicks(cbo->lineEdit(), QStringLiteral("An"));
    QCOMPARE(cbo->currentText(), QStringLiteral("An"));
    QTest::keyClicks(cbo->lineEdit(), QStringLiteral("na"));
    QTest::keyClick(cbo->lineEdit(), Qt::Key_Tab);
    QCOMPARE(cbo->currentText(), QStringLiteral("Anna"));
    QCOMPARE(cbo->currentData().toInt(), 9999);
    cbo->lineEdit()->setFocus();
    QTest::keyClick(cbo->lineEdit(), Qt::Key_Return);
    QVERIFY(dlg.Answer() == DialogAnswer::Ok);
    QVERIFY(w.msg.Shown.empty()); // no rename question for a new user
    const auto users = w.StoredUsers();
    QCOMPARE(users.size(), size_t{2});
    QCOMPARE(users[0].sName, std::string("Anna"));
    QCOMPARE(users[1].sName, std::string("Anna"));
    QVERIFY(users[0].nUserID != users[1].nUserID);
}

void UserDialogsTest::existingUserKeepsGamesAndWinnings() {
    World w;
    w.AddUser(3, "Anna", "Hard", 4, -120);
    w.g.nLastUserID = 3;
    FUserName dlg(w.g, w.env, w.display);
    dlg.show();
    Click(dlg, "cmdUserName0");
    QVERIFY(dlg.Answer() == DialogAnswer::Ok);
    QCOMPARE(w.g.nNumGames, std::int16_t{4});
    QCOMPARE(w.g.nWinnings, -120);
    QCOMPARE(w.g.nSkillLevel, 2);
    QCOMPARE(w.display.sWinnings, std::string("$-120"));
    QCOMPARE(w.StoredUsers().at(0).nWinnings, -120);
}

void UserDialogsTest::exitAndClosingTheWindowAnswerX() {
    World w;
    w.AddUser(3, "Anna");
    w.g.nLastUserID = 3;
    w.g.sUserName = "Before";
    {
        FUserName dlg(w.g, w.env, w.display);
        dlg.SetExitCaption(QStringLiteral("&Cancel"));
        QCOMPARE(Child<QPushButton>(dlg, "cmdUserName1")->text(), QStringLiteral("&Cancel"));
        dlg.show();
        Click(dlg, "cmdUserName1");
        QVERIFY(dlg.Answer() == DialogAnswer::Exit);
        QVERIFY(!dlg.isVisible());
    }
    {
        FUserName dlg(w.g, w.env, w.display);
        dlg.show();
        dlg.close();
        QVERIFY(dlg.Answer() == DialogAnswer::Exit);
    }
    QCOMPARE(w.g.sUserName, std::string("Before"));
    QCOMPARE(w.display.nPlateCalls, 0);
}

void UserDialogsTest::okUnderAModalLoop() {
    World w;
    w.AddUser(3, "Anna");
    w.g.nLastUserID = 3;
    FUserName dlg(w.g, w.env, w.display);
    QTimer::singleShot(0, &dlg, [&dlg] { Click(dlg, "cmdUserName0"); });
    QCOMPARE(dlg.exec(), int(QDialog::Accepted));
    QVERIFY(dlg.Answer() == DialogAnswer::Ok);
    QCOMPARE(w.g.nUserID, 3);
}

void UserDialogsTest::databaseGoneBeforeOkClosesWithoutAnswer() {
    World w;
    FUserName dlg(w.g, w.env, w.display);
    dlg.show();
    QVERIFY(QFile::remove(QString::fromStdString(DatabaseFileName(w.env.sAppPath))));
    Child<QComboBox>(dlg, "cboUser")->setEditText(QStringLiteral("Zoe"));
    Click(dlg, "cmdUserName0");
    QVERIFY(w.g.bDBError);
    QVERIFY(!dlg.isVisible());
    QVERIFY(dlg.Answer() == DialogAnswer::None);
    QCOMPARE(w.g.sUserName, std::string());
    QCOMPARE(w.msg.Shown.at(0).sTitle, std::string("Fatal Error"));
}

void UserDialogsTest::noIdForANewUserWritesNothing() {
    World w;
    w.AddUser(0, "Zero");
    w.g.nLastUserID = 55;
    EmptySystemTable(w);
    {
        FUserName dlg(w.g, w.env, w.display);
        dlg.show();
        Child<QComboBox>(dlg, "cboUser")->setEditText(QStringLiteral("Zoe"));
        Click(dlg, "cmdUserName0");
        QCOMPARE(w.msg.Shown.size(), size_t{1});
        QCOMPARE(w.msg.Shown[0].sText, std::string(kNoUserIdText));
        QVERIFY(dlg.isVisible());
        QVERIFY(dlg.Answer() == DialogAnswer::None);
        QCOMPARE(w.g.sUserName, std::string());
    }
    {
        FUserEdit dlg(w.g, w.env, w.display);
        dlg.show();
        auto* lst = Child<QListWidget>(dlg, "lstUser");
        lst->setCurrentRow(lst->count() - 1);
        Child<QLineEdit>(dlg, "txtUser0")->setText(QStringLiteral("Zoe"));
        Click(dlg, "cmdUser0");
        QCOMPARE(w.msg.Shown.size(), size_t{2});
        QCOMPARE(w.msg.Shown[1].sText, std::string(kNoUserIdText));
        QCOMPARE(lst->count(), 2);
    }
    const auto users = w.StoredUsers();
    QCOMPARE(users.size(), size_t{1});
    QCOMPARE(users[0].sName, std::string("Zero"));
}

void UserDialogsTest::missingForeignDatabaseFallsBackToTheProgramFolder() {
    World w;
    w.AddUser(3, "Anna");
    w.g.sDBPath = w.Sub("shared"); // no database there
    FUserName dlg(w.g, w.env, w.display);
    QVERIFY(!dlg.EndProgram());
    QVERIFY(!w.g.bDBError);
    QVERIFY(!w.g.bUseDefaultDB);
    QCOMPARE(w.g.sDBPath, w.env.sAppPath);
    QCOMPARE(Child<QComboBox>(dlg, "cboUser")->itemText(0), QStringLiteral("Anna"));
    QVERIFY(w.msg.Shown.empty());
}

void UserDialogsTest::missingEverywhereEndsTheProgram() {
    World w;
    QVERIFY(QFile::remove(QString::fromStdString(DatabaseFileName(w.env.sAppPath))));
    w.g.sDBPath = w.Sub("shared");
    FUserName dlg(w.g, w.env, w.display);
    QVERIFY(dlg.EndProgram());
    // A caller that only looks at the flags reaches the same end.
    QVERIFY(w.g.bDBError);
    QVERIFY(!w.g.bUseDefaultDB);
    QCOMPARE(HandleDBError(w.g, w.env), DbRecovery::EndProgram);
    QCOMPARE(dlg.exec(), int(QDialog::Rejected));
    QVERIFY(dlg.Answer() == DialogAnswer::None);
    QCOMPARE(w.msg.Shown.size(), size_t{2});
    QCOMPARE(w.msg.Shown[1].sTitle, std::string("Fatal Error"));

    // The program folder's own database missing: one fatal message.
    World v;
    QVERIFY(QFile::remove(QString::fromStdString(DatabaseFileName(v.env.sAppPath))));
    FUserName dlg2(v.g, v.env, v.display);
    QVERIFY(dlg2.EndProgram());
    QCOMPARE(v.msg.Shown.size(), size_t{1});
}

// ---------------------------------------------------------------- FUserEdit

namespace {

struct EditorWorld : World {
    EditorWorld() {
        AddUser(3, "Anna");
        AddUser(5, "Bob");
        g.nLastUserID = 3;
        g.nUserID = 3;
        g.sUserName = "Anna";
    }
};

int RowOf(const QListWidget& list, const QString& sText) {
    for (int i = 0; i < list.count(); ++i) {
        if (list.item(i)->text() == sText) {
            return i;
        }
    }
    return -1;
}

} // namespace

void UserDialogsTest::editorFieldsLockedUntilAClick() {
    EditorWorld w;
    FUserEdit dlg(w.g, w.env, w.display);
    ShowActive(dlg);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Add, Edit or Delete Users..."));
    auto* lst = Child<QListWidget>(dlg, "lstUser");
    QCOMPARE(lst->count(), 3);
    QCOMPARE(lst->item(2)->text(), QStringLiteral("<New User>"));
    QCOMPARE(lst->item(2)->data(Qt::UserRole).toInt(), 9999);
    for (const char* s : {"txtUser0", "txtUser1", "txtUser2", "txtUser3"}) {
        QVERIFY(!Child<QLineEdit>(dlg, s)->isEnabled());
    }
    QVERIFY(!Child<QPushButton>(dlg, "cmdUser0")->isEnabled());
    QVERIFY(!Child<QPushButton>(dlg, "cmdUser1")->isEnabled());
    QVERIFY(Child<QPushButton>(dlg, "cmdUser2")->isEnabled());

    QTest::mouseClick(lst->viewport(), Qt::LeftButton, {},
                      lst->visualItemRect(lst->item(1)).center());
    QVERIFY(Child<QLineEdit>(dlg, "txtUser0")->isEnabled());
    QCOMPARE(Text(dlg, "txtUser0"), QStringLiteral("Bob"));
    QCOMPARE(Text(dlg, "txtUser3"), QStringLiteral("Bob-R"));
    QVERIFY(HasFocus(dlg, Child<QLineEdit>(dlg, "txtUser1")));

    lst->setCurrentRow(2);
    QCOMPARE(Text(dlg, "txtUser0"), QStringLiteral("<New User>"));
    QCOMPARE(Text(dlg, "txtUser1"), QStringLiteral("Player 1"));
    QVERIFY(HasFocus(dlg, Child<QLineEdit>(dlg, "txtUser0")));
}

void UserDialogsTest::editorDeleteDisabledForNewUserAndCurrentUser() {
    EditorWorld w;
    FUserEdit dlg(w.g, w.env, w.display);
    dlg.show();
    auto* lst = Child<QListWidget>(dlg, "lstUser");
    auto* cmdDelete = Child<QPushButton>(dlg, "cmdUser1");
    lst->setCurrentRow(RowOf(*lst, QStringLiteral("Anna")));
    QVERIFY(!cmdDelete->isEnabled());
    QVERIFY(Child<QPushButton>(dlg, "cmdUser0")->isEnabled());
    lst->setCurrentRow(RowOf(*lst, QStringLiteral("<New User>")));
    QVERIFY(!cmdDelete->isEnabled());
    lst->setCurrentRow(RowOf(*lst, QStringLiteral("Bob")));
    QVERIFY(cmdDelete->isEnabled());
}

void UserDialogsTest::editorRefusesToDeleteTheCurrentUser() {
    EditorWorld w;
    FUserEdit dlg(w.g, w.env, w.display);
    dlg.show();
    auto* lst = Child<QListWidget>(dlg, "lstUser");
    lst->setCurrentRow(RowOf(*lst, QStringLiteral("Anna")));
    dlg.cmdUser_Click(1);
    QCOMPARE(w.msg.Shown.size(), size_t{1});
    QCOMPARE(w.msg.Shown[0].sText,
             std::string("You cannot delete yourself\r\nsince you are the current user!"));
    QCOMPARE(w.msg.Shown[0].sTitle, std::string("Delete User"));
    QVERIFY(!w.msg.Shown[0].bYesNo);
    QCOMPARE(w.StoredUsers().size(), size_t{2});
}

void UserDialogsTest::editorDeletesAnotherUserAfterTheQuestion() {
    EditorWorld w;
    FUserEdit dlg(w.g, w.env, w.display);
    dlg.show();
    auto* lst = Child<QListWidget>(dlg, "lstUser");
    lst->setCurrentRow(RowOf(*lst, QStringLiteral("Bob")));
    w.msg.Answers = {MsgAnswer::No, MsgAnswer::Yes};
    Click(dlg, "cmdUser1");
    QCOMPARE(w.msg.Shown.at(0).sText, std::string("Do you wish to delete\r\nBob as a user?"));
    QCOMPARE(w.msg.Shown.at(0).sTitle, std::string("Delete User"));
    QVERIFY(w.msg.Shown.at(0).bYesNo);
    QCOMPARE(w.StoredUsers().size(), size_t{2});
    QCOMPARE(lst->count(), 3);

    Click(dlg, "cmdUser1");
    QCOMPARE(w.StoredUsers().size(), size_t{1});
    QCOMPARE(RowOf(*lst, QStringLiteral("Bob")), -1);
    QCOMPARE(lst->count(), 2);
    QVERIFY(!Child<QLineEdit>(dlg, "txtUser0")->isEnabled());
    QCOMPARE(Text(dlg, "txtUser0"), QString());
}

void UserDialogsTest::editorSavesANewUser() {
    EditorWorld w;
    FUserEdit dlg(w.g, w.env, w.display);
    dlg.show();
    auto* lst = Child<QListWidget>(dlg, "lstUser");
    lst->setCurrentRow(RowOf(*lst, QStringLiteral("<New User>")));
    Child<QLineEdit>(dlg, "txtUser0")->setText(QStringLiteral(" Cleo "));
    Child<QLineEdit>(dlg, "txtUser2")->setText(QStringLiteral("Topper"));
    Click(dlg, "cmdUser0");
    QCOMPARE(w.msg.Shown.size(), size_t{1});
    QCOMPARE(w.msg.Shown[0].sText, std::string("User record saved!"));
    QCOMPARE(w.msg.Shown[0].sTitle, std::string("Saving User Information"));
    const int nRow = RowOf(*lst, QStringLiteral("Cleo"));
    QVERIFY(nRow >= 0);
    const int nId = lst->item(nRow)->data(Qt::UserRole).toInt();
    QVERIFY(nId != 3 && nId != 5 && nId != kNewUserID);
    QCOMPARE(lst->item(lst->count() - 1)->text(), QStringLiteral("<New User>"));
    QVERIFY(!Child<QLineEdit>(dlg, "txtUser0")->isEnabled());

    const auto users = w.StoredUsers();
    QCOMPARE(users.size(), size_t{3});
    const auto cleo = std::find_if(users.begin(), users.end(),
                                   [nId](const UserRec& u) { return u.nUserID == nId; });
    QVERIFY(cleo != users.end());
    QCOMPARE(cleo->sName, std::string("Cleo"));
    QCOMPARE(cleo->sPlayer2, std::string("Topper"));
    QCOMPARE(cleo->sSkillLevel, std::string("Easy"));
    QCOMPARE(cleo->nNumGames, std::int16_t{0});
    QCOMPARE(w.display.nPlateCalls, 0);

    // Clicking the entry again after the save unlocks the fields.
    QTest::mouseClick(lst->viewport(), Qt::LeftButton, {},
                      lst->visualItemRect(lst->currentItem()).center());
    QVERIFY(Child<QLineEdit>(dlg, "txtUser0")->isEnabled());
}

void UserDialogsTest::editorNewUserEntryLeftUnchangedIsRefused() {
    EditorWorld w;
    FUserEdit dlg(w.g, w.env, w.display);
    dlg.show();
    auto* lst = Child<QListWidget>(dlg, "lstUser");
    lst->setCurrentRow(RowOf(*lst, QStringLiteral("<New User>")));
    Click(dlg, "cmdUser0");
    QCOMPARE(w.msg.Shown.at(0).sText, std::string("<New User> is not a valid user name!"));
    QCOMPARE(w.msg.Shown.at(0).sTitle, std::string("Invalid User Name"));
    QVERIFY(HasFocus(dlg, Child<QLineEdit>(dlg, "txtUser0")));

    w.msg.Shown.clear();
    Child<QLineEdit>(dlg, "txtUser0")->setText(QStringLiteral("Cleo"));
    Child<QLineEdit>(dlg, "txtUser3")->setText(QStringLiteral("Bartholomew13"));
    Click(dlg, "cmdUser0");
    QCOMPARE(w.msg.Shown.at(0).sText,
             std::string("3rd Opponent name cannot be\r\nmore than 12 characters!"));
    QCOMPARE(w.msg.Shown.at(0).sTitle, std::string("Invalid name"));
    QVERIFY(HasFocus(dlg, Child<QLineEdit>(dlg, "txtUser3")));
    QCOMPARE(w.StoredUsers().size(), size_t{2});
}

void UserDialogsTest::editorRenamingTheCurrentUserUpdatesTheWindowAtOnce() {
    EditorWorld w;
    FUserEdit dlg(w.g, w.env, w.display);
    dlg.show();
    auto* lst = Child<QListWidget>(dlg, "lstUser");
    lst->setCurrentRow(RowOf(*lst, QStringLiteral("Anna")));
    Child<QLineEdit>(dlg, "txtUser0")->setText(QStringLiteral("Annabel"));
    Child<QLineEdit>(dlg, "txtUser1")->setText(QStringLiteral("Lou"));
    w.msg.Answers = {MsgAnswer::Yes};
    Click(dlg, "cmdUser0");
    QCOMPARE(w.msg.Shown.at(0).sTitle, std::string("User Name has changed..."));
    QCOMPARE(w.msg.Shown.at(0).sText, RenameQuestion("Anna", "Annabel"));
    QCOMPARE(w.msg.Shown.at(1).sText, std::string("User record saved!"));
    QCOMPARE(w.display.Plates, (std::array<std::string, 4>{"Lou", "Anna-T", "Anna-R", "Annabel"}));
    QCOMPARE(w.display.sStatsCaption, std::string("ANNABEL's Stats..."));
    QCOMPARE(w.g.sUserName, std::string("Annabel"));
    QCOMPARE(w.g.sLeftName, std::string("Lou"));
    QVERIFY(RowOf(*lst, QStringLiteral("Annabel")) >= 0);
    QCOMPARE(RowOf(*lst, QStringLiteral("Anna")), -1);
    QCOMPARE(w.StoredUsers().at(0).sName, std::string("Annabel"));

    // Renaming somebody else leaves the window alone.
    const int nCalls = w.display.nPlateCalls;
    lst->setCurrentRow(RowOf(*lst, QStringLiteral("Bob")));
    Child<QLineEdit>(dlg, "txtUser0")->setText(QStringLiteral("Robert"));
    Click(dlg, "cmdUser0");
    QCOMPARE(w.display.nPlateCalls, nCalls);
    QCOMPARE(w.g.sUserName, std::string("Annabel"));
}

void UserDialogsTest::editorRenameAnsweredNoRestoresTheName() {
    EditorWorld w;
    FUserEdit dlg(w.g, w.env, w.display);
    dlg.show();
    auto* lst = Child<QListWidget>(dlg, "lstUser");
    lst->setCurrentRow(RowOf(*lst, QStringLiteral("Bob")));
    Child<QLineEdit>(dlg, "txtUser0")->setText(QStringLiteral("Robert"));
    w.msg.Answers = {MsgAnswer::No};
    Click(dlg, "cmdUser0");
    QCOMPARE(w.msg.Shown.size(), size_t{1});
    QCOMPARE(Text(dlg, "txtUser0"), QStringLiteral("Bob"));
    QVERIFY(HasFocus(dlg, Child<QLineEdit>(dlg, "txtUser0")));
    QVERIFY(Child<QLineEdit>(dlg, "txtUser0")->isEnabled());
    QCOMPARE(w.StoredUsers().at(1).sName, std::string("Bob"));
}

void UserDialogsTest::editorClosesItselfAfterADatabaseFailure() {
    EditorWorld w;
    w.g.bDBError = true;
    FUserEdit dlg(w.g, w.env, w.display);
    QTimer guard;
    guard.setSingleShot(true);
    bool bTimedOut = false;
    connect(&guard, &QTimer::timeout, &dlg, [&] {
        bTimedOut = true;
        dlg.reject();
    });
    guard.start(5000);
    dlg.exec();
    QVERIFY(!bTimedOut);
}

// ---------------------------------------------------------------- FUserStats

void UserDialogsTest::statsShowTotalsAndTruncatedAverage() {
    World w;
    w.g.sUserName = " Anna ";
    w.g.nWinnings = -45;
    w.g.nNumGames = 2;
    FUserStats dlg(w.g, w.env, w.display);
    dlg.show();
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Anna's Statistics..."));
    QCOMPARE(Text(dlg, "lblStats0"), QStringLiteral("$-45"));
    QCOMPARE(Text(dlg, "lblStats1"), QStringLiteral("2"));
    QCOMPARE(Text(dlg, "lblStats2"), QStringLiteral("$-22"));
    QCOMPARE(Text(dlg, "lblUserStats5"),
             QStringLiteral("& Total Games Played to ZERO and start over."));

    w.g.nWinnings = 350;
    w.g.nNumGames = 0;
    FUserStats none(w.g, w.env, w.display);
    QCOMPARE(Text(none, "lblStats2"), QStringLiteral("$0"));
    QCOMPARE(Text(none, "lblStats0"), QStringLiteral("$350"));
    // No games: a line of text instead of an empty chart.
    none.show();
    QVERIFY(!Child<QChartView>(none, "chtHistory")->isVisible());
    QVERIFY(!Text(none, "lblHistory").isEmpty());
}

void UserDialogsTest::statsChartShowsTheLastHundredGames() {
    World w;
    w.AddUser(3, "Anna", "Easy", 120, 500);
    w.g.nUserID = 3;
    w.g.nNumGames = 120;
    w.g.nWinnings = 500;
    for (int i = 0; i < 120; ++i) {
        game_over::SaveUserData(w.g, w.env,
                                {1 + i / 50, static_cast<std::int16_t>(150 + i), false});
    }
    FUserStats dlg(w.g, w.env, w.display);
    dlg.show();
    QVERIFY(!Child<QLabel>(dlg, "lblHistory")->isVisible());
    const QChart* pChart = Child<QChartView>(dlg, "chtHistory")->chart();
    const auto* pTotal = qobject_cast<QLineSeries*>(pChart->series().at(1));
    const auto* pBars = qobject_cast<QAbstractBarSeries*>(pChart->series().at(0));
    QCOMPARE(pTotal->count(), 100);
    QCOMPARE(pBars->barSets().at(0)->count(), 100);
    // The newest game is last, and the running total ends at the total shown.
    QCOMPARE(pBars->barSets().at(0)->at(99), 69.0);
    QCOMPARE(pTotal->at(99).y(), 500.0);

    w.msg.Answers = {MsgAnswer::Yes};
    Click(dlg, "cmdUserStats0");
    QVERIFY(!Child<QChartView>(dlg, "chtHistory")->isVisible());
    QVERIFY(Child<QLabel>(dlg, "lblHistory")->isVisible());
}

void UserDialogsTest::statsResetAsksAndClearsInMemoryOnly() {
    World w;
    w.AddUser(3, "Anna", "Easy", 4, 220);
    w.g.sUserName = "Anna";
    w.g.nUserID = 3;
    w.g.nWinnings = 220;
    w.g.nNumGames = 4;
    FUserStats dlg(w.g, w.env, w.display);
    dlg.show();
    w.msg.Answers = {MsgAnswer::No, MsgAnswer::Yes};
    Click(dlg, "cmdUserStats0");
    QCOMPARE(w.msg.Shown.at(0).sText,
             std::string("Are you sure that you wish to reset your totals?"));
    QCOMPARE(w.msg.Shown.at(0).sTitle, std::string("The Game of Corvane"));
    QVERIFY(w.msg.Shown.at(0).bYesNo);
    QCOMPARE(w.g.nWinnings, 220);
    QCOMPARE(Text(dlg, "lblStats2"), QStringLiteral("$55"));

    Click(dlg, "cmdUserStats0");
    QCOMPARE(w.g.nWinnings, 0);
    QCOMPARE(w.g.nNumGames, std::int16_t{0});
    QCOMPARE(w.display.sWinnings, std::string("$0"));
    QCOMPARE(Text(dlg, "lblStats0"), QStringLiteral("$0"));
    QCOMPARE(Text(dlg, "lblStats1"), QStringLiteral("0"));
    QCOMPARE(Text(dlg, "lblStats2"), QStringLiteral("$0"));
    QCOMPARE(w.StoredUsers().at(0).nWinnings, 220);

    Click(dlg, "cmdUserStats1");
    QVERIFY(!dlg.isVisible());
}

// ---------------------------------------------------------------- FDBPath

namespace {

struct PathWorld : World {
    std::string OtherFolder(bool bWithDatabase) {
        const std::string sFolder = Sub("shared");
        if (bWithDatabase) {
            QFile::copy(QString::fromStdString(DatabaseFileName(env.sAppPath)),
                        QString::fromStdString(DatabaseFileName(sFolder)));
        }
        return sFolder;
    }
    int nNetworkShown = 0;
    std::function<void()> ShowNetwork() {
        return [this] { ++nNetworkShown; };
    }
};

void OpenFolder(FDBPath& dlg, const std::string& sFolder) {
    Child<FolderList>(dlg, "dirDBPath")->SetPath(QString::fromStdString(sFolder));
}

} // namespace

void UserDialogsTest::dbPathShowsBothPathsInLowerCase() {
    PathWorld w;
    FDBPath dlg(w.g, w.msg, w.files, w.env.sAppPath, w.ShowNetwork());
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Set New Database Path..."));
    QCOMPARE(Text(dlg, "lblCurrDBPath"),
             QString::fromStdString(PathLowerCase(DatabaseFileName(w.g.sDBPath))));
    QCOMPARE(Text(dlg, "lblNewDBPath"), QString::fromStdString(PathLowerCase(w.env.sAppPath)));
    auto* fil = Child<QListWidget>(dlg, "filDBPath");
    QCOMPARE(fil->count(), 1);
    QCOMPARE(fil->item(0)->text(), QStringLiteral("corvane.mdb"));
    QVERIFY(Child<QComboBox>(dlg, "drvDBPath")->count() >= 1);
#ifndef _WIN32
    QCOMPARE(Child<QComboBox>(dlg, "drvDBPath")->currentText(), QStringLiteral("/"));
#endif
    QTest::mouseClick(fil->viewport(), Qt::LeftButton, {},
                      fil->visualItemRect(fil->item(0)).center());
    QCOMPARE(Text(dlg, "lblNewDBPath"),
             QString::fromStdString(PathLowerCase(DatabaseFileName(w.env.sAppPath))));
}

void UserDialogsTest::dbPathSameFolderInOtherCase() {
    PathWorld w;
    w.g.sDBPath = UpperCase(w.env.sAppPath);
    FDBPath dlg(w.g, w.msg, w.files, w.env.sAppPath, w.ShowNetwork());
    dlg.show();
    Click(dlg, "cmdDBPath0");
    QCOMPARE(w.msg.Shown.size(), size_t{1});
    if (FileSystemFoldsCase()) {
        QCOMPARE(w.msg.Shown[0].sText, std::string("The current and the new database paths\r\nare "
                                                   "the SAME!  Nothing to do..."));
        QCOMPARE(w.msg.Shown[0].sTitle, std::string("Same Database Paths"));
        QVERIFY(dlg.isVisible());
        QVERIFY(dlg.Answer() == DialogAnswer::None);
    } else {
        // Where case counts, that is another folder: the program's folder is taken.
        QCOMPARE(w.msg.Shown[0].sTitle, std::string("New Database Path"));
        QCOMPARE(w.g.sDBPath, w.env.sAppPath);
    }
}

void UserDialogsTest::dbPathSwitchesToAFolderWithADatabaseWithoutCopying() {
    PathWorld w;
    const std::string sShared = w.OtherFolder(true);
    FDBPath dlg(w.g, w.msg, w.files, w.env.sAppPath, w.ShowNetwork());
    dlg.show();
    OpenFolder(dlg, sShared + "/");
    QCOMPARE(Text(dlg, "lblNewDBPath"), QString::fromStdString(PathLowerCase(sShared)));
    Click(dlg, "cmdDBPath0");
    QCOMPARE(w.msg.Shown.size(), size_t{1});
    QVERIFY(!w.msg.Shown[0].bYesNo);
    QCOMPARE(w.msg.Shown[0].sText, "Database path has been changed to...\r\n" +
                                       PathUpperCase(DatabaseFileName(sShared)) +
                                       "\r\n\r\nCorvane will need to restart!");
    QCOMPARE(w.msg.Shown[0].sTitle, std::string("New Database Path"));
    QCOMPARE(w.g.sDBPath, sShared);
    QVERIFY(dlg.Answer() == DialogAnswer::Exit);
    QVERIFY(!dlg.isVisible());
}

void UserDialogsTest::dbPathCopyQuestionNoKeepsEverything() {
    PathWorld w;
    const std::string sShared = w.OtherFolder(false);
    FDBPath dlg(w.g, w.msg, w.files, w.env.sAppPath, w.ShowNetwork());
    dlg.show();
    OpenFolder(dlg, sShared);
    w.msg.Answers = {MsgAnswer::No};
    Click(dlg, "cmdDBPath0");
    QCOMPARE(w.msg.Shown.size(), size_t{1});
    QVERIFY(w.msg.Shown[0].bYesNo);
    QCOMPARE(w.msg.Shown[0].sText, "Database file not found in directory...\r\n" +
                                       PathUpperCase(sShared) +
                                       "\r\n\r\nDo you wish to copy corvane.mdb from...\r\n" +
                                       PathUpperCase(w.env.sAppPath) + "?");
    QCOMPARE(w.msg.Shown[0].sTitle, std::string("New Database Path"));
    QCOMPARE(w.msg.Shown[0].icon, MsgIcon::Question);
    QVERIFY(!w.files.FileExists(DatabaseFileName(sShared)));
    QCOMPARE(w.g.sDBPath, w.env.sAppPath);
    QVERIFY(dlg.Answer() == DialogAnswer::None);
    QVERIFY(dlg.isVisible());
}

void UserDialogsTest::dbPathCopyQuestionYesCopiesAndSwitches() {
    PathWorld w;
    const std::string sShared = w.OtherFolder(false);
    FDBPath dlg(w.g, w.msg, w.files, w.env.sAppPath, w.ShowNetwork());
    dlg.show();
    OpenFolder(dlg, sShared);
    w.msg.Answers = {MsgAnswer::Yes};
    Click(dlg, "cmdDBPath0");
    QVERIFY(w.files.FileExists(DatabaseFileName(sShared)));
    QCOMPARE(w.msg.Shown.size(), size_t{2});
    QCOMPARE(w.msg.Shown[1].sTitle, std::string("New Database Path"));
    QCOMPARE(w.g.sDBPath, sShared);
    QVERIFY(dlg.Answer() == DialogAnswer::Exit);
    // The copy is a working database.
    MGlobal r;
    r.sDBPath = sShared;
    user_dialog::GetPlayerData(r, w.env);
    QVERIFY(!r.bDBError);
}

void UserDialogsTest::dbPathFailedCopyChangesNothing() {
    PathWorld w;
    FakeFileSystem fake;
    fake.Files[DatabaseFileName(w.env.sAppPath)] = "db";
    const std::string sShared = w.OtherFolder(false);
    fake.Unwritable.insert(DatabaseFileName(sShared));
    FDBPath dlg(w.g, w.msg, fake, w.env.sAppPath, w.ShowNetwork());
    dlg.show();
    OpenFolder(dlg, sShared);
    w.msg.Answers = {MsgAnswer::Yes};
    Click(dlg, "cmdDBPath0");
    QCOMPARE(w.msg.Shown.size(), size_t{2});
    QCOMPARE(w.msg.Shown[1].sText, std::string("Permission denied"));
    QCOMPARE(w.g.sDBPath, w.env.sAppPath);
    QVERIFY(dlg.Answer() == DialogAnswer::None);
    QVERIFY(dlg.isVisible());
}

void UserDialogsTest::dbPathRootFolder() {
    PathWorld w;
    FakeFileSystem fake;
    fake.Files[DatabaseFileName(w.env.sAppPath)] = "db";
    FDBPath dlg(w.g, w.msg, fake, w.env.sAppPath, w.ShowNetwork());
    dlg.show();
    const QString sRoot = QDir::toNativeSeparators(QDir::rootPath());
    Child<FolderList>(dlg, "dirDBPath")->SetPath(sRoot);
    const std::string sFolder = NormaliseNewFolder(sRoot.toStdString());
    const std::string sFile = DatabaseFileIn(sFolder);
#ifndef _WIN32
    QCOMPARE(sFolder, std::string("/"));
    QCOMPARE(sFile, std::string("/corvane.mdb"));
#endif
    w.msg.Answers = {MsgAnswer::Yes};
    Click(dlg, "cmdDBPath0");
    const std::string sAsked = "Database file not found in directory...\r\n" +
                               PathUpperCase(sFolder) + "\r\n\r\nDo you wish to copy";
    QCOMPARE(w.msg.Shown.at(0).sText.substr(0, sAsked.size()), sAsked);
    QVERIFY(fake.FileExists(sFile));
    QCOMPARE(w.msg.Shown.at(1).sText, "Database path has been changed to...\r\n" +
                                          PathUpperCase(sFile) +
                                          "\r\n\r\nCorvane will need to restart!");
    QCOMPARE(w.g.sDBPath, sFolder);
    QVERIFY(dlg.Answer() == DialogAnswer::Exit);
}

void UserDialogsTest::dbPathCopyButton() {
    PathWorld w;
    const std::string sShared = w.OtherFolder(false);
    FDBPath dlg(w.g, w.msg, w.files, w.env.sAppPath, w.ShowNetwork());
    dlg.show();
    OpenFolder(dlg, sShared);
    QCOMPARE(Child<QListWidget>(dlg, "filDBPath")->count(), 0);
    Click(dlg, "cmdCopyDatabase");
    QVERIFY(w.msg.Shown.empty());
    QVERIFY(w.files.FileExists(DatabaseFileName(sShared)));
    QCOMPARE(Child<QListWidget>(dlg, "filDBPath")->count(), 1);
    QCOMPARE(w.g.sDBPath, w.env.sAppPath);
    QVERIFY(dlg.Answer() == DialogAnswer::None);

    Click(dlg, "cmdCopyDatabase");
    QCOMPARE(w.msg.Shown.size(), size_t{1});
    QCOMPARE(w.msg.Shown[0].sText,
             PathUpperCase(DatabaseFileName(sShared)) + "\r\nalready exists!");
    QCOMPARE(w.msg.Shown[0].sTitle, std::string("Copy database file"));
    QVERIFY(dlg.isVisible());
}

void UserDialogsTest::dbPathHelpShowsTheNetworkNotes() {
    PathWorld w;
    FDBPath dlg(w.g, w.msg, w.files, w.env.sAppPath, w.ShowNetwork());
    dlg.show();
    Click(dlg, "cmdDBPath2");
    QCOMPARE(w.nNetworkShown, 1);
    QVERIFY(dlg.isVisible());
    Click(dlg, "cmdDBPath1");
    QVERIFY(!dlg.isVisible());
    QVERIFY(dlg.Answer() == DialogAnswer::None);
    QVERIFY(w.msg.Shown.empty());
}

// ---------------------------------------------------------------- FCopyIcon

void UserDialogsTest::copyIconControlsAndButtons() {
    MGlobal g;
    g.bCopyLnk = true;
    int nCopies = 0;
    {
        FCopyIcon dlg(g, [&] { ++nCopies; });
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Add Corvane's Icon to Desktop"));
        auto* chk = Child<QCheckBox>(dlg, "chkDontAsk");
        QCOMPARE(chk->text(), QStringLiteral("Don't ask in the future"));
        QVERIFY(!chk->isChecked());
        QCOMPARE(Child<QLabel>(dlg, "lblCopyIcon1")->text(),
                 QStringLiteral("We couldn't find an icon for"));
        QCOMPARE(Child<QLabel>(dlg, "lblCopyIcon0")->font().family(),
                 QStringLiteral("Times New Roman"));
        QVERIFY(!Child<QLabel>(dlg, "imgThinker")->pixmap().isNull());
        QCOMPARE(Child<QPushButton>(dlg, "cmdYesNo0")->text(), QStringLiteral("&Yes"));
        QTimer::singleShot(0, &dlg, [&dlg] { Click(dlg, "cmdYesNo0"); });
        dlg.exec();
        QCOMPARE(nCopies, 1);
        QVERIFY(g.bCopyLnk);
    }
    {
        FCopyIcon dlg(g, [&] { ++nCopies; });
        dlg.show();
        Child<QCheckBox>(dlg, "chkDontAsk")->setChecked(true);
        Click(dlg, "cmdYesNo1");
        QCOMPARE(nCopies, 1);
        QVERIFY(!g.bCopyLnk);
        QVERIFY(!dlg.isVisible());
    }
    g.bCopyLnk = true;
    {
        FCopyIcon dlg(g, [&] { ++nCopies; });
        dlg.show();
        Child<QCheckBox>(dlg, "chkDontAsk")->setChecked(true);
        Click(dlg, "cmdYesNo0");
        QCOMPARE(nCopies, 2);
        QVERIFY(!g.bCopyLnk);
    }
}

QTEST_MAIN(UserDialogsTest)
#include "user_dialogs_test.moc"
