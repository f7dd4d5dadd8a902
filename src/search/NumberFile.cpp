#include "search/NumberFile.h"

#include "base/MessageLog.h"
#include "matrix/MatrixI.h"

namespace kiv {

std::vector<int32_t> LoadNumberFile(const std::string& path)
{
    CMatrixI numbers, classes;
    MessageLog log;
    numbers.LoadClassFile(path, log, classes);
    auto flat = numbers.Flat();
    return std::vector<int32_t>(flat.begin(), flat.end());
}

}  // namespace kiv
