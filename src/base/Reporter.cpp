#include "base/Reporter.h"

namespace kiv {

namespace {
CReporter* g_reporter = nullptr;
thread_local CReporter* t_reporter = nullptr;

CReporter* CurrentReporter() { return t_reporter ? t_reporter : g_reporter; }
}  // namespace

std::string ErrorText(ErrorKind kind, const std::string& message)
{
    return (kind == ErrorKind::RunTime ? "Kiv run-time error:\n" : "Kiv numerical run-time error:\n") +
           message;
}

void ReportRunTimeError(const std::string& message)
{
    if (CReporter* reporter = CurrentReporter()) reporter->Report(ErrorKind::RunTime, message);
}

void ReportNumericalError(const std::string& message)
{
    if (CReporter* reporter = CurrentReporter()) reporter->Report(ErrorKind::Numerical, message);
}

CReporter* SetReporter(CReporter* reporter)
{
    CReporter* previous = g_reporter;
    g_reporter = reporter;
    return previous;
}

CThreadReporterScope::CThreadReporterScope(CReporter& reporter) : previous_(t_reporter) { t_reporter = &reporter; }

CThreadReporterScope::~CThreadReporterScope() { t_reporter = previous_; }

}  // namespace kiv
