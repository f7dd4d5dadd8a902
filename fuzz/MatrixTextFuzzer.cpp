// Fuzz target: arbitrary bytes read as a plain matrix text file and as a titled matrix file with
// class numbers, into a real and into an integer matrix.
#include <cstdint>

#include "FuzzFiles.h"
#include "matrix/Matrix.h"
#include "matrix/MatrixI.h"

using namespace kiv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = fuzz::WriteScratchFile("matrix.mat", data, size);
    MessageLog log;
    CMatrix real;
    CMatrixI integers, classes;
    real.LoadText(path);
    real.LoadClassFile(path, log, classes);
    integers.LoadClassFile(path, log, classes);
    return 0;
}
