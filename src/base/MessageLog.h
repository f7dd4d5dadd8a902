#pragma once
// The message log: text lines that commands and loaders append for the user (the document's
// text page in the desktop application).
#include <string>
#include <vector>

namespace kiv {

using MessageLog = std::vector<std::string>;

}  // namespace kiv
