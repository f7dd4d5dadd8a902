#include "LibraryFiles.h"

namespace kiv::test {

CMassSpectrum PeakListSpectrum(const LibraryPeaks& peaks)
{
    CMassSpectrum s;
    s.empty = 0;
    s.nbyte = 2;
    s.ndec = 0;
    s.count = static_cast<uint16_t>(peaks.size());
    s.peaks.Alloc(2, static_cast<int>(peaks.size()));
    for (size_t j = 0; j < peaks.size(); ++j) {
        s.peaks.Set(1, static_cast<int>(j + 1), peaks[j].first);
        s.peaks.Set(2, static_cast<int>(j + 1), peaks[j].second);
    }
    s.Normalise();
    return s;
}

bool WriteTestLibrary(const std::string& path, const std::vector<LibraryPeaks>& spectra)
{
    CBib bib;
    if (!bib.NewLibrary("test", "MS", path)) return false;
    for (size_t i = 0; i < spectra.size(); ++i) {
        bib.record.Clear();
        bib.record.id = static_cast<int32_t>(i + 1);
        if (!spectra[i].empty()) bib.record.spectrum = PeakListSpectrum(spectra[i]);
        if (!bib.WriteBlock()) return false;
    }
    bib.CloseWrite();
    return true;
}

bool OpenTestLibrary(CBib& bib, const std::string& path)
{
    if (bib.Open(WithoutSsdExtension(path)) != FileResult::Done) return false;
    return bib.OpenIndex() && bib.ReadHeader();
}

}  // namespace kiv::test
