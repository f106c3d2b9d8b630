#include <algorithm>

#include "graphics_fixture.h"

namespace {

const std::vector<unsigned char> kWhite = {255, 255, 255, 255};

std::vector<std::pair<int, int>> FramePositions(const c_Image* image) {
    std::vector<std::pair<int, int>> result;
    for (int i = 0; i < image->m_frames.Length(); ++i) {
        result.push_back({image->m_frames[i]->m_x, image->m_frames[i]->m_y});
    }
    return result;
}

using ImageTest = GraphicsModuleTest;

TEST_F(ImageTest, DefaultFontIsAPaddedStripLoadedOnce) {
    host.AddPlain("travik://data/dravo_font.png", 960, 16, kWhite);
    kx_graphics_SetFont(nullptr, 65);
    c_Image* font = Context()->m_currentFont;
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font, Context()->m_defaultFont);
    EXPECT_EQ(Context()->m_firstChar, 32) << "the default font always starts at the space";
    ASSERT_EQ(font->m_frames.Length(), 96);
    EXPECT_EQ(font->m_frames[0]->m_x, 1);
    EXPECT_EQ(font->m_frames[1]->m_x, 11);
    EXPECT_EQ(font->m_frames[2]->m_x, 21);
    EXPECT_EQ(font->m_frames[95]->m_x, 951);
    EXPECT_EQ(font->m_width, 8);
    EXPECT_EQ(font->m_height, 16);
    EXPECT_EQ(font->m_flags, c_Image::XPadding);

    c_Image* other = kx_graphics_LoadImage(String("other.png"), 1, 0);
    EXPECT_EQ(other, nullptr);
    host.AddPlain("travik://data/other.png", 8, 8, kWhite);
    other = kx_graphics_LoadImage(String("other.png"), 1, 0);
    kx_graphics_SetFont(other, 40);
    EXPECT_EQ(Context()->m_currentFont, other);
    EXPECT_EQ(Context()->m_firstChar, 40);
    kx_graphics_SetFont(nullptr, 0);
    EXPECT_EQ(Context()->m_currentFont, font);
    EXPECT_EQ(std::count(host.asked.begin(), host.asked.end(), "travik://data/dravo_font.png"),
              1);

    // The fonts stay alive through the context, which is a root.
    for (int cycle = 0; cycle < 2; ++cycle) runtime_test::FinishCycle();
    EXPECT_TRUE(gc_is_live_object(font));
    EXPECT_TRUE(gc_is_live_object(font->m_surface));
    EXPECT_TRUE(gc_is_live_object(font->m_frames[95]));
}

TEST_F(ImageTest, MissingDefaultFontLeavesNoFont) {
    kx_graphics_SetFont(nullptr, 65);
    EXPECT_EQ(Context()->m_currentFont, nullptr);
    EXPECT_EQ(Context()->m_firstChar, 32);
    host.AddPlain("travik://data/dravo_font.png", 960, 16, kWhite);
    kx_graphics_SetFont(nullptr, 65);
    EXPECT_NE(Context()->m_currentFont, nullptr) << "a later call tries again";
}

TEST_F(ImageTest, FlagsDecideHandleAndWholeSurfaceDrawing) {
    host.AddPlain("travik://data/square.png", 64, 64, kWhite);
    c_Image* plain = kx_graphics_LoadImage(String("square.png"), 1, 0);
    EXPECT_EQ(plain->m_flags, c_Image::FullFrame);
    EXPECT_EQ(plain->m_tx, 0);

    c_Image* centred = kx_graphics_LoadImage(String("square.png"), 1, c_Image::MidHandle);
    EXPECT_EQ(centred->m_flags, c_Image::FullFrame) << "MidHandle is consumed";
    EXPECT_EQ(centred->m_tx, 32);
    EXPECT_EQ(centred->m_ty, 32);

    c_Image* padded = kx_graphics_LoadImage(String("square.png"), 1,
                                            c_Image::XPadding | c_Image::MidHandle);
    EXPECT_EQ(padded->m_flags, c_Image::XPadding);
    EXPECT_EQ(padded->m_width, 62);
    EXPECT_EQ(padded->m_tx, 31) << "the handle is centred on the padded frame";

    c_Image* tall = kx_graphics_LoadImage(String("square.png"), 2, c_Image::YPadding);
    EXPECT_EQ(FramePositions(tall), (std::vector<std::pair<int, int>>{{0, 1}, {32, 1}}));
    EXPECT_EQ(tall->m_width, 32);
    EXPECT_EQ(tall->m_height, 62);

    centred->p_SetHandle(3, 4);
    EXPECT_EQ(centred->m_tx, 3);
    EXPECT_EQ(centred->m_ty, 4);
    EXPECT_EQ(c_Image::m_DefaultFlags, 0);
}

TEST_F(ImageTest, GridFramesFillRowsAndMustFitTheSurface) {
    host.AddPlain("travik://data/grid.png", 100, 64, kWhite);
    c_Image* grid = kx_graphics_LoadImage2(String("grid.png"), 32, 32, 6, c_Image::MidHandle);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(FramePositions(grid), (std::vector<std::pair<int, int>>{
                                        {0, 0}, {32, 0}, {64, 0}, {0, 32}, {32, 32}, {64, 32}}));
    EXPECT_EQ(grid->m_tx, 16);
    EXPECT_EQ(grid->m_flags, 0);
    EXPECT_EQ(grid->m_source, nullptr);

    c_Image* whole = kx_graphics_LoadImage2(String("grid.png"), 100, 64, 1, 0);
    EXPECT_EQ(whole->m_flags, c_Image::FullFrame);

    EXPECT_EQ(kx_graphics_LoadImage2(String("nothing.png"), 32, 32, 6, 0), nullptr);
    EXPECT_EQ(host.asked.back(), "travik://data/nothing.png");
    kx_graphics_LoadImage(String("./here.png"), 1, 0);
    EXPECT_EQ(host.asked.back(), "./here.png");

    EXPECT_EXIT(
        {
            PrepareToDie();
            kx_graphics_LoadImage2(String("grid.png"), 32, 32, 7, 0);
        },
        ::testing::ExitedWithCode(255), "Travik Runtime Error : Image frame outside surface");
    host.AddPlain("travik://data/narrow.png", 32, 64, kWhite);
    EXPECT_EXIT(
        {
            PrepareToDie();
            kx_graphics_LoadImage2(String("narrow.png"), 40, 32, 1, 0);
        },
        ::testing::ExitedWithCode(255), "Image frame outside surface");
}

TEST_F(ImageTest, AFrameCountBelowOneIsARuntimeError) {
    host.AddPlain("travik://data/strip.png", 64, 8, kWhite);
    EXPECT_EXIT(
        {
            PrepareToDie();
            kx_graphics_LoadImage(String("strip.png"), 0, 0);
        },
        ::testing::ExitedWithCode(255), "Image frame count must be at least 1");
}

}  // namespace
