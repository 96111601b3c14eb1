// The table window driven as the user drives it: clicks on the cards at their
// places under the current scale, the keyboard, the hints answered by OK, the
// sounds heard through a recording player, the menus and the speed dialog.
// The deal is fixed by a clock that always reads the same tick.
#include "engine/cards.hpp"
#include "engine/testing/null_ports.hpp"
#include "table/coach_hint.hpp"
#include "table/fanimate.hpp"
#include "table/fcorvane.hpp"
#include "table/fmessage.hpp"
#include "table/keyboard_play.hpp"
#include "table/sound_names.hpp"
#include "table/table_view.hpp"
#include "tests/support/qt_test_support.hpp"

#include <atomic>
#include <mutex>
#include <thread>

using namespace corvane;
using testing::Child;
using testing::Click;
using testing::Text;

namespace {

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
    void ShowTopTen() override { TopTenPositions.push_back(pG->nTopTenPos); }
    void HandleDBError() override { ++nDBErrors; }

    MGlobal* pG = nullptr;
    int nHandOvers = 0;
    int nGameOvers = 0;
    int nDBErrors = 0;
    std::vector<int> TopTenPositions;
};

// Records which sound resource each wave is, and can hold a sound until the
// window's own thread has done something.
class RecordingSound final : public SoundOutput {
public:
    RecordingSound() {
        for (const int n : kSoundResources) {
            waves_.insert(SoundWave(n), n);
        }
    }

    bool PlayWave(const std::uint8_t* pData, std::size_t nSize) override {
        const int nResource = waves_.value(
            QByteArray(reinterpret_cast<const char*>(pData), static_cast<qsizetype>(nSize)));
        // A blocked window thread would never release us: give up after a while.
        for (int i = 0; bHoldUntilReleased && i < 400 && !bReleased; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        std::lock_guard<std::mutex> lock(m);
        Played.push_back(nResource);
        return true;
    }

    std::vector<int> TakePlayed() {
        std::lock_guard<std::mutex> lock(m);
        return std::exchange(Played, {});
    }

    std::mutex m;
    std::vector<int> Played;
    std::atomic<bool> bHoldUntilReleased{false};
    std::atomic<bool> bReleased{false};

private:
    QHash<QByteArray, int> waves_;
};

struct Rig {
    Rig() {
        g.sUserName = "Tester";
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

    GameState& S() const { return w->GetGame().State(); }
    GameState& Deal() const {
        w->GetGame().StartGame(true);
        return S();
    }
    TableView& T() const { return w->Table(); }

    void Resize(QSize table) const {
        w->resize(table.width(), table.height() + w->menuBar()->height());
        QTRY_COMPARE(T().size(), table);
    }

    bool IsLegal(int c) const {
        return S().bSevenHeartsPlayed ? std::ranges::count(S().UserPlayable, c) == 1
                                      : c == kSevenOfHearts;
    }
    int FirstLegal() const {
        return S().bSevenHeartsPlayed ? S().UserPlayable.front() : kSevenOfHearts;
    }
    int IndexOf(int c) const {
        return static_cast<int>(std::ranges::find(S().UserHand, c) - S().UserHand.begin());
    }

    // A widget point inside card i of the user's hand.
    QPoint HandPoint(int i) const {
        const int nOffset = i == static_cast<int>(S().UserHand.size()) - 1 ? 535 : 180;
        return T().WidgetPoint(
            QPointF(S().nHandLeft + i * S().nCardSpacing + nOffset, S().nHandTop + 700));
    }
    void ClickAt(QPoint p) const { QTest::mouseClick(&T(), Qt::LeftButton, {}, p); }
    void ClickCard(int nCard) const { ClickAt(HandPoint(IndexOf(nCard))); }
    void ClickPay() const { QTest::mouseClick(Child<QPushButton>(*w, "cmdUser"), Qt::LeftButton); }
    void Key(Qt::Key k) const { QTest::keyClick(&T(), k); }

    // The user's move as a player makes it: the first legal card, or the
    // pay-the-pot button when there is none.
    void PlayOneMove() const { S().bUserCanPlay ? ClickCard(FirstLegal()) : ClickPay(); }

    MGlobal g;
    ScriptedHost host;
    RecordingSound sound;
    FakeMessageBoxes msg;
    testing::FixedClock clock{Date(std::chrono::seconds(1'800'000'000)), 424242};
    std::unique_ptr<FCorvane> w;
};

// The two lines of a hint dialog.
QStringList Lines(const QDialog& dialog) {
    return {Text(dialog, "lblMessage0"), Text(dialog, "lblMessage1")};
}
QStringList Lines(Hint hint, int nCard = kSevenOfHearts) {
    return Lines(FMessage(hint, nCard));
}

// The lines of the hint that fn brings up, answered with its OK button.
QStringList HintAfter(const std::function<void()>& fn) {
    QStringList shown;
    testing::WhenModal(
        [&shown](QDialog& dialog) {
            shown = Lines(dialog);
            Click(dialog, "cmdMessage");
        },
        QStringLiteral("FMessage"));
    fn();
    return shown;
}

// Every millisecond while it lives: closes any modal dialog and counts it (a
// hint where none belongs), then runs onTick.
struct ModalCounter {
    explicit ModalCounter(std::function<void()> fn = {}) : onTick(std::move(fn)) {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (QWidget* pModal = QApplication::activeModalWidget()) {
                ++n;
                pModal->close();
            }
            if (onTick) {
                onTick();
            }
        });
        timer.start(1);
    }
    std::function<void()> onTick;
    QTimer timer;
    int n = 0;
};

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
        // A reader walks the tree both ways: a child's index leads back to it.
        if (pParent->child(i)->text(QAccessible::Name) == sName &&
            pParent->indexOfChild(pParent->child(i)) == i) {
            return pParent->child(i);
        }
    }
    return nullptr;
}

void AddScales() {
    QTest::addColumn<QSize>("tableSize");
    QTest::newRow("1x") << QSize(642, 446);
    QTest::newRow("2x") << QSize(1284, 892);
}

} // namespace

class FCorvaneTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InitTableResources(); }
    void transformKeepsAspectAndCentres() {
        Rig r;
        // It opens at one pixel for 15 twips.
        QCOMPARE(r.T().WidgetPoint(QPointF(9630, 6690)), QPoint(642, 446));
        auto* pAmt = Child<QLabel>(*r.w, "lblAmt0");
        const QRect amt = pAmt->geometry();
        const int nFont = pAmt->font().pixelSize();
        r.Resize(QSize(1000, 446));
        // Wider than the table: the height decides and the sides are letterboxed.
        QCOMPARE(r.T().WidgetPoint(QPointF(0, 0)), QPoint(179, 0));
        QCOMPARE(r.T().WidgetPoint(QPointF(9630, 6690)), QPoint(821, 446));
        // The panels move and grow with the table.
        r.Resize(QSize(1284, 892));
        QCOMPARE(pAmt->geometry(), QRect(amt.topLeft() * 2, amt.size() * 2));
        QCOMPARE(pAmt->font().pixelSize(), nFont * 2);
        // Its box keeps a one-pixel black line round a white ground.
        const QImage box = pAmt->grab().toImage();
        const QPoint corner(box.width() - 1, box.height() - 1);
        QVERIFY(box.pixelColor(0, 0) == Qt::black && box.pixelColor(corner) == Qt::black);
        QVERIFY(box.pixelColor(1, 1) == Qt::white &&
                box.pixelColor(corner - QPoint(1, 1)) == Qt::white);
    }

    void tableSurfaceShownPixelForPixel_data() {
        AddScales();
        QTest::newRow("letterboxed") << QSize(900, 500);
    }

    void tableSurfaceShownPixelForPixel() {
        // Down the empty middle of the table, the whole height, the picture
        // shows exactly where the table lies.
        QFETCH(QSize, tableSize);
        Rig r;
        r.Resize(tableSize);
        const QRect table = r.T().WidgetRect(QRectF(0, 0, 9630, 6690));
        const QImage shown = r.T().grab().toImage();
        const qreal dpr = shown.devicePixelRatio(); // 2 where the suite runs at twice the scale
        const QImage surface =
            PictureImage(PictureRole::Background, r.T().Background(), table.size(), dpr);
        int nDiffer = 0;
        for (int y = 0; y < table.height(); ++y) {
            for (int x = table.width() / 4; x < table.width() * 3 / 4; x += 7) {
                nDiffer += shown.pixel((table.topLeft() + QPoint(x, y)) * dpr) !=
                           surface.pixel(QPoint(x, y) * dpr);
            }
        }
        QCOMPARE(nDiffer, 0);
    }

    void seededHandPlayedByClicks_data() {
        AddScales();
        QTest::newRow("letterboxed") << QSize(900, 500);
    }

    void seededHandPlayedByClicks() {
        QFETCH(QSize, tableSize);
        Rig r;
        r.Resize(tableSize);
        GameState& s = r.Deal();
        for (int nActions = 0; r.host.nHandOvers == 0; ++nActions) {
            QVERIFY(nActions < 200 && s.bUserTurn);
            const int nFunds = s.nFunds[3];
            const int c = s.bUserCanPlay ? r.FirstLegal() : -1;
            r.sound.TakePlayed();
            r.PlayOneMove();
            if (r.host.nHandOvers != 0) {
                break;
            }
            // The user's own sound, then the opponents' as they lay theirs.
            const std::vector<int> heard = r.sound.TakePlayed();
            QVERIFY(!heard.empty() && heard.front() == (c >= 0 ? 102 : 103));
            QVERIFY(nActions > 0 ||
                    std::all_of(heard.begin() + 1, heard.end(), [](int n) { return n == 104; }));
            if (c >= 0) {
                QCOMPARE(Text(*r.w, "lblCardNo3"), QString::fromStdString(GetCardLabel(c)));
                const auto* pSuit = Child<QLabel>(*r.w, "imgSuit3");
                QCOMPARE(pSuit->pixmap().toImage(),
                         Picture(PictureRole::SuitIcon, 100 + Suit(c), pSuit->size(),
                                 r.T().devicePixelRatioF())
                             .toImage());
            } else {
                QVERIFY(s.nFunds[3] < nFunds && Child<QLabel>(*r.w, "imgSad3")->isVisible());
            }
            // The panels show what the game holds.
            for (int nSeat = 0; nSeat < 4; ++nSeat) {
                QCOMPARE(Text(*r.w, QString("lblAmt%1").arg(nSeat)),
                         QString::number(s.nFunds[nSeat]));
                QCOMPARE(Text(*r.w, QString("lblCardsLeft%1").arg(nSeat)),
                         QString::number(s.nCardsLeft[nSeat]));
            }
            QCOMPARE(Text(*r.w, "lblPot"), QString("$%1").arg(s.nPot));
            QCOMPARE(r.T().PlayerFill(3), 0x00FFFFU);
            if (nActions == 0) {
                const auto white = [&](int x, int y) { return IsCardWhite(Probe(r.T(), x, y)); };
                // The strip of the Seven of Hearts that the Six leaves in sight.
                QVERIFY(white(6480 + 900, 1560 + 130));
                // Between the rows and the hand there is only the table.
                QVERIFY(!white(4815, 4800));
                // The Seven of Clubs' place is white exactly when it is on the table.
                QCOMPARE(white(2160 + 900, 1560 + 130), std::ranges::count(s.CardsPlayed, 24) == 1);
                // The lower left corner of the first card of the hand; left of it no card.
                QVERIFY(white(s.nHandLeft + 250, kHandTop + 1330));
                QVERIFY(!white(s.nHandLeft - 200, kHandTop + 700));
            }
        }
        // The next hand is dealt and waits for the user, with the pause timer stopped.
        QVERIFY(s.bUserTurn && !Child<QTimer>(*r.w, "tmrCount")->isActive());
        // The deal just ended can be played again now.
        QVERIFY(r.w->MenuItem("mnuReplay")->isEnabled());
    }

    void wrongCardAndPayButtonGiveHints() {
        Rig r;
        GameState& s = r.Deal();
        QCOMPARE(Rig().Deal().UserHand, s.UserHand); // the window deals by the clock it was given
        const int nWrong = *std::ranges::find_if(s.UserHand, [&](int c) { return !r.IsLegal(c); });
        r.sound.TakePlayed();

        QCOMPARE(HintAfter([&] { r.ClickCard(nWrong); }),
                 Lines(s.bUserCanPlay ? Hint::WrongCard : Hint::NoCard));
        QCOMPARE(r.sound.TakePlayed(), std::vector<int>{101});

        if (s.bUserCanPlay) {
            // The button with a card to lay names it, or says there are several.
            const Hint hint = !s.bSevenHeartsPlayed         ? Hint::MustPlay
                              : s.UserPlayable.size() == 1U ? Hint::CanPlayOne
                                                            : Hint::CanPlayTwo;
            QCOMPARE(HintAfter([&] { r.ClickPay(); }), Lines(hint, r.FirstLegal()));
        }
        {
            // A double click is one click: one hint, not two. Its events are press,
            // release, double click, release.
            ModalCounter hints;
            const QPoint p = r.HandPoint(r.IndexOf(nWrong));
            r.ClickAt(p);
            QMouseEvent dbl(QEvent::MouseButtonDblClick, p, r.T().mapToGlobal(p), Qt::LeftButton,
                            Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&r.T(), &dbl);
            QTest::mouseRelease(&r.T(), Qt::LeftButton, {}, p);
            QTest::qWait(20);
            QCOMPARE(hints.n, 1);
        }
        r.sound.TakePlayed();
        // A click beside the hand does nothing, not even a hint.
        r.ClickAt(r.T().WidgetPoint(QPointF(s.nHandLeft - 100, kHandTop + 700)));
        QVERIFY(r.sound.TakePlayed().empty());
    }

    void menusWorkWhileTheOpponentsMove() {
        Rig r;
        GameState& s = r.Deal();
        QVERIFY(s.bUserCanPlay);
        const int c = r.FirstLegal();
        const int nHandBefore = static_cast<int>(s.UserHand.size());
        const int nFundsBefore = s.nFunds[3];

        // While an opponent's pause runs, click another card,
        // press the button, use the keyboard's card and button, ask for a new game
        // by its shortcut and its menu item, open a menu, turn the sound off and
        // close the window.
        bool bInjected = false;
        bool bNewGameDisabled = false;
        bool bMenuOpened = false;
        bool bSoundOffAtOnce = false;
        ModalCounter hints([&] {
            if (bInjected || s.bUserTurn || !Child<QTimer>(*r.w, "tmrCount")->isActive()) {
                return;
            }
            bInjected = true;
            r.ClickAt(r.HandPoint(s.UserHand.front() == c ? nHandBefore - 1 : 0));
            r.ClickPay();
            for (const Qt::Key k : {Qt::Key_End, Qt::Key_Return, Qt::Key_P}) {
                r.Key(k);
            }
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
        r.ClickCard(c);
        const std::vector<int> heardAfterSwitch = r.sound.TakePlayed();
        QTest::qWait(30); // anything queued or held acts now
        hints.timer.stop();

        QVERIFY(bInjected && bMenuOpened && bNewGameDisabled && bSoundOffAtOnce);
        QVERIFY(hints.n == 0 && heardAfterSwitch.empty());
        // Exactly the one card was played, and no new game was dealt.
        QCOMPARE(s.nCardsLeft[3], nHandBefore - 1);
        QCOMPARE(s.nFunds[3], nFundsBefore);
        // The close waited for the end of the turn.
        QVERIFY(s.bUserTurn && !r.w->IsBusy() && r.w->MenuItem("mnuFile0")->isEnabled() &&
                !r.w->isVisible());
    }

    void inputDuringTheUsersOwnSoundIsDropped() {
        Rig r;
        GameState& s = r.Deal();
        QVERIFY(s.bUserCanPlay);
        const int nHandBefore = static_cast<int>(s.UserHand.size());
        // The card's own sound is still part of the user's turn: a second click or
        // the pay button pressed meanwhile must not start another action inside it.
        r.sound.bHoldUntilReleased = true;
        ModalCounter hints;
        QTimer::singleShot(10, [&] {
            QVERIFY(s.bUserTurn && r.w->IsBusy());
            r.ClickAt(r.HandPoint(0));
            r.ClickAt(r.HandPoint(static_cast<int>(s.UserHand.size()) - 1));
            r.ClickPay();
            QTest::keyClick(r.w.get(), Qt::Key_F6);
            r.sound.bReleased = true;
        });
        r.ClickCard(r.FirstLegal());
        QTest::qWait(30);
        QCOMPARE(hints.n, 0);
        QCOMPARE(static_cast<int>(s.UserHand.size()), nHandBefore - 1);
        QVERIFY(!r.g.bSoundOn); // the switch acts at once
    }

    void menusSwitchSoundAndOpenTheTopTen() {
        Rig r;
        QAction* pOn = r.w->MenuItem("mnuOption0");
        QAction* pOff = r.w->MenuItem("mnuOption1");
        QAction* pAnimalsOn = r.w->MenuItem("mnuAnimals0");
        QAction* pAnimalsOff = r.w->MenuItem("mnuAnimals1");
        // Which of each pair is in sight: on, off, animals on, animals off.
        const auto shown = [&] {
            return std::vector<bool>{pOn->isVisible(), pOff->isVisible(), pAnimalsOn->isVisible(),
                                     pAnimalsOff->isVisible()};
        };
        r.g.bSoundOn = true;
        r.g.bAnimals = false;
        r.w->SyncOptionMenus();
        QCOMPARE(shown(), (std::vector<bool>{false, true, true, false}));

        // Off: the sound plays first, then the game is silent.
        pOff->trigger();
        QCOMPARE(r.sound.TakePlayed(), std::vector<int>{109});
        pAnimalsOn->trigger();
        QVERIFY(r.g.bAnimals);
        QCOMPARE(shown(), (std::vector<bool>{true, false, false, true}));
        QVERIFY(r.sound.TakePlayed().empty()); // animals' sounds obey the sound switch
        // On: the flag first, so its own sound is heard.
        pOn->trigger();
        pAnimalsOff->trigger();
        QCOMPARE(shown(), (std::vector<bool>{false, true, true, false}));
        QCOMPARE(r.sound.TakePlayed(), (std::vector<int>{108, 114}));

        // The top ten opens without a highlighted place, or reports a database error.
        r.g.nTopTenPos = 3;
        r.w->MenuItem("mnuTopTen")->trigger();
        r.g.bDBError = true;
        r.w->MenuItem("mnuTopTen")->trigger();
        QCOMPARE(r.host.TopTenPositions.front(), 99);
        QCOMPARE(r.host.nDBErrors, 1);
    }

    void hoverOverThePotPlaysItsSound() {
        Rig r;
        r.Deal();
        r.sound.TakePlayed();
        // What the mouse's moves through these points in twips play.
        const auto heard = [&](std::initializer_list<QPoint> path) {
            for (const QPoint p : path) {
                QTest::mouseMove(&r.T(), r.T().WidgetPoint(p));
                QCoreApplication::processEvents();
            }
            return r.sound.TakePlayed();
        };
        QCOMPARE(heard({{3000, 3000}, {1500, 3000}, {1500, 3500}}), std::vector<int>{115});
        r.g.bAnimals = true;
        QCOMPARE(heard({{1500, 4400}}), std::vector<int>{112});
        // Moves while it is not the user's turn are not even remembered: the next
        // one, compared with (1500, 4400), crosses the pot's lower edge.
        r.S().bUserTurn = false;
        heard({{3000, 1000}});
        r.S().bUserTurn = true;
        QCOMPARE(heard({{1000, 1000}}), std::vector<int>{115});
        QCOMPARE(heard({{3000, 1000}, {1000, 1000}, {7000, 1000}, {8000, 1000}}),
                 (std::vector<int>{113, 114}));
    }

    void animationSpeedDialog() {
        Rig r;
        QPointer<FAnimate> pDialog;
        QScrollBar* pBar = nullptr;
        const auto open = [&](std::int32_t lSpeed, int nShown) {
            r.g.lAnimSpeed = lSpeed;
            r.w->MenuItem("mnuAnim")->trigger();
            pDialog = r.w->findChild<FAnimate*>();
            QVERIFY(pDialog != nullptr && !pDialog->isModal());
            pBar = Child<QScrollBar>(*pDialog, "scrAnim");
            QCOMPARE(pDialog->Value(), nShown);
        };
        const auto closedWith = [&](std::int32_t lSpeed) {
            QTRY_VERIFY(pDialog == nullptr);
            QCOMPARE(r.g.lAnimSpeed, lSpeed);
        };

        open(80000, 80);
        // The arrows move the thumb their way: right towards the fastest, left back.
        pDialog->SetValue(40);
        for (const auto& [x, nValue] : {std::pair{pBar->width() - 4, 39}, {4, 40}, {4, 41}}) {
            QTest::mouseClick(pBar, Qt::LeftButton, {}, QPoint(x, pBar->height() / 2));
            QCOMPARE(pDialog->Value(), nValue);
        }
        // Reset, then closing by the frame, stores nothing; reset and OK store the middle.
        pDialog->SetValue(80);
        Click(*pDialog, "cmdAnim0");
        QCOMPARE(pDialog->Value(), 40);
        pDialog->close();
        closedWith(80000);
        open(80000, 80);
        Click(*pDialog, "cmdAnim0");
        Click(*pDialog, "cmdAnim1");
        closedWith(40000);
        // Esc and Enter are OK too; out-of-range settings go to the nearer end.
        open(250000, 80);
        pBar->setValue(pBar->maximum());
        QTest::keyClick(pDialog, Qt::Key_Escape);
        closedWith(0);
        open(-7000, 0);
        pBar->setValue(pBar->minimum());
        QTest::keyClick(pDialog, Qt::Key_Return);
        closedWith(80000);
    }

    void hintDialogsSayTheirOwnAndFitTheirTitle() {
        // Each hint says its own thing; the one naming a card names the card given.
        QSet<QString> texts;
        for (const Hint hint : {Hint::NoCard, Hint::WrongCard, Hint::MustPlay, Hint::CanPlayTwo}) {
            texts.insert(Lines(hint).join('|'));
        }
        FMessage dialog(Hint::CanPlayOne, 22);
        texts.insert(Lines(dialog).join('|'));
        QCOMPARE(texts.size(), 5);
        QVERIFY(Lines(dialog).join(' ').contains("Six of Hearts"));
        // Room for the whole title in bold beside the frame's icon and buttons,
        // and the button about the middle.
        QFont bold = QApplication::font();
        bold.setBold(true);
        QVERIFY(dialog.width() >= QFontMetrics(bold).horizontalAdvance(dialog.windowTitle()) + 100);
        auto* pOk = Child<QPushButton>(dialog, "cmdMessage");
        QVERIFY(std::abs(pOk->geometry().center().x() - dialog.width() / 2) <= 4);
        QVERIFY(pOk->isDefault());
        // Esc closes it as OK does.
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
    }

    void flightLeavesItsTrailUntilCleared() {
        Rig r;
        // The right-hand card starts at the table's edge, in sight from its first step.
        r.w->FlyCard(2, 27);
        QCOMPARE(r.T().Drawings().front().x, TableView::kTableWidth);
        r.w->ClearTable();
        r.w->FlyCard(0, 4); // the Two of Clubs from the left
        QCOMPARE(r.T().Drawings().size(), 30U);
        // Timed: a short glide still paints on its way and returns when landed.
        r.g.lAnimSpeed = 10000; // 1.4 ms a step
        int nPaints = 0;
        r.T().onPainted = [&] { ++nPaints; };
        r.w->FlyCard(1, 51); // a King falls one step from the top
        r.w->FlyCard(2, 27);
        r.T().onPainted = nullptr;
        QVERIFY(nPaints > 0);
        QCOMPARE(QPoint(r.T().Drawings().back().x, r.T().Drawings().back().y), QPoint(5040, 1560));
        QVERIFY(!r.w->IsBusy());
        r.w->ClearTable();
        QVERIFY(r.T().Drawings().empty());
    }

    void smallScreenWonGameMovesUpALevelAndExitCloses() {
        Rig r;
        r.w->ShowAtStart(true); // a small screen: maximised
        QTRY_VERIFY(r.w->isMaximized());
        r.w->GetGame().StartGame(true);
        for (int i = 0; i < 400 && r.host.nGameOvers == 0; ++i) {
            QVERIFY(r.S().bUserTurn);
            r.PlayOneMove();
        }
        QCOMPARE(r.host.nGameOvers, 1);
        // Yes after a won game: the next level, its table and a fresh game.
        QCOMPARE(r.T().Background(), 200);
        QVERIFY(r.w->windowTitle().endsWith(" - Level 2 (1st Hand)"));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QVERIFY(r.S().bUserTurn && r.g.ScoresUser.empty());
        // File, Exit closes the window, and says so first.
        int nUnloads = 0;
        QObject::connect(r.w.get(), &FCorvane::Unloading, [&] { ++nUnloads; });
        r.w->MenuItem("mnuFile1")->trigger();
        QCOMPARE(nUnloads, 1);
        QVERIFY(!r.w->isVisible());
    }

    void hintMarksALegalCardAndEndsWithTheTurn() {
        Rig r;
        GameState& s = r.Deal();
        // On to a turn with a real choice.
        while (r.host.nHandOvers == 0 && (!s.bSevenHeartsPlayed || s.UserPlayable.size() < 2)) {
            r.PlayOneMove();
        }
        QCOMPARE(r.host.nHandOvers, 0);
        const std::int32_t lSeed = r.g.lSeed;
        auto* pHint = Child<QLabel>(*r.w, "lblHint");
        auto* pSearch = r.w->findChild<CoachHint*>();
        QTest::keyClick(r.w.get(), Qt::Key_H);
        QVERIFY(pSearch->IsRunning());
        QTRY_VERIFY(pHint->isVisible());
        QVERIFY(pHint->text().startsWith("Lay the "));
        // The frame stands on a legal card of the hand, at that card's place.
        const QRect mark = r.T().HintMark();
        const auto i = static_cast<std::size_t>((mark.x() - s.nHandLeft) / s.nCardSpacing);
        QCOMPARE(mark.y(), s.nHandTop);
        QVERIFY(i < s.UserHand.size());
        QCOMPARE(r.T().HintCard(), s.UserHand[i]);
        QVERIFY(r.IsLegal(s.UserHand[i]));
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

    void keyboardHighlightAndPlay_data() { AddScales(); }
    void keyboardHighlightAndPlay() {
        QFETCH(QSize, tableSize);
        Rig r;
        r.Resize(tableSize);
        GameState& s = r.Deal();
        KeyboardPlay& keys = r.w->Keyboard();
        // Above the first card, where its face shows when raised (below the corner
        // index), and the ring's top edge.
        const auto raised = [&] {
            return IsCardWhite(Probe(r.T(), s.nHandLeft + 180, kHandTop - 50));
        };
        const auto ring = [&] {
            return IsRingYellow(
                Probe(r.T(), s.nHandLeft + 180, kHandTop - TableView::kHighlightLift));
        };
        const auto at = [&] { return std::pair(keys.Index(), r.T().HighlightedCard()); };
        QVERIFY(!raised() && !ring());
        QCOMPARE(at(), std::pair(-1, -1));

        // The first key shows the highlight on the leftmost card, raised and ringed.
        r.Key(Qt::Key_Right);
        QCOMPARE(at(), std::pair(0, s.UserHand[0]));
        QVERIFY(raised() && ring());
        // Then each key moves it, stopping at the ends.
        for (const auto& [key, nIndex] : {std::pair{Qt::Key_Left, 0},
                                          {Qt::Key_End, 12},
                                          {Qt::Key_Right, 12},
                                          {Qt::Key_Home, 0},
                                          {Qt::Key_Right, 1}}) {
            r.Key(key);
            QCOMPARE(keys.Index(), nIndex);
        }
        QVERIFY(!raised());

        // Enter on a card that may not be laid: the click's own hint; P presses
        // the button, which with a card to lay gives its hint.
        const auto highlight = [&](int i) {
            r.Key(Qt::Key_Home);
            for (int k = 0; k < i; ++k) {
                r.Key(Qt::Key_Right);
            }
        };
        const int nLegal = r.FirstLegal();
        const int i = r.IndexOf(nLegal);
        const int nWrong = i == 0 ? 1 : 0;
        if (!r.IsLegal(s.UserHand[nWrong])) {
            highlight(nWrong);
            QCOMPARE(HintAfter([&] { r.Key(Qt::Key_Enter); }), Lines(Hint::WrongCard));
        }
        QVERIFY(HintAfter([&] { r.Key(Qt::Key_P); }).value(0).startsWith("You "));

        // Space lays the legal card; the highlight stays at its place, on the
        // card that took it.
        highlight(i);
        r.Key(Qt::Key_Space);
        QCOMPARE(std::ranges::count(s.CardsPlayed, nLegal), 1);
        QCOMPARE(at(), std::pair(std::min(i, 11), s.UserHand[std::min(i, 11)]));
        QVERIFY(s.bUserTurn);

        // A mouse click hides it, and so does a new deal.
        r.ClickAt(r.T().WidgetPoint(QPointF(4815, 4700)));
        QCOMPARE(at(), std::pair(-1, -1));
        r.Key(Qt::Key_End);
        r.w->GetGame().StartGame(true);
        QCOMPARE(keys.Index(), -1);
    }

    void screenReaderNamesAndFocus() {
        Rig r;
        GameState& s = r.Deal();
        QAccessibleInterface* pTable = QAccessible::queryAccessibleInterface(&r.T());
        QAccessibleInterface* pHand = ChildNamed(pTable, "Your hand");
        QVERIFY(pHand != nullptr && pHand->role() == QAccessible::List &&
                pHand->childCount() == 13 && pHand->child(0)->role() == QAccessible::ListItem &&
                pHand->window() == r.w->windowHandle());
        QCOMPARE(pHand->child(12)->text(QAccessible::Name),
                 QString::fromStdString(GetCardName(s.UserHand[12])));
        QVERIFY(pHand->child(3)->rect().intersects(pHand->rect()));
        QCOMPARE(pHand->rect().right(), pHand->child(12)->rect().right());
        QVERIFY(pTable->rect().contains(pHand->child(3)->rect()));

        // Rows, seats, the pot, the winnings and the button, in words.
        s.SetCardsPlayed({22, 26, 30, 24});
        s.nFunds[0] = 195;
        s.nCardsLeft[0] = 12;
        s.nPot = 35;
        r.g.nWinnings = 120;
        const int nSeven = 27; // of Spades
        r.w->SetLastCard(0, nSeven);
        for (const char* sName :
             {"Hearts, Six to Eight", "Clubs, Seven", "Diamonds, not opened", "Spades, not opened",
              "Pot: $35", "Your total winnings: $120", "Pay the Pot"}) {
            QVERIFY2(ChildNamed(pTable, sName) != nullptr, sName);
        }
        // A seat is named from the start as its panel names it.
        QVERIFY(ChildNamed(pTable, Text(*r.w, "lblPlayer0") +
                                       ": $195, 12 cards, last card Seven of Spades") != nullptr);

        // Focus follows the highlight, and the news is announced.
        r.T().setFocus();
        r.Key(Qt::Key_Right);
        r.Key(Qt::Key_Right);
        const QString sSecond = QString::fromStdString(GetCardName(s.UserHand[1]));
        QCOMPARE(pTable->focusChild()->text(QAccessible::Name), sSecond);
        QCOMPARE(pHand->focusChild()->text(QAccessible::Name), sSecond);
        QVERIFY(pHand->child(1)->state().selected && !pHand->child(0)->state().selected);
        r.w->SetPlayerName(1, "Ann");
        r.w->SetLastCard(1, nSeven);
        const QAccessibleInterface* pNews = ChildNamed(pTable, "Ann lays the Seven of Spades.");
        QVERIFY(pNews != nullptr && pNews->state().readOnly);
        QCOMPARE(pHand->child(1)->text(QAccessible::Description),
                 QString("Ann lays the Seven of Spades."));
        r.w->SetPlayerFill(3, kMarkerMoving);
        QVERIFY(
            ChildNamed(pTable, s.bUserCanPlay
                                   ? "Your turn."
                                   : "Your turn. No card can be laid: press P to pay the pot.") !=
            nullptr);
        r.Key(Qt::Key_Home);
        r.ClickAt(r.T().WidgetPoint(QPointF(4815, 4700)));
        QCOMPARE(pHand->focusChild(), nullptr);
    }

    void viewOptionsChangeTheTable() {
        Rig r;
        r.g.View.bShowPlayable = true;
        r.g.View.bTrails = false;
        r.w->ApplyViewOptions();
        GameState& s = r.Deal();
        // Exactly the legal cards stand lifted, and only during the user's turn.
        const auto lifted = [&](int c) { return ((r.T().LiftedCards() >> c) & 1U) != 0; };
        bool bLiftedDuringMove = false;
        bool bRaisedPressed = false;
        for (int nMove = 0; nMove < 4; ++nMove) {
            QVERIFY(s.bUserTurn);
            for (const int c : s.UserHand) {
                QCOMPARE(lifted(c), r.IsLegal(c));
            }
            const ModalCounter watcher([&] {
                bLiftedDuringMove |= r.w->IsBusy() && !s.bUserTurn && r.T().LiftedCards() != 0;
            });
            // A press on the raised part of a lifted card lays it, even above the
            // strip of the next card when that one lies flat.
            const auto it = std::find_if(s.UserHand.begin(), s.UserHand.end(), lifted);
            if (bRaisedPressed || it == s.UserHand.end()) {
                r.PlayOneMove();
                continue;
            }
            bRaisedPressed = true;
            const int nCard = *it;
            const auto i = static_cast<int>(it - s.UserHand.begin());
            const bool bNextLifted = it + 1 != s.UserHand.end() && lifted(*(it + 1));
            r.ClickAt(r.T().WidgetPoint(QPointF(
                s.nHandLeft + i * s.nCardSpacing + (bNextLifted ? 180 : 500), kHandTop - 60)));
            QVERIFY(InMask(s.nTableMask, nCard));
        }
        QVERIFY(!bLiftedDuringMove && bRaisedPressed);
        // The marks reach past the cards' boxes, so setting them paints the table
        // again even when they stay as they were.
        int nPaints = 0;
        r.T().onPainted = [&] { ++nPaints; };
        for (int i = 0; i < 2; ++i) {
            nPaints = 0;
            r.T().SetHandMarks(1, -1);
            QTRY_VERIFY(nPaints > 0);
        }
        r.T().onPainted = nullptr;
        r.g.View.bShowPlayable = false;
        r.w->ApplyViewOptions();
        QCOMPARE(r.T().LiftedCards(), 0U);

        // Without trails only the flying card shows.
        r.w->ClearTable();
        r.w->FlyCard(0, 4);
        QCOMPARE(r.T().Drawings().size(), 1U);
        QCOMPARE(r.T().Drawings().back().x, 2160);

        // The winnings box explains itself while tooltips are on.
        const QPoint at = Child<QLabel>(*r.w, "lblWinnings")->geometry().center();
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

        // A seat's last-card club turns green with the four-colour deck.
        r.w->SetLastCard(0, 4 * 5);
        r.w->SetLastCard(1, 4 * 5);
        const auto centre = [&] {
            const QImage suit = Child<QLabel>(*r.w, "imgSuit0")->pixmap().toImage();
            const QColor c = suit.pixelColor(suit.width() / 2, suit.height() / 2);
            return c.alpha() > 200 && c.green() > c.red() + 60 && c.green() > c.blue() + 60;
        };
        QVERIFY(!centre());
        r.g.View.bFourColour = true;
        r.w->ApplyViewOptions();
        QVERIFY(centre());
    }
};

QTEST_MAIN(FCorvaneTest)
#include "fcorvane_test.moc"
