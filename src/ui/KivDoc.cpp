#include "ui/KivDoc.h"

#include "base/Format.h"

namespace kiv {

std::string RecordStatus(const CBib& bib)
{
    if (bib.readState == 0 && bib.inMemory == 0) return Format("%s %d/%d", "Empty BIB", 0, 0);
    return Format("%s %d/%d", bib.record.name.name.c_str(), bib.currentBlock, bib.header.blockCount);
}

FileResult OpenWorkingBib(CKivDoc& doc, const std::string& path, CPrompter& prompter, CSession& session)
{
    CBib& bib = doc.bib;
    bib.Close();
    bib.SetPrompter(&prompter);
    const FileResult opened = OpenAtFirstBlock(bib, path);  // an empty path asks
    session.SetStatus(RecordStatus(bib));
    session.Redraw();
    return opened;
}

void CloseWorkingBib(CKivDoc& doc, CSession& session)
{
    doc.bib.Close();
    session.SetStatus(RecordStatus(doc.bib));
    session.Redraw();
}

void SelectWorkingRecord(CKivDoc& doc, int n, CSession& session)
{
    doc.bib.SelectBlock(n);
    session.SetStatus(RecordStatus(doc.bib));
    session.Redraw();
}

}  // namespace kiv
