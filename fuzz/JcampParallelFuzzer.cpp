// Fuzz target: arbitrary bytes imported as a JCAMP-DX file twice, by one reader and by several
// threads cutting the file into small ranges (the first byte chooses the range size). Besides
// crashes, races and hangs, the two libraries and the two lists of messages must be identical.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzFiles.h"
#include "import/JcampImport.h"

using namespace kiv;

namespace {

class CMessageList : public CReporter {
public:
    void Report(ErrorKind, const std::string& message) override { messages.push_back(message); }
    std::vector<std::string> messages;
};

struct Result {
    std::string library;
    std::vector<std::string> messages;
};

Result Import(const std::string& input, const CJcampThreading& threading)
{
    Result result;
    CMessageList list;
    CReporterScope scope(list);
    const std::string path = fuzz::ScratchPath("import.ssd");
    {
        CBib bib;
        if (!bib.NewLibrary("fuzz", "MS", path)) std::abort();
        ImportJcampFiles(bib, {input}, nullptr, threading);
        bib.CloseWrite();
    }
    std::ifstream in(path, std::ios::binary);
    result.library.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    result.messages = std::move(list.messages);
    return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    const std::string input = fuzz::WriteScratchFile("input.jdx", data + 1, size - 1);
    CJcampThreading one;
    one.parallelBytes = INT64_MAX;
    CJcampThreading many;
    many.parallelBytes = 0;
    many.jobBytes = 1 + data[0] % 128;
    many.threads = 2;
    const Result serial = Import(input, one);
    const Result parallel = Import(input, many);
    if (serial.library != parallel.library || serial.messages != parallel.messages) std::abort();
    return 0;
}
