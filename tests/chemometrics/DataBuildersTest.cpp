#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChemometricsTestSupport.h"
#include "LibraryFiles.h"
#include "ScriptedPrompter.h"
#include "TestSupport.h"
#include "base/Session.h"
#include "chemometrics/DataBuilders.h"
#include "matrix/CdmFile.h"

using namespace kiv;
using test::Rows;

namespace {

using Lines = std::vector<std::string>;

std::vector<int32_t> Index(const CMatrixI& m)
{
    return std::vector<int32_t>(m.Flat().begin(), m.Flat().end());
}

// A descriptor set of 8-bit objects, one byte each (bit c of the object = bit c of its byte).
void WriteDescriptors(const test::CScratchFolder& folder, const std::string& name, const std::string& bytes, int bits)
{
    test::WriteBytes(folder.Path(name + ".txt"), "structure descriptors\r\nObjs:" + std::to_string(bytes.size()) +
                                                     "\r\nBits:" + std::to_string(bits) + "\r\n");
    test::WriteBytes(folder.Path(name + ".bit"), bytes);
}

}  // namespace

TEST(DataBuilders, FeaturesOfTheLibrary)
{
    CBib bib;
    bib.header.blockCount = 3;
    FeatureDefinitionSet features;
    features.features = Rows({{1, 2}, {3, 4}, {5, 6}});
    CDataSet set;
    set.XMean = Rows({{9, 9}});
    set.XU = Rows({{10, 10}});
    test::CScriptedPrompter prompter;
    CRecordingSession session;
    UseBibFeaturesX(set, bib, features, prompter, session);
    EXPECT_EQ(session.log, (Lines{"Data Matrix 3 x 2 generated from BIB features"}));
    EXPECT_EQ(Index(set.XObj), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(Index(set.XFeat), (std::vector<int32_t>{1, 2}));
    // The old centring is taken back: the unknowns are raw again, no mean is left.
    EXPECT_EQ(set.XMean.Cols(), 0);
    EXPECT_EQ(set.XU.Get(1, 1), 19.0);

    bib.selection.Alloc(1, 2);
    bib.selection.SetFlat(1, 3);
    bib.selection.SetFlat(2, 1);
    UseSelectedBibFeaturesX(set, bib, features, prompter, session);
    EXPECT_EQ(set.X.Get(1, 2), 6.0);
    EXPECT_EQ(set.X.Get(2, 1), 1.0);
    EXPECT_EQ(Index(set.XObj), (std::vector<int32_t>{3, 1}));
    // Features that do not cover every record are not used.
    bib.header.blockCount = 4;
    UseSelectedBibFeaturesX(set, bib, features, prompter, session);
    EXPECT_EQ(set.X.Rows(), 2);
}

TEST(DataBuilders, SpectraReadFromTheLibrary)
{
    test::CScratchFolder folder;
    ASSERT_TRUE(test::WriteTestLibrary(folder.Path("lib"), {{{41, 50}, {43, 100}}, {{15, 100}, {120, 70}}}));
    CBib bib;
    ASSERT_TRUE(test::OpenTestLibrary(bib, folder.Path("lib")));
    bib.parameters.msmMaxMass = 60;
    CDataSet set;
    CRecordingSession session;
    UseBibSpectraX(set, bib, session);
    EXPECT_EQ(session.log, (Lines{"Data Matrix 2 x 60 generated from BIB MS"}));
    EXPECT_DOUBLE_EQ(set.X.Get(1, 43), 100.0);
    EXPECT_DOUBLE_EQ(set.X.Get(1, 41), 50.0);
    EXPECT_DOUBLE_EQ(set.X.Get(2, 15), 100.0);
    EXPECT_EQ(set.XFeat.GetFlat(60), -60);
}

TEST(DataBuilders, SpectralSimilaritySearchHits)
{
    test::CScratchFolder folder;
    CReferenceLibrary reference;
    CMatrix referenceFeatures = Rows({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}});
    CCdmFile writer;
    writer.Attach(referenceFeatures);
    ASSERT_TRUE(writer.Save("DOUBLE", folder.Path("ref.cdm"), 0, 0));
    writer.WriteData();
    writer.CloseWrite();
    ASSERT_EQ(reference.cdm.Load(folder.Path("ref.cdm")), CdmLoad::Cdm);
    reference.bib.header.blockCount = 4;
    WriteDescriptors(folder, "ref", std::string("\x01\x02\x04\x08", 4), 8);
    test::CScriptedPrompter prompter;
    ASSERT_EQ(reference.descriptors.OpenDescriptors(folder.Path("ref.txt"), prompter), 1);
    reference.descriptors.ReadObjects(0);

    CBib unknownBib;
    unknownBib.header.blockCount = 2;
    FeatureDefinitionSet unknownFeatures;
    unknownFeatures.features = Rows({{0.5, 0.25, 0.125}});
    DescriptorSet unknownDescriptors;
    WriteDescriptors(folder, "unk", std::string("\x10\x81", 2), 8);
    ASSERT_EQ(unknownDescriptors.OpenDescriptors(folder.Path("unk.txt"), prompter), 1);

    Hitlist hitlist;
    hitlist.similarities = Rows({{0.9, 0.8, -99}});
    hitlist.referenceNumbers.Alloc(1, 3);
    hitlist.referenceNumbers.SetFlat(1, 3);
    hitlist.referenceNumbers.SetFlat(2, 1);
    hitlist.unknownNumbers.Alloc(1, 1);
    hitlist.unknownNumbers.Set(1, 1, 2);

    CDataSet set;
    set.YMean = Rows({{1}});
    CRecordingSession session;
    UseSpecSimSearchXY(set, hitlist, reference, {unknownBib, unknownFeatures, unknownDescriptors}, session);
    EXPECT_EQ(session.log, (Lines{"X Data Matrix 2 x 3 generated", "XU Data Matrix 1 x 3 generated",
                                  "Y Data Matrix 2 x 8 generated", "YU Data Matrix 1 x 8 generated"}));
    EXPECT_EQ(set.X.Get(1, 3), 9.0);
    EXPECT_EQ(set.X.Get(2, 1), 1.0);
    EXPECT_EQ(Index(set.XObj), (std::vector<int32_t>{-3, -1}));
    EXPECT_EQ(Index(set.XFeat), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(set.XU.Get(1, 2), 0.25);
    EXPECT_EQ(Index(set.XUObj), (std::vector<int32_t>{2}));
    EXPECT_EQ(set.Y.Get(1, 3), 1.0);  // object 3: bit 2
    EXPECT_EQ(set.Y.Get(2, 1), 1.0);  // object 1: bit 0
    EXPECT_EQ(set.Y.Sum(), 2.0);
    EXPECT_EQ(set.YU.Get(1, 1), 1.0);  // unknown object 2: bits 0 and 7
    EXPECT_EQ(set.YU.Get(1, 8), 1.0);
    EXPECT_EQ(set.YMean.Cols(), 0);

    // Descriptors of the unknowns that do not belong to them, or of another length.
    test::CRecordingReporter reporter;
    unknownBib.header.blockCount = 5;
    UseSpecSimSearchXY(set, hitlist, reference, {unknownBib, unknownFeatures, unknownDescriptors}, session);
    unknownBib.header.blockCount = 2;
    WriteDescriptors(folder, "six", std::string("\x01\x02", 2), 6);
    DescriptorSet sixBits;
    ASSERT_EQ(sixBits.OpenDescriptors(folder.Path("six.txt"), prompter), 1);
    UseSpecSimSearchXY(set, hitlist, reference, {unknownBib, unknownFeatures, sixBits}, session);
    EXPECT_EQ(reporter.messages, (Lines{"Wrong Descriptors for Unknown!", "Descriptors: Library != Unknown"}));
    EXPECT_EQ(set.YU.Rows(), 0);

    // Every object of the descriptor set as Y.
    set.YMean = Rows({{1, 1, 1, 1, 1, 1, 1, 1}});
    UseDescriptorsYCommand(set, reference.descriptors, session);
    EXPECT_EQ(set.Y.Rows(), 4);
    EXPECT_EQ(set.Y.Get(4, 4), 1.0);
    EXPECT_EQ(Index(set.YFeat), (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(set.YMean.Cols(), 0);

    // No hits: nothing happens.
    Hitlist empty;
    session.log.clear();
    UseSpecSimSearchXY(set, empty, reference, {unknownBib, unknownFeatures, unknownDescriptors}, session);
    EXPECT_TRUE(session.log.empty());
}
