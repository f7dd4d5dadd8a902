#include "library/BibIndex.h"

#include <algorithm>

#include "base/Format.h"
#include "base/Paths.h"
#include "base/Reporter.h"
#include "base/TextFile.h"
#include "library/BibRecords.h"

namespace kiv {

bool ReadHeaderFromFile(CBinaryFile& file, CBibHeader& header, int64_t& headerEnd, std::string& scratch)
{
    headerEnd = 0;
    unsigned char prefix[kRecordPrefixLength] = {};
    const size_t have = static_cast<size_t>(std::min<int64_t>(file.Size(), kRecordPrefixLength));
    if (!file.Seek(0) || !file.Read(prefix, have)) {
        ReportRunTimeError(Format("Header Record length %d is wrong", static_cast<int>(file.Size())));
        return false;
    }
    const char type = static_cast<char>(prefix[4]);
    if (have >= 5 && type != 'H') {
        ReportRunTimeError(Format("Header Record Typ is %c not H", type));
        return false;
    }
    if (have < kRecordPrefixLength) {
        // Too short even for the record prefix (an empty file, for instance).
        ReportRunTimeError(Format("Header Record length %d is wrong", static_cast<int>(file.Size())));
        return false;
    }
    const int32_t length = LoadI32(prefix);
    if (length < 21 || length > file.Size()) {
        ReportRunTimeError(Format("Header Record length %d is wrong", length));
        return false;
    }
    if (!file.Seek(0) || !file.Read(scratch, static_cast<size_t>(length))) {
        ReportRunTimeError(Format("Header Record length %d is wrong", length));
        return false;
    }
    CByteReader in(scratch);
    if (!ReadHeaderRecord(in, header)) return false;
    headerEnd = length;
    return file.Seek(headerEnd);
}

bool LoadBibIndex(const std::string& indexPath, CMatrixI& table)
{
    CBinaryFile file;
    if (!file.Open(indexPath, "rb")) return false;
    const int64_t entries = file.Size() / kIndexEntryLength;
    if (entries > INT32_MAX || !table.Alloc(6, static_cast<int>(entries))) {
        table.Free();
        return false;
    }
    const int n = static_cast<int>(entries);
    std::vector<unsigned char> chunk;
    constexpr int kEntriesPerChunk = 4096;
    chunk.resize(static_cast<size_t>(kEntriesPerChunk) * kIndexEntryLength);
    for (int first = 1; first <= n; first += kEntriesPerChunk) {
        const int count = std::min(kEntriesPerChunk, n - first + 1);
        if (!file.Read(chunk.data(), static_cast<size_t>(count) * kIndexEntryLength)) {
            table.Free();
            return false;
        }
        for (int k = 0; k < count; ++k) {
            for (int r = 1; r <= 6; ++r) table.Set(r, first + k, LoadI32(chunk.data() + k * kIndexEntryLength + 4 * (r - 1)));
        }
    }
    return true;
}

namespace {

bool Fail(const std::string& message)
{
    ReportRunTimeError(message);
    return false;
}

// Checks the records of the block whose X record has been read (the file stands after X) and
// moves past them. Reports the first mismatch with X.
bool SkipBlockRecords(CBinaryFile& ssd, const BibIndexRecord& x)
{
    for (int part = 0; part < kBlockParts; ++part) {
        const int32_t expected = x.lengths[part];
        if (expected == 0) continue;
        const BibPartInfo& info = PartInfo(part);
        const int64_t start = ssd.Tell();
        unsigned char prefix[kRecordPrefixLength];
        if (!ssd.Read(prefix, sizeof prefix)) {
            // The file ends inside the prefix: what is there is the whole record.
            return Fail(Format("%s Record length is %d not %d", info.rebuildLabel, static_cast<int>(ssd.Remaining()), expected));
        }
        const int32_t length = LoadI32(prefix);
        const char type = static_cast<char>(prefix[4]);
        if (type != info.letter) return Fail(Format("%s Record Typ is %c not %c", info.rebuildLabel, type, info.letter));
        if (length != expected) return Fail(Format("%s Record length is %d not %d", info.rebuildLabel, length, expected));
        if (start + length > ssd.Size()) {
            return Fail(Format("%s Record length is %d not %d", info.rebuildLabel, static_cast<int>(ssd.Size() - start), expected));
        }
        ssd.Seek(start + length);
    }
    return true;
}

}  // namespace

bool RebuildBibIndex(const std::string& stem, CBibHeader& header)
{
    CBinaryFile ssd;
    if (!ssd.Open(stem + ".ssd", "r+b")) return Fail(Format("Write Index of BIB %s failed", stem.c_str()));
    std::string scratch;
    int64_t p = 0;
    if (!ReadHeaderFromFile(ssd, header, p, scratch)) return false;
    FilePtr ssi(std::fopen((stem + ".ssi").c_str(), "wb"));
    if (!ssi) return Fail(Format("Write Index of BIB %s failed", stem.c_str()));

    std::string entries;
    int64_t previous = 0;
    int32_t count = 0;
    bool complete = true;
    bool written = true;
    while (ssd.Seek(p) && ssd.Remaining() >= 4) {
        unsigned char bytes[kIndexRecordLength];
        if (!ssd.Read(bytes, sizeof bytes)) {
            complete = Fail(Format("Index Record length is %d not 49", static_cast<int>(ssd.Remaining())));
            break;
        }
        const BibIndexRecord x = DecodeIndexRecord(bytes);
        int64_t blockLength = 0;
        if (!CheckIndexRecord(x) || !CheckPartLengths(x, blockLength)) {
            complete = false;
            break;
        }
        const int64_t next = p + blockLength;
        if (next > INT32_MAX) {
            // Offsets are 32-bit in both files.
            complete = Fail(Format("BIB %s.ssd is too large for its index", stem.c_str()));
            break;
        }
        if (!SkipBlockRecords(ssd, x)) {
            complete = false;
            break;
        }
        if (x.blockLength != blockLength || x.previous != previous || x.next != next) {
            unsigned char patch[12];
            StoreI32(patch, static_cast<int32_t>(blockLength));
            StoreI32(patch + 4, static_cast<int32_t>(previous));
            StoreI32(patch + 8, static_cast<int32_t>(next));
            written = written && ssd.WriteAt(p + kIndexBlockLengthOffset, patch, sizeof patch);
        }
        unsigned char entry[kIndexEntryLength];
        int64_t offset = p;
        StoreI32(entry, static_cast<int32_t>(offset));
        offset += kIndexRecordLength;
        for (int part = 0; part < kBlockParts; ++part) {
            StoreI32(entry + 4 * (part + 1), static_cast<int32_t>(offset));
            offset += x.lengths[part];
        }
        entries.append(reinterpret_cast<const char*>(entry), sizeof entry);
        if (entries.size() >= 1 << 16) {
            written = written && std::fwrite(entries.data(), 1, entries.size(), ssi.get()) == entries.size();
            entries.clear();
        }
        ++count;
        previous = p;
        p = next;
    }
    written = written && std::fwrite(entries.data(), 1, entries.size(), ssi.get()) == entries.size();
    written = std::fclose(ssi.release()) == 0 && written;

    // The block count field follows the title and type strings of the header.
    const int64_t countOffset = kRecordPrefixLength + 1 + static_cast<int64_t>(header.title.size()) + 1 +
                                static_cast<int64_t>(header.typ.size());
    unsigned char countBytes[4];
    StoreI32(countBytes, count);
    written = ssd.WriteAt(countOffset, countBytes, sizeof countBytes) && written;
    header.blockCount = count;
    if (!written) {
        RemoveFile(stem + ".ssi");
        return Fail(Format("Write Index of BIB %s failed", stem.c_str()));
    }
    return complete;
}

}  // namespace kiv
