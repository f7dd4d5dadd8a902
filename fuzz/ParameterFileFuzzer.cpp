// Fuzz target: arbitrary bytes loaded as a parameter file.
#include <cstdint>

#include "FuzzFiles.h"
#include "base/Prompt.h"
#include "settings/Parameters.h"

using namespace kiv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CParameters parameters;
    parameters.SetDefaults();
    CHeadlessPrompter prompter;
    LoadParameters(parameters, fuzz::WriteScratchFile("parameters.ini", data, size), prompter);
    return 0;
}
