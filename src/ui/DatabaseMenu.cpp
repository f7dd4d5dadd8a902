#include "ui/DatabaseMenu.h"

#include "base/Reporter.h"
#include "import/MemoryImport.h"
#include "import/MspImport.h"
#include "import/MspWriter.h"
#include "import/StructureImport.h"
#include "import/TextImport.h"
#include "library/BibBuild.h"
#include "library/BibConvert.h"
#include "library/BibExport.h"
#include "library/BibSelection.h"

namespace kiv {

namespace {

void LogLines(const MessageLog& log, CSession& session)
{
    for (const std::string& line : log) session.Log(line);
}

template <TextImportFormat format>
void ImportText(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    CLibraryPrompterScope scope(doc.bib, prompter);
    ImportTextCommand(doc.bib, prompter, session, format);
}

void ImportMsp(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    CLibraryPrompterScope scope(doc.bib, prompter);
    ImportMspCommand(doc.bib, prompter, session);
}

void ExportMspFile(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    CLibraryPrompterScope scope(doc.bib, prompter);
    ExportMspCommand(doc.bib, prompter, session);
}

void OpenBib(CKivDoc& doc, CPrompter& prompter, CSession& session) { OpenWorkingBib(doc, "", prompter, session); }

void CloseBib(CKivDoc& doc, CPrompter&, CSession& session) { CloseWorkingBib(doc, session); }

void AddStructuresToBib(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    AddStructuresCommand(doc.bib, prompter, session);
}

void SelectAll(CKivDoc& doc, CPrompter&, CSession& session)
{
    SelectAllSpectra(doc.bib);
    session.Redraw();
}

void LoadSelectionList(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    CLibraryPrompterScope scope(doc.bib, prompter);
    std::string status;
    LoadSelection(doc.bib, "", status);
    session.SetStatus(status);
}

void ExportBibFile(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    CLibraryPrompterScope scope(doc.bib, prompter);
    MessageLog log;
    std::string status;
    ExportBibCommand(doc.bib, kJcampExportFormat, "", log, status);
    LogLines(log, session);
    session.SetStatus(status);
}

void ConvertBibFiles(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    CLibraryPrompterScope scope(doc.bib, prompter);
    MessageLog log;
    if (!ConfirmConvertOptions(doc.bib.parameters, prompter, log)) {
        LogLines(log, session);
        return;
    }
    std::string status;
    ConvertBib(doc.bib, {}, "", log, status);
    LogLines(log, session);
    session.SetStatus(status);
}

void BuildFromDirectory(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    CLibraryPrompterScope scope(doc.bib, prompter);
    MessageLog log;
    BuildBibFromDirectory(doc.bib, "", "", log);
    LogLines(log, session);
}

// "Save BIB": the reference library (for example the subtraction spectra taken from a run) as a
// new library file.
void SaveReferenceBib(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    CBib& reference = doc.reference.bib;
    CLibraryPrompterScope scope(reference, prompter);
    reference.writePath.clear();  // asks
    if (reference.SaveLibrary(nullptr, 0)) session.SetStatus("Reference saved");
}

// "Save Selection of BIB": the blocks of the working library's selection list, in block order.
void SaveSelectionOfBib(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    CBib& bib = doc.bib;
    if (bib.selection.Count() == 0) {
        ReportRunTimeError("No Spectra selected!");
        return;
    }
    CMatrixI flags(1, bib.header.blockCount);
    for (int k = 1; k <= bib.selection.Count(); ++k) flags.SetFlat(bib.selection.GetFlat(k), 1);  // outside: ignored
    CLibraryPrompterScope scope(bib, prompter);
    bib.writePath.clear();  // asks
    if (bib.SaveLibrary(&flags, 1)) session.SetStatus("Selection saved");
}

void ImportMassLibFolderCommand(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    const std::optional<std::string> file =
        prompter.ChooseFileToOpen({"MassLib folder: any file", "*.cop", "COP Files (*.cop)|*.cop|All Files (*.*)|*.*||"});
    if (file) ImportMassLibFolder(doc.bib, *file, session);
    session.SetStatus(RecordStatus(doc.bib));
}

}  // namespace

void AddDatabaseMenuCommands(CommandList& commands)
{
    commands.insert(commands.end(), {
        {"Database", "Import to BIB Database", "JCAMP-DX file", ImportText<TextImportFormat::Jcamp>, {}},
        {"Database", "Import Table to BIB", "tab-separated table file", ImportText<TextImportFormat::Table>, {}},
        {"Database", "Import TRANSPEC to BIB", "TRANSPEC file", ImportText<TextImportFormat::Transpec>, {}},
        {"Database", "Import Structures to BIB", "SD file", ImportText<TextImportFormat::Structures>, {}},
        {"Database", "Import MSP to BIB", "MSP file", ImportMsp, {}},
        {"Database", "Import MassLib Folder", "any .cop file of the folder", ImportMassLibFolderCommand, {}},
        {"Database", "Open BIB Database", "library (.ssd)", OpenBib, {}},
        {"Database", "Close BIB Database", "", CloseBib, {}},
        {"Database", "Add Structures to BIB Database", "option, library, SD file, output library", AddStructuresToBib, {}},
        {"Database", "Save BIB", "output library (.ssd)", SaveReferenceBib, {}},
        {"Database", "Save Selection of BIB", "output library (.ssd)", SaveSelectionOfBib, {}},
        {"Database", "Select all spectra", "", SelectAll, {}},
        {"Database", "Load Selection", "selection file", LoadSelectionList, {}},
        {"Database", "Export BIB", "output file", ExportBibFile, {}},
        {"Database", "Export MSP", "output file", ExportMspFile, {}},
        {"Database", "Convert BIB", "MS_spectrum mode, input libraries, output library", ConvertBibFiles, {}},
        {"Database", "Build new BIB from Directory", "any library of the folder, output library", BuildFromDirectory, {}},
    });
}

}  // namespace kiv
