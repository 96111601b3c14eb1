// The whole program in one process: start-up with its messages, the first user
// dialog, Escape, closing with the settings saved, and the recovery that moves
// to the program folder's database when the shared one disappears.
#include "engine/game.hpp"
#include "platform/fake_platform.hpp"
#include "platform/sound_output.hpp"
#include "shell/corvane_app.hpp"
#include "storage/schema.hpp"
#include "table/table_resources.hpp"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace corvane {
namespace {

namespace fs = std::filesystem;

class SilentSound final : public SoundOutput {
public:
    bool PlayWave(const std::uint8_t* /*pData*/, std::size_t /*nSize*/) override { return true; }
};

std::string ReadText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs onShown on the modal dialog named sName as soon as it is up.
void WhenModal(const QString& sName, std::function<void(QWidget*)> onShown) {
    auto* pTimer = new QTimer;
    pTimer->setInterval(10);
    auto nTries = std::make_shared<int>(0);
    QObject::connect(pTimer, &QTimer::timeout, [pTimer, sName, onShown, nTries] {
        QWidget* pModal = QApplication::activeModalWidget();
        if ((pModal != nullptr && pModal->objectName() == sName) || ++*nTries > 500) {
            pTimer->stop();
            pTimer->deleteLater();
            if (pModal != nullptr && pModal->objectName() == sName) {
                onShown(pModal);
            }
        }
    });
    pTimer->start();
}

// Makes the user's move as a player would: the first legal card, or the pot.
void PlayOneMove(Game& game) {
    const GameState& s = game.State();
    if (!s.bUserCanPlay) {
        game.cmdUser_Click();
        return;
    }
    const int nCard = s.bSevenHeartsPlayed ? s.UserPlayable.front() : 26;
    const auto i = std::find(s.UserHand.begin(), s.UserHand.end(), nCard) - s.UserHand.begin();
    game.Form_MouseDown(static_cast<float>(s.nHandLeft + i * s.nCardSpacing + 100),
                        static_cast<float>(s.nHandTop + 700));
    game.Form_Click();
}

// Confirms the user dialog with a new user of that name.
void ChooseNewUser(const QString& sName) {
    WhenModal("FUserName", [sName](QWidget* pDialog) {
        auto* pName = pDialog->findChild<QComboBox*>("cboUser");
        pName->setEditText(sName);
        pDialog->findChild<QPushButton*>("cmdUserName0")->click();
    });
}

class CorvaneAppTest : public QObject {
    Q_OBJECT

private:
    fs::path root_;
    fs::path app_;
    FakeMessageBoxes msg_;
    SilentSound sound_;

    bool Shown(const std::string& sTitle, const std::string& sTextPart) const {
        for (const auto& m : msg_.Shown) {
            if (m.sTitle == sTitle && m.sText.find(sTextPart) != std::string::npos) {
                return true;
            }
        }
        return false;
    }

private slots:
    void initTestCase() { InitTableResources(); }

    void init() {
        std::random_device rd;
        root_ = fs::temp_directory_path() / ("corvane-app-" + std::to_string(rd()));
        app_ = root_ / "app";
        fs::create_directories(app_);
        CreateFreshDatabase((app_ / "corvane.mdb").string());
        msg_ = FakeMessageBoxes{};
    }

    void cleanup() {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }

    void firstStartWithoutSettingsAsksForTheUserAndSavesOnClosing() {
        CorvaneApp app(app_.string(), &msg_, &sound_);
        ChooseNewUser("Ann");
        QVERIFY(app.Main());
        QVERIFY(
            Shown("The Corvane Game", "corvane.ini not found!\r\nLoading CORVANE using defaults."));
        QTRY_COMPARE(app.Window().findChild<QLabel*>("lblPlayer3")->text(), QString("Ann"));
        const QAction* pStats = app.Window().MenuItem("mnuWinnings");
        QVERIFY(pStats != nullptr);
        QCOMPARE(pStats->text(), QString("ANN's Stats..."));
        QCOMPARE(app.Window().windowTitle(),
                 QString("The Game of Corvane v2.2 - Level 1 (1st Hand)"));
        QCOMPARE(app.Window().findChild<QLabel*>("lblCardsLeft3")->text().isEmpty(), false);
        QVERIFY(app.Window().GetGame().State().bUserTurn);

        // The view options, last on the Options menu, chosen with the keyboard
        // alone, go to their own file.
        QCOMPARE(app.Window().Menu("mnuOptionHdr")->actions().back()->text(),
                 QString("&View Options..."));
        WhenModal("FViewOptions", [](QWidget* pDialog) {
            // The first box, the four-colour deck, has the focus.
            QVERIFY(pDialog->focusWidget() != nullptr);
            QTest::keyClick(pDialog->focusWidget(), Qt::Key_Space);
            QTest::keyClick(pDialog->focusWidget(), Qt::Key_Return);
        });
        app.Window().Menu("mnuOptionHdr")->actions().back()->trigger();
        QVERIFY(ReadText(app_ / "corvane-view.ini").find("fourcolour=TRUE\r\n") !=
                std::string::npos);

        app.Window().close();
        const std::string sIni = ReadText(app_ / "corvane.ini");
        QCOMPARE(QString::fromStdString(sIni),
                 QString::fromStdString("[Options]\r\nuser_id=1\r\ndb_path=" + app_.string() +
                                        "\r\nmaxform=0\r\nsoundon=TRUE\r\nanimspd=80\r\n"
                                        "copylnk=FALSE\r\nanimals=FALSE\r\n"));
    }

    void aMissingSharedDatabaseSwitchesToTheProgramFolder() {
        const fs::path shared = root_ / "shared";
        fs::create_directories(shared);
        std::ofstream(app_ / "corvane.ini", std::ios::binary)
            << "[Options]\r\nuser_id=0\r\ndb_path=" << shared.string() << "\r\nsoundon=FALSE\r\n";
        CorvaneApp app(app_.string(), &msg_, &sound_);
        ChooseNewUser("Bea");
        QVERIFY(app.Main());
        QVERIFY(Shown("Database Path", "Switching to database file..."));
        QTRY_COMPARE(app.Window().findChild<QLabel*>("lblPlayer3")->text(), QString("Bea"));
        app.Window().close();
        QVERIFY(ReadText(app_ / "corvane.ini").find("db_path=" + app_.string() + "\r\n") !=
                std::string::npos);
    }

    void noDatabaseAnywhereEndsWithoutSaving() {
        fs::remove(app_ / "corvane.mdb");
        CorvaneApp app(app_.string(), &msg_, &sound_);
        QVERIFY(!app.Main());
        QVERIFY(Shown("Fatal Error", "Closing Corvane."));
        QVERIFY(!fs::exists(app_ / "corvane.ini"));
    }

    void escapeAnsweredNoLeavesTheGameAndYesEndsIt() {
        std::ofstream(app_ / "corvane.ini", std::ios::binary) << "soundon=FALSE\r\nanimspd=0\r\n";
        CorvaneApp app(app_.string(), &msg_, &sound_);
        ChooseNewUser("Cy");
        QVERIFY(app.Main());
        QTRY_VERIFY(app.Window().GetGame().State().bUserTurn);
        GameState& s = app.Window().GetGame().State();
        const auto nShown = msg_.Shown.size();
        app.Window().activateWindow();

        // Escape on an open menu closes the menu and asks nothing.
        QMenu* pFile = app.Window().Menu("mnuFileH");
        pFile->popup(app.Window().mapToGlobal(QPoint(0, 0)));
        QTRY_VERIFY(pFile->isVisible());
        QTest::keyClick(pFile, Qt::Key_Escape);
        QTRY_VERIFY(!pFile->isVisible());
        QCOMPARE(msg_.Shown.size(), nShown);

        // Pressed while the opponents move, it asks once their turn has ended.
        msg_.Answers = {MsgAnswer::No, MsgAnswer::No};
        bool bPressed = false;
        std::size_t nShownMidTurn = 0;
        QTimer watcher;
        watcher.setInterval(1);
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            if (!bPressed && !s.bUserTurn && app.Window().IsBusy()) {
                bPressed = true;
                QTest::keyClick(&app.Window(), Qt::Key_Escape);
                QTest::keyClick(&app.Window(), Qt::Key_Escape);
                nShownMidTurn = msg_.Shown.size();
            }
        });
        watcher.start();
        PlayOneMove(app.Window().GetGame());
        watcher.stop();
        QVERIFY(bPressed);
        QCOMPARE(nShownMidTurn, nShown);
        QTRY_COMPARE(msg_.Shown.size(), nShown + 1);
        QTest::qWait(20);
        QCOMPARE(msg_.Shown.size(), nShown + 1);
        const auto hand = s.UserHand;

        msg_.Answers = {MsgAnswer::No};
        QTest::keyClick(&app.Window(), Qt::Key_Escape);
        QTRY_COMPARE(msg_.Shown.size(), nShown + 2);
        QCOMPARE(msg_.Shown.back().sTitle, std::string("The Game of Corvane"));
        QCOMPARE(msg_.Shown.back().sText, std::string("Are you sure you wish to exit Corvane?"));
        QVERIFY(app.Window().isVisible());
        QCOMPARE(app.Window().GetGame().State().UserHand, hand);

        msg_.Answers = {MsgAnswer::Yes};
        QTest::keyClick(&app.Window(), Qt::Key_Escape);
        QTRY_VERIFY(!app.Window().isVisible());
        QVERIFY(fs::exists(app_ / "corvane.ini"));
    }

    void aPracticeAtGameOverWritesNothingAndComesBackToTheQuestion() {
        std::ofstream(app_ / "corvane.ini", std::ios::binary) << "soundon=FALSE\r\nanimspd=0\r\n";
        CorvaneApp app(app_.string(), &msg_, &sound_);
        ChooseNewUser("Flo");
        QVERIFY(app.Main());
        Game& game = app.Window().GetGame();
        QTRY_VERIFY(game.State().bUserTurn);
        app.Window().SetPauseTick(std::chrono::milliseconds(1));
        game.State().nHand = 3; // the hand in play ends the game

        // The game-over dialog books the game; a practice is asked for there,
        // again when the question comes back, and the last answer is No.
        const fs::path db = app_ / "corvane.mdb";
        std::string sBooked;
        QStringList standings;
        int nAsked = 0;
        QTimer answerer;
        answerer.setInterval(10);
        QObject::connect(&answerer, &QTimer::timeout, [&] {
            QWidget* pDialog = QApplication::activeModalWidget();
            if (pDialog == nullptr || pDialog->objectName() != "FGameOver") {
                return;
            }
            if (nAsked++ == 0) {
                sBooked = ReadText(db);
            }
            standings << pDialog->findChild<QLabel*>("lblPlayer0")->text();
            pDialog->findChild<QPushButton*>(nAsked < 3 ? "cmdYesNo3" : "cmdYesNo1")->click();
        });
        answerer.start();
        while (nAsked < 2) {
            PlayOneMove(game);
        }
        QVERIFY(game.InPractice());
        QVERIFY(app.Window().windowTitle().contains("Practice"));
        QVERIFY(Shown("Practice", "This time you "));
        QCOMPARE(ReadText(db), sBooked);

        // Escape leaves the second practice for the question, answered No.
        QTest::keyClick(&app.Window(), Qt::Key_Escape);
        QTRY_VERIFY(!app.Window().isVisible());
        QCOMPARE(nAsked, 3);
        QCOMPARE(ReadText(db), sBooked);
        QVERIFY(!standings.front().isEmpty());
        QCOMPARE(standings, QStringList(3, standings.front()));
    }

    void losingTheSharedDatabaseAsksForTheUserAgainOnTheDefault() {
        const fs::path shared = root_ / "shared";
        fs::create_directories(shared);
        fs::copy_file(app_ / "corvane.mdb", shared / "corvane.mdb");
        std::ofstream(app_ / "corvane.ini", std::ios::binary)
            << "db_path=" << shared.string() << "\r\nsoundon=FALSE\r\nanimspd=0\r\n";
        CorvaneApp app(app_.string(), &msg_, &sound_);
        ChooseNewUser("Dee");
        QVERIFY(app.Main());
        QTRY_VERIFY(app.Window().GetGame().State().bUserTurn);

        // The shared folder goes away; the next database job finds the default.
        fs::remove(shared / "corvane.mdb");
        ChooseNewUser("Eve");
        WhenModal("FTopTen", [](QWidget* pDialog) { pDialog->close(); });
        app.Window().mnuTopTen_Click();
        QTRY_COMPARE(app.Window().findChild<QLabel*>("lblPlayer3")->text(), QString("Eve"));
        QVERIFY(ReadText(app_ / "corvane.ini").find("db_path=" + app_.string()) !=
                std::string::npos);
        app.Window().close();
    }
};

} // namespace
} // namespace corvane

QTEST_MAIN(corvane::CorvaneAppTest)
#include "corvane_app_test.moc"
