#include "statistics/StatisticsWalk.h"

#include "base/Format.h"
#include "base/Paths.h"
#include "base/Progress.h"
#include "base/Reporter.h"
#include "base/TextFile.h"

namespace kiv {

namespace {

constexpr const char* kWalkText = "calculate Statistics ...";

}  // namespace

int WalkBlocks(CBib& bib, CSession& session, const std::function<void(int)>& visit, SpectrumReading reading)
{
    session.SetStatus(kWalkText);
    const int previous = bib.currentBlock;
    const int count = bib.header.blockCount;
    int visited = 0;
    for (int b = 1; b <= count; ++b) {
        if (ReportProgress(static_cast<int>(int64_t(b) * 100 / count), kWalkText) > 1) break;
        bib.SelectBlock(b, reading);
        visit(b);
        ++visited;
    }
    bib.SelectBlock(previous);
    return visited;
}

std::string StatisticsReportPath(const std::string& chosen)
{
    const size_t nameStart = chosen.size() - FileNamePart(chosen).size();
    const size_t dot = chosen.rfind('.');
    if (dot == std::string::npos || dot < nameStart) return chosen + ".txt";
    return chosen.substr(0, dot) + ".txt";
}

bool SaveStatisticsReport(CPrompter& prompter, const std::string& text)
{
    const std::optional<std::string> chosen = prompter.ChooseFileToSave(
        {"Save Statistics as Text file:", "*.txt", "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||", true});
    if (!chosen) return false;
    const std::string path = StatisticsReportPath(*chosen);
    CTextWriter out;
    if (!out.Open(path)) {
        ReportRunTimeError(Format("Cannot create %s", path.c_str()));
        return false;
    }
    out.Write(text);
    return true;
}

}  // namespace kiv
