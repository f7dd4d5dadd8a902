#pragma once
// The commands of the chemometrics menus: the data set X, XU, Y, YU, feature selection on X and Y, PCA, PLS and their checks.
#include "ui/CommandTable.h"

namespace kiv {

void AddDataMenuCommands(CommandList& commands);

// "Use Spec Sim Search Features X&&Y" (also the script task "UseDataSpectralSimilaritySearch"):
// X and XU from the features of the current unknown's hits and of the unknown, Y and YU from
// their structure descriptors.
void UseSpecSimSearchFeatures(CKivDoc& doc, CSession& session);

}  // namespace kiv
