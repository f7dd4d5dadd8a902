#include "import/JcampParallel.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

#include "base/Format.h"
#include "base/Reporter.h"
#include "base/Session.h"
#include "base/TextFile.h"
#include "import/JcampReader.h"
#include "import/ReadPosition.h"

namespace kiv {

namespace {

constexpr std::string_view kTitleLine = "\n##TITLE=";
constexpr size_t kSearchPiece = size_t(1) << 16;

// One range of the file and what its reader made of it.
struct CJcampJob {
    int64_t begin = 0;
    int64_t end = 0;
    CJcampOutput output;
    std::unique_ptr<CJcampReader> reader;
    bool opened = false;
    bool done = false;
};

class CParallelJcampFile {
public:
    CParallelJcampFile(CBib& bib, const std::string& path, size_t fileIndex, size_t fileCount, CJcampCounts& counts,
                       int64_t jobBytes, int threads)
        : bib_(bib),
          path_(path),
          fileIndex_(fileIndex),
          fileCount_(fileCount),
          counts_(counts),
          jobBytes_(std::max<int64_t>(1, jobBytes)),
          threads_(std::max(1, threads))
    {
    }

    // False when the file cannot be opened.
    bool Run();

private:
    void Work();
    // Reads the oldest range no thread has taken yet (the lock is held on entry and on return).
    void RunWaitingJob(std::unique_lock<std::mutex>& lock);
    // Cuts the next range (without the lock: only this thread cuts) and queues its job; false at
    // the end of the file.
    bool QueueJob(std::unique_lock<std::mutex>& lock);
    // The oldest job once it is done (a job is first cut when none is queued), reading waiting
    // ranges meanwhile; nullptr at the end of the file.
    std::unique_ptr<CJcampJob> TakeDone(std::unique_lock<std::mutex>& lock);
    // Reads on with job's reader over the ranges after it while it ends inside a compound file.
    void CloseCompound(CJcampJob& job, std::unique_lock<std::mutex>& lock);
    // Writes a job's spectra and reports its messages; false when the reading has to end.
    bool HandOver(CJcampJob& job);
    void Replay(const CJcampMessage& message) const;
    // A job taken from the spare ones (their storage is used again) or a new one.
    std::unique_ptr<CJcampJob> FreshJob();

    CBib& bib_;
    const std::string& path_;
    size_t fileIndex_;
    size_t fileCount_;
    CJcampCounts& counts_;
    int64_t jobBytes_;
    int threads_;
    FilePtr file_;
    int64_t size_ = 0;
    int64_t nextBegin_ = 0;
    int64_t lineBase_ = 0;
    bool failedToOpen_ = false;

    std::mutex mutex_;
    std::condition_variable work_;
    std::condition_variable done_;
    std::deque<std::unique_ptr<CJcampJob>> jobs_;  // in file order
    std::deque<CJcampJob*> waiting_;  // not yet taken by a worker
    std::vector<std::unique_ptr<CJcampJob>> spare_;  // handed over, only this thread touches them
    bool quit_ = false;
};

bool CParallelJcampFile::Run()
{
    file_ = OpenBytes(path_, size_);
    if (!file_) return false;

    // This thread reads ranges too while it waits for the oldest one: as many threads run as
    // there are readers, so that the writing of the library never waits for a free core.
    std::vector<std::thread> workers;
    for (int t = 1; t < threads_; ++t) workers.emplace_back([this] { Work(); });
    const size_t inFlight = static_cast<size_t>(threads_) * 2 + 1;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            while (jobs_.size() < inFlight && QueueJob(lock)) {}
            if (jobs_.empty()) break;
            std::unique_ptr<CJcampJob> job = TakeDone(lock);
            if (!job->opened) {
                failedToOpen_ = true;
                break;
            }
            CloseCompound(*job, lock);
            lock.unlock();
            const bool goOn = HandOver(*job);
            lock.lock();
            spare_.push_back(std::move(job));
            if (!goOn) break;
        }
        quit_ = true;
        waiting_.clear();
    }
    work_.notify_all();
    for (std::thread& worker : workers) worker.join();
    if (failedToOpen_) ReportRunTimeError("Error opening " + path_);
    return true;
}

void CParallelJcampFile::Work()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        work_.wait(lock, [this] { return quit_ || !waiting_.empty(); });
        if (quit_) return;
        RunWaitingJob(lock);
    }
}

void CParallelJcampFile::RunWaitingJob(std::unique_lock<std::mutex>& lock)
{
    CJcampJob* job = waiting_.front();
    waiting_.pop_front();
    lock.unlock();
    job->reader = std::make_unique<CJcampReader>(job->output);
    job->opened = job->reader->ReadRange(path_, job->begin, job->end);
    lock.lock();
    job->done = true;
    done_.notify_all();
}

bool CParallelJcampFile::QueueJob(std::unique_lock<std::mutex>& lock)
{
    if (nextBegin_ >= size_) return false;
    std::unique_ptr<CJcampJob> job = FreshJob();
    job->begin = nextBegin_;
    lock.unlock();
    job->end = NextTitleLine(file_.get(), nextBegin_ + jobBytes_, size_);
    lock.lock();
    nextBegin_ = job->end;
    waiting_.push_back(job.get());
    jobs_.push_back(std::move(job));
    work_.notify_one();
    return true;
}

std::unique_ptr<CJcampJob> CParallelJcampFile::TakeDone(std::unique_lock<std::mutex>& lock)
{
    if (jobs_.empty() && !QueueJob(lock)) return nullptr;
    CJcampJob* front = jobs_.front().get();
    while (!front->done) {
        if (waiting_.empty()) {
            done_.wait(lock);
        } else {
            RunWaitingJob(lock);
        }
    }
    std::unique_ptr<CJcampJob> job = std::move(jobs_.front());
    jobs_.pop_front();
    return job;
}

void CParallelJcampFile::CloseCompound(CJcampJob& job, std::unique_lock<std::mutex>& lock)
{
    while (job.output.open) {
        // The next range belongs to this job's compound: its own job's result is dropped.
        if (!jobs_.empty() && !jobs_.front()->done) {
            CJcampJob* next = jobs_.front().get();
            const auto queued = std::find(waiting_.begin(), waiting_.end(), next);
            if (queued != waiting_.end()) {
                waiting_.erase(queued);
                next->done = true;
            }
        }
        std::unique_ptr<CJcampJob> next = TakeDone(lock);
        lock.unlock();
        job.end = next ? next->end : size_;
        job.reader->ReadOn(job.end);
        lock.lock();
        if (next) spare_.push_back(std::move(next));
    }
}

bool CParallelJcampFile::HandOver(CJcampJob& job)
{
    const std::vector<CJcampMessage>& messages = job.output.messages;
    std::vector<CBibRecord>& spectra = job.output.spectra;
    size_t nextMessage = 0;
    bool goOn = true;
    for (size_t k = 0; k < job.output.count && goOn; ++k) {
        while (nextMessage < messages.size() && messages[nextMessage].spectraBefore <= k) Replay(messages[nextMessage++]);
        // Written from the job's storage, which keeps it for the next job's spectra.
        CBibRecord& spectrum = spectra[k];
        spectrum.id += counts_.spectraBegun;
        if (!bib_.WriteBlock(spectrum)) {
            counts_.writeFailed = true;
            return false;
        }
        ++counts_.written;
        if (counts_.written % kJcampProgressSpectra == 0
            && ReportJcampProgress(path_, fileIndex_, fileCount_, job.end, size_)) {
            counts_.stopped = true;
            goOn = false;
        }
    }
    if (goOn) {
        while (nextMessage < messages.size()) Replay(messages[nextMessage++]);
    }
    counts_.spectraBegun += job.output.spectraBegun;
    lineBase_ += job.output.lines;
    return goOn;
}

std::unique_ptr<CJcampJob> CParallelJcampFile::FreshJob()
{
    if (spare_.empty()) return std::make_unique<CJcampJob>();
    std::unique_ptr<CJcampJob> job = std::move(spare_.back());
    spare_.pop_back();
    job->output.Clear();
    job->reader.reset();
    job->opened = false;
    job->done = false;
    return job;
}

void CParallelJcampFile::Replay(const CJcampMessage& message) const
{
    if (message.line > 0) {
        ReportAtLine(message.text, path_, lineBase_ + message.line);
    } else if (message.kind == ErrorKind::Numerical) {
        ReportNumericalError(message.text);
    } else {
        ReportRunTimeError(message.text);
    }
}

}  // namespace

int64_t NextTitleLine(std::FILE* file, int64_t from, int64_t size)
{
    if (from <= 0) from = 0;
    if (from >= size) return size;
    // The line end before from belongs to the search, so that from itself can be found.
    int64_t position = from - 1;
    std::string piece;
    std::vector<char> buffer(kSearchPiece);
    if (position < 0) piece = "\n";
    position = std::max<int64_t>(position, 0);
    if (std::fseek(file, static_cast<long>(position), SEEK_SET) != 0) return size;
    for (;;) {
        const size_t got = std::fread(buffer.data(), 1, buffer.size(), file);
        if (got == 0) return size;
        const int64_t pieceStart = position - static_cast<int64_t>(piece.size());
        piece.append(buffer.data(), got);
        position += static_cast<int64_t>(got);
        const size_t found = std::string_view(piece).find(kTitleLine);
        if (found != std::string_view::npos) return pieceStart + static_cast<int64_t>(found) + 1;
        // The last bytes may hold the start of a title line that the next piece completes.
        piece.erase(0, piece.size() - std::min(piece.size(), kTitleLine.size() - 1));
    }
}

bool ReadJcampFileInParallel(CBib& bib, CSession* log, const std::string& path, size_t fileIndex, size_t fileCount,
                             CJcampCounts& counts, int64_t jobBytes, int threads)
{
    const int begunBefore = counts.spectraBegun;
    const int writtenBefore = counts.written;
    CParallelJcampFile file(bib, path, fileIndex, fileCount, counts, jobBytes, threads);
    if (!file.Run()) {
        ReportRunTimeError("Error opening " + path);
        return false;
    }
    if (counts.spectraBegun == begunBefore) ReportRunTimeError(Format("No spectrum found in %s", path.c_str()));
    if (log) log->Log(Format("%s: %d spectra", path.c_str(), counts.written - writtenBefore));
    return true;
}

}  // namespace kiv
