#pragma once
// Error reporting. Library code never prints and never throws on bad input: it reports the
// problem through the installed reporter and goes on with its failure value. The batch program
// installs a reporter that writes to standard error, the desktop one shows a message box and the
// tests install a recorder.
#include <string>

namespace kiv {

enum class ErrorKind { RunTime, Numerical };

// The text the user sees: "Kiv run-time error:\n<message>" or
// "Kiv numerical run-time error:\n<message>".
std::string ErrorText(ErrorKind kind, const std::string& message);

class CReporter {
public:
    virtual ~CReporter() = default;
    // Called once per report with the bare message (without the prefix of ErrorText).
    virtual void Report(ErrorKind kind, const std::string& message) = 0;
};

void ReportRunTimeError(const std::string& message);
void ReportNumericalError(const std::string& message);

// Installs a reporter for the process and returns the previous one; nullptr discards reports.
CReporter* SetReporter(CReporter* reporter);

// Installs a reporter for the calling thread alone while the guard lives: reports made on this
// thread go to it instead of the process's reporter. Worker threads collect their messages this
// way, and the thread that owns the process's reporter hands them on in a fixed order.
class CThreadReporterScope {
public:
    explicit CThreadReporterScope(CReporter& reporter);
    ~CThreadReporterScope();
    CThreadReporterScope(const CThreadReporterScope&) = delete;
    CThreadReporterScope& operator=(const CThreadReporterScope&) = delete;

private:
    CReporter* previous_;
};

// Installs a reporter for the lifetime of the guard, then restores the previous one.
class CReporterScope {
public:
    explicit CReporterScope(CReporter& reporter) : previous_(SetReporter(&reporter)) {}
    ~CReporterScope() { SetReporter(previous_); }
    CReporterScope(const CReporterScope&) = delete;
    CReporterScope& operator=(const CReporterScope&) = delete;

private:
    CReporter* previous_;
};

}  // namespace kiv
