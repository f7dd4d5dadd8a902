#include "import/netcdf/NetcdfLibrary.h"

#include "base/Format.h"
#include "base/Paths.h"
#include "base/Reporter.h"
#include "import/netcdf/NetcdfImport.h"

namespace kiv {

ImportOutcome ImportNetcdfLibrary(CBib& bib, const std::vector<std::string>& inputFiles, const std::string& bibFile)
{
    ImportOutcome outcome;
    if (inputFiles.empty()) return outcome;
    if (inputFiles.size() > 1) {
        ReportRunTimeError(Format("One GC-MS run per library: %s and the files after it are not imported",
                                  inputFiles[1].c_str()));
    }
    if (ImportNetcdf(bib, inputFiles[0])) {
        outcome.filesOpened = 1;
        bib.path = WithoutLast(bibFile, 4);
        bib.writePath = bibFile;
        const bool saved = bib.SaveLibrary(nullptr, 0);
        outcome.blocksWritten = saved ? bib.header.blockCount : 0;
        outcome.completed = saved && inputFiles.size() == 1;
    }
    bib.Close();
    return outcome;
}

}  // namespace kiv
