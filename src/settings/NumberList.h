#pragma once
// Number lists as users type them: "1,3 5-9" means 1, 3, 5, 6, 7, 8, 9. Used for the feature
// numbers of the similarity search in command and parameter files.
#include <cstdint>
#include <string_view>
#include <vector>

namespace kiv {

// A range is expanded only while the list is shorter than this: feature and mass numbers stay far
// below it, and a typing slip such as "1-2000000000" must not exhaust the memory.
constexpr size_t kMaxNumberListLength = 1 << 20;

void ParseNumberList(std::string_view text, std::vector<int32_t>& list);

}  // namespace kiv
