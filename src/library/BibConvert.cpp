#include "library/BibConvert.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "base/BinaryIO.h"
#include "base/Format.h"
#include "base/Progress.h"
#include "base/Reporter.h"

namespace kiv {

namespace {

constexpr double kTiny = 1e-12;

// Mass scale correction of one peak: the corrected mass r and its nominal column.
void NominalColumn(double mass, const CParameters& p, double& r, int& column)
{
    r = p.msMmff < kTiny ? mass - p.msMmfa : (mass - p.msMmfa) / p.msMmff;
    column = TruncToInt32(std::floor(r + 0.5));
}

bool KeepPeak(double r, int column, const CParameters& p)
{
    if (p.msSpectrum == 1) return true;
    const double d = r - column;
    const double t = p.msMfif < kTiny ? p.msMfia : p.msMfia + p.msMfif * std::pow(static_cast<double>(column), p.msMfip);
    const bool inside = -t < d && d <= t;
    switch (p.msSpectrum) {
    case 2: return inside;  // inorganic and organic
    case 3: return inside && d > 0;  // organic: positive mass defect
    case 4: return inside && d <= 0;  // inorganic
    case 5: return !inside;  // everything else
    default: return false;
    }
}

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

}  // namespace

void ConvertSpectrum(CMassSpectrum& s, const CParameters& p)
{
    if (p.msMVector != 1 || s.isVector) return;
    s.isVector = 1;
    s.ndec = 0;
    s.nbyte = 2;
    const int n = s.peaks.Rows() >= 2 ? s.peaks.Cols() : 0;
    int columns = 0;
    for (int j = 1; j <= n; ++j) {
        double r;
        int column;
        NominalColumn(s.peaks.Get(1, j), p, r, column);
        columns = std::max(columns, std::min(column, 65535));
    }
    s.vector.Alloc(1, columns);
    for (int j = 1; j <= n; ++j) {
        double r;
        int column;
        NominalColumn(s.peaks.Get(1, j), p, r, column);
        if (column < 1 || column > columns || !KeepPeak(r, column, p)) continue;
        s.vector.Set(1, column, s.vector.Get(1, column) + s.peaks.Get(2, j));
    }
    int last = columns;
    while (last > 0 && s.vector.Get(1, last) < kTiny) --last;
    int first = 1;
    while (first <= last && s.vector.Get(1, first) < kTiny) ++first;
    if (last == 0) first = 0;
    s.vector.Resize(1, last);
    s.lastMass = static_cast<uint16_t>(last);
    s.firstMass = static_cast<uint16_t>(first);
    s.count = static_cast<uint16_t>(last - first + 1);
    s.Normalise();
    s.peaks.Free();
}

bool ConfirmConvertOptions(CParameters& p, CPrompter& prompter, MessageLog& log)
{
    log.push_back(Format("MS_spectrum=%d", p.msSpectrum));
    log.push_back("MS round mass to integer");
    log.push_back(Format("mass fraction correction   MS_mmfa=%g MS_mmff=%g", p.msMmfa, p.msMmff));
    log.push_back(Format("massfraction interval   MS_mfia=%g MS_mfif=%g MS_mfip=%g", p.msMfia, p.msMfif, p.msMfip));
    log.push_back(Format("Format MS mass   vector=%d nbyte=%d ndec=%d", p.msMVector, p.msMNbyte, p.msMNdec));
    int cancelled = 0;
    const int choice = AskIntegerOrCancel(
        prompter, "Confirm Convert Options (Abort and Load Parameters to change Options)\nChange MS_spectrum\n0\tAbort\n1\tOk\n\n",
        p.msSpectrum, cancelled,
        {{"Abort", "0"}, {"1 all", "1"}, {"2 ino+org", "2"}, {"3 org", "3"}, {"4 ino", "4"}, {"5 other", "5"}});
    if (cancelled || choice < 1 || choice > 5) return false;
    p.msSpectrum = choice;
    return true;
}

FileResult ConvertBib(CBib& bib, std::vector<std::string> inputs, const std::string& outputPath, MessageLog& log, std::string& status)
{
    if (inputs.empty()) {
        std::optional<std::string> chosen = bib.Prompter().ChooseFileToOpen({"Load BIB to convert:", "*.ssd", kBibFileFilter});
        if (!chosen || chosen->empty()) return FileResult::NoFileChosen;
        inputs.push_back(*chosen);
    }
    for (const std::string& input : inputs) {
        if (!outputPath.empty() && SameFile(WithoutSsdExtension(input) + ".ssd", outputPath)) {
            ReportRunTimeError(Format("BIB %s is open for reading and cannot be written", outputPath.c_str()));
            return FileResult::CannotOpen;
        }
    }
    status = "converting ...";
    FileResult result = FileResult::Done;
    for (size_t i = 0; i < inputs.size() && result == FileResult::Done; ++i) {
        log.push_back(Format("Import BIB from %s", inputs[i].c_str()));
        bib.Close();
        bib.path = WithoutSsdExtension(inputs[i]);
        if (bib.Open() != FileResult::Done || !bib.ReadHeader()) {
            result = FileResult::CannotOpen;
            break;
        }
        if (i == 0) {
            bib.writePath = outputPath;
            if (!bib.WriteHeader()) {
                result = bib.writePath.empty() ? FileResult::NoFileChosen : FileResult::CannotOpen;
                break;
            }
            bib.DeleteStaleIndex();
        }
        // Blocks are read in file order up to the end of the data file: the header's count may
        // still be the 0 of a library that was written but never opened.
        const double size = std::max<double>(1, static_cast<double>(bib.header.blockCount));
        for (int b = 1; !bib.AtEndOfData(); ++b) {
            if (!bib.ReadBlock(SpectrumReading::AsStored)) {
                result = FileResult::CannotOpen;
                break;
            }
            bib.record.spectrum.empty = 0;
            ConvertSpectrum(bib.record.spectrum, bib.parameters);
            if (!bib.WriteBlock()) {
                result = FileResult::CannotOpen;
                break;
            }
            if (ReportProgress(static_cast<int>(std::min(100.0, 100.0 * b / size)), "converting ...") > 1) {
                result = FileResult::CannotOpen;
                break;
            }
        }
    }
    bib.CloseWrite();
    bib.Close();
    if (result == FileResult::Done) status = "Conversion done";
    return result;
}

}  // namespace kiv
