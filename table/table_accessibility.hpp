// What a screen reader is told about the table: the user's hand card by card,
// the four rows, the seats, the pot, the winnings and a status line that
// announces what happens. The names are made from the game's state as a person
// would say them ("Six of Hearts", "Hearts, Ace to Eight", "Ann: $195, 12
// cards, last card Seven of Spades"). The table view's accessible interface
// shows them as children; this object, a child of the view, holds the words.
#pragma once

#include "engine/game_state.hpp"
#include "engine/mglobal.hpp"
#include "engine/table_port.hpp"

#include <array>
#include <map>
#include <string>
#include <vector>

#include <QObject>
#include <QRect>
#include <QString>

class QAccessibleInterface;

namespace corvane {

class TableView;

class TableAccessibility final : public QObject {
    Q_OBJECT
public:
    // The kinds of things on the table a screen reader meets, in their order.
    enum class Part { Hand, Card, Row, Seat, Pot, Winnings, Status };

    TableAccessibility(const GameState& state, const MGlobal& g, TableView& table);
    ~TableAccessibility() override;
    TableAccessibility(const TableAccessibility&) = delete;
    TableAccessibility& operator=(const TableAccessibility&) = delete;
    TableAccessibility(TableAccessibility&&) = delete;
    TableAccessibility& operator=(TableAccessibility&&) = delete;

    // Makes the table views of the program speak through this class; done
    // before the first view is made.
    static void InstallFactory();
    // The words of the table view pView, or null.
    static const TableAccessibility* Of(const QObject* pView);
    // The accessible object of a part, kept for the view's lifetime.
    QAccessibleInterface* Item(Part part, int n) const;

    int HandCount() const;
    QString Name(Part part, int n) const;
    // Where the part stands, in the view's coordinates.
    QRect Rect(Part part, int n) const;
    // The card of the keyboard highlight, or -1.
    int FocusedCard() const { return nFocused_; }
    QString Status() const { return sStatus_; }

    // What the port showed, for the words that the state does not keep.
    void NotePlayerName(int nSeat, const std::string& sName);
    // The last card a seat laid, or kNoLastCard, or kPaidThePot.
    void NoteLastCard(int nSeat, int nCard);
    // The turn marker of a seat: the user's turn is announced.
    void NotePlayerFill(int nSeat, std::uint32_t nColour);
    // The hand was drawn anew: cards that left or came are told.
    void HandChanged();
    // The keyboard highlight moved to card nIndex of the hand (-1: hidden).
    void FocusCard(int nIndex);
    // Puts a sentence on the status line and tells whoever listens.
    void Announce(const QString& sText);

private:
    void Send(QAccessibleInterface* pItem, int nEvent) const;
    // The seats', the pot's and the winnings' names may all have changed.
    void TouchPanels() const;

    const GameState& s_;
    const MGlobal& g_;
    TableView& table_;
    std::array<std::string, 4> names_;
    // Each seat's last card, kPaid after paying the pot, -1 before either.
    std::array<int, 4> lastCards_{-1, -1, -1, -1};
    std::vector<int> hand_;
    int nFocused_ = -1;
    QString sStatus_;
    // The parts' interfaces, made when first asked for.
    mutable std::map<int, QAccessibleInterface*> items_;
};

} // namespace corvane
