#include "import/JcampImport.h"

#include <filesystem>

#include "base/Format.h"
#include "base/Parallel.h"
#include "base/Progress.h"
#include "import/JcampParallel.h"
#include "import/JcampReader.h"

namespace kiv {

namespace {

// Large files go to several threads when the processor has more than one core.
int ReaderThreads(const std::string& path, const CJcampThreading& threading)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return 1;
    const auto size = std::filesystem::file_size(path, error);
    if (error || static_cast<int64_t>(size) < threading.parallelBytes) return 1;
    return ThreadCount(threading.threads);
}

}  // namespace

ImportOutcome ImportJcampFiles(CBib& bib, const std::vector<std::string>& files, CSession* log,
                               const CJcampThreading& threading)
{
    CJcampReader reader(bib, log);
    ImportOutcome outcome;
    outcome.completed = true;
    for (size_t k = 0; k < files.size() && !reader.Ended(); ++k) {
        if (ReportProgress(static_cast<int>(k * 100 / files.size()), Format("importing %s", files[k].c_str())) > 1) {
            outcome.stopped = true;
            break;
        }
        const int threads = ReaderThreads(files[k], threading);
        bool opened = false;
        if (threads > 1) {
            CJcampCounts counts = reader.Counts();
            opened = ReadJcampFileInParallel(bib, log, files[k], k, files.size(), counts, threading.jobBytes, threads);
            reader.SetCounts(counts);
        } else {
            opened = reader.ReadFile(files[k], k, files.size());
        }
        if (opened) {
            ++outcome.filesOpened;
        } else {
            outcome.completed = false;
        }
    }
    const CJcampCounts counts = reader.Counts();
    outcome.stopped = outcome.stopped || counts.stopped;
    if (!outcome.stopped) ReportProgress(100, "import done");
    outcome.completed = outcome.completed && !reader.Ended() && !outcome.stopped;
    outcome.blocksWritten = counts.written;
    return outcome;
}

}  // namespace kiv
