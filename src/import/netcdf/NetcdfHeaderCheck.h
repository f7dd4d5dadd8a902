#pragma once
// A look at the header of a classic-format netCDF file (versions 1, 2 and 5) before the netCDF
// library reads it. The library allocates what the header's counts ask for (dimensions,
// attributes, variables, name characters, attribute values) before it reads them, so a damaged
// header of a few bytes can ask for gigabytes. Every count is checked here against the bytes that
// follow it in the file.
#include <string>

namespace kiv {

// Empty when the header is sound or the file is no classic netCDF file (other formats are the
// library's own affair); else what is wrong, with the byte offset.
std::string ClassicHeaderFault(const std::string& path);

}  // namespace kiv
