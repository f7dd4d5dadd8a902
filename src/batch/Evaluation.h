#pragma once
// What the similarity-search evaluations share: the run's library, descriptors and test index,
// the object vectors (features or spectra) of library records, the hitlist tables and the
// result files. An evaluation searches every test object against the library and records how
// structurally similar (Tanimoto of descriptors) the spectrally similar hits are.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "batch/BatchRun.h"
#include "features/FeatureDefinitionSet.h"
#include "library/Bib.h"
#include "matrix/Matrix.h"
#include "matrix/MatrixI.h"
#include "search/CosineHitlists.h"
#include "search/DescriptorSet.h"
#include "search/SiscomPreparation.h"

namespace kiv {

// Similarity of a hitlist slot without a hit, and Tanimoto of a slot without record.
constexpr double kEmptySlot = -0.999;

// The vector of a library record: its features (all, or the listed ones in list order), or its
// spectrum over masses 1..Max Mass, prepared for the SISCOM criteria when those are used.
class CObjectVectors {
public:
    CObjectVectors(CBib& library, const CRunSettings& settings, bool siscom);
    // With a feature file: loads the definitions and learns the features on record 1; loads
    // the feature index. Reports "No feature definitions loaded!" when there are none.
    void Initialise();
    int Length() const { return length_; }
    // The number of features the definitions yield (0 without a feature file).
    int FeatureCount() const { return features_.featureCount; }
    // Reads record (1-based; anything else gives zeros) and writes its vector to out.
    void Build(int32_t record, bool query, double* out);
    bool UsesFeatures() const { return !settings_.featureFile.empty(); }

private:
    CBib& library_;
    const CRunSettings& settings_;
    bool siscom_;
    SiscomOptions siscomOptions_;
    FeatureDefinitionSet features_;
    std::vector<int32_t> featureIndex_;
    int length_ = 0;
};

// Hitlist tables of an evaluation: T rows x W columns of record numbers K, similarities L and
// Tanimoto values M.
struct CEvaluationTables {
    CMatrixI records;  // K
    CMatrix similarities;  // L
    CMatrix tanimotos;  // M

    void Allocate(int rows, int width);
    // M(l, m) for m >= firstColumn: Tanimoto of the query's and the hit's descriptors, or the
    // empty mark when either record number is 0.
    void FillTanimotos(const std::vector<int32_t>& queries, const DescriptorSet& descriptors, int firstColumn);
    // The mean Tanimoto of the first k hits over all test objects (column 1, the query itself,
    // left out), divided by k: the curve of "_s.txt" for k = 1..W-1.
    double MeanOfFirstHits(int k) const;
};

// The tables of a cosine search: its hitlists, with the Tanimoto of every hit.
CEvaluationTables TablesFromHits(CCosineHitlists& hits, const std::vector<int32_t>& queries,
                                 const DescriptorSet& descriptors);

// Streams records 1..size through a buffer of library vectors (length values each): before
// record q keepGoing(q) is asked (false ends the scan), build(q, out) writes its vector, and
// compare(block, rows, first record) gets every full block and the last one.
void ScanLibraryInBlocks(int32_t size, int length, const std::function<bool(int32_t)>& keepGoing,
                         const std::function<void(int32_t, double*)>& build,
                         const std::function<void(const double*, int, int32_t)>& compare);

// A whole table in one file: every value with the format, a line end after every row.
void WriteTable(const std::string& path, const CMatrixI& table, const char* format);
void WriteTable(const std::string& path, const CMatrix& table, const char* format);
// "_s.txt": the heading and the mean Tanimoto of the first k hits for k = 1..W-1.
void WriteCurve(const std::string& path, const CEvaluationTables& tables);
// stem + "_i.txt", "_f.txt" (similarities with similarityFormat), "_t.txt" and "_s.txt".
void WriteResultFiles(const std::string& stem, const CEvaluationTables& tables, const char* similarityFormat);

// The set-up steps shared by the evaluations, in the order each task calls them.
class CEvaluation {
public:
    explicit CEvaluation(CBatchRun& run);

    // Opens the library ("BIB File") with its MSM maximum mass set to "Max Mass".
    void OpenLibrary();
    void CloseLibrary() { library.Close(); }
    int32_t LibrarySize() const { return librarySize; }
    // Loads all objects of "Descriptor File".
    void LoadDescriptors();
    // Loads "Test Index File"; reports "No Test Index loaded!" when it holds nothing and names
    // the record numbers outside the library, which are then treated as no record (0).
    void LoadTestIndex();
    // Reports a descriptor count that differs from the library size.
    void CheckDescriptorCount();
    // ReportProgress; a stop request sets the run status to -1. True to go on.
    bool Progress(int percent);
    std::string Stem() const;  // "Result File" without its last four characters

    CBatchRun& run;
    const CRunSettings& settings;
    CBib library;
    DescriptorSet descriptors;
    std::vector<int32_t> testIndex;  // record numbers t_1..t_T (0: not in the library)
    int width;  // W = "No Hits" + 1
    int32_t librarySize = 0;  // N, kept when the library is closed
};

}  // namespace kiv
