// The in-memory stand-ins for tests.
#include "fake_platform.hpp"

namespace corvane {

void FakeMessageBoxes::Show(const std::string& sText, const std::string& sTitle, MsgIcon icon) {
    Shown.push_back({sText, sTitle, icon, false});
}

MsgAnswer FakeMessageBoxes::AskYesNo(const std::string& sText, const std::string& sTitle,
                                     MsgIcon icon) {
    Shown.push_back({sText, sTitle, icon, true});
    if (Answers.empty()) {
        return MsgAnswer::Yes;
    }
    const MsgAnswer answer = Answers.front();
    Answers.pop_front();
    return answer;
}

bool FakeFileSystem::FileExists(const std::string& sPath) {
    return Files.contains(sPath);
}

bool FakeFileSystem::CopyFile(const std::string& sFrom, const std::string& sTo,
                              std::string& sError) {
    const auto it = Files.find(sFrom);
    if (it == Files.end() || Unreadable.contains(sFrom)) {
        sError = "File not found";
        return false;
    }
    if (Files.contains(sTo)) {
        sError = "File already exists";
        return false;
    }
    if (Unwritable.contains(sTo)) {
        sError = "Permission denied";
        return false;
    }
    Files[sTo] = it->second;
    return true;
}

bool FakeFileSystem::MakeFolder(const std::string& sPath, std::string& sError) {
    if (Unwritable.contains(sPath)) {
        sError = "Permission denied";
        return false;
    }
    Folders.insert(sPath);
    return true;
}

bool FakeFileSystem::ReadFile(const std::string& sPath, std::string& sContents,
                              std::string& sError) {
    const auto it = Files.find(sPath);
    if (it == Files.end()) {
        sError = "File not found";
        return false;
    }
    if (Unreadable.contains(sPath)) {
        sError = "Permission denied";
        return false;
    }
    sContents = it->second;
    return true;
}

bool FakeFileSystem::WriteFileAtomic(const std::string& sPath, const std::string& sContents,
                                     std::string& sError) {
    if (Unwritable.contains(sPath)) {
        sError = "Permission denied";
        return false;
    }
    Files[sPath] = sContents;
    return true;
}

} // namespace corvane
