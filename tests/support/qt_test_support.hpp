// Helpers of the widget tests: finding and pressing a window's controls,
// answering a modal dialog from a timer queued before it opens, and a program
// folder holding a fresh game database with the storage services on it.
#pragma once

#include "engine/mglobal.hpp"
#include "platform/fake_platform.hpp"
#include "platform/file_system.hpp"
#include "storage/game_db.hpp"
#include "tests/support/scratch.hpp"

#include <functional>
#include <string>

// Every widget test drives widgets under QtTest; one place brings both in.
#include <QtTest>
#include <QtWidgets>

namespace corvane::testing {

// The child of that object name; the test program stops when there is none.
template <typename T>
T* Child(const QObject& parent, const QString& sName) {
    T* p = parent.findChild<T*>(sName);
    if (p == nullptr) {
        qFatal("no control %s", qPrintable(sName));
    }
    return p;
}

// The text of the named label or text box.
QString Text(const QWidget& parent, const QString& sName);

// Types over the text of the named text box.
void SetText(const QWidget& parent, const QString& sName, const QString& sText);

// Presses the named button.
void Click(const QWidget& parent, const QString& sName);

// True when the named control, or a part of it such as a combo box's text box,
// holds the window's focus.
bool HasFocus(const QWidget& parent, const QString& sName);

// Shows the window and waits until it is the active one, as a player's is.
bool ShowActive(QWidget& w);

// Runs fn on the modal dialog (of that object name, when one is given) as soon
// as it is up. Call it before the dialog's exec(); it stops looking after about
// five seconds, or when pContext goes away.
void WhenModal(std::function<void(QDialog&)> fn, const QString& sName = {},
               const QObject* pContext = nullptr, int nTriesLeft = 500);

// The program's folder "app" inside a scratch folder, holding a fresh game
// database; recorded message boxes, a fixed clock, and the shared values
// pointing at the folder.
struct ProgramFolder {
    ProgramFolder();
    void RemoveDatabase() const;

    TempDir dir;
    std::string sApp;
    FixedClock clock;
    FakeMessageBoxes msg;
    LocalFileSystem files;
    StorageEnv env;
    MGlobal g;
};

} // namespace corvane::testing
