#pragma once
// Forward search: one scan of a run against every reference spectrum, keeping the references
// that explain most of the scan's total ion current.
#include <string>
#include <vector>

#include "base/Session.h"
#include "gcms/Chromatogram.h"
#include "gcms/SpectrumFit.h"
#include "library/Bib.h"

namespace kiv {

struct ForwardHit {
    int reference = 0;  // record number in the reference library, 0 = empty place
    FitMeasures measures;
    std::string origin;
    int originNumber = 0;
    std::string name;
};

// "DisplayLibHits" places in descending order of FitTIC.
class CForwardHitlist {
public:
    explicit CForwardHitlist(int places = 10);
    // Stores the hit after every entry with a larger or equal FitTIC; the last entry falls out.
    // A FitTIC not larger than the last entry's changes nothing.
    void Insert(const ForwardHit& hit);
    const std::vector<ForwardHit>& Hits() const { return hits_; }

private:
    std::vector<ForwardHit> hits_;
};

// Evaluates the reference record (spectrum in vector form; number = its record number) at one
// scan and offers it to the hitlist. Outside the reference's retention window everything is 0
// and the hitlist stays as it is. Returns FitTIC.
double ForwardSearchStep(const CBib& run, int scan, const CBibRecord& reference, int number,
                         CForwardHitlist& hitlist, const CFitSettings& settings = CFitSettings{});

// "Forward Search": the current scan of the chromatogram against every reference in order; the
// message log gets "Forward Search of Chromatogram for #%d" and two lines per hit. The hitlist
// holds the hits for display.
void ForwardSearchCommand(CBib& run, CBib& reference, const CChromatogram& chromatogram, CForwardHitlist& hitlist,
                          CSession& session);

// The two text lines of a hit (k counts from 1).
std::vector<std::string> ForwardHitLines(int k, const ForwardHit& hit);

}  // namespace kiv
