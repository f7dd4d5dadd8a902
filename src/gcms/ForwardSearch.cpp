#include "gcms/ForwardSearch.h"

#include <algorithm>

#include "base/Format.h"
#include "base/Progress.h"
#include "base/Reporter.h"
#include "gcms/Msm.h"
#include "gcms/ReferenceLibrary.h"
#include "gcms/RetentionWindow.h"

namespace kiv {

CForwardHitlist::CForwardHitlist(int places) : hits_(static_cast<size_t>(std::max(places, 0))) {}

void CForwardHitlist::Insert(const ForwardHit& hit)
{
    if (hits_.empty() || hit.measures.fitTic <= hits_.back().measures.fitTic) return;
    auto place = std::find_if(hits_.begin(), hits_.end(),
                              [&](const ForwardHit& entry) { return entry.measures.fitTic < hit.measures.fitTic; });
    hits_.pop_back();
    hits_.insert(place, hit);
}

double ForwardSearchStep(const CBib& run, int scan, const CBibRecord& reference, int number, CForwardHitlist& hitlist,
                         const CFitSettings& settings)
{
    const ScanRange window = ScanWindow(run.run, run.parameters, reference.spectrum.retentionIndex);
    if (!window.Contains(scan)) return 0;
    ForwardHit hit;
    hit.reference = number;
    hit.measures = FitSpectrum(run.run, scan, reference.spectrum.vector, settings);
    if (hitlist.Hits().empty() || hit.measures.fitTic <= hitlist.Hits().back().measures.fitTic) {
        return hit.measures.fitTic;  // cannot enter: spare the copies of the texts
    }
    hit.origin = reference.name.origin;
    hit.originNumber = reference.name.originNumber;
    hit.name = reference.name.name;
    hitlist.Insert(hit);
    return hit.measures.fitTic;
}

std::vector<std::string> ForwardHitLines(int k, const ForwardHit& hit)
{
    const FitMeasures& m = hit.measures;
    return {Format("Hit#%d: Ref#%d %s_%d FitTIC=%7.3f Fit=%7.3f Pure=%7.3f", k, hit.reference, hit.origin.c_str(),
                   hit.originNumber, m.fitTic, m.fit, m.pure),
            Format("Name: %s", hit.name.c_str())};
}

void ForwardSearchCommand(CBib& run, CBib& reference, const CChromatogram& chromatogram, CForwardHitlist& hitlist,
                          CSession& session)
{
    if (!CheckReferenceLibrary(reference)) return;
    const int scan = chromatogram.currentScan;
    if (scan < 1 || scan > ScanCount(run)) {
        ReportRunTimeError("Select Spectrum in chromatogram!");
        return;
    }
    EnsureMSM(run);
    hitlist = CForwardHitlist(run.parameters.displayLibHits);
    const int count = reference.header.blockCount;
    for (int r = 1; r <= count; ++r) {
        if (SelectRunRecord(reference, r)) ForwardSearchStep(run, scan, reference.record, r, hitlist);
        if (r % 100 == 0 && ReportProgress(static_cast<int>(int64_t(r) * 100 / count), "Forward Search ...") > 1) break;
    }
    session.Log(Format("Forward Search of Chromatogram for #%d", scan));
    int k = 0;
    for (const ForwardHit& hit : hitlist.Hits()) {
        if (hit.reference == 0) break;
        for (const std::string& line : ForwardHitLines(++k, hit)) session.Log(line);
    }
    session.Redraw();
}

}  // namespace kiv
