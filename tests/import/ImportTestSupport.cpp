#include "ImportTestSupport.h"

namespace kiv::test {

ReadBack ReadLibrary(const std::string& ssdPath)
{
    ReadBack result;
    CBib bib;
    if (bib.Open(ssdPath) != FileResult::Done) return result;
    bib.OpenIndex();
    bib.ReadHeader();
    result.header = bib.header;
    for (int b = 1; b <= bib.header.blockCount; ++b) {
        bib.SelectBlock(b, SpectrumReading::AsStored);
        result.blocks.push_back(bib.record);
    }
    bib.Close();
    return result;
}

ReadBack ImportAndRead(const std::vector<std::string>& files, TextImportFormat format, const std::string& ssdPath, ImportOutcome* outcome)
{
    {
        CBib bib;
        bib.NewLibrary("test", "MS", ssdPath);
        const ImportOutcome result = ImportTextFiles(bib, files, format);
        if (outcome) *outcome = result;
    }
    return ReadLibrary(ssdPath);
}

double Mass(const CBibRecord& record, int j) { return record.spectrum.peaks.Get(1, j); }
double Intensity(const CBibRecord& record, int j) { return record.spectrum.peaks.Get(2, j); }

}  // namespace kiv::test
