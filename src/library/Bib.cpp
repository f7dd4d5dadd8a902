#include "library/Bib.h"

#include <algorithm>

#include "base/Format.h"
#include "base/Paths.h"
#include "base/Reporter.h"
#include "library/BibIndex.h"
#include "library/BibRecords.h"

namespace kiv {

namespace {

CHeadlessPrompter headlessPrompter;

template <class T>
void CopyOrClear(const std::vector<T>& from, size_t i, T& to)
{
    if (i < from.size()) {
        to = from[i];
    } else {
        to.Clear();
    }
}

}  // namespace

const char* const kBibFileFilter = "BIB Files (*.ssd)|*.ssd|All Files (*.*)|*.*||";

std::string WithoutSsdExtension(const std::string& path)
{
    if (path.size() >= 4 && EqualsIgnoreCase(std::string_view(path).substr(path.size() - 4), ".ssd")) {
        return path.substr(0, path.size() - 4);
    }
    return path;
}

CBib::CBib() : prompter_(&headlessPrompter) { Reset(); }

CBib::~CBib() = default;

void CBib::SetPrompter(CPrompter* prompter) { prompter_ = prompter ? prompter : &headlessPrompter; }

FileResult CBib::Open(const std::string& libraryPath)
{
    path = libraryPath;
    return Open();
}

FileResult CBib::Open()
{
    if (path.empty()) {
        std::optional<std::string> chosen = prompter_->ChooseFileToOpen({"Load BIB:", "*.ssd", kBibFileFilter});
        if (!chosen || chosen->empty()) {
            ReportRunTimeError("Open BIB without filename");
            return FileResult::NoFileChosen;
        }
        path = WithoutLast(*chosen, 4);
    }
    path = WithoutSsdExtension(path);
    readState = 0;
    if (!data_.Open(path + ".ssd", "rb")) {
        ReportRunTimeError(Format("Open BIB %s.ssd failed", path.c_str()));
        return FileResult::CannotOpen;
    }
    readState = 1;
    return FileResult::Done;
}

bool CBib::ReadHeader()
{
    if (readState != 1) {
        ReportRunTimeError(Format("BIB %s is not opened", path.c_str()));
        return false;
    }
    int64_t headerEnd = 0;
    return ReadHeaderFromFile(data_, header, headerEnd, blockBuffer_);
}

bool CBib::OpenIndex()
{
    if (path.empty()) {
        std::optional<std::string> chosen = prompter_->ChooseFileToOpen({"Load BIB:", "*.ssd", kBibFileFilter});
        if (chosen) path = WithoutLast(*chosen, 4);
        if (path.empty()) {
            Close();
            return false;
        }
    }
    path = WithoutSsdExtension(path);
    const std::string indexPath = path + ".ssi";
    if (LoadBibIndex(indexPath, indexTable)) return true;

    // The rebuild patches the data file through a handle of its own; ours is reopened afterwards
    // at the position it had.
    const bool wasOpen = readState > 0;
    const int64_t position = data_.Tell();
    data_.Close();
    CBibHeader rebuilt;
    RebuildBibIndex(path, rebuilt);
    if (wasOpen) {
        if (data_.Open(path + ".ssd", "rb")) {
            data_.Seek(position);
        } else {
            readState = 0;
            ReportRunTimeError(Format("Open BIB %s.ssd failed", path.c_str()));
        }
    }
    if (!LoadBibIndex(indexPath, indexTable)) {
        indexTable.Free();
        ReportRunTimeError(Format("BIB Index %s.ssi read error", path.c_str()));
        return false;
    }
    // The rebuild has read the header and corrected its block count.
    header = std::move(rebuilt);
    return true;
}

void CBib::Close()
{
    data_.Close();
    readState = 0;
    currentBlock = 0;
    inMemory = 0;
}

void CBib::Reset()
{
    Close();
    CloseWrite();
    std::fill(std::begin(currentX), std::end(currentX), 0);
    indexTable.Free();
    path.clear();
    currentRank = 0;
    readError = 0;
    header.Clear();
    record.Clear();
    memoryIds.clear();
    memoryNames.clear();
    memoryMolecules.clear();
    memorySpectra.clear();
    memoryIr.clear();
    memorySup.clear();
    run = CRunData{};
    parameters.ResetOnFirstUse();
}

int CBib::SeekBlock(int b)
{
    if (readState > 0 && b >= 1 && b <= indexTable.Cols()) {
        const int32_t offset = indexTable.Get(1, b);
        if (offset == 0) return 1;
        if (offset < 0 || offset > data_.Size() - kIndexRecordLength) {
            ReportRunTimeError(Format("Index entry of block %d points outside %s.ssd", b, path.c_str()));
            return 2;
        }
        data_.Seek(offset);
        return 0;
    }
    if (readState == 0) {
        ReportRunTimeError(Format("BIB is not opened! cblock=%d", currentBlock));
    } else if (b < 1) {
        ReportRunTimeError("SeekBlock 0!");
    } else {
        ReportRunTimeError("SeekBlock after end!");
    }
    return 2;
}

bool CBib::ReadBlock(SpectrumReading reading)
{
    readError = ReadBlockAt(reading) ? 0 : 1;
    return readError == 0;
}

bool CBib::ReadBlockAt(SpectrumReading reading)
{
    if (readState == 0) {
        ReportRunTimeError("BIB not opened");
        return false;
    }
    const int64_t start = data_.Tell();
    const unsigned char* bytes = data_.View(kIndexRecordLength, blockBuffer_);
    if (!bytes) {
        ReportRunTimeError(Format("Index Record length is %d not 49", static_cast<int>(data_.Remaining())));
        record.Clear();
        return false;
    }
    const BibIndexRecord x = DecodeIndexRecord(bytes);
    int64_t blockLength = 0;
    if (!CheckIndexRecord(x) || !CheckPartLengths(x, blockLength)) {
        record.Clear();
        return false;
    }
    currentX[0] = x.length;
    std::copy(std::begin(x.lengths), std::end(x.lengths), currentX + 1);
    const int64_t bodyLength = blockLength - kIndexRecordLength;
    if (bodyLength > data_.Remaining()) {
        ReportRunTimeError(Format("Block at offset %lld runs past the end of %s.ssd", static_cast<long long>(start), path.c_str()));
        record.Clear();
        return false;
    }
    // The records are decoded straight from the file buffer when the block lies in it.
    const unsigned char* body = data_.View(static_cast<size_t>(bodyLength), blockBuffer_);
    if (!body) {
        ReportRunTimeError(Format("Block at offset %lld runs past the end of %s.ssd", static_cast<long long>(start), path.c_str()));
        record.Clear();
        return false;
    }
    const bool ok = DecodeBlockBody(body, static_cast<size_t>(bodyLength), x, record, &spectrumSpare_);
    if (reading == SpectrumReading::ForAnalysis && !record.spectrum.empty) {
        record.spectrum.CutAndNormalise(kAnalysisMassLimit);
    }
    return ok;
}

int CBib::SelectBlock(int b, SpectrumReading reading)
{
    b = std::max(0, std::min(b, header.blockCount));
    currentBlock = b;
    readError = 0;
    if (b == 0) {
        record.Clear();
        return currentBlock;
    }
    if (inMemory) {
        const size_t i = static_cast<size_t>(b - 1);
        record.id = i < memoryIds.size() ? memoryIds[i] : 0;
        CopyOrClear(memoryNames, i, record.name);
        CopyOrClear(memoryMolecules, i, record.molecule);
        CopyOrClear(memorySpectra, i, record.spectrum);
        CopyOrClear(memoryIr, i, record.ir);
        CopyOrClear(memorySup, i, record.sup);
        return currentBlock;
    }
    if (SeekBlock(b) == 0) {
        ReadBlock(reading);
    } else {
        // Never leave the previous block's data standing in for a block that was not read.
        record.Clear();
        readError = 1;
    }
    return currentBlock;
}

int CBib::SelectRank(int r)
{
    const int n = selection.Count();
    currentRank = n > 0 ? std::max(1, std::min(r, n)) : 0;
    SelectBlock(selection.GetFlat(currentRank));
    return currentRank;
}

bool CBib::AppendRecord()
{
    if (!inMemory) return false;
    memoryIds.push_back(record.id);
    memoryNames.push_back(record.name);
    memoryMolecules.push_back(record.molecule);
    memorySpectra.push_back(record.spectrum);
    memoryIr.push_back(record.ir);
    memorySup.push_back(record.sup);
    ++header.blockCount;
    return true;
}

}  // namespace kiv
