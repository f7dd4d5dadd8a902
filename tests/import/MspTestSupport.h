#pragma once
// Helpers of the MSP tests: the corpus of small MSP files under tests/data/msp and an import of
// MSP files into a library that is read back.
#include <string>
#include <vector>

#include "ImportTestSupport.h"
#include "base/MessageLog.h"

namespace kiv::test {

std::string MspCorpusFile(const std::string& name);

// Every file of the corpus, in name order.
std::vector<std::string> MspCorpus();

// Imports the files into a new library at ssdPath and reads it back; log receives the messages.
ReadBack ImportMspAndRead(const std::vector<std::string>& files, const std::string& ssdPath, MessageLog& log);

}  // namespace kiv::test
