#pragma once
// Work shared out over the processor's cores (at most two, the machines this runs on). The body
// gets disjoint half-open ranges of 0..count-1; it must not touch what another range owns.
#include <functional>

namespace kiv {

void ParallelFor(int count, const std::function<void(int begin, int end)>& body);

// The threads a task asked for by a "Threads" setting: 0 (or less) means every core of the
// processor; any other count is taken as given, capped at 256.
int ThreadCount(int requested);

}  // namespace kiv
