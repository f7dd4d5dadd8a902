#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "LibraryTestData.h"
#include "TestSupport.h"
#include "base/BinaryIO.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "library/Bib.h"
#include "library/BibRecords.h"

using namespace kiv;
using kiv::test::CBytes;

namespace {

// Five blocks covering every record kind and every mass encoding.
std::vector<CBibRecord> SampleRecords()
{
    std::vector<CBibRecord> records;
    records.push_back(test::FullRecord(1));  // all five parts, 4-byte masses with 3 decimals

    CBibRecord onlyMass;  // X and M only, vector form with a retention time
    onlyMass.id = 2;
    onlyMass.spectrum = test::VectorSpectrum(39, 58, {{39, 12.5}, {41, 55}, {43, 100}, {58, 20.01}});
    onlyMass.spectrum.basePeakMass = 43;
    onlyMass.spectrum.retentionTime = 6.25;
    records.push_back(onlyMass);

    CBibRecord nameAndPeaks;  // P = 20
    nameAndPeaks.id = 3;
    nameAndPeaks.name.empty = 0;
    nameAndPeaks.name.name = std::string(300, 'n');
    nameAndPeaks.spectrum = test::PeakSpectrum(2, 0, {{41, 20}, {43, 100}, {57, 35.55}});
    records.push_back(nameAndPeaks);

    CBibRecord big;  // P = 82 and a structure of 256 atoms (16-bit bond ends)
    big.id = 4;
    big.molecule.Allocate(256, 255);
    for (int i = 0; i < 256; ++i) big.molecule.element[static_cast<size_t>(i)] = 6;
    for (int i = 0; i < 255; ++i) {
        big.molecule.bondFrom[static_cast<size_t>(i)] = static_cast<uint16_t>(i + 1);
        big.molecule.bondTo[static_cast<size_t>(i)] = static_cast<uint16_t>(i + 2);
    }
    big.spectrum = test::PeakSpectrum(8, 2, {{43.05, 100}, {99.99, 1}});
    records.push_back(big);

    CBibRecord empty;  // X only
    empty.id = 5;
    records.push_back(empty);
    return records;
}

std::string Block(const CBibRecord& record)
{
    std::string bytes;
    EncodeBlock(bytes, record, 0);
    return bytes;
}

void WriteLibrary(const std::string& ssdPath, const std::vector<CBibRecord>& records, const std::string& title = "Test")
{
    CBib bib;
    ASSERT_TRUE(bib.NewLibrary(title, "MS", ssdPath));
    for (const CBibRecord& r : records) {
        bib.record = r;
        ASSERT_TRUE(bib.WriteBlock());
    }
    bib.CloseWrite();
}

bool OpenLibrary(CBib& bib, const std::string& path)
{
    return bib.Open(path) == FileResult::Done && bib.ReadHeader() && bib.OpenIndex();
}

int32_t WordAt(const std::string& bytes, int64_t offset)
{
    return LoadI32(reinterpret_cast<const unsigned char*>(bytes.data()) + offset);
}

void PatchWord(const std::string& path, int64_t offset, int32_t value)
{
    std::string bytes = test::ReadBytes(path);
    StoreI32(reinterpret_cast<unsigned char*>(bytes.data()) + offset, value);
    test::WriteBytes(path, bytes);
}

}  // namespace

TEST(BibFile, RoundTripWithRebuiltIndex)
{
    test::CScratchFolder folder;
    const std::string stem = folder.Path("lib");
    const std::vector<CBibRecord> records = SampleRecords();
    WriteLibrary(stem + ".ssd", records);

    // As written: header count 0, no index, X offsets 33..44 zero.
    const std::string written = test::ReadBytes(stem + ".ssd");
    const int64_t headerLength = 21 + 4 + 2;
    EXPECT_EQ(WordAt(written, 0), headerLength);
    EXPECT_EQ(WordAt(written, 9 + 5 + 3), 0);
    EXPECT_FALSE(FileExists(stem + ".ssi"));
    std::vector<int64_t> starts;
    int64_t offset = headerLength;
    for (const CBibRecord& r : records) {
        starts.push_back(offset);
        EXPECT_EQ(written.substr(static_cast<size_t>(offset), Block(r).size()), Block(r));
        offset += static_cast<int64_t>(Block(r).size());
    }
    EXPECT_EQ(static_cast<int64_t>(written.size()), offset);

    CBib bib;
    ASSERT_TRUE(OpenLibrary(bib, stem + ".SSD"));  // the extension is dropped in any case
    EXPECT_EQ(bib.path, stem);
    EXPECT_EQ(bib.header.blockCount, 5);
    EXPECT_EQ(bib.header.title, "Test");
    ASSERT_EQ(bib.indexTable.Cols(), 5);

    const std::string ssd = test::ReadBytes(stem + ".ssd");
    const std::string ssi = test::ReadBytes(stem + ".ssi");
    ASSERT_EQ(ssi.size(), 5u * 24);
    EXPECT_EQ(WordAt(ssd, 9 + 5 + 3), 5);  // the true count is in the header now
    for (size_t b = 0; b < records.size(); ++b) {
        const std::string block = Block(records[b]);
        const BibIndexRecord x = DecodeIndexRecord(reinterpret_cast<const unsigned char*>(block.data()));
        const int64_t p = starts[b];
        const int64_t next = p + static_cast<int64_t>(block.size());
        EXPECT_EQ(WordAt(ssd, p + 33), static_cast<int32_t>(block.size()));
        EXPECT_EQ(WordAt(ssd, p + 37), b == 0 ? 0 : starts[b - 1]);
        EXPECT_EQ(WordAt(ssd, p + 41), next);
        EXPECT_EQ(WordAt(ssd, p + 45), 0);
        int64_t expected = p;
        EXPECT_EQ(WordAt(ssi, 24 * static_cast<int64_t>(b)), expected);
        expected += 49;
        for (int part = 0; part < 5; ++part) {
            EXPECT_EQ(WordAt(ssi, 24 * static_cast<int64_t>(b) + 4 + 4 * part), expected) << b << " " << part;
            EXPECT_EQ(bib.indexTable.Get(2 + part, static_cast<int>(b + 1)), expected);
            expected += x.lengths[part];
        }
    }
    // The block with only X and M: N, S and M share X + 49; I and Z the end of M.
    const int64_t m = starts[1] + 49;
    const int64_t mEnd = m + static_cast<int64_t>(Block(records[1]).size()) - 49;
    EXPECT_EQ(bib.indexTable.Get(2, 2), m);
    EXPECT_EQ(bib.indexTable.Get(3, 2), m);
    EXPECT_EQ(bib.indexTable.Get(4, 2), m);
    EXPECT_EQ(bib.indexTable.Get(5, 2), mEnd);
    EXPECT_EQ(bib.indexTable.Get(6, 2), mEnd);

    // Every record reads back as written, in any order.
    for (int b : {3, 1, 5, 2, 4}) {
        EXPECT_EQ(bib.SelectBlock(b, SpectrumReading::AsStored), b);
        EXPECT_EQ(bib.readError, 0);
        EXPECT_EQ(Block(bib.record), Block(records[static_cast<size_t>(b - 1)])) << b;
    }
    EXPECT_EQ(bib.record.id, 4);
    EXPECT_EQ(bib.currentX[0], 49);
    EXPECT_EQ(bib.currentX[2], 13 + 20 * 256 + 8 * 255);
    bib.SelectBlock(3, SpectrumReading::AsStored);
    EXPECT_EQ(bib.record.name.name, std::string(254, 'n') + "#");
    bib.SelectBlock(1, SpectrumReading::AsStored);
    EXPECT_DOUBLE_EQ(bib.record.spectrum.retentionIndex, 1234.5);
    EXPECT_EQ(bib.record.spectrum.retentionTime, 0);
    EXPECT_EQ(bib.record.sup.items.at(1).values.Get(1, 1), 4000000000.0);
    bib.Close();

    // A second rebuild gives the same two files.
    ASSERT_TRUE(RemoveFile(stem + ".ssi"));
    CBib again;
    ASSERT_TRUE(OpenLibrary(again, stem));
    EXPECT_EQ(test::ReadBytes(stem + ".ssi"), ssi);
    EXPECT_EQ(test::ReadBytes(stem + ".ssd"), ssd);
}

TEST(BibFile, SavedCopiesAndSelections)
{
    test::CScratchFolder folder;
    const std::string stem = folder.Path("lib");
    WriteLibrary(stem + ".ssd", SampleRecords());
    CBib bib;
    ASSERT_TRUE(OpenLibrary(bib, stem));

    // A whole copy equals the original once both carry their rebuilt index words.
    bib.writePath = folder.Path("copy.ssd");
    ASSERT_TRUE(bib.SaveLibrary(nullptr, 0));
    EXPECT_EQ(bib.writeState, 0);
    EXPECT_TRUE(bib.writePath.empty());
    CBib copy;
    ASSERT_TRUE(OpenLibrary(copy, folder.Path("copy")));
    EXPECT_EQ(test::ReadBytes(folder.Path("copy.ssd")), test::ReadBytes(stem + ".ssd"));

    // A list: blocks 5, 2, 2 in that order, the header counting three.
    CMatrixI list(1, 3);
    list.SetFlat(1, 5);
    list.SetFlat(2, 2);
    list.SetFlat(3, 2);
    bib.writePath = folder.Path("list");  // ".ssd" is added to a name without extension
    ASSERT_TRUE(bib.SaveLibrary(&list, 0));
    EXPECT_EQ(bib.header.blockCount, 5);  // restored after writing
    const std::string listBytes = test::ReadBytes(folder.Path("list.ssd"));
    EXPECT_EQ(WordAt(listBytes, 9 + 5 + 3), 3);
    CBib listed;
    ASSERT_TRUE(OpenLibrary(listed, folder.Path("list")));
    ASSERT_EQ(listed.header.blockCount, 3);
    std::vector<int> ids;
    for (int b = 1; b <= 3; ++b) ids.push_back((listed.SelectBlock(b), listed.record.id));
    EXPECT_EQ(ids, (std::vector<int>{5, 2, 2}));

    // Flags: one per block, 1 or more selects; the header counts the flags.
    CMatrixI flags(1, 5);
    flags.SetFlat(1, 1);
    flags.SetFlat(3, 2);
    flags.SetFlat(5, 1);
    bib.writePath = folder.Path("flags.ssd");
    ASSERT_TRUE(bib.SaveLibrary(&flags, 1));
    EXPECT_EQ(WordAt(test::ReadBytes(folder.Path("flags.ssd")), 9 + 5 + 3), 5);
    CBib flagged;
    ASSERT_TRUE(OpenLibrary(flagged, folder.Path("flags")));
    ids.clear();
    for (int b = 1; b <= flagged.header.blockCount; ++b) ids.push_back((flagged.SelectBlock(b), flagged.record.id));
    EXPECT_EQ(ids, (std::vector<int>{1, 3, 5}));

    test::CRecordingReporter reporter;
    CMatrixI none;
    bib.writePath = folder.Path("none.ssd");
    EXPECT_FALSE(bib.SaveLibrary(&none, 0));
    EXPECT_EQ(reporter.messages, std::vector<std::string>{"No Spectra selected!"});
    EXPECT_FALSE(FileExists(folder.Path("none.ssd")));
}

TEST(BibFile, SpectraForAnalysisAreCutAndNormalised)
{
    test::CScratchFolder folder;
    const std::string stem = folder.Path("cut");
    std::vector<CBibRecord> records(4);
    records[0].spectrum = test::PeakSpectrum(2, 1, {{50, 40}, {100.9, 20}, {150, 80}});
    records[0].spectrum.basePeakIntensity = 1000;
    records[1].spectrum = test::VectorSpectrum(40, 120, {{40, 25}, {60, 50}, {101, 100}});
    records[1].spectrum.basePeakIntensity = 1000;
    records[2].spectrum = test::VectorSpectrum(41, 43, {{41, 50}, {43, 100}});
    records[2].spectrum.basePeakIntensity = 777;
    records[3].spectrum = test::PeakSpectrum(2, 0, {{120, 100}, {130, 50}});  // nothing at or below 100
    records[3].spectrum.basePeakMass = 120;
    WriteLibrary(stem + ".ssd", records);

    CBib bib;
    ASSERT_TRUE(OpenLibrary(bib, stem));
    const CMassSpectrum& s = bib.record.spectrum;
    bib.SelectBlock(1);
    EXPECT_DOUBLE_EQ(s.peaks.Get(2, 1), 100);
    EXPECT_DOUBLE_EQ(s.peaks.Get(2, 2), 50);  // 100.9 is still m/z 100
    EXPECT_EQ(s.peaks.Get(2, 3), 0);  // kept in the list with intensity 0
    EXPECT_EQ(s.peaks.Cols(), 3);
    EXPECT_EQ(s.basePeakMass, 50);
    EXPECT_EQ(s.basePeakIntensity, 400u);

    bib.SelectBlock(2);
    EXPECT_EQ(s.vector.Cols(), 120);
    EXPECT_DOUBLE_EQ(s.vector.Get(1, 60), 100);
    EXPECT_DOUBLE_EQ(s.vector.Get(1, 40), 50);
    EXPECT_EQ(s.vector.Get(1, 101), 0);
    EXPECT_EQ(s.basePeakMass, 60);
    EXPECT_EQ(s.basePeakIntensity, 500u);

    bib.SelectBlock(3);  // already normalised: untouched
    EXPECT_EQ(s.basePeakIntensity, 777u);
    EXPECT_EQ(s.basePeakMass, 43);

    bib.SelectBlock(4);  // no base peak left: no division, no undefined values
    EXPECT_EQ(s.empty, 0);
    EXPECT_EQ(s.basePeakMass, 0);
    EXPECT_EQ(s.peaks.Get(2, 1), 0);
    EXPECT_EQ(s.peaks.Get(2, 2), 0);

    // The same block as stored keeps its peaks above m/z 100.
    bib.SelectBlock(4, SpectrumReading::AsStored);
    EXPECT_EQ(s.peaks.Get(2, 1), 100);
    EXPECT_EQ(s.basePeakMass, 120);
}

TEST(BibFile, SelectingAndSeeking)
{
    test::CScratchFolder folder;
    const std::string stem = folder.Path("lib");
    WriteLibrary(stem + ".ssd", SampleRecords());
    test::CRecordingReporter reporter;
    CBib bib;
    EXPECT_EQ(bib.SeekBlock(1), 2);
    EXPECT_EQ(reporter.messages.back(), "BIB is not opened! cblock=0");
    EXPECT_FALSE(bib.ReadBlock());
    EXPECT_EQ(reporter.messages.back(), "BIB not opened");
    EXPECT_FALSE(bib.ReadHeader());
    EXPECT_EQ(reporter.messages.back(), "BIB  is not opened");
    reporter.messages.clear();

    ASSERT_TRUE(OpenLibrary(bib, stem));
    EXPECT_EQ(bib.SelectBlock(2), 2);
    EXPECT_EQ(bib.record.id, 2);
    EXPECT_EQ(bib.SelectBlock(0), 0);
    EXPECT_EQ(bib.record.id, 0);
    EXPECT_EQ(bib.record.spectrum.empty, 1);
    EXPECT_EQ(bib.SelectBlock(10), 5);
    EXPECT_EQ(bib.record.id, 5);
    EXPECT_EQ(bib.SelectBlock(-3), 0);
    EXPECT_EQ(bib.SeekBlock(0), 2);
    EXPECT_EQ(bib.SeekBlock(6), 2);
    EXPECT_EQ(reporter.messages, (std::vector<std::string>{"SeekBlock 0!", "SeekBlock after end!"}));

    bib.selection.Alloc(1, 2);
    bib.selection.SetFlat(1, 4);
    bib.selection.SetFlat(2, 1);
    EXPECT_EQ(bib.SelectRank(2), 2);
    EXPECT_EQ(bib.currentBlock, 1);
    EXPECT_EQ(bib.SelectRank(9), 2);
    EXPECT_EQ(bib.SelectRank(0), 1);
    EXPECT_EQ(bib.currentBlock, 4);

    // Reading in sequence from the header on.
    ASSERT_EQ(bib.SeekBlock(1), 0);
    int read = 0;
    while (!bib.AtEndOfData() && bib.ReadBlock(SpectrumReading::AsStored)) ++read;
    EXPECT_EQ(read, 5);

    bib.Close();
    EXPECT_EQ(bib.readState, 0);
    EXPECT_EQ(bib.currentBlock, 0);
}

TEST(BibFile, InMemoryLibrary)
{
    test::CScratchFolder folder;
    CBib bib;
    bib.inMemory = 1;
    bib.header.title = "Memory";
    bib.header.typ = "MS";
    for (const CBibRecord& r : SampleRecords()) {
        bib.record = r;
        EXPECT_TRUE(bib.AppendRecord());
    }
    EXPECT_EQ(bib.header.blockCount, 5);
    bib.SelectBlock(2);
    EXPECT_EQ(bib.record.id, 2);
    EXPECT_EQ(bib.record.name.empty, 1);
    EXPECT_EQ(bib.record.spectrum.vector.Get(1, 41), 55);  // memory records are not cut or scaled
    bib.memoryNames.pop_back();  // a part whose array has no element is empty
    bib.SelectBlock(5);
    EXPECT_EQ(bib.record.name.empty, 1);

    bib.writePath = folder.Path("mem.ssd");
    ASSERT_TRUE(bib.SaveLibrary(nullptr, 0));
    CBib disk;
    ASSERT_TRUE(OpenLibrary(disk, folder.Path("mem")));
    EXPECT_EQ(disk.header.blockCount, 5);
    EXPECT_EQ(disk.header.title, "Memory");
    disk.SelectBlock(1, SpectrumReading::AsStored);
    EXPECT_EQ(Block(disk.record), Block(SampleRecords()[0]));

    bib.Reset();
    EXPECT_EQ(bib.header.blockCount, 0);
    EXPECT_TRUE(bib.memorySpectra.empty());
    EXPECT_FALSE(bib.AppendRecord());  // not in memory mode
}

TEST(BibFile, WritingNeverDamagesOtherFiles)
{
    test::CScratchFolder folder;
    WriteLibrary(folder.Path("a.ssd"), SampleRecords());
    {
        CBib a;
        ASSERT_TRUE(OpenLibrary(a, folder.Path("a")));
    }
    const std::string aData = test::ReadBytes(folder.Path("a.ssd"));
    const std::string aIndex = test::ReadBytes(folder.Path("a.ssi"));
    test::WriteBytes(folder.Path("b.ssi"), "stale");
    test::WriteBytes(folder.Path("c.ssi"), "not mine");

    CBib b;
    ASSERT_TRUE(b.NewLibrary("B", "MS", folder.Path("b.ssd")));
    EXPECT_FALSE(FileExists(folder.Path("b.ssi")));  // the stale index of the new library goes
    b.record = SampleRecords()[1];
    ASSERT_TRUE(b.WriteBlock());
    b.CloseWrite();
    // Complete after CloseWrite: header and one block.
    EXPECT_EQ(test::ReadBytes(folder.Path("b.ssd")).size(), 21 + 1 + 2 + Block(SampleRecords()[1]).size());
    // A data file of another extension leaves "c.ssi" alone.
    CBib c;
    ASSERT_TRUE(c.NewLibrary("C", "MS", folder.Path("c.dat")));
    c.CloseWrite();
    EXPECT_EQ(test::ReadBytes(folder.Path("c.ssi")), "not mine");
    EXPECT_EQ(test::ReadBytes(folder.Path("a.ssd")), aData);
    EXPECT_EQ(test::ReadBytes(folder.Path("a.ssi")), aIndex);

    // Saving a library onto itself would destroy it: refused.
    test::CRecordingReporter reporter;
    CBib a;
    ASSERT_TRUE(OpenLibrary(a, folder.Path("a")));
    a.writePath = folder.Path("a.ssd");
    EXPECT_FALSE(a.SaveLibrary(nullptr, 0));
    EXPECT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(test::ReadBytes(folder.Path("a.ssd")), aData);
    EXPECT_EQ(test::ReadBytes(folder.Path("a.ssi")), aIndex);
    CBib b2;
    ASSERT_TRUE(OpenLibrary(b2, folder.Path("b")));
    EXPECT_EQ(b2.header.blockCount, 1);
}

TEST(BibFile, DamagedLibrariesReportAndStayUsable)
{
    test::CScratchFolder folder;
    const std::string good = folder.Path("good");
    WriteLibrary(good + ".ssd", SampleRecords());
    const std::string pristine = test::ReadBytes(good + ".ssd");
    const std::vector<int64_t> starts = [&] {
        std::vector<int64_t> s;
        int64_t p = 27;
        for (const CBibRecord& r : SampleRecords()) {
            s.push_back(p);
            p += static_cast<int64_t>(Block(r).size());
        }
        return s;
    }();
    const std::string full = Block(SampleRecords()[0]);
    const BibIndexRecord x1 = DecodeIndexRecord(reinterpret_cast<const unsigned char*>(full.data()));

    struct Case {
        const char* name;
        std::function<void(const std::string& ssd)> damage;
        std::string message;  // of the rebuild
        int blocks;  // indexed before the damage
    };
    const std::vector<Case> cases = {
        {"cut", [&](const std::string& ssd) { test::WriteBytes(ssd, pristine.substr(0, static_cast<size_t>(starts[3] + 60))); },
         Format("Structure Record length is %d not %d", 11, 13 + 20 * 256 + 8 * 255), 3},
        {"cut in prefix", [&](const std::string& ssd) { test::WriteBytes(ssd, pristine.substr(0, static_cast<size_t>(starts[3] + 53))); },
         Format("Structure Record length is %d not %d", 4, 13 + 20 * 256 + 8 * 255), 3},
        {"cut in X", [&](const std::string& ssd) { test::WriteBytes(ssd, pristine.substr(0, static_cast<size_t>(starts[2] + 20))); },
         "Index Record length is 20 not 49", 2},
        {"past end", [&](const std::string& ssd) { PatchWord(ssd, starts[1] + 17, 1 << 30); },
         Format("MS Record length is %d not %d", WordAt(pristine, starts[1] + 49), 1 << 30), 1},
        {"negative", [&](const std::string& ssd) { PatchWord(ssd, starts[0] + 9, -5); }, "Name Record length -5 in Index Record is wrong", 0},
        {"X letter", [&](const std::string& ssd) {
             std::string bytes = test::ReadBytes(ssd);
             bytes[static_cast<size_t>(starts[2] + 4)] = 'Y';
             test::WriteBytes(ssd, bytes);
         },
         "Index Record Typ is Y not X", 2},
        {"Z letter", [&](const std::string& ssd) {
             std::string bytes = test::ReadBytes(ssd);
             bytes[static_cast<size_t>(starts[1] - x1.lengths[4] + 4)] = 'z';
             test::WriteBytes(ssd, bytes);
         },
         "Supplementary Record Typ is z not Z", 0},
        {"X length", [&](const std::string& ssd) { PatchWord(ssd, starts[4], 48); }, "Index Record length is 48 not 49", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string stem = folder.Path(c.name);
        test::WriteBytes(stem + ".ssd", pristine);
        c.damage(stem + ".ssd");
        test::CRecordingReporter reporter;
        CBib bib;
        ASSERT_EQ(bib.Open(stem), FileResult::Done);
        ASSERT_TRUE(bib.ReadHeader());
        EXPECT_TRUE(bib.OpenIndex());  // the blocks before the damage stay usable
        ASSERT_EQ(reporter.messages.size(), 1u);
        EXPECT_EQ(reporter.messages[0], c.message);
        EXPECT_EQ(bib.header.blockCount, c.blocks);
        EXPECT_EQ(bib.indexTable.Cols(), c.blocks);
        for (int b = 1; b <= c.blocks; ++b) {
            bib.SelectBlock(b, SpectrumReading::AsStored);
            EXPECT_EQ(Block(bib.record), Block(SampleRecords()[static_cast<size_t>(b - 1)]));
        }
        // A later open of a valid library works.
        CBib valid;
        EXPECT_TRUE(OpenLibrary(valid, good));
        valid.SelectBlock(4);
        EXPECT_EQ(valid.record.id, 4);
        EXPECT_EQ(reporter.messages.size(), 1u);
    }
}

TEST(BibFile, DamageBehindAValidIndex)
{
    // Damage that the index cannot see: the reader finds it when it reads the block.
    test::CScratchFolder folder;
    const std::string stem = folder.Path("lib");
    WriteLibrary(stem + ".ssd", SampleRecords());
    {
        CBib bib;
        ASSERT_TRUE(OpenLibrary(bib, stem));
    }
    const std::string pristine = test::ReadBytes(stem + ".ssd");
    const int64_t block2 = 27 + static_cast<int64_t>(Block(SampleRecords()[0]).size());
    const int64_t mRecord = block2 + 49;

    test::CRecordingReporter reporter;
    auto select = [&](int b) {
        CBib bib;
        EXPECT_TRUE(OpenLibrary(bib, stem));
        bib.SelectBlock(b);
        return std::make_pair(static_cast<int>(bib.readError), bib.record.id);
    };

    PatchWord(stem + ".ssd", block2 + 17, 1 << 30);  // record length beyond the end of the file
    EXPECT_EQ(select(2), std::make_pair(1, 0));
    EXPECT_EQ(reporter.messages.back(), Format("Block at offset %lld runs past the end of %s.ssd", static_cast<long long>(block2), stem.c_str()));

    test::WriteBytes(stem + ".ssd", pristine);
    PatchWord(stem + ".ssd", mRecord + 10, 60000 | (40 << 16));  // peak count (and first mass) beyond the record
    EXPECT_EQ(select(2), std::make_pair(1, 2));
    EXPECT_EQ(reporter.messages.back(), Format("MS Record length %d is too short for its contents", WordAt(pristine, mRecord)));

    test::WriteBytes(stem + ".ssd", pristine);
    std::string ssi = test::ReadBytes(stem + ".ssi");
    const std::string goodIndex = ssi;
    StoreI32(reinterpret_cast<unsigned char*>(ssi.data()) + 24, static_cast<int32_t>(pristine.size()));
    StoreI32(reinterpret_cast<unsigned char*>(ssi.data()) + 48, -24);
    test::WriteBytes(stem + ".ssi", ssi);
    EXPECT_EQ(select(2), std::make_pair(1, 0));
    EXPECT_EQ(reporter.messages.back(), Format("Index entry of block 2 points outside %s.ssd", stem.c_str()));
    EXPECT_EQ(select(3), std::make_pair(1, 0));
    EXPECT_EQ(select(1).second, 1);

    // An index entry of 0 means the block has no entry.
    StoreI32(reinterpret_cast<unsigned char*>(ssi.data()) + 24, 0);
    test::WriteBytes(stem + ".ssi", ssi);
    {
        CBib bib;
        ASSERT_TRUE(OpenLibrary(bib, stem));
        EXPECT_EQ(bib.SeekBlock(2), 1);
    }

    // Damaged headers.
    test::WriteBytes(stem + ".ssi", goodIndex);
    std::string header = pristine;
    header[4] = 'Q';
    test::WriteBytes(stem + ".ssd", header);
    reporter.messages.clear();
    CBib bib;
    ASSERT_EQ(bib.Open(stem), FileResult::Done);
    EXPECT_FALSE(bib.ReadHeader());
    test::WriteBytes(stem + ".ssd", "");
    ASSERT_EQ(bib.Open(stem), FileResult::Done);
    EXPECT_FALSE(bib.ReadHeader());
    test::WriteBytes(stem + ".ssd", CBytes().I32(100000).Text("H").I32(0).bytes);
    ASSERT_EQ(bib.Open(stem), FileResult::Done);
    EXPECT_FALSE(bib.ReadHeader());
    test::WriteBytes(stem + ".ssd", CBytes().I32(21).Text("H").I32(0).I8(0).I8(0).I32(0).I8(0).I8(0).I32(1000000).bytes);
    ASSERT_EQ(bib.Open(stem), FileResult::Done);
    EXPECT_FALSE(bib.ReadHeader());
    EXPECT_EQ(reporter.messages,
              (std::vector<std::string>{"Header Record Typ is Q not H", "Header Record length 0 is wrong", "Header Record length 100000 is wrong",
                                        "Header Record length 21 is too short for its contents"}));
    // A missing data file and a missing path.
    reporter.messages.clear();
    EXPECT_EQ(bib.Open(folder.Path("nothing")), FileResult::CannotOpen);
    bib.path.clear();
    EXPECT_EQ(bib.Open(), FileResult::NoFileChosen);
    EXPECT_EQ(reporter.messages, (std::vector<std::string>{Format("Open BIB %s.ssd failed", folder.Path("nothing").c_str()),
                                                           "Open BIB without filename"}));
    // A library whose index cannot be rebuilt.
    reporter.messages.clear();
    test::WriteBytes(stem + ".ssd", "Hello");
    RemoveFile(stem + ".ssi");
    bib.path = stem;
    EXPECT_FALSE(bib.OpenIndex());
    EXPECT_EQ(reporter.messages,
              (std::vector<std::string>{"Header Record Typ is o not H", Format("BIB Index %s.ssi read error", stem.c_str())}));
}
