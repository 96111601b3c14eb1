// The informational dialogs of the Help and File menus: sending a score, how to
// reach us, playing on a network and passing the program on.
#pragma once

#include "engine/mglobal.hpp"
#include "platform/message_box.hpp"
#include "platform/shell_files.hpp"

#include <string>

#include <QDialog>

class QHBoxLayout;

namespace corvane {

// A caption, a text and an OK button ("cmdOK").
class InfoDialog : public QDialog {
public:
    InfoDialog(const QString& sObjectName, const QString& sCaption, const QString& sText,
               QWidget* pParent);

protected:
    void showEvent(QShowEvent* pEvent) override;
    // Adds a button to the left of OK.
    void AddButton(QWidget* pButton);

private:
    QHBoxLayout* pButtons_;
};

// How to send a top score, with a button that copies the database file into the
// mail-out folder (created when missing).
class FSendScore final : public InfoDialog {
public:
    FSendScore(const MGlobal& g, MessageBoxes& msg, ShellFiles& files, std::string sMailOutFolder,
               QWidget* pParent = nullptr);
    void cmdCopyScore_Click();

private:
    const MGlobal& g_;
    MessageBoxes& msg_;
    ShellFiles& files_;
    std::string sMailOutFolder_;
};

class FContact final : public InfoDialog {
public:
    explicit FContact(QWidget* pParent = nullptr);
};

class FNetwork final : public InfoDialog {
public:
    explicit FNetwork(QWidget* pParent = nullptr);
};

class FDistribute final : public InfoDialog {
public:
    explicit FDistribute(QWidget* pParent = nullptr);
};

} // namespace corvane
