#include "import/StructureImport.h"

#include "base/Format.h"
#include "base/Progress.h"
#include "base/Prompt.h"
#include "base/Reporter.h"
#include "base/Session.h"
#include "import/MolfileReader.h"
#include "import/TextImport.h"

namespace kiv {

ImportOutcome ImportStructureFiles(CBib& bib, const std::vector<std::string>& files)
{
    ImportOutcome outcome;
    for (const std::string& path : files) {
        CLineReader stream;
        if (!stream.Open(path)) {
            ReportRunTimeError("Error opening " + path);
            return outcome;
        }
        ++outcome.filesOpened;
        for (;;) {
            const MolfileStatus status = ReadMolfile(stream, bib.record.molecule);
            if (status == MolfileStatus::End) break;
            // A damaged record (already reported) or one without atoms adds no block; the
            // records after it are still read.
            if (bib.record.molecule.empty) continue;
            if (!bib.WriteBlock()) return outcome;
            ++outcome.blocksWritten;
        }
    }
    bib.record.molecule.Clear();
    outcome.completed = true;
    return outcome;
}

int AddStructures(CBib& bib, const std::string& bibPath, const std::string& sdPath, const std::string& outputPath,
                  int option)
{
    bib.Close();
    if (bib.Open(bibPath) != FileResult::Done) return 0;
    // The index comes first: opening a library that was never opened rebuilds it and puts the
    // true block count into the header.
    if (!bib.OpenIndex() || !bib.ReadHeader()) {
        bib.Close();
        return 0;
    }
    const int count = bib.header.blockCount;
    int written = 0;
    if (count > 0) {
        bib.writePath = outputPath;
        if (!bib.WriteHeader()) {
            bib.Close();
            return 0;
        }
        bib.DeleteStaleIndex();
        CLineReader stream;
        stream.Open(sdPath);  // when it cannot be opened no structure is read
        CMolecule molecule;
        for (int i = 1; i <= count; ++i) {
            if (ReportProgress(i * 100 / count, "") > 1) break;
            if (!stream.IsOpen() || ReadMolfile(stream, molecule) == MolfileStatus::End || molecule.empty) continue;
            if (!bib.ReadBlock(SpectrumReading::AsStored)) break;
            if (option == kNewIds) bib.record.id = i;
            bib.record.molecule = molecule;
            if (!bib.WriteBlock()) break;
            ++written;
        }
        bib.CloseWrite();
    }
    bib.Close();
    return written;
}

void AddStructuresCommand(CBib& bib, CPrompter& prompter, CSession& session)
{
    int cancelled = 0;
    const int option = AskIntegerOrCancel(prompter,
                                          "Add Structures Options\n\n"
                                          "Add Structures to BIB\n"
                                          "Structures are loaded from SDF-Molfile\n"
                                          "1\tGenerate new IDs (import all structures)\n"
                                          "2\tKeep IDs from BIB (import all structures)\n"
                                          "3\tKeep IDs from BIB (import structures with matching ID)\n",
                                          kNewIds, cancelled, {{"New ID", "1"}, {"BIB ID", "2"}, {"Check ID", "3"}});
    if (cancelled) return;
    const std::optional<std::string> bibPath =
        prompter.ChooseFileToOpen({"Load BIB to convert:", "*.ssd", "BIB Files (*.ssd)|*.ssd|All Files (*.*)|*.*||"});
    if (!bibPath || bibPath->empty()) return;
    const std::optional<std::string> sdPath = prompter.ChooseFileToOpen(
        {"Load structures from SDF Molfile:", "*.mol; *.sdf", "SDF Moliles (*.mol; *.sdf)|*.mol; *.sdf|All Files (*.*)|*.*||"});
    if (!sdPath || sdPath->empty()) return;
    session.Log(Format("Load BIB %s", bibPath->c_str()));
    session.Log(Format("Import Structures from %s", sdPath->c_str()));
    session.SetStatus("adding structures ...");
    {
        CLibraryPrompterScope scope(bib, prompter);
        AddStructures(bib, *bibPath, *sdPath, "", option);
    }
    session.SetStatus("Structures added to BIB");
}

}  // namespace kiv
