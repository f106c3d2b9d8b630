#include "host/window_size.h"

#include <algorithm>

namespace {

const int kDesignWidth = 800;
const int kDesignHeight = 600;
// Of the work area, in tenths: the window may take 9.
const int kUsableTenths = 9;
// The smallest window a tiny work area still gets, so the game never opens a sliver.
const int kLeastWidth = 160;

}  // namespace

KxWindowSize KxWindowedSizeFor(int areaWidth, int areaHeight) {
    if (areaWidth <= 0 || areaHeight <= 0) return {kDesignWidth, kDesignHeight};
    // Whole-pixel arithmetic: 90 % of the area, rounded down.
    const long long usableWidth = static_cast<long long>(areaWidth) * kUsableTenths / 10;
    const long long usableHeight = static_cast<long long>(areaHeight) * kUsableTenths / 10;
    const long long factor =
        std::min(usableWidth / kDesignWidth, usableHeight / kDesignHeight);
    if (factor >= 1) {
        return {static_cast<int>(factor * kDesignWidth), static_cast<int>(factor * kDesignHeight)};
    }
    // 4:3 in whole pixels: a width that is a multiple of 4 gives a whole height.
    long long width = std::min(usableWidth, usableHeight * 4 / 3) / 4 * 4;
    width = std::max<long long>(width, kLeastWidth);
    return {static_cast<int>(width), static_cast<int>(width * 3 / 4)};
}
