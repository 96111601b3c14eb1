// The user dialog, the user editor, the statistics dialog and the
// database-folder dialog, driven through their controls on a real database in a
// scratch folder. Message boxes are recorded and answered.
#include "dialogs/copy_icon_dialog.hpp"
#include "dialogs/db_path_dialog.hpp"
#include "dialogs/folder_lists.hpp"
#include "dialogs/game_over_dialog.hpp"
#include "dialogs/hand_over_dialog.hpp"
#include "dialogs/high_score_dialog.hpp"
#include "dialogs/top_ten_dialog.hpp"
#include "dialogs/user_display.hpp"
#include "dialogs/user_edit_dialog.hpp"
#include "dialogs/user_name_dialog.hpp"
#include "dialogs/user_stats_dialog.hpp"
#include "dialogs/user_validation.hpp"
#include "dialogs/view_options_dialog.hpp"
#include "storage/db.hpp"
#include "storage/settings.hpp"
#include "table/table_resources.hpp"
#include "tests/support/qt_test_support.hpp"

#include <array>
#include <memory>
#include <set>

#include <QAbstractBarSeries>
#include <QApplication>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace corvane;
using namespace corvane::testing;

namespace {

class RecordingDisplay final : public UserDisplay {
public:
    void ShowPlayerNames(const std::string& sLeft, const std::string& sTop,
                         const std::string& sRight, const std::string& sUser) override {
        Plates = {sLeft, sTop, sRight, sUser};
    }
    void SetStatsCaption(const std::string& sCaption) override { sStatsCaption = sCaption; }
    void ShowWinnings(const std::string& sText) override { sWinnings = sText; }

    std::array<std::string, 4> Plates;
    std::string sStatsCaption;
    std::string sWinnings;
};

struct World : ProgramFolder {
    // Adds a user row the way the user dialog writes one.
    void AddUser(std::int32_t nId, const std::string& sName, const std::string& sLevel = "Easy",
                 std::int16_t nGames = 0, std::int32_t nWinnings = 0) {
        MGlobal w;
        w.sDBPath = g.sDBPath;
        w.nUserID = nId;
        w.sUserName = sName;
        w.sLeftName = sName + "-L";
        w.sTopName = sName + "-T";
        w.sRightName = sName + "-R";
        w.sSkillLevel = sLevel;
        w.nNumGames = nGames;
        w.nWinnings = nWinnings;
        user_dialog::UpdateDatabase(w, env);
    }
    std::vector<UserRec> StoredUsers() {
        MGlobal r;
        r.sDBPath = g.sDBPath;
        return user_dialog::GetPlayerData(r, env);
    }
    RecordingDisplay display;
};

// Anna (3, the current user) and Bob (5), as the user editor sees them.
struct EditorWorld : World {
    EditorWorld() {
        AddUser(3, "Anna");
        AddUser(5, "Bob");
        g.nLastUserID = g.nUserID = 3;
        g.sUserName = "Anna";
    }
};

bool HasFocus(const QWidget& dlg, const char* sName) {
    const QWidget* pControl = Child<QWidget>(dlg, sName);
    const QWidget* pFocus = dlg.focusWidget();
    return pFocus == pControl || (pFocus != nullptr && pFocus->parentWidget() == pControl);
}

QComboBox* UserBox(const QWidget& dlg) {
    return Child<QComboBox>(dlg, "cboUser");
}

void Pick(const FUserEdit& dlg, const QString& sName) {
    auto* lst = Child<QListWidget>(dlg, "lstUser");
    lst->setCurrentItem(lst->findItems(sName, Qt::MatchExactly).value(0));
}

} // namespace

class UserDialogsTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        InitTableResources();
        QCoreApplication::addLibraryPath(QStringLiteral(CORVANE_CHART_DIR));
    }

    void userDialogPreselectsTheLastUser() {
        World w;
        {
            FUserName dlg(w.g, w.env, w.display);
            dlg.show();
            QVERIFY(UserBox(dlg)->count() == 1 && HasFocus(dlg, "cboUser"));
            QCOMPARE(UserBox(dlg)->currentText(), QString(kNewUserText));
        }
        w.AddUser(3, "Anna", "Medium");
        w.AddUser(7, "Bob", "Hard");
        for (const std::int32_t nLast : {7, 42}) {
            w.g.nLastUserID = nLast;
            FUserName dlg(w.g, w.env, w.display);
            dlg.show();
            QCOMPARE(UserBox(dlg)->currentText(),
                     nLast == 7 ? QStringLiteral("Bob") : QString(kNewUserText));
            QCOMPARE(Text(dlg, "txtPlayer3"), nLast == 7 ? "Bob-R" : "Player 3");
            QCOMPARE(HasFocus(dlg, "txtPlayer1"), nLast == 7);
            UserBox(dlg)->setCurrentIndex(0);
            QCOMPARE(Text(dlg, "txtPlayer2"), QStringLiteral("Anna-T"));
            QCOMPARE(Child<QComboBox>(dlg, "cboSkillLevel")->currentText(), "Medium");
        }
    }

    void leavingTheNameBoxReloadsTheUser() {
        World w;
        w.AddUser(3, "Anna");
        w.g.nLastUserID = 3;
        FUserName dlg(w.g, w.env, w.display);
        QVERIFY(ShowActive(dlg));
        auto* txt1 = Child<QLineEdit>(dlg, "txtPlayer1");
        txt1->setText(QStringLiteral("Edited"));
        UserBox(dlg)->setFocus();
        QTRY_VERIFY(UserBox(dlg)->hasFocus());
        QCOMPARE(txt1->text(), QStringLiteral("Edited"));
        auto* txt2 = Child<QLineEdit>(dlg, "txtPlayer2");
        txt2->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(txt1->text(), QStringLiteral("Anna-L"));
        QTRY_COMPARE(txt2->selectedText(), QStringLiteral("Anna-T"));
    }

    void refusedInputKeepsTheDialogOpen() {
        // The box with the bad entry, which gets the focus back.
        const std::pair<const char*, QString> cases[] = {
            {"cboUser", kNewUserText},
            {"txtPlayer3", "  "},
            {"txtPlayer2", "Christopher13"},
            {"cboSkillLevel", ""},
        };
        for (const auto& [sField, sText] : cases) {
            World w;
            FUserName dlg(w.g, w.env, w.display);
            dlg.show();
            UserBox(dlg)->setEditText(QStringLiteral("Zoe"));
            if (auto* pCombo = dlg.findChild<QComboBox*>(sField); pCombo != nullptr) {
                pCombo->setEditText(sText);
                pCombo->setCurrentIndex(pCombo->findText(sText));
            } else {
                Child<QLineEdit>(dlg, sField)->setText(sText);
            }
            Click(dlg, "cmdUserName0");
            QCOMPARE(w.msg.Shown.size(), std::size_t{1});
            QVERIFY2(HasFocus(dlg, sField), sField);
            QVERIFY(dlg.isVisible() && dlg.Answer() == DialogAnswer::None);
            QVERIFY(w.StoredUsers().empty());
        }
    }

    void renameAnsweredNoRestoresAndYesRenames() {
        World w;
        w.AddUser(3, "Anna");
        w.g.nLastUserID = 3;
        FUserName dlg(w.g, w.env, w.display);
        dlg.show();
        UserBox(dlg)->setEditText(QStringLiteral("Annie"));
        w.msg.Answers = {MsgAnswer::No, MsgAnswer::Yes};
        Click(dlg, "cmdUserName0");
        QCOMPARE(w.msg.Shown.at(0).sText, RenameQuestion("Anna", "Annie"));
        QCOMPARE(UserBox(dlg)->currentText(), QStringLiteral("Anna"));
        QVERIFY(HasFocus(dlg, "txtPlayer1") && dlg.isVisible());

        UserBox(dlg)->setEditText(QStringLiteral("Annie"));
        Click(dlg, "cmdUserName0");
        QVERIFY(dlg.Answer() == DialogAnswer::Ok && w.g.nUserID == 3);
        QCOMPARE(w.StoredUsers().size(), std::size_t{1});
        QCOMPARE(w.StoredUsers().at(0).sName, std::string("Annie"));
    }

    void newUserBecomesCurrentWithTheNextId() {
        World w;
        w.AddUser(3, "Anna", "Hard", 4, -120);
        w.g.nLastUserID = 99;
        FUserName dlg(w.g, w.env, w.display);
        QVERIFY(ShowActive(dlg));
        // Typed text is neither completed nor matched to the list, and Enter is OK.
        QLineEdit* pEdit = UserBox(dlg)->lineEdit();
        pEdit->clear();
        QTest::keyClicks(pEdit, QStringLiteral("An"));
        QCOMPARE(UserBox(dlg)->currentText(), QStringLiteral("An"));
        QTest::keyClicks(pEdit, QStringLiteral("na "));
        Child<QLineEdit>(dlg, "txtPlayer1")->setText(QStringLiteral("Lefty"));
        Child<QComboBox>(dlg, "cboSkillLevel")->setCurrentText(QStringLiteral("Medium"));
        pEdit->setFocus();
        QTest::keyClick(pEdit, Qt::Key_Return);
        QVERIFY(w.msg.Shown.empty() && dlg.Answer() == DialogAnswer::Ok);
        QVERIFY(w.g.nUserID != 3 && w.g.nUserID != kNewUserID);
        QCOMPARE(w.g.nLastUserID, w.g.nUserID);
        QCOMPARE(w.g.nSkillLevel, 1);
        QCOMPARE(w.display.Plates,
                 (std::array<std::string, 4>{"Lefty", "Player 2", "Player 3", "Anna"}));
        QCOMPARE(w.display.sStatsCaption, std::string("ANNA's Stats..."));
        QCOMPARE(w.display.sWinnings, std::string("$0"));
        QCOMPARE(w.StoredUsers().size(), std::size_t{2});

        // An existing user keeps the stored games and winnings.
        FUserName again(w.g, w.env, w.display);
        again.show();
        UserBox(again)->setCurrentIndex(UserBox(again)->findData(3));
        Click(again, "cmdUserName0");
        QVERIFY(w.g.nUserID == 3 && w.g.nWinnings == -120 && w.g.nNumGames == 4);
        QCOMPARE(w.display.sWinnings, std::string("$-120"));
    }

    void exitAndClosingAnswerExit() {
        World w;
        FUserName dlg(w.g, w.env, w.display);
        dlg.show();
        dlg.close();
        QVERIFY(dlg.Answer() == DialogAnswer::Exit);
        dlg.show();
        Click(dlg, "cmdUserName1");
        QVERIFY(dlg.Answer() == DialogAnswer::Exit && !dlg.isVisible());
        QCOMPARE(w.g.sUserName + w.display.Plates[3], std::string());
    }

    void databaseFailuresWriteNothing() {
        World w;
        w.AddUser(0, "Zero");
        w.g.nLastUserID = 55;
        // The id counter row gone: no id for a new user, in either dialog.
        {
            KeyCache keys(false);
            db::Database::Open(DatabaseFileName(w.sApp), keys).Exec("DELETE FROM system");
        }
        FUserName dlg(w.g, w.env, w.display);
        dlg.show();
        UserBox(dlg)->setEditText(QStringLiteral("Zoe"));
        Click(dlg, "cmdUserName0");
        QCOMPARE(w.msg.Shown.at(0).sText, std::string(kNoUserIdText));
        QVERIFY(dlg.isVisible());
        FUserEdit editor(w.g, w.env, w.display);
        editor.show();
        Pick(editor, kNewUserText);
        Child<QLineEdit>(editor, "txtUser0")->setText(QStringLiteral("Zoe"));
        Click(editor, "cmdUser0");
        QCOMPARE(w.msg.Shown.at(1).sText, std::string(kNoUserIdText));
        QCOMPARE(w.StoredUsers().size(), std::size_t{1});

        // The file gone before OK: closed without an answer, the fatal message shown.
        w.RemoveDatabase();
        Click(dlg, "cmdUserName0");
        QVERIFY(w.g.bDBError && !dlg.isVisible() && dlg.Answer() == DialogAnswer::None);
        QCOMPARE(w.g.sUserName, std::string());
        QCOMPARE(w.msg.Shown.back().sTitle, std::string("Fatal Error"));
    }

    void missingDatabaseFallsBackOrEnds() {
        World w;
        w.AddUser(3, "Anna");
        w.g.sDBPath = w.dir.Sub("shared"); // no database there
        {
            FUserName dlg(w.g, w.env, w.display);
            QVERIFY(!dlg.EndProgram() && w.g.sDBPath == w.sApp && w.msg.Shown.empty());
            QCOMPARE(UserBox(dlg)->itemText(0), QStringLiteral("Anna"));
        }
        w.RemoveDatabase();
        w.g.sDBPath = w.dir.Sub("shared");
        FUserName dlg(w.g, w.env, w.display);
        QVERIFY(dlg.EndProgram());
        QVERIFY(w.g.bDBError && !w.g.bUseDefaultDB);
        QCOMPARE(dlg.exec(), int(QDialog::Rejected));
        QCOMPARE(w.msg.Shown.back().sTitle, std::string("Fatal Error"));
    }

    void editorUnlocksOnAPickAndLocksAfterASave() {
        EditorWorld w;
        FUserEdit dlg(w.g, w.env, w.display);
        QVERIFY(ShowActive(dlg));
        auto* lst = Child<QListWidget>(dlg, "lstUser");
        QVERIFY(!Child<QLineEdit>(dlg, "txtUser0")->isEnabled());
        QVERIFY(!Child<QPushButton>(dlg, "cmdUser0")->isEnabled());
        QVERIFY(!Child<QPushButton>(dlg, "cmdUser1")->isEnabled());
        QTest::mouseClick(lst->viewport(), Qt::LeftButton, {},
                          lst->visualItemRect(lst->item(1)).center());
        QCOMPARE(Text(dlg, "txtUser3"), QStringLiteral("Bob-R"));
        auto* cmdDelete = Child<QPushButton>(dlg, "cmdUser1");
        QVERIFY(HasFocus(dlg, "txtUser1") && cmdDelete->isEnabled());
        // Neither the new-user entry nor the current user can be deleted.
        Pick(dlg, kNewUserText);
        QVERIFY(!cmdDelete->isEnabled() && HasFocus(dlg, "txtUser0"));
        Pick(dlg, QStringLiteral("Anna"));
        QVERIFY(!cmdDelete->isEnabled());
        dlg.cmdUser_Click(1);
        QVERIFY(w.msg.Shown.at(0).sTitle == "Delete User" && !w.msg.Shown.at(0).bYesNo);
        Pick(dlg, kNewUserText);

        // A new user left as "<New User>" is refused; a real one is saved and locks.
        Click(dlg, "cmdUser0");
        QCOMPARE(w.msg.Shown.at(1).sTitle, std::string("Invalid User Name"));
        Child<QLineEdit>(dlg, "txtUser0")->setText(QStringLiteral(" Cleo "));
        Click(dlg, "cmdUser0");
        QCOMPARE(w.msg.Shown.at(2).sText, std::string("User record saved!"));
        QVERIFY(!Child<QLineEdit>(dlg, "txtUser0")->isEnabled());
        QCOMPARE(lst->item(lst->count() - 1)->text(), QString(kNewUserText));
        QCOMPARE(std::ranges::count(w.StoredUsers(), std::string("Cleo"), &UserRec::sName), 1);
        QCOMPARE(w.display.Plates[3], std::string());
        // The entry picked again unlocks the fields.
        QTest::mouseClick(lst->viewport(), Qt::LeftButton, {},
                          lst->visualItemRect(lst->currentItem()).center());
        QVERIFY(Child<QLineEdit>(dlg, "txtUser0")->isEnabled());

        // Another user goes after the question.
        Pick(dlg, QStringLiteral("Bob"));
        w.msg.Answers = {MsgAnswer::No, MsgAnswer::Yes};
        Click(dlg, "cmdUser1");
        QCOMPARE(w.StoredUsers().size(), std::size_t{3});
        Click(dlg, "cmdUser1");
        QCOMPARE(w.msg.Shown.at(4).sText, std::string("Do you wish to delete\r\nBob as a user?"));
        QVERIFY(w.StoredUsers().size() == 2 && lst->count() == 3);
        QVERIFY(!Child<QLineEdit>(dlg, "txtUser0")->isEnabled() && !cmdDelete->isEnabled());
    }

    void editorRenamingTheCurrentUserUpdatesTheWindow() {
        EditorWorld w;
        FUserEdit dlg(w.g, w.env, w.display);
        dlg.show();
        Pick(dlg, QStringLiteral("Anna"));
        Child<QLineEdit>(dlg, "txtUser0")->setText(QStringLiteral("Annabel"));
        Child<QLineEdit>(dlg, "txtUser1")->setText(QStringLiteral("Lou"));
        w.msg.Answers = {MsgAnswer::No, MsgAnswer::Yes};
        Click(dlg, "cmdUser0");
        QVERIFY(Text(dlg, "txtUser0") == "Anna" && HasFocus(dlg, "txtUser0"));
        Child<QLineEdit>(dlg, "txtUser0")->setText(QStringLiteral("Annabel"));
        Click(dlg, "cmdUser0");
        QCOMPARE(w.display.Plates,
                 (std::array<std::string, 4>{"Lou", "Anna-T", "Anna-R", "Annabel"}));
        QCOMPARE(w.display.sStatsCaption, std::string("ANNABEL's Stats..."));
        QCOMPARE(w.StoredUsers().at(0).sName, std::string("Annabel"));

        // Renaming somebody else leaves the window alone.
        Pick(dlg, QStringLiteral("Bob"));
        Child<QLineEdit>(dlg, "txtUser0")->setText(QStringLiteral("Robert"));
        Click(dlg, "cmdUser0");
        QCOMPARE(w.display.Plates[3] + w.g.sUserName, std::string("AnnabelAnnabel"));
    }

    void editorClosesItselfAfterADatabaseFailure() {
        EditorWorld w;
        w.g.bDBError = true;
        FUserEdit dlg(w.g, w.env, w.display);
        const QObject guard;
        WhenModal([](QDialog& d) { d.done(42); }, {}, &guard);
        QCOMPARE(dlg.exec(), int(QDialog::Rejected));
    }

    void statsResetClearsInMemoryOnlyAndTheChart() {
        World w;
        w.AddUser(3, "Anna", "Easy", 120, 500);
        w.g.sUserName = " Anna ";
        w.g.nUserID = 3;
        w.g.nNumGames = 120;
        w.g.nWinnings = 500;
        for (int i = 0; i < 120; ++i) {
            game_over::SaveUserData(w.g, w.env,
                                    {1 + i / 50, static_cast<std::int16_t>(150 + i), false});
        }
        FUserStats dlg(w.g, w.env, w.display);
        dlg.show();
        QCOMPARE(Text(dlg, "lblStats2"), QStringLiteral("$4"));
        const QChart* pChart = Child<QChartView>(dlg, "chtHistory")->chart();
        const auto* pTotal = qobject_cast<QLineSeries*>(pChart->series().at(1));
        const auto* pBars = qobject_cast<QAbstractBarSeries*>(pChart->series().at(0));
        // The newest hundred games, the newest last; the running total ends at the total shown.
        QCOMPARE(pBars->barSets().at(0)->count(), 100);
        QCOMPARE(pBars->barSets().at(0)->at(99), 69.0);
        QCOMPARE(pTotal->at(99).y(), 500.0);
        {
            // Without the chart library the figures still show, and a line says why there is no
            // chart.
            const QStringList paths = QCoreApplication::libraryPaths();
            QCoreApplication::setLibraryPaths({});
            FUserStats bare(w.g, w.env, w.display);
            QCoreApplication::setLibraryPaths(paths);
            bare.show();
            QVERIFY(bare.findChild<QWidget*>(QStringLiteral("chtHistory")) == nullptr);
            QVERIFY(Child<QLabel>(bare, "lblHistory")->isVisible());
            QVERIFY(!Text(bare, "lblHistory").isEmpty() && Text(bare, "lblStats2") == "$4");
        }

        w.msg.Answers = {MsgAnswer::No, MsgAnswer::Yes};
        Click(dlg, "cmdUserStats0");
        QCOMPARE(w.g.nWinnings, 500);
        Click(dlg, "cmdUserStats0");
        QVERIFY(w.g.nWinnings == 0 && w.g.nNumGames == 0);
        QCOMPARE(w.display.sWinnings, std::string("$0"));
        QCOMPARE(Text(dlg, "lblStats0") + Text(dlg, "lblStats1") + Text(dlg, "lblStats2"),
                 QStringLiteral("$00$0"));
        QCOMPARE(w.StoredUsers().at(0).nWinnings, 500);
        QVERIFY(!Child<QChartView>(dlg, "chtHistory")->isVisible());
        Click(dlg, "cmdUserStats1");
        QVERIFY(!dlg.isVisible());
    }

    // Every dialog works without the mouse: Tab reaches each button, Enter presses
    // the default one, and Escape closes all but the game-over dialog.
    void everyDialogAnswersTheKeyboard() {
        EditorWorld w;
        const SoundPlayer quiet = [](Sound) {};
        using Make = std::function<std::unique_ptr<QDialog>()>;
        const std::tuple<const char*, Make, const char*, bool> cases[] = {
            {"hand over", [&] { return std::make_unique<FHandOver>(w.g, quiet); }, "cmdOK", true},
            {"game over",
             [&] {
                 return std::make_unique<FGameOver>(
                     w.g, w.env, std::array<std::string, 4>{"150", "210", "240", "200"}, 0, nullptr,
                     quiet);
             },
             "cmdYesNo0", false},
            {"top ten", [&] { return std::make_unique<FTopTen>(w.g, w.env); }, "cmdTopTen0", true},
            {"high score", [&] { return std::make_unique<FHighScore>(quiet); }, "CmdHighScore",
             true},
            {"user", [&] { return std::make_unique<FUserName>(w.g, w.env, w.display); },
             "cmdUserName0", true},
            {"user editor",
             [&] {
                 auto p = std::make_unique<FUserEdit>(w.g, w.env, w.display);
                 Pick(*p, QStringLiteral("Bob"));
                 return p;
             },
             "cmdUser0", true},
            {"statistics", [&] { return std::make_unique<FUserStats>(w.g, w.env, w.display); },
             "cmdUserStats1", true},
            {"database folder",
             [&] { return std::make_unique<FDBPath>(w.g, w.msg, w.files, w.sApp, nullptr); },
             "cmdDBPath0", true},
            {"shortcut offer", [&] { return std::make_unique<FCopyIcon>(w.g, nullptr); },
             "cmdYesNo0", true},
            {"view options", [&] { return std::make_unique<FViewOptions>(w.g); }, "cmdOK", true},
        };
        for (const auto& [sWhat, make, sDefault, bEscapeCloses] : cases) {
            const auto pDialog = make();
            QVERIFY2(ShowActive(*pDialog), sWhat);
            std::set<QWidget*> reached;
            for (int i = 0; i < 30; ++i) {
                reached.insert(QApplication::focusWidget());
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            }
            for (QPushButton* pButton : pDialog->findChildren<QPushButton*>()) {
                QVERIFY2(reached.contains(pButton) || !pButton->isEnabled(),
                         qPrintable(QString(sWhat) + " " + pButton->objectName()));
            }
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            QVERIFY2(pDialog->isVisible() != bEscapeCloses, sWhat);

            const auto pAgain = make();
            QVERIFY(ShowActive(*pAgain));
            QSignalSpy pressed(Child<QPushButton>(*pAgain, sDefault), &QPushButton::clicked);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QVERIFY2(pressed.count() == 1, sWhat);
        }
    }

    void dbPathSwitchesOnlyToAFolderWithADatabase_data() {
        QTest::addColumn<bool>("bThere");
        QTest::addColumn<int>("nAnswer");
        QTest::addColumn<bool>("bWritable");
        QTest::addColumn<bool>("bSwitched");
        QTest::newRow("database there") << true << int(MsgAnswer::Ok) << true << true;
        QTest::newRow("copy refused") << false << int(MsgAnswer::No) << true << false;
        QTest::newRow("copied") << false << int(MsgAnswer::Yes) << true << true;
        QTest::newRow("copy fails") << false << int(MsgAnswer::Yes) << false << false;
    }

    void dbPathSwitchesOnlyToAFolderWithADatabase() {
        QFETCH(bool, bThere);
        QFETCH(int, nAnswer);
        QFETCH(bool, bWritable);
        QFETCH(bool, bSwitched);
        World w;
        const std::string sShared = w.dir.Sub("shared");
        if (bThere) {
            QFile::copy(QString::fromStdString(DatabaseFileName(w.sApp)),
                        QString::fromStdString(DatabaseFileName(sShared)));
        }
        FakeFileSystem locked;
        locked.Unwritable.insert(DatabaseFileName(sShared));
        FileSystem& files = bWritable ? static_cast<FileSystem&>(w.files) : locked;
        FDBPath dlg(w.g, w.msg, files, w.sApp, {});
        dlg.show();
        QCOMPARE(Text(dlg, "lblNewDBPath"), QString::fromStdString(PathLowerCase(w.sApp)));
        Child<FolderList>(dlg, "dirDBPath")->SetPath(QString::fromStdString(sShared + "/"));
        w.msg.Answers = {static_cast<MsgAnswer>(nAnswer)};
        Click(dlg, "cmdDBPath0");
        QCOMPARE(w.msg.Shown.at(0).sText,
                 bThere ? "Database path has been changed to...\r\n" +
                              PathUpperCase(DatabaseFileName(sShared)) +
                              "\r\n\r\nCorvane will need to restart!"
                        : "Database file not found in directory...\r\n" + PathUpperCase(sShared) +
                              "\r\n\r\nDo you wish to copy corvane.mdb from...\r\n" +
                              PathUpperCase(w.sApp) + "?");
        QCOMPARE(w.g.sDBPath, bSwitched ? sShared : w.sApp);
        QCOMPARE(dlg.isVisible(), !bSwitched);
        QCOMPARE(dlg.Answer() == DialogAnswer::Exit, bSwitched);
        QCOMPARE(w.files.FileExists(DatabaseFileName(sShared)), bSwitched);
    }

    void dbPathCopyButtonHelpAndCancel() {
        World w;
        const std::string sShared = w.dir.Sub("shared");
        int nNetworkShown = 0;
        FDBPath dlg(w.g, w.msg, w.files, w.sApp, [&] { ++nNetworkShown; });
        dlg.show();
        Child<FolderList>(dlg, "dirDBPath")->SetPath(QString::fromStdString(sShared));
        Click(dlg, "cmdCopyDatabase");
        QVERIFY(w.msg.Shown.empty());
        // A click on the copy shows the file it names.
        auto* fil = Child<QListWidget>(dlg, "filDBPath");
        QCOMPARE(fil->count(), 1);
        QTest::mouseClick(fil->viewport(), Qt::LeftButton, {},
                          fil->visualItemRect(fil->item(0)).center());
        QCOMPARE(Text(dlg, "lblNewDBPath"),
                 QString::fromStdString(PathLowerCase(DatabaseFileName(sShared))));
        Click(dlg, "cmdCopyDatabase");
        QCOMPARE(w.msg.Shown.at(0).sText,
                 PathUpperCase(DatabaseFileName(sShared)) + "\r\nalready exists!");
        Click(dlg, "cmdDBPath2");
        QCOMPARE(nNetworkShown, 1);
        Click(dlg, "cmdDBPath1");
        QVERIFY(!dlg.isVisible());
        QCOMPARE(w.g.sDBPath, w.sApp);
        QVERIFY(dlg.Answer() == DialogAnswer::None);
    }
};

QTEST_MAIN(UserDialogsTest)
#include "user_dialogs_test.moc"
