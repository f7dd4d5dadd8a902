#include "features/FeatureRecordLoop.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/Parallel.h"
#include "base/Reporter.h"
#include "features/DefinitionLine.h"
#include "features/FeatureEngine.h"

namespace kiv {

namespace {

// Records per chunk: enough that handing chunks between threads costs nothing next to the
// engine, few enough that progress moves smoothly. A chunk's rows are kept within 128 KB, so
// that the chunks in flight stay in the processor's caches and definition sets with very many
// features do not multiply memory per thread.
constexpr int kChunkRecords = 256;
constexpr size_t kChunkRowBytes = size_t(1) << 17;

int RecordsPerChunk(int featureCount)
{
    const size_t rowBytes = std::max<size_t>(1, static_cast<size_t>(featureCount) * sizeof(double));
    return static_cast<int>(std::clamp<size_t>(kChunkRowBytes / rowBytes, 1, kChunkRecords));
}

struct CapturedReport {
    ErrorKind kind;
    std::string message;
};

// Keeps a worker's reports with the record they belong to.
class CCapturingReporter : public CReporter {
public:
    void Report(ErrorKind kind, const std::string& message) override { target->push_back({kind, message}); }
    std::vector<CapturedReport>* target = nullptr;
};

void Replay(const std::vector<CapturedReport>& reports)
{
    for (const CapturedReport& report : reports) {
        if (report.kind == ErrorKind::RunTime) {
            ReportRunTimeError(report.message);
        } else {
            ReportNumericalError(report.message);
        }
    }
}

// Consecutive records on their way from the reader through a worker to the hand-over.
struct Chunk {
    int first = 0;  // record number of spectra[0]
    int count = 0;
    std::vector<CMatrix> spectra;
    std::vector<std::vector<CapturedReport>> reports;
    std::vector<std::string> encoded;
    CMatrix rows;  // row k + 1: the features of record first + k
    bool computed = false;
};

class CRecordLoop {
public:
    CRecordLoop(FeatureDefinitionSet& set, int recordCount, int featureCount, int threads, RecordMessages messages,
                const FeatureRecordCalls& calls)
        : definitions_(set.Parsed()),
          quantisation_(set.featureQuantisation),
          recordCount_(recordCount),
          featureCount_(featureCount),
          chunkRecords_(RecordsPerChunk(featureCount)),
          messages_(messages),
          calls_(calls)
    {
        const int chunkTotal = (recordCount + chunkRecords_ - 1) / chunkRecords_;
        threads_ = std::max(1, std::min(ThreadCount(threads), chunkTotal));
        // Every thread computing one chunk, one chunk being read and one being handed over.
        chunks_.resize(static_cast<size_t>(std::min(threads_ + 2, chunkTotal)));
        for (std::unique_ptr<Chunk>& chunk : chunks_) {
            chunk = std::make_unique<Chunk>();
            chunk->spectra.resize(static_cast<size_t>(chunkRecords_));
            chunk->reports.resize(static_cast<size_t>(chunkRecords_));
            chunk->encoded.resize(static_cast<size_t>(chunkRecords_));
            if (featureCount_ > 0) chunk->rows.Alloc(chunkRecords_, featureCount_);
            free_.push_back(chunk.get());
        }
    }

    FeatureRecordLoopResult Run()
    {
        std::vector<std::thread> helpers;
        for (int t = 1; t < threads_; ++t) helpers.emplace_back([this] { Help(); });
        FeatureRecordLoopResult result = Drive();
        {
            std::lock_guard<std::mutex> lock(mutex_);
            quit_ = true;
        }
        work_.notify_all();
        for (std::thread& helper : helpers) helper.join();
        return result;
    }

private:
    // The calling thread: reads ahead while chunks are free, hands over the oldest chunk as
    // soon as it is computed, and computes chunks itself when there is nothing else to do.
    FeatureRecordLoopResult Drive()
    {
        FeatureRecordLoopResult result;
        EngineScratch scratch;
        int next = 1;
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            if (!inFlight_.empty() && inFlight_.front()->computed) {
                Chunk* chunk = inFlight_.front();
                inFlight_.pop_front();
                lock.unlock();
                const bool proceed = HandOver(*chunk, result);
                lock.lock();
                free_.push_back(chunk);
                if (!proceed) {
                    result.stopped = true;
                    return result;
                }
            } else if (next <= recordCount_ && !free_.empty()) {
                Chunk* chunk = free_.back();
                free_.pop_back();
                lock.unlock();
                Read(*chunk, next);
                next += chunk->count;
                lock.lock();
                inFlight_.push_back(chunk);
                waiting_.push_back(chunk);
                work_.notify_one();
            } else if (!waiting_.empty()) {
                Chunk* chunk = waiting_.front();
                waiting_.pop_front();
                lock.unlock();
                Compute(*chunk, scratch);
                lock.lock();
                chunk->computed = true;
            } else if (inFlight_.empty()) {
                return result;
            } else {
                computed_.wait(lock);
            }
        }
    }

    void Help()
    {
        EngineScratch scratch;
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            work_.wait(lock, [this] { return quit_ || !waiting_.empty(); });
            if (quit_) return;
            Chunk* chunk = waiting_.front();
            waiting_.pop_front();
            lock.unlock();
            Compute(*chunk, scratch);
            lock.lock();
            chunk->computed = true;
            computed_.notify_one();
        }
    }

    void Read(Chunk& chunk, int first)
    {
        chunk.first = first;
        chunk.count = std::min(chunkRecords_, recordCount_ - first + 1);
        chunk.computed = false;
        for (int k = 0; k < chunk.count; ++k) calls_.read(first + k, chunk.spectra[static_cast<size_t>(k)]);
    }

    void Compute(Chunk& chunk, EngineScratch& scratch)
    {
        CCapturingReporter reporter;
        CThreadReporterScope scope(reporter);
        for (int k = 0; k < chunk.count; ++k) {
            std::vector<CapturedReport>& reports = chunk.reports[static_cast<size_t>(k)];
            reports.clear();
            CMatrix& spectrum = chunk.spectra[static_cast<size_t>(k)];
            if (featureCount_ > 0) {
                for (double& value : chunk.rows.Row(k + 1)) value = 0.0;
                if (spectrum.Rows() >= 1) {
                    reporter.target = &reports;
                    EvaluateDefinitions(definitions_, spectrum, chunk.rows, k, quantisation_, scratch);
                }
            }
            if (calls_.encode) {
                std::string& bytes = chunk.encoded[static_cast<size_t>(k)];
                bytes.clear();
                calls_.encode(chunk.first + k, Row(chunk, k), bytes);
            }
        }
    }

    // The features of the chunk's record k (0-based).
    std::span<const double> Row(const Chunk& chunk, int k) const
    {
        if (featureCount_ == 0) return {};
        return {chunk.rows.Row(k + 1).data(), static_cast<size_t>(featureCount_)};
    }

    bool HandOver(const Chunk& chunk, FeatureRecordLoopResult& result)
    {
        for (int k = 0; k < chunk.count; ++k) {
            const int record = chunk.first + k;
            if (!calls_.proceed(record)) return false;
            if (messages_ == RecordMessages::EveryRecord || record == 1) Replay(chunk.reports[static_cast<size_t>(k)]);
            calls_.take(record, Row(chunk, k), chunk.encoded[static_cast<size_t>(k)]);
            ++result.rowsTaken;
        }
        return true;
    }

    const ParsedDefinitions& definitions_;
    const int quantisation_;
    const int recordCount_;
    const int featureCount_;
    const int chunkRecords_;
    const RecordMessages messages_;
    const FeatureRecordCalls& calls_;
    int threads_ = 1;

    std::vector<std::unique_ptr<Chunk>> chunks_;
    std::mutex mutex_;
    std::condition_variable work_;  // a chunk waits for a worker, or the loop ends
    std::condition_variable computed_;  // a worker finished a chunk
    std::vector<Chunk*> free_;
    std::deque<Chunk*> inFlight_;  // read and not yet handed over, in record order
    std::deque<Chunk*> waiting_;  // read and not yet taken by a worker
    bool quit_ = false;
};

}  // namespace

FeatureRecordLoopResult RunFeatureRecordLoop(FeatureDefinitionSet& set, int recordCount, int featureCount,
                                             int threads, RecordMessages messages, const FeatureRecordCalls& calls)
{
    if (recordCount < 1) return {};
    CRecordLoop loop(set, recordCount, std::max(0, featureCount), threads, messages, calls);
    return loop.Run();
}

}  // namespace kiv
