#pragma once
// The record loop of feature generation on every core. One thread (the caller's) reads the
// records in order, in chunks, and hands the rows over strictly in record order; the feature
// rows of the chunks in between are computed by a fixed pool of threads, each with engine
// buffers of its own. Whatever the number of threads, the caller sees the same calls with the
// same rows in the same order, and the messages the engine reports for a record reach the
// installed reporter in the same order, on the calling thread, just before that record's row.
#include <functional>
#include <span>
#include <string>

#include "features/FeatureDefinitionSet.h"
#include "matrix/Matrix.h"

namespace kiv {

// What the loop asks of its caller. Every call comes on the calling thread.
struct FeatureRecordCalls {
    // Fills spectrum with the vector form of record i (one row, column m = mass m; no rows when
    // the record has no spectrum). Called once per record in ascending order, ahead of its row.
    std::function<void(int record, CMatrix& spectrum)> read;
    // Called just before record i's row is handed over; false ends the loop there, so that the
    // rows handed over are exactly those of the records before i.
    std::function<bool(int record)> proceed;
    // Optional: turns record i's row into the bytes that take will write. It runs on the
    // worker threads right after the row is computed, so it must read nothing but its arguments.
    std::function<void(int record, std::span<const double> row, std::string& bytes)> encode;
    // Record i's features, in record order: zeros for a record without a spectrum; bytes as
    // encode made them (empty without encode).
    std::function<void(int record, std::span<const double> row, const std::string& bytes)> take;
};

// Whose engine messages are passed on: every record's (a record-by-record loop reports each
// line's messages for each record), or record 1's only (one evaluation of a whole block, which
// reports them once).
enum class RecordMessages { EveryRecord, FirstRecordOnly };

struct FeatureRecordLoopResult {
    int rowsTaken = 0;
    bool stopped = false;  // proceed ended the loop
};

// Computes the features of records 1..recordCount with the set's definition lines and
// rounding, rows of featureCount values, on threads threads (ThreadCount of base/Parallel.h
// applies: 0 means every core). With featureCount 0 nothing is evaluated and the rows are empty.
FeatureRecordLoopResult RunFeatureRecordLoop(FeatureDefinitionSet& set, int recordCount, int featureCount,
                                             int threads, RecordMessages messages, const FeatureRecordCalls& calls);

}  // namespace kiv
