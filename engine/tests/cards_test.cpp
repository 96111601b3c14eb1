#include "engine/cards.hpp"
#include "engine/mglobal.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace corvane {
namespace {

using ::testing::ElementsAre;

TEST(Cards, NamesAndLabels) {
    EXPECT_EQ(GetCardName(26), "Seven of Hearts");
    EXPECT_EQ(GetCardName(3), "Ace of Spades");
    EXPECT_EQ(GetCardName(44), "Queen of Clubs");
    EXPECT_EQ(GetCardName(0), "Ace of Clubs");
    EXPECT_EQ(GetCardName(51), "King of Spades");
    EXPECT_EQ(GetCardLabel(37), "10");
    EXPECT_EQ(GetCardLabel(40), "J");
    EXPECT_EQ(GetCardLabel(2), "A");
    EXPECT_EQ(GetCardName(52), "");
}

TEST(Cards, SortCardsAscending) {
    std::vector<int> cards{51, 0, 26};
    SortCards(cards);
    EXPECT_THAT(cards, ElementsAre(0, 26, 51));
    std::vector<int> one{7};
    SortCards(one);
    EXPECT_THAT(one, ElementsAre(7));
}

TEST(Cards, SortIntoSuitsAlternatesColours) {
    // Two of Clubs, and the Ace, Seven and King of Hearts among thirteen cards.
    std::vector<int> hand{4, 2, 26, 50, 1, 5, 3, 7, 11, 0, 8, 12, 9};
    SortCards(hand);
    SortIntoSuits(hand);
    EXPECT_THAT(hand, ElementsAre(0, 4, 8, 12, 1, 5, 9, 3, 7, 11, 2, 26, 50));
    std::vector<int> redBlack{2, 3, 6, 7, 10, 11, 14, 15, 18, 19, 22, 23, 26};
    SortIntoSuits(redBlack);
    EXPECT_THAT(redBlack, ElementsAre(3, 7, 11, 15, 19, 23, 2, 6, 10, 14, 18, 22, 26));
}

TEST(Cards, RemoveCardKeepsTheLastElement) {
    std::vector<int> one{9};
    RemoveCard(one, 0);
    EXPECT_THAT(one, ElementsAre(9));
    std::vector<int> five{1, 2, 3, 4, 5};
    RemoveCard(five, 4);
    EXPECT_THAT(five, ElementsAre(1, 2, 3, 4));
    RemoveCard(five, 0);
    EXPECT_THAT(five, ElementsAre(2, 3, 4));
    RemoveCard(five, 7); // out of range changes nothing
    EXPECT_THAT(five, ElementsAre(2, 3, 4));
}

TEST(Cards, PlacesOnTheTable) {
    EXPECT_EQ(GetCardLeft(26), 6480);
    EXPECT_EQ(GetCardTop(26), 1560);
    EXPECT_EQ(GetCardLeft(51), 5040);
    EXPECT_EQ(GetCardTop(51), 0);
    EXPECT_EQ(GetCardTop(0), 3120);
    EXPECT_EQ(GetCardLeft(1), 3600);
    EXPECT_EQ(GetCardLeft(52), 0);
    EXPECT_EQ(GetCardTop(-1), 0);
}

TEST(Globals, SkillLevelAndSeed) {
    MGlobal g;
    SetSkillLevel(g, "Hard");
    EXPECT_EQ(g.nSkillLevel, 2);
    SetSkillLevel(g, "Medium");
    EXPECT_EQ(g.nSkillLevel, 1);
    SetSkillLevel(g, "Easy");
    EXPECT_EQ(g.nSkillLevel, 0);

    std::int32_t lSeed = 0;
    StoreTickCount(lSeed, 1234U);
    EXPECT_EQ(lSeed, 1234);
    StoreTickCount(lSeed, 0xFFFFFFFFU); // -1 as a signed count
    EXPECT_EQ(lSeed, 1);
    StoreTickCount(lSeed, 0x80000000U); // no positive counterpart
    EXPECT_NE(lSeed, 0);
    EXPECT_GT(lSeed, 0);
}

} // namespace
} // namespace corvane
