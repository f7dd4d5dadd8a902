#include <gtest/gtest.h>

#include "TestSupport.h"
#include "search/Hitlist.h"

using namespace kiv;
using kiv::test::CScratchFolder;
using kiv::test::ReadBytes;

TEST(Hitlist, InsertionKeepsFallingOrderAndEarlierTies)
{
    double s[4] = {kNoHitSimilarity, kNoHitSimilarity, kNoHitSimilarity, kNoHitSimilarity};
    int32_t r[4] = {0, 0, 0, 0};
    InsertHit(s, r, 4, -99.0, 1);  // never enters
    InsertHit(s, r, 4, -150.0, 2);
    EXPECT_EQ(r[0], 0);
    InsertHit(s, r, 4, 0.5, 3);
    InsertHit(s, r, 4, 0.9, 4);
    InsertHit(s, r, 4, 0.5, 5);  // equal to reference 3: behind it
    InsertHit(s, r, 4, 0.7, 6);
    EXPECT_EQ((std::vector<int32_t>(r, r + 4)), (std::vector<int32_t>{4, 6, 3, 5}));
    InsertHit(s, r, 4, 0.5, 7);  // ties the last one: does not push it out
    InsertHit(s, r, 4, 0.95, 8);  // the last hit drops out
    EXPECT_EQ((std::vector<int32_t>(r, r + 4)), (std::vector<int32_t>{8, 4, 6, 3}));
    EXPECT_EQ((std::vector<double>(s, s + 4)), (std::vector<double>{0.95, 0.9, 0.7, 0.5}));
}

TEST(Hitlist, FilesHaveTheirLayout)
{
    CScratchFolder folder;
    Hitlist hitlist;
    hitlist.similarities.Alloc(2, 2);
    hitlist.referenceNumbers.Alloc(2, 2);
    hitlist.unknownNumbers.Alloc(2, 1);
    hitlist.similarities.Set(1, 1, 0.987654321);
    hitlist.similarities.Set(1, 2, kNoHitSimilarity);
    hitlist.similarities.Set(2, 1, 0.5);
    hitlist.similarities.Set(2, 2, 0.25);
    hitlist.referenceNumbers.Set(1, 1, 17);
    hitlist.referenceNumbers.Set(2, 1, 3);
    hitlist.referenceNumbers.Set(2, 2, 123456);
    hitlist.unknownNumbers.Set(1, 1, 5);
    hitlist.unknownNumbers.Set(2, 1, 6);
    hitlist.unknownBibName = "unknowns.ssd";
    hitlist.referenceBibName = "refs.ssd";
    hitlist.currentUnknown = 2;

    CHeadlessPrompter prompter;
    CRecordingSession session;
    SaveHitlistRecordNumbers(hitlist, folder.Path("rn.txt"), prompter, session);
    EXPECT_EQ(ReadBytes(folder.Path("rn.txt")), "     3\r\n123456\r\n");
    EXPECT_EQ(session.status.back(), "Hitlist RNs saved.");
    SaveHitlistRecordNumbers(hitlist, "", prompter, session);  // no file chosen: still the status
    EXPECT_EQ(session.status.size(), 2u);

    SaveHitlistText(hitlist, folder.Path("hits.txt"), prompter, session);
    EXPECT_EQ(ReadBytes(folder.Path("hits.txt")),
              "Hitlist\r\nUnknown from BIB unknowns.ssd\r\nHits from BIB refs.ssd\r\n"
              "\r\nUnknown 1 RN: 5\r\n   HitRN\t SpecSim\r\n      17\t0.987654\r\n       0\t-99.000000\r\n"
              "\r\nUnknown 2 RN: 6\r\n   HitRN\t SpecSim\r\n       3\t0.500000\r\n  123456\t0.250000\r\n");
    EXPECT_EQ(session.status.back(), "Hitlist Text saved.");
}
