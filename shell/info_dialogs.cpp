// Texts of the informational dialogs, and the score copy.
#include "info_dialogs.hpp"

#include "dialogs/dialog_support.hpp"
#include "storage/game_db.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvane {

InfoDialog::InfoDialog(const QString& sObjectName, const QString& sCaption, const QString& sText,
                       QWidget* pParent)
    : QDialog(pParent), pButtons_(new QHBoxLayout) {
    setObjectName(sObjectName);
    setWindowTitle(sCaption);
    auto* lblInfo = new QLabel(sText, this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    lblInfo->setWordWrap(true);
    lblInfo->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblInfo->setMinimumWidth(380);

    auto* cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    pButtons_->addStretch();
    pButtons_->addWidget(cmdOK);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(lblInfo);
    pLayout->addLayout(pButtons_);
}

void InfoDialog::showEvent(QShowEvent* pEvent) {
    QDialog::showEvent(pEvent);
    CenterForm(*this);
}

void InfoDialog::AddButton(QWidget* pButton) {
    pButtons_->insertWidget(1, pButton);
}

namespace {

QString SendScoreText(const std::string& sFolder) {
    const QString sWhere = sFolder.empty()
                               ? QStringLiteral("(no mail-out folder is known on this computer)")
                               : QString::fromStdString(sFolder);
    return QStringLiteral(
               "Made it into the top ten? Send us your score!\n\n"
               "Press \"Copy Score File\" to put a copy of your game file, corvane.mdb, into "
               "the mail-out folder:\n\n%1\n\n"
               "Then attach that file to an e-mail to the makers of Corvane and tell us your "
               "name. Your game goes on as before; only a copy leaves the computer.")
        .arg(sWhere);
}

} // namespace

FSendScore::FSendScore(const MGlobal& g, MessageBoxes& msg, ShellFiles& files,
                       std::string sMailOutFolder, QWidget* pParent)
    : InfoDialog(QStringLiteral("FSendScore"), QStringLiteral("Send Your Score..."),
                 SendScoreText(sMailOutFolder), pParent),
      g_(g), msg_(msg), files_(files), sMailOutFolder_(std::move(sMailOutFolder)) {
    auto* cmdCopyScore = new QPushButton(QStringLiteral("&Copy Score File"), this);
    cmdCopyScore->setObjectName(QStringLiteral("cmdCopyScore"));
    cmdCopyScore->setAutoDefault(false);
    cmdCopyScore->setEnabled(!sMailOutFolder_.empty());
    connect(cmdCopyScore, &QPushButton::clicked, this, [this] { cmdCopyScore_Click(); });
    AddButton(cmdCopyScore);
}

void FSendScore::cmdCopyScore_Click() {
    FileError err;
    const std::string sTarget = JoinPath(sMailOutFolder_, "corvane.mdb");
    if (!files_.MakeFolderPath(sMailOutFolder_, err) ||
        !files_.CopyReplacing(DatabaseFileName(g_.sDBPath), sTarget, err)) {
        msg_.Show(std::to_string(err.nNumber) + ": " + err.sDescription, "Send Score",
                  MsgIcon::Exclamation);
        return;
    }
    msg_.Show(std::string("Your score file has been copied to...") + kCrLf + sTarget + kCrLf +
                  kCrLf + "Attach it to an e-mail to send your score.",
              "Send Score", MsgIcon::Exclamation);
}

FContact::FContact(QWidget* pParent)
    : InfoDialog(QStringLiteral("FContact"), QStringLiteral("How to Contact Us..."),
                 QStringLiteral("We like to hear from the people who play Corvane.\n\n"
                                "Questions, ideas and reports of anything that went wrong are "
                                "welcome by e-mail to the makers of Corvane. Please tell us "
                                "what you did, what you saw, and the version from the About "
                                "box (2.2)."),
                 pParent) {}

FNetwork::FNetwork(QWidget* pParent)
    : InfoDialog(
          QStringLiteral("FNetwork"), QStringLiteral("Playing on a Network..."),
          QStringLiteral(
              "Several computers can share one list of users and one top ten.\n\n"
              "1. Choose a folder that every computer can reach, for example a shared network "
              "folder.\n"
              "2. On each computer open Options, Database Path..., pick that folder and press "
              "Update. If the folder has no corvane.mdb yet, Corvane offers to copy its own "
              "there first (the first computer does this; the others find the file).\n"
              "3. Corvane restarts the user choice on the shared database.\n\n"
              "Every computer keeps its own settings; only the database is shared. Corvane "
              "opens the file only for a moment at a time, so the computers take turns "
              "without getting in each other's way."),
          pParent) {}

FDistribute::FDistribute(QWidget* pParent)
    : InfoDialog(QStringLiteral("FDistribute"), QStringLiteral("Distributing Corvane..."),
                 QStringLiteral("You are welcome to pass Corvane on to your friends.\n\n"
                                "Please give them the whole program folder as you received "
                                "it, without your own corvane.mdb and corvane.ini: a fresh "
                                "game file and settings are made when the program is "
                                "installed. Corvane may not be sold."),
                 pParent) {}

} // namespace corvane
