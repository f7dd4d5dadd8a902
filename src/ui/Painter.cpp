#include "ui/Painter.h"

#include <algorithm>

namespace kiv {

PageRect PageRect::Normalized() const
{
    return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

}  // namespace kiv
