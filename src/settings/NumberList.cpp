#include "settings/NumberList.h"

#include <algorithm>

#include "base/Numbers.h"

namespace kiv {

void ParseNumberList(std::string_view text, std::vector<int32_t>& list)
{
    list.clear();
    enum class Previous { None, Single, RangeStart } previous = Previous::None;
    int32_t previousValue = 0;
    int32_t value = 0;
    size_t position = 0;
    bool lastToken = false;
    while (position < text.size() && !lastToken) {
        size_t separator = std::min(text.find(',', position), text.find(' ', position));
        size_t dash = text.find('-', position);
        bool rangeStart = dash != std::string_view::npos && dash < separator;
        size_t end = rangeStart ? dash : separator;
        if (end == std::string_view::npos) {
            end = text.size();
            lastToken = true;
        }
        value = ParseInt(text.substr(position, end - position));
        if (previous == Previous::RangeStart) {
            for (int64_t v = std::max<int32_t>(previousValue, 1); v < value && list.size() < kMaxNumberListLength; ++v) {
                list.push_back(static_cast<int32_t>(v));
            }
        } else if (previous == Previous::Single && previousValue > 0) {
            list.push_back(previousValue);
        }
        previous = rangeStart ? Previous::RangeStart : Previous::Single;
        previousValue = value;
        position = end + 1;
    }
    if (value > 0) list.push_back(value);
}

}  // namespace kiv
