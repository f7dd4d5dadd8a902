#pragma once
// The commands that build the data matrices from the working library, from the hits of a
// spectral similarity search and from structure descriptors. A newly built matrix is raw: the
// centring of the old one is taken back first (its unknowns return to raw values), so the next
// analysis centres the new data and the unknowns together. The one exception keeps the stored
// means: "Use selected MS of BIB X" centres the new rows with them at once.
#include "base/Prompt.h"
#include "base/Session.h"
#include "chemometrics/DataSet.h"
#include "features/FeatureDefinitionSet.h"
#include "library/Bib.h"
#include "search/DescriptorSet.h"
#include "search/Hitlist.h"
#include "search/ReferenceLibrary.h"

namespace kiv {

// "Use Features of MS of BIB X": X = the feature matrix of the library (computed first when
// there is none), XObj = 1..rows, XFeat = 1..cols.
void UseBibFeaturesX(CDataSet& set, CBib& bib, FeatureDefinitionSet& features, CPrompter& prompter,
                     CSession& session);
// "Use Features of selected MS of BIB X": the rows of the selected records in selection order
// (all records when nothing is selected); only when the feature matrix covers every record.
void UseSelectedBibFeaturesX(CDataSet& set, CBib& bib, FeatureDefinitionSet& features, CPrompter& prompter,
                             CSession& session);
// "Use MS of BIB X": the mass spectral matrix of the run when it is computed, otherwise every
// record's intensities at masses 1.."MSMMaxMass" (with progress; a cancel keeps the old X);
// XFeat = -1, -2, ...
void UseBibSpectraX(CDataSet& set, CBib& bib, CSession& session);
// "Use selected MS of BIB X": the MSM rows of the selected records ("Calculate MSM" is reported
// when there is no MSM).
void UseSelectedBibSpectraX(CDataSet& set, CBib& bib, CSession& session);

// The unknowns' side of a similarity search: their library, feature rows and descriptors.
struct SearchUnknowns {
    const CBib& bib;
    const FeatureDefinitionSet& features;  // one feature row per unknown of the hitlist
    DescriptorSet& descriptors;
};
// "Use Spec Sim Search Features X&&Y": X = the reference features of the current unknown's hits,
// XU = the unknown's features; Y and YU the structure descriptors when they belong to the
// libraries.
void UseSpecSimSearchXY(CDataSet& set, const Hitlist& hitlist, CReferenceLibrary& reference,
                        const SearchUnknowns& unknowns, CSession& session);

// "Use Descriptors Y": Y = every object of the descriptor set, YFeat = 1..bits.
void UseDescriptorsYCommand(CDataSet& set, DescriptorSet& descriptors, CSession& session);

}  // namespace kiv
