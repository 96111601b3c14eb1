// Timings of the table window, printed as plain figures: start to first paint,
// the frames painted while cards fly (at the design size and at twice it),
// click to redrawn table, and the processor time the table uses in ten seconds
// of waiting for the user, with sound off and on. Run by hand, never by CTest:
//   fcorvane_bench [--idle-seconds N] [--flight-rounds N] [--screenshots folder]
// With --screenshots it also saves pictures of the table and its two dialogs.
// Set QT_SCALE_FACTOR=2 to measure at a device pixel ratio of 2, and
// QT_QPA_PLATFORM=xcb (with DISPLAY) to paint through a real X server.
#include "engine/cards.hpp"
#include "engine/testing/null_ports.hpp"
#include "platform/fake_platform.hpp"
#include "platform/pulse_sound_output.hpp"
#include "table/fanimate.hpp"
#include "table/fcorvane.hpp"
#include "table/flight_path.hpp"
#include "table/fmessage.hpp"
#include "table/table_resources.hpp"
#include "table/table_view.hpp"

#include <algorithm>
#include <array>
#include <cmath>
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

// Silent while the flights are timed; the real output for the idle figure with sound on.
class BenchSound final : public SoundOutput {
public:
    bool PlayWave(const std::uint8_t* pData, std::size_t nSize) override {
        const bool bPlayed = bReal && real.PlayWave(pData, nSize);
        nPlayed += bPlayed ? 1 : 0;
        return bPlayed;
    }
    PulseSoundOutput real;
    bool bReal = false;
    int nPlayed = 0;
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

// The paints of one flight, in microseconds from its start.
struct Frames {
    QElapsedTimer clock;
    std::vector<qint64> Times;
    void Hook(TableView& table) {
        table.onPainted = [this] { Times.push_back(clock.nsecsElapsed() / 1000); };
    }
};

double Percentile(std::vector<double> values, double fPart) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const auto i = static_cast<std::size_t>(std::ceil(fPart * static_cast<double>(values.size())));
    return values[std::min(values.size(), std::max<std::size_t>(i, 1)) - 1];
}

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

// Flies one card from each side at the default speed, nRounds times, and
// reports the frames painted while the card is in the window (every paint of
// a flight is a step of the card in sight): frames per second over the
// visible part of the flights, and the intervals between painted frames.
void MeasureFlights(FCorvane& w, MGlobal& g, const char* sLabel, int nRounds) {
    g.lAnimSpeed = 80000;
    std::vector<double> Intervals; // ms
    std::size_t nFrames = 0;
    double fVisibleMs = 0.0;
    std::array<double, 3> FirstFrameMs{}; // from the start of the flight, by side
    const int flights[][2] = {{0, 26}, {1, 1}, {2, 27}};
    for (int nRound = 0; nRound < nRounds; ++nRound) {
        for (const auto& f : flights) {
            Frames frames;
            frames.Hook(w.Table());
            frames.clock.start();
            w.FlyCard(f[0], f[1]);
            // The landing step's paint comes after the last step is laid.
            Wait(30);
            w.Table().onPainted = nullptr;
            const std::vector<qint64>& t = frames.Times;
            if (!t.empty()) {
                FirstFrameMs.at(static_cast<std::size_t>(f[0])) +=
                    static_cast<double>(t.front()) / 1000.0 / nRounds;
            }
            for (std::size_t i = 1; i < t.size(); ++i) {
                Intervals.push_back(static_cast<double>(t[i] - t[i - 1]) / 1000.0);
            }
            if (t.size() > 1) {
                nFrames += t.size() - 1;
                fVisibleMs += static_cast<double>(t.back() - t.front()) / 1000.0;
            }
            w.ClearTable();
            Wait(30);
        }
    }
    const double fWorst =
        Intervals.empty() ? 0.0 : *std::max_element(Intervals.begin(), Intervals.end());
    const auto nLate =
        std::count_if(Intervals.begin(), Intervals.end(), [](double fMs) { return fMs > 16.7; });
    std::printf("flights %-8s table %4dx%-4d dpr %.1f: %.1f frames/s in sight (target >= 55); "
                "interval between frames p50 %.1f ms, p99 %.1f ms (target <= 16.7), worst "
                "%.1f ms (target <= 33); %lld of %zu over 16.7 ms\n",
                sLabel, w.Table().width(), w.Table().height(), w.Table().devicePixelRatioF(),
                fVisibleMs > 0 ? 1000.0 * static_cast<double>(nFrames) / fVisibleMs : 0.0,
                Percentile(Intervals, 0.5), Percentile(Intervals, 0.99), fWorst,
                static_cast<long long>(nLate), Intervals.size());
    std::printf("flights %-8s first frame in sight after %.0f ms from the left, %.0f ms from the "
                "top, %.0f ms from the right (one step is %.1f ms)\n",
                sLabel, FirstFrameMs[0], FirstFrameMs[1], FirstFrameMs[2],
                static_cast<double>(FlightStepMicroseconds(g.lAnimSpeed)) / 1000.0);
}

// Processor time of the whole program while the table waits for the user.
void MeasureIdle(int nSeconds, const char* sLabel) {
    const std::clock_t cpuStart = std::clock();
    Wait(nSeconds * 1000);
    const double fCpuMs = 1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    std::printf("processor time in %d s of waiting for the user, %s: %.1f ms\n", nSeconds, sLabel,
                fCpuMs);
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
    int nFlightRounds = 5;
    QString sScreenshot;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--idle-seconds")) {
            nIdleSeconds = args[i + 1].toInt();
        } else if (args[i] == QLatin1String("--flight-rounds")) {
            nFlightRounds = args[i + 1].toInt();
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
    BenchSound sound;
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
    MeasureFlights(w, g, "1x", nFlightRounds);

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
    MeasureFlights(w, g, "2x size", nFlightRounds);
    w.resize(642, 446 + w.menuBar()->height());
    Wait(100);

    // Waiting for the user: no timer should run at all.
    MeasureIdle(nIdleSeconds, "sound off");
    // Sound on, through the real output, after a sound as a turn would play.
    sound.bReal = true;
    w.mnuOption_Click(0);
    MeasureIdle(nIdleSeconds, sound.nPlayed > 0 ? "sound on, a sound played"
                                                : "sound on (no sound server answered)");
    return 0;
}
