// Timings of the table window, printed as plain figures: start to first paint,
// the longest gap between frames while cards fly (at the design size and at
// twice it), click to redrawn table, and the processor time an idle table uses
// in ten seconds of waiting for the user. Run by hand, never by CTest:
//   fcorvane_bench [--idle-seconds N] [--screenshots folder]
// With --screenshots it also saves pictures of the table and its two dialogs.
// Set QT_SCALE_FACTOR=2 to measure at a device pixel ratio of 2.
#include "engine/cards.hpp"
#include "engine/testing/null_ports.hpp"
#include "platform/fake_platform.hpp"
#include "table/fanimate.hpp"
#include "table/fcorvane.hpp"
#include "table/fmessage.hpp"
#include "table/table_resources.hpp"
#include "table/table_view.hpp"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMenuBar>
#include <QTimer>
#include <QtTest>

using namespace corvane;

namespace {

class QuietHost final : public testing::NullProgramPort {
public:
    DialogAnswer ShowGameOver() override { return DialogAnswer::Yes; }
};

class NoSound final : public SoundOutput {
public:
    bool PlayWave(const std::uint8_t*, std::size_t) override { return false; }
};

class FixedClock final : public Clock {
public:
    std::uint32_t TickCount() override { return 424242; }
    Date Now() override { return Date(std::chrono::seconds(1'800'000'000)); }
};

void Wait(int nMs) {
    QEventLoop loop;
    QTimer::singleShot(nMs, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Frames {
    QElapsedTimer clock;
    std::vector<qint64> Times; // microseconds
    void Hook(TableView& table) {
        table.onPainted = [this] { Times.push_back(clock.nsecsElapsed() / 1000); };
    }
    // Gaps above one frame of a 60 Hz screen.
    std::size_t LongGaps() const {
        std::size_t n = 0;
        for (std::size_t i = 1; i < Times.size(); ++i) {
            n += Times[i] - Times[i - 1] > 16'700 ? 1 : 0;
        }
        return n;
    }
    double LongestGapMs() const {
        qint64 nLongest = 0;
        for (std::size_t i = 1; i < Times.size(); ++i) {
            nLongest = std::max(nLongest, Times[i] - Times[i - 1]);
        }
        return static_cast<double>(nLongest) / 1000.0;
    }
};

// How long a paint of the whole table takes with a hand on it.
void MeasureFullRepaint(FCorvane& w, const char* sLabel) {
    QElapsedTimer clock;
    clock.start();
    constexpr int kRepaints = 50;
    for (int i = 0; i < kRepaints; ++i) {
        w.Table().repaint();
    }
    std::printf("whole-table repaint %-10s: %.2f ms\n", sLabel,
                static_cast<double>(clock.nsecsElapsed()) / 1e6 / kRepaints);
}

// Flies one card from each side at the default speed and reports the frames.
void MeasureFlights(FCorvane& w, MGlobal& g, const char* sLabel) {
    g.lAnimSpeed = 80000;
    Frames frames;
    double fLongest = 0;
    std::size_t nFrames = 0;
    std::size_t nLong = 0;
    qint64 nTotalUs = 0;
    const int flights[][2] = {{0, 26}, {1, 1}, {2, 27}};
    for (const auto& f : flights) {
        frames.Times.clear();
        frames.Hook(w.Table());
        frames.clock.start();
        w.FlyCard(f[0], f[1]);
        nTotalUs += frames.clock.nsecsElapsed() / 1000;
        Wait(20);
        fLongest = std::max(fLongest, frames.LongestGapMs());
        nFrames += frames.Times.size();
        nLong += frames.LongGaps();
        w.ClearTable();
        Wait(20);
    }
    w.Table().onPainted = nullptr;
    std::printf("flights %-10s table %4dx%-4d dpr %.1f: %zu frames in %.0f ms, longest gap "
                "%.1f ms, %zu gaps over 16.7 ms\n",
                sLabel, w.Table().width(), w.Table().height(), w.Table().devicePixelRatioF(),
                nFrames, static_cast<double>(nTotalUs) / 1000.0, fLongest, nLong);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QElapsedTimer start;
    start.start();
    QApplication app(argc, argv);
    int nIdleSeconds = 10;
    QString sScreenshot;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--idle-seconds")) {
            nIdleSeconds = args[i + 1].toInt();
        } else if (args[i] == QLatin1String("--screenshots")) {
            sScreenshot = args[i + 1];
        }
    }
    InitTableResources();
    const qint64 nAppUs = start.nsecsElapsed() / 1000;

    MGlobal g;
    g.sUserName = "Bench";
    g.sLeftName = "Lefty";
    g.sTopName = "Topper";
    g.sRightName = "Righty";
    g.lSeed = 12345;
    g.bSoundOn = false;
    QuietHost host;
    NoSound sound;
    FakeMessageBoxes msg;
    FixedClock clock;

    // Start to first paint.
    FCorvane w(g, host, sound, msg, &clock);
    const qint64 nWindowUs = start.nsecsElapsed() / 1000;
    bool bPainted = false;
    qint64 nFirstPaintUs = 0;
    w.Table().onPainted = [&] {
        if (!bPainted) {
            bPainted = true;
            nFirstPaintUs = start.nsecsElapsed() / 1000;
        }
    };
    w.show();
    while (!bPainted) {
        Wait(1);
    }
    std::printf("start to first paint: %.1f ms (application %.1f ms, window built %.1f ms)\n",
                static_cast<double>(nFirstPaintUs) / 1000.0, static_cast<double>(nAppUs) / 1000.0,
                static_cast<double>(nWindowUs) / 1000.0);
    w.Table().onPainted = nullptr;

    // A hand under way, so the flights cross a full table.
    g.lAnimSpeed = 0;
    w.GetGame().StartGame(true);
    Wait(50);
    MeasureFullRepaint(w, "1x");
    MeasureFlights(w, g, "1x");

    // Click to redrawn table: the first paint after a legal card is clicked.
    {
        g.lAnimSpeed = 0;
        w.GetGame().StartGame(true);
        Wait(50);
        GameState& s = w.GetGame().State();
        const int c = s.bSevenHeartsPlayed ? s.UserPlayable.front() : kSevenOfHearts;
        const auto i = std::find(s.UserHand.begin(), s.UserHand.end(), c) - s.UserHand.begin();
        const int n = static_cast<int>(s.UserHand.size());
        const QPoint p = w.Table().WidgetPoint(
            QPointF(s.nHandLeft + static_cast<int>(i) * 360 + (i == n - 1 ? 535 : 180), 5800));
        QElapsedTimer click;
        qint64 nRedrawUs = -1;
        w.Table().onPainted = [&] {
            if (nRedrawUs < 0) {
                nRedrawUs = click.nsecsElapsed() / 1000;
            }
        };
        click.start();
        QTest::mouseClick(&w.Table(), Qt::LeftButton, {}, p);
        const qint64 nTurnUs = click.nsecsElapsed() / 1000;
        w.Table().onPainted = nullptr;
        std::printf("click to redrawn table: %.1f ms (whole round back to the user, with "
                    "three pauses: %.0f ms)\n",
                    static_cast<double>(nRedrawUs) / 1000.0, static_cast<double>(nTurnUs) / 1000.0);
    }

    if (!sScreenshot.isEmpty()) {
        w.Table().grab().save(sScreenshot + "/table.png");
        FMessage hint(Hint::CanPlayOne, 22, &w);
        hint.grab().save(sScreenshot + "/fmessage.png");
        g.lAnimSpeed = 80000;
        FAnimate speed(g, &w);
        speed.grab().save(sScreenshot + "/fanimate.png");
        w.resize(1000, 520 + w.menuBar()->height());
        Wait(100);
        w.Table().grab().save(sScreenshot + "/table-wide.png");
    }

    w.resize(1284, 892 + w.menuBar()->height());
    Wait(100);
    MeasureFullRepaint(w, "2x size");
    MeasureFlights(w, g, "2x size");
    w.resize(642, 446 + w.menuBar()->height());
    Wait(100);

    // Waiting for the user: no timer should run at all.
    const std::clock_t cpuStart = std::clock();
    Wait(nIdleSeconds * 1000);
    const double fCpuMs = 1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    std::printf("processor time in %d s of waiting for the user: %.1f ms\n", nIdleSeconds, fCpuMs);
    return 0;
}
