#include "table_accessibility.hpp"

#include "engine/cards.hpp"
#include "table/table_view.hpp"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QPointer>
#include <QWindow>

namespace corvane {
namespace {

using Part = TableAccessibility::Part;

// The rows from left to right: Clubs, Diamonds, Spades, Hearts.
constexpr std::array<int, 4> kColumnSuits{0, 1, 3, 2};
// The corner frames, by seat.
constexpr std::array<QRect, 4> kSeatFrames{QRect(0, 4200, 1815, 2415), QRect(0, 0, 1815, 2415),
                                           QRect(7800, 0, 1815, 2415),
                                           QRect(7800, 4200, 1815, 2415)};
constexpr int kPaid = 99;
constexpr int kFixedParts = 12; // hand, four rows, four seats, pot, winnings, status

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// "Seven" of "Seven of Hearts", and "Hearts".
QString RankWord(int nCard) {
    const QString s = Q(GetCardName(nCard));
    return s.left(s.indexOf(QStringLiteral(" of ")));
}
QString SuitWord(int nSuit) {
    const QString s = Q(GetCardName(nSuit));
    return s.mid(s.indexOf(QStringLiteral(" of ")) + 4);
}

// The part behind a child index of the table view, for the fixed parts.
std::pair<Part, int> FixedPart(int nIndex) {
    if (nIndex == 0) {
        return {Part::Hand, 0};
    }
    if (nIndex <= 4) {
        return {Part::Row, nIndex - 1};
    }
    if (nIndex <= 8) {
        return {Part::Seat, nIndex - 5};
    }
    if (nIndex == 9) {
        return {Part::Pot, 0};
    }
    return {nIndex == 10 ? Part::Winnings : Part::Status, 0};
}

int FixedIndex(Part part, int n) {
    switch (part) {
    case Part::Hand:
        return 0;
    case Part::Row:
        return 1 + n;
    case Part::Seat:
        return 5 + n;
    case Part::Pot:
        return 9;
    case Part::Winnings:
        return 10;
    case Part::Status:
        return 11;
    case Part::Card:
        break;
    }
    return -1;
}

// The widgets on the table other than the panels' labels (whose words the
// seats carry): the pay-the-pot button and the help panel when shown.
QList<QWidget*> Widgets(const QWidget* pView) {
    QList<QWidget*> list;
    for (QObject* p : pView->children()) {
        auto* pWidget = qobject_cast<QWidget*>(p);
        if (pWidget != nullptr && qobject_cast<QLabel*>(pWidget) == nullptr &&
            pWidget->isVisible()) {
            list.append(pWidget);
        }
    }
    return list;
}

// One part of the table that is no widget of its own.
class TablePartAccessible final : public QAccessibleInterface {
public:
    TablePartAccessible(TableView* pView, Part part, int n) : view_(pView), part_(part), n_(n) {}

    Part GetPart() const { return part_; }
    int Number() const { return n_; }

    bool isValid() const override { return Words() != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return view_ != nullptr ? view_->window()->windowHandle() : nullptr;
    }
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation /*match*/) const override {
        return {};
    }
    QAccessibleInterface* focusChild() const override {
        const TableAccessibility* pWords = Words();
        if (part_ != Part::Hand || pWords == nullptr || pWords->FocusedCard() < 0) {
            return nullptr;
        }
        return pWords->Item(Part::Card, pWords->FocusedCard());
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = childCount() - 1; i >= 0; --i) {
            QAccessibleInterface* pChild = child(i);
            if (pChild->rect().contains(x, y)) {
                return pChild;
            }
        }
        return nullptr;
    }
    QAccessibleInterface* parent() const override {
        const TableAccessibility* pWords = Words();
        if (part_ == Part::Card && pWords != nullptr) {
            return pWords->Item(Part::Hand, 0);
        }
        return QAccessible::queryAccessibleInterface(view_.data());
    }
    QAccessibleInterface* child(int nIndex) const override {
        const TableAccessibility* pWords = Words();
        if (part_ != Part::Hand || pWords == nullptr || nIndex < 0 ||
            nIndex >= pWords->HandCount()) {
            return nullptr;
        }
        return pWords->Item(Part::Card, nIndex);
    }
    int childCount() const override {
        const TableAccessibility* pWords = Words();
        return part_ == Part::Hand && pWords != nullptr ? pWords->HandCount() : 0;
    }
    int indexOfChild(const QAccessibleInterface* pChild) const override {
        const auto* pPart = dynamic_cast<const TablePartAccessible*>(pChild);
        if (part_ != Part::Hand || pPart == nullptr || pPart->part_ != Part::Card ||
            pPart->n_ >= childCount()) {
            return -1;
        }
        return pPart->n_;
    }
    QString text(QAccessible::Text t) const override {
        const TableAccessibility* pWords = Words();
        if (pWords == nullptr) {
            return {};
        }
        if (t == QAccessible::Name) {
            return pWords->Name(part_, n_);
        }
        // The focused card also carries the latest news, for readers that
        // speak only what happens to the focus.
        if (t == QAccessible::Description && part_ == Part::Card && pWords->FocusedCard() == n_) {
            return pWords->Status();
        }
        return {};
    }
    void setText(QAccessible::Text /*t*/, const QString& /*text*/) override {}
    QRect rect() const override {
        const TableAccessibility* pWords = Words();
        if (pWords == nullptr) {
            return {};
        }
        const QRect r = pWords->Rect(part_, n_);
        return r.isNull() ? QRect() : QRect(view_->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override {
        switch (part_) {
        case Part::Hand:
            return QAccessible::List;
        case Part::Card:
            return QAccessible::ListItem;
        case Part::Status:
            return QAccessible::StatusBar;
        default:
            return QAccessible::StaticText;
        }
    }
    QAccessible::State state() const override {
        QAccessible::State st;
        const TableAccessibility* pWords = Words();
        if (part_ == Part::Card && pWords != nullptr) {
            st.focusable = true;
            st.selectable = true;
            st.focused = pWords->FocusedCard() == n_ && view_->hasFocus();
            st.selected = pWords->FocusedCard() == n_;
            st.invisible = n_ >= pWords->HandCount();
        }
        if (part_ == Part::Status) {
            st.readOnly = true;
        }
        return st;
    }

private:
    const TableAccessibility* Words() const { return TableAccessibility::Of(view_.data()); }

    QPointer<TableView> view_;
    Part part_;
    int n_;
};

// The table view: its parts, then its other widgets.
class TableViewAccessible final : public QAccessibleWidget {
public:
    explicit TableViewAccessible(QWidget* pView)
        : QAccessibleWidget(pView, QAccessible::Pane, QStringLiteral("Card table")) {}

    int childCount() const override {
        return (Words() != nullptr ? kFixedParts : 0) + static_cast<int>(Widgets(widget()).size());
    }
    QAccessibleInterface* child(int nIndex) const override {
        const TableAccessibility* pWords = Words();
        const int nFixed = pWords != nullptr ? kFixedParts : 0;
        if (nIndex < 0) {
            return nullptr;
        }
        if (nIndex < nFixed) {
            const auto [part, n] = FixedPart(nIndex);
            return pWords->Item(part, n);
        }
        const QList<QWidget*> widgets = Widgets(widget());
        return nIndex - nFixed < widgets.size()
                   ? QAccessible::queryAccessibleInterface(widgets[nIndex - nFixed])
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* pChild) const override {
        if (const auto* pPart = dynamic_cast<const TablePartAccessible*>(pChild)) {
            return FixedIndex(pPart->GetPart(), pPart->Number());
        }
        if (pChild == nullptr) {
            return -1;
        }
        const int nFixed = Words() != nullptr ? kFixedParts : 0;
        const auto nAt = Widgets(widget()).indexOf(qobject_cast<QWidget*>(pChild->object()));
        return nAt < 0 ? -1 : nFixed + static_cast<int>(nAt);
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = childCount() - 1; i >= 0; --i) {
            QAccessibleInterface* pChild = child(i);
            if (pChild != nullptr && pChild->rect().contains(x, y)) {
                QAccessibleInterface* pInner = pChild->childAt(x, y);
                return pInner != nullptr ? pInner : pChild;
            }
        }
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        const TableAccessibility* pWords = Words();
        if (pWords != nullptr && pWords->FocusedCard() >= 0) {
            return pWords->Item(Part::Card, pWords->FocusedCard());
        }
        return QAccessibleWidget::focusChild();
    }
    QString text(QAccessible::Text t) const override {
        const TableAccessibility* pWords = Words();
        if (t == QAccessible::Description && pWords != nullptr) {
            return pWords->Status();
        }
        return QAccessibleWidget::text(t);
    }

private:
    const TableAccessibility* Words() const { return TableAccessibility::Of(widget()); }
};

QAccessibleInterface* TableFactory(const QString& /*sClass*/, QObject* pObject) {
    if (auto* pView = qobject_cast<TableView*>(pObject)) {
        return new TableViewAccessible(pView);
    }
    return nullptr;
}

} // namespace

TableAccessibility::TableAccessibility(const GameState& state, const MGlobal& g, TableView& table)
    : QObject(&table), s_(state), g_(g), table_(table) {
    setObjectName(QStringLiteral("tableAccessibility"));
}

TableAccessibility::~TableAccessibility() {
    for (const auto& [nKey, pItem] : items_) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(pItem));
    }
}

void TableAccessibility::InstallFactory() {
    QAccessible::installFactory(&TableFactory);
}

const TableAccessibility* TableAccessibility::Of(const QObject* pView) {
    return pView != nullptr
               ? pView->findChild<TableAccessibility*>(QString(), Qt::FindDirectChildrenOnly)
               : nullptr;
}

QAccessibleInterface* TableAccessibility::Item(Part part, int n) const {
    const int nKey = static_cast<int>(part) * 100 + n;
    QAccessibleInterface*& pItem = items_[nKey];
    if (pItem == nullptr) {
        // Registered, the interface belongs to Qt's registry until we delete it.
        pItem = new TablePartAccessible(&table_, part, n);
        QAccessible::registerAccessibleInterface(pItem);
    }
    return pItem;
}

int TableAccessibility::HandCount() const {
    return s_.nCardsLeft[3] > 0 ? static_cast<int>(s_.UserHand.size()) : 0;
}

QString TableAccessibility::Name(Part part, int n) const {
    switch (part) {
    case Part::Hand:
        return QStringLiteral("Your hand");
    case Part::Card:
        return n >= 0 && n < HandCount() ? Q(GetCardName(s_.UserHand[n])) : QString();
    case Part::Row: {
        const int nSuit = kColumnSuits.at(n);
        int nLow = -1;
        int nHigh = -1;
        for (int nRank = 0; nRank < 13; ++nRank) {
            if (InMask(s_.nTableMask, 4 * nRank + nSuit)) {
                nLow = nLow < 0 ? 4 * nRank + nSuit : nLow;
                nHigh = 4 * nRank + nSuit;
            }
        }
        if (nLow < 0) {
            return SuitWord(nSuit) + QStringLiteral(", not opened");
        }
        if (nLow == nHigh) {
            return SuitWord(nSuit) + QStringLiteral(", ") + RankWord(nLow);
        }
        return SuitWord(nSuit) + QStringLiteral(", %1 to %2").arg(RankWord(nLow), RankWord(nHigh));
    }
    case Part::Seat: {
        const auto i = static_cast<std::size_t>(n);
        const int nLeft = s_.nCardsLeft.at(i);
        QString s = QStringLiteral("%1: $%2, %3 %4")
                        .arg(Q(names_.at(i)))
                        .arg(s_.nFunds.at(i))
                        .arg(nLeft)
                        .arg(nLeft == 1 ? QStringLiteral("card") : QStringLiteral("cards"));
        if (lastCards_.at(i) == kPaid) {
            s += QStringLiteral(", paid the pot");
        } else if (lastCards_.at(i) >= 0) {
            s += QStringLiteral(", last card ") + Q(GetCardName(lastCards_.at(i)));
        }
        return s;
    }
    case Part::Pot:
        return QStringLiteral("Pot: $%1").arg(s_.nPot);
    case Part::Winnings:
        return QStringLiteral("Your total winnings: $%1").arg(g_.nWinnings);
    case Part::Status:
        return sStatus_;
    }
    return {};
}

QRect TableAccessibility::Rect(Part part, int n) const {
    const int nCards = HandCount();
    switch (part) {
    case Part::Hand:
        if (nCards == 0) {
            return {};
        }
        return table_.WidgetRect(QRectF(s_.nHandLeft, s_.nHandTop,
                                        (nCards - 1) * s_.nCardSpacing + kCardWidthTwips,
                                        kCardHeightTwips));
    case Part::Card: {
        if (n < 0 || n >= nCards) {
            return {};
        }
        const int nWidth = n == nCards - 1 ? kCardWidthTwips : s_.nCardSpacing;
        return table_.WidgetRect(
            QRectF(s_.nHandLeft + n * s_.nCardSpacing, s_.nHandTop, nWidth, kCardHeightTwips));
    }
    case Part::Row: {
        const int nSuit = kColumnSuits.at(n);
        return table_.WidgetRect(
            QRectF(GetCardLeft(nSuit), 0, kCardWidthTwips, GetCardTop(nSuit) + kCardHeightTwips));
    }
    case Part::Seat:
        return table_.WidgetRect(kSeatFrames.at(static_cast<std::size_t>(n)));
    case Part::Pot:
    case Part::Winnings: {
        const auto* pLabel = table_.findChild<QLabel*>(
            part == Part::Pot ? QStringLiteral("lblPot") : QStringLiteral("lblWinnings"));
        return pLabel != nullptr ? pLabel->geometry() : QRect();
    }
    case Part::Status:
        break;
    }
    return {};
}

void TableAccessibility::Send(QAccessibleInterface* pItem, int nEvent) const {
    if (pItem == nullptr) {
        return;
    }
    QAccessibleEvent event(pItem, static_cast<QAccessible::Event>(nEvent));
    QAccessible::updateAccessibility(&event);
}

void TableAccessibility::TouchPanels() const {
    for (int nSeat = 0; nSeat < 4; ++nSeat) {
        Send(Item(Part::Seat, nSeat), QAccessible::NameChanged);
    }
    Send(Item(Part::Pot, 0), QAccessible::NameChanged);
    Send(Item(Part::Winnings, 0), QAccessible::NameChanged);
}

void TableAccessibility::NotePlayerName(int nSeat, const std::string& sName) {
    names_.at(static_cast<std::size_t>(nSeat)) = sName;
    Send(Item(Part::Seat, nSeat), QAccessible::NameChanged);
}

void TableAccessibility::NoteLastCard(int nSeat, int nCard) {
    const int nLast = nCard == kPaidThePot ? kPaid : nCard == kNoLastCard ? -1 : nCard;
    lastCards_.at(static_cast<std::size_t>(nSeat)) = nLast;
    const QString sWho =
        nSeat == 3 ? QStringLiteral("You") : Q(names_.at(static_cast<std::size_t>(nSeat)));
    const bool bYou = nSeat == 3;
    if (nLast == kPaid) {
        Announce(sWho +
                 (bYou ? QStringLiteral(" pay the pot.") : QStringLiteral(" pays the pot.")));
    } else if (nLast >= 0) {
        Announce(sWho + (bYou ? QStringLiteral(" lay the ") : QStringLiteral(" lays the ")) +
                 Q(GetCardName(nLast)) + QLatin1Char('.'));
    } else {
        Send(Item(Part::Seat, nSeat), QAccessible::NameChanged);
    }
}

void TableAccessibility::NotePlayerFill(int nSeat, std::uint32_t nColour) {
    if (nSeat != 3 || nColour != kMarkerMoving) {
        return;
    }
    Announce(s_.bUserCanPlay
                 ? QStringLiteral("Your turn.")
                 : QStringLiteral("Your turn. No card can be laid: press P to pay the pot."));
}

void TableAccessibility::HandChanged() {
    std::vector<int> now = s_.nCardsLeft[3] > 0 ? s_.UserHand : std::vector<int>{};
    const std::size_t nOld = hand_.size();
    const std::size_t nNew = now.size();
    for (std::size_t i = 0; i < std::min(nOld, nNew); ++i) {
        if (now[i] != hand_[i]) {
            Send(Item(Part::Card, static_cast<int>(i)), QAccessible::NameChanged);
        }
    }
    for (std::size_t i = nNew; i < nOld; ++i) {
        Send(Item(Part::Card, static_cast<int>(i)), QAccessible::ObjectDestroyed);
    }
    for (std::size_t i = nOld; i < nNew; ++i) {
        Send(Item(Part::Card, static_cast<int>(i)), QAccessible::ObjectCreated);
    }
    if (nOld != nNew) {
        Send(Item(Part::Hand, 0), QAccessible::NameChanged);
        for (int n = 0; n < 4; ++n) {
            Send(Item(Part::Row, n), QAccessible::NameChanged);
        }
    }
    hand_ = std::move(now);
}

void TableAccessibility::FocusCard(int nIndex) {
    nFocused_ = nIndex;
    if (nIndex >= 0) {
        Send(Item(Part::Card, nIndex), QAccessible::Focus);
    } else if (table_.hasFocus()) {
        QAccessibleEvent event(&table_, QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
    }
}

void TableAccessibility::Announce(const QString& sText) {
    sStatus_ = sText;
    Send(Item(Part::Status, 0), QAccessible::NameChanged);
    if (nFocused_ >= 0) {
        Send(Item(Part::Card, nFocused_), QAccessible::DescriptionChanged);
    } else {
        QAccessibleEvent event(&table_, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&event);
    }
    TouchPanels();
}

} // namespace corvane
