// The view options' file: a few "key=value" lines, read leniently.
#include "view_settings.hpp"

#include "storage/settings.hpp"

#include <array>
#include <sstream>

namespace corvane {
namespace {

struct Entry {
    const char* sKey;
    bool ViewOptions::*pFlag;
};

constexpr std::array<Entry, 5> kEntries{{
    {"fourcolour", &ViewOptions::bFourColour},
    {"largeindex", &ViewOptions::bLargeIndices},
    {"playable", &ViewOptions::bShowPlayable},
    {"trails", &ViewOptions::bTrails},
    {"tooltips", &ViewOptions::bTooltips},
}};

} // namespace

std::string ViewFileName(const std::string& sAppPath) {
    return JoinPath(sAppPath, "corvane-view.ini");
}

std::string ViewText(const ViewOptions& view) {
    std::string s = "[View]\r\n";
    for (const Entry& e : kEntries) {
        s += std::string(e.sKey) + "=" + (view.*e.pFlag ? "TRUE" : "FALSE") + "\r\n";
    }
    return s;
}

ViewOptions ParseViewText(const std::string& sText) {
    ViewOptions view;
    std::istringstream in(sText);
    std::string sLine;
    while (std::getline(in, sLine)) {
        const std::size_t nEq = sLine.find('=');
        if (nEq == std::string::npos) {
            continue;
        }
        const std::string sKey = TrimBlanks(sLine.substr(0, nEq));
        std::string sValue = sLine.substr(nEq + 1);
        if (!sValue.empty() && sValue.back() == '\r') {
            sValue.pop_back();
        }
        sValue = UpperCase(TrimBlanks(sValue));
        for (const Entry& e : kEntries) {
            if (sKey == e.sKey && (sValue == "TRUE" || sValue == "FALSE")) {
                view.*e.pFlag = sValue == "TRUE";
            }
        }
    }
    return view;
}

ViewOptions LoadViewOptions(const std::string& sAppPath, FileSystem& files) {
    const std::string sFile = ViewFileName(sAppPath);
    std::string sText;
    std::string sError;
    if (!files.FileExists(sFile) || !files.ReadFile(sFile, sText, sError)) {
        return {};
    }
    return ParseViewText(sText);
}

bool SaveViewOptions(const ViewOptions& view, const std::string& sAppPath, FileSystem& files) {
    std::string sError;
    return files.WriteFileAtomic(ViewFileName(sAppPath), ViewText(view), sError);
}

} // namespace corvane
