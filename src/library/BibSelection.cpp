#include "library/BibSelection.h"

#include <cmath>

#include "base/BinaryIO.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "base/Reporter.h"
#include "matrix/CdmFile.h"

namespace kiv {

void SelectAllSpectra(CBib& bib) { bib.selection.Free(); }

FileResult LoadSelection(CBib& bib, const std::string& path, std::string& status)
{
    std::string chosen = path;
    if (chosen.empty()) {
        std::optional<std::string> answer = bib.Prompter().ChooseFileToOpen(
            {"Load Selection", "*.mat", "Matrix Files (*.mat)|*.mat|Text Files (*.txt)|*.txt|All Files (*.*)|*.*||"});
        if (!answer || answer->empty()) {
            status = "Selection canceled";
            return FileResult::NoFileChosen;
        }
        chosen = *answer;
    }
    if (!FileExists(chosen)) {
        ReportRunTimeError(Format("Selection file %s cannot be opened", chosen.c_str()));
        return FileResult::CannotOpen;
    }
    CMatrix values;
    CCdmFile file;
    file.Attach(values);
    if (file.Load(chosen) == CdmLoad::NotOpened) {
        ReportRunTimeError(Format("Selection file %s cannot be opened", chosen.c_str()));
        return FileResult::CannotOpen;
    }
    file.ReadData(0);
    file.CloseRead();
    bib.selection.Alloc(1, values.Count());
    for (int k = 1; k <= values.Count(); ++k) bib.selection.SetFlat(k, TruncToInt32(std::floor(values.GetFlat(k) + 0.5)));
    status = "Selection done";
    return FileResult::Done;
}

}  // namespace kiv
