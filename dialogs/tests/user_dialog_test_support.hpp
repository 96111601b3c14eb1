// What the dialog tests share: a program folder with a fresh database in a
// scratch folder, recorded message boxes, a fixed clock and a recording stand-in
// for the main window.
#pragma once

#include "dialogs/user_display.hpp"
#include "platform/fake_platform.hpp"
#include "storage/game_db.hpp"
#include "storage/schema.hpp"
#include "storage/settings.hpp"

#include <array>
#include <string>

#include <QDir>
#include <QTemporaryDir>

namespace corvane::testing {

class FixedClock final : public Clock {
public:
    std::uint32_t TickCount() override { return 0; }
    Date Now() override { return Date{std::chrono::seconds{1'700'000'000}}; }
};

class RecordingDisplay final : public UserDisplay {
public:
    void ShowPlayerNames(const std::string& sLeft, const std::string& sTop,
                         const std::string& sRight, const std::string& sUser) override {
        Plates = {sLeft, sTop, sRight, sUser};
        ++nPlateCalls;
    }
    void SetStatsCaption(const std::string& sCaption) override { sStatsCaption = sCaption; }
    void ShowWinnings(const std::string& sText) override { sWinnings = sText; }

    std::array<std::string, 4> Plates;
    int nPlateCalls = 0;
    std::string sStatsCaption;
    std::string sWinnings;
};

// A program folder "app" holding a fresh corvane.mdb, the database folder set to it.
struct World {
    World() : env(msg, files, clock, Sub("app")) {
        g.sDBPath = env.sAppPath;
        CreateFreshDatabase(DatabaseFileName(env.sAppPath));
    }

    std::string Sub(const std::string& sName) const {
        QDir(tmp.path()).mkpath(QString::fromStdString(sName));
        return QDir::toNativeSeparators(tmp.path() + QLatin1Char('/') +
                                        QString::fromStdString(sName))
            .toStdString();
    }

    // Adds a user row the way the user dialog writes one.
    void AddUser(std::int32_t nId, const std::string& sName, const std::string& sLevel = "Easy",
                 std::int16_t nGames = 0, std::int32_t nWinnings = 0) {
        MGlobal w;
        w.sDBPath = g.sDBPath;
        w.nUserID = nId;
        w.sUserName = sName;
        const std::string sBase = TrimBlanks(sName);
        w.sLeftName = sBase + "-L";
        w.sTopName = sBase + "-T";
        w.sRightName = sBase + "-R";
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

    QTemporaryDir tmp;
    FakeMessageBoxes msg;
    LocalFileSystem files;
    FixedClock clock;
    StorageEnv env;
    MGlobal g;
    RecordingDisplay display;
};

} // namespace corvane::testing
