#include "search/DescriptorCommands.h"

#include <algorithm>

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

bool LoadDescriptorsCommand(DescriptorSet& set, CPrompter& prompter, CSession& session)
{
    if (!OpenWithStatus(set, prompter, session)) {
        session.SetStatus("No Descriptors loaded");
        return false;
    }
    session.SetStatus("Loading Descriptors ...");
    set.ReadObjects(0);
    set.CloseDescriptors();
    session.SetStatus(Format("%d x %d Descriptors loaded", set.objectCount, set.bitCount));
    return set.IsLoaded();
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

void UseDescriptorsY(DescriptorSet& set, CMatrix& y, CMatrixI& yColumns, CSession& session)
{
    // Only objects whose bits exist: a header alone must not size y.
    const int objects = set.ObjectsAvailable();
    const int bits = objects > 0 ? set.bitCount : 0;
    if (y.Alloc(objects, bits)) {
        for (int i = 1; i <= objects; ++i) {
            CMatrix row;
            if (set.IsLoaded()) {
                row = set.ObjectVector(i);
            } else if (set.IsOpen() && set.ReadObjects(i) == 1) {
                row = set.ObjectVector();
            }
            for (int c = 1; c <= std::min(bits, row.Cols()); ++c) y.Set(i, c, row.Get(1, c));
        }
    }
    yColumns.Alloc(1, bits);
    for (int c = 1; c <= bits; ++c) yColumns.Set(1, c, c);
    session.SetStatus("Descriptors copied.");
}

CMatrix StructuralSimilarityMatrix(const Hitlist& hitlist)
{
    return CMatrix(hitlist.similarities.Rows(), hitlist.similarities.Cols());
}

}  // namespace kiv
