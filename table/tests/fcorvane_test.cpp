// The table window driven as the user drives it: clicks on the cards at their
// places under the current scale, the pay-the-pot button, the hints answered
// by OK, the sounds heard through a recording player, the menus and the speed
// dialog. The deal is fixed by a clock that always reads the same tick.
#include "engine/cards.hpp"
#include "engine/testing/null_ports.hpp"
#include "platform/fake_platform.hpp"
#include "table/coach_hint.hpp"
#include "table/fanimate.hpp"
#include "table/fcorvane.hpp"
#include "table/fmessage.hpp"
#include "table/keyboard_play.hpp"
#include "table/sound_names.hpp"
#include "table/table_resources.hpp"
#include "table/table_view.hpp"

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QToolTip>
#include <QtTest>

using namespace corvane;

namespace {

class FixedClock final : public Clock {
public:
    std::uint32_t TickCount() override { return 424242; }
    Date Now() override { return Date(std::chrono::seconds(1'800'000'000)); }
};

class ScriptedHost final : public testing::NullProgramPort {
public:
    DialogAnswer ShowHandOver(bool) override {
        ++nHandOvers;
        return DialogAnswer::Ok;
    }
    DialogAnswer ShowGameOver() override {
        ++nGameOvers;
        // The real dialog ranks the seats; here the user has won with no score
        // that the top ten would take.
        pG->bUserWon = true;
        pG->Standings[0] = StandingRec{pG->sUserName, 0};
        return DialogAnswer::Yes;
    }
    void ShowHighScore() override { ++nHighScores; }
    void ShowTopTen() override { TopTenPositions.push_back(pG->nTopTenPos); }
    void HandleDBError() override { ++nDBErrors; }

    MGlobal* pG = nullptr;
    int nHandOvers = 0;
    int nGameOvers = 0;
    int nHighScores = 0;
    int nDBErrors = 0;
    std::vector<int> TopTenPositions;
};

// Records which sound resource each wave is, the thread it played on, and
// can hold a sound until the window's own thread has done something.
class RecordingSound final : public SoundOutput {
public:
    RecordingSound() {
        for (const int n : kSoundResources) {
            Waves.emplace_back(n, SoundWave(n));
        }
    }

    bool PlayWave(const std::uint8_t* pData, std::size_t nSize) override {
        const QByteArray bytes(reinterpret_cast<const char*>(pData), static_cast<qsizetype>(nSize));
        int nResource = 0;
        for (const auto& [n, wave] : Waves) {
            if (wave == bytes) {
                nResource = n;
            }
        }
        if (bHoldUntilReleased) {
            // A blocked window thread would never release us: give up after a while.
            for (int i = 0; i < 400 && !bReleased; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        }
        std::lock_guard<std::mutex> lock(m);
        Played.push_back(nResource);
        Threads.push_back(std::this_thread::get_id());
        bReleasedWhilePlaying = bReleased.load();
        return true;
    }

    std::vector<int> TakePlayed() {
        std::lock_guard<std::mutex> lock(m);
        std::vector<int> v;
        v.swap(Played);
        return v;
    }

    std::vector<std::pair<int, QByteArray>> Waves;
    std::mutex m;
    std::vector<int> Played;
    std::vector<std::thread::id> Threads;
    std::atomic<bool> bHoldUntilReleased{false};
    std::atomic<bool> bReleased{false};
    bool bReleasedWhilePlaying = false;
};

struct Rig {
    Rig() {
        g.sUserName = "Tester";
        g.sLeftName = "Lefty";
        g.sTopName = "Topper";
        g.sRightName = "Righty";
        SetSkillLevel(g, "Medium");
        g.lSeed = 12345;
        g.lAnimSpeed = 0;
        g.bSoundOn = true;
        host.pG = &g;
        w = std::make_unique<FCorvane>(g, host, sound, msg, &clock);
        w->SetPauseTick(std::chrono::milliseconds(1));
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }

    GameState& S() { return w->GetGame().State(); }
    TableView& T() { return w->Table(); }
    QString Text(const char* sName) { return w->findChild<QLabel*>(sName)->text(); }

    // A widget point inside card i of the user's hand.
    QPoint HandPoint(int i) {
        const int n = static_cast<int>(S().UserHand.size());
        const int nOffset = i == n - 1 ? 535 : 180;
        return T().WidgetPoint(
            QPointF(S().nHandLeft + i * S().nCardSpacing + nOffset, S().nHandTop + 700));
    }
    void ClickCard(int nCard) {
        const auto& hand = S().UserHand;
        const int i = static_cast<int>(std::find(hand.begin(), hand.end(), nCard) - hand.begin());
        QTest::mouseClick(&T(), Qt::LeftButton, {}, HandPoint(i));
    }

    // The user's move as a player makes it: the first legal card, or the
    // pay-the-pot button when there is none.
    void PlayOneMove() {
        if (S().bUserCanPlay) {
            ClickCard(S().bSevenHeartsPlayed ? S().UserPlayable.front() : kSevenOfHearts);
        } else {
            QTest::mouseClick(w->findChild<QPushButton*>("cmdUser"), Qt::LeftButton);
        }
    }

    MGlobal g;
    ScriptedHost host;
    RecordingSound sound;
    FakeMessageBoxes msg;
    FixedClock clock;
    std::unique_ptr<FCorvane> w;
};

// Answers the next modal dialog with its OK button and keeps what it said.
struct HintAnswer {
    QString sName;
    QString sLine0;
    QString sLine1;
    int nWidth = 0;
    int nButtonX = 0;
    bool bSeen = false;
};

void AnswerNextHint(HintAnswer& answer) {
    QTimer::singleShot(0, [&answer] {
        QWidget* pModal = QApplication::activeModalWidget();
        if (pModal == nullptr) {
            AnswerNextHint(answer);
            return;
        }
        answer.bSeen = true;
        answer.sName = pModal->objectName();
        answer.sLine0 = pModal->findChild<QLabel*>("lblMessage0")->text();
        answer.sLine1 = pModal->findChild<QLabel*>("lblMessage1")->text();
        answer.nWidth = pModal->width();
        auto* pOk = pModal->findChild<QPushButton*>("cmdMessage");
        answer.nButtonX = pOk->x();
        QTest::mouseClick(pOk, Qt::LeftButton);
    });
}

bool IsCardWhite(QColor c) {
    return c.red() > 225 && c.green() > 225 && c.blue() > 225;
}

// The bright inside of the keyboard highlight's ring.
bool IsRingYellow(QColor c) {
    return c.red() > 200 && c.green() > 170 && c.blue() < 90;
}

// The colour of the table's picture at a point in twips.
QColor Probe(TableView& t, int x, int y) {
    const QImage image = t.grab().toImage();
    const qreal dpr = image.devicePixelRatio();
    const QPoint p = t.WidgetPoint(QPointF(x, y));
    return image.pixelColor(static_cast<int>(p.x() * dpr), static_cast<int>(p.y() * dpr));
}

QAccessibleInterface* ChildNamed(QAccessibleInterface* pParent, const QString& sName) {
    for (int i = 0; i < pParent->childCount(); ++i) {
        if (pParent->child(i)->text(QAccessible::Name) == sName) {
            return pParent->child(i);
        }
    }
    return nullptr;
}

} // namespace

class FCorvaneTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InitTableResources(); }

    void opensAtDesignSizeWithPanelsInPlace();
    void transformKeepsAspectAndCentres();
    void seededHandPlayedByClicks_data();
    void seededHandPlayedByClicks();
    void cardsDrawnWhereTheyBelong_data();
    void cardsDrawnWhereTheyBelong();
    void wrongCardAndPayButtonGiveHints();
    void menusWorkWhileTheOpponentsMove();
    void inputDuringTheUsersOwnSoundIsDropped();
    void soundsPlayInOrderOffTheWindowThread();
    void soundMenusSwitchAndShowTheOtherItem();
    void hoverOverThePotPlaysItsSound();
    void topTenMenuShowsTheListWithoutHighlight();
    void animationSpeedDialog();
    void hintDialogTexts_data();
    void hintDialogTexts();
    void flightLeavesItsTrailUntilCleared();
    void wonGameMovesUpALevel();
    void smallScreenOpensMaximised();
    void hintMarksALegalCardAndEndsWithTheTurn();
    void keyboardHighlightAndPlay_data();
    void keyboardHighlightAndPlay();
    void screenReaderNamesAndFocus();
    void viewOptionsChangeTheTable();
};

void FCorvaneTest::opensAtDesignSizeWithPanelsInPlace() {
    Rig r;
    QCOMPARE(r.T().size(), QSize(642, 446));
    QCOMPARE(r.w->windowTitle(), QString("The Game of Corvane v2.2"));
    for (int s = 0; s < 4; ++s) {
        QCOMPARE(r.Text(qPrintable(QString("lblAmt%1").arg(s))), QString("200"));
        QCOMPARE(r.Text(qPrintable(QString("lblCardsLeft%1").arg(s))), QString("13"));
        QVERIFY(r.Text(qPrintable(QString("lblCardNo%1").arg(s))).isEmpty());
        QVERIFY(!r.w->findChild<QLabel*>(QString("imgSad%1").arg(s))->isVisible());
    }
    QCOMPARE(r.Text("lblPlayer0"), QString("Player One"));
    QCOMPARE(r.Text("lblPlayer3"), QString("Player Four"));
    // 600, 5400, 855, 450 twips at 15 twips a pixel.
    QCOMPARE(r.w->findChild<QLabel*>("lblAmt0")->geometry(), QRect(40, 360, 57, 30));
    QCOMPARE(r.w->findChild<QLabel*>("lblPot")->geometry(), QRect(8, 208, 81, 30));
    QCOMPARE(r.w->findChild<QPushButton*>("cmdUser")->geometry(), QRect(528, 227, 105, 48));
    // 13.5 points is 18 pixels at the design scale.
    QCOMPARE(r.w->findChild<QLabel*>("lblAmt2")->font().pixelSize(), 18);
    QCOMPARE(r.w->findChild<QLabel*>("lblPlayer1")->font().pixelSize(), 16);
    QCOMPARE(r.w->TableWidth(), 9630);
}

void FCorvaneTest::transformKeepsAspectAndCentres() {
    Rig r;
    QCOMPARE(r.T().WidgetPoint(QPointF(9630, 6690)), QPoint(642, 446));
    r.w->resize(1000, r.w->height());
    QTRY_COMPARE(r.T().width(), 1000);
    // Wider than the table: the height decides and the sides are letterboxed.
    QCOMPARE(r.T().WidgetPoint(QPointF(0, 0)), QPoint(179, 0));
    QCOMPARE(r.T().WidgetPoint(QPointF(9630, 6690)), QPoint(821, 446));
    QCOMPARE(r.T().ToTwips(QPointF(179 + 321, 223)), QPointF(4815, 3345));
    // The panels move and grow with the table.
    r.w->resize(1284, r.w->menuBar()->height() + 892);
    QTRY_COMPARE(r.T().size(), QSize(1284, 892));
    QCOMPARE(r.w->findChild<QLabel*>("lblAmt0")->geometry(), QRect(80, 720, 114, 60));
    QCOMPARE(r.w->findChild<QLabel*>("lblAmt0")->font().pixelSize(), 36);
}

void FCorvaneTest::seededHandPlayedByClicks_data() {
    QTest::addColumn<QSize>("tableSize");
    QTest::newRow("1x") << QSize(642, 446);
    QTest::newRow("2x") << QSize(1284, 892);
    QTest::newRow("letterboxed") << QSize(900, 500);
}

void FCorvaneTest::seededHandPlayedByClicks() {
    QFETCH(QSize, tableSize);
    Rig r;
    r.w->resize(tableSize.width(), tableSize.height() + r.w->menuBar()->height());
    QTRY_COMPARE(r.T().size(), tableSize);
    r.w->GetGame().StartGame(true);
    QVERIFY(r.S().bUserTurn);

    int nActions = 0;
    while (r.host.nHandOvers == 0 && nActions < 200) {
        ++nActions;
        GameState& s = r.S();
        QVERIFY(s.bUserTurn);
        QCOMPARE(r.w->GetGame().State().nCardsLeft[3], static_cast<int>(s.UserHand.size()));
        const int nCardsBefore = s.nCardsLeft[3];
        if (s.bUserCanPlay) {
            const int c = s.bSevenHeartsPlayed ? s.UserPlayable.front() : kSevenOfHearts;
            r.ClickCard(c);
            if (r.host.nHandOvers == 0) {
                QVERIFY(std::count(s.CardsPlayed.begin(), s.CardsPlayed.end(), c) == 1);
                QCOMPARE(s.nCardsLeft[3], nCardsBefore - 1);
                QCOMPARE(r.Text("lblCardNo3"), QString::fromStdString(GetCardLabel(c)));
                const auto* pSuit = r.w->findChild<QLabel*>("imgSuit3");
                QCOMPARE(pSuit->pixmap().toImage(),
                         Picture(PictureRole::SuitIcon, 100 + Suit(c), pSuit->size(),
                                 r.T().devicePixelRatioF())
                             .toImage());
            }
        } else {
            const int nFunds = s.nFunds[3];
            QTest::mouseClick(r.w->findChild<QPushButton*>("cmdUser"), Qt::LeftButton);
            if (r.host.nHandOvers == 0) {
                QCOMPARE(s.nCardsLeft[3], nCardsBefore);
                QVERIFY(s.nFunds[3] < nFunds);
                QVERIFY(r.w->findChild<QLabel*>("imgSad3")->isVisible());
            }
        }
        if (r.host.nHandOvers == 0) {
            // The panels show what the game holds.
            for (int nSeat = 0; nSeat < 4; ++nSeat) {
                QCOMPARE(r.Text(qPrintable(QString("lblAmt%1").arg(nSeat))),
                         QString::number(s.nFunds[nSeat]));
                QCOMPARE(r.Text(qPrintable(QString("lblCardsLeft%1").arg(nSeat))),
                         QString::number(s.nCardsLeft[nSeat]));
            }
            QCOMPARE(r.Text("lblPot"), QString("$%1").arg(s.nPot));
            QCOMPARE(r.T().PlayerFill(3), 0x00FFFFU);
        }
    }
    QCOMPARE(r.host.nHandOvers, 1);
    QVERIFY(r.w->windowTitle().endsWith(" - Level 1 (2nd Hand)"));
    // The next hand is dealt and waits for the user.
    QVERIFY(r.S().bUserTurn);
    QCOMPARE(r.S().nHand, 1);
    QCOMPARE(r.g.ScoresUser.size(), 1U);
    // Waiting for the user, the pause timer is not running.
    QVERIFY(!r.w->findChild<QTimer*>("tmrCount")->isActive());
}

void FCorvaneTest::cardsDrawnWhereTheyBelong_data() {
    QTest::addColumn<QSize>("tableSize");
    QTest::newRow("1x") << QSize(642, 446);
    QTest::newRow("2x") << QSize(1284, 892);
}

void FCorvaneTest::cardsDrawnWhereTheyBelong() {
    QFETCH(QSize, tableSize);
    Rig r;
    r.w->resize(tableSize.width(), tableSize.height() + r.w->menuBar()->height());
    QTRY_COMPARE(r.T().size(), tableSize);
    r.w->GetGame().StartGame(true);
    if (!r.S().bSevenHeartsPlayed) {
        r.ClickCard(kSevenOfHearts);
    }
    QVERIFY(r.S().bSevenHeartsPlayed);
    const QImage image = r.T().grab().toImage();
    const qreal dpr = image.devicePixelRatio();
    auto probe = [&](int x, int y) {
        const QPoint p = r.T().WidgetPoint(QPointF(x, y));
        return image.pixelColor(static_cast<int>(p.x() * dpr), static_cast<int>(p.y() * dpr));
    };
    // The strip of the Seven of Hearts that the Six leaves in sight.
    QVERIFY(IsCardWhite(probe(6480 + 900, 1560 + 130)));
    // Between the rows and the hand there is only the table.
    QVERIFY(!IsCardWhite(probe(4815, 4800)));
    // The Seven of Clubs' place is white exactly when it is on the table.
    const auto& played = r.S().CardsPlayed;
    const bool bClubsOpen = std::count(played.begin(), played.end(), 24) == 1;
    QCOMPARE(IsCardWhite(probe(2160 + 900, 1560 + 130)), bClubsOpen);
    // The lower left corner of the first card of the hand.
    QVERIFY(IsCardWhite(probe(r.S().nHandLeft + 250, kHandTop + 1330)));
    // Left of the hand: no card.
    QVERIFY(!IsCardWhite(probe(r.S().nHandLeft - 200, kHandTop + 700)));
}

void FCorvaneTest::wrongCardAndPayButtonGiveHints() {
    Rig r;
    r.w->GetGame().StartGame(true);
    GameState& s = r.S();
    const std::vector<int> hand = s.UserHand;
    // A card that may not be played now.
    int nWrong = -1;
    for (const int c : hand) {
        const bool bOk = s.bSevenHeartsPlayed
                             ? std::count(s.UserPlayable.begin(), s.UserPlayable.end(), c) == 1
                             : c == kSevenOfHearts;
        if (!bOk) {
            nWrong = c;
            break;
        }
    }
    QVERIFY(nWrong >= 0);
    r.sound.TakePlayed();

    HintAnswer answer;
    AnswerNextHint(answer);
    r.ClickCard(nWrong);
    QVERIFY(answer.bSeen);
    QCOMPARE(answer.sName, QString("FMessage"));
    if (s.bUserCanPlay) {
        QCOMPARE(answer.sLine0, QString("You cannot play this card!"));
        QVERIFY(answer.sLine1.isEmpty());
    } else {
        QCOMPARE(answer.sLine0, QString("You do not have any cards"));
        QCOMPARE(answer.sLine1, QString("to play, so pay the pot!"));
    }
    QCOMPARE(r.sound.TakePlayed(), std::vector<int>{101});
    QCOMPARE(s.UserHand, hand);
    QVERIFY(s.bUserTurn);

    if (s.bUserCanPlay) {
        HintAnswer pay;
        AnswerNextHint(pay);
        QTest::mouseClick(r.w->findChild<QPushButton*>("cmdUser"), Qt::LeftButton);
        QVERIFY(pay.bSeen);
        if (!s.bSevenHeartsPlayed) {
            QCOMPARE(pay.sLine0, QString("You MUST play the"));
            QCOMPARE(pay.sLine1, QString("Seven of Hearts!"));
        } else if (s.UserPlayable.size() == 1) {
            QCOMPARE(pay.sLine0, QString("You can play the"));
            QCOMPARE(pay.sLine1, QString::fromStdString(GetCardName(s.UserPlayable[0]) + "!"));
        } else {
            QCOMPARE(pay.sLine0, QString("You have several"));
            QCOMPARE(pay.sLine1, QString("cards you can play!"));
        }
        QCOMPARE(r.sound.TakePlayed(), std::vector<int>{101}); // MustPlay shares the wave
        QCOMPARE(s.UserHand, hand);
        QCOMPARE(r.Text("lblAmt3"), QString::number(s.nFunds[3]));
    }
    // A double click is one click: one hint, not two.
    int nHints = 0;
    QTimer watcher;
    watcher.setInterval(1);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (QWidget* pModal = QApplication::activeModalWidget()) {
            ++nHints;
            pModal->close();
        }
    });
    watcher.start();
    const int i = static_cast<int>(std::find(hand.begin(), hand.end(), nWrong) - hand.begin());
    // The events a double click brings: press, release, double click, release.
    const QPoint p = r.HandPoint(i);
    QTest::mouseClick(&r.T(), Qt::LeftButton, {}, p);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, p, r.T().mapToGlobal(p), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&r.T(), &dbl);
    QTest::mouseRelease(&r.T(), Qt::LeftButton, {}, p);
    QTest::qWait(20);
    watcher.stop();
    QCOMPARE(nHints, 1);
    r.sound.TakePlayed();

    // A click beside the hand does nothing, not even a hint.
    QTest::mouseClick(&r.T(), Qt::LeftButton, {},
                      r.T().WidgetPoint(QPointF(s.nHandLeft - 100, kHandTop + 700)));
    QVERIFY(r.sound.TakePlayed().empty());
}

void FCorvaneTest::menusWorkWhileTheOpponentsMove() {
    Rig r;
    r.w->GetGame().StartGame(true);
    GameState& s = r.S();
    QVERIFY(s.bUserCanPlay);
    const int c = s.bSevenHeartsPlayed ? s.UserPlayable.front() : kSevenOfHearts;
    const int nHandBefore = static_cast<int>(s.UserHand.size());
    const int nFundsBefore = s.nFunds[3];

    // While an opponent's pause runs, click another card, press the button, ask
    // for a new game by its shortcut and by its menu item, open a menu, turn the
    // sound off and close the window.
    bool bInjected = false;
    bool bNewGameDisabled = false;
    bool bMenuOpened = false;
    bool bSoundOffAtOnce = false;
    int nHintsSeen = 0;
    std::vector<int> heardAfterSwitch;
    QTimer watcher;
    watcher.setInterval(1);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (QApplication::activeModalWidget() != nullptr) {
            ++nHintsSeen; // a hint would mean a click got through
            QApplication::activeModalWidget()->close();
        }
        if (bInjected || s.bUserTurn || !r.w->findChild<QTimer*>("tmrCount")->isActive()) {
            return;
        }
        bInjected = true;
        const int nOther = s.UserHand.front() == c ? s.UserHand.back() : s.UserHand.front();
        const int i = static_cast<int>(std::find(s.UserHand.begin(), s.UserHand.end(), nOther) -
                                       s.UserHand.begin());
        const QPoint p = r.HandPoint(i);
        QCoreApplication::postEvent(&r.T(), new QMouseEvent(QEvent::MouseButtonPress, p,
                                                            r.T().mapToGlobal(p), Qt::LeftButton,
                                                            Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(&r.T(), new QMouseEvent(QEvent::MouseButtonRelease, p,
                                                            r.T().mapToGlobal(p), Qt::LeftButton,
                                                            Qt::NoButton, Qt::NoModifier));
        QTest::mouseClick(&r.T(), Qt::LeftButton, {}, p);
        QTest::mouseClick(r.w->findChild<QPushButton*>("cmdUser"), Qt::LeftButton);
        // The keyboard's card and button go the way of the clicks.
        QTest::keyClick(&r.T(), Qt::Key_End);
        QTest::keyClick(&r.T(), Qt::Key_Return);
        QTest::keyClick(&r.T(), Qt::Key_P);
        QTest::keyClick(r.w.get(), Qt::Key_N, Qt::ControlModifier);
        r.w->MenuItem("mnuFile0")->trigger();
        bNewGameDisabled = !r.w->MenuItem("mnuFile0")->isEnabled();
        QMenu* pOptions = r.w->Menu("mnuOptionHdr");
        QMenuBar* pBar = r.w->menuBar();
        QTest::mouseClick(pBar, Qt::LeftButton, {},
                          pBar->actionGeometry(pOptions->menuAction()).center());
        bMenuOpened = pOptions->isVisible();
        pOptions->hide();
        QTest::keyClick(r.w.get(), Qt::Key_F6);
        bSoundOffAtOnce = !r.g.bSoundOn;
        r.sound.TakePlayed();
        r.w->close();
    });
    watcher.start();
    r.ClickCard(c);
    heardAfterSwitch = r.sound.TakePlayed();
    QTest::qWait(30); // anything queued or held acts now
    watcher.stop();

    QVERIFY(bInjected);
    QCOMPARE(nHintsSeen, 0);
    QVERIFY(bMenuOpened);
    QVERIFY(bNewGameDisabled);
    QVERIFY(bSoundOffAtOnce);
    QVERIFY(heardAfterSwitch.empty());
    // Exactly the one card was played, and no new game was dealt.
    QCOMPARE(static_cast<int>(s.UserHand.size()), nHandBefore - 1);
    QCOMPARE(s.nCardsLeft[3], nHandBefore - 1);
    QCOMPARE(s.nFunds[3], nFundsBefore);
    QVERIFY(s.bUserTurn);
    QVERIFY(!r.w->IsBusy());
    QVERIFY(r.w->MenuItem("mnuFile0")->isEnabled());
    // The close waited for the end of the turn.
    QVERIFY(!r.w->isVisible());
}

void FCorvaneTest::inputDuringTheUsersOwnSoundIsDropped() {
    Rig r;
    r.w->GetGame().StartGame(true);
    GameState& s = r.S();
    QVERIFY(s.bUserCanPlay);
    const int c = s.bSevenHeartsPlayed ? s.UserPlayable.front() : kSevenOfHearts;
    const int nHandBefore = static_cast<int>(s.UserHand.size());
    // The card's own sound is still part of the user's turn: a second click or
    // the pay button pressed meanwhile must not start another action inside it.
    r.sound.bHoldUntilReleased = true;
    int nHintsSeen = 0;
    QTimer watcher;
    watcher.setInterval(1);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (QApplication::activeModalWidget() != nullptr) {
            ++nHintsSeen;
            QApplication::activeModalWidget()->close();
        }
    });
    QTimer::singleShot(10, [&] {
        QVERIFY(s.bUserTurn && r.w->IsBusy());
        QTest::mouseClick(&r.T(), Qt::LeftButton, {}, r.HandPoint(0));
        QTest::mouseClick(&r.T(), Qt::LeftButton, {},
                          r.HandPoint(static_cast<int>(s.UserHand.size()) - 1));
        QTest::mouseClick(r.w->findChild<QPushButton*>("cmdUser"), Qt::LeftButton);
        QTest::keyClick(r.w.get(), Qt::Key_F6);
        r.sound.bReleased = true;
    });
    watcher.start();
    r.ClickCard(c);
    QTest::qWait(30);
    watcher.stop();
    QCOMPARE(nHintsSeen, 0);
    QCOMPARE(static_cast<int>(s.UserHand.size()), nHandBefore - 1);
    QVERIFY(!r.g.bSoundOn); // the switch acts at once
}

void FCorvaneTest::soundsPlayInOrderOffTheWindowThread() {
    Rig r;
    // Held until the window's thread has run a timer: the window keeps working.
    r.sound.bHoldUntilReleased = true;
    QTimer::singleShot(20, [&] { r.sound.bReleased = true; });
    r.w->PlaySoundRes(Sound::PayPot);
    QVERIFY(r.sound.bReleasedWhilePlaying);
    QCOMPARE(r.sound.Threads.size(), 1U);
    QVERIFY(r.sound.Threads[0] != std::this_thread::get_id());
    QVERIFY(!r.w->IsBusy());
    r.sound.bHoldUntilReleased = false;

    r.w->PlaySoundRes(Sound::OtherPlayers);
    r.w->PlaySoundRes(Sound::HighScore);
    QCOMPARE(r.sound.TakePlayed(), (std::vector<int>{103, 104, 111}));
    r.g.bSoundOn = false;
    r.w->PlaySoundRes(Sound::PlayCard);
    QVERIFY(r.sound.TakePlayed().empty());

    // A user's card: its own sound, then the opponents' as they lay theirs.
    r.g.bSoundOn = true;
    r.w->GetGame().StartGame(true);
    r.sound.TakePlayed();
    if (r.S().bUserCanPlay) {
        r.ClickCard(r.S().bSevenHeartsPlayed ? r.S().UserPlayable.front() : kSevenOfHearts);
        const std::vector<int> played = r.sound.TakePlayed();
        QVERIFY(!played.empty());
        QCOMPARE(played.front(), 102);
        QVERIFY(std::all_of(played.begin() + 1, played.end(), [](int n) { return n == 104; }));
    }
}

void FCorvaneTest::soundMenusSwitchAndShowTheOtherItem() {
    Rig r;
    QAction* pOn = r.w->MenuItem("mnuOption0");
    QAction* pOff = r.w->MenuItem("mnuOption1");
    QAction* pAnimalsOn = r.w->MenuItem("mnuAnimals0");
    QAction* pAnimalsOff = r.w->MenuItem("mnuAnimals1");
    QCOMPARE(pOn->text(), QString("Turn Sound &On"));
    QCOMPARE(pOn->shortcut(), QKeySequence(Qt::Key_F5));
    QCOMPARE(pOff->text(), QString("Turn Sound &Off"));
    QCOMPARE(pOff->shortcut(), QKeySequence(Qt::Key_F6));
    QCOMPARE(pAnimalsOn->text(), QString("Turn &Animals On"));
    QCOMPARE(pAnimalsOn->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_A));
    QCOMPARE(pAnimalsOff->text(), QString("Turn A&nimals Off"));
    QCOMPARE(pAnimalsOff->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    QCOMPARE(r.w->MenuItem("mnuFile0")->text(), QString("&New Game"));
    QCOMPARE(r.w->MenuItem("mnuFile1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_X));
    QCOMPARE(r.w->MenuItem("mnuTopTen")->text(), QString("&Top Ten List..."));
    QCOMPARE(r.w->MenuItem("mnuAnim")->shortcut(), QKeySequence(Qt::Key_F7));
    QCOMPARE(r.w->Menu("mnuOptionHdr")->title(), QString("&Options"));

    // Without a settings file both items of each pair stay visible.
    QVERIFY(pOn->isVisible() && pOff->isVisible());
    QVERIFY(pAnimalsOn->isVisible() && pAnimalsOff->isVisible());
    r.g.bSoundOn = true;
    r.g.bAnimals = false;
    r.w->SyncOptionMenus();
    QVERIFY(!pOn->isVisible() && pOff->isVisible());
    QVERIFY(pAnimalsOn->isVisible() && !pAnimalsOff->isVisible());

    // Off: the sound plays first, then the game is silent.
    pOff->trigger();
    QVERIFY(!r.g.bSoundOn);
    QVERIFY(pOn->isVisible() && !pOff->isVisible());
    QCOMPARE(r.sound.TakePlayed(), std::vector<int>{109});
    pAnimalsOn->trigger();
    QVERIFY(r.g.bAnimals);
    QVERIFY(!pAnimalsOn->isVisible() && pAnimalsOff->isVisible());
    QVERIFY(r.sound.TakePlayed().empty()); // animals' sounds obey the sound switch
    // On: the flag first, so its own sound is heard.
    pOn->trigger();
    QVERIFY(r.g.bSoundOn);
    QVERIFY(!pOn->isVisible() && pOff->isVisible());
    pAnimalsOff->trigger();
    QVERIFY(!r.g.bAnimals);
    QCOMPARE(r.sound.TakePlayed(), (std::vector<int>{108, 114}));
}

void FCorvaneTest::hoverOverThePotPlaysItsSound() {
    Rig r;
    r.w->GetGame().StartGame(true);
    QVERIFY(r.S().bUserTurn);
    r.sound.TakePlayed();
    auto moveTo = [&](int x, int y) {
        QTest::mouseMove(&r.T(), r.T().WidgetPoint(QPointF(x, y)));
        QCoreApplication::processEvents();
    };
    moveTo(3000, 3000);
    moveTo(1500, 3000);
    moveTo(1500, 3500);
    QCOMPARE(r.sound.TakePlayed(), std::vector<int>{115});
    r.g.bAnimals = true;
    moveTo(1500, 4400);
    QCOMPARE(r.sound.TakePlayed(), std::vector<int>{112});
    // Moves while it is not the user's turn are not even remembered.
    r.S().bUserTurn = false;
    moveTo(3000, 1000);
    r.S().bUserTurn = true;
    moveTo(1000, 1000);
    // Compared with (1500, 4400): the move crosses the pot's lower edge.
    QCOMPARE(r.sound.TakePlayed(), std::vector<int>{115});
    moveTo(3000, 1000);
    moveTo(1000, 1000);
    QCOMPARE(r.sound.TakePlayed(), std::vector<int>{113});
}

void FCorvaneTest::topTenMenuShowsTheListWithoutHighlight() {
    Rig r;
    r.g.nTopTenPos = 3;
    r.w->MenuItem("mnuTopTen")->trigger();
    QCOMPARE(r.host.TopTenPositions, std::vector<int>{99});
    QCOMPARE(r.host.nDBErrors, 0);
    r.g.bDBError = true;
    r.w->MenuItem("mnuTopTen")->trigger();
    QCOMPARE(r.host.nDBErrors, 1);
}

void FCorvaneTest::animationSpeedDialog() {
    Rig r;
    auto open = [&]() -> FAnimate* {
        r.w->MenuItem("mnuAnim")->trigger();
        return r.w->findChild<FAnimate*>();
    };
    auto bar = [](FAnimate* p) { return p->findChild<QScrollBar*>("scrAnim"); };
    auto button = [](FAnimate* p, const char* s) { return p->findChild<QPushButton*>(s); };

    r.g.lAnimSpeed = 80000;
    FAnimate* pDialog = open();
    QVERIFY(pDialog != nullptr);
    QVERIFY(!pDialog->isModal());
    QCOMPARE(pDialog->windowTitle(), QString("Animation Speed"));
    QCOMPARE(
        pDialog->findChild<QLabel*>("lblAnim0")->text(),
        QString("Use the scollbar below to adjust the speed your opponents cards are played."));
    QCOMPARE(pDialog->findChild<QLabel*>("lblAnim1")->text(), QString("Slowest"));
    QCOMPARE(pDialog->findChild<QLabel*>("lblAnim3")->text(), QString("Normal"));
    QCOMPARE(pDialog->findChild<QLabel*>("lblAnim2")->text(), QString("Fastest"));
    QCOMPARE(pDialog->Value(), 80);
    QCOMPARE(bar(pDialog)->value(), bar(pDialog)->minimum()); // thumb at the left end
    // The arrows move the thumb their way: right towards "Fastest", left back.
    pDialog->SetValue(40);
    const QPoint right(bar(pDialog)->width() - 4, bar(pDialog)->height() / 2);
    const QPoint left(4, bar(pDialog)->height() / 2);
    QTest::mouseClick(bar(pDialog), Qt::LeftButton, {}, right);
    QCOMPARE(pDialog->Value(), 39);
    QTest::mouseClick(bar(pDialog), Qt::LeftButton, {}, left);
    QTest::mouseClick(bar(pDialog), Qt::LeftButton, {}, left);
    QCOMPARE(pDialog->Value(), 41);
    pDialog->SetValue(80);
    // Reset, then closing by the frame, stores nothing.
    QTest::mouseClick(button(pDialog, "cmdAnim0"), Qt::LeftButton);
    QCOMPARE(pDialog->Value(), 40);
    QPointer<FAnimate> pGone = pDialog;
    pDialog->close();
    QTRY_VERIFY(pGone == nullptr);
    QCOMPARE(r.g.lAnimSpeed, 80000);

    // Reset and OK store 40000.
    pDialog = open();
    QTest::mouseClick(button(pDialog, "cmdAnim0"), Qt::LeftButton);
    pGone = pDialog;
    QTest::mouseClick(button(pDialog, "cmdAnim1"), Qt::LeftButton);
    QTRY_VERIFY(pGone == nullptr);
    QCOMPARE(r.g.lAnimSpeed, 40000);

    // Esc and Enter are OK too; out-of-range settings go to the nearer end.
    r.g.lAnimSpeed = 250000;
    pDialog = open();
    QCOMPARE(pDialog->Value(), 80);
    bar(pDialog)->setValue(bar(pDialog)->maximum()); // the right end
    pGone = pDialog;
    QTest::keyClick(pDialog, Qt::Key_Escape);
    QTRY_VERIFY(pGone == nullptr);
    QCOMPARE(r.g.lAnimSpeed, 0);
    r.g.lAnimSpeed = -7000;
    pDialog = open();
    QCOMPARE(pDialog->Value(), 0);
    bar(pDialog)->setValue(bar(pDialog)->minimum()); // the left end
    pGone = pDialog;
    QTest::keyClick(pDialog, Qt::Key_Return);
    QTRY_VERIFY(pGone == nullptr);
    QCOMPARE(r.g.lAnimSpeed, 80000);
}

void FCorvaneTest::hintDialogTexts_data() {
    QTest::addColumn<int>("hint");
    QTest::addColumn<QString>("line0");
    QTest::addColumn<QString>("line1");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("buttonX");
    QTest::newRow("NoCard") << static_cast<int>(Hint::NoCard) << "You do not have any cards"
                            << "to play, so pay the pot!" << 204 << 64;
    QTest::newRow("WrongCard") << static_cast<int>(Hint::WrongCard) << "You cannot play this card!"
                               << "" << 204 << 64;
    QTest::newRow("MustPlay") << static_cast<int>(Hint::MustPlay) << "You MUST play the"
                              << "Seven of Hearts!" << 180 << 48;
    QTest::newRow("CanPlayOne") << static_cast<int>(Hint::CanPlayOne) << "You can play the"
                                << "Six of Hearts!" << 180 << 48;
    QTest::newRow("CanPlayTwo") << static_cast<int>(Hint::CanPlayTwo) << "You have several"
                                << "cards you can play!" << 180 << 48;
}

void FCorvaneTest::hintDialogTexts() {
    QFETCH(int, hint);
    QFETCH(QString, line0);
    QFETCH(QString, line1);
    QFETCH(int, width);
    QFETCH(int, buttonX);
    FMessage dialog(static_cast<Hint>(hint), 22); // the Six of Hearts
    QCOMPARE(dialog.windowTitle(), QString("The Corvane Game"));
    QCOMPARE(dialog.findChild<QLabel*>("lblMessage0")->text(), line0);
    QCOMPARE(dialog.findChild<QLabel*>("lblMessage1")->text(), line1);
    // At least the design width, and room for the whole title in bold beside
    // the frame's icon and buttons; the button keeps its place about the middle.
    QFont bold = QApplication::font();
    bold.setBold(true);
    QVERIFY(dialog.width() >= width);
    QVERIFY(dialog.width() >= QFontMetrics(bold).horizontalAdvance(dialog.windowTitle()) + 100);
    auto* pOk = dialog.findChild<QPushButton*>("cmdMessage");
    QCOMPARE(pOk->x() - (dialog.width() - width) / 2, buttonX);
    QCOMPARE(pOk->text(), QString("&OK"));
    QVERIFY(pOk->isDefault());
    // Esc closes it as OK does.
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
}

void FCorvaneTest::flightLeavesItsTrailUntilCleared() {
    Rig r;
    // The right-hand card is in sight from its first steps, wherever the window stands.
    for (const QPoint at : {QPoint(0, 0), QPoint(300, 100)}) {
        r.w->move(at);
        r.w->FlyCard(2, 27);
        const int x = r.T().Drawings().front().x;
        QVERIFY2(x <= TableView::kTableWidth && x > TableView::kTableWidth - 5 * 15,
                 qPrintable(QString::number(x)));
        r.w->ClearTable();
    }
    r.w->FlyCard(0, 4); // the Two of Clubs from the left
    QCOMPARE(r.T().Drawings().size(), 30U);
    QCOMPARE(r.T().Drawings().back().x, 2160);
    // Timed: a short glide still paints on its way and returns when landed.
    r.g.lAnimSpeed = 10000; // 1.4 ms a step
    int nPaints = 0;
    r.T().onPainted = [&] { ++nPaints; };
    QElapsedTimer clock;
    clock.start();
    r.w->FlyCard(1, 51); // a King falls one step from the top
    r.w->FlyCard(2, 27);
    QVERIFY(clock.elapsed() < 2000);
    QVERIFY(nPaints > 0);
    QCOMPARE(r.T().Drawings().back().x, 5040);
    QCOMPARE(r.T().Drawings().back().y, 1560);
    QVERIFY(!r.w->IsBusy());
    r.w->ClearTable();
    QVERIFY(r.T().Drawings().empty());
    r.T().onPainted = nullptr;
}

void FCorvaneTest::wonGameMovesUpALevel() {
    Rig r;
    r.w->GetGame().StartGame(true);
    for (int i = 0; i < 400 && r.host.nGameOvers == 0; ++i) {
        QVERIFY(r.S().bUserTurn);
        r.PlayOneMove();
    }
    QCOMPARE(r.host.nGameOvers, 1);
    // Yes after a won game: the next level, its table and a fresh game.
    QCOMPARE(r.S().nLevel, 1);
    QCOMPARE(r.T().Background(), 200);
    QVERIFY(r.w->windowTitle().endsWith(" - Level 2 (1st Hand)"));
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QVERIFY(r.S().bUserTurn);
    QCOMPARE(r.S().nHand, 0);
    QVERIFY(r.g.ScoresUser.empty());
    for (int s = 0; s < 4; ++s) {
        QVERIFY(r.S().nFunds[s] == 195);
    }
}

void FCorvaneTest::smallScreenOpensMaximised() {
    MGlobal g;
    ScriptedHost host;
    host.pG = &g;
    RecordingSound sound;
    FakeMessageBoxes msg;
    FCorvane small(g, host, sound, msg);
    small.ShowAtStart(true);
    QTRY_VERIFY(small.isMaximized());
    QVERIFY(small.IsLoaded());
    // File, Exit closes the window, and says so first.
    int nUnloads = 0;
    QObject::connect(&small, &FCorvane::Unloading, [&] { ++nUnloads; });
    small.MenuItem("mnuFile1")->trigger();
    QCOMPARE(nUnloads, 1);
    QVERIFY(!small.isVisible());
}

void FCorvaneTest::keyboardHighlightAndPlay_data() {
    QTest::addColumn<QSize>("tableSize");
    QTest::newRow("1x") << QSize(642, 446);
    QTest::newRow("2x") << QSize(1284, 892);
}

void FCorvaneTest::keyboardHighlightAndPlay() {
    QFETCH(QSize, tableSize);
    Rig r;
    r.w->resize(tableSize.width(), tableSize.height() + r.w->menuBar()->height());
    QTRY_COMPARE(r.T().size(), tableSize);
    r.w->GetGame().StartGame(true);
    GameState& s = r.S();
    KeyboardPlay& keys = r.w->Keyboard();
    const auto key = [&](Qt::Key k) { QTest::keyClick(&r.T(), k); };
    // Above the first card, where its face shows when raised (below the corner
    // index), and the ring's top edge.
    const auto raised = [&] { return Probe(r.T(), s.nHandLeft + 180, kHandTop - 50); };
    const auto ring = [&] {
        return Probe(r.T(), s.nHandLeft + 180, kHandTop - TableView::kHighlightLift);
    };
    QVERIFY(!IsCardWhite(raised()) && !IsRingYellow(ring()));
    QCOMPARE(keys.Index(), -1);

    // The first key shows the highlight on the leftmost card, raised and ringed.
    key(Qt::Key_Right);
    QCOMPARE(keys.Index(), 0);
    QCOMPARE(r.T().HighlightedCard(), s.UserHand[0]);
    QVERIFY(IsCardWhite(raised()));
    QVERIFY(IsRingYellow(ring()));
    key(Qt::Key_Left);
    QCOMPARE(keys.Index(), 0);
    key(Qt::Key_End);
    QCOMPARE(keys.Index(), 12);
    key(Qt::Key_Right);
    QCOMPARE(keys.Index(), 12);
    key(Qt::Key_Home);
    key(Qt::Key_Right);
    QCOMPARE(keys.Index(), 1);
    QVERIFY(!IsCardWhite(raised()));

    // Enter on a card that may not be laid: the click's own hint.
    const int nLegal = s.bSevenHeartsPlayed ? s.UserPlayable.front() : kSevenOfHearts;
    const int i = static_cast<int>(std::find(s.UserHand.begin(), s.UserHand.end(), nLegal) -
                                   s.UserHand.begin());
    const int nWrong = i == 0 ? 1 : 0;
    if (!IsUserCardLegal(s, s.UserHand[nWrong])) {
        HintAnswer answer;
        AnswerNextHint(answer);
        key(Qt::Key_Home);
        for (int k = 0; k < nWrong; ++k) {
            key(Qt::Key_Right);
        }
        key(Qt::Key_Enter);
        QVERIFY(answer.bSeen);
        QCOMPARE(answer.sLine0, QString("You cannot play this card!"));
        QCOMPARE(s.UserHand.size(), 13U);
    }
    // P presses the button: with a card to lay, its hint.
    HintAnswer pay;
    AnswerNextHint(pay);
    key(Qt::Key_P);
    QVERIFY(pay.bSeen);
    QVERIFY(pay.sLine0.startsWith("You "));

    // Space lays the legal card; the highlight stays at its place, on the
    // card that took it.
    key(Qt::Key_Home);
    for (int k = 0; k < i; ++k) {
        key(Qt::Key_Right);
    }
    r.sound.TakePlayed();
    key(Qt::Key_Space);
    QCOMPARE(s.UserHand.size(), 12U);
    QCOMPARE(std::count(s.CardsPlayed.begin(), s.CardsPlayed.end(), nLegal), 1);
    QCOMPARE(r.sound.TakePlayed().front(), 102); // the click's sound
    QCOMPARE(keys.Index(), std::min(i, 11));
    QCOMPARE(r.T().HighlightedCard(), s.UserHand[std::min(i, 11)]);
    QVERIFY(s.bUserTurn);

    // A mouse click hides it, and so does a new deal.
    QTest::mouseClick(&r.T(), Qt::LeftButton, {}, r.T().WidgetPoint(QPointF(4815, 4700)));
    QCOMPARE(keys.Index(), -1);
    QCOMPARE(r.T().HighlightedCard(), -1);
    key(Qt::Key_End);
    r.w->GetGame().StartGame(true);
    QCOMPARE(keys.Index(), -1);
}

void FCorvaneTest::screenReaderNamesAndFocus() {
    Rig r;
    r.w->GetGame().StartGame(true);
    GameState& s = r.S();
    QAccessibleInterface* pTable = QAccessible::queryAccessibleInterface(&r.T());
    QVERIFY(pTable != nullptr);
    QAccessibleInterface* pHand = ChildNamed(pTable, "Your hand");
    QVERIFY(pHand != nullptr);
    QCOMPARE(pHand->role(), QAccessible::List);
    QCOMPARE(pHand->childCount(), 13);
    QCOMPARE(pHand->child(0)->role(), QAccessible::ListItem);
    QCOMPARE(pHand->child(12)->text(QAccessible::Name),
             QString::fromStdString(GetCardName(s.UserHand[12])));
    QVERIFY(pHand->child(3)->rect().intersects(pHand->rect()));
    QVERIFY(pTable->rect().contains(pHand->child(3)->rect()));

    // Rows, seats, the pot, the winnings and the button, in words.
    s.SetCardsPlayed({22, 26, 30, 24});
    s.nFunds[0] = 195;
    s.nCardsLeft[0] = 12;
    s.nPot = 35;
    r.g.nWinnings = 120;
    r.w->SetPlayerName(0, "Ann");
    const int nSeven = 27; // of Spades
    r.w->SetLastCard(0, nSeven);
    for (const char* sName : {"Hearts, Six to Eight", "Clubs, Seven", "Diamonds, not opened",
                              "Ann: $195, 12 cards, last card Seven of Spades", "Pot: $35",
                              "Your total winnings: $120", "Pay the Pot"}) {
        QVERIFY2(ChildNamed(pTable, sName) != nullptr, sName);
    }
    QCOMPARE(ChildNamed(pTable, "Pay the Pot")->role(), QAccessible::Button);

    // Focus follows the highlight, and the news is announced.
    r.T().setFocus();
    QTest::keyClick(&r.T(), Qt::Key_Right);
    QTest::keyClick(&r.T(), Qt::Key_Right);
    const QString sSecond = QString::fromStdString(GetCardName(s.UserHand[1]));
    QCOMPARE(pTable->focusChild()->text(QAccessible::Name), sSecond);
    QCOMPARE(pHand->focusChild()->text(QAccessible::Name), sSecond);
    QVERIFY(pHand->child(1)->state().selected && !pHand->child(0)->state().selected);
    r.w->SetLastCard(1, nSeven);
    QVERIFY(ChildNamed(pTable, "Player Two lays the Seven of Spades.") != nullptr);
    QCOMPARE(pHand->child(1)->text(QAccessible::Description),
             QString("Player Two lays the Seven of Spades."));
    r.w->SetPlayerFill(3, kMarkerMoving);
    QVERIFY(ChildNamed(pTable, s.bUserCanPlay
                                   ? "Your turn."
                                   : "Your turn. No card can be laid: press P to pay the pot.") !=
            nullptr);
    QTest::keyClick(&r.T(), Qt::Key_Home);
    QTest::mouseClick(&r.T(), Qt::LeftButton, {}, r.T().WidgetPoint(QPointF(4815, 4700)));
    QCOMPARE(pHand->focusChild(), nullptr);
}

void FCorvaneTest::viewOptionsChangeTheTable() {
    Rig r;
    r.g.View.bShowPlayable = true;
    r.g.View.bTrails = false;
    r.w->ApplyViewOptions();
    r.w->GetGame().StartGame(true);
    GameState& s = r.S();
    // Exactly the legal cards stand lifted, and only during the user's turn.
    const auto lifted = [&](int c) { return ((r.T().LiftedCards() >> c) & 1U) != 0; };
    const auto bLiftedDuringMove = std::make_shared<bool>(false);
    for (int nMove = 0; nMove < 4; ++nMove) {
        QVERIFY(s.bUserTurn);
        for (const int c : s.UserHand) {
            const bool bLegal = s.bSevenHeartsPlayed
                                    ? std::count(s.UserPlayable.begin(), s.UserPlayable.end(), c)
                                    : c == kSevenOfHearts;
            QCOMPARE(lifted(c), bLegal);
        }
        // On the screen: just above the hand, only the lifted cards change it.
        const QImage shown = r.T().grab().toImage();
        r.g.View.bShowPlayable = false;
        r.w->ApplyViewOptions();
        const QImage flat = r.T().grab().toImage();
        r.g.View.bShowPlayable = true;
        r.w->ApplyViewOptions();
        // A raised card shows above its own strip and the next two.
        const auto raisedAt = [&](int i) {
            return (i >= 0 && lifted(s.UserHand[i])) || (i >= 1 && lifted(s.UserHand[i - 1])) ||
                   (i >= 2 && lifted(s.UserHand[i - 2]));
        };
        for (int i = 0; i < static_cast<int>(s.UserHand.size()); ++i) {
            const QPoint p =
                r.T().WidgetPoint(QPointF(s.nHandLeft + i * s.nCardSpacing + 180, kHandTop - 60));
            QCOMPARE(shown.pixel(p) != flat.pixel(p), raisedAt(i));
        }
        QTimer watcher;
        watcher.setInterval(1);
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            if (r.w->IsBusy() && !s.bUserTurn && r.T().LiftedCards() != 0) {
                *bLiftedDuringMove = true;
            }
        });
        watcher.start();
        r.PlayOneMove();
        watcher.stop();
    }
    QVERIFY(!*bLiftedDuringMove);
    r.g.View.bShowPlayable = false;
    r.w->ApplyViewOptions();
    QCOMPARE(r.T().LiftedCards(), 0U);

    // Without trails only the flying card shows.
    r.w->ClearTable();
    r.w->FlyCard(0, 4);
    QCOMPARE(r.T().Drawings().size(), 1U);
    QCOMPARE(r.T().Drawings().back().x, 2160);

    // The winnings box explains itself while tooltips are on.
    const QPoint at = r.w->findChild<QLabel*>("lblWinnings")->geometry().center();
    const auto tipAt = [&] {
        QHelpEvent help(QEvent::ToolTip, at, r.T().mapToGlobal(at));
        QApplication::sendEvent(&r.T(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    QCOMPARE(tipAt(), QString("Your total winnings"));
    QToolTip::hideText();
    QTRY_VERIFY(!QToolTip::isVisible());
    r.g.View.bTooltips = false;
    r.w->ApplyViewOptions();
    QCOMPARE(tipAt(), QString());
}

void FCorvaneTest::hintMarksALegalCardAndEndsWithTheTurn() {
    Rig r;
    r.w->GetGame().StartGame(true);
    // On to a turn with a real choice.
    while (r.host.nHandOvers == 0 && (!r.S().bSevenHeartsPlayed || r.S().UserPlayable.size() < 2)) {
        r.PlayOneMove();
    }
    QCOMPARE(r.host.nHandOvers, 0);
    const std::int32_t lSeed = r.g.lSeed;
    auto* pHint = r.w->findChild<QLabel*>("lblHint");
    auto* pSearch = r.w->findChild<CoachHint*>();
    QTest::keyClick(r.w.get(), Qt::Key_H);
    QVERIFY(pSearch->IsRunning());
    QTRY_VERIFY(pHint->isVisible());
    QVERIFY(pHint->text().startsWith("Lay the "));
    // The frame stands on a legal card of the hand, at that card's place.
    const QRect mark = r.T().HintMark();
    const auto i = static_cast<std::size_t>((mark.x() - r.S().nHandLeft) / r.S().nCardSpacing);
    QCOMPARE(mark.y(), r.S().nHandTop);
    QVERIFY(i < r.S().UserHand.size());
    QCOMPARE(r.T().HintCard(), r.S().UserHand[i]);
    QVERIFY(std::count(r.S().UserPlayable.begin(), r.S().UserPlayable.end(), r.S().UserHand[i]));
    // The search plays with copies: the opponents' generator has not moved.
    QCOMPARE(r.g.lSeed, lSeed);

    // The user moves while a second search runs: it is dropped with the turn.
    r.w->HintAction()->trigger();
    QVERIFY(pSearch->IsRunning());
    r.PlayOneMove();
    QVERIFY(!pSearch->IsRunning());
    QCoreApplication::sendPostedEvents(pSearch);
    QVERIFY(!pHint->isVisible());
    QVERIFY(r.T().HintMark().isEmpty());
}

QTEST_MAIN(FCorvaneTest)
#include "fcorvane_test.moc"
