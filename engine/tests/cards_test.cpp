#include "engine/cards.hpp"
#include "engine/mglobal.hpp"
#include "engine/twips.hpp"

#include <array>
#include <tuple>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace corvane {
namespace {

using ::testing::ElementsAre;

TEST(Cards, NamesLabelsPlacesAndPixels) {
    EXPECT_EQ(GetCardName(26), "Seven of Hearts");
    EXPECT_EQ(GetCardName(0), "Ace of Clubs");
    EXPECT_EQ(GetCardName(47), "Queen of Spades");
    EXPECT_EQ(GetCardName(52), "");
    EXPECT_EQ(GetCardLabel(37), "10");
    EXPECT_EQ(GetCardLabel(-1), "");
    // Spades stand left of Hearts; the Kings at the top, the Aces at the bottom.
    EXPECT_EQ(GetCardLeft(26), 6480);
    EXPECT_EQ(GetCardLeft(51), 5040);
    EXPECT_EQ(GetCardLeft(1), 3600);
    EXPECT_EQ(GetCardTop(26), 1560);
    EXPECT_EQ(GetCardTop(51), 0);
    EXPECT_EQ(GetCardLeft(52) + GetCardTop(-1), 0);
    // {twips, nearest pixel, truncated pixel}: both sides of zero and of a half.
    for (const auto& [nTwips, nNearest, nTruncated] : std::array<std::tuple<int, int, int>, 6>{
             {{0, 0, 0}, {7, 0, 0}, {8, 1, 0}, {1000, 67, 66}, {-7, 0, 0}, {-8, -1, 0}}}) {
        EXPECT_EQ(TwipsToPixels(nTwips), nNearest) << nTwips;
        EXPECT_EQ(TwipsToPixelsTruncated(nTwips), nTruncated) << nTwips;
    }
    EXPECT_EQ(PixelsToTwips(642), 9630);
}

TEST(Cards, SortCountRemoveAndMask) {
    std::vector<int> hand{2, 3, 6, 7, 10, 11, 14, 15, 18, 19, 22, 1, 0};
    SortIntoSuits(hand);
    EXPECT_THAT(hand, ElementsAre(0, 1, 3, 7, 11, 15, 19, 2, 6, 10, 14, 18, 22));
    std::vector<int> one{9};
    RemoveCard(one, 0);
    EXPECT_THAT(one, ElementsAre(9)) << "a one-card hand keeps its element";
    std::vector<int> five{1, 2, 3, 4, 5};
    RemoveCard(five, 4);
    RemoveCard(five, 0);
    RemoveCard(five, 7);
    EXPECT_THAT(five, ElementsAre(2, 3, 4));
    EXPECT_EQ(CountCards(0), 0);
    EXPECT_EQ(CountCards(kDeckMask), 52);
    EXPECT_EQ(CountCards(CardMask({0, 26, 51, 99, -1})), 3);
}

TEST(Globals, SkillLevelAndSeed) {
    MGlobal g;
    for (const auto& [sLevel, nLevel] :
         std::vector<std::pair<std::string, int>>{{"Hard", 2}, {"Medium", 1}, {"Easy", 0}}) {
        SetSkillLevel(g, sLevel);
        EXPECT_EQ(g.nSkillLevel, nLevel);
    }
    std::int32_t lSeed = 0;
    StoreTickCount(lSeed, 1234U);
    EXPECT_EQ(lSeed, 1234);
    StoreTickCount(lSeed, 0xFFFFFFFFU); // -1 as a signed count
    EXPECT_EQ(lSeed, 1);
    StoreTickCount(lSeed, 0x80000000U); // no positive counterpart
    EXPECT_GT(lSeed, 0);
}

} // namespace
} // namespace corvane
