#pragma once
// Messages of the readers name the file and the line they refer to, so that a user can find the
// bad spot in a file of a hundred thousand spectra: "Illegal point 57, x (run.jdx, line 112)".
#include <cstdint>
#include <string>

namespace kiv {

std::string AtLine(const std::string& message, const std::string& path, int64_t line);

// Reports AtLine(...) as a run-time error.
void ReportAtLine(const std::string& message, const std::string& path, int64_t line);

}  // namespace kiv
