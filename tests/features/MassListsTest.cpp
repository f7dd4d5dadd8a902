#include <gtest/gtest.h>

#include "features/MassLists.h"

using namespace kiv;

using List = std::vector<int>;

TEST(MassLists, ListNotation)
{
    EXPECT_EQ(ParseMassList("64-66,90"), (List{64, 65, 66, 90}));
    EXPECT_EQ(ParseMassList("-5"), (List{1, 2, 3, 4, 5}));
    EXPECT_EQ(ParseMassList("66-64"), (List{64}));
    EXPECT_EQ(ParseMassList("0"), List{});
    EXPECT_EQ(ParseMassList(""), List{});
    EXPECT_EQ(ParseMassList("40,,50"), (List{40, 50}));
    EXPECT_EQ(ParseMassList("40 50,40"), (List{40, 50, 40}));  // no sorting, duplicates kept
    EXPECT_EQ(ParseMassList("64,"), (List{64}));  // a trailing separator adds nothing
    EXPECT_EQ(ParseMassList("64-"), (List{64}));
    EXPECT_EQ(ParseMassList("5-7-9"), (List{5, 6, 7, 8, 9}));
    EXPECT_EQ(ParseMassList("x,12"), (List{12}));
}

TEST(MassLists, RangeNotation)
{
    MassRanges r = ParseMassRanges("40/50,60/70");
    EXPECT_EQ(r.lower, (List{40, 60}));
    EXPECT_EQ(r.upper, (List{50, 70}));

    r = ParseMassRanges("64-66,90");
    EXPECT_EQ(r.lower, (List{64, 65, 66, 90}));
    EXPECT_EQ(r.upper, (List{64, 65, 66, 90}));

    // The upper end of a "/" range is not repeated as a single mass, not even at the end.
    r = ParseMassRanges("40/50,");
    EXPECT_EQ(r.lower, (List{40}));
    EXPECT_EQ(r.upper, (List{50}));
    r = ParseMassRanges("/5 7");
    EXPECT_EQ(r.lower, (List{1, 7}));
    EXPECT_EQ(r.upper, (List{5, 7}));

    // Reversed ranges stay as written (the mean then divides by a negative width).
    r = ParseMassRanges("50/40");
    EXPECT_EQ(r.lower, (List{50}));
    EXPECT_EQ(r.upper, (List{40}));
}

TEST(MassLists, HugeRangesAreBounded)
{
    List masses = ParseMassList("1-2000000000");
    ASSERT_EQ(masses.size(), 65536u);
    EXPECT_EQ(masses[65534], 65535);
    EXPECT_EQ(masses.back(), 2000000000);

    // Extreme integers are clamped to 32 bits, and "-" is always the range separator.
    EXPECT_EQ(ParseMassList("-99999999999").size(), 65536u);
    EXPECT_EQ(ParseMassList("0-0"), List{});
    EXPECT_EQ(ParseMassList("99999999999-5"), (List{5}));

    // However many ranges a line holds, a list stays within the limit.
    std::string many;
    for (int i = 0; i < 20; ++i) many += "1-65535,";
    EXPECT_EQ(ParseMassList(many).size(), kMaxMassListEntries);
    MassRanges r = ParseMassRanges(many);
    EXPECT_EQ(r.lower.size(), kMaxMassListEntries);
    EXPECT_EQ(r.upper.size(), kMaxMassListEntries);

    r = ParseMassRanges("1/2000000000,5-2000000000");
    EXPECT_EQ(r.lower.front(), 1);
    EXPECT_EQ(r.upper.front(), 2000000000);
    EXPECT_EQ(r.lower.size(), 1u + 65531u + 1u);
}
