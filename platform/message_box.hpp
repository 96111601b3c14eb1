// Message boxes and the beep, behind one small interface so that the storage
// layer and the dialogs can report without a window and tests can answer them.
#pragma once

#include <string>

namespace corvane {

enum class MsgIcon { None, Exclamation, Question };

enum class MsgAnswer { Ok, Yes, No };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // A box with an OK button; lines in sText are joined by CR LF.
    virtual void Show(const std::string& sText, const std::string& sTitle, MsgIcon icon) = 0;
    // A box with Yes and No buttons; returns the button pressed.
    virtual MsgAnswer AskYesNo(const std::string& sText, const std::string& sTitle,
                               MsgIcon icon) = 0;
    virtual void Beep() = 0;

protected:
    MessageBoxes() = default;
    MessageBoxes(const MessageBoxes&) = default;
    MessageBoxes(MessageBoxes&&) = default;
    MessageBoxes& operator=(const MessageBoxes&) = default;
    MessageBoxes& operator=(MessageBoxes&&) = default;
};

// Lines inside a message are joined by carriage return and line feed.
inline constexpr const char* kCrLf = "\r\n";

} // namespace corvane
