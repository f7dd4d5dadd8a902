#pragma once
// The text importer: spectrum text files into a new library. The caller starts the library with
// CBib::NewLibrary; every finished spectrum is written as one block straight away (nothing is
// kept in memory), and the library is closed at the end. The formats:
//   10  JCAMP-DX, every file of the list: single spectra, compound files ("##BLOCKS"), GC-MS
//       runs written as pages, structures given as atom / bond / coordinate lists;
//   11  a tab-separated intensity table, one spectrum per column (first file only);
//   12  TRANSPEC records of "/"-keyword lines (first file only);
//   20  structures only, from Molfiles and SD files (every file of the list).
// Problems are reported with the file and line they concern and cost only what they concern: an
// illegal point its spectrum, a file that cannot be opened that file. Progress is reported per
// file and every 1,000 spectra; a stop request ends the import and keeps the blocks written.
#include <string>
#include <vector>

#include "import/ImportOutcome.h"
#include "library/Bib.h"

namespace kiv {

// The text formats, with the codes listed above.
enum class TextImportFormat { Jcamp = 10, Table = 11, Transpec = 12, Structures = 20 };

class CSession;

// log, when given, receives one line per file with the number of spectra it gave.
ImportOutcome ImportTextFiles(CBib& bib, const std::vector<std::string>& files, TextImportFormat format,
                              CSession* log = nullptr);

// Structures only, writing into the library being written (it is not closed).
ImportOutcome ImportStructureFiles(CBib& bib, const std::vector<std::string>& files);

// Line limit of the spectrum text formats.
constexpr size_t kTextImportLineLimit = 65536;

// The interactive "Import JCAMP Text file:" command: asks for the file (format 10), names the
// new library after it, imports, logs the number of spectra and opens the new library on its
// first block.
class CPrompter;
ImportOutcome ImportTextCommand(CBib& bib, CPrompter& prompter, CSession& session,
                                TextImportFormat format = TextImportFormat::Jcamp);

}  // namespace kiv
