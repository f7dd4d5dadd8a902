#include "search/Hitlist.h"

#include "base/TextFile.h"

namespace kiv {

namespace {

// The path to write: the given one, or the one chosen in the save dialog (".txt" appended to a
// name without "."); empty when nothing was chosen.
std::string HitlistPath(const std::string& path, CPrompter& prompter)
{
    if (!path.empty()) return path;
    auto chosen = prompter.ChooseFileToSave(
        {"Save Hitlist Record Numbers to file:", "*.txt", "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||", true});
    if (!chosen) return {};
    std::string file = *chosen;
    if (file.find('.') == std::string::npos) file += ".txt";
    return file;
}

}  // namespace

int32_t Hitlist::ChosenUnknown() const
{
    int32_t unknowns = similarities.Rows();
    return unknowns > 1 && currentUnknown >= 1 && currentUnknown <= unknowns ? currentUnknown : 1;
}

void SaveHitlistRecordNumbers(const Hitlist& hitlist, const std::string& path, CPrompter& prompter, CSession& session)
{
    CTextWriter out;
    std::string file = HitlistPath(path, prompter);
    if (!file.empty() && out.Open(file)) {
        int32_t unknown = hitlist.ChosenUnknown();
        for (int h = 1; h <= hitlist.referenceNumbers.Cols(); ++h) {
            out.Print("%6d\n", hitlist.referenceNumbers.Get(unknown, h));
        }
    }
    session.SetStatus("Hitlist RNs saved.");
}

void SaveHitlistText(const Hitlist& hitlist, const std::string& path, CPrompter& prompter, CSession& session)
{
    CTextWriter out;
    std::string file = HitlistPath(path, prompter);
    if (!file.empty() && out.Open(file)) {
        const bool withIndices = hitlist.hitIndices.Rows() == hitlist.similarities.Rows() && hitlist.hitIndices.Rows() > 0;
        out.Write("Hitlist\n");
        out.Print("Unknown from BIB %s\n", hitlist.unknownBibName.c_str());
        out.Print("Hits from BIB %s\n", hitlist.referenceBibName.c_str());
        for (int u = 1; u <= hitlist.similarities.Rows(); ++u) {
            out.Print("\nUnknown %d RN: %d\n", u, hitlist.unknownNumbers.Get(u, 1));
            out.Write(withIndices ? "   HitRN\t SpecSim\t   RIunk\t   RIhit\n" : "   HitRN\t SpecSim\n");
            for (int h = 1; h <= hitlist.similarities.Cols(); ++h) {
                out.Print("%8d\t%8.6f", hitlist.referenceNumbers.Get(u, h), hitlist.similarities.Get(u, h));
                if (withIndices) out.Print("\t%8.1f\t%8.1f", hitlist.unknownIndices.Get(u, 1), hitlist.hitIndices.Get(u, h));
                out.Write("\n");
            }
        }
    }
    session.SetStatus("Hitlist Text saved.");
}

}  // namespace kiv
