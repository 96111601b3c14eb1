// The sounds of the game, by what they mean. Which wave resource plays for each
// is the table's business (table/sound_names).
#pragma once

namespace corvane {

enum class Sound {
    WrongCard,    // a card that may not be laid, or none to lay
    MustPlay,     // the pay-the-pot button while a card can be laid
    PlayCard,     // the user lays a card
    PayPot,       // the user pays the pot
    OtherPlayers, // an opponent lays a card
    UserWon,      // the standings after a hand or game the user won
    OtherWon,     // ... one an opponent won
    SoundOn,
    SoundOff,
    HighScore,
    OverPlayer1, // the pointer enters the left, top or right seat's corner
    OverPlayer2,
    OverPlayer3,
    OverPot, // ... or the pot
};

} // namespace corvane
