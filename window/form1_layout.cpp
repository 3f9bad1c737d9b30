#include "window/form1_layout.h"

#include <cstdint>

namespace tolvarine {

int TwipsToPixels(int twips, int dotsPerInch) {
    const std::int64_t scaled = static_cast<std::int64_t>(twips) * dotsPerInch;
    const std::int64_t rounded = scaled >= 0 ? (scaled + 720) / 1440 : -((-scaled + 720) / 1440);
    return static_cast<int>(rounded);
}

PixelRect ToPixels(const TwipsRect& rect, int dotsPerInchX, int dotsPerInchY) {
    return {TwipsToPixels(rect.left, dotsPerInchX), TwipsToPixels(rect.top, dotsPerInchY),
            TwipsToPixels(rect.width, dotsPerInchX), TwipsToPixels(rect.height, dotsPerInchY)};
}

}  // namespace tolvarine
