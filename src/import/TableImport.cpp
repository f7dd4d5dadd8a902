// Tab-separated intensity tables: a title line naming one spectrum per column after the first,
// then one line per mass with an integer intensity for every spectrum. Spreadsheets export mass
// spectra this way, sometimes with a decimal comma in the mass column.
#include "import/TableImport.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/Numbers.h"
#include "base/Reporter.h"
#include "import/LineReader.h"
#include "import/SpectrumFinish.h"
#include "import/TextImport.h"
#include "import/TextScan.h"

namespace kiv {

namespace {

// The fields of a line between its tabs.
void SplitTabs(std::string_view line, std::vector<std::string_view>& fields)
{
    fields.clear();
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) break;
        start = tab + 1;
    }
}

double DecimalCommaReal(std::string_view text)
{
    std::string copy(text);
    std::replace(copy.begin(), copy.end(), ',', '.');
    return ParseReal(copy);
}

}  // namespace

ImportOutcome ImportTabTable(CBib& bib, const std::string& path)
{
    ImportOutcome outcome;
    CLineReader reader;
    if (!reader.Open(path)) {
        ReportRunTimeError("Error opening " + path);
        return outcome;
    }
    outcome.filesOpened = 1;
    std::string_view line;
    if (!reader.ReadLine(line, kTextImportLineLimit)) {
        outcome.completed = true;
        return outcome;
    }
    std::vector<std::string_view> fields;
    SplitTabs(WithoutLineEnd(line), fields);
    std::vector<std::string> titles(fields.begin() + 1, fields.end());
    const size_t spectra = titles.size();

    // Masses and the intensities of all spectra, row by row; storage grows with the rows read.
    std::vector<double> masses;
    std::vector<int32_t> intensities;
    while (reader.ReadLine(line, kTextImportLineLimit)) {
        SplitTabs(WithoutLineEnd(line), fields);
        if (fields.size() != spectra + 1) continue;
        masses.push_back(DecimalCommaReal(fields[0]));
        for (size_t s = 1; s <= spectra; ++s) intensities.push_back(ParseInt(fields[s]));
    }

    const size_t rows = masses.size();
    CBibRecord& record = bib.record;
    for (size_t s = 0; s < spectra; ++s) {
        StartName(record.name);
        record.name.name = titles[s];
        record.id = static_cast<int32_t>(std::min<size_t>(s + 1, INT32_MAX));
        CMassSpectrum& spectrum = record.spectrum;
        StartSpectrum(spectrum, 4, 3);
        int peaks = 0;
        int32_t largest = 0;
        size_t largestRow = 0;
        for (size_t r = 0; r < rows; ++r) {
            const int32_t value = intensities[r * spectra + s];
            if (value <= 0) continue;
            ++peaks;
            if (value > largest) {
                largest = value;
                largestRow = r;
            }
        }
        peaks = std::min(peaks, 65535);
        spectrum.peaks.Alloc(2, peaks);
        spectrum.count = static_cast<uint16_t>(peaks);
        int j = 0;
        const double factor = largest > 0 ? 100.0 / largest : 0;
        for (size_t r = 0; r < rows && j < peaks; ++r) {
            const int32_t value = intensities[r * spectra + s];
            if (value <= 0) continue;
            ++j;
            spectrum.peaks.Set(1, j, masses[r]);
            spectrum.peaks.Set(2, j, value * factor);
        }
        spectrum.basePeakIntensity = static_cast<uint32_t>(largest);
        spectrum.basePeakMass = largest > 0 ? masses[largestRow] : 0;
        if (!bib.WriteBlock()) return outcome;
        ++outcome.blocksWritten;
    }
    outcome.completed = true;
    return outcome;
}

}  // namespace kiv
