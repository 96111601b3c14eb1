// The informational dialogs, the how-to-play panel and the shortcut offer at
// start-up, driven through their controls.
#include "dialogs/copy_icon_dialog.hpp"
#include "fake_shell_files.hpp"
#include "shell/desktop_shortcut.hpp"
#include "shell/help_panel.hpp"
#include "shell/info_dialogs.hpp"
#include "table/table_resources.hpp"
#include "tests/support/qt_test_support.hpp"

#include <fstream>

#include <QCheckBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QtTest>

using namespace corvane;
using namespace corvane::testing;

class ShellTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InitTableResources(); }

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
        std::ifstream copy(JoinPath(sMailOut, "corvane.mdb"));
        QCOMPARE(std::string(std::istreambuf_iterator<char>(copy), {}), std::string("game data"));

        FakeShellFiles files;
        g.sDBPath = "C:\\Corvane";
        FSendScore failing(g, msg, files, "C:\\EMAIL\\OUT");
        Click(failing, "cmdCopyScore");
        QVERIFY(files.Folders.contains("C:\\EMAIL\\OUT"));
        QCOMPARE(msg.Shown.back().sText, std::string("53: File not found"));
        FSendScore nowhere(g, msg, files, "");
        QVERIFY(!Child<QPushButton>(nowhere, "cmdCopyScore")->isEnabled());
    }

    void helpPanelShowsEveryRuleWholeAndHidesOnClose_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("1x") << QSize(641, 449);
        QTest::newRow("2x") << QSize(1282, 898);
    }

    void helpPanelShowsEveryRuleWholeAndHidesOnClose() {
        QFETCH(QSize, size);
        QWidget table;
        table.resize(size);
        auto* pHelp = new HelpPanel(&table);
        pHelp->setGeometry(table.rect()); // laid over the whole table, as the window does
        table.show();
        QVERIFY(!pHelp->isVisible() && pHelp->lblHelp(12) == nullptr);
        pHelp->show();
        pHelp->layout()->activate();
        for (int i = 13; i <= 24; ++i) {
            const QLabel* pLabel = pHelp->lblHelp(i);
            QVERIFY(pLabel != nullptr && !pLabel->text().isEmpty());
            QVERIFY2(pHelp->rect().contains(pLabel->geometry()), qPrintable(pLabel->objectName()));
            QVERIFY2(pLabel->heightForWidth(pLabel->width()) <= pLabel->height(),
                     qPrintable(pLabel->objectName()));
        }
        // Each heading stands over its text, edge to edge; the last two items' names
        // stand left of their texts.
        for (const auto& [nHeading, nText] : {std::pair{21, 20}, {22, 23}, {19, 18}}) {
            QCOMPARE(pHelp->lblHelp(nHeading)->x(), pHelp->lblHelp(nText)->x());
            QCOMPARE(pHelp->lblHelp(nHeading)->geometry().right(),
                     pHelp->lblHelp(nText)->geometry().right());
        }
        QVERIFY(pHelp->lblHelp(16)->x() > pHelp->lblHelp(17)->geometry().right());
        QCOMPARE(pHelp->lblHelp(14)->x(), pHelp->lblHelp(16)->x());
        QCOMPARE(pHelp->lblHelp(15)->x(), pHelp->lblHelp(17)->x());
        QVERIFY(pHelp->lblHelp(21)->font().underline() && !pHelp->lblHelp(24)->font().underline());
        Click(*pHelp, "cmdHelp");
        QVERIFY(!pHelp->isVisible());
    }

    void startUpOfferAnswered_data() {
        QTest::addColumn<bool>("bDontAsk");
        QTest::addColumn<QString>("sButton");
        QTest::addColumn<bool>("bCopied");
        QTest::addColumn<bool>("bCopyLnk");
        QTest::newRow("yes copies") << false << "cmdYesNo0" << true << true;
        QTest::newRow("no with don't ask") << true << "cmdYesNo1" << false << false;
    }

    // The offer shown for real and answered by a click; the next start (after the
    // settings kept bCopyLnk) offers nothing.
    void startUpOfferAnswered() {
        QFETCH(bool, bDontAsk);
        QFETCH(QString, sButton);
        QFETCH(bool, bCopied);
        QFETCH(bool, bCopyLnk);
        FakeShellFiles files;
        files.Folders = {"C:\\WINDOWS\\DESKTOP", "C:\\CORVANE"};
        files.Files["C:\\CORVANE\\CORVANE.LNX"] = "lnk";
        FakeMessageBoxes msg;
        MGlobal g;
        g.bCopyLnk = true;
        const auto showOffer = [&] {
            FCopyIcon dlg(g, [&] { CopyLinkToDeskTop(files, msg, "C:\\Corvane"); });
            WhenModal([&](QDialog& d) {
                Child<QCheckBox>(d, "chkDontAsk")->setChecked(bDontAsk);
                Click(d, qPrintable(sButton));
            });
            dlg.exec();
        };
        for (const bool bOffered : {true, false}) {
            QCOMPARE(DesktopShortcutAtStart(g, true, false, files, msg, "C:\\Corvane", showOffer),
                     bOffered);
            QCOMPARE(files.Files.contains(kDesktopLink), bCopied);
            QCOMPARE(g.bCopyLnk, bCopyLnk);
        }
    }
};

QTEST_MAIN(ShellTest)
#include "shell_test.moc"
