// The user editor. Fields stay locked until a list entry is clicked, and lock
// again after every save and deletion.
#include "user_edit_dialog.hpp"

#include "dialog_support.hpp"
#include "storage/settings.hpp"
#include "user_validation.hpp"

#include <array>

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace corvane {

FUserEdit::FUserEdit(MGlobal& g, StorageEnv& env, UserDisplay& display, QWidget* pParent)
    : QDialog(pParent), g_(g), env_(env), display_(display) {
    setObjectName(QStringLiteral("FUserEdit"));
    setWindowTitle(QStringLiteral("Add, Edit or Delete Users..."));

    auto* pGrid = new QGridLayout;
    const std::array labels = {
        "Select User:", "User Name:", "1st Opponent:", "2nd Opponent:", "3rd Opponent:"};
    auto* pListLabel = new QLabel(QString::fromLatin1(labels[0]), this);
    pListLabel->setObjectName(QStringLiteral("lblUserEdit0"));
    // Created after its caption, so that the children stay in the order they are seen.
    lstUser_ = new QListWidget(this); // NOLINT(cppcoreguidelines-prefer-member-initializer)
    lstUser_->setObjectName(QStringLiteral("lstUser"));
    auto* pListColumn = new QVBoxLayout;
    pListColumn->addWidget(pListLabel);
    pListColumn->addWidget(lstUser_);
    for (int i = 0; i < 4; ++i) {
        auto* pLabel = new QLabel(QString::fromLatin1(labels[i + 1]), this);
        pLabel->setObjectName(QStringLiteral("lblUserEdit%1").arg(i + 1));
        txtUser_[i] = new QLineEdit(this);
        txtUser_[i]->setObjectName(QStringLiteral("txtUser%1").arg(i));
        txtUser_[i]->installEventFilter(this);
        pGrid->addWidget(pLabel, i, 0);
        pGrid->addWidget(txtUser_[i], i, 1);
    }
    auto* pButtons = new QHBoxLayout;
    const std::array captions = {"&Save", "&Delete", "&Close"};
    for (int i = 0; i < 3; ++i) {
        cmdUser_[i] = new QPushButton(QString::fromLatin1(captions[i]), this);
        cmdUser_[i]->setObjectName(QStringLiteral("cmdUser%1").arg(i));
        cmdUser_[i]->setAutoDefault(false);
        connect(cmdUser_[i], &QPushButton::clicked, this, [this, i] { cmdUser_Click(i); });
        pButtons->addWidget(cmdUser_[i]);
    }
    auto* pRight = new QVBoxLayout;
    pRight->addLayout(pGrid);
    pRight->addStretch();
    pRight->addLayout(pButtons);
    auto* pLayout = new QHBoxLayout(this);
    pLayout->addLayout(pListColumn);
    pLayout->addLayout(pRight);

    LoadUserList();
    EnableFields(false);
    // Picking a new entry raises the click; a click on the entry already picked
    // raises it only when the fields are locked (after a save), so it is not
    // handled twice. The list taking the focus marks its first entry current
    // without picking it, and that leaves the fields locked.
    connect(lstUser_, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> picked = lstUser_->selectedItems();
        if (!picked.isEmpty()) {
            lstUser_Click(lstUser_->row(picked.front()));
        }
    });
    connect(lstUser_, &QListWidget::itemClicked, this, [this](QListWidgetItem* pItem) {
        if (!bFieldsEnabled_) {
            lstUser_Click(lstUser_->row(pItem));
        }
    });
}

void FUserEdit::showEvent(QShowEvent* pEvent) {
    QDialog::showEvent(pEvent);
    CenterForm(*this);
    if (g_.bDBError) {
        UnloadForDBError();
    }
}

void FUserEdit::UnloadForDBError() {
    // Queued, so that a modal loop that has just started ends at once.
    QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
}

bool FUserEdit::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pEvent->type() == QEvent::FocusIn) {
        for (QLineEdit* pBox : txtUser_) {
            if (pWatched == pBox && !pBox->text().isEmpty()) {
                QMetaObject::invokeMethod(pBox, &QLineEdit::selectAll, Qt::QueuedConnection);
            }
        }
    }
    return QDialog::eventFilter(pWatched, pEvent);
}

void FUserEdit::LoadUserList() {
    for (const UserListEntry& entry : user_editor::LoadUserList(g_, env_)) {
        auto* pItem = new QListWidgetItem(Q(entry.sText), lstUser_);
        pItem->setData(Qt::UserRole, entry.nItemData);
    }
}

void FUserEdit::ClearFields() {
    for (QLineEdit* pBox : txtUser_) {
        pBox->clear();
    }
}

void FUserEdit::EnableFields(bool bEnable) {
    bFieldsEnabled_ = bEnable;
    for (QLineEdit* pBox : txtUser_) {
        pBox->setEnabled(bEnable);
    }
    cmdUser_[0]->setEnabled(bEnable);
    cmdUser_[1]->setEnabled(bEnable);
}

void FUserEdit::lstUser_Click(int nRow) {
    const QListWidgetItem* pItem = lstUser_->item(nRow);
    if (pItem == nullptr) {
        return;
    }
    sSelName_ = pItem->text().toStdString();
    nSelUserID_ = pItem->data(Qt::UserRole).toInt();
    EnableFields(true);
    cmdUser_[1]->setEnabled(nSelUserID_ != kNewUserID && nSelUserID_ != g_.nLastUserID);
    LoadUserForm();
    if (g_.bDBError) {
        UnloadForDBError();
        return;
    }
    txtUser_[nSelUserID_ != kNewUserID ? 1 : 0]->setFocus(Qt::OtherFocusReason);
}

void FUserEdit::LoadUserForm() {
    const std::optional<UserFormFields> fields = user_editor::LoadUserForm(g_, env_, nSelUserID_);
    if (!fields) {
        return;
    }
    txtUser_[0]->setText(Q(fields->sName));
    txtUser_[1]->setText(Q(fields->sPlayer1));
    txtUser_[2]->setText(Q(fields->sPlayer2));
    txtUser_[3]->setText(Q(fields->sPlayer3));
}

bool FUserEdit::ValidateFields() {
    nEditUserID_ = nSelUserID_;
    sEditName_ = TrimmedText(txtUser_[0]->text());
    sEditPlayer1_ = TrimmedText(txtUser_[1]->text());
    sEditPlayer2_ = TrimmedText(txtUser_[2]->text());
    sEditPlayer3_ = TrimmedText(txtUser_[3]->text());
    const std::optional<NameProblem> problem =
        FindNameProblem({sEditName_, sEditPlayer1_, sEditPlayer2_, sEditPlayer3_});
    if (!problem) {
        return true;
    }
    env_.msg.Show(problem->sMessage, problem->sTitle, MsgIcon::Exclamation);
    txtUser_[static_cast<int>(problem->field) - 1]->setFocus(Qt::OtherFocusReason);
    return false;
}

void FUserEdit::cmdUser_Click(int nIndex) {
    if (nIndex == 2) {
        reject();
        return;
    }
    if (nIndex == 1) {
        if (nSelUserID_ == g_.nLastUserID) {
            env_.msg.Show(std::string("You cannot delete yourself") + kCrLf +
                              "since you are the current user!",
                          "Delete User", MsgIcon::Exclamation);
            return;
        }
        if (env_.msg.AskYesNo(std::string("Do you wish to delete") + kCrLf + sSelName_ +
                                  " as a user?",
                              "Delete User", MsgIcon::Question) == MsgAnswer::No) {
            return;
        }
        const bool bDeleted = user_editor::DeleteUser(g_, env_, nSelUserID_);
        if (g_.bDBError) {
            UnloadForDBError();
            return;
        }
        // The entry goes only when the row did: a failed deletion was reported
        // and the user is still there.
        if (bDeleted) {
            // Removing the current entry moves the selection; that is no click.
            const QSignalBlocker quiet(lstUser_);
            for (int i = 0; i < lstUser_->count(); ++i) {
                if (lstUser_->item(i)->data(Qt::UserRole).toInt() == nSelUserID_) {
                    delete lstUser_->takeItem(i);
                    break;
                }
            }
        }
        ClearFields();
        EnableFields(false);
        return;
    }

    if (!ValidateFields()) {
        return;
    }
    if (nSelUserID_ == kNewUserID) {
        nEditUserID_ = GetNextUserID(g_, env_);
        if (g_.bDBError) {
            UnloadForDBError();
            return;
        }
        // No id could be handed out: saving under id 0 could overwrite another
        // user saved the same way.
        if (nEditUserID_ == 0) {
            env_.msg.Show(kNoUserIdText, kNoUserIdTitle, MsgIcon::Exclamation);
            return;
        }
    } else if (sEditName_ != sSelName_) {
        if (env_.msg.AskYesNo(RenameQuestion(sSelName_, sEditName_), kRenameTitle,
                              MsgIcon::Question) == MsgAnswer::No) {
            txtUser_[0]->setText(Q(sSelName_));
            txtUser_[0]->setFocus(Qt::OtherFocusReason);
            return;
        }
        for (int i = 0; i < lstUser_->count(); ++i) {
            if (lstUser_->item(i)->text().toStdString() == sSelName_) {
                lstUser_->item(i)->setText(Q(sEditName_));
            }
        }
    }
    if (nEditUserID_ == g_.nLastUserID) {
        g_.sUserName = sEditName_;
        g_.sLeftName = sEditPlayer1_;
        g_.sTopName = sEditPlayer2_;
        g_.sRightName = sEditPlayer3_;
        ShowCurrentUserNames(display_, g_);
    }
    const bool bSaved = user_editor::UpdateDatabase(
        g_, env_, nEditUserID_, {sEditName_, sEditPlayer1_, sEditPlayer2_, sEditPlayer3_});
    if (bSaved) {
        env_.msg.Show("User record saved!", "Saving User Information", MsgIcon::Exclamation);
        if (nSelUserID_ == kNewUserID) {
            // Before "<New User>", which stays the last entry.
            const QSignalBlocker quiet(lstUser_);
            auto* pItem = new QListWidgetItem(Q(sEditName_));
            pItem->setData(Qt::UserRole, nEditUserID_);
            lstUser_->insertItem(lstUser_->count() - 1, pItem);
        }
    } else if (g_.bDBError) {
        UnloadForDBError();
        return;
    }
    ClearFields();
    EnableFields(false);
}

} // namespace corvane
