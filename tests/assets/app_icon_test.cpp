// The desktop icons the build installs: one PNG per size a desktop asks for, square, with the
// picture on a round disc (transparent corners, a dark sky, the bright ship in the middle),
// each size drawn at its own resolution.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "assets/asset_test_support.h"

namespace {

const int kSizes[] = {16, 32, 48, 64, 128, 256};

Picture LoadIcon(int size) {
    std::string edge = std::to_string(size);
    return LoadPicture(std::string(QUARROX_ICON_DIR) + "/" + edge + "x" + edge +
                       "/apps/quarrox.png");
}

int Brightness(const std::uint8_t* px) {
    return (px[0] + px[1] + px[2]) / 3;
}

}  // namespace

TEST(AppIcon, EverySizeIsASquarePngWithTheShipOnADisc) {
    for (int size : kSizes) {
        SCOPED_TRACE(size);
        Picture p = LoadIcon(size);
        ASSERT_TRUE(p.loaded);
        EXPECT_EQ(p.width, size);
        EXPECT_EQ(p.height, size);
        EXPECT_EQ(p.channels, 4);

        // The disc covers most of the square (pi / 4 of it), the corners stay clear.
        int opaque = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) opaque += p.Pixel(x, y)[3] == 255;
        EXPECT_GT(opaque, size * size / 2);
        EXPECT_EQ(p.Pixel(0, 0)[3], 0);
        EXPECT_EQ(p.Pixel(size - 1, size - 1)[3], 0);

        // The ship stands bright against the dark sky in the middle third.
        int darkest = 255, brightest = 0;
        for (int y = size / 3; y < size * 2 / 3; ++y)
            for (int x = size / 3; x < size * 2 / 3; ++x) {
                darkest = std::min(darkest, Brightness(p.Pixel(x, y)));
                brightest = std::max(brightest, Brightness(p.Pixel(x, y)));
            }
        EXPECT_LT(darkest, 60);
        EXPECT_GT(brightest, 150);
    }
}

TEST(AppIcon, EachSizeIsDrawnAtItsOwnResolution) {
    // A copy enlarged pixel by pixel from the half size would repeat every pixel in 2 x 2
    // blocks.
    for (int size : {32, 64, 128, 256}) {
        SCOPED_TRACE(size);
        Picture p = LoadIcon(size);
        ASSERT_TRUE(p.loaded);
        int differing = 0;
        for (int y = 0; y + 1 < p.height; y += 2)
            for (int x = 0; x + 1 < p.width; x += 2)
                differing += std::memcmp(p.Pixel(x, y), p.Pixel(x + 1, y + 1), 4) != 0;
        EXPECT_GT(differing, size * size / 16);
    }
}
