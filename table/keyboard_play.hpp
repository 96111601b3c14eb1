// Playing without a mouse: Left, Right, Home and End move a highlight over the
// user's cards, Enter or Space lays the highlighted card by the very path a
// click on it takes, and P presses the pay-the-pot button. The highlight shows
// from the first of these keys in a hand, follows its card (or keeps its place
// when the card has left) and hides on a mouse click or a new deal.
#pragma once

#include "engine/game_state.hpp"

#include <functional>
#include <vector>

#include <QObject>

class QAbstractButton;

namespace corvane {

class TableView;

class KeyboardPlay final : public QObject {
    Q_OBJECT
public:
    // Watches the table (which takes the keyboard focus) and the button.
    KeyboardPlay(const GameState& state, TableView& table, QAbstractButton& payButton);

    // The highlighted position in the hand, or -1 while hidden.
    int Index() const { return nIndex_; }
    // The highlighted card, or -1.
    int Card() const;
    // The engine has drawn the hand anew.
    void HandDrawn();
    void Hide();

    // Called whenever the highlight appears, moves or hides.
    std::function<void()> onChanged;

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    // The cards the user still holds (none once the last one is laid).
    std::vector<int> Hand() const;
    bool OnKey(int nKey);
    void MoveTo(int nIndex);
    void LayHighlighted();

    const GameState& s_;
    TableView& table_;
    QAbstractButton& pay_;
    std::vector<int> hand_;
    int nIndex_ = -1;
};

} // namespace corvane
