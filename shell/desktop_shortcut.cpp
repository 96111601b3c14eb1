// The desktop-shortcut decisions, on top of the platform's file services.
#include "desktop_shortcut.hpp"

#include <cctype>

namespace corvane {

namespace {

std::string TrimUpper(const std::string& s) {
    const auto nFirst = s.find_first_not_of(' ');
    if (nFirst == std::string::npos) {
        return {};
    }
    const auto nLast = s.find_last_not_of(' ');
    std::string out = s.substr(nFirst, nLast - nFirst + 1);
    for (char& c : out) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

} // namespace

bool IsWin9xDesktop(const std::string& sSystemFolder) {
    return TrimUpper(sSystemFolder) == "C:\\WINDOWS\\SYSTEM";
}

std::string ShippedLinkFile(const std::string& sAppPath) {
    // The shortcut always sits in the Windows folder layout, whatever the separator
    // of the machine that runs this code.
    return sAppPath + "\\corvane.lnx";
}

bool DesktopLinkExists(ShellFiles& files) {
    for (const char* sPattern : kDesktopPatterns) {
        bool bFound = false;
        FileError err;
        if (!files.FindFile(sPattern, bFound, err) || bFound) {
            return true;
        }
    }
    return false;
}

void CopyLinkToDeskTop(ShellFiles& files, MessageBoxes& msg, const std::string& sAppPath) {
    bool bFound = false;
    FileError err;
    const std::string sShipped = ShippedLinkFile(sAppPath);
    if (files.FindFile(sShipped, bFound, err)) {
        if (!bFound || files.CopyReplacing(sShipped, kDesktopLink, err)) {
            return;
        }
    }
    msg.Show(std::to_string(err.nNumber) + ": " + err.sDescription, "CopyLinkToDeskTop",
             MsgIcon::Exclamation);
}

bool DesktopShortcutAtStart(const MGlobal& g, bool bWin9xDesktop, bool bFirstRun, ShellFiles& files,
                            MessageBoxes& msg, const std::string& sAppPath,
                            const std::function<void()>& showCopyIcon) {
    if (bFirstRun && bWin9xDesktop && g.bCopyLnk) {
        CopyLinkToDeskTop(files, msg, sAppPath);
    }
    // Searched after the copy, so a first run that copied makes no offer.
    const bool bOffer = bWin9xDesktop && g.bCopyLnk && !DesktopLinkExists(files);
    if (bOffer && showCopyIcon) {
        showCopyIcon();
    }
    return bOffer;
}

std::string StartRecordFile(const std::string& sAppPath) {
    return JoinPath(sAppPath, "corvane.run");
}

bool IsFirstRun(FileSystem& files, const std::string& sAppPath) {
    return !files.FileExists(StartRecordFile(sAppPath));
}

void RecordStart(FileSystem& files, const std::string& sAppPath) {
    std::string sError;
    files.WriteFileAtomic(StartRecordFile(sAppPath), "started\r\n", sError);
}

} // namespace corvane
