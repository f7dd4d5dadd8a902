#include "import/MspImport.h"

#include "base/Format.h"
#include "base/Paths.h"
#include "base/Progress.h"
#include "base/Prompt.h"
#include "base/Reporter.h"
#include "base/Session.h"
#include "import/MspReader.h"

namespace kiv {

namespace {

// Records between progress reports (each report looks for the stop file).
constexpr int kProgressInterval = 2000;

enum class FileRead {
    Whole,
    NotOpened,  // the next file may still be read
    Ended,  // a block could not be written or the user stopped: the import ends
};

FileRead ImportMspFile(CBib& bib, const std::string& path, CMspReader& reader, MspImportOutcome& outcome)
{
    if (!reader.Open(path)) {
        ReportRunTimeError("Error opening " + path);
        return FileRead::NotOpened;
    }
    ++outcome.filesOpened;
    const std::string text = "MSP import " + std::string(FileNamePart(path));
    for (int sinceReport = 0;; ++sinceReport) {
        bib.record.id = outcome.imported + 1;
        const MspStatus status = reader.Next(bib.record);
        if (status == MspStatus::End) return FileRead::Whole;
        if (status == MspStatus::Damaged) {
            ++outcome.skipped;
        } else {
            if (!bib.WriteBlock()) return FileRead::Ended;
            ++outcome.imported;
        }
        if (sinceReport >= kProgressInterval) {
            sinceReport = 0;
            const int64_t size = reader.FileSize();
            const int percent = size > 0 ? static_cast<int>(100 * reader.Position() / size) : 0;
            if (ReportProgress(percent, text) > 1) {
                outcome.stopped = true;
                return FileRead::Ended;
            }
        }
    }
}

}  // namespace

MspImportOutcome ImportMspFiles(CBib& bib, const std::vector<std::string>& files, MessageLog& log)
{
    MspImportOutcome outcome;
    if (bib.writeState <= 0) {
        ReportRunTimeError("Import needs a new BIB opened for writing");
        return outcome;
    }
    outcome.completed = true;
    CMspReader reader(log);
    for (const std::string& path : files) {
        const FileRead read = ImportMspFile(bib, path, reader, outcome);
        if (read != FileRead::Whole) outcome.completed = false;
        if (read == FileRead::Ended) break;
    }
    if (!outcome.stopped) ReportProgress(100, "import done");
    return outcome;
}

MspImportOutcome ImportMspLibrary(CBib& bib, const std::vector<std::string>& files, const std::string& bibFile,
                                  const std::string& title, const std::string& typ, MessageLog& log)
{
    MspImportOutcome outcome;
    if (bib.NewLibrary(title, typ, bibFile)) outcome = ImportMspFiles(bib, files, log);
    bib.CloseWrite();
    bib.Close();
    log.push_back(Format("%d records imported, %d skipped", outcome.imported, outcome.skipped));
    return outcome;
}

MspImportOutcome ImportMsp(const std::string& mspPath, const std::string& bibFile, MessageLog& log)
{
    CBib bib;
    return ImportMspLibrary(bib, {mspPath}, bibFile, FileTitle(mspPath), "MS", log);
}

ImportOutcome RunMspLibraryImport(CBib& bib, const std::string& typ, const std::string& title,
                                  const std::vector<std::string>& inputFiles, const std::string& writePath)
{
    MessageLog log;
    const MspImportOutcome msp = ImportMspLibrary(bib, inputFiles, writePath, title, typ, log);
    if (msp.skipped > 0 || !msp.completed) {
        std::string text;
        for (const std::string& line : log) text += (text.empty() ? "" : "\n") + line;
        ReportRunTimeError(text);
    }
    ImportOutcome outcome;
    outcome.completed = msp.completed;
    outcome.blocksWritten = msp.imported;
    outcome.filesOpened = msp.filesOpened;
    outcome.stopped = msp.stopped;
    return outcome;
}

MspImportOutcome ImportMspCommand(CBib& bib, CPrompter& prompter, CSession& session)
{
    const std::optional<std::string> chosen =
        prompter.ChooseFileToOpen({"Import MSP file:", "*.msp", "MSP Files (*.msp)|*.msp|All Files (*.*)|*.*||"});
    if (!chosen || chosen->empty()) return {};
    const std::string& path = *chosen;
    // The new library lies beside the MSP file and takes its name.
    const std::string title = FileTitle(path);
    const std::string base = WithoutExtension(path);
    session.Log(Format("Import BIB from %s", path.c_str()));
    session.SetStatus("importing ...");
    MessageLog log;
    const MspImportOutcome outcome = ImportMspLibrary(bib, {path}, base + ".ssd", title, "MS", log);
    for (const std::string& line : log) session.Log(line);
    session.SetStatus("Import done");
    OpenAtFirstBlock(bib, base);
    session.Redraw();
    return outcome;
}

}  // namespace kiv
