#pragma once
// Export of library blocks as JCAMP-DX text: one labelled group of lines per block, each group
// starting with its "##TITLE=" line, so that the JCAMP-DX import reads the file back as one
// spectrum per block. Intensities are written in hundredths of a percent of the base peak
// (YFACTOR 0.01), masses as integers scaled by 10^decimals (XFACTOR 10^-decimals).
#include <string>

#include "base/MessageLog.h"
#include "base/TextFile.h"
#include "library/Bib.h"
#include "matrix/MatrixI.h"

namespace kiv {

// The only export format.
constexpr int kJcampExportFormat = 11;

// Writes the blocks named by selection (in list order), or every block when it is empty, to a
// text file (CR LF lines). path empty: asked for with a save dialog. Returns 1 when the file was
// written, 0 when no file was chosen or it cannot be created.
int ExportBib(CBib& bib, const CMatrixI& selection, int format, const std::string& path);

// One block; a block number outside the library writes an error line instead.
void ExportBlock(CBib& bib, int block, int format, CTextWriter& out);

// The "Export BIB" command: ExportBib with the library's selection list, then the report in the
// log ("Exported %d spectra" or "Exported all spectra") and the status "Export done".
int ExportBibCommand(CBib& bib, int format, const std::string& path, MessageLog& log, std::string& status);

}  // namespace kiv
