// Fuzz target: arbitrary bytes read as an MSP library, record after record, each record read
// encoded as a library block. Besides crashes it checks that the reader cannot be held in place:
// every record takes at least one byte of the file, so a file of n bytes ends within n + 1 calls.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzFiles.h"
#include "import/MspReader.h"
#include "library/BibRecords.h"

using namespace kiv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    MessageLog log;
    CMspReader reader(log);
    if (!reader.Open(fuzz::WriteScratchFile("input.msp", data, size))) std::abort();
    CBibRecord record;
    std::string block;
    for (size_t calls = 0;; ++calls) {
        if (calls > size + 1) std::abort();
        const MspStatus status = reader.Next(record);
        if (status == MspStatus::End) break;
        if (status == MspStatus::Record) {
            block.clear();
            EncodeBlock(block, record, 0);
        }
    }
    return 0;
}
