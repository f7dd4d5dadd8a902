#pragma once
// Helpers shared by the test suites: a reporter that records messages, a scratch folder per
// test, and whole-file reading and writing as bytes.
#include <string>
#include <vector>

#include "base/Reporter.h"

namespace kiv::test {

// Records every report while it is alive (installs itself, restores the previous reporter).
class CRecordingReporter : public CReporter {
public:
    CRecordingReporter();
    ~CRecordingReporter() override;
    void Report(ErrorKind kind, const std::string& message) override;

    std::vector<std::string> messages;  // bare messages, in order
    std::vector<ErrorKind> kinds;

private:
    CReporter* previous_;
};

// A fresh, empty folder removed again at the end of the test.
class CScratchFolder {
public:
    CScratchFolder();
    ~CScratchFolder();
    std::string Path(const std::string& name) const;
    const std::string& Root() const { return root_; }

private:
    std::string root_;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

}  // namespace kiv::test
