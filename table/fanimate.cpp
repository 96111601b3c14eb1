#include "fanimate.hpp"

#include "engine/twips.hpp"

#include <algorithm>
#include <array>

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

namespace corvane {
namespace {

QRect Twips(int nLeft, int nTop, int nWidth, int nHeight) {
    return {TwipsToPixelsTruncated(nLeft), TwipsToPixelsTruncated(nTop),
            TwipsToPixelsTruncated(nWidth), TwipsToPixelsTruncated(nHeight)};
}

constexpr int kSlowest = 80;
constexpr int kNormal = 40;

} // namespace

FAnimate::FAnimate(MGlobal& g, QWidget* pParent) : QDialog(pParent), g_(g) {
    setObjectName(QStringLiteral("FAnimate"));
    setWindowTitle(QStringLiteral("Animation Speed"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(TwipsToPixelsTruncated(4500), TwipsToPixelsTruncated(2280));

    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);

    auto* pLabel = new QLabel(
        QStringLiteral(
            "Use the scollbar below to adjust the speed your opponents cards are played."),
        this);
    pLabel->setObjectName(QStringLiteral("lblAnim0"));
    pLabel->setGeometry(Twips(120, 120, 4335, 495));
    pLabel->setWordWrap(true);
    QFont bold = font;
    bold.setBold(true);
    pLabel->setFont(bold);
    pLabel->setStyleSheet(QStringLiteral("color: #800080;"));

    struct Mark {
        const char* sName = nullptr;
        const char* sText = nullptr;
        QRect r;
        Qt::Alignment align;
    };
    const std::array<Mark, 3> marks = {{
        {"lblAnim1", "Slowest", Twips(120, 840, 855, 255), Qt::AlignLeft},
        {"lblAnim3", "Normal", Twips(1920, 840, 855, 255), Qt::AlignLeft},
        {"lblAnim2", "Fastest", Twips(3600, 840, 735, 255), Qt::AlignRight},
    }};
    for (const Mark& m : marks) {
        auto* pMark = new QLabel(QString::fromLatin1(m.sText), this);
        pMark->setObjectName(QString::fromLatin1(m.sName));
        pMark->setGeometry(m.r);
        pMark->setAlignment(m.align | Qt::AlignVCenter);
    }

    // Created after the marks above it, so that the children stay in the order they are seen.
    // NOLINTNEXTLINE(cppcoreguidelines-prefer-member-initializer)
    scrAnim_ = new QScrollBar(Qt::Horizontal, this);
    scrAnim_->setObjectName(QStringLiteral("scrAnim"));
    scrAnim_->setGeometry(Twips(120, 1200, 4215, 375));
    // The longest wait sits at the left, under "Slowest". The bar itself runs
    // the usual way (an inverted QScrollBar moves its thumb away from the
    // arrow pressed), and the value is read from the right end.
    scrAnim_->setRange(0, kSlowest);
    scrAnim_->setSingleStep(1);
    scrAnim_->setPageStep(5);

    auto* pReset = new QPushButton(QStringLiteral("&Reset"), this);
    pReset->setObjectName(QStringLiteral("cmdAnim0"));
    pReset->setGeometry(Twips(720, 1800, 1455, 375));
    pReset->setAutoDefault(false);
    connect(pReset, &QPushButton::clicked, this, [this] { cmdAnim_Click(0); });
    auto* pOk = new QPushButton(QStringLiteral("&OK"), this);
    pOk->setObjectName(QStringLiteral("cmdAnim1"));
    pOk->setGeometry(Twips(2160, 1800, 1455, 375));
    pOk->setDefault(true);
    connect(pOk, &QPushButton::clicked, this, [this] { cmdAnim_Click(1); });

    Form_Load();
}

void FAnimate::Form_Load() {
    if (const QScreen* pScreen = parentWidget() != nullptr ? parentWidget()->screen() : screen()) {
        const QRect area = pScreen->geometry();
        move(area.left() + (area.width() - width()) / 2,
             area.top() + (area.height() - height()) / 2);
    }
    // A setting the bar cannot show goes to the nearer end.
    SetValue(static_cast<int>(g_.lAnimSpeed / 1000));
}

int FAnimate::Value() const {
    return kSlowest - scrAnim_->value();
}

void FAnimate::SetValue(int nValue) {
    scrAnim_->setValue(kSlowest - std::clamp(nValue, 0, kSlowest));
}

void FAnimate::cmdAnim_Click(int nIndex) {
    if (nIndex == 0) {
        SetValue(kNormal);
        return;
    }
    g_.lAnimSpeed = Value() * 1000;
    accept();
}

void FAnimate::keyPressEvent(QKeyEvent* pEvent) {
    // Esc is the OK button too: it keeps the value shown.
    if (pEvent->key() == Qt::Key_Escape && pEvent->modifiers() == Qt::NoModifier) {
        cmdAnim_Click(1);
        return;
    }
    QDialog::keyPressEvent(pEvent);
}

} // namespace corvane
