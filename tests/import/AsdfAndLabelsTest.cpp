// The pieces of the JCAMP-DX reader on their own: the compressed ordinate forms and the label
// rules of the standard.
#include <gtest/gtest.h>

#include "ImportTestSupport.h"
#include "TestSupport.h"
#include "import/AsdfDecoder.h"
#include "import/JcampLabel.h"

namespace kiv::test {
namespace {

// The abscissa and every ordinate of a decoded line, the zeros written out.
std::vector<double> Values(const CAsdfLine& decoded)
{
    std::vector<double> values;
    if (decoded.valueCount == 0) return values;
    values.assign(decoded.valueCount, 0.0);
    values[0] = decoded.abscissa;
    for (size_t k = 0; k < decoded.pointCount; ++k) values[decoded.points[k].place] = decoded.points[k].value;
    return values;
}

std::vector<double> Decode(const std::string& line, bool* endsWithDifference = nullptr)
{
    CAsdfLine decoded;
    EXPECT_TRUE(DecodeAsdfLine(line, decoded)) << line;
    if (endsWithDifference) *endsWithDifference = decoded.endsWithDifference;
    return Values(decoded);
}

TEST(Asdf, EveryFormGivesTheSameOrdinates)
{
    // 1000 1020 1020 1020 990 -5, written in each form.
    const std::vector<double> expected = {100, 1000, 1020, 1020, 1020, 990, -5};
    EXPECT_EQ(Decode("100 1000 1020 1020 1020 990 -5"), expected);  // AFFN
    EXPECT_EQ(Decode("100+1000+1020+1020+1020+990-5"), expected);  // PAC
    EXPECT_EQ(Decode("100A000A020A020A020I90e"), expected);  // SQZ
    EXPECT_EQ(Decode("100A000A020UI90e"), expected);  // SQZ with DUP
    bool difference = false;
    EXPECT_EQ(Decode("100A000K0%%l0r95", &difference), expected);  // DIF
    EXPECT_TRUE(difference);
    EXPECT_EQ(Decode("100A000K0%Tl0r95", &difference), expected);  // DIF with DUP of the difference
    EXPECT_EQ(Decode("100 @ ? 1.5"), (std::vector<double>{100, 0, 0, 1.5}));
    EXPECT_EQ(Decode("100A000J0J0U", &difference), (std::vector<double>{100, 1000, 1010, 1020, 1030, 1040}));
    EXPECT_TRUE(difference);
    EXPECT_EQ(Decode("100A000J0@", &difference).size(), 4u);
    EXPECT_FALSE(difference);
}

TEST(Asdf, DamagedLinesAreRefused)
{
    CAsdfLine decoded;
    for (const char* line : {"100 # 5", "100 J5", "100 S", "100A0Z999999999", "100A1.2.3", "100 A0s99999999999999", "100 A0 $ 5"}) {
        EXPECT_FALSE(DecodeAsdfLine(line, decoded)) << line;
    }
}

TEST(JcampLabels, TheStandardsWayOfComparing)
{
    EXPECT_EQ(ParseJcampLine("##TITLE= 2-Chlorphenol  $$ from a web database").label, JcampLabel::Title);
    EXPECT_EQ(ParseJcampLine("##TITLE= 2-Chlorphenol  $$ from a web database").value, "2-Chlorphenol");
    EXPECT_EQ(ParseJcampLine("   ##Title=x").label, JcampLabel::Title);
    EXPECT_EQ(ParseJcampLine("##DATA TYPE=MASS SPECTRUM").label, JcampLabel::DataType);
    EXPECT_EQ(ParseJcampLine("##DataType=MASS SPECTRUM").label, JcampLabel::DataType);
    EXPECT_EQ(ParseJcampLine("##data_type=MASS SPECTRUM").label, JcampLabel::DataType);
    EXPECT_EQ(ParseJcampLine("##CAS REGISTRY NO=50-00-0").label, JcampLabel::CasNumber);
    EXPECT_EQ(ParseJcampLine("##CAS=50-00-0").label, JcampLabel::CasNumber);
    EXPECT_EQ(ParseJcampLine("##$RETENTION INDEX=412").label, JcampLabel::RetentionIndex);
    EXPECT_EQ(ParseJcampLine("##RETENTION_TIME=1.5").label, JcampLabel::RetentionTime);
    EXPECT_EQ(ParseJcampLine("##END NTUPLES=MASS SPECTRUM").label, JcampLabel::EndNTuples);
    EXPECT_EQ(ParseJcampLine("##END=").label, JcampLabel::End);
    EXPECT_EQ(ParseJcampLine("##XY_RASTER=").label, JcampLabel::XyRaster);
    EXPECT_EQ(ParseJcampLine("##NAMES=a").label, JcampLabel::Other);
    EXPECT_EQ(ParseJcampLine("##" + std::string(300, 'A') + "=1").label, JcampLabel::Other);
    EXPECT_EQ(ParseJcampLine("# TITLE=x").label, JcampLabel::None);
    EXPECT_EQ(ParseJcampLine("41,10").label, JcampLabel::None);
}

class JcampForms : public ::testing::Test {
protected:
    ReadBack Import(const std::string& text)
    {
        const std::string path = scratch.Path("in.jdx");
        WriteBytes(path, text);
        return ImportAndRead({path}, TextImportFormat::Jcamp, scratch.Path("out.ssd"));
    }
    CScratchFolder scratch;
    CRecordingReporter reporter;
};

TEST_F(JcampForms, ABadCheckOrdinateCostsItsSpectrum)
{
    const ReadBack lib = Import("##TITLE=bad check\n##NPOINTS=4\n##XYDATA=(X++(Y..Y))\n40A0J0\n42C\n##END=\n"
                                "##TITLE=good\n##NPOINTS=1\n##PEAK TABLE=(XY..XY)\n41,10\n##END=\n");
    EXPECT_EQ(reporter.messages, std::vector<std::string>{"Y check failed 42C (" + scratch.Path("in.jdx") + ", line 5)"});
    ASSERT_EQ(lib.blocks.size(), 1u);
    EXPECT_EQ(lib.blocks[0].name.name, "good");
}

TEST_F(JcampForms, NtuplesPagesWithMassAndIntensitySymbols)
{
    const ReadBack lib = Import("##TITLE=run\n##NTUPLES=MASS SPECTRUM\n##SYMBOL=M, I, RT\n##FACTOR=0.5, 2, 1\n"
                                "##FIRST=41, 0, 1\n##LAST=43, 0, 2\n"
                                "##PAGE=RT=1\n##NPOINTS=3\n##DATA TABLE= (M++(I..I)), XYDATA\n82 5 0 7\n"
                                "##PAGE=RT=2\n##NPOINTS=2\n##DATA TABLE= (MI..MI), PEAKS\n100 1 102 4\n"
                                "##END NTUPLES=MASS SPECTRUM\n##END=\n");
    EXPECT_TRUE(reporter.messages.empty());
    ASSERT_EQ(lib.blocks.size(), 2u);
    // The list factors scale both forms: masses by 0.5, intensities by 2.
    ASSERT_EQ(lib.blocks[0].spectrum.peaks.Cols(), 2);
    EXPECT_EQ(Mass(lib.blocks[0], 1), 41);
    EXPECT_EQ(Mass(lib.blocks[0], 2), 43);
    EXPECT_EQ(lib.blocks[0].spectrum.basePeakIntensity, 14u);
    EXPECT_NEAR(lib.blocks[1].spectrum.retentionTime, 2, 1e-9);
    EXPECT_EQ(Mass(lib.blocks[1], 2), 51);
}

TEST_F(JcampForms, ThousandsOfTablesUnderOneTitleAreThousandsOfSpectra)
{
    std::string text = "##TITLE=long run\n##DATA TYPE=MASS SPECTRUM\n";
    const int scans = 2420;
    for (int k = 1; k <= scans; ++k) {
        text += "##RETENTION_TIME=" + std::to_string(k) + "\n##NPOINTS=2\n##XYDATA=(XY..XY)\n41," + std::to_string(k) +
                " 43,5000\n";
    }
    text += "##END=\n";
    const ReadBack lib = Import(text);
    EXPECT_TRUE(reporter.messages.empty());
    ASSERT_EQ(lib.blocks.size(), static_cast<size_t>(scans));
    for (int k : {1, 1000, scans}) {
        const CBibRecord& r = lib.blocks[static_cast<size_t>(k - 1)];
        EXPECT_EQ(r.id, k);
        EXPECT_EQ(r.name.name, "long run");
        EXPECT_NEAR(r.spectrum.retentionTime, k, 1e-9);
        EXPECT_EQ(r.spectrum.basePeakIntensity, 5000u);
    }
}

TEST_F(JcampForms, ATableNeverHoldsMorePeaksThanALibrarySpectrum)
{
    std::string text = "##TITLE=huge\n##PEAK TABLE=(XY..XY)\n";
    for (int k = 1; k <= 65540; ++k) text += std::to_string(k) + ",1\n";
    text += "##END=\n";
    const ReadBack lib = Import(text);
    EXPECT_EQ(reporter.messages, std::vector<std::string>{"5 peaks beyond 65535 dropped (" + scratch.Path("in.jdx") + ", line 2)"});
    ASSERT_EQ(lib.blocks.size(), 1u);
    EXPECT_EQ(lib.blocks[0].spectrum.peaks.Cols(), 65535);
}

}  // namespace
}  // namespace kiv::test
