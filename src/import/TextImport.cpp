#include "import/TextImport.h"

#include "base/Format.h"
#include "base/Paths.h"
#include "base/Prompt.h"
#include "base/Reporter.h"
#include "base/Session.h"
#include "import/JcampImport.h"
#include "import/TableImport.h"
#include "import/TranspecImport.h"

namespace kiv {

ImportOutcome ImportTextFiles(CBib& bib, const std::vector<std::string>& files, int formatCode, CSession* log)
{
    ImportOutcome outcome;
    if (bib.writeState <= 0) {
        ReportRunTimeError("Import needs a new BIB opened for writing");
    } else if (formatCode == kImportJcamp) {
        outcome = ImportJcampFiles(bib, files, log);
    } else if (formatCode == kImportTable) {
        if (!files.empty()) outcome = ImportTabTable(bib, files.front());
    } else if (formatCode == kImportTranspec) {
        if (!files.empty()) outcome = ImportTranspec(bib, files.front());
    } else if (formatCode == kImportStructures) {
        outcome = ImportStructureFiles(bib, files);
    } else {
        ReportRunTimeError("Import Format Error!");
    }
    bib.CloseWrite();
    bib.Close();
    return outcome;
}

ImportOutcome ImportTextCommand(CBib& bib, CPrompter& prompter, CSession& session, int formatCode)
{
    const std::optional<std::string> chosen = prompter.ChooseFileToOpen(
        {"Import JCAMP Text file:", "*.txt", "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||"});
    if (!chosen || chosen->empty()) return {};
    const std::string& path = *chosen;
    // The new library lies beside the text file and takes its name.
    const std::string title = FileTitle(path);
    const std::string base = WithoutExtension(path);
    session.Log(Format("Import BIB from %s", path.c_str()));
    session.SetStatus("importing ...");
    ImportOutcome outcome;
    if (bib.NewLibrary(title, "MS", base + ".ssd")) outcome = ImportTextFiles(bib, {path}, formatCode, &session);
    session.SetStatus("Import done");
    session.Log(Format("%d spectra imported.", outcome.blocksWritten));
    OpenAtFirstBlock(bib, base);
    session.Redraw();
    return outcome;
}

}  // namespace kiv
