// The retention-index window of the spectral search: references outside it stay out of the
// hitlist, spectra without an index always pass, the hitlist text shows both indices, and with
// the window off everything is as before.
#include <gtest/gtest.h>

#include "LibraryFiles.h"
#include "TestSupport.h"
#include "search/SearchCommands.h"
#include "search/SpectralSearch.h"

namespace kiv {
namespace {

using test::CScratchFolder;

// Four references with the same spectrum shape, more or less like the unknown (IM 41, 43).
const double kFeatures[4][2] = {{100, 0}, {100, 10}, {100, 20}, {100, 40}};
const double kIndices[4] = {1000, 1100, 0, 1012.5};

class RetentionWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        CBib bib;
        ASSERT_TRUE(bib.NewLibrary("refs", "MS", folder.Path("refs.ssd")));
        for (int i = 0; i < 4; ++i) {
            bib.record.Clear();
            bib.record.id = i + 1;
            bib.record.spectrum = test::PeakListSpectrum({{41, kFeatures[i][0]}, {43, kFeatures[i][1] + 1}});
            bib.record.spectrum.retentionIndex = kIndices[i];
            ASSERT_TRUE(bib.WriteBlock());
        }
        bib.CloseWrite();
        CMatrix features(4, 2);
        for (int i = 1; i <= 4; ++i) {
            for (int j = 1; j <= 2; ++j) features.Set(i, j, kFeatures[i - 1][j - 1]);
        }
        std::vector<std::string> lines{"IM 41,43"};
        CCdmFile cdm;
        cdm.Attach(features, lines);
        cdm.SetBibFileName(folder.Path("refs.ssd"));
        ASSERT_TRUE(cdm.Save("DOUBLE", folder.Path("refs.cdm"), 0, 0));
        cdm.WriteData();
        cdm.CloseWrite();
        ASSERT_TRUE(OpenCdmFeatures(reference, definitions, folder.Path("refs.cdm"), prompter, session));
        settings.ResetOnFirstUse();
        settings.noHits = 4;
        settings.delIdentHit1 = 0;
    }

    std::vector<int32_t> Search(double window, double unknownIndex)
    {
        CMatrix unknown(1, 2);
        unknown.Set(1, 1, 100);
        unknown.Set(1, 2, 0);
        settings.riWindow = window;
        CRetentionIndices indices;
        indices.unknowns = {unknownIndex};
        indices.references = RetentionIndicesOf(reference.bib, reference.cdm.Rows());
        SearchSimilar(hitlist, unknown, reference, settings, &indices);
        std::vector<int32_t> hits;
        for (int h = 1; h <= hitlist.referenceNumbers.Cols(); ++h) hits.push_back(hitlist.referenceNumbers.Get(1, h));
        return hits;
    }

    CScratchFolder folder;
    CHeadlessPrompter prompter;
    CRecordingSession session;
    CReferenceLibrary reference;
    FeatureDefinitionSet definitions;
    CParameters settings;
    Hitlist hitlist;
};

TEST_F(RetentionWindow, ReferencesOutsideTheWindowStayOut)
{
    EXPECT_EQ(RetentionIndicesOf(reference.bib, 5), (std::vector<double>{1000, 1100, 0, 1012.5, 0}));
    // Off: the order of similarity alone, and no indices in the hitlist.
    EXPECT_EQ(Search(0, 1005), (std::vector<int32_t>{1, 2, 3, 4}));
    EXPECT_EQ(hitlist.hitIndices.Rows(), 0);
    // On: reference 2 lies 95 away; reference 3 has no index and passes; 4 lies 7.5 away.
    EXPECT_EQ(Search(10, 1005), (std::vector<int32_t>{1, 3, 4, 0}));
    EXPECT_DOUBLE_EQ(hitlist.similarities.Get(1, 4), kNoHitSimilarity);
    EXPECT_EQ(Search(5, 1005), (std::vector<int32_t>{1, 3, 0, 0}));
    // An unknown without an index is compared with every reference.
    EXPECT_EQ(Search(5, 0), (std::vector<int32_t>{1, 2, 3, 4}));
}

TEST_F(RetentionWindow, HitlistTextShowsBothIndicesOnlyWithTheWindow)
{
    hitlist.unknownNumbers = CMatrixI(1, 1);
    hitlist.unknownNumbers.Set(1, 1, 7);
    Search(0, 1005);
    SaveHitlistText(hitlist, folder.Path("off.txt"), prompter, session);
    const std::string off = test::ReadBytes(folder.Path("off.txt"));
    EXPECT_NE(off.find("   HitRN\t SpecSim\r\n       1\t1.000000\r\n"), std::string::npos);
    Search(10, 1005);
    SaveHitlistText(hitlist, folder.Path("on.txt"), prompter, session);
    EXPECT_EQ(test::ReadBytes(folder.Path("on.txt")),
              "Hitlist\r\nUnknown from BIB \r\nHits from BIB \r\n\r\nUnknown 1 RN: 7\r\n"
              "   HitRN\t SpecSim\t   RIunk\t   RIhit\r\n"
              "       1\t1.000000\t  1005.0\t  1000.0\r\n"
              "       3\t0.980581\t  1005.0\t     0.0\r\n"
              "       4\t0.928477\t  1005.0\t  1012.5\r\n"
              "       0\t-99.000000\t  1005.0\t     0.0\r\n");
}

TEST_F(RetentionWindow, ParameterFileCarriesTheWindowOnlyWhenOn)
{
    CParameters parameters;
    parameters.ResetOnFirstUse();
    EXPECT_EQ(parameters.riWindow, 0);
    ASSERT_EQ(SaveParameters(parameters, folder.Path("off.ini"), 1, prompter), FileResult::Done);
    EXPECT_EQ(test::ReadBytes(folder.Path("off.ini")).find("RI Window"), std::string::npos);
    parameters.riWindow = 12.5;
    ASSERT_EQ(SaveParameters(parameters, folder.Path("on.ini"), 1, prompter), FileResult::Done);
    EXPECT_NE(test::ReadBytes(folder.Path("on.ini")).find("Sim Trans exp m=0\r\nRI Window=12.5\r\n"), std::string::npos);
    CParameters loaded;
    loaded.ResetOnFirstUse();
    ASSERT_EQ(LoadParameters(loaded, folder.Path("on.ini"), prompter), FileResult::Done);
    EXPECT_EQ(loaded.riWindow, 12.5);
}

}  // namespace
}  // namespace kiv
