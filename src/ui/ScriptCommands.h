#pragma once
// ExecuteTask: runs one script task on the document. The task commands of scripts come first
// (OpenBIB, SelectRecord, OpenFeatures, UseDataSpectralSimilaritySearch, DataFeatureSelection,
// DescriptorsOpenUnknown); every other name is looked up among the interactive commands by its
// script name, and the task's arguments answer the command's prompts and file dialogs in order.
#include <string>
#include <vector>

#include "base/Session.h"
#include "ui/KivDoc.h"

namespace kiv {

// 0 when a known command ran; -1 for an unknown name or too few arguments (nothing is done and
// nothing is reported), and for "DescriptorsOpenUnknown" when it loaded no object.
int ExecuteTask(CKivDoc& doc, const std::string& task, CSession& session);

// Every name a script can use with its arguments, one "Name(argument, ...)" line each.
std::vector<std::string> ScriptCommandList();

}  // namespace kiv
