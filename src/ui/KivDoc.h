#pragma once
// CKivDoc: the working sets of the interactive mode. The desktop front end and the script runner
// hold one document each; every interactive command acts on the objects held here.
#include "base/FileResult.h"
#include "chemometrics/DataSet.h"
#include "chemometrics/ScorePlots.h"
#include "features/FeatureDefinitionSet.h"
#include "gcms/Chromatogram.h"
#include "gcms/ForwardSearch.h"
#include "library/Bib.h"
#include "search/DescriptorSet.h"
#include "search/Hitlist.h"
#include "search/ReferenceLibrary.h"
#include "statistics/IntensityStatistics.h"

namespace kiv {

class CPageView;

struct CKivDoc {
    CBib bib;  // the working library and its current record; a GC-MS run is held here too
    FeatureDefinitionSet features;  // the feature definitions of the working library
    CReferenceLibrary reference;  // the reference CDM data set, its library and descriptors
    Hitlist hitlist;  // the hits of the last similarity search
    DescriptorSet unknownDescriptors;  // structure descriptors of the unknowns
    CDataSet data;  // X, XU, Y, YU and the results of the analyses
    CChromatogram chromatogram;  // what the chromatogram page shows of the run
    CForwardHitlist forwardHits;  // the hits of the last forward search of a scan
    RangeTables massStatistics;  // results of the library statistics, kept for display
    RangeTables featureStatistics;
    CMatrix molecularWeightHistogram;
    CMatrix moleculeTable;
    CMatrix structuralSimilarity;  // unknowns x hits of the hitlist
    CScorePlots* scorePlots = nullptr;  // the view's scatter plots (none without a desktop)
    CPageView* view = nullptr;  // the page the view commands act on (none without a desktop)
    int zoom = 100;  // page zoom in percent, saved with the parameters
};

// The status text of the current record: "%s %d/%d" with the record's name, its block and the
// block count ("Empty BIB 0/0" when no library is open).
std::string RecordStatus(const CBib& bib);

// "Open BIB Database" / the script's "OpenBIB": closes the working library, opens the one at path
// (an empty path asks), reads its index and header and shows record 1. Returns the open result
// (0 open, 1 no file chosen, 2 cannot be opened).
FileResult OpenWorkingBib(CKivDoc& doc, const std::string& path, CPrompter& prompter, CSession& session);

// "Close BIB Database": closes the working library; the status becomes "Empty BIB 0/0".
void CloseWorkingBib(CKivDoc& doc, CSession& session);

// "Select Record" / the script's "SelectRecord": shows record n (clamped to the library).
void SelectWorkingRecord(CKivDoc& doc, int n, CSession& session);

}  // namespace kiv
