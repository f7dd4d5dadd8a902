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

namespace {

ImportOutcome ImportByFormat(CBib& bib, const std::vector<std::string>& files, TextImportFormat format, CSession* log)
{
    switch (format) {
    case TextImportFormat::Jcamp: return ImportJcampFiles(bib, files, log);
    case TextImportFormat::Table: return files.empty() ? ImportOutcome{} : ImportTabTable(bib, files.front());
    case TextImportFormat::Transpec: return files.empty() ? ImportOutcome{} : ImportTranspec(bib, files.front());
    case TextImportFormat::Structures: return ImportStructureFiles(bib, files);
    }
    ReportRunTimeError("Import Format Error!");  // a code outside the list
    return {};
}

}  // namespace

ImportOutcome ImportTextFiles(CBib& bib, const std::vector<std::string>& files, TextImportFormat format, CSession* log)
{
    ImportOutcome outcome;
    if (bib.writeState <= 0) {
        ReportRunTimeError("Import needs a new BIB opened for writing");
    } else {
        outcome = ImportByFormat(bib, files, format, log);
    }
    bib.CloseWrite();
    bib.Close();
    return outcome;
}

ImportOutcome ImportTextCommand(CBib& bib, CPrompter& prompter, CSession& session, TextImportFormat format)
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
    if (bib.NewLibrary(title, "MS", base + ".ssd")) outcome = ImportTextFiles(bib, {path}, format, &session);
    session.SetStatus("Import done");
    session.Log(Format("%d spectra imported.", outcome.blocksWritten));
    OpenAtFirstBlock(bib, base);
    session.Redraw();
    return outcome;
}

}  // namespace kiv
