#include "batch/Evaluation.h"

#include <algorithm>

#include "base/Format.h"
#include "base/Paths.h"
#include "base/Progress.h"
#include "base/Prompt.h"
#include "base/Reporter.h"
#include "search/NumberFile.h"

namespace kiv {

namespace {

constexpr int32_t kProgressRecords = 100;

ObjectVectorSource VectorSource(const CRunSettings& settings)
{
    return {settings.featureFile, settings.featureIndexFile, settings.maxMass};
}

}  // namespace

std::string ResultStem(const CRunSettings& settings) { return WithoutLast(settings.resultFile, 4); }

CEvaluation::CEvaluation(CBatchRun& batchRun, const EvaluationNeeds& needs)
    : run(batchRun),
      settings(batchRun.settings),
      vectors(library, VectorSource(batchRun.settings), needs.siscom),
      width(std::max(batchRun.settings.noHits, 0) + 1)
{
    run.status = kRunCompleted;
    library.parameters = run.parameters;
    library.parameters.msmMaxMass = settings.maxMass;
    if (needs.descriptorsFirst) LoadDescriptors();
    OpenLibrary();
    if (!needs.descriptorsFirst) LoadDescriptors();
    vectors.Initialise();
    if (needs.testIndex) LoadTestIndex();
    CheckDescriptorCount();
}

void CEvaluation::OpenLibrary()
{
    if (library.Open(WithoutLast(settings.bibFile, 4)) != FileResult::Done) return;
    library.OpenIndex();
    library.ReadHeader();
    librarySize_ = library.header.blockCount;
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
    int outside = 0;
    for (int32_t& record : testIndex) {
        if (record < 1 || record > librarySize_) {
            record = 0;
            ++outside;
        }
    }
    if (outside > 0) {
        ReportRunTimeError(Format("%d test objects are not records of the library (1 to %d); they are left empty.",
                                  outside, librarySize_));
    }
}

void CEvaluation::CheckDescriptorCount()
{
    if (descriptors.objectCount != librarySize_) {
        ReportRunTimeError(Format("Descripor objects (%d) does not match\nBIB objects (%d)!", descriptors.objectCount,
                                  librarySize_));
    }
}

CMatrix CEvaluation::BuildTestVectors()
{
    CMatrix tests(TestCount(), vectors.Length());
    for (int l = 1; l <= TestCount(); ++l) vectors.Build(testIndex[static_cast<size_t>(l - 1)], true, tests.Row(l).data());
    return tests;
}

bool CEvaluation::ProgressAtRecord(int32_t record)
{
    return record % kProgressRecords != 0 || Progress(static_cast<int>(100LL * record / librarySize_));
}

bool CEvaluation::Progress(int percent)
{
    if (ReportProgress(percent, "") > 1) {
        run.status = kRunStopped;
        return false;
    }
    return true;
}

}  // namespace kiv
