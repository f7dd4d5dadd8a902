#include "library/Bib.h"

#include <algorithm>
#include <filesystem>

#include "base/Format.h"
#include "base/Paths.h"
#include "base/Reporter.h"
#include "library/BibIndex.h"
#include "library/BibRecords.h"

namespace kiv {

namespace {

constexpr size_t kOutputBufferBytes = size_t(1) << 20;

CHeadlessPrompter headlessPrompter;

bool EndsWithSsd(const std::string& path)
{
    return path.size() >= 4 && EqualsIgnoreCase(std::string_view(path).substr(path.size() - 4), ".ssd");
}

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

FileResult OpenAtFirstBlock(CBib& bib, const std::string& path)
{
    const FileResult opened = bib.Open(path);
    if (opened != FileResult::Done) return opened;
    if (!bib.OpenIndex() || !bib.ReadHeader()) {
        bib.Close();
        return FileResult::CannotOpen;
    }
    bib.SelectBlock(1);
    return FileResult::Done;
}

std::string WithoutSsdExtension(const std::string& path)
{
    return EndsWithSsd(path) ? path.substr(0, path.size() - 4) : path;
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
    readState = false;
    if (!data_.Open(path + ".ssd", "rb")) {
        ReportRunTimeError(Format("Open BIB %s.ssd failed", path.c_str()));
        return FileResult::CannotOpen;
    }
    readState = true;
    return FileResult::Done;
}

bool CBib::ReadHeader()
{
    if (!readState) {
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
    const bool wasOpen = readState;
    const int64_t position = data_.Tell();
    data_.Close();
    CBibHeader rebuilt;
    RebuildBibIndex(path, rebuilt);
    if (wasOpen) {
        if (data_.Open(path + ".ssd", "rb")) {
            data_.Seek(position);
        } else {
            readState = false;
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
    readState = false;
    currentBlock = 0;
    inMemory = false;
}

void CBib::Reset()
{
    Close();
    CloseWrite();
    std::fill(std::begin(currentX), std::end(currentX), 0);
    indexTable.Free();
    path.clear();
    currentRank = 0;
    readError = false;
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
    if (readState && b >= 1 && b <= indexTable.Cols()) {
        const int32_t offset = indexTable.Get(1, b);
        if (offset == 0) return 1;
        if (offset < 0 || offset > data_.Size() - kIndexRecordLength) {
            ReportRunTimeError(Format("Index entry of block %d points outside %s.ssd", b, path.c_str()));
            return 2;
        }
        data_.Seek(offset);
        return 0;
    }
    if (!readState) {
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
    readError = !ReadBlockAt(reading);
    return !readError;
}

bool CBib::ReadBlockAt(SpectrumReading reading)
{
    if (!readState) {
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
    readError = false;
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
        readError = true;
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

// ---- Writing ----
// A library is never edited in place: every change produces a new data file, written as a header
// followed by blocks appended one by one. The index of the new library is not written: a stale
// one is deleted, and the first open rebuilds it (which also puts the true block count into the
// header).

bool CBib::NewLibrary(const std::string& title, const std::string& typ, const std::string& newWritePath)
{
    Close();
    Reset();
    header.title = title;
    header.typ = typ;
    writePath = newWritePath;
    if (!WriteHeader()) return false;
    DeleteStaleIndex();
    return true;
}

void CBib::DeleteStaleIndex() const
{
    // Only the index that belongs to the written data file: a path with another extension
    // would name some other file.
    if (!EndsWithSsd(writePath)) return;
    const std::string index = WithoutLast(writePath, 3) + "ssi";
    if (FileExists(index)) RemoveFile(index);
}

bool CBib::WritesOverOpenLibrary() const
{
    if (!readState) return false;
    std::error_code error;
    return std::filesystem::equivalent(writePath, path + ".ssd", error) && !error;
}

bool CBib::WriteHeader()
{
    output_.reset();
    writeState = false;
    if (writePath.empty()) {
        std::optional<std::string> chosen = prompter_->ChooseFileToSave({"Save BIB:", "*.ssd", kBibFileFilter});
        if (!chosen || chosen->empty()) return false;
        writePath = *chosen;
    }
    if (FileNamePart(writePath).find('.') == std::string_view::npos) writePath += ".ssd";
    if (WritesOverOpenLibrary()) {
        // Opening it for writing would destroy the library being copied.
        ReportRunTimeError(Format("BIB %s is open for reading and cannot be written", writePath.c_str()));
        return false;
    }
    output_.reset(std::fopen(writePath.c_str(), "wb"));
    if (!output_) {
        ReportRunTimeError(Format("Write BIB %s failed", writePath.c_str()));
        return false;
    }
    if (!outputBuffer_) outputBuffer_.reset(new char[kOutputBufferBytes]);
    std::setvbuf(output_.get(), outputBuffer_.get(), _IOFBF, kOutputBufferBytes);
    writeState = true;
    outputPosition_ = 0;
    writeBuffer_.clear();
    CByteWriter out(writeBuffer_);
    WriteHeaderRecord(out, header);
    const int64_t expected = HeaderRecordLength(header);
    if (static_cast<int64_t>(writeBuffer_.size()) != expected) {
        ReportRunTimeError(Format("ERROR in record length! %lld - %d = %lld", static_cast<long long>(writeBuffer_.size()), 0,
                                  static_cast<long long>(expected)));
        return false;
    }
    return WriteBytes(writeBuffer_);
}

bool CBib::WriteBytes(const std::string& bytes)
{
    if (std::fwrite(bytes.data(), 1, bytes.size(), output_.get()) != bytes.size()) {
        ReportRunTimeError(Format("Write BIB %s failed", writePath.c_str()));
        return false;
    }
    outputPosition_ += static_cast<int64_t>(bytes.size());
    return true;
}

bool CBib::WriteBlock() { return WriteBlock(record); }

bool CBib::WriteBlock(const CBibRecord& block)
{
    if (!writeState || !output_) return false;
    writeBuffer_.clear();
    // The block is assembled whole and written only when every record passed its check, so a
    // failed block leaves the file a valid, shorter library.
    if (!EncodeBlock(writeBuffer_, block, outputPosition_)) return false;
    return WriteBytes(writeBuffer_);
}

void CBib::CloseWrite()
{
    if (output_) {
        if (std::fclose(output_.release()) != 0) ReportRunTimeError(Format("Write BIB %s failed", writePath.c_str()));
    }
    writeState = false;
    writePath.clear();
}

bool CBib::SaveLibrary(const CMatrixI* selectionList, int byFlags)
{
    if (selectionList && selectionList->Count() == 0) {
        ReportRunTimeError("No Spectra selected!");
        return false;
    }
    bool ok = true;
    auto copyBlock = [&](int b) {
        SelectBlock(b, SpectrumReading::AsStored);
        ok = !readError && WriteBlock();
    };
    if (!selectionList) {
        ok = WriteHeader();
        for (int b = 1; ok && b <= header.blockCount; ++b) copyBlock(b);
    } else {
        // The header of the copy counts the entries written and carries no per-block vector.
        const int32_t blockCount = header.blockCount;
        CMatrix vector = std::move(header.vector);
        header.vector.Free();
        header.blockCount = selectionList->Count();
        ok = WriteHeader();
        header.blockCount = blockCount;
        header.vector = std::move(vector);
        const int n = selectionList->Count();
        if (byFlags == 0) {
            for (int k = 1; ok && k <= n; ++k) copyBlock(selectionList->GetFlat(k));
        } else {
            for (int b = 1; ok && b <= header.blockCount; ++b) {
                if (selectionList->GetFlat(b) >= 1) copyBlock(b);
            }
        }
    }
    if (writeState) DeleteStaleIndex();
    CloseWrite();
    return ok;
}

}  // namespace kiv
