// Fuzz target: a descriptor set from arbitrary bytes. The input is the header file's three lines
// (title, "Objs:" count, "Bits:" count) followed by the bytes of the ".bit" file. The set is
// opened, read object by object and whole, and copied into Y; its bit strings and Tanimoto
// values are taken for the first and last objects.
#include <cstdint>
#include <cstring>

#include "FuzzFiles.h"
#include "base/Session.h"
#include "search/DescriptorCommands.h"
#include "search/DescriptorSet.h"

using namespace kiv;

namespace {

// Length of the first three lines of the input, their line ends included.
size_t HeaderLength(const uint8_t* data, size_t size)
{
    size_t length = 0;
    for (int line = 0; line < 3 && length < size; ++line) {
        const void* end = std::memchr(data + length, '\n', size - length);
        length = end ? static_cast<size_t>(static_cast<const uint8_t*>(end) - data) + 1 : size;
    }
    return length;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const size_t header = HeaderLength(data, size);
    const std::string path = fuzz::WriteScratchFile("descriptors.txt", data, header);
    fuzz::WriteScratchFile("descriptors.bit", data + header, size - header);
    DescriptorSet set;
    CHeadlessPrompter prompter;
    CRecordingSession session;
    if (set.OpenDescriptors(path, prompter) != 1) return 0;
    CMatrix y;
    CMatrixI columns;
    UseDescriptorsY(set, y, columns, session);
    for (int32_t k : {1, set.objectCount}) {
        if (set.ReadObjects(k) == 1) set.ObjectVector();
    }
    if (set.ReadObjects(0) == 1) {
        set.BitString(set.objectCount);
        set.Tanimoto(1, set.objectCount);
        set.ObjectVector(1);
        UseDescriptorsY(set, y, columns, session);
    }
    set.CloseDescriptors();
    return 0;
}
