#include "chemometrics/DataBuilders.h"

#include <algorithm>
#include <vector>

#include "base/Format.h"
#include "base/Progress.h"
#include "base/Reporter.h"
#include "chemometrics/Centring.h"
#include "features/FeatureCommands.h"
#include "search/DescriptorCommands.h"

namespace kiv {

namespace {

constexpr const char* kFeaturesMessage = "Data Matrix %d x %d generated from BIB features";
constexpr const char* kSpectraMessage = "Data Matrix %d x %d generated from BIB MS";

// Record numbers of the selection, or every record when nothing is selected.
std::vector<int> SelectedRecords(const CBib& bib)
{
    std::vector<int> records;
    if (bib.selection.Cols() > 0) {
        for (int k = 1; k <= bib.selection.Cols(); ++k) records.push_back(bib.selection.GetFlat(k));
    } else {
        for (int b = 1; b <= bib.header.blockCount; ++b) records.push_back(b);
    }
    return records;
}

CMatrixI Sequence(int count, int sign)
{
    CMatrixI index(1, count);
    for (int k = 1; k <= count; ++k) index.SetFlat(k, sign * k);
    return index;
}

CMatrixI Numbers(const std::vector<int>& values)
{
    CMatrixI index(1, static_cast<int>(values.size()));
    for (size_t k = 0; k < values.size(); ++k) index.SetFlat(static_cast<int>(k + 1), values[k]);
    return index;
}

// The given rows of source, in order; a record outside the source gives a row of zeros.
CMatrixNumerics RowsOf(const CMatrix& source, const std::vector<int>& rows)
{
    CMatrixNumerics x(static_cast<int>(rows.size()), source.Cols());
    for (size_t i = 0; i < rows.size(); ++i) {
        const int r = rows[i];
        if (r < 1 || r > source.Rows()) continue;
        std::copy_n(source.Row(r).data(), source.Cols(), x.Row(static_cast<int>(i + 1)).data());
    }
    return x;
}

// Installs a new raw X with its row and column index and logs how it was made.
void SetNewX(CDataSet& set, CMatrixNumerics x, CMatrixI objects, CMatrixI columns, const char* message,
             CSession& session)
{
    Uncentre(set, DataMatrix::X);
    set.X = std::move(x);
    set.XObj = std::move(objects);
    set.XFeat = std::move(columns);
    session.ClearLog();
    session.Log(Format(message, set.X.Rows(), set.X.Cols()));
    session.Redraw();
}

bool HasFeatures(CBib& bib, FeatureDefinitionSet& features, CPrompter& prompter, CSession& session)
{
    if (features.features.Rows() == 0) CalculateFeaturesForBib(bib, features, prompter, session);
    return features.features.Rows() > 0;
}

// Row i: the intensities of record i at masses 1..maxMass, read for analysis. Progress is
// reported while the records are read; a cancel or stop request gives false.
bool ReadSpectra(CBib& bib, int maxMass, CMatrixNumerics& x)
{
    const int records = std::max(bib.header.blockCount, 0);
    x.Alloc(records, std::max(maxMass, 0));
    for (int i = 1; i <= records; ++i) {
        if (ReportProgress(static_cast<int>(100LL * (i - 1) / records), "Reading MS ...") > 1) return false;
        bib.SelectBlock(i);
        CMassSpectrum& spectrum = bib.record.spectrum;
        if (spectrum.empty) continue;
        spectrum.ToVector();
        const auto values = spectrum.vector.Row(1);
        std::copy_n(values.data(), std::min(values.size(), x.Cols()), x.Row(i).data());
    }
    return true;
}

// True when the descriptor set can be read and has one object per record of the library.
bool BelongsTo(const DescriptorSet& descriptors, const CBib& bib)
{
    return (descriptors.IsOpen() || descriptors.IsLoaded()) && descriptors.objectCount == bib.header.blockCount;
}

// The descriptor of object k as a 1 x bits vector of 0 and 1.
CMatrix DescriptorOf(DescriptorSet& descriptors, int k)
{
    if (descriptors.IsLoaded()) return descriptors.ObjectVector(k);
    if (descriptors.ReadObjects(k) == 1) return descriptors.ObjectVector();
    return CMatrix(1, descriptors.bitCount);
}

void SetRow(CMatrix& x, int row, const CMatrix& vector)
{
    for (int j = 1; j <= std::min(x.Cols(), vector.Cols()); ++j) x.Set(row, j, vector.GetFlat(j));
}

void UseSearchDescriptors(CDataSet& set, const std::vector<int>& hits, CReferenceLibrary& reference, int unknownRecord,
                          const SearchUnknowns& unknowns, CSession& session)
{
    DescriptorSet& library = reference.descriptors;
    if (!BelongsTo(library, reference.bib)) return;
    const int d = library.bitCount;
    CMatrixNumerics y(static_cast<int>(hits.size()), d);
    for (size_t i = 0; i < hits.size(); ++i) SetRow(y, static_cast<int>(i + 1), DescriptorOf(library, hits[i]));
    set.Y = std::move(y);
    set.YFeat = Sequence(d, 1);
    set.YU.Free();
    if (!BelongsTo(unknowns.descriptors, unknowns.bib)) {
        ReportRunTimeError("Wrong Descriptors for Unknown!");
    } else if (unknowns.descriptors.bitCount != d) {
        ReportRunTimeError("Descriptors: Library != Unknown");
    } else {
        set.YU.Alloc(1, d);
        SetRow(set.YU, 1, DescriptorOf(unknowns.descriptors, unknownRecord));
    }
    session.Log(Format("Y Data Matrix %d x %d generated", set.Y.Rows(), set.Y.Cols()));
    session.Log(Format("YU Data Matrix %d x %d generated", set.YU.Rows(), set.YU.Cols()));
}

}  // namespace

void UseBibFeaturesX(CDataSet& set, CBib& bib, FeatureDefinitionSet& features, CPrompter& prompter,
                     CSession& session)
{
    if (!HasFeatures(bib, features, prompter, session)) return;
    const CMatrix& f = features.features;
    SetNewX(set, f, Sequence(f.Rows(), 1), Sequence(f.Cols(), 1), kFeaturesMessage, session);
}

void UseSelectedBibFeaturesX(CDataSet& set, CBib& bib, FeatureDefinitionSet& features, CPrompter& prompter,
                             CSession& session)
{
    if (!HasFeatures(bib, features, prompter, session)) return;
    const CMatrix& f = features.features;
    if (f.Rows() < bib.header.blockCount) return;  // the features of some records are missing
    const std::vector<int> records = SelectedRecords(bib);
    SetNewX(set, RowsOf(f, records), Numbers(records), Sequence(f.Cols(), 1), kFeaturesMessage, session);
}

void UseBibSpectraX(CDataSet& set, CBib& bib, CSession& session)
{
    CMatrixNumerics x;
    if (bib.run.msmComputed)
        x = bib.run.msm;
    else if (!ReadSpectra(bib, bib.parameters.msmMaxMass, x))
        return;  // stopped: the data set stays as it was
    const int rows = x.Rows(), cols = x.Cols();
    SetNewX(set, std::move(x), Sequence(rows, 1), Sequence(cols, -1), kSpectraMessage, session);
}

void UseSelectedBibSpectraX(CDataSet& set, CBib& bib, CSession& session)
{
    if (!bib.run.msmComputed) {
        ReportRunTimeError("Calculate MSM");
        return;
    }
    const std::vector<int> records = SelectedRecords(bib);
    CMatrixNumerics x = RowsOf(bib.run.msm, records);
    if (set.XMean.Cols() == x.Cols() && set.XMean.Cols() > 0) {
        // X stays centred (and scaled) as before: the new rows join the old model's space. The
        // unknowns were centred together with the former X already.
        x = x.SubCols(set.XMean);
        if (set.XScale.Cols() == x.Cols()) {
            CMatrixNumerics inverse(1, x.Cols());
            for (int j = 1; j <= x.Cols(); ++j) inverse.SetFlat(j, 1.0 / set.XScale.GetFlat(j));
            x = x.xCols(inverse);
        }
        set.X = std::move(x);
        set.XObj = Numbers(records);
        set.XFeat = Sequence(set.X.Cols(), -1);
        session.ClearLog();
        session.Log(Format(kSpectraMessage, set.X.Rows(), set.X.Cols()));
        session.Redraw();
        return;
    }
    const int cols = x.Cols();
    SetNewX(set, std::move(x), Numbers(records), Sequence(cols, -1), kSpectraMessage, session);
}

void UseSpecSimSearchXY(CDataSet& set, const Hitlist& hitlist, CReferenceLibrary& reference,
                        const SearchUnknowns& unknowns, CSession& session)
{
    const int u = hitlist.ChosenUnknown();
    std::vector<int> hits;
    for (int h = 1; h <= hitlist.referenceNumbers.Cols(); ++h)
        if (const int record = hitlist.referenceNumbers.Get(u, h); record > 0) hits.push_back(record);
    const CMatrix& unknownFeatures = unknowns.features.features;
    const int featureRow = unknownFeatures.Rows() >= u ? u : 1;
    const int p = unknownFeatures.Cols();
    if (hits.empty() || p <= 0) return;
    Uncentre(set, DataMatrix::X);
    Uncentre(set, DataMatrix::Y);

    CMatrixNumerics x(static_cast<int>(hits.size()), p);
    std::vector<int> objects;
    for (size_t i = 0; i < hits.size(); ++i) {
        if (reference.cdm.ReadData(hits[i]) == 1) SetRow(x, static_cast<int>(i + 1), reference.block);
        objects.push_back(-hits[i]);
    }
    set.X = std::move(x);
    set.XObj = Numbers(objects);
    set.XFeat = Sequence(p, 1);
    unknownFeatures.GetRow(featureRow, set.XU);
    const int unknownRecord = hitlist.unknownNumbers.Get(u, 1);
    set.XUObj = Numbers({unknownRecord});
    session.Log(Format("X Data Matrix %d x %d generated", set.X.Rows(), set.X.Cols()));
    session.Log(Format("XU Data Matrix %d x %d generated", set.XU.Rows(), set.XU.Cols()));
    UseSearchDescriptors(set, hits, reference, unknownRecord, unknowns, session);
    session.Redraw();
}

void UseDescriptorsYCommand(CDataSet& set, DescriptorSet& descriptors, CSession& session)
{
    Uncentre(set, DataMatrix::Y);
    UseDescriptorsY(descriptors, set.Y, set.YFeat, session);
}

}  // namespace kiv
