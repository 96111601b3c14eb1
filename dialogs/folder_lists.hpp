// The drive, folder and file lists of the database-folder dialog, read from the
// file system with QDir. Paths go in and out with the platform's separators.
#pragma once

#include <functional>

#include <QComboBox>
#include <QListWidget>
#include <QString>

namespace corvane {

// The drives where the platform has them, the file-system root otherwise.
class DriveList final : public QComboBox {
public:
    explicit DriveList(QWidget* pParent = nullptr);
    // The drive (or root) holding sPath; nothing changes when none does.
    void SetDriveOf(const QString& sPath);
    QString Drive() const;
    std::function<void()> OnChange;
};

// The open folder's ancestors from the root down, then its subfolders, one step
// further in. Activating an entry (double click, Enter) opens that folder.
class FolderList final : public QListWidget {
public:
    explicit FolderList(QWidget* pParent = nullptr);
    void SetPath(const QString& sPath);
    QString Path() const { return sPath_; }
    std::function<void()> OnChange;

private:
    void Fill();
    QString sPath_;
};

// The files of one folder that match a pattern, letters in any case.
class FileList final : public QListWidget {
public:
    explicit FileList(QString sPattern, QWidget* pParent = nullptr);
    void SetPath(const QString& sPath);
    QString Path() const { return sPath_; }
    void Refresh();

private:
    QString sPattern_;
    QString sPath_;
};

} // namespace corvane
