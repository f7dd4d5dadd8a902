// The library-building steps of the batch tasks.
#include <gtest/gtest.h>

#include "ImportTestSupport.h"
#include "base/Paths.h"
#include "import/LibraryImport.h"
#include "TestSupport.h"

namespace kiv::test {
namespace {

std::string Spectrum(const std::string& name, int mass)
{
    return "##TITLE=" + name + "\n##NPOINTS=1\n##PEAK TABLE=(XY..XY)\n" + std::to_string(mass) + ",10\n##END=\n";
}

TEST(ImportTasks, JcampImportBuildsTheLibraryOfBibFile)
{
    CScratchFolder scratch;
    CRecordingReporter reporter;
    const std::string a = scratch.Path("a.jdx"), b = scratch.Path("b.jdx"), c = scratch.Path("c.jdx");
    WriteBytes(a, Spectrum("one", 41) + Spectrum("two", 42));
    WriteBytes(b, Spectrum("three", 43));
    WriteBytes(c, Spectrum("four", 44));
    const std::string bibFile = scratch.Path("lib.ssd");
    WriteBytes(scratch.Path("lib.ssi"), "stale index");
    CBib bib;
    EXPECT_TRUE(RunLibraryImport(bib, ImportKind::Jcamp, {a, b, c}, bibFile).completed);
    EXPECT_EQ(bib.writeState, 0);
    EXPECT_FALSE(FileExists(scratch.Path("lib.ssi")) && ReadBytes(scratch.Path("lib.ssi")) == "stale index");
    const ReadBack lib = ReadLibrary(bibFile);
    EXPECT_EQ(lib.header.title, "lib");
    EXPECT_EQ(lib.header.typ, "MS-Lib");
    ASSERT_EQ(lib.blocks.size(), 4u);
    EXPECT_EQ(lib.blocks[2].name.name, "three");
    EXPECT_EQ(lib.blocks[3].id, 4);  // the spectrum counter runs over all files

    // The import before a feature generation makes an "MS" library; other kinds leave it alone.
    EXPECT_TRUE(ImportForFeatureGeneration(bib, ImportKind::Jcamp, {c}, bibFile).completed);
    EXPECT_EQ(ReadLibrary(bibFile).header.typ, "MS");
    EXPECT_TRUE(ImportForFeatureGeneration(bib, ImportKind::CosCalib, {a}, bibFile).completed);
    EXPECT_EQ(ReadLibrary(bibFile).blocks.size(), 1u);
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_EQ(BatchLibraryName("C:\\data\\run.ssd"), "run");
}

TEST(ImportTasks, CosCalibImportWritesTheMemoryLibrary)
{
    CScratchFolder scratch;
    const std::string list = scratch.Path("cal.txt");
    WriteBytes(list, "inorganic/organic peaklist\n28 0 50\n32 0 100\n");
    const std::string bibFile = scratch.Path("cal.ssd");
    CBib bib;
    EXPECT_TRUE(RunLibraryImport(bib, ImportKind::CosCalib, {list, list}, bibFile).completed);
    const ReadBack lib = ReadLibrary(bibFile);
    EXPECT_EQ(lib.header.title, "CosCalib Import");
    ASSERT_EQ(lib.blocks.size(), 2u);
    EXPECT_EQ(lib.blocks[1].spectrum.basePeakMass, 32);
    EXPECT_EQ(lib.blocks[1].spectrum.peaks.Get(2, 28), 50);
}

}  // namespace
}  // namespace kiv::test
