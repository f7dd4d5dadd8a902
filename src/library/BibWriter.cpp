// The writing side of CBib: a library is never edited in place; every change produces a new data
// file, written as a header followed by blocks appended one by one. The index of the new library
// is not written: a stale one is deleted, and the first open rebuilds it (which also puts the
// true block count into the header).
#include <filesystem>

#include "base/Format.h"
#include "base/Paths.h"
#include "base/Reporter.h"
#include "library/Bib.h"
#include "library/BibRecords.h"

namespace kiv {

namespace {

bool EndsWithSsd(const std::string& path)
{
    return path.size() >= 4 && EqualsIgnoreCase(std::string_view(path).substr(path.size() - 4), ".ssd");
}

}  // namespace

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
    if (readState == 0) return false;
    std::error_code error;
    return std::filesystem::equivalent(writePath, path + ".ssd", error) && !error;
}

bool CBib::WriteHeader()
{
    output_.reset();
    writeState = 0;
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
    writeState = 1;
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

bool CBib::WriteBlock()
{
    if (writeState <= 0 || !output_) return false;
    writeBuffer_.clear();
    // The block is assembled whole and written only when every record passed its check, so a
    // failed block leaves the file a valid, shorter library.
    if (!EncodeBlock(writeBuffer_, record, outputPosition_)) return false;
    return WriteBytes(writeBuffer_);
}

void CBib::CloseWrite()
{
    if (output_) {
        if (std::fclose(output_.release()) != 0) ReportRunTimeError(Format("Write BIB %s failed", writePath.c_str()));
    }
    writeState = 0;
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
        ok = readError == 0 && WriteBlock();
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
    if (writeState > 0) DeleteStaleIndex();
    CloseWrite();
    return ok;
}

}  // namespace kiv
