// Drive, folder and file lists built from QDir listings, so that what they show
// is read at once and tests see it without waiting.
#include "folder_lists.hpp"

#include <utility>

#include <QDir>
#include <QFileInfo>

namespace corvane {

namespace {

constexpr int kPathRole = Qt::UserRole;

QString Native(const QString& s) {
    return QDir::toNativeSeparators(s);
}

} // namespace

DriveList::DriveList(QWidget* pParent) : QComboBox(pParent) {
    for (const QFileInfo& drive : QDir::drives()) {
        addItem(Native(drive.absoluteFilePath()));
    }
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (OnChange) {
            OnChange();
        }
    });
}

void DriveList::SetDriveOf(const QString& sPath) {
    const QString sFull = QDir::cleanPath(QDir::fromNativeSeparators(sPath));
    for (int i = 0; i < count(); ++i) {
        const QString sDrive = QDir::fromNativeSeparators(itemText(i));
        if (sFull.startsWith(sDrive, Qt::CaseInsensitive) ||
            sFull.compare(QDir::cleanPath(sDrive), Qt::CaseInsensitive) == 0) {
            setCurrentIndex(i);
            return;
        }
    }
}

QString DriveList::Drive() const {
    return currentText();
}

FolderList::FolderList(QWidget* pParent) : QListWidget(pParent) {
    connect(this, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* pItem) { SetPath(pItem->data(kPathRole).toString()); });
}

void FolderList::SetPath(const QString& sPath) {
    const QString sClean = QDir::cleanPath(QDir::fromNativeSeparators(sPath));
    if (sClean.isEmpty()) {
        return;
    }
    sPath_ = Native(QDir(sClean).absolutePath());
    Fill();
    if (OnChange) {
        OnChange();
    }
}

void FolderList::Fill() {
    clear();
    QDir dir(QDir::fromNativeSeparators(sPath_));
    QStringList chain;
    for (QDir up = dir;;) {
        chain.prepend(up.absolutePath());
        if (up.isRoot() || !up.cdUp()) {
            break;
        }
    }
    qsizetype nDepth = 0;
    for (const QString& sFolder : chain) {
        const QString sName =
            QDir(sFolder).isRoot() ? Native(sFolder) : QFileInfo(sFolder).fileName();
        auto* pItem = new QListWidgetItem(QString(nDepth * 2, QLatin1Char(' ')) + sName, this);
        pItem->setData(kPathRole, Native(sFolder));
        ++nDepth;
    }
    setCurrentRow(count() - 1);
    const QStringList subfolders =
        dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& sName : subfolders) {
        auto* pItem = new QListWidgetItem(QString(nDepth * 2, QLatin1Char(' ')) + sName, this);
        pItem->setData(kPathRole, Native(dir.absoluteFilePath(sName)));
    }
}

FileList::FileList(QString sPattern, QWidget* pParent)
    : QListWidget(pParent), sPattern_(std::move(sPattern)) {}

void FileList::SetPath(const QString& sPath) {
    sPath_ = sPath;
    Refresh();
}

void FileList::Refresh() {
    clear();
    QDir dir(QDir::fromNativeSeparators(sPath_));
    dir.setNameFilters({sPattern_});
    // Without QDir::CaseSensitive the pattern matches letters in any case.
    addItems(dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase));
}

} // namespace corvane
