#include <gtest/gtest.h>

#include <thread>

#include "ui/qt/QtReporter.h"

namespace kiv {

namespace {

struct Recorded {
    std::vector<std::string> texts;
    std::vector<ErrorKind> kinds;
};

void Record(CQtReporter& reporter, Recorded& recorded)
{
    reporter.SetShow([&recorded](ErrorKind kind, const std::string& text) {
        recorded.kinds.push_back(kind);
        recorded.texts.push_back(text);
    });
}

}  // namespace

TEST(QtReporter, ShowsThePrefixedTextAndCollapsesABurstOfRepeats)
{
    CQtReporter reporter;
    Recorded recorded;
    Record(reporter, recorded);
    CReporterScope scope(reporter);
    for (int i = 0; i < 500; ++i) ReportRunTimeError("Cannot read x.ssd");
    ReportNumericalError("Matrix is singular");
    ReportNumericalError("Matrix is singular");
    reporter.Flush();
    reporter.Flush();
    EXPECT_EQ(recorded.texts, (std::vector<std::string>{"Kiv run-time error:\nCannot read x.ssd",
                                                        "Kiv run-time error:\nCannot read x.ssd\n... repeated 499 times",
                                                        "Kiv numerical run-time error:\nMatrix is singular",
                                                        "Kiv numerical run-time error:\nMatrix is singular\n... repeated 1 times"}));
    EXPECT_EQ(recorded.kinds.back(), ErrorKind::Numerical);
}

TEST(QtReporter, TheSameMessageLaterOrAfterFlushIsShownAgain)
{
    CQtReporter reporter;
    Recorded recorded;
    Record(reporter, recorded);
    reporter.Report(ErrorKind::RunTime, "No BIB open");
    reporter.Flush();
    reporter.Report(ErrorKind::RunTime, "No BIB open");
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    reporter.Report(ErrorKind::RunTime, "No BIB open");
    EXPECT_EQ(recorded.texts.size(), 3u);
}

}  // namespace kiv
