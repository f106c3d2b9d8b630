// Every picture the game loads exists at every art level, cuts into its grid without leaving
// the surface, and has art in the frames the game draws.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "assets/asset_test_support.h"

namespace {

struct Expected {
    const char* name;
    int cellWidth, cellHeight, frames;
    std::vector<int> drawnFrames;  // frames the game draws: they must not be blank
};

const std::vector<Expected> kImages = {
    {"gfx", 10, 10, 100, {1, 2, 3, 4, 5, 6, 7, 12, 13, 14}},
    {"parts", 8, 8, 256, {0, 63, 64, 127, 128, 191, 192, 255}},
    {"common/icons", 32, 32, 16, {0, 1, 3, 6}},
    {"common/Buttons", 64, 64, 16, {0, 1, 2, 8, 9, 10, 12}},
    {"common/dpad", 32, 32, 16, {0, 1, 2, 3, 4}},
    {"BadgesA", 64, 64, 64, {0}},
    {"menu", 256, 256, 4, {0, 1, 2, 3}},
    {"logo", 256, 128, 1, {0}},
    {"common/WexoLogo", 256, 256, 1, {0}},
    {"common/Testcard_Circle", 256, 256, 1, {0}},
    {"fonts/editundo", 16, 16, 224, {1, 33, 65, 94, 129, 182, 223}},
};

const char* const kSuffixes[3] = {"", "-hd", "-hd2"};
const int kLevels[3] = {1, 2, 4};

// The frame positions the game's grid loader gives, or an empty list where it would stop
// with "Image frame outside surface".
std::vector<std::pair<int, int>> CutFrames(int width, int height, int fw, int fh, int n) {
    std::vector<std::pair<int, int>> frames;
    int x = 0, y = 0;
    for (int i = 0; i < n; ++i) {
        if (x + fw > width) {
            y += fh;
            if (fw > width) return {};
            x = 0;
        }
        if (y + fh > height) return {};
        frames.push_back({x, y});
        x += fw;
    }
    return frames;
}

int OpaquePixels(const Picture& p, int x0, int y0, int w, int h) {
    int count = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) count += p.Pixel(x, y)[3] > 128;
    return count;
}

}  // namespace

TEST(ImageFiles, EveryLevelCutsIntoItsGridAndDrawnFramesHaveArt) {
    for (const Expected& e : kImages) {
        for (int l = 0; l < 3; ++l) {
            std::string file = std::string(e.name) + kSuffixes[l] + ".png";
            SCOPED_TRACE(file);
            Picture p = LoadPicture(DataFile(file));
            ASSERT_TRUE(p.loaded);
            EXPECT_EQ(p.channels, 4);
            int fw = e.cellWidth * kLevels[l], fh = e.cellHeight * kLevels[l];
            EXPECT_EQ(p.width % fw, 0);
            EXPECT_EQ(p.height % fh, 0);
            std::vector<std::pair<int, int>> frames =
                CutFrames(p.width, p.height, fw, fh, e.frames);
            ASSERT_EQ(static_cast<int>(frames.size()), e.frames);
            for (int f : e.drawnFrames)
                EXPECT_GT(OpaquePixels(p, frames[f].first, frames[f].second, fw, fh), 0)
                    << "frame " << f;
        }
    }
}

TEST(ImageFiles, LargerLevelsAreDrawnAtTheirOwnResolution) {
    // A copy enlarged pixel by pixel would repeat every pixel in 2 x 2 blocks.
    for (const Expected& e : kImages) {
        SCOPED_TRACE(e.name);
        Picture base = LoadPicture(DataFile(std::string(e.name) + ".png"));
        Picture hd = LoadPicture(DataFile(std::string(e.name) + "-hd.png"));
        ASSERT_TRUE(base.loaded && hd.loaded);
        ASSERT_EQ(hd.width, base.width * 2);
        int differing = 0;
        for (int y = 0; y < hd.height; y += 2)
            for (int x = 0; x < hd.width; x += 2)
                differing += std::memcmp(hd.Pixel(x, y), hd.Pixel(x + 1, y + 1), 4) != 0;
        EXPECT_GT(differing, 0);
    }
}

TEST(ImageFiles, ParticlesAreWhiteWithStraightAlpha) {
    // The game tints particles by colour; they must be white or light grey, and soft edges
    // must keep their colour (premultiplied or dark-fringed edges would darken every spark).
    for (int l = 0; l < 3; ++l) {
        Picture p = LoadPicture(DataFile(std::string("parts") + kSuffixes[l] + ".png"));
        ASSERT_TRUE(p.loaded);
        int faint = 0;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                const std::uint8_t* px = p.Pixel(x, y);
                if (px[3] == 0) continue;
                faint += px[3] < 64;
                ASSERT_GE(px[0], 220) << x << "," << y;
                ASSERT_GE(px[1], 220);
                ASSERT_GE(px[2], 220);
            }
        EXPECT_GT(faint, 0) << "edges should be anti-aliased";
    }
}
