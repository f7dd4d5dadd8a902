#include "import/ReadPosition.h"

#include "base/Format.h"
#include "base/Reporter.h"

namespace kiv {

std::string AtLine(const std::string& message, const std::string& path, int64_t line)
{
    return Format("%s (%s, line %lld)", message.c_str(), path.c_str(), static_cast<long long>(line));
}

void ReportAtLine(const std::string& message, const std::string& path, int64_t line)
{
    ReportRunTimeError(AtLine(message, path, line));
}

}  // namespace kiv
