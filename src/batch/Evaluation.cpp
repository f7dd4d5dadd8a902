#include "batch/Evaluation.h"

#include <algorithm>

#include "base/Format.h"
#include "base/Paths.h"
#include "base/Progress.h"
#include "base/Reporter.h"
#include "base/TextFile.h"

namespace kiv {

namespace {

// The values of a titled integer matrix file in flat order (record or feature numbers).
std::vector<int32_t> LoadNumberFile(const std::string& path)
{
    CMatrixI numbers, classes;
    MessageLog log;
    numbers.LoadClassFile(path, log, classes);
    auto flat = numbers.Flat();
    return std::vector<int32_t>(flat.begin(), flat.end());
}

template <class Matrix>
void WriteAnyTable(const std::string& path, const Matrix& table, const char* format)
{
    CTextWriter out;
    if (!out.Open(path)) return;
    for (int i = 1; i <= table.Rows(); ++i) {
        std::string line;
        for (int j = 1; j <= table.Cols(); ++j) line += Format(format, table.Get(i, j));
        line += '\n';
        out.Write(line);
    }
}

}  // namespace

CObjectVectors::CObjectVectors(CBib& library, const CRunSettings& settings, bool siscom)
    : library_(library), settings_(settings), siscom_(siscom && settings.featureFile.empty())
{
    if (!UsesFeatures()) length_ = std::max(settings.maxMass, 0);
}

void CObjectVectors::Initialise()
{
    if (!UsesFeatures()) return;
    library_.SelectBlock(1);
    features_.definitionFile = settings_.featureFile;
    features_.LoadDefinitions();
    if (features_.lines.empty()) ReportRunTimeError("No feature definitions loaded!");
    CMassSpectrum& spectrum = library_.record.spectrum;
    spectrum.ToVector();
    features_.ComputeFeatures(spectrum.vector, 0);
    if (!settings_.featureIndexFile.empty()) featureIndex_ = LoadNumberFile(settings_.featureIndexFile);
    length_ = settings_.featureIndexFile.empty() ? features_.featureCount : static_cast<int>(featureIndex_.size());
}

void CObjectVectors::Build(int32_t record, bool query, double* out)
{
    std::fill(out, out + length_, 0.0);
    if (record < 1 || record > library_.header.blockCount) return;
    library_.SelectBlock(record);
    CMassSpectrum& spectrum = library_.record.spectrum;
    if (spectrum.empty) return;
    spectrum.ToVector();
    if (UsesFeatures()) {
        if (features_.featureCount == 0 || spectrum.vector.Cols() == 0) return;
        features_.ComputeFeatures(spectrum.vector, 1);
        for (int i = 0; i < length_; ++i) {
            out[i] = features_.features.Get(1, featureIndex_.empty() ? i + 1 : featureIndex_[static_cast<size_t>(i)]);
        }
        return;
    }
    if (siscom_) {
        SiscomOptions options = siscomOptions_;
        options.query = query ? 1 : 0;
        PrepareSiscom(spectrum, library_.record.name.name, options);
    }
    const int copied = std::min(length_, spectrum.vector.Cols());
    for (int j = 0; j < copied; ++j) out[j] = spectrum.vector.Get(1, j + 1);
}

void CEvaluationTables::Allocate(int rows, int width)
{
    records.Alloc(rows, width);
    similarities.Alloc(rows, width);
    similarities.Fill(kEmptySlot);
    tanimotos.Alloc(rows, width);
}

void CEvaluationTables::FillTanimotos(const std::vector<int32_t>& queries, const DescriptorSet& descriptors,
                                      int firstColumn)
{
    for (int l = 1; l <= records.Rows(); ++l) {
        const int32_t query = queries[static_cast<size_t>(l - 1)];
        for (int m = firstColumn; m <= records.Cols(); ++m) {
            const int32_t hit = records.Get(l, m);
            tanimotos.Set(l, m, query == 0 || hit == 0 ? kEmptySlot : descriptors.Tanimoto(query, hit));
        }
    }
}

double CEvaluationTables::MeanOfFirstHits(int k) const
{
    const int tests = tanimotos.Rows();
    if (tests < 1) return 0.0;
    double sum = 0;
    for (int j = 1; j <= k; ++j) {
        double column = 0;
        for (int l = 1; l <= tests; ++l) column += tanimotos.Get(l, j + 1);
        sum += column / tests;
    }
    return sum / k;
}

CEvaluationTables TablesFromHits(CCosineHitlists& hits, const std::vector<int32_t>& queries,
                                 const DescriptorSet& descriptors)
{
    CEvaluationTables tables;
    tables.records = std::move(hits.references);
    tables.similarities = std::move(hits.similarities);
    tables.tanimotos.Alloc(tables.records.Rows(), tables.records.Cols());
    tables.FillTanimotos(queries, descriptors, 1);
    return tables;
}

void ScanLibraryInBlocks(int32_t size, int length, const std::function<bool(int32_t)>& keepGoing,
                         const std::function<void(int32_t, double*)>& build,
                         const std::function<void(const double*, int, int32_t)>& compare)
{
    constexpr int kBlockRows = 256;
    std::vector<double> block(static_cast<size_t>(kBlockRows) * std::max(length, 0));
    int filled = 0;
    int32_t blockStart = 1;
    for (int32_t q = 1; q <= size; ++q) {
        if (!keepGoing(q)) break;
        if (filled == kBlockRows) {
            compare(block.data(), filled, blockStart);
            filled = 0;
            blockStart = q;
        }
        build(q, block.data() + static_cast<size_t>(filled) * length);
        ++filled;
    }
    compare(block.data(), filled, blockStart);
}

void WriteTable(const std::string& path, const CMatrixI& table, const char* format)
{
    WriteAnyTable(path, table, format);
}

void WriteTable(const std::string& path, const CMatrix& table, const char* format)
{
    WriteAnyTable(path, table, format);
}

void WriteCurve(const std::string& path, const CEvaluationTables& tables)
{
    CTextWriter out;
    if (!out.Open(path)) return;
    out.Write("mean tanimoto of 1-# hits for all test objects\n");
    // Without test objects there is no mean to write.
    if (tables.tanimotos.Rows() < 1) return;
    for (int k = 1; k <= tables.tanimotos.Cols() - 1; ++k) out.Print("%8.6f\n", tables.MeanOfFirstHits(k));
}

void WriteResultFiles(const std::string& stem, const CEvaluationTables& tables, const char* similarityFormat)
{
    WriteTable(stem + "_i.txt", tables.records, "%7d");
    WriteTable(stem + "_f.txt", tables.similarities, similarityFormat);
    WriteTable(stem + "_t.txt", tables.tanimotos, "%8.4f");
    WriteCurve(stem + "_s.txt", tables);
}

CEvaluation::CEvaluation(CBatchRun& batchRun)
    : run(batchRun), settings(batchRun.settings), width(std::max(batchRun.settings.noHits, 0) + 1)
{
    run.status = kRunCompleted;
    library.parameters = run.parameters;
    library.parameters.msmMaxMass = settings.maxMass;
}

void CEvaluation::OpenLibrary()
{
    library.parameters.msmMaxMass = settings.maxMass;
    if (library.Open(WithoutLast(settings.bibFile, 4)) != 0) return;
    library.OpenIndex();
    library.ReadHeader();
    librarySize = library.header.blockCount;
}

void CEvaluation::LoadDescriptors()
{
    CHeadlessPrompter prompter;
    if (descriptors.OpenDescriptors(settings.descriptorFile, prompter) == 1) {
        if (descriptors.IsOpen()) descriptors.ReadObjects(0);
        descriptors.CloseDescriptors();
    }
}

void CEvaluation::LoadTestIndex()
{
    testIndex = LoadNumberFile(settings.testIndexFile);
    if (testIndex.empty()) {
        ReportRunTimeError("No Test Index loaded!");
        return;
    }
    const int32_t size = LibrarySize();
    int outside = 0;
    for (int32_t& record : testIndex) {
        if (record < 1 || record > size) {
            record = 0;
            ++outside;
        }
    }
    if (outside > 0) {
        ReportRunTimeError(Format("%d test objects are not records of the library (1 to %d); they are left empty.",
                                  outside, size));
    }
}

void CEvaluation::CheckDescriptorCount()
{
    if (descriptors.objectCount != LibrarySize()) {
        ReportRunTimeError(Format("Descripor objects (%d) does not match\nBIB objects (%d)!", descriptors.objectCount,
                                  LibrarySize()));
    }
}

bool CEvaluation::Progress(int percent)
{
    if (ReportProgress(percent, "") > 1) {
        run.status = kRunStopped;
        return false;
    }
    return true;
}

std::string CEvaluation::Stem() const { return WithoutLast(settings.resultFile, 4); }

}  // namespace kiv
