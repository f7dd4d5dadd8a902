#include "import/MspWriter.h"

#include <algorithm>
#include <cmath>

#include "base/Format.h"
#include "base/Prompt.h"
#include "base/Session.h"
#include "import/MspEncoding.h"
#include "import/MspPeaks.h"

namespace kiv {

namespace {

constexpr double kTiny = 1e-12;
// Enough for intensities in percent with two decimals, in any scale the source had.
constexpr int kIntensityDecimals = 4;

// A number with at most the given decimals, trailing zeros removed ("180.0634", "100", "12.5").
std::string Decimal(double value, int decimals)
{
    std::string text = Format("%.*f", decimals, value);
    if (text.find('.') == std::string::npos) return text;
    TrimRight(text, "0");
    TrimRight(text, ".");
    return text;
}

// A text field as one UTF-8 line.
std::string FieldText(std::string_view text)
{
    std::string line = Latin1ToUtf8(text);
    std::replace(line.begin(), line.end(), '\r', ' ');
    std::replace(line.begin(), line.end(), '\n', ' ');
    return line;
}

void WriteText(CTextWriter& out, const char* key, std::string_view value)
{
    if (value.empty()) return;
    out.Print("%s: %s\n", key, FieldText(value).c_str());
}

void WritePeaks(CTextWriter& out, const CMassSpectrum& s)
{
    if (s.empty) {
        out.Write("Num Peaks: 0\n");
        return;
    }
    // The intensities go out in the scale of the source (the base peak at its absolute
    // intensity), so that a reader finds base-peak intensity and percentages as stored.
    const double scale = s.basePeakIntensity > 0 ? s.basePeakIntensity / 100.0 : 1.0;
    if (s.isVector) {
        const int columns = s.vector.Rows() >= 1 ? s.vector.Cols() : 0;
        int n = 0;
        for (int m = 1; m <= columns; ++m) n += s.vector.Get(1, m) > kTiny ? 1 : 0;
        out.Print("Num Peaks: %d\n", n);
        for (int m = 1; m <= columns; ++m) {
            const double intensity = s.vector.Get(1, m);
            if (intensity > kTiny) out.Print("%d %s\n", m, Decimal(intensity * scale, kIntensityDecimals).c_str());
        }
        return;
    }
    const int n = s.peaks.Rows() >= 2 ? s.peaks.Cols() : 0;
    const int decimals = std::clamp(s.ndec, 0, kMspMassDecimals);
    out.Print("Num Peaks: %d\n", n);
    for (int j = 1; j <= n; ++j) {
        out.Print("%.*f %s\n", decimals, s.peaks.Get(1, j), Decimal(s.peaks.Get(2, j) * scale, kIntensityDecimals).c_str());
    }
}

// path, or the file chosen in a save dialog when path is empty.
std::optional<std::string> FileToWrite(CPrompter& prompter, const std::string& path)
{
    if (!path.empty()) return path;
    std::optional<std::string> answer =
        prompter.ChooseFileToSave({"Export MSP:", "*.msp", "MSP Files (*.msp)|*.msp|All Files (*.*)|*.*||", true});
    if (answer && answer->empty()) answer.reset();
    return answer;
}

}  // namespace

void WriteMspRecord(CTextWriter& out, const CBibRecord& record, int blockNumber)
{
    const CBibName& name = record.name;
    const CMassSpectrum& s = record.spectrum;
    if (name.name.empty()) {
        out.Print("Name: Block %d\n", blockNumber);
    } else {
        WriteText(out, "Name", name.name);
    }
    const bool hasStructure = !record.molecule.empty && record.molecule.atomCount >= 1;
    WriteText(out, "Formula", !name.formula.empty() || !hasStructure ? name.formula : record.molecule.Formula());
    if (name.mw > kTiny) out.Print("MW: %s\n", Decimal(name.mw, 4).c_str());
    if (name.nominalMW != 0) out.Print("NominalMW: %d\n", name.nominalMW);
    if (name.mass2 > kTiny) out.Print("ExactMass: %s\n", Decimal(name.mass2, 4).c_str());
    if (name.cas > 0) out.Print("CAS#: %s\n", CasText(name.cas).c_str());
    if (name.originNumber != 0) out.Print("NIST#: %d\n", name.originNumber);
    WriteText(out, "Origin", name.origin);
    if (!s.empty && s.retentionIndex > 0) out.Print("RI: %s\n", Decimal(s.retentionIndex, 3).c_str());
    if (!s.empty && s.retentionTime > 0) out.Print("RT: %s\n", Decimal(s.retentionTime, 3).c_str());
    if (!s.empty) WriteText(out, "Comments", s.comment);
    if (!s.empty && s.tic != 0) out.Print("TIC: %d\n", s.tic);
    WritePeaks(out, s);
    out.Write("\n");
}

MspExportOutcome ExportMsp(CBib& bib, const std::string& path)
{
    MspExportOutcome outcome;
    const std::optional<std::string> chosen = FileToWrite(bib.Prompter(), path);
    CTextWriter out;
    if (!chosen || !out.Open(*chosen)) return outcome;
    outcome.written = true;
    const int listed = bib.selection.Count();
    const int count = listed > 0 ? listed : bib.header.blockCount;
    for (int k = 1; k <= count; ++k) {
        const int block = listed > 0 ? bib.selection.GetFlat(k) : k;
        // Exported spectra leave the workbench: they go out as stored, with every peak.
        if (bib.SelectBlock(block, SpectrumReading::AsStored) != block || bib.readError) {
            ++outcome.unreadable;
            continue;
        }
        WriteMspRecord(out, bib.record, block);
        ++outcome.records;
    }
    return outcome;
}

MspExportOutcome ExportMspCommand(CBib& bib, CPrompter& prompter, CSession& session, const std::string& path)
{
    const std::optional<std::string> chosen = FileToWrite(prompter, path);
    if (!chosen) return {};
    const MspExportOutcome outcome = ExportMsp(bib, *chosen);
    if (!outcome.written) {
        session.Log("Cannot create " + *chosen);
        return outcome;
    }
    session.Log(Format("Exported %d spectra to %s", outcome.records, chosen->c_str()));
    if (outcome.unreadable > 0) session.Log(Format("%d damaged blocks left out", outcome.unreadable));
    session.SetStatus("Export done");
    return outcome;
}

}  // namespace kiv
