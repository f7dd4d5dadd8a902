#pragma once
// The batch reporter: one message per report on a stream (standard error), never blocking.
// A library-wide run can hit the same problem in every record, so a message that repeats the
// one before it is counted instead of printed; the count follows when another message arrives
// or at Flush ("... repeated N times").
#include <cstdio>
#include <string>

#include "base/Reporter.h"

namespace kiv {

class CStreamReporter : public CReporter {
public:
    explicit CStreamReporter(std::FILE* stream) : stream_(stream) {}
    ~CStreamReporter() override { Flush(); }
    void Report(ErrorKind kind, const std::string& message) override;
    // Writes the pending repeat count, if any.
    void Flush();

private:
    std::FILE* stream_;
    std::string last_;
    long repeats_ = 0;
};

}  // namespace kiv
