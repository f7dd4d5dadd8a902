#pragma once
// CBib: one spectral library and its current library record. The library lives either on disk
// (a data file ".ssd" read block by block through its index ".ssi") or wholly in memory after an
// import (one array per record kind); selecting a block looks the same to callers in both cases.
// The same object can write a new library while it reads another one, so copying a library is a
// loop of SelectBlock and WriteBlock.
//
// Usual order: Open, ReadHeader, OpenIndex, any number of SelectBlock, Close.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/BinaryIO.h"
#include "base/FileResult.h"
#include "base/Prompt.h"
#include "base/TextFile.h"
#include "settings/Parameters.h"
#include "library/BibRecord.h"
#include "library/BibRecords.h"
#include "library/RunData.h"
#include "matrix/MatrixI.h"

namespace kiv {

// How a spectrum read from disk is prepared. Spectra for analysis (features, searches, display)
// are cut at m/z 100 and normalised to a base peak of 100; commands that copy a library into
// another one take the spectrum exactly as stored, so that a copy never loses peaks.
enum class SpectrumReading { ForAnalysis, AsStored };

// Heaviest mass kept in spectra read for analysis.
constexpr int kAnalysisMassLimit = 100;

class CBib {
public:
    CBib();
    ~CBib();
    CBib(const CBib&) = delete;
    CBib& operator=(const CBib&) = delete;

    // Library files and states.
    std::string path;  // base path without ".ssd"
    bool readState = false;  // the data file is open for reading
    bool writeState = false;  // a new library is being written
    bool inMemory = false;  // the blocks are held in the memory arrays
    int32_t currentX[6] = {0, 0, 0, 0, 0, 0};  // the last X record: its length, then N, S, M, I, Z lengths
    CMatrixI indexTable;  // 6 x blocks: the offsets of the index file
    int currentBlock = 0;  // selected block, 0 = none
    int currentRank = 0;  // position of the selected block in the selection list
    bool readError = false;  // the last block read reported a damaged record
    CBibHeader header;
    CBibRecord record;  // the current library record

    // The library held in memory; element i belongs to block i + 1.
    std::vector<int32_t> memoryIds;
    std::vector<CBibName> memoryNames;
    std::vector<CMolecule> memoryMolecules;
    std::vector<CMassSpectrum> memorySpectra;
    std::vector<CIrSpectrum> memoryIr;
    std::vector<CSupData> memorySup;

    CMatrixI selection;  // block numbers in selection order; empty means all blocks
    CParameters parameters;
    CRunData run;  // GC-MS working data of the run held in this library
    std::string writePath;  // the ".ssd" file being written

    // File dialogs and prompts go here (headless by default: "no file chosen").
    void SetPrompter(CPrompter* prompter);
    CPrompter& Prompter() const { return *prompter_; }

    // ---- Reading ----
    // Opens the data file of path (asking with a file dialog when path is empty). Returns 0 when
    // open, NoFileChosen or CannotOpen otherwise (both reported).
    FileResult Open();
    FileResult Open(const std::string& libraryPath);
    bool ReadHeader();
    // Loads the index, rebuilding a missing index file silently.
    bool OpenIndex();
    void Close();
    // Clears everything but the selection list and the parameter set (which gets its defaults on
    // the first reset).
    void Reset();
    // 0: positioned at block b; 1: block b has no entry; 2: error reported.
    int SeekBlock(int b);
    // Reads the block at the current position into the current record. After a damaged record
    // the file stands at the next block (the rest of the block is skipped).
    bool ReadBlock(SpectrumReading reading = SpectrumReading::ForAnalysis);
    // True when sequential reading has reached the end of the data file.
    bool AtEndOfData() const { return !data_.IsOpen() || data_.AtEnd(); }
    // Makes block b (clamped to 0..block count) the current record; 0 clears it. Returns the
    // selected block. A block that cannot be read leaves the record empty and sets readError.
    int SelectBlock(int b, SpectrumReading reading = SpectrumReading::ForAnalysis);
    // Selects the block at position r (clamped) of the selection list; returns the rank.
    int SelectRank(int r);
    // In memory mode: appends a copy of the current record and raises the block count.
    bool AppendRecord();

    // ---- Writing ----
    // Starts a new library at writePath: closes the read side, resets, writes the header and
    // deletes a stale index of that library.
    bool NewLibrary(const std::string& title, const std::string& typ, const std::string& newWritePath);
    // Opens writePath (asking when empty; ".ssd" is added to a name without extension) and
    // writes the header record.
    bool WriteHeader();
    // Appends the current record as one block.
    bool WriteBlock();
    // Appends another record as one block (the current record stays as it is).
    bool WriteBlock(const CBibRecord& block);
    // Writes a copy of the library to writePath: all blocks (selection nullptr), the blocks of a
    // list in list order (byFlags 0), or the blocks whose flag is 1 or more (byFlags 1).
    bool SaveLibrary(const CMatrixI* selectionList, int byFlags);
    void CloseWrite();
    // Deletes the index file that belongs to writePath, if any.
    void DeleteStaleIndex() const;

private:
    bool ReadBlockAt(SpectrumReading reading);
    bool WriteBytes(const std::string& bytes);
    bool WritesOverOpenLibrary() const;

    CBinaryFile data_;
    // The output's stdio buffer: large, so that a library of small blocks is written in few
    // system calls. Declared before output_, which is closed (and flushed) first.
    std::unique_ptr<char[]> outputBuffer_;
    FilePtr output_;
    int64_t outputPosition_ = 0;
    std::string blockBuffer_;  // bytes of the block being read, reused from block to block
    CSpectrumSpare spectrumSpare_;
    std::string writeBuffer_;  // bytes of the block being written
    CPrompter* prompter_;
};

// Lends a prompter to a library for the length of one command (the library asks its own file
// dialogs) and gives the library its previous prompter back afterwards.
class CLibraryPrompterScope {
public:
    CLibraryPrompterScope(CBib& bib, CPrompter& prompter) : bib_(bib), previous_(&bib.Prompter())
    {
        bib.SetPrompter(&prompter);
    }
    ~CLibraryPrompterScope() { bib_.SetPrompter(previous_); }
    CLibraryPrompterScope(const CLibraryPrompterScope&) = delete;
    CLibraryPrompterScope& operator=(const CLibraryPrompterScope&) = delete;

private:
    CBib& bib_;
    CPrompter* previous_;
};

// The file dialog filter of libraries.
extern const char* const kBibFileFilter;

// Opens the library at path (".ssd" optional) as the view shows one: data file, index and
// header, then block 1 becomes the current record. A library whose index or header cannot be
// read (reported) is closed again and gives CannotOpen, so that no damaged library stays open
// as if it were an empty one.
FileResult OpenAtFirstBlock(CBib& bib, const std::string& path);

// path without a final ".ssd" (in any letter case).
std::string WithoutSsdExtension(const std::string& path);

}  // namespace kiv
