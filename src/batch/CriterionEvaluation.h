#pragma once
// The criterion evaluation: a search of every test object under "Sim Criterion", the query
// placed first in its own hitlist.
#include "batch/BatchRun.h"

namespace kiv {

void RunCriterionEvaluation(CBatchRun& run);

}  // namespace kiv
