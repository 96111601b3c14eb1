#include "top_ten_dialog.hpp"

#include "game_dialog_support.hpp"

#include <QLabel>
#include <QMetaObject>
#include <QPushButton>
#include <QShowEvent>

namespace corvane {

namespace {

constexpr int kPlaces = 10;

// Design geometry in twips.
constexpr int kClientWidth = 4560;
constexpr int kFirstRowTop = 120;
constexpr int kRowPitch = 360;
constexpr int kRowHeight = 315;
constexpr int kButtonTop = 3840;
constexpr int kButtonWidth = 1215;
constexpr int kButtonHeight = 375;
constexpr int kBottomMargin = 240;

} // namespace

FTopTen::FTopTen(MGlobal& g, StorageEnv& env, QWidget* pParent)
    : QDialog(pParent), g_(g), env_(env) {
    setObjectName(QStringLiteral("FTopTen"));
    setWindowTitle(QStringLiteral("Corvane - Top Ten List"));
    setFont(DesignFont(10, true));

    for (int i = 0; i < kPlaces; ++i) {
        const auto n = static_cast<std::size_t>(i);
        const int nTop = kFirstRowTop + kRowPitch * i;
        auto* pNo = MakeLabel(this, QStringLiteral("lblNo%1").arg(i), QString::number(i + 1),
                              QRect(240, nTop, 480, kRowHeight));
        pNo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lblPlayer_[n] = MakeLabel(this, QStringLiteral("lblPlayer%1").arg(i), QString(),
                                  QRect(960, nTop, 2160, kRowHeight));
        SetForeColour(*lblPlayer_[n], kPurple);
        lblScore_[n] = MakeLabel(this, QStringLiteral("lblScore%1").arg(i), QString(),
                                 QRect(3240, nTop, 1080, kRowHeight));
        lblScore_[n]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    const int nPairLeft = (kClientWidth - 2 * kButtonWidth - 240) / 2;
    for (int n = 0; n < 2; ++n) {
        auto* pButton = MakeButton(
            this, QStringLiteral("cmdTopTen%1").arg(n),
            n == 0 ? QStringLiteral("&OK") : QStringLiteral("&Clear"),
            QRect(nPairLeft + n * (kButtonWidth + 240), kButtonTop, kButtonWidth, kButtonHeight));
        pButton->setFont(DesignFont(8));
        pButton->setDefault(n == 0);
        connect(pButton, &QPushButton::clicked, this, [this, n] { cmdTopTen_Click(n); });
    }

    setFixedSize(TwipsToPixels(kClientWidth),
                 TwipsToPixels(kButtonTop + kButtonHeight + kBottomMargin));
    PlaceOnScreen(*this, kCentred);

    if (top_ten_dialog::TopTenLoad(g, env, TopTen_)) {
        ShowTopTen();
    }
    if (g.nTopTenPos >= 0 && g.nTopTenPos < kPlaces) {
        SetForeColour(*lblPlayer_[static_cast<std::size_t>(g.nTopTenPos)], kBlue);
    }
}

void FTopTen::showEvent(QShowEvent* pEvent) {
    QDialog::showEvent(pEvent);
    if (g_.bDBError) {
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
    }
}

void FTopTen::cmdTopTen_Click(int nIndex) {
    if (nIndex == 0) {
        accept();
        return;
    }
    const std::string sQuestion =
        std::string("Are you sure that you want") + kCrLf + "to clear the top ten list?";
    if (env_.msg.AskYesNo(sQuestion, "Top Ten List", MsgIcon::Question) != MsgAnswer::Yes) {
        return;
    }
    top_ten_dialog::ClearTopTen(g_, env_);
    if (g_.bDBError) {
        reject();
        return;
    }
    ClearLabels();
}

void FTopTen::ShowTopTen() {
    for (std::size_t i = 0; i < kPlaces; ++i) {
        // A place with no score is an empty place, whatever name it holds.
        const bool bFilled = TopTen_[i].nScore != 0;
        lblPlayer_[i]->setText(bFilled ? QString::fromStdString(TopTen_[i].sName) : QString());
        lblScore_[i]->setText(bFilled ? QString::number(TopTen_[i].nScore) : QString());
    }
}

void FTopTen::ClearLabels() {
    for (std::size_t i = 0; i < kPlaces; ++i) {
        lblPlayer_[i]->clear();
        lblScore_[i]->clear();
    }
}

} // namespace corvane
