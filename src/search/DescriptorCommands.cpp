#include "search/DescriptorCommands.h"

#include "base/Format.h"
#include "base/Reporter.h"

namespace kiv {

namespace {

// Opens the set; true when its header was read.
bool OpenWithStatus(DescriptorSet& set, CPrompter& prompter, CSession& session)
{
    session.SetStatus("Opening Descriptors ...");
    return set.OpenDescriptors("", prompter) >= 1;
}

// The object the user names, with the objects loaded on demand so that a set that was only
// opened can still show its bit strings.
int32_t AskObject(DescriptorSet& set, CPrompter& prompter)
{
    int32_t object = AskInteger(prompter, "Get BitString from Object\nEnter Object", 1);
    if (!set.IsLoaded() && set.IsOpen()) set.ReadObjects(0);
    return object;
}

}  // namespace

void OpenDescriptorsCommand(DescriptorSet& set, CPrompter& prompter, CSession& session)
{
    if (!OpenWithStatus(set, prompter, session)) {
        session.SetStatus("No Descriptors opened");
        return;
    }
    session.SetStatus("Loading Descriptors ...");
    session.SetStatus(Format("%d x %d Descriptors opened", set.objectCount, set.bitCount));
}

void LoadDescriptorsCommand(DescriptorSet& set, CPrompter& prompter, CSession& session)
{
    if (!OpenWithStatus(set, prompter, session)) {
        session.SetStatus("No Descriptors loaded");
        return;
    }
    session.SetStatus("Loading Descriptors ...");
    set.ReadObjects(0);
    set.CloseDescriptors();
    session.SetStatus(Format("%d x %d Descriptors loaded", set.objectCount, set.bitCount));
}

void CloseDescriptorsCommand(DescriptorSet& set, CSession& session)
{
    set.CloseDescriptors();
    session.SetStatus("Descriptors closed");
}

void CopyBitStringCommand(DescriptorSet& set, CPrompter& prompter, CSession& session)
{
    int32_t object = AskObject(set, prompter);
    session.CopyText(set.BitString(object));
    session.SetStatus("BitString copied.");
}

void ShowDescriptorCommand(DescriptorSet& set, CPrompter& prompter)
{
    int32_t object = AskObject(set, prompter);
    ReportRunTimeError(Format("Obj: %d\nByte: %s", object, set.BitString(object).c_str()));
}

CMatrix StructuralSimilarityMatrix(const Hitlist& hitlist)
{
    return CMatrix(hitlist.similarities.Rows(), hitlist.similarities.Cols());
}

}  // namespace kiv
