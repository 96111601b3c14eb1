// The dialogs on a real database in a scratch folder, driven through their
// controls: what they show, the sounds they play once, their answers, and the
// database failures they meet. Message boxes are recorded and answered.
#include "dialogs/copy_icon_dialog.hpp"
#include "dialogs/db_path_dialog.hpp"
#include "dialogs/folder_lists.hpp"
#include "dialogs/game_dialogs.hpp"
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
#include "table/table_resources.hpp"
#include "tests/support/qt_test_support.hpp"

#include <limits>
#include <memory>
#include <set>

#include <QtCharts>

using namespace corvane;
using namespace corvane::testing;

namespace {

using Captions = std::array<std::string, 4>;

void SetUser(MGlobal& g) {
    g.nUserID = 7;
    g.sUserName = "Ann";
    g.sLeftName = "Bob";
    g.sTopName = "Cy";
    g.sRightName = "Di";
    g.sSkillLevel = "Hard";
    g.nNumGames = 4;
    g.nWinnings = 100;
}

// The shared values after some hands; each row holds the four seats' funds.
MGlobal AfterHands(const QList<QStringList>& rows) {
    MGlobal g;
    SetUser(g);
    g.sWinnerName = "Cy";
    for (const QStringList& row : rows) {
        g.ScoresOne.push_back(row[0].toStdString());
        g.ScoresTwo.push_back(row[1].toStdString());
        g.ScoresThree.push_back(row[2].toStdString());
        g.ScoresUser.push_back(row[3].toStdString());
    }
    return g;
}

QColor Colour(const QWidget& dialog, const QString& sName) {
    return ForeColour(*dialog.findChild<QLabel*>(sName));
}

// Records the sounds asked for; a sound may take a while, with events running,
// as the real player does while it waits for the end.
struct SoundLog {
    std::vector<Sound> Played;
    int nLengthMs = 0;
    SoundPlayer Player() {
        return [this](Sound sound) {
            Played.push_back(sound);
            QTest::qWait(nLengthMs);
        };
    }
    // Answers the dialog once a sound came and another tick of its timer passed;
    // with pStayedOpen, first shows it again (as a restored window is), tries to
    // close it by other ways and tells whether it held.
    void AnswerAfterFirst(const QString& sButton, bool* pStayedOpen = nullptr) {
        WhenModal([this, sButton, pStayedOpen](QDialog& dialog) {
            QVERIFY(QTest::qWaitFor([this] { return !Played.empty(); }, 3000));
            if (pStayedOpen != nullptr) {
                QShowEvent shown;
                QApplication::sendEvent(&dialog, &shown);
                dialog.close();
                QTest::keyClick(&dialog, Qt::Key_Escape);
                *pStayedOpen = dialog.isVisible();
            }
            QTest::qWait(600);
            Click(dialog, sButton);
        });
    }
};

void StoreTopTen(ProgramFolder& db, const std::vector<TopTenRec>& rows) {
    TopTenList list{};
    std::copy(rows.begin(), rows.end(), list.begin());
    MGlobal g = db.g;
    g.nTopTenPos = 99;
    main_window::TopTenSave(g, db.env, list);
}

struct RecordingDisplay final : UserDisplay {
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
    std::size_t Stored(const std::string& sName) {
        return std::ranges::count(StoredUsers(), sName, &UserRec::sName);
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

QComboBox* UserBox(const QWidget& dlg) {
    return Child<QComboBox>(dlg, "cboUser");
}

void Pick(const FUserEdit& dlg, const QString& sName) {
    auto* lst = Child<QListWidget>(dlg, "lstUser");
    lst->setCurrentItem(lst->findItems(sName, Qt::MatchExactly).value(0));
}

} // namespace

class DialogsTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        InitTableResources();
        QCoreApplication::addLibraryPath(QStringLiteral(CORVANE_CHART_DIR));
    }

    void handOverStrikesEarlierRowsAndColoursTheLeader() {
        const std::pair<QList<QStringList>, int> cases[] = {
            {{{"150", "290", "160", "200"}}, 1},
            {{{"250", "140", "250", "160"}}, 2}, // a tie goes to the higher seat
            {{{"100", "250", "200", "250"}}, 3},
            {{{"300", "170", "170", "160"}, {"150", "170", "320", "160"}}, 2}, // the newest row
            {{{"310abc", " 300", "-400", "x990"}}, 0}, // the leading number of each text
            {{{"-5", "-1", "-9", "-7"}}, 0},           // nobody above nothing: the first seat
        };
        const QStringList columns = {"lblScoreOne", "lblScoreTwo", "lblScoreThree", "lblScoreUser"};
        for (const auto& [rows, nLeader] : cases) {
            FHandOver dialog(AfterHands(rows), {});
            const auto nLast = rows.size() - 1;
            for (int seat = 0; seat < 4; ++seat) {
                const QString sRow = columns[seat] + QString::number(nLast);
                QCOMPARE((Colour(dialog, QStringLiteral("lblPlayer%1").arg(seat)) == kBlue) +
                             (Colour(dialog, sRow) == kBlue),
                         seat == nLeader ? 2 : 0);
                QVERIFY(!Child<QLabel>(dialog, sRow)->font().strikeOut());
                QVERIFY(nLast == 0 ||
                        Child<QLabel>(dialog, columns[seat] + "0")->font().strikeOut());
                QVERIFY(!dialog.findChild<QLabel*>(columns[seat] + QString::number(nLast + 1)));
            }
        }
        FHandOver dialog(AfterHands(cases[3].first), {});
        QCOMPARE(Text(dialog, "lblWinner") + Text(dialog, "lblScoreThree1"), "Cy320");
    }

    void handOverAndHighScorePlayTheirSoundOnceAndReplayIsOfferedWhenAsked() {
        const MGlobal g = AfterHands({{"215", "180", "190", "215"}});
        QVERIFY(FHandOver(g, {}).findChild<QPushButton*>("cmdReplay") == nullptr);
        // The user's sound only for the user's name as it is written.
        const std::tuple<const char*, Sound, const char*, DialogAnswer> cases[] = {
            {"Ann", Sound::UserWon, "cmdOK", DialogAnswer::Ok},
            {"Cy", Sound::OtherWon, "cmdReplay", DialogAnswer::Replay},
            {"ann", Sound::OtherWon, "cmdOK", DialogAnswer::Ok},
        };
        for (const auto& [sWinner, sound, sButton, answer] : cases) {
            MGlobal won = g;
            won.sWinnerName = sWinner;
            SoundLog sounds;
            sounds.nLengthMs = 700; // longer than a tick of the dialog's timer
            sounds.AnswerAfterFirst(sButton);
            QVERIFY(RunHandOver(won, sounds.Player(), nullptr, true) == answer);
            QCOMPARE(sounds.Played, std::vector<Sound>{sound});
        }
        // The high-score fanfare, too, once; its button stands centred under the text.
        SoundLog sounds;
        sounds.nLengthMs = 700;
        sounds.AnswerAfterFirst("CmdHighScore");
        RunHighScore(sounds.Player(), nullptr);
        QCOMPARE(sounds.Played, std::vector<Sound>{Sound::HighScore});
        const FHighScore dialog(sounds.Player());
        QVERIFY(qAbs(Child<QWidget>(dialog, "CmdHighScore")->geometry().center().x() -
                     Child<QWidget>(dialog, "lblHighScore0")->geometry().center().x()) <= 1);
    }

    void gameOverBooksTheGameAndRanks() {
        ProgramFolder db;
        SetUser(db.g);
        std::vector<std::string> winnings;
        FGameOver dialog(db.g, db.env, Captions{"150", "210", "240", "200"}, 2,
                         [&](const std::string& s) { winnings.push_back(s); }, {});
        // Finishing on the starting 200 leaves the winnings and counts the game.
        QVERIFY(db.g.nNumGames == 5 && winnings == std::vector<std::string>{"$100"});
        const auto stored = user_dialog::GetPlayerData(db.g, db.env);
        QVERIFY(stored.size() == 1 && stored[0].nNumGames == 5 && stored[0].sPlayer1 == "Bob");
        const auto games = user_stats::LoadHistory(db.g, db.env, 10);
        QVERIFY(games->size() == 1 && games->at(0).nLevel == 3 && games->at(0).nFunds == 200);
        QString sStandings;
        for (int p = 0; p < 4; ++p) {
            sStandings += Text(dialog, QStringLiteral("lblPlayer%1").arg(p)) + " " +
                          Text(dialog, QStringLiteral("lblAmt%1").arg(p)) + " ";
        }
        QVERIFY(sStandings == "Di 240 Cy 210 Ann 200 Bob 150 " && !db.g.bUserWon);

        // The net result moves the winnings; counts at the ends of their types stay there.
        db.g.nWinnings = 10;
        FGameOver lost(db.g, db.env, Captions{"300", "200", "155", "145"}, 0, {}, {});
        QCOMPARE(db.g.nWinnings, -45);
        db.g.nNumGames = std::numeric_limits<std::int16_t>::max();
        db.g.nWinnings = std::numeric_limits<std::int32_t>::max() - 10;
        FGameOver won(db.g, db.env, Captions{"0", "0", "100", "700"}, 0, {}, {});
        QVERIFY(db.g.nNumGames == std::numeric_limits<std::int16_t>::max() &&
                db.g.nWinnings == std::numeric_limits<std::int32_t>::max() &&
                db.g.Standings[0].nFunds == 700);
    }

    // The user won when the user's name heads the standings; the dialog answers
    // only by its buttons.
    void gameOverKnowsWhoWonAndAnswersOnlyByItsButtons() {
        const std::tuple<const char*, Captions, bool, DialogAnswer> cases[] = {
            {"Bob", {"100", "150", "190", "360"}, true, DialogAnswer::Yes},
            {"Bob", {"360", "150", "190", "100"}, false, DialogAnswer::No},
            {"Ann", {"360", "150", "190", "100"}, true, DialogAnswer::Change}, // a namesake
            {"ann", {"360", "150", "190", "100"}, false, DialogAnswer::Replay},
        };
        int nButton = 0;
        for (const auto& [sLeftName, captions, bUserWon, expected] : cases) {
            ProgramFolder db;
            SetUser(db.g);
            db.g.sLeftName = sLeftName;
            db.g.bUserWon = !bUserWon;
            SoundLog sounds;
            bool bStayedOpen = false;
            sounds.AnswerAfterFirst("cmdYesNo" + QString::number(nButton++), &bStayedOpen);
            const auto answer =
                RunGameOver(db.g, db.env, captions, 0, {}, sounds.Player(), nullptr);
            QVERIFY(bStayedOpen && answer == expected && db.g.bUserWon == bUserWon);
            QCOMPARE(user_stats::LoadHistory(db.g, db.env, 1)->at(0).bWon, bUserWon);
            QCOMPARE(sounds.Played,
                     std::vector<Sound>{bUserWon ? Sound::UserWon : Sound::OtherWon});
        }
    }

    void gameOverWithoutADatabaseClosesUnanswered() {
        for (const bool bDefaultThere : {true, false}) {
            ProgramFolder db;
            SetUser(db.g);
            db.g.sDBPath = db.dir.Sub("shared");
            if (!bDefaultThere) {
                db.RemoveDatabase();
            }
            db.g.Standings[0] = {"Earlier", 500};
            db.g.bUserWon = true;
            // Should the dialog stay open, answer it so that the test ends and fails.
            const QObject guard;
            WhenModal([](QDialog& dialog) { Click(dialog, "cmdYesNo0"); }, {}, &guard);
            FGameOver dialog(db.g, db.env, Captions{"150", "210", "240", "200"}, 0, {}, {});
            QVERIFY(db.g.bDBError && db.g.bUseDefaultDB == bDefaultThere);
            QVERIFY(db.msg.Shown.size() == (bDefaultThere ? 0U : 2U) &&
                    Text(dialog, "lblPlayer0").isEmpty());
            dialog.exec();
            QVERIFY(dialog.Answer() == DialogAnswer::None && !db.g.bUserWon &&
                    db.g.Standings[0].sName == "Earlier" && db.g.nNumGames == 5);
        }
        // A ranking the database refuses leaves no stale winner either.
        ProgramFolder other;
        SetUser(other.g);
        other.g.bUserWon = true;
        KeyCache keys(false);
        db::Database::Open(DatabaseFileName(other.sApp), keys).Exec("DROP TABLE player");
        FGameOver unranked(other.g, other.env, Captions{"100", "150", "190", "360"}, 0, {}, {});
        QVERIFY(!unranked.HasStandings() && !other.g.bUserWon && !other.g.bDBError);
        QCOMPARE(other.msg.Shown.at(0).sTitle, std::string("GetStandings"));
    }

    void topTenInScoreOrderTheNewEntryHighlightedAndClearedAfterAsking() {
        ProgramFolder db;
        StoreTopTen(db, {{"Eve", 600, MakeDate(2026, 3, 2)},
                         {"Dan", 600, MakeDate(2026, 3, 1)},
                         {"Flo", 720, MakeDate(2026, 5, 1)},
                         {"Zed", 0, MakeDate(2026, 1, 1)}});
        const QStringList names = {"Flo", "Dan", "Eve", "", "", "", "", "", "", ""};
        // 99 comes from the menu; no value outside 0 to 9 highlights anything.
        for (const int nTopTenPos : {3, 0, 9, 99, 10, -1}) {
            db.g.nTopTenPos = nTopTenPos;
            FTopTen dialog(db.g, db.env);
            for (int i = 0; i < 10; ++i) {
                const QString sRow = QString::number(i);
                QCOMPARE(Text(dialog, "lblNo" + sRow), QString::number(i + 1));
                QCOMPARE(Text(dialog, "lblPlayer" + sRow), names[i]);
                QCOMPARE(Colour(dialog, "lblPlayer" + sRow), i == nTopTenPos ? kBlue : kPurple);
                QVERIFY(Colour(dialog, "lblScore" + sRow) != kBlue);
            }
            QVERIFY(Text(dialog, "lblScore2") == "600" &&
                    !dialog.findChild<QLabel*>("lblPlayer10"));
        }
        // The clear asks first; on a database that has gone it closes the list, and
        // the list opens closing.
        db.g.nTopTenPos = 0;
        FTopTen dialog(db.g, db.env);
        dialog.show();
        db.msg.Answers = {MsgAnswer::No, MsgAnswer::Yes};
        Click(dialog, "cmdTopTen1");
        QVERIFY(db.msg.Shown.at(0).bYesNo && Text(dialog, "lblPlayer0") == "Flo");
        Click(dialog, "cmdTopTen1");
        QVERIFY(Text(dialog, "lblPlayer0").isEmpty() && Colour(dialog, "lblPlayer0") == kBlue);
        TopTenList list{};
        top_ten_dialog::TopTenLoad(db.g, db.env, list);
        QVERIFY(list[0].nScore == 0 && dialog.isVisible());
        db.RemoveDatabase();
        Click(dialog, "cmdTopTen1");
        QVERIFY(db.g.bDBError && !dialog.isVisible());
        db.g.bDBError = false;
        const QObject guard;
        WhenModal([](QDialog& d) { d.done(42); }, {}, &guard);
        RunTopTen(db.g, db.env, nullptr);
        QVERIFY(db.g.bDBError && db.msg.Shown.back().sTitle == "Fatal Error");
    }

    void userDialogPreselectsTheLastUserAndReloadsItOnLeavingTheBox() {
        World w;
        {
            FUserName dlg(w.g, w.env, w.display);
            dlg.show();
            QVERIFY(UserBox(dlg)->count() == 1 && HasFocus(dlg, "cboUser") &&
                    UserBox(dlg)->currentText() == kNewUserText);
            // Closing it and its Exit button both answer Exit, choosing nobody.
            dlg.close();
            QVERIFY(dlg.Answer() == DialogAnswer::Exit);
            dlg.show();
            Click(dlg, "cmdUserName1");
            QVERIFY(dlg.Answer() == DialogAnswer::Exit && !dlg.isVisible() &&
                    (w.g.sUserName + w.display.Plates[3]).empty());
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
            QVERIFY(Text(dlg, "txtPlayer2") == "Anna-T" &&
                    Child<QComboBox>(dlg, "cboSkillLevel")->currentText() == "Medium");
        }
        w.g.nLastUserID = 3;
        FUserName dlg(w.g, w.env, w.display);
        QVERIFY(ShowActive(dlg));
        SetText(dlg, "txtPlayer1", QStringLiteral("Edited"));
        UserBox(dlg)->setFocus();
        QTRY_VERIFY(UserBox(dlg)->hasFocus());
        UserBox(dlg)->showPopup(); // nor does dropping its list down, edits stay
        QCOMPARE(Text(dlg, "txtPlayer1"), QStringLiteral("Edited"));
        UserBox(dlg)->hidePopup();
        auto* txt2 = Child<QLineEdit>(dlg, "txtPlayer2");
        txt2->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(Text(dlg, "txtPlayer1"), QStringLiteral("Anna-L"));
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
                SetText(dlg, sField, sText);
            }
            Click(dlg, "cmdUserName0");
            QVERIFY2(HasFocus(dlg, sField), sField);
            QVERIFY(w.msg.Shown.size() == 1 && dlg.isVisible() &&
                    dlg.Answer() == DialogAnswer::None && w.StoredUsers().empty());
        }
    }

    void aNewUserGetsTheNextIdAndAnExistingOneKeepsItsRecordWhenRenamed() {
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
        SetText(dlg, "txtPlayer1", QStringLiteral("Lefty"));
        Child<QComboBox>(dlg, "cboSkillLevel")->setCurrentText(QStringLiteral("Medium"));
        pEdit->setFocus();
        QTest::keyClick(pEdit, Qt::Key_Return);
        QVERIFY(w.msg.Shown.empty() && dlg.Answer() == DialogAnswer::Ok);
        QVERIFY(w.g.nUserID != 3 && w.g.nUserID != kNewUserID && w.g.nLastUserID == w.g.nUserID);
        QCOMPARE(w.g.nSkillLevel, 1);
        QCOMPARE(w.display.Plates,
                 (std::array<std::string, 4>{"Lefty", "Player 2", "Player 3", "Anna"}));
        QVERIFY(w.display.sStatsCaption == "ANNA's Stats..." && w.display.sWinnings == "$0");
        QCOMPARE(w.StoredUsers().size(), std::size_t{2});

        // A new name for an existing user is asked about: No restores the old one.
        FUserName again(w.g, w.env, w.display);
        again.show();
        UserBox(again)->setCurrentIndex(UserBox(again)->findData(3));
        UserBox(again)->setEditText(QStringLiteral("Annie"));
        w.msg.Answers = {MsgAnswer::No, MsgAnswer::Yes};
        Click(again, "cmdUserName0");
        QCOMPARE(w.msg.Shown.at(0).sText, RenameQuestion("Anna", "Annie"));
        QVERIFY(UserBox(again)->currentText() == "Anna" && HasFocus(again, "txtPlayer1") &&
                again.isVisible());
        UserBox(again)->setEditText(QStringLiteral("Annie"));
        Click(again, "cmdUserName0");
        // Renamed, the user keeps the stored games and winnings.
        QVERIFY(again.Answer() == DialogAnswer::Ok && w.g.nUserID == 3 && w.g.nWinnings == -120 &&
                w.g.nNumGames == 4 && w.display.sWinnings == "$-120");
        QVERIFY(w.StoredUsers().size() == 2 && w.Stored("Annie") == 1);
    }

    void databaseFailuresWriteNothingFallBackOrEnd() {
        World w;
        w.AddUser(0, "Zero");
        w.g.nLastUserID = 55;
        // A shared folder without a database: the program folder's, without a word.
        w.g.sDBPath = w.dir.Sub("shared");
        FUserName dlg(w.g, w.env, w.display);
        QVERIFY(!dlg.EndProgram() && w.g.sDBPath == w.sApp && w.msg.Shown.empty() &&
                UserBox(dlg)->itemText(0) == "Zero");
        // The id counter row gone: no id for a new user, in either dialog.
        {
            KeyCache keys(false);
            db::Database::Open(DatabaseFileName(w.sApp), keys).Exec("DELETE FROM system");
        }
        dlg.show();
        UserBox(dlg)->setEditText(QStringLiteral("Zoe"));
        Click(dlg, "cmdUserName0");
        QVERIFY(w.msg.Shown.at(0).sText == kNoUserIdText && dlg.isVisible());
        FUserEdit editor(w.g, w.env, w.display);
        editor.show();
        Pick(editor, kNewUserText);
        SetText(editor, "txtUser0", QStringLiteral("Zoe"));
        Click(editor, "cmdUser0");
        QVERIFY(w.msg.Shown.at(1).sText == kNoUserIdText && w.StoredUsers().size() == 1);

        // The file gone before OK: closed without an answer, the fatal message shown.
        w.RemoveDatabase();
        Click(dlg, "cmdUserName0");
        QVERIFY(w.g.bDBError && !dlg.isVisible() && dlg.Answer() == DialogAnswer::None);
        QVERIFY(w.g.sUserName.empty() && w.msg.Shown.back().sTitle == "Fatal Error");
        // With neither database the dialog ends the program; the editor, too, closes itself.
        w.g.sDBPath = w.dir.Sub("shared");
        w.g.bDBError = false;
        FUserName last(w.g, w.env, w.display);
        QVERIFY(last.EndProgram() && w.g.bDBError && !w.g.bUseDefaultDB);
        QVERIFY(last.exec() == QDialog::Rejected &&
                std::ranges::count(w.msg.Shown, "Fatal Error", &ShownMessage::sTitle) == 2);
        FUserEdit closing(w.g, w.env, w.display);
        const QObject guard;
        WhenModal([](QDialog& d) { d.done(42); }, {}, &guard);
        QCOMPARE(closing.exec(), int(QDialog::Rejected));
    }

    void editorUnlocksOnAPickLocksAfterASaveAndRenamesTheCurrentUser() {
        EditorWorld w;
        FUserEdit dlg(w.g, w.env, w.display);
        QVERIFY(ShowActive(dlg));
        auto* lst = Child<QListWidget>(dlg, "lstUser");
        auto* txtUser0 = Child<QLineEdit>(dlg, "txtUser0");
        auto* cmdDelete = Child<QPushButton>(dlg, "cmdUser1");
        QVERIFY(!txtUser0->isEnabled() && !cmdDelete->isEnabled() &&
                !Child<QPushButton>(dlg, "cmdUser0")->isEnabled());
        QTest::mouseClick(lst->viewport(), Qt::LeftButton, {},
                          lst->visualItemRect(lst->item(1)).center());
        QVERIFY(Text(dlg, "txtUser3") == "Bob-R" && HasFocus(dlg, "txtUser1") &&
                cmdDelete->isEnabled());
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
        QVERIFY(w.msg.Shown.at(1).sTitle == "Invalid User Name" && HasFocus(dlg, "txtUser0"));
        txtUser0->setText(QStringLiteral(" Cleo "));
        Click(dlg, "cmdUser0");
        QVERIFY(!w.msg.Shown.at(2).bYesNo && !txtUser0->isEnabled() && w.Stored("Cleo") == 1);
        QVERIFY(lst->item(lst->count() - 1)->text() == kNewUserText && w.display.Plates[3].empty());
        // The entry picked again unlocks the fields.
        QTest::mouseClick(lst->viewport(), Qt::LeftButton, {},
                          lst->visualItemRect(lst->currentItem()).center());
        QVERIFY(txtUser0->isEnabled());

        // Another user goes after the question.
        Pick(dlg, QStringLiteral("Bob"));
        w.msg.Answers = {MsgAnswer::No, MsgAnswer::Yes};
        Click(dlg, "cmdUser1");
        QCOMPARE(w.StoredUsers().size(), std::size_t{3});
        Click(dlg, "cmdUser1");
        QVERIFY(w.msg.Shown.at(4).sText.find("Bob") != std::string::npos && lst->count() == 3);
        QVERIFY(w.StoredUsers().size() == 2 && !txtUser0->isEnabled() && !cmdDelete->isEnabled());

        // Renaming the current user, asked first, renames the window's plates too.
        Pick(dlg, QStringLiteral("Anna"));
        txtUser0->setText(QStringLiteral("Annabel"));
        SetText(dlg, "txtUser1", QStringLiteral("Lou"));
        w.msg.Answers = {MsgAnswer::No, MsgAnswer::Yes};
        Click(dlg, "cmdUser0");
        QVERIFY(txtUser0->text() == "Anna" && HasFocus(dlg, "txtUser0"));
        txtUser0->setText(QStringLiteral("Annabel"));
        Click(dlg, "cmdUser0");
        QCOMPARE(w.display.Plates,
                 (std::array<std::string, 4>{"Lou", "Anna-T", "Anna-R", "Annabel"}));
        QVERIFY(w.display.sStatsCaption == "ANNABEL's Stats..." && w.Stored("Annabel") == 1);
        // Renaming somebody else leaves the window alone.
        Pick(dlg, QStringLiteral("Cleo"));
        txtUser0->setText(QStringLiteral("Robert"));
        Click(dlg, "cmdUser0");
        QCOMPARE(w.display.Plates[3] + w.g.sUserName, std::string("AnnabelAnnabel"));
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
                                    {1 + i / 50, static_cast<std::int16_t>(269 - i), false});
        }
        FUserStats dlg(w.g, w.env, w.display);
        dlg.show();
        QCOMPARE(Text(dlg, "lblStats2"), QStringLiteral("$4"));
        const QChart* pChart = Child<QChartView>(dlg, "chtHistory")->chart();
        auto* pTotal = qobject_cast<QLineSeries*>(pChart->series().at(1));
        auto* pBars = qobject_cast<QAbstractBarSeries*>(pChart->series().at(0));
        // The newest hundred games, the newest last; the running total ends at the total shown.
        QVERIFY(pBars->barSets().at(1)->count() == 100 && pBars->barSets().at(1)->at(99) == -50.0 &&
                pTotal->at(99).y() == 500.0);
        QCOMPARE(pChart->axes(Qt::Horizontal).at(0)->titleText(), "Games 21 to 120");
        // A line where each level begins, the first game's included.
        QCOMPARE(
            qobject_cast<QCategoryAxis*>(pChart->axes(Qt::Horizontal).at(0))->categoriesLabels(),
            QStringList({"Level 1", "Level 2", "Level 3"}));
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
        // Each bar and point within its axis, and zero on the same grid line of both axes.
        const auto* pLeft = qobject_cast<QValueAxis*>(pChart->axes(Qt::Vertical, pBars).at(0));
        const auto* pRight = qobject_cast<QValueAxis*>(pChart->axes(Qt::Vertical, pTotal).at(0));
        for (int i = 0; i < 100; ++i) {
            const double dWon = pBars->barSets().at(0)->at(i) + pBars->barSets().at(1)->at(i);
            QVERIFY(dWon >= pLeft->min() && dWon <= pLeft->max() &&
                    pTotal->at(i).y() >= pRight->min() && pTotal->at(i).y() <= pRight->max());
        }
        QCOMPARE(pLeft->min() * pRight->max(), pRight->min() * pLeft->max());
        // A bar pointed at tells its game.
        emit pBars->hovered(true, 0, pBars->barSets().at(0));
        QVERIFY(QToolTip::text().startsWith("Game 21, ") && QToolTip::text().endsWith("\n$49"));

        w.msg.Answers = {MsgAnswer::No, MsgAnswer::Yes};
        Click(dlg, "cmdUserStats0");
        QCOMPARE(w.g.nWinnings, 500);
        Click(dlg, "cmdUserStats0");
        QVERIFY(w.g.nWinnings == 0 && w.g.nNumGames == 0 && w.display.sWinnings == "$0");
        QCOMPARE(Text(dlg, "lblStats0") + Text(dlg, "lblStats1") + Text(dlg, "lblStats2"),
                 QStringLiteral("$00$0"));
        QVERIFY(w.StoredUsers().at(0).nWinnings == 500 &&
                !Child<QChartView>(dlg, "chtHistory")->isVisible());
        Click(dlg, "cmdUserStats1");
        QVERIFY(!dlg.isVisible());
    }

    // Every dialog stands centred across the screen, and down it centred or a little
    // above; it works without the mouse: Tab reaches each button, Enter presses the
    // default one, and Escape closes all but the game-over dialog.
    void everyDialogAnswersTheKeyboard() {
        EditorWorld w;
        const SoundPlayer quiet = [](Sound) {};
        const Captions funds = {"150", "210", "240", "200"};
        using Make = std::function<QDialog*()>;
        // The default button, whether Escape closes, whether centred down the screen.
        const std::tuple<Make, const char*, bool, bool> cases[] = {
            {[&] { return new FHandOver(w.g, quiet, nullptr, true); }, "cmdOK", true, false},
            {[&] { return new FGameOver(w.g, w.env, funds, 0, nullptr, quiet); }, "cmdYesNo0",
             false, false},
            {[&] { return new FTopTen(w.g, w.env); }, "cmdTopTen0", true, true},
            {[&] { return new FHighScore(quiet); }, "CmdHighScore", true, true},
            {[&] { return new FUserName(w.g, w.env, w.display); }, "cmdUserName0", true, false},
            {[&] {
                 auto* p = new FUserEdit(w.g, w.env, w.display);
                 Pick(*p, QStringLiteral("Bob"));
                 return p;
             },
             "cmdUser0", true, true},
            {[&] { return new FUserStats(w.g, w.env, w.display); }, "cmdUserStats1", true, true},
            {[&] { return new FDBPath(w.g, w.msg, w.files, w.sApp, nullptr); }, "cmdDBPath0", true,
             true},
            {[&] { return new FCopyIcon(w.g, nullptr); }, "cmdYesNo0", true, true},
            {[&] { return new FViewOptions(w.g); }, "cmdOK", true, true},
        };
        for (const auto& [make, sDefault, bEscapeCloses, bCentredDown] : cases) {
            const std::unique_ptr<QDialog> pDialog(make());
            const QByteArray sName = pDialog->objectName().toUtf8();
            const char* sWhat = sName.constData();
            QVERIFY2(ShowActive(*pDialog), sWhat);
            const QPoint ptOff =
                pDialog->frameGeometry().center() - pDialog->screen()->availableGeometry().center();
            QVERIFY2(qAbs(ptOff.x()) <= 3 && (bCentredDown ? qAbs(ptOff.y()) <= 3 : ptOff.y() < 0),
                     sWhat);
            // Every control stands whole inside the dialog, none over another.
            const auto shown = [](const QWidget* p) {
                const auto* pLabel = qobject_cast<const QLabel*>(p);
                return p->isVisible() && (pLabel == nullptr || !pLabel->text().isEmpty());
            };
            const auto controls = pDialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
            for (const QWidget* p : controls) {
                for (const QWidget* q : controls) {
                    QVERIFY2(!shown(p) || (pDialog->rect().contains(p->geometry()) &&
                                           (p == q || !shown(q) ||
                                            !p->geometry().intersects(q->geometry()))),
                             qPrintable(sName + " " + p->objectName() + " " + q->objectName()));
                }
            }
            std::set<QWidget*> reached;
            for (int i = 0; i < 30; ++i) {
                reached.insert(QApplication::focusWidget());
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            }
            for (QPushButton* pButton : pDialog->findChildren<QPushButton*>()) {
                QVERIFY2(reached.contains(pButton) || !pButton->isEnabled(),
                         qPrintable(sName + " " + pButton->objectName()));
            }
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            QVERIFY2(pDialog->isVisible() != bEscapeCloses, sWhat);

            const std::unique_ptr<QDialog> pAgain(make());
            QVERIFY(ShowActive(*pAgain));
            QSignalSpy pressed(Child<QPushButton>(*pAgain, sDefault), &QPushButton::clicked);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QVERIFY2(pressed.count() == 1, sWhat);
        }
    }

    void dbPathSwitchesOnlyToAFolderWithADatabase() {
        // Whether the folder holds a database, the answer to the copy offer,
        // whether the copy can be written, whether the path changes.
        const std::tuple<bool, MsgAnswer, bool, bool> cases[] = {
            {true, MsgAnswer::Ok, true, true},
            {false, MsgAnswer::No, true, false},
            {false, MsgAnswer::Yes, true, true},
            {false, MsgAnswer::Yes, false, false},
        };
        for (const auto& [bThere, answer, bWritable, bSwitched] : cases) {
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
            w.msg.Answers = {answer};
            Click(dlg, "cmdDBPath0");
            // The message names the new file, or the folder and the program's folder.
            const std::string& sText = w.msg.Shown.at(0).sText;
            QVERIFY(sText.find(PathUpperCase(bThere ? DatabaseFileName(sShared) : sShared) +
                               "\r\n") != std::string::npos);
            QVERIFY(bThere || sText.find(PathUpperCase(w.sApp) + "?") != std::string::npos);
            QCOMPARE(w.g.sDBPath, bSwitched ? sShared : w.sApp);
            QVERIFY(dlg.isVisible() != bSwitched &&
                    (dlg.Answer() == DialogAnswer::Exit) == bSwitched &&
                    w.files.FileExists(DatabaseFileName(sShared)) == bSwitched);
        }
    }

    void dbPathCopyButtonHelpAndCancel() {
        World w;
        const std::string sShared = w.dir.Sub("shared");
        int nNetworkShown = 0;
        FDBPath dlg(w.g, w.msg, w.files, w.sApp, [&] { ++nNetworkShown; });
        dlg.show();
        Child<FolderList>(dlg, "dirDBPath")->SetPath(QString::fromStdString(sShared));
        Click(dlg, "cmdCopyDatabase");
        // A click on the copy shows the file it names.
        auto* fil = Child<QListWidget>(dlg, "filDBPath");
        QVERIFY(w.msg.Shown.empty() && fil->count() == 1);
        QTest::mouseClick(fil->viewport(), Qt::LeftButton, {},
                          fil->visualItemRect(fil->item(0)).center());
        QCOMPARE(Text(dlg, "lblNewDBPath"),
                 QString::fromStdString(PathLowerCase(DatabaseFileName(sShared))));
        Click(dlg, "cmdCopyDatabase");
        QCOMPARE(w.msg.Shown.at(0).sText,
                 PathUpperCase(DatabaseFileName(sShared)) + "\r\nalready exists!");
        Click(dlg, "cmdDBPath2");
        Click(dlg, "cmdDBPath1");
        QVERIFY(nNetworkShown == 1 && !dlg.isVisible() && dlg.Answer() == DialogAnswer::None &&
                w.g.sDBPath == w.sApp);
    }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
