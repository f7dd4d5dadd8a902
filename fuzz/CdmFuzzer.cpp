// Fuzz target: arbitrary bytes read as a CDM file in every way a caller reads one: the whole
// matrix, single rows (first, last, beyond the end) and block after block with a small and with
// the standard block size. Besides crashes it checks that the block walk ends after as many
// blocks as the announced rows need, and that no read leaves a matrix larger than the shape the
// header check let through.
#include <cstdint>
#include <cstdlib>

#include "FuzzFiles.h"
#include "matrix/CdmFile.h"

using namespace kiv;

namespace {

void CheckShape(const CMatrix& m, const CCdmFile& cdm)
{
    if (m.Count() > std::max<int64_t>(int64_t(cdm.Rows()) * cdm.Cols(), cdm.Cols())) std::abort();
}

void WalkBlocks(CCdmFile& cdm, const CMatrix& block, int blockSize)
{
    cdm.SetBlockSize(blockSize);
    if (cdm.SeekData() == 0) return;
    const int64_t blocks = (int64_t(cdm.Rows()) + blockSize - 1) / blockSize;
    int64_t read = 0;
    while (cdm.ReadData(-1) == 1) {
        CheckShape(block, cdm);
        if (++read > blocks) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = fuzz::WriteScratchFile("input.cdm", data, size);
    CMatrix m;
    std::vector<std::string> definitions;
    CCdmFile cdm;
    cdm.Attach(m, definitions);
    if (cdm.Load(path) != CdmLoad::Cdm) return 0;
    cdm.ReadData(0);
    CheckShape(m, cdm);
    for (int row : {1, cdm.Rows(), cdm.Rows() < INT32_MAX ? cdm.Rows() + 1 : 1}) {
        cdm.ReadData(row);
        CheckShape(m, cdm);
    }
    WalkBlocks(cdm, m, 3);
    WalkBlocks(cdm, m, 200);
    cdm.CloseRead();
    return 0;
}
