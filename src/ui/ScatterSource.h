#pragma once
// The data behind the scatter plots: each named source ("X Scores", "MS Matrix", ...) gives a
// matrix of points, optionally a second series, and the record and class of every row.
#include <optional>
#include <string>

#include "base/MessageLog.h"
#include "ui/KivDoc.h"
#include "ui/ScatterPlot.h"

namespace kiv {

enum class ScatterSource {
    MsMatrix,
    Features,
    XData,
    XScores,
    XLoadings,
    YData,
    YScores,
    YScoresAndPrediction,
    YPrediction,
    YLoadings,
};

// "MS Matrix", "Features", "X Data", "X Scores", "X Loadings", "Y Data", "Y Scores",
// "Y Scores & Prediction", "Y Prediction", "Y Loadings"; nothing for another name.
std::optional<ScatterSource> ScatterSourceFromName(const std::string& name);
const char* ScatterSourceName(ScatterSource source);

// Columns xColumn and yColumn of the source as points; a column above the number of columns is
// reduced to it. False ("No Data!") when the source has no rows or a column is below 1. Problems
// of a prediction plot ("Prediction Plot: Object missing") go to log.
bool BuildScatterData(const CKivDoc& doc, ScatterSource source, int xColumn, int yColumn, ScatterData& data,
                      MessageLog& log);

}  // namespace kiv
