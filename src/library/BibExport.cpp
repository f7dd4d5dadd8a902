#include "library/BibExport.h"

#include <algorithm>
#include <cmath>

#include "base/Format.h"

namespace kiv {

namespace {

constexpr double kTiny = 1e-12;

void ExportSpectrum(const CMassSpectrum& s, CTextWriter& out)
{
    if (s.isVector) {
        const int columns = s.vector.Rows() >= 1 ? s.vector.Cols() : 0;
        int n = 0;
        for (int m = 1; m <= columns; ++m) n += s.vector.Get(1, m) > kTiny ? 1 : 0;
        out.Print("##XFACTOR=%d\n", 1);
        out.Print("##YFACTOR=%4.2f\n", 0.01);
        out.Print("##NPOINTS=%d\n", n);
        out.Write("##PEAK TABLE=(XY)\n");
        for (int m = 1; m <= columns; ++m) {
            const double intensity = s.vector.Get(1, m);
            if (intensity <= kTiny) continue;
            out.Print("%6d, ", m);
            out.Print("%6.0f\n", std::floor(intensity * 100 + 0.5));
        }
        return;
    }
    // Decimals as the mass field of the library can carry them.
    const double scale = std::pow(10.0, std::clamp(s.ndec, 0, 175));
    const int n = s.peaks.Rows() >= 2 ? s.peaks.Cols() : 0;
    out.Print("##XFACTOR=%8.6f\n", 1 / scale);
    out.Print("##YFACTOR=%4.2f\n", 0.01);
    out.Print("##NPOINTS=%d\n", n);
    out.Write("##PEAK TABLE=(XY)\n");
    for (int j = 1; j <= n; ++j) {
        out.Print("%10.0f, ", std::floor(s.peaks.Get(1, j) * scale + 0.5));
        out.Print("%6.0f\n", std::floor(s.peaks.Get(2, j) * 100 + 0.5));
    }
}

}  // namespace

void ExportBlock(CBib& bib, int block, int format, CTextWriter& out)
{
    if (block < 1 || block > bib.header.blockCount) {
        out.Print("##********* ERROR Block %d *********##\n", block);
        return;
    }
    // Exported spectra leave the workbench: they go out as stored, with every peak.
    bib.SelectBlock(block, SpectrumReading::AsStored);
    if (format != kJcampExportFormat) {
        out.Print("format %d? block %d\n", format, block);
        return;
    }
    const CBibRecord& r = bib.record;
    out.Print("##TITLE=%s\n", r.name.name.c_str());
    out.Print("##MSORIGINALNO=%d\n", block);
    out.Write("##JCAMP-DX=4.24\n");
    if (!r.name.origin.empty()) out.Print("##ORIGIN=%s %d\n", r.name.origin.c_str(), r.name.originNumber);
    if (r.name.cas != 0) out.Print("##CASREGISTRYNO=%d\n", r.name.cas);
    if (r.name.mw > kTiny) out.Print("##MW=%0.6f\n", r.name.mw);
    if (!r.molecule.empty && r.molecule.atomCount >= 1) {
        out.Print("##MOLFORM=%s\n", r.molecule.Formula().c_str());
    } else if (!r.name.formula.empty()) {
        out.Print("##MOLFORM=%s\n", r.name.formula.c_str());
    }
    if (r.spectrum.empty) return;
    ExportSpectrum(r.spectrum, out);
}

int ExportBib(CBib& bib, const CMatrixI& selection, int format, const std::string& path)
{
    std::string chosen = path;
    if (chosen.empty()) {
        std::optional<std::string> answer =
            bib.Prompter().ChooseFileToSave({"Export BIB:", "*.*", "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||"});
        if (!answer || answer->empty()) return 0;
        chosen = *answer;
    }
    CTextWriter out;
    if (!out.Open(chosen)) return 0;
    const int n = selection.Count();
    if (n > 0) {
        for (int k = 1; k <= n; ++k) ExportBlock(bib, selection.GetFlat(k), format, out);
    } else {
        for (int b = 1; b <= bib.header.blockCount; ++b) ExportBlock(bib, b, format, out);
    }
    return 1;
}

int ExportBibCommand(CBib& bib, int format, const std::string& path, MessageLog& log, std::string& status)
{
    if (ExportBib(bib, bib.selection, format, path) == 0) return 0;
    const int n = bib.selection.Count();
    log.push_back(n > 0 ? Format("Exported %d spectra", n) : std::string("Exported all spectra"));
    status = "Export done";
    return 1;
}

}  // namespace kiv
