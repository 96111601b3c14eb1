#include "keyboard_play.hpp"

#include "table/table_view.hpp"

#include <algorithm>

#include <QAbstractButton>
#include <QKeyEvent>

namespace corvane {

KeyboardPlay::KeyboardPlay(const GameState& state, TableView& table, QAbstractButton& payButton)
    : QObject(&table), s_(state), table_(table), pay_(payButton) {
    setObjectName(QStringLiteral("keyboardPlay"));
    // The table holds the focus so that Space lays a card rather than pressing
    // the button; P reaches the button from the keyboard.
    table_.setFocusPolicy(Qt::StrongFocus);
    pay_.setFocusPolicy(Qt::NoFocus);
    table_.setFocus();
    table_.installEventFilter(this);
    pay_.installEventFilter(this);
}

std::vector<int> KeyboardPlay::Hand() const {
    // The last card stays in the hand's list after it is laid; the count knows.
    return s_.nCardsLeft[3] > 0 ? s_.UserHand : std::vector<int>{};
}

int KeyboardPlay::Card() const {
    return nIndex_ >= 0 && nIndex_ < static_cast<int>(hand_.size()) ? hand_[nIndex_] : -1;
}

void KeyboardPlay::HandDrawn() {
    std::vector<int> now = Hand();
    const int nBefore = nIndex_;
    const int nCard = Card();
    const bool bSameHand = std::all_of(now.begin(), now.end(), [this](int c) {
        return std::find(hand_.begin(), hand_.end(), c) != hand_.end();
    });
    if (nIndex_ >= 0) {
        const auto it = std::find(now.begin(), now.end(), nCard);
        if (!bSameHand || now.empty()) {
            nIndex_ = -1; // a new deal: the highlight waits for the first key
        } else if (it != now.end()) {
            nIndex_ = static_cast<int>(it - now.begin());
        } else {
            // The card has left: its right neighbour takes its place, or the
            // new last card when it was the last.
            nIndex_ = std::min(nIndex_, static_cast<int>(now.size()) - 1);
        }
    }
    const bool bMoved = nIndex_ != nBefore || (nIndex_ >= 0 && now != hand_);
    hand_ = std::move(now);
    if (bMoved && onChanged) {
        onChanged();
    }
}

void KeyboardPlay::Hide() {
    MoveTo(-1);
}

void KeyboardPlay::MoveTo(int nIndex) {
    if (nIndex == nIndex_) {
        return;
    }
    nIndex_ = nIndex;
    if (onChanged) {
        onChanged();
    }
}

void KeyboardPlay::LayHighlighted() {
    const int n = static_cast<int>(hand_.size());
    // The middle of the part of the card in sight, as a click would hit it.
    const int nOffset = nIndex_ == n - 1 ? kCardWidthTwips / 2 : s_.nCardSpacing / 2;
    const int x = s_.nHandLeft + nIndex_ * s_.nCardSpacing + nOffset;
    const int y = s_.nHandTop + kCardHeightTwips / 2;
    const QPointF at(x, y);
    if (table_.onMouseDown) {
        table_.onMouseDown(at, Qt::LeftButton);
    }
    if (table_.onClick) {
        table_.onClick();
    }
}

bool KeyboardPlay::OnKey(int nKey) {
    if (nKey == Qt::Key_P) {
        pay_.click();
        return true;
    }
    const int n = static_cast<int>(hand_.size());
    if (n == 0) {
        return false;
    }
    const bool bShown = nIndex_ >= 0;
    switch (nKey) {
    case Qt::Key_Left:
        MoveTo(bShown ? std::max(0, nIndex_ - 1) : 0);
        return true;
    case Qt::Key_Right:
        MoveTo(bShown ? std::min(n - 1, nIndex_ + 1) : 0);
        return true;
    case Qt::Key_Home:
        MoveTo(0);
        return true;
    case Qt::Key_End:
        MoveTo(n - 1);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (bShown) {
            LayHighlighted();
        } else {
            MoveTo(0);
        }
        return true;
    default:
        return false;
    }
}

bool KeyboardPlay::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pEvent->type() == QEvent::MouseButtonPress) {
        Hide();
    } else if (pEvent->type() == QEvent::KeyPress && pWatched == &table_) {
        // Checked by type().
        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-static-cast-downcast)
        const auto* pKey = static_cast<QKeyEvent*>(pEvent);
        if ((pKey->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && OnKey(pKey->key())) {
            return true;
        }
    }
    return QObject::eventFilter(pWatched, pEvent);
}

} // namespace corvane
