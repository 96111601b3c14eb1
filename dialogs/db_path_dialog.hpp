// FDBPath: points the program at another folder holding (or receiving a copy
// of) the game database.
#pragma once

#include "engine/mglobal.hpp"
#include "engine/program_port.hpp"
#include "platform/file_system.hpp"
#include "platform/message_box.hpp"

#include <functional>
#include <string>

#include <QDialog>

class QLabel;

namespace corvane {

class DriveList;
class FileList;
class FolderList;

// The chosen folder as the database folder: blanks trimmed and trailing
// separators removed ("C:\" becomes "C:"). A file-system root that would become
// empty stays the root ("/").
std::string NormaliseNewFolder(const std::string& sFolder);

// The database file in a normalised folder: "/corvane.mdb" for the root,
// folder + separator + "corvane.mdb" otherwise.
std::string DatabaseFileIn(const std::string& sFolder);

class FDBPath final : public QDialog {
public:
    // sAppPath is the program's folder, the source of every copy. showNetwork shows
    // the network-play information (the Help button).
    FDBPath(MGlobal& g, MessageBoxes& msg, FileSystem& files, std::string sAppPath,
            std::function<void()> showNetwork, QWidget* pParent = nullptr);

    // Exit once the database folder was changed; the caller then asks for the
    // user again.
    DialogAnswer Answer() const { return answer_; }

    // Index 0 Update, 1 Cancel, 2 Help.
    void cmdDBPath_Click(int nIndex);
    void cmdCopyDatabase_Click();

protected:
    void showEvent(QShowEvent* pEvent) override;

private:
    void dirDBPath_Change();
    void filDBPath_Click();
    std::string NewFolder() const;
    bool CopyDatabaseTo(const std::string& sTarget, const std::string& sTitle);

    MGlobal& g_;
    MessageBoxes& msg_;
    FileSystem& files_;
    std::string sAppPath_;
    std::function<void()> showNetwork_;
    DialogAnswer answer_ = DialogAnswer::None;

    DriveList* drvDBPath_;
    FolderList* dirDBPath_;
    FileList* filDBPath_;
    QLabel* lblCurrDBPath_;
    QLabel* lblNewDBPath_;
};

} // namespace corvane
