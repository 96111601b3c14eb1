// The settings file reader and writer. QSettings would quote, re-order and
// case-fold what this file's readers depend on, so the few rules are kept here.
#include "settings.hpp"

#include <cmath>
#include <cstdlib>
#include <vector>

namespace corvane {

namespace {

constexpr const char* kCrLfText = "\r\n";
constexpr std::size_t kKeyLength = 7;

// Splits at CR LF; a lone CR or a lone LF also ends a line, so a file edited on
// another system still reads. A final line without an ending counts.
std::vector<std::string_view> SplitLines(std::string_view sText) {
    std::vector<std::string_view> lines;
    std::size_t nStart = 0;
    std::size_t i = 0;
    while (i < sText.size()) {
        const char c = sText[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(sText.substr(nStart, i - nStart));
            if (c == '\r' && i + 1 < sText.size() && sText[i + 1] == '\n') {
                ++i;
            }
            nStart = i + 1;
        }
        ++i;
    }
    if (nStart < sText.size()) {
        lines.push_back(sText.substr(nStart));
    }
    return lines;
}

std::string_view KeyOf(std::string_view sLine) {
    return sLine.substr(0, kKeyLength);
}

std::string ValueOf(std::string_view sLine) {
    const std::size_t nEq = sLine.find('=');
    return TrimBlanks(nEq == std::string_view::npos ? sLine : sLine.substr(nEq + 1));
}

const char* Bool(bool b) {
    return b ? "TRUE" : "FALSE";
}

void Report(MessageBoxes& msg, const std::string& sText, const char* sTitle) {
    msg.Beep();
    msg.Show(sText, sTitle, MsgIcon::Exclamation);
}

} // namespace

std::string IniFileName(const std::string& sAppPath) {
    return JoinPath(sAppPath, "corvane.ini");
}

std::string TrimBlanks(std::string_view sText) {
    const std::size_t nFirst = sText.find_first_not_of(' ');
    if (nFirst == std::string_view::npos) {
        return {};
    }
    const std::size_t nLast = sText.find_last_not_of(' ');
    return std::string(sText.substr(nFirst, nLast - nFirst + 1));
}

std::string UpperCase(std::string_view sText) {
    std::string s(sText);
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return s;
}

double LeadingNumber(std::string_view sText) {
    // Gathers the characters of the number (blanks inside it are skipped, as the
    // language's own conversion does) and hands them to strtod.
    std::string sNumber;
    std::size_t i = 0;
    const auto SkipBlanks = [&] {
        while (i < sText.size() && (sText[i] == ' ' || sText[i] == '\t' || sText[i] == '\n')) {
            ++i;
        }
    };
    const auto IsDigit = [&] { return i < sText.size() && sText[i] >= '0' && sText[i] <= '9'; };
    const auto TakeDigits = [&] {
        bool bAny = false;
        for (SkipBlanks(); IsDigit(); SkipBlanks()) {
            sNumber += sText[i++];
            bAny = true;
        }
        return bAny;
    };

    SkipBlanks();
    if (i < sText.size() && (sText[i] == '+' || sText[i] == '-')) {
        sNumber += sText[i++];
    }
    bool bDigits = TakeDigits();
    if (i < sText.size() && sText[i] == '.') {
        sNumber += sText[i++];
        bDigits = TakeDigits() || bDigits;
    }
    if (!bDigits) {
        return 0.0;
    }
    if (i < sText.size() &&
        (sText[i] == 'e' || sText[i] == 'E' || sText[i] == 'd' || sText[i] == 'D')) {
        std::string sExponent = "e";
        std::size_t j = i + 1;
        if (j < sText.size() && (sText[j] == '+' || sText[j] == '-')) {
            sExponent += sText[j++];
        }
        if (j < sText.size() && sText[j] >= '0' && sText[j] <= '9') {
            i = j;
            sNumber += sExponent;
            TakeDigits();
        }
    }
    return std::strtod(sNumber.c_str(), nullptr);
}

std::optional<std::int32_t> RoundToLong(double dValue) {
    if (!std::isfinite(dValue)) {
        return std::nullopt;
    }
    // nearbyint rounds halves to even in the default rounding mode.
    const double dRounded = std::nearbyint(dValue);
    if (dRounded < -2147483648.0 || dRounded > 2147483647.0) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(dRounded);
}

std::string IniText(const MGlobal& g, bool bMaximised) {
    std::string s;
    s += "[Options]";
    s += kCrLfText;
    s += "user_id=" + std::to_string(g.nUserID) + kCrLfText;
    s += "db_path=" + TrimBlanks(g.sDBPath) + kCrLfText;
    s += std::string("maxform=") + (bMaximised ? "1" : "0") + kCrLfText;
    s += std::string("soundon=") + Bool(g.bSoundOn) + kCrLfText;
    s += "animspd=" + std::to_string(g.lAnimSpeed / 1000) + kCrLfText;
    s += std::string("copylnk=") + Bool(g.bCopyLnk) + kCrLfText;
    s += std::string("animals=") + Bool(g.bAnimals) + kCrLfText;
    return s;
}

void Ini_Save(const MGlobal& g, bool bMaximised, const std::string& sAppPath, FileSystem& files,
              MessageBoxes& msg) {
    std::string sError;
    if (!files.WriteFileAtomic(IniFileName(sAppPath), IniText(g, bMaximised), sError)) {
        Report(msg, sError, "Ini Save Error");
    }
}

void Ini_Load(MGlobal& g, const std::string& sFName, const std::string& sAppPath, FileSystem& files,
              MessageBoxes& msg) {
    std::string sText;
    std::string sError;
    if (!files.ReadFile(sFName, sText, sError)) {
        Report(msg, sError, "Ini File");
        return;
    }
    for (const std::string_view sLine : SplitLines(sText)) {
        const std::string_view sKey = KeyOf(sLine);
        if (sKey == "user_id") {
            const auto n = RoundToLong(LeadingNumber(ValueOf(sLine)));
            if (n) {
                g.nLastUserID = *n;
            } else {
                Report(msg, "Overflow", "Ini File");
            }
        } else if (sKey == "db_path") {
            const std::string sValue = ValueOf(sLine);
            g.sDBPath = sValue == "APPPATH" ? sAppPath : sValue;
        } else if (sKey == "soundon") {
            g.bSoundOn = ValueOf(sLine) == "TRUE";
        } else if (sKey == "animspd") {
            const auto n = RoundToLong(LeadingNumber(ValueOf(sLine)));
            const std::int64_t nSpeed = n ? std::int64_t{*n} * 1000 : 0;
            if (n && nSpeed >= INT32_MIN && nSpeed <= INT32_MAX) {
                g.lAnimSpeed = static_cast<std::int32_t>(nSpeed);
            } else {
                Report(msg, "Overflow", "Ini File");
            }
        } else if (sKey == "animals") {
            g.bAnimals = ValueOf(sLine) == "TRUE";
        }
        // "maxform", "copylnk", the section header and anything else: nothing.
    }
}

bool GetCopyLnk(const std::string& sAppPath, FileSystem& files, MessageBoxes& msg) {
    if (UpperCase(sAppPath) != "C:\\PROGRAM FILES\\THE CORVANE GAME") {
        return false;
    }
    const std::string sFName = IniFileName(sAppPath);
    if (!files.FileExists(sFName)) {
        return false;
    }
    std::string sText;
    std::string sError;
    if (!files.ReadFile(sFName, sText, sError)) {
        msg.Show(sError, "Ini File", MsgIcon::Exclamation);
        return false;
    }
    bool bCopyLnk = false;
    for (const std::string_view sLine : SplitLines(sText)) {
        if (UpperCase(KeyOf(sLine)) == "COPYLNK") {
            bCopyLnk = ValueOf(sLine) == "TRUE";
        }
    }
    return bCopyLnk;
}

} // namespace corvane
