// Shared pieces of the dialog tests: a scratch folder with a fresh game
// database, a fixed clock, a sound recorder, and driving of modal dialogs.
#pragma once

#include "dialogs/game_dialog_support.hpp"
#include "engine/clock.hpp"
#include "engine/mglobal.hpp"
#include "platform/fake_platform.hpp"
#include "platform/file_system.hpp"
#include "storage/game_db.hpp"
#include "storage/schema.hpp"
#include "storage/tests/test_support.hpp"

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace corvane::testing {

// A program folder holding a fresh database, the storage services on it, and
// the shared values pointing at it.
struct GameDatabase {
    GameDatabase()
        : sApp(dir.Sub("app")), clock(MakeDate(2026, 12, 6, 10)), env(msg, files, clock, sApp) {
        CreateFreshDatabase(DatabaseFileName(sApp));
        g.sDBPath = sApp;
    }
    void RemoveDatabase() const { std::filesystem::remove(DatabaseFileName(sApp)); }

    TempDir dir;
    std::string sApp;
    FixedClock clock;
    FakeMessageBoxes msg;
    LocalFileSystem files;
    StorageEnv env;
    MGlobal g;
};

// Records the sounds asked for. A sound may hold the caller for a while with
// events still running, as the real player does while it waits for the end.
struct SoundLog {
    std::vector<Sound> Played;
    int nLengthMs = 0;

    // Lets events run until a sound was asked for; the caller checks what came.
    void WaitForFirst() {
        (void)QTest::qWaitFor([this] { return !Played.empty(); }, 3000);
    }

    // Lets another tick of a half-second timer pass, to hear whether it plays again.
    static void WaitPastNextTick() { QTest::qWait(600); }

    SoundPlayer Player() {
        return [this](Sound sound) {
            Played.push_back(sound);
            if (nLengthMs > 0) {
                QTest::qWait(nLengthMs);
            }
        };
    }
};

// Runs fn on the modal dialog as soon as it is up; stops looking after about
// three seconds.
inline void WhenModal(std::function<void(QDialog&)> fn, int nTriesLeft = 300) {
    QTimer::singleShot(10, [fn = std::move(fn), nTriesLeft]() mutable {
        if (auto* pDialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            fn(*pDialog);
        } else if (nTriesLeft > 0) {
            WhenModal(std::move(fn), nTriesLeft - 1);
        }
    });
}

inline void Click(QWidget& dialog, const char* sButton) {
    auto* pButton = dialog.findChild<QPushButton*>(QString::fromLatin1(sButton));
    QVERIFY2(pButton != nullptr, sButton);
    pButton->click();
}

} // namespace corvane::testing
