#pragma once
// "old Const&&Var": the constant-feature step and then the variance step on X (with XU) or Y
// (with YU), each with its own log lines, followed by the list of the remaining features.
#include <string>
#include <vector>

#include "base/Prompt.h"
#include "base/Session.h"
#include "chemometrics/DataSet.h"

namespace kiv {

void CombinedSelection(CDataSet& set, DataMatrix matrix, const std::vector<std::string>& featureNames,
                       CPrompter& prompter, CSession& session);

}  // namespace kiv
