// The about box, the informational dialogs, the how-to-play panel and the
// shortcut offer at start-up, driven through their controls.
#include "dialogs/copy_icon_dialog.hpp"
#include "fake_shell_files.hpp"
#include "platform/fake_platform.hpp"
#include "shell/about_dialog.hpp"
#include "shell/desktop_shortcut.hpp"
#include "shell/help_panel.hpp"
#include "shell/info_dialogs.hpp"
#include "storage/game_db.hpp"
#include "table/table_resources.hpp"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace corvane;

namespace {

template <typename T>
T* Child(const QWidget& w, const char* sName) {
    T* p = w.findChild<T*>(QString::fromLatin1(sName));
    if (p == nullptr) {
        qFatal("no control %s", sName);
    }
    return p;
}

void Click(const QWidget& w, const char* sName) {
    Child<QPushButton>(w, sName)->click();
}

} // namespace

class ShellTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InitTableResources(); }
    void aboutBox();
    void infoDialogsCloseWithOk();
    void sendScoreCopiesIntoANewMailOutFolder();
    void sendScoreReportsAFailedCopy();
    void helpPanelShowsTheRulesAndHidesOnClose_data();
    void helpPanelShowsTheRulesAndHidesOnClose();
    void startUpOfferAnsweredNoWithDontAsk();
    void startUpOfferAnsweredYesCopies();
};

void ShellTest::aboutBox() {
    FAbout dlg;
    QCOMPARE(dlg.windowTitle(), QStringLiteral("About Corvane..."));
    QCOMPARE(Child<QLabel>(dlg, "lblAboutTitle")->text(), QStringLiteral("The Game of Corvane"));
    QVERIFY(!Child<QLabel>(dlg, "imgAbout")->pixmap().isNull());
    QCOMPARE(Child<QPushButton>(dlg, "cmdAbout")->text(), QStringLiteral("&OK"));
    QTimer::singleShot(0, &dlg, [&dlg] { Click(dlg, "cmdAbout"); });
    QCOMPARE(dlg.exec(), int(QDialog::Accepted));
}

void ShellTest::infoDialogsCloseWithOk() {
    FContact contact;
    FNetwork network;
    FDistribute distribute;
    QCOMPARE(network.windowTitle(), QStringLiteral("Playing on a Network..."));
    QVERIFY(Child<QLabel>(network, "lblInfo")->text().contains(QStringLiteral("Database Path")));
    for (QDialog* pDlg : std::initializer_list<QDialog*>{&contact, &network, &distribute}) {
        QTimer::singleShot(0, pDlg, [pDlg] { Click(*pDlg, "cmdOK"); });
        QCOMPARE(pDlg->exec(), int(QDialog::Accepted));
    }
}

void ShellTest::sendScoreCopiesIntoANewMailOutFolder() {
    QTemporaryDir tmp;
    const std::string sDB = QDir::toNativeSeparators(tmp.path() + "/db").toStdString();
    QDir(tmp.path()).mkpath(QStringLiteral("db"));
    QFile file(QString::fromStdString(DatabaseFileName(sDB)));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("game data");
    file.close();
    const std::string sMailOut =
        QDir::toNativeSeparators(tmp.path() + "/home/Corvane/mail-out").toStdString();

    MGlobal g;
    g.sDBPath = sDB;
    FakeMessageBoxes msg;
    LocalShellFiles files;
    FSendScore dlg(g, msg, files, sMailOut);
    QVERIFY(Child<QLabel>(dlg, "lblInfo")->text().contains(QString::fromStdString(sMailOut)));
    Click(dlg, "cmdCopyScore");
    QFile copy(QString::fromStdString(JoinPath(sMailOut, "corvane.mdb")));
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), QByteArray("game data"));
    QCOMPARE(msg.Shown.size(), size_t{1});
    QCOMPARE(msg.Shown[0].sTitle, std::string("Send Score"));
    QVERIFY(msg.Shown[0].sText.find(JoinPath(sMailOut, "corvane.mdb")) != std::string::npos);

    // A second copy replaces the first.
    Click(dlg, "cmdCopyScore");
    QCOMPARE(msg.Shown.size(), size_t{2});
    QCOMPARE(msg.Shown[1].sTitle, std::string("Send Score"));
}

void ShellTest::sendScoreReportsAFailedCopy() {
    testing::FakeShellFiles files;
    files.sSystemFolder = "C:\\WINDOWS\\SYSTEM";
    files.AddFolder("C:\\Corvane");
    MGlobal g;
    g.sDBPath = "C:\\Corvane";
    FakeMessageBoxes msg;
    FSendScore dlg(g, msg, files, "C:\\EMAIL\\OUT");
    Click(dlg, "cmdCopyScore");
    QVERIFY(files.HasFolder("C:\\EMAIL\\OUT"));
    QCOMPARE(msg.Shown.size(), size_t{1});
    QCOMPARE(msg.Shown[0].sText, std::string("53: File not found"));

    FSendScore nowhere(g, msg, files, "");
    QVERIFY(!Child<QPushButton>(nowhere, "cmdCopyScore")->isEnabled());
}

void ShellTest::helpPanelShowsTheRulesAndHidesOnClose_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("1x") << QSize(641, 449);
    QTest::newRow("2x") << QSize(1282, 898);
}

void ShellTest::helpPanelShowsTheRulesAndHidesOnClose() {
    QFETCH(QSize, size);
    QWidget table;
    table.resize(size);
    auto* pHelp = new HelpPanel(&table);
    pHelp->setGeometry(table.rect()); // laid over the whole table, as the window does
    table.show();
    QCOMPARE(pHelp->objectName(), QStringLiteral("picHelp"));
    QVERIFY(!pHelp->isVisible());
    for (int i = 13; i <= 24; ++i) {
        QVERIFY(pHelp->lblHelp(i) != nullptr);
        QVERIFY(!pHelp->lblHelp(i)->text().isEmpty());
    }
    QVERIFY(pHelp->lblHelp(12) == nullptr);
    // The rules sheet is kept word for word, spelling and spacing included.
    QVERIFY(Child<QLabel>(*pHelp, "lblHelp23")
                ->text()
                .contains(QStringLiteral("you  pay the pot an addtional $5")));
    QCOMPARE(Child<QLabel>(*pHelp, "lblHelp24")->text(), QStringLiteral("How to Play:"));
    QVERIFY(!Child<QLabel>(*pHelp, "imgHelp")->pixmap().isNull());
    QCOMPARE(Child<QPushButton>(*pHelp, "cmdHelp")->text(), QStringLiteral("&Close"));

    pHelp->show();
    QVERIFY(pHelp->isVisible());
    pHelp->layout()->activate();
    // Every text shows whole inside the panel.
    for (int i = 13; i <= 24; ++i) {
        const QLabel* pLabel = pHelp->lblHelp(i);
        QVERIFY2(pHelp->rect().contains(pLabel->geometry()), qPrintable(pLabel->objectName()));
        QVERIFY2(pLabel->heightForWidth(pLabel->width()) <= pLabel->height(),
                 qPrintable(pLabel->objectName()));
    }
    Click(*pHelp, "cmdHelp");
    QVERIFY(!pHelp->isVisible());
}

namespace {

// A Windows 9x machine on which the offer is due (no shortcut on the desktop).
struct OfferMachine {
    OfferMachine() {
        files.sSystemFolder = "c:\\windows\\system ";
        files.AddFolder("C:\\WINDOWS\\DESKTOP");
        files.AddFolder("C:\\Corvane");
        files.AddFile("C:\\Corvane\\corvane.lnx", "lnk");
        g.bCopyLnk = true;
    }
    // The offer shown for real and answered by a queued click.
    bool Start(bool bDontAsk, const char* sButton) {
        return DesktopShortcutAtStart(
            g, IsWin9xDesktop(files.SystemFolder()), false, files, msg, "C:\\Corvane",
            [this, bDontAsk, sButton] {
                FCopyIcon dlg(g, [this] { CopyLinkToDeskTop(files, msg, "C:\\Corvane"); });
                QTimer::singleShot(0, &dlg, [&dlg, bDontAsk, sButton] {
                    Child<QCheckBox>(dlg, "chkDontAsk")->setChecked(bDontAsk);
                    Click(dlg, sButton);
                });
                dlg.exec();
            });
    }
    testing::FakeShellFiles files;
    FakeMessageBoxes msg;
    MGlobal g;
};

} // namespace

void ShellTest::startUpOfferAnsweredNoWithDontAsk() {
    OfferMachine m;
    QVERIFY(m.Start(true, "cmdYesNo1"));
    QVERIFY(!m.files.Has(kDesktopLink));
    QVERIFY(!m.g.bCopyLnk);
    // The next start (after the settings kept bCopyLnk) offers nothing.
    QVERIFY(!m.Start(false, "cmdYesNo0"));
}

void ShellTest::startUpOfferAnsweredYesCopies() {
    OfferMachine m;
    QVERIFY(m.Start(false, "cmdYesNo0"));
    QCOMPARE(m.files.Contents(kDesktopLink), std::string("lnk"));
    QVERIFY(m.g.bCopyLnk);
    QVERIFY(!m.Start(false, "cmdYesNo0"));
}

QTEST_MAIN(ShellTest)
#include "shell_test.moc"
