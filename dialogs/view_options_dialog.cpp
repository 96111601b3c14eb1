#include "view_options_dialog.hpp"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvane {
namespace {

struct Choice {
    const char* sName;
    const char* sCaption;
    bool ViewOptions::*pFlag;
};

// In the order of the tab key, top to bottom.
constexpr std::array<Choice, 5> kChoices{{
    {"chkFourColour", "&Four-colour deck (green clubs, blue diamonds)", &ViewOptions::bFourColour},
    {"chkLargeIndices", "&Large card indices", &ViewOptions::bLargeIndices},
    {"chkPlayable", "Show &playable cards", &ViewOptions::bShowPlayable},
    {"chkTrails", "Card t&rails during flights", &ViewOptions::bTrails},
    {"chkTooltips", "&Tooltips on the table's boxes", &ViewOptions::bTooltips},
}};

} // namespace

FViewOptions::FViewOptions(MGlobal& g, QWidget* pParent) : QDialog(pParent), g_(g) {
    setObjectName(QStringLiteral("FViewOptions"));
    setWindowTitle(QStringLiteral("View Options"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* pLayout = new QVBoxLayout(this);
    for (std::size_t i = 0; i < kChoices.size(); ++i) {
        const Choice& c = kChoices[i];
        chkView_[i] = new QCheckBox(QString::fromUtf8(c.sCaption), this);
        chkView_[i]->setObjectName(QString::fromLatin1(c.sName));
        chkView_[i]->setChecked(g_.View.*c.pFlag);
        pLayout->addWidget(chkView_[i]);
    }
    // OK on Enter, Cancel on Escape.
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    pButtons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdOK"));
    pButtons->button(QDialogButtonBox::Ok)->setDefault(true);
    pButtons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdCancel"));
    pLayout->addWidget(pButtons);
    connect(pButtons, &QDialogButtonBox::accepted, this, &FViewOptions::cmdOK_Click);
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    chkView_[0]->setFocus();
}

void FViewOptions::cmdOK_Click() {
    for (std::size_t i = 0; i < kChoices.size(); ++i) {
        g_.View.*kChoices[i].pFlag = chkView_[i]->isChecked();
    }
    accept();
}

} // namespace corvane
