#include <gtest/gtest.h>

#include <cmath>

#include "LibraryFiles.h"
#include "TestSupport.h"
#include "search/SearchCommands.h"
#include "search/SpectralSearch.h"

using namespace kiv;
using kiv::test::CRecordingReporter;
using kiv::test::CScratchFolder;
using kiv::test::ReadBytes;
using kiv::test::WriteBytes;

namespace {

// Intensities at masses 41, 43, 55 and 57 of eight reference spectra; reference 7 is the one
// the unknown equals, reference 2 has the same cosine as reference 5.
const double kReferences[8][4] = {{100, 0, 0, 0}, {0, 100, 50, 0}, {0, 0, 0, 100}, {50, 50, 50, 50},
                                  {0, 100, 50, 0}, {10, 0, 100, 0}, {20, 100, 40, 0}, {100, 100, 0, 0}};
const double kMasses[4] = {41, 43, 55, 57};

void WriteLibrary(const std::string& path, int count, const double (*spectra)[4])
{
    std::vector<kiv::test::LibraryPeaks> peaks(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        for (int j = 0; j < 4; ++j) {
            if (spectra[i][j] > 0) peaks[static_cast<size_t>(i)].push_back({kMasses[j], spectra[i][j]});
        }
    }
    ASSERT_TRUE(kiv::test::WriteTestLibrary(path, peaks));
}

// The reference CDM: the features "IM 41,43,55,57" of every reference, in double precision.
void WriteCdm(const std::string& path, const std::string& bibPath, int rows)
{
    CMatrix features(rows, 4);
    for (int i = 1; i <= rows; ++i) {
        for (int j = 1; j <= 4; ++j) features.Set(i, j, kReferences[i - 1][j - 1]);
    }
    std::vector<std::string> lines{"IM 41,43,55,57"};
    CCdmFile cdm;
    cdm.Attach(features, lines);
    cdm.SetBibFileName(bibPath);
    ASSERT_TRUE(cdm.Save("DOUBLE", path, 0, 0));
    cdm.WriteData();
    cdm.CloseWrite();
}

class SpectralSearch : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteLibrary(folder.Path("refs.ssd"), 8, kReferences);
        WriteCdm(folder.Path("refs.cdm"), folder.Path("refs.ssd"), 8);
        unknowns.parameters.ResetOnFirstUse();
    }

    void OpenReference(const std::string& cdm = "refs.cdm")
    {
        ASSERT_TRUE(OpenCdmFeatures(reference, definitions, folder.Path(cdm), prompter, session));
        reference.cdm.SetBlockSize(3);  // several blocks, the last one short
    }

    // The unknown: a one-row feature matrix.
    CMatrix Unknown(const double (&intensities)[4])
    {
        CMatrix x(1, 4);
        for (int j = 1; j <= 4; ++j) x.Set(1, j, intensities[j - 1]);
        return x;
    }

    CScratchFolder folder;
    CHeadlessPrompter prompter;
    CRecordingSession session;
    CReferenceLibrary reference;
    FeatureDefinitionSet definitions;
    CBib unknowns;
    Hitlist hitlist;
};

}  // namespace

TEST_F(SpectralSearch, OpeningTheReferenceLibrary)
{
    WriteBytes(folder.Path("refs-strrow.txt"), "descriptors\r\nObjs:8\r\nBits:8\r\n");
    WriteBytes(folder.Path("refs-strrow.bit"), "12345678");
    OpenReference();
    EXPECT_EQ(session.status.back(), "CDM & Descriptors opened");
    EXPECT_EQ(definitions.lines, std::vector<std::string>{"IM 41,43,55,57"});
    EXPECT_EQ(definitions.definitionFile, "CDM");
    ASSERT_EQ(session.log.size(), 4u);
    EXPECT_EQ(session.log[1], "Reference BIB2 " + folder.Path("refs.ssd") + " 8 blocks opened.");
    EXPECT_EQ(session.log[2], "Feature Definition 1 lines loaded.");
    EXPECT_EQ(session.log[3], "Descriptors " + folder.Path("refs-strrow.txt") + " 8 objects opened.");

    EXPECT_FALSE(OpenCdmFeatures(reference, definitions, folder.Path("missing.cdm"), prompter, session));
    EXPECT_EQ(definitions.lines.size(), 1u);  // nothing changed
}

TEST_F(SpectralSearch, HitsInOrderWithTiesAndEmptyRanks)
{
    OpenReference();
    EXPECT_EQ(session.status.back(), "CDM ok, no Descriptors");
    CParameters settings = unknowns.parameters;
    settings.noHits = 10;
    settings.delIdentHit1 = 0;
    CMatrix x = Unknown(kReferences[6]);
    ASSERT_EQ(SearchSimilar(hitlist, x, reference, settings), 1);
    ASSERT_EQ(hitlist.similarities.Cols(), 10);
    EXPECT_EQ(hitlist.referenceNumbers.Get(1, 1), 7);
    EXPECT_DOUBLE_EQ(hitlist.similarities.Get(1, 1), 1.0);
    EXPECT_EQ(hitlist.referenceNumbers.Get(1, 2), 2);  // equal cosine: reference 2 before 5
    EXPECT_EQ(hitlist.referenceNumbers.Get(1, 3), 5);
    EXPECT_EQ(hitlist.referenceNumbers.Get(1, 9), 0);  // only eight references
    EXPECT_EQ(hitlist.similarities.Get(1, 9), kNoHitSimilarity);

    // The identical reference is dropped and the lists still hold "No Hits" ranks.
    settings.delIdentHit1 = 1;
    settings.noHits = 3;
    x = Unknown(kReferences[6]);
    SearchSimilar(hitlist, x, reference, settings);
    ASSERT_EQ(hitlist.referenceNumbers.Cols(), 3);
    EXPECT_EQ(hitlist.referenceNumbers.Get(1, 1), 2);
    EXPECT_EQ(hitlist.referenceNumbers.Get(1, 2), 5);
}

TEST_F(SpectralSearch, TransformAndFeatureSelection)
{
    OpenReference();
    CParameters settings = unknowns.parameters;
    settings.noHits = 2;
    settings.delIdentHit1 = 0;
    settings.simTransExpI = 0.5;
    settings.simFeatSel = {1, 4, 50};  // 50 is beyond the four columns: dropped for this search
    const double unknown[4] = {64, 100, 0, 36};
    CMatrix x = Unknown(unknown);
    SearchSimilar(hitlist, x, reference, settings);
    EXPECT_DOUBLE_EQ(x.Get(1, 1), 80.0);  // sqrt(64) * 10: the unknowns stay transformed
    EXPECT_DOUBLE_EQ(x.Get(1, 4), 60.0);
    // Over masses 41 and 57 only, (80, 60) is closest to reference 4 (70.7, 70.7).
    EXPECT_EQ(hitlist.referenceNumbers.Get(1, 1), 4);
    EXPECT_NEAR(hitlist.similarities.Get(1, 1), (80 + 60) / (100 * std::sqrt(2.0)), 1e-12);
    EXPECT_EQ(settings.simFeatSel.size(), 3u);
}

TEST_F(SpectralSearch, CurrentSpectrumCommand)
{
    unknowns.parameters.noHits = 3;
    SearchCurrentSpectrum(unknowns, definitions, reference, hitlist, prompter, session);
    EXPECT_EQ(session.status.back(), "Load CDM first!");

    OpenReference();
    WriteLibrary(folder.Path("unknowns.ssd"), 8, kReferences);
    ASSERT_EQ(unknowns.Open(folder.Path("unknowns.ssd")), FileResult::Done);
    unknowns.OpenIndex();
    unknowns.ReadHeader();
    unknowns.SelectBlock(7);
    SearchCurrentSpectrum(unknowns, definitions, reference, hitlist, prompter, session);
    EXPECT_EQ(hitlist.unknownNumbers.Get(1, 1), 7);
    // The unknown is reference 7 itself: dropped by "Del ident Hit1".
    EXPECT_EQ(session.log, std::vector<std::string>{"Ref #2 Sim   0.980"});
    EXPECT_EQ(session.status.back().substr(0, 21), "Spec Sim Search done ");
    EXPECT_EQ(session.pages.back(), 3);

    SearchWholeBib(unknowns, definitions, reference, hitlist, prompter, session);
    EXPECT_EQ(session.log, std::vector<std::string>{"Spectral Similarity Search done for 8 Unknown."});
    ASSERT_EQ(hitlist.similarities.Rows(), 8);
    EXPECT_EQ(hitlist.unknownNumbers.Get(8, 1), 8);
    EXPECT_EQ(hitlist.referenceNumbers.Get(7, 1), 2);  // each unknown's own record dropped
    EXPECT_EQ(hitlist.referenceNumbers.Get(2, 1), 5);  // 2 and 5 are equal: each finds the other

    hitlist.currentUnknown = 7;
    SaveHitlistToBib(hitlist, reference, folder.Path("hits.ssd"), session);
    EXPECT_EQ(session.status.back(), "BIB of Hitlist saved.");
    CBib hits;
    ASSERT_EQ(hits.Open(folder.Path("hits.ssd")), FileResult::Done);
    hits.OpenIndex();
    hits.ReadHeader();
    EXPECT_EQ(hits.header.blockCount, 3);
    hits.SelectBlock(1);
    EXPECT_EQ(hits.record.id, 2);
}

TEST_F(SpectralSearch, TruncatedCdmIsSearchedAsFarAsItGoes)
{
    std::string bytes = ReadBytes(folder.Path("refs.cdm"));
    WriteBytes(folder.Path("cut.cdm"), bytes.substr(0, bytes.size() - 8 * 4 * 4));  // four rows lost
    CRecordingReporter reporter;
    OpenReference("cut.cdm");
    EXPECT_EQ(reporter.messages.size(), 1u);
    CParameters settings = unknowns.parameters;
    settings.noHits = 8;
    settings.delIdentHit1 = 0;
    CMatrix x = Unknown(kReferences[6]);
    SearchSimilar(hitlist, x, reference, settings);
    int found = 0;
    for (int h = 1; h <= 8; ++h) found += hitlist.referenceNumbers.Get(1, h) > 0;
    EXPECT_EQ(found, 4);
}
