#include "base/Reporter.h"

namespace kiv {

namespace {
CReporter* g_reporter = nullptr;
}

std::string ErrorText(ErrorKind kind, const std::string& message)
{
    return (kind == ErrorKind::RunTime ? "Kiv run-time error:\n" : "Kiv numerical run-time error:\n") +
           message;
}

void ReportRunTimeError(const std::string& message)
{
    if (g_reporter) g_reporter->Report(ErrorKind::RunTime, message);
}

void ReportNumericalError(const std::string& message)
{
    if (g_reporter) g_reporter->Report(ErrorKind::Numerical, message);
}

CReporter* SetReporter(CReporter* reporter)
{
    CReporter* previous = g_reporter;
    g_reporter = reporter;
    return previous;
}

}  // namespace kiv
