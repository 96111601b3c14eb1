// Test stand-ins for the platform services: a message box that records what it
// was asked and answers from a queue, and a file system held in memory.
#pragma once

#include "file_system.hpp"
#include "message_box.hpp"

#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace corvane {

struct ShownMessage {
    std::string sText;
    std::string sTitle;
    MsgIcon icon = MsgIcon::None;
    bool bYesNo = false;
};

class FakeMessageBoxes final : public MessageBoxes {
public:
    void Show(const std::string& sText, const std::string& sTitle, MsgIcon icon) override;
    // Answers with the next queued answer, or Yes when the queue is empty.
    MsgAnswer AskYesNo(const std::string& sText, const std::string& sTitle, MsgIcon icon) override;
    void Beep() override { ++nBeeps; }

    std::vector<ShownMessage> Shown;
    std::deque<MsgAnswer> Answers;
    int nBeeps = 0;
};

// Files are whole strings keyed by their full name; folders are a set of names.
class FakeFileSystem final : public FileSystem {
public:
    bool FileExists(const std::string& sPath) override;
    bool CopyFile(const std::string& sFrom, const std::string& sTo, std::string& sError) override;
    bool MakeFolder(const std::string& sPath, std::string& sError) override;
    bool ReadFile(const std::string& sPath, std::string& sContents, std::string& sError) override;
    bool WriteFileAtomic(const std::string& sPath, const std::string& sContents,
                         std::string& sError) override;

    std::map<std::string, std::string> Files;
    std::set<std::string> Folders;
    // Names that cannot be written or read, to stand for a locked or read-only file.
    std::set<std::string> Unwritable;
    std::set<std::string> Unreadable;
};

} // namespace corvane
