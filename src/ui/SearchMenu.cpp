#include "ui/SearchMenu.h"

#include "search/DescriptorCommands.h"
#include "search/SearchCommands.h"
#include "settings/Parameters.h"

namespace kiv {

namespace {

void LoadParametersCommand(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    if (LoadParameters(doc.bib.parameters, "", prompter) != FileResult::Done) return;
    CopyParameters(doc.bib.parameters, doc.reference.bib.parameters);
    session.SetStatus("Parameters loaded");
}

void SaveParametersCommand(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    if (SaveParameters(doc.bib.parameters, "", doc.zoom, prompter) == FileResult::Done) {
        session.SetStatus("Parameters saved");
    }
}

void OpenCdm(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    OpenCdmFeatures(doc.reference, doc.features, "", prompter, session);
}

void SearchCurrent(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    SearchCurrentSpectrum(doc.bib, doc.features, doc.reference, doc.hitlist, prompter, session);
}

void SearchBib(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    SearchWholeBib(doc.bib, doc.features, doc.reference, doc.hitlist, prompter, session);
}

void HitlistRecordNumbers(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    SaveHitlistRecordNumbers(doc.hitlist, "", prompter, session);
}

void HitlistToBib(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    const std::optional<std::string> path =
        prompter.ChooseFileToSave({"Save Hitlist to BIB:", "*.ssd", kBibFileFilter, true});
    if (path) SaveHitlistToBib(doc.hitlist, doc.reference, *path, session);
}

void HitlistText(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    SaveHitlistText(doc.hitlist, "", prompter, session);
}

void OpenDescriptors(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    OpenDescriptorsCommand(doc.reference.descriptors, prompter, session);
}

void LoadDescriptors(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    LoadDescriptorsCommand(doc.reference.descriptors, prompter, session);
}

void LoadUnknownDescriptors(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    LoadDescriptorsCommand(doc.unknownDescriptors, prompter, session);
}

void CloseDescriptors(CKivDoc& doc, CPrompter&, CSession& session)
{
    CloseDescriptorsCommand(doc.reference.descriptors, session);
}

void CopyBitString(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    CopyBitStringCommand(doc.reference.descriptors, prompter, session);
}

void CalcStructuralSimilarity(CKivDoc& doc, CPrompter&, CSession& session)
{
    doc.structuralSimilarity = StructuralSimilarityMatrix(doc.hitlist);
    session.Redraw();
}

void ShowDescriptor(CKivDoc& doc, CPrompter& prompter, CSession&)
{
    ShowDescriptorCommand(doc.reference.descriptors, prompter);
}

}  // namespace

void AddSearchMenuCommands(CommandList& commands)
{
    commands.insert(commands.end(), {
        {"Options", "Load Parameters", "parameter file", LoadParametersCommand, {}},
        {"Options", "Save Parameters", "parameter file", SaveParametersCommand, {}},
        {"Reference", "Open CDM Features", "CDM file", OpenCdm, {}},
        {"Reference", "Spectral Similarity Search Current Spectrum", "", SearchCurrent, {}},
        {"Reference", "Spectral Similarity Search BIB", "", SearchBib, {}},
        {"Reference", "Save Hitlist Record Numbers", "output file", HitlistRecordNumbers, {}},
        {"Reference", "Save Hitlist to BIB", "output library (.ssd)", HitlistToBib, {}},
        {"Reference", "Save Hitlist Text", "output file", HitlistText, {}},
        {"Descriptors", "Open Descriptors", "descriptor header file", OpenDescriptors, {}},
        {"Descriptors", "Load Descriptors", "descriptor header file", LoadDescriptors, {}},
        {"Descriptors", "Load Descriptors Unknown", "descriptor header file", LoadUnknownDescriptors, {}},
        {"Descriptors", "Close Descriptors", "", CloseDescriptors, {}},
        {"Descriptors", "Copy BitString", "object number", CopyBitString, {}},
        {"Descriptors", "Show Descriptor", "object number", ShowDescriptor, {}},
        {"Descriptors", "SpecSimSearch Calc Structural Similarity", "", CalcStructuralSimilarity, {}},
    });
}

}  // namespace kiv
