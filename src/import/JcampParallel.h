#pragma once
// A large JCAMP-DX file read by several threads. The file is cut into ranges of about jobBytes at
// lines that start with "##TITLE="; each range is read by a job on a reader of its own (spectra
// finished and checked there), and the calling thread writes the jobs' spectra and reports their
// messages in the order of the file (reading waiting ranges itself while the oldest is not
// done), numbering spectra and lines as one reader would. A range that ends inside a compound
// file (a nested block's title was the cut) is read on by its own reader over the next range,
// whose separate result is dropped. The library written is the one a single reader writes, byte
// for byte, with the same messages.
#include <cstdint>
#include <cstdio>
#include <string>

#include "import/JcampReader.h"
#include "library/Bib.h"

namespace kiv {

// Files from this size on are read in parallel by the importer.
constexpr int64_t kJcampParallelBytes = int64_t(4) << 20;
constexpr int64_t kJcampJobBytes = int64_t(1) << 20;

// Reads path (fileIndex of fileCount in the list, for progress) into the library being written,
// with threads readers (at least 1: the calling thread and threads - 1 others). counts is updated;
// false when the file cannot be opened.
bool ReadJcampFileInParallel(CBib& bib, CSession* log, const std::string& path, size_t fileIndex, size_t fileCount,
                             CJcampCounts& counts, int64_t jobBytes, int threads);

// The first line at or after from that starts with "##TITLE=" (from itself counts only when it
// starts a line), or size when none does.
int64_t NextTitleLine(std::FILE* file, int64_t from, int64_t size);

}  // namespace kiv
