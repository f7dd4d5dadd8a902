#include <gtest/gtest.h>

#include <filesystem>

#include "NetcdfRunWriter.h"
#include "TestSupport.h"
#include "base/Session.h"
#include "gcms/RunCommands.h"
#include "import/netcdf/NetcdfImport.h"
#include "import/LibraryImport.h"
#include "import/netcdf/NetcdfLibrary.h"
#include "LibraryFiles.h"


using namespace kiv;
using namespace kiv::test;

namespace {

#ifdef KIV_HAVE_NETCDF

// Two scans: at 60 s masses 43 and 58.1 (intensities 1000, 250), at 90 s mass 43 alone (0 left out).
NcRun SmallRun()
{
    NcRun run;
    run.times = {60.0, 90.0};
    run.firstPoint = {0, 2};
    run.pointCount = {2, 2};
    run.masses = {43.0f, 58.1f, 43.0f, 44.0f};
    run.intensities = {1000.0f, 250.0f, 500.0f, 0.0f};
    return run;
}


// Bytes given as hexadecimal digits.
std::string FromHex(const std::string& digits)
{
    std::string bytes;
    for (size_t k = 0; k + 1 < digits.size(); k += 2) bytes += static_cast<char>(std::stoi(digits.substr(k, 2), nullptr, 16));
    return bytes;
}

// The classic header's start: magic, record count 0, then a list of the given tag and count.
std::string HeaderWithList(char tag, const std::string& countBytes)
{
    return std::string("CDF\x01\0\0\0\0\0\0\0", 11) + tag + countBytes;
}

#endif

}  // namespace

#ifdef KIV_HAVE_NETCDF

TEST(NetcdfImport, SmallRunBecomesAnInMemoryRun)
{
    CScratchFolder folder;
    CRecordingReporter reporter;
    const std::string path = folder.Path("small run.cdf");
    ASSERT_TRUE(WriteNcRun(path, SmallRun()));
    CBib bib;
    CChromatogram chromatogram;
    CRecordingSession session;
    CHeadlessPrompter prompter;
    ASSERT_TRUE(ImportNetcdfCommand(bib, path, chromatogram, prompter, session));
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_EQ(bib.header.title, "small run");
    EXPECT_EQ(bib.header.typ, "GC-MS");
    ASSERT_EQ(bib.header.blockCount, 2);
    const CMassSpectrum& first = bib.memorySpectra[0];
    EXPECT_DOUBLE_EQ(first.retentionTime, 1.0);
    EXPECT_EQ(first.basePeakIntensity, 1000u);
    EXPECT_EQ(first.tic, 1250);
    EXPECT_NEAR(first.peaks.Get(1, 2), 58.1, 1e-5);
    EXPECT_DOUBLE_EQ(first.peaks.Get(2, 2), 25.0);
    EXPECT_EQ(bib.memorySpectra[1].count, 1);
    EXPECT_DOUBLE_EQ(bib.memorySpectra[1].retentionTime, 1.5);
    EXPECT_DOUBLE_EQ(bib.header.vector.Get(1, 2), 500.0);
    EXPECT_EQ(bib.memoryNames[1].originNumber, 2);
    EXPECT_EQ(session.status.back(), "MSM Calculation done");
    EXPECT_DOUBLE_EQ(chromatogram.xAxis.Get(1, 2), 1.5);
    EXPECT_DOUBLE_EQ(bib.run.msm.Get(1, 58), 25.0);
}

TEST(NetcdfImport, DamagedFilesGiveMessages)
{
    CScratchFolder folder;
    CRecordingReporter reporter;
    CBib bib;
    const std::string path = folder.Path("run.cdf");

    NcRun empty;
    ASSERT_TRUE(WriteNcRun(path, empty));
    EXPECT_TRUE(ImportNetcdf(bib, path));
    EXPECT_EQ(bib.header.blockCount, 0);
    EXPECT_TRUE(reporter.messages.empty());

    NcRun missing = SmallRun();
    missing.omit = "scan_index";
    ASSERT_TRUE(WriteNcRun(path, missing));
    EXPECT_FALSE(ImportNetcdf(bib, path));
    EXPECT_EQ(reporter.messages.back(), "netCDF file " + path + ": variable scan_index missing");

    NcRun pastTheEnd = SmallRun();
    pastTheEnd.pointCount[1] = 3;
    ASSERT_TRUE(WriteNcRun(path, pastTheEnd));
    EXPECT_FALSE(ImportNetcdf(bib, path));
    EXPECT_EQ(reporter.messages.back(), "netCDF file " + path + ": scan 2: points 2..5 run past the 4 points of the file");
    EXPECT_EQ(bib.header.blockCount, 1);  // the scan before stays

    NcRun huge = SmallRun();
    huge.pointCount[0] = 2147483647;
    ASSERT_TRUE(WriteNcRun(path, huge));
    EXPECT_FALSE(ImportNetcdf(bib, path));
    EXPECT_EQ(bib.header.blockCount, 0);

    // A point dimension of 2^31 values in a file of a few hundred bytes.
    NcRun claims = SmallRun();
    claims.pointDimension = size_t(1) << 31;
    claims.largeData = true;
    ASSERT_TRUE(WriteNcRun(path, claims));
    reporter.messages.clear();
    ImportNetcdf(bib, path);
    EXPECT_EQ(reporter.messages.size(), std::filesystem::file_size(path) < (uint64_t(1) << 31) ? 1u : 0u);

    WriteBytes(path, "CDF\x01 not really");
    EXPECT_FALSE(ImportNetcdf(bib, path));
    EXPECT_EQ(reporter.messages.back().rfind("netCDF file " + path + ": ", 0), 0u);
    EXPECT_FALSE(ImportNetcdf(bib, folder.Path("absent.cdf")));
}

TEST(NetcdfImport, BatchImportWritesTheRunAsLibrary)
{
    CScratchFolder folder;
    CRecordingReporter reporter;
    const std::string run = folder.Path("run.cdf"), bibFile = folder.Path("run.ssd");
    ASSERT_TRUE(WriteNcRun(run, SmallRun()));
    CBib bib;
    ImportOutcome outcome = RunLibraryImport(bib, ImportKind::Netcdf, {run}, bibFile);
    EXPECT_TRUE(outcome.completed);
    EXPECT_EQ(outcome.blocksWritten, 2);
    CBib check;
    ASSERT_TRUE(OpenTestLibrary(check, folder.Path("run")));
    EXPECT_EQ(check.header.blockCount, 2);
    EXPECT_EQ(check.header.typ, "GC-MS");
    check.SelectBlock(1, SpectrumReading::AsStored);
    EXPECT_DOUBLE_EQ(check.record.spectrum.retentionTime, 1.0);
    EXPECT_NEAR(check.record.spectrum.peaks.Get(1, 2), 58.1, 1e-9);
    check.Close();

    // A damaged run leaves the library as it was.
    const std::string before = ReadBytes(bibFile);
    NcRun damaged = SmallRun();
    damaged.pointCount[1] = 9;
    ASSERT_TRUE(WriteNcRun(run, damaged));
    outcome = ImportNetcdfLibrary(bib, {run}, bibFile);
    EXPECT_FALSE(outcome.completed);
    EXPECT_EQ(ReadBytes(bibFile), before);
    EXPECT_EQ(reporter.messages.size(), 1u);
}

// Headers whose counts ask for more than the file holds are refused before the netCDF library
// allocates what they ask for; each is reported with the offset of the count.
TEST(NetcdfImport, HeadersAskingForMoreThanTheFileHoldsAreRefused)
{
    CScratchFolder folder;
    CRecordingReporter reporter;
    CBib bib;
    const std::string path = folder.Path("run.cdf");
    const std::string prefix = "netCDF file " + path + ": damaged header at byte ";

    WriteBytes(path, HeaderWithList('\x0a', "\x7f\xff\xff\xff"));
    EXPECT_FALSE(ImportNetcdf(bib, path));
    EXPECT_EQ(reporter.messages.back(), prefix + "16: more items than the file holds");

    // One dimension whose name claims 2^32 - 1 characters.
    WriteBytes(path, HeaderWithList('\x0a', std::string("\0\0\0\x01\xff\xff\xff\xff\0\0\0\0", 12)));
    EXPECT_FALSE(ImportNetcdf(bib, path));
    EXPECT_EQ(reporter.messages.back(), prefix + "20: a name longer than the file");

    // No dimensions, one global attribute "a" of 10^9 doubles.
    WriteBytes(path, std::string("CDF\x01\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\x0c\0\0\0\x01\0\0\0\x01" "a\0\0\0"
                                 "\0\0\0\x06\x3b\x9a\xca\x00", 40));
    EXPECT_FALSE(ImportNetcdf(bib, path));
    EXPECT_EQ(reporter.messages.back(), prefix + "40: attribute values beyond the end of the file");

    // Found by fuzzing: a two-scan run whose header lists more than it holds asked the netCDF
    // library for gigabytes.
    const std::string found = FromHex(
        "43444601000000000000000a000000020000000b7363616e5f6e756d62657200000000030000000c706f696e745f6e75"
        "6d6265720000000700000000000000000000000b00000005000000157363616e5f6163717569736974696f6e5f74696d"
        "65000000000000010000000000000000000000000000000600000018000001380000000a7363616e5f696e6465780000"
        "00000001000000000000000000000000000000040000000c0000014c0000000b706f696e745f636f756e740000000001"
        "000000000000000000000000000000040000000c00000102000000030000000242240000422c000042640000428e0000"
        "42aa0000422c04004268000043fa0000447a0000439600004348000042c800004448000043c80000");
    WriteBytes(path, found);
    reporter.messages.clear();
    EXPECT_FALSE(ImportNetcdf(bib, path));
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].rfind(prefix, 0), 0u);

    // Found by fuzzing: a scan dimension of 2^64 - 2^56 + 2 values in the 64-bit data format
    // passed the length check as a negative number and ended the program.
    NcRun run = SmallRun();
    run.largeData = true;
    ASSERT_TRUE(WriteNcRun(path, run));
    std::string bytes = ReadBytes(path);
    ASSERT_EQ(bytes.substr(32, 11), "scan_number");
    bytes[44] = '\xff';
    WriteBytes(path, bytes);
    EXPECT_FALSE(ImportNetcdf(bib, path));
    EXPECT_NE(reporter.messages.back().find("scan_acquisition_time claims 18374686479671623682 values"), std::string::npos)
        << reporter.messages.back();
}

#else

TEST(NetcdfImport, RefusedWithoutTheLibrary)
{
    CRecordingReporter reporter;
    CBib bib;
    EXPECT_FALSE(ImportNetcdf(bib, "run.cdf"));
    EXPECT_EQ(reporter.messages.size(), 1u);
}

#endif
