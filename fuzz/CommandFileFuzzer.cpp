// Fuzz target: arbitrary bytes read as the command file of a batch run.
#include <cstdint>

#include "FuzzFiles.h"
#include "batch/CommandFile.h"

using namespace kiv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CRunSettings settings;
    ReadCommandFile(fuzz::WriteScratchFile("command.txt", data, size), settings);
    return 0;
}
