#pragma once
// The preparation that the similarity-search evaluations share and the state of one evaluation:
// the run's library (kept open for the search), its structure descriptors, the object vectors of
// its records and the test objects. Each evaluation task is a short recipe over this and the
// search machinery (object vectors, hitlists, evaluation tables, result files).
#include <cstdint>
#include <string>
#include <vector>

#include "batch/BatchRun.h"
#include "library/Bib.h"
#include "matrix/Matrix.h"
#include "search/DescriptorSet.h"
#include "search/ObjectVectors.h"

namespace kiv {

// What an evaluation needs prepared besides the library and the descriptors.
struct EvaluationNeeds {
    bool siscom = false;  // spectra prepared for the SISCOM criteria
    bool descriptorsFirst = false;  // descriptors loaded before the library is opened
    bool testIndex = true;  // the test objects of "Test Index File"
};

// "Result File" without its last four characters: the stem of every result file.
std::string ResultStem(const CRunSettings& settings);

class CEvaluation {
public:
    // Sets the run status to 0 and prepares, in this order: the library ("BIB File", its MSM
    // maximum mass set to "Max Mass") and the descriptors ("Descriptor File", all objects; in
    // the other order when asked), the object vectors, the test index and the check of the
    // descriptor count. Each report lets the evaluation go on with what it has.
    CEvaluation(CBatchRun& run, const EvaluationNeeds& needs);

    // The vectors of the test objects, one row each (zeros for a test object outside the library).
    CMatrix BuildTestVectors();
    // At every 100th record of a scan: ReportProgress with the share of the library done.
    // False when a stop was requested (the run status is then -1).
    bool ProgressAtRecord(int32_t record);
    // ReportProgress; a stop request sets the run status to -1. True to go on.
    bool Progress(int percent);
    void CloseLibrary() { library.Close(); }
    int32_t LibrarySize() const { return librarySize_; }  // N, kept when the library is closed
    int TestCount() const { return static_cast<int>(testIndex.size()); }

    CBatchRun& run;
    const CRunSettings& settings;
    CBib library;
    DescriptorSet descriptors;
    CObjectVectors vectors;
    std::vector<int32_t> testIndex;  // record numbers t_1..t_T (0: not in the library)
    int width;  // W = "No Hits" + 1

private:
    void OpenLibrary();
    void LoadDescriptors();
    // Reports "No Test Index loaded!" when the file holds nothing and names the record numbers
    // outside the library, which are then treated as no record (0).
    void LoadTestIndex();
    void CheckDescriptorCount();

    int32_t librarySize_ = 0;
};

}  // namespace kiv
