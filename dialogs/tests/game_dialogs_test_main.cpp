// Runs every test class of the game dialogs in one offscreen application.
#include "table/table_resources.hpp"

#include <memory>

#include <QApplication>
#include <QtTest>

// Each test file defines its class; one factory per class keeps the classes in
// their own files.
QObject* MakeHandOverTest();
QObject* MakeGameOverTest();
QObject* MakeTopTenTest();
QObject* MakeHighScoreTest();
QObject* MakePlacementTest();

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    corvane::InitTableResources();
    int nFailed = 0;
    for (auto* make : {MakeHandOverTest, MakeGameOverTest, MakeTopTenTest, MakeHighScoreTest,
                       MakePlacementTest}) {
        std::unique_ptr<QObject> test(make());
        nFailed += QTest::qExec(test.get(), argc, argv);
    }
    return nFailed == 0 ? 0 : 1;
}
