// FUserEdit: add, rename and delete the users kept in the database.
#pragma once

#include "storage/game_db.hpp"
#include "user_display.hpp"

#include <array>
#include <cstdint>
#include <string>

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace corvane {

class FUserEdit final : public QDialog {
public:
    FUserEdit(MGlobal& g, StorageEnv& env, UserDisplay& display, QWidget* pParent = nullptr);

    // Index 0 Save, 1 Delete, 2 Close.
    void cmdUser_Click(int nIndex);

protected:
    void showEvent(QShowEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void LoadUserList();
    void ClearFields();
    void EnableFields(bool bEnable);
    void LoadUserForm();
    bool ValidateFields();
    void lstUser_Click(int nRow);
    void UnloadForDBError();

    MGlobal& g_;
    StorageEnv& env_;
    UserDisplay& display_;

    std::int32_t nSelUserID_ = 0;
    std::string sSelName_;
    std::int32_t nEditUserID_ = 0;
    std::string sEditName_;
    std::string sEditPlayer1_;
    std::string sEditPlayer2_;
    std::string sEditPlayer3_;
    bool bFieldsEnabled_ = false;

    QListWidget* lstUser_;
    std::array<QLineEdit*, 4> txtUser_{};
    std::array<QPushButton*, 3> cmdUser_{};
};

} // namespace corvane
