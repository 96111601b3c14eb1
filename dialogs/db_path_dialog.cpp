// The database-folder dialog. The copy always comes from the program's folder;
// the database folder changes only through Update.
#include "db_path_dialog.hpp"

#include "dialog_support.hpp"
#include "folder_lists.hpp"
#include "storage/game_db.hpp"
#include "storage/settings.hpp"

#include <array>

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvane {

namespace {

bool IsSeparator(char c) {
#ifdef _WIN32
    return c == '\\' || c == '/';
#else
    return c == '/';
#endif
}

// The labels show paths in small letters where the file system folds case.
QString Lower(const QString& s) {
    return FileSystemFoldsCase() ? s.toLower() : s;
}

QString Lower(const std::string& s) {
    return Lower(Q(s));
}

} // namespace

std::string NormaliseNewFolder(const std::string& sFolder) {
    std::string s = TrimBlanks(sFolder);
    const bool bHadSeparator = !s.empty() && IsSeparator(s.back());
    while (!s.empty() && IsSeparator(s.back())) {
        s.pop_back();
    }
    // Only the root of a single-rooted file system empties; it stays itself, so
    // that the database file is "/corvane.mdb" and not a name relative to nowhere.
    if (s.empty() && bHadSeparator) {
        // Braces would pick the initializer-list constructor: two characters.
        return std::string(1, kPathSep); // NOLINT(modernize-return-braced-init-list)
    }
    return s;
}

std::string DatabaseFileIn(const std::string& sFolder) {
    if (!sFolder.empty() && IsSeparator(sFolder.back())) {
        return sFolder + "corvane.mdb";
    }
    return DatabaseFileName(sFolder);
}

FDBPath::FDBPath(MGlobal& g, MessageBoxes& msg, FileSystem& files, std::string sAppPath,
                 std::function<void()> showNetwork, QWidget* pParent)
    : QDialog(pParent), g_(g), msg_(msg), files_(files), sAppPath_(std::move(sAppPath)),
      showNetwork_(std::move(showNetwork)), drvDBPath_(new DriveList(this)),
      dirDBPath_(new FolderList(this)), filDBPath_(new FileList(QStringLiteral("*.mdb"), this)),
      lblCurrDBPath_(new QLabel(this)), lblNewDBPath_(new QLabel(this)) {
    setObjectName(QStringLiteral("FDBPath"));
    setWindowTitle(QStringLiteral("Set New Database Path..."));

    drvDBPath_->setObjectName(QStringLiteral("drvDBPath"));
    dirDBPath_->setObjectName(QStringLiteral("dirDBPath"));
    filDBPath_->setObjectName(QStringLiteral("filDBPath"));
    lblCurrDBPath_->setObjectName(QStringLiteral("lblCurrDBPath"));
    lblNewDBPath_->setObjectName(QStringLiteral("lblNewDBPath"));

    auto* pPaths = new QGridLayout;
    auto* pCurrCaption = new QLabel(QStringLiteral("Current DB Path:"), this);
    auto* pNewCaption = new QLabel(QStringLiteral("New DB Path:"), this);
    pPaths->addWidget(pCurrCaption, 0, 0);
    pPaths->addWidget(lblCurrDBPath_, 0, 1);
    pPaths->addWidget(pNewCaption, 1, 0);
    pPaths->addWidget(lblNewDBPath_, 1, 1);

    auto* pLists = new QGridLayout;
    pLists->addWidget(drvDBPath_, 0, 0);
    pLists->addWidget(dirDBPath_, 1, 0);
    pLists->addWidget(filDBPath_, 0, 1, 2, 1);

    auto* pButtons = new QHBoxLayout;
    const std::array captions = {"&Update", "&Cancel", "&Help"};
    for (int i = 0; i < 3; ++i) {
        auto* pButton = new QPushButton(QString::fromLatin1(captions[i]), this);
        pButton->setObjectName(QStringLiteral("cmdDBPath%1").arg(i));
        pButton->setAutoDefault(false);
        connect(pButton, &QPushButton::clicked, this, [this, i] { cmdDBPath_Click(i); });
        pButtons->addWidget(pButton);
    }
    auto* cmdCopyDatabase =
        new QPushButton(QStringLiteral("Copy Corvane.mdb to New DB Path"), this);
    cmdCopyDatabase->setObjectName(QStringLiteral("cmdCopyDatabase"));
    cmdCopyDatabase->setAutoDefault(false);
    connect(cmdCopyDatabase, &QPushButton::clicked, this, [this] { cmdCopyDatabase_Click(); });

    auto* pLayout = new QVBoxLayout(this);
    pLayout->addLayout(pPaths);
    pLayout->addLayout(pLists);
    pLayout->addWidget(cmdCopyDatabase);
    pLayout->addLayout(pButtons);

    // Form_Load
    const QString sAppFolder = Q(sAppPath_);
    drvDBPath_->SetDriveOf(sAppFolder);
    dirDBPath_->OnChange = [this] { dirDBPath_Change(); };
    dirDBPath_->SetPath(sAppFolder);
    drvDBPath_->OnChange = [this] { dirDBPath_->SetPath(drvDBPath_->Drive()); };
    connect(filDBPath_, &QListWidget::itemClicked, this, [this] { filDBPath_Click(); });
    lblCurrDBPath_->setText(Lower(DatabaseFileName(g_.sDBPath)));
}

void FDBPath::showEvent(QShowEvent* pEvent) {
    QDialog::showEvent(pEvent);
    CenterForm(*this);
    // The caller shows the hourglass while the lists are read.
    if (QGuiApplication::overrideCursor() != nullptr) {
        QGuiApplication::restoreOverrideCursor();
    }
}

void FDBPath::dirDBPath_Change() {
    filDBPath_->SetPath(dirDBPath_->Path());
    lblNewDBPath_->setText(Lower(dirDBPath_->Path()));
}

void FDBPath::filDBPath_Click() {
    const QListWidgetItem* pItem = filDBPath_->currentItem();
    if (pItem == nullptr) {
        return;
    }
    const std::string sFolder = filDBPath_->Path().toStdString();
    const std::string sFile = pItem->text().toStdString();
    lblNewDBPath_->setText(Lower(!sFolder.empty() && sFolder.back() == kPathSep
                                     ? sFolder + sFile
                                     : JoinPath(sFolder, sFile)));
}

std::string FDBPath::NewFolder() const {
    return NormaliseNewFolder(dirDBPath_->Path().toStdString());
}

bool FDBPath::CopyDatabaseTo(const std::string& sTarget, const std::string& sTitle) {
    std::string sError;
    if (!files_.CopyFile(DatabaseFileName(sAppPath_), sTarget, sError)) {
        // A failed copy is reported and changes nothing.
        msg_.Show(sError, sTitle, MsgIcon::Exclamation);
        return false;
    }
    filDBPath_->Refresh();
    return true;
}

void FDBPath::cmdDBPath_Click(int nIndex) {
    if (nIndex == 1) {
        reject();
        return;
    }
    if (nIndex == 2) {
        if (showNetwork_) {
            showNetwork_();
        }
        return;
    }
    const std::string sNew = NewFolder();
    if (SamePath(sNew, g_.sDBPath)) {
        msg_.Show(std::string("The current and the new database paths") + kCrLf +
                      "are the SAME!  Nothing to do...",
                  "Same Database Paths", MsgIcon::Exclamation);
        return;
    }
    const std::string sNewFile = DatabaseFileIn(sNew);
    if (!files_.FileExists(sNewFile)) {
        if (msg_.AskYesNo(std::string("Database file not found in directory...") + kCrLf +
                              PathUpperCase(sNew) + kCrLf + kCrLf +
                              "Do you wish to copy corvane.mdb from..." + kCrLf +
                              PathUpperCase(sAppPath_) + "?",
                          "New Database Path", MsgIcon::Question) == MsgAnswer::No) {
            return;
        }
        if (!CopyDatabaseTo(sNewFile, "New Database Path")) {
            return;
        }
    }
    msg_.Show(std::string("Database path has been changed to...") + kCrLf +
                  PathUpperCase(sNewFile) + kCrLf + kCrLf + "Corvane will need to restart!",
              "New Database Path", MsgIcon::Exclamation);
    g_.sDBPath = sNew;
    answer_ = DialogAnswer::Exit;
    accept();
}

void FDBPath::cmdCopyDatabase_Click() {
    const std::string sNewFile = DatabaseFileIn(NewFolder());
    if (files_.FileExists(sNewFile)) {
        msg_.Show(PathUpperCase(sNewFile) + kCrLf + "already exists!", "Copy database file",
                  MsgIcon::Exclamation);
        return;
    }
    CopyDatabaseTo(sNewFile, "Copy database file");
}

} // namespace corvane
