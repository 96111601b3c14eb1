// The whole program in one process: start-up with its messages, the first user
// dialog, Escape, a practice at the end of a game, closing with the settings
// saved, and the recovery that moves to the program folder's database when the
// shared one disappears. Beside it, the informational dialogs, the how-to-play
// panel and the shortcut offer at start-up, driven through their controls.
#include "dialogs/copy_icon_dialog.hpp"
#include "dialogs/folder_lists.hpp"
#include "dialogs/user_validation.hpp"
#include "opponents/testing/auto_player.hpp"
#include "platform/shell_files.hpp"
#include "platform/sound_output.hpp"
#include "shell/corvane_app.hpp"
#include "shell/help_panel.hpp"
#include "shell/info_dialogs.hpp"
#include "table/table_resources.hpp"
#include "table/table_view.hpp"
#include "tests/support/qt_test_support.hpp"

#include <filesystem>
#include <fstream>
#include <optional>
#include <tuple>

#include <QAccessible>
#include <QRegularExpression>

using namespace corvane;
using namespace corvane::testing;
namespace fs = std::filesystem;

namespace {

class SilentSound final : public SoundOutput {
public:
    bool PlayWave(const std::uint8_t* /*pData*/, std::size_t /*nSize*/) override { return true; }
};

std::string ReadText(const std::string& sFile) {
    std::ifstream in(sFile, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

bool Shown(const FakeMessageBoxes& msg, const std::string& sTitle, const std::string& sPart) {
    return std::ranges::any_of(msg.Shown, [&](const ShownMessage& m) {
        return m.sTitle == sTitle && m.sText.find(sPart) != std::string::npos;
    });
}

// Confirms the user dialog with a new user of that name; the user the dialog
// offered first goes to pOffered.
void ChooseNewUser(const QString& sName, QString* pOffered = nullptr) {
    WhenModal(
        [sName, pOffered](QDialog& dialog) {
            auto* pBox = Child<QComboBox>(dialog, "cboUser");
            if (pOffered != nullptr) {
                *pOffered = pBox->currentText();
            }
            pBox->setEditText(sName);
            Click(dialog, "cmdUserName0");
        },
        QStringLiteral("FUserName"));
}

// The program in its folder, not started yet.
struct Program : ProgramFolder {
    std::string Ini() const { return JoinPath(sApp, "corvane.ini"); }
    void WriteIni(const std::string& sText) const {
        std::ofstream(Ini(), std::ios::binary) << sText;
    }
    // The four name plates, the user's last.
    QString Plates() {
        QStringList names;
        for (const char* sPlate : {"lblPlayer0", "lblPlayer1", "lblPlayer2", "lblPlayer3"}) {
            names << Text(app.Window(), sPlate);
        }
        return names.join('/');
    }
    // Starts quietly, the named new user chosen; true once it is the user's turn.
    bool Start(const QString& sUser) {
        WriteIni("soundon=FALSE\r\nanimspd=0\r\n");
        ChooseNewUser(sUser);
        return app.Main() &&
               QTest::qWaitFor([this] { return app.Window().GetGame().State().bUserTurn; });
    }
    SilentSound sound;
    CorvaneApp app{sApp, &msg, &sound};
};

} // namespace

class ShellTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InitTableResources(); }

    void firstStartWithoutSettingsAsksForTheUserAndSavesOnClosing() {
        Program p;
        // Without settings no user counts as the last one, not even the first.
        MGlobal zed = p.g;
        zed.nUserID = 1;
        zed.sUserName = "Zed";
        user_dialog::UpdateDatabase(zed, p.env);
        QString sOffered;
        ChooseNewUser("Ann", &sOffered);
        QVERIFY(p.app.Main() && Shown(p.msg, "The Corvane Game", "corvane.ini not found!"));
        QTRY_COMPARE(p.Plates(), QString("Player 1/Player 2/Player 3/Ann"));
        QVERIFY(sOffered == kNewUserText && p.app.Window().GetGame().State().bUserTurn);

        p.app.Window().close();
        QCOMPARE(ReadText(p.Ini()), "[Options]\r\nuser_id=2\r\ndb_path=" + p.sApp +
                                        "\r\nmaxform=0\r\nsoundon=TRUE\r\nanimspd=80\r\n"
                                        "copylnk=FALSE\r\nanimals=FALSE\r\n");
    }

    void aMissingSharedDatabaseSwitchesToTheProgramFolderOrEnds() {
        Program p;
        p.WriteIni("[Options]\r\nuser_id=0\r\ndb_path=" + p.dir.Sub("shared") +
                   "\r\nsoundon=FALSE\r\n");
        ChooseNewUser("Bea");
        QVERIFY(p.app.Main() && Shown(p.msg, "Database Path", "Switching to database file..."));
        QTRY_VERIFY(p.Plates().endsWith("/Bea"));
        p.app.Window().close();
        QVERIFY(ReadText(p.Ini()).find("db_path=" + p.sApp + "\r\n") != std::string::npos);

        // Without the program folder's database, whichever folder the settings name,
        // the program ends and writes no settings.
        for (const bool bShared : {false, true}) {
            Program none;
            none.RemoveDatabase();
            const std::string sIni = bShared ? "db_path=" + none.dir.Sub("shared") + "\r\n" : "";
            if (bShared) {
                none.WriteIni(sIni);
            }
            QVERIFY(!none.app.Main() && Shown(none.msg, "Fatal Error", "Closing Corvane."));
            QCOMPARE(ReadText(none.Ini()), sIni);
        }
    }

    void losingOrMovingTheSharedDatabaseAsksForTheUserAgain() {
        ProgramFolder shared;
        Program p;
        p.WriteIni("db_path=" + shared.sApp + "\r\nsoundon=FALSE\r\nanimspd=0\r\n");
        ChooseNewUser("Dee");
        QVERIFY(p.app.Main());
        QTRY_VERIFY(p.app.Window().GetGame().State().bUserTurn && !p.app.Window().IsBusy());
        // Each of these menu items opens its own dialog.
        for (const auto& [sItem, sDialog] :
             {std::pair{"mnuUser0", "FUserEdit"}, {"mnuHelp1", "FContact"}}) {
            QString sShown;
            const QObject guard;
            WhenModal(
                [&sShown](QDialog& dialog) {
                    sShown = dialog.objectName();
                    dialog.close();
                },
                {}, &guard);
            p.app.Window().MenuItem(sItem)->trigger();
            QCOMPARE(sShown, QString(sDialog));
        }

        // The shared folder goes away; the next database job finds the default.
        shared.RemoveDatabase();
        ChooseNewUser("Eve");
        WhenModal([](QDialog& dialog) { dialog.close(); }, QStringLiteral("FTopTen"));
        p.app.Window().mnuTopTen_Click();
        QTRY_VERIFY(p.Plates().endsWith("/Eve"));
        QVERIFY(ReadText(p.Ini()).find("db_path=" + p.sApp) != std::string::npos);

        // Moving to a folder with a database asks for the user again.
        const ProgramFolder other;
        ChooseNewUser("Flo");
        WhenModal(
            [&](QDialog& dialog) {
                Child<FolderList>(dialog, "dirDBPath")->SetPath(QString::fromStdString(other.sApp));
                Click(dialog, "cmdDBPath0");
            },
            QStringLiteral("FDBPath"));
        p.app.Window().MenuItem("mnuDBPath")->trigger();
        QTRY_VERIFY(p.Plates().endsWith("/Flo"));
        p.app.Window().close();
    }

    void escapeAnsweredNoLeavesTheGameAndYesEndsIt() {
        Program p;
        QVERIFY(p.Start("Cy"));
        auto& w = p.app.Window();
        GameState& s = w.GetGame().State();
        const auto nShown = p.msg.Shown.size();
        w.activateWindow();

        // Escape on an open menu closes the menu and asks nothing.
        QMenu* pFile = w.Menu("mnuFileH");
        pFile->popup(w.mapToGlobal(QPoint(0, 0)));
        QTRY_VERIFY(pFile->isVisible());
        QTest::keyClick(pFile, Qt::Key_Escape);
        QTRY_VERIFY(!pFile->isVisible());
        QCOMPARE(p.msg.Shown.size(), nShown);

        // Pressed twice while the opponents move, it asks once, after their turn; and so
        // again on the next turn.
        p.msg.Answers = {MsgAnswer::No, MsgAnswer::No};
        std::optional<std::size_t> nShownMidTurn;
        QTimer watcher;
        watcher.setInterval(1);
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            if (!s.bUserTurn && w.IsBusy()) {
                watcher.stop();
                QTest::keyClick(&w, Qt::Key_Escape);
                QTest::keyClick(&w, Qt::Key_Escape);
                nShownMidTurn = p.msg.Shown.size();
            }
        });
        AutoPlayer player(SeatStrategy::Easy, 1);
        for (std::size_t nAsked = 1; nAsked <= 2; ++nAsked) {
            QTRY_VERIFY(s.bUserTurn && !w.IsBusy());
            watcher.start();
            player.Move(w.GetGame());
            watcher.stop();
            QCOMPARE(nShownMidTurn, std::optional(nShown + nAsked - 1));
            QTRY_COMPARE(p.msg.Shown.size(), nShown + nAsked);
            QTest::qWait(20);
            QCOMPARE(p.msg.Shown.size(), nShown + nAsked);
        }
        const auto hand = s.UserHand;

        for (const MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Yes}) {
            p.msg.Answers = {answer};
            const auto nBefore = p.msg.Shown.size();
            // Pressed on the table, under the window: asked once.
            QTest::keyClick(&w.Table(), Qt::Key_Escape);
            QTRY_COMPARE(p.msg.Shown.size(), nBefore + 1);
            QTRY_COMPARE(w.isVisible(), answer == MsgAnswer::No);
        }
        QVERIFY(p.msg.Shown.back().bYesNo && s.UserHand == hand && fs::exists(p.Ini()));
    }

    void aPracticeAtGameOverWritesNothingAndComesBackToTheQuestion() {
        Program p;
        QVERIFY(p.Start("Flo"));
        Game& game = p.app.Window().GetGame();
        p.app.Window().SetPauseTick(std::chrono::milliseconds(1));
        game.State().nHand = 3; // the hand in play ends the game

        // A practice is asked for at the game-over question,
        // again when the question comes back, and the last answer is No.
        const std::string sDB = DatabaseFileName(p.sApp);
        std::string sBooked;
        QStringList standings;
        QString sNews;
        QTimer answerer;
        answerer.setInterval(10);
        QObject::connect(&answerer, &QTimer::timeout, [&] {
            auto* pDialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (pDialog != nullptr && pDialog->objectName() != "FGameOver") {
                pDialog->accept();
            } else if (pDialog != nullptr) {
                // What a screen reader hears as the game-over dialog comes up.
                QAccessibleInterface* pTable =
                    QAccessible::queryAccessibleInterface(&p.app.Window().Table());
                for (int i = 0; standings.isEmpty() && i < pTable->childCount(); ++i) {
                    sNews += pTable->child(i)->text(QAccessible::Name) + '\n';
                }
                standings << Text(*pDialog, "lblPlayer0");
                Click(*pDialog, standings.size() < 3 ? "cmdYesNo3" : "cmdYesNo1");
            }
        });
        answerer.start();
        // The game is booked (and a won game's top ten entered) once its practice
        // has begun; from then on the file must not change.
        AutoPlayer player(SeatStrategy::Easy, 1);
        while (standings.size() < 2) {
            if (sBooked.empty() && game.InPractice()) {
                sBooked = ReadText(sDB);
            }
            player.Move(game);
        }
        QVERIFY(!sBooked.empty() && game.InPractice() && ReadText(sDB) == sBooked);
        QVERIFY(sNews.contains(QRegularExpression("^Game over: .+ wins the last pot of \\$\\d+\\.$",
                                                  QRegularExpression::MultilineOption)));
        QVERIFY(p.app.Window().windowTitle().contains("Practice") &&
                Shown(p.msg, "Practice", "This time you "));

        // Escape leaves the second practice for the question, answered No.
        QTest::keyClick(&p.app.Window(), Qt::Key_Escape);
        QTRY_VERIFY(!p.app.Window().isVisible());
        QVERIFY(ReadText(sDB) == sBooked && !standings.front().isEmpty());
        QCOMPARE(standings, QStringList(3, standings.front()));
        // A practice that broke even is told as a win.
        p.app.ShowPracticeResult(0, -5);
        QCOMPARE(p.msg.Shown.back().sText,
                 std::string("This time you won $0; in the game you lost $5."));
    }

    void sendScoreCopiesIntoANewMailOutFolderOrReportsTheFailure() {
        const TempDir tmp;
        MGlobal g;
        g.sDBPath = tmp.Sub("db");
        std::ofstream(DatabaseFileName(g.sDBPath)) << "game data";
        const std::string sMailOut = (tmp.Path() / "home/Corvane/mail-out").string();
        FakeMessageBoxes msg;
        LocalShellFiles local;
        FSendScore dlg(g, msg, local, sMailOut);
        QVERIFY(Text(dlg, "lblInfo").contains(QString::fromStdString(sMailOut)));
        for (int nCopy = 1; nCopy <= 2; ++nCopy) { // the second replaces the first
            Click(dlg, "cmdCopyScore");
            QCOMPARE(msg.Shown.size(), std::size_t(nCopy));
            QCOMPARE(msg.Shown.back().sTitle, std::string("Send Score"));
        }
        QCOMPARE(ReadText(JoinPath(sMailOut, "corvane.mdb")), std::string("game data"));

        // With no database to copy, the folder is still made and the cause reported.
        g.sDBPath = tmp.Sub("empty");
        const std::string sOther = (tmp.Path() / "other").string();
        FSendScore failing(g, msg, local, sOther);
        Click(failing, "cmdCopyScore");
        QVERIFY(fs::is_directory(sOther) && msg.Shown.back().sText == "53: File not found");
        FSendScore nowhere(g, msg, local, "");
        QVERIFY(!Child<QPushButton>(nowhere, "cmdCopyScore")->isEnabled());
    }

    void helpPanelShowsEveryRuleWholeAndHidesOnClose() {
        for (const QSize size : {QSize(641, 449), QSize(1282, 898)}) { // at 1x and 2x
            QWidget table;
            table.resize(size);
            auto* pHelp = new HelpPanel(&table);
            pHelp->setGeometry(table.rect()); // laid over the whole table, as the window does
            table.show();
            QVERIFY(!pHelp->isVisible() && !pHelp->lblHelp(12) && !pHelp->lblHelp(25));
            pHelp->show();
            pHelp->layout()->activate();
            // Each text stands whole inside the panel, none over another.
            for (int i = 13; i <= 24; ++i) {
                const QLabel* pLabel = pHelp->lblHelp(i);
                QVERIFY(pLabel != nullptr && !pLabel->text().isEmpty());
                QVERIFY2(pHelp->rect().contains(pLabel->geometry()) &&
                             pLabel->heightForWidth(pLabel->width()) <= pLabel->height() &&
                             pLabel->minimumSizeHint().width() <= pLabel->width(),
                         qPrintable(pLabel->objectName()));
                for (int j = 13; j < i; ++j) {
                    QVERIFY(!pLabel->geometry().intersects(pHelp->lblHelp(j)->geometry()));
                }
            }
            // The texts take the spare width: the title starts by the picture, the last
            // two items' texts by their names.
            const QLabel* pPicture = Child<QLabel>(*pHelp, "imgHelp");
            QVERIFY(pHelp->lblHelp(24)->x() - pPicture->x() <=
                    pPicture->pixmap().deviceIndependentSize().width() + 20);
            QVERIFY(pHelp->lblHelp(16)->x() - pHelp->lblHelp(17)->x() <=
                    std::max(pHelp->lblHelp(17)->sizeHint().width(),
                             pHelp->lblHelp(15)->sizeHint().width()) +
                        20);
            // Headings underlined, the title not but larger, the slogan in italics.
            QVERIFY(
                pHelp->lblHelp(19)->font().underline() && pHelp->lblHelp(21)->font().underline() &&
                !pHelp->lblHelp(24)->font().underline() &&
                pHelp->lblHelp(24)->font().pixelSize() > pHelp->lblHelp(23)->font().pixelSize() &&
                pHelp->lblHelp(13)->font().italic() && !pHelp->lblHelp(14)->font().italic());
            Click(*pHelp, "cmdHelp");
            QVERIFY(!pHelp->isVisible());
        }
    }

    // The pixels the build keeps for the start are the ones the pictures draw.
    void theKeptPicturesAreTheDrawnOnes() {
        for (const auto& [role, nResource, size] :
             {std::tuple{PictureRole::Background, 100, QSize(642, 446)},
              {PictureRole::SadFace, 0, QSize(64, 60)},
              {PictureRole::PotButton, 0, QSize(94, 38)},
              {PictureRole::ProgramIcon, 0, QSize(16, 16)}}) {
            const QImage kept = PrerenderedPixels(role, nResource, size);
            QVERIFY(!kept.isNull());
            QCOMPARE(kept,
                     RenderSvg(PicturePath(role, nResource), size).convertToFormat(kept.format()));
        }
    }

    // The shortcut offer copies on Yes; "don't ask" turns the offer off for later starts.
    void shortcutOfferCopiesOnYesAndDontAskTurnsItOff() {
        for (const bool bYes : {true, false}) {
            MGlobal g;
            g.bCopyLnk = true;
            int nCopies = 0;
            FCopyIcon dlg(g, [&] { ++nCopies; });
            WhenModal([bYes](QDialog& d) {
                Child<QCheckBox>(d, "chkDontAsk")->setChecked(!bYes);
                Click(d, bYes ? "cmdYesNo0" : "cmdYesNo1");
            });
            dlg.exec();
            QVERIFY(nCopies == (bYes ? 1 : 0) && g.bCopyLnk == bYes);
        }
    }
};

QTEST_MAIN(ShellTest)
#include "shell_test.moc"
