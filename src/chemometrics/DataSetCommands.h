#pragma once
// The data-set commands of the chemometrics menu: listing the data set, reading matrices from
// matrix files, saving matrices and results, listing the columns of X and Y. Each takes the data
// set, asks through the prompter and reports to the session's message log.
#include <string>
#include <vector>

#include "base/Prompt.h"
#include "base/Session.h"
#include "chemometrics/DataSet.h"

namespace kiv {

// "Clear Data": every member 0 x 0, then Show Data.
void ClearDataCommand(CDataSet& set, CSession& session);
// "Show Data": the sizes of the data set in five lines.
void ShowDataCommand(const CDataSet& set, CSession& session);

// "Import": a titled matrix file with class numbers into X and XClass (an empty path asks).
void ImportDataCommand(CDataSet& set, const std::string& path, CPrompter& prompter, CSession& session);

// The matrices that can be loaded from a CDM or text matrix file.
enum class LoadTarget { X, XUnknown, Y, YUnknown };
// "Load X", "Load X Unknown", "Load Y", "Load Y Unknown" (an empty path asks). The index
// vectors stay as they are.
void LoadDataCommand(CDataSet& set, LoadTarget target, const std::string& path, CPrompter& prompter,
                     CSession& session);

// The matrices and results that can be saved.
enum class SaveTarget {
    X,
    XUnknown,
    XScores,
    XUnknownScores,
    Y,
    YUnknown,
    YScores,
    YUnknownScores,
    YPredicted,
    YUnknownPredicted,
    CrossValidation,
    PcaDiagnostics,
};
// The "Save ..." commands: asks the format ("TEXT\t%12.5f" by default), then the file (an empty
// path asks), and writes the matrix with a header when the name ends in ".cdm".
void SaveDataCommand(CDataSet& set, SaveTarget target, const std::string& path, CPrompter& prompter);

// "Show Features" of X (with the feature names of the loaded definitions) or of Y: empties the
// log and lists one line per column.
void ShowFeaturesCommand(const CDataSet& set, DataMatrix matrix, const std::vector<std::string>& featureNames,
                         CSession& session);
// "Save Features": the same lines into a text file (an empty path asks).
void SaveFeaturesCommand(const CDataSet& set, DataMatrix matrix, const std::vector<std::string>& featureNames,
                         const std::string& path, CPrompter& prompter, CSession& session);
// The per-column lines of the two commands.
std::vector<std::string> FeatureListLines(const CDataSet& set, DataMatrix matrix,
                                          const std::vector<std::string>& featureNames);

}  // namespace kiv
