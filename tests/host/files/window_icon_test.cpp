// The window's icon comes from the data folder of the directory the game runs in.
#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/fake_glfw.h"
#include "host/files/fixtures.h"
#include "host/glfw_game.h"

namespace {

using fixtures::Quote;
using fixtures::RunTool;

class WindowIconTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake_glfw::Reset();
        std::filesystem::create_directories(dir / "data/icons");
    }

    // A picture of `geometry` in PNG colour type `type` (6 RGBA, 2 RGB) at data/icons/`name`.
    void MakeIcon(const std::string& name, const std::string& geometry, int type) {
        const std::string colour = type == 6 ? "xc:'rgba(255,0,0,0.5)' " : "xc:red ";
        ASSERT_TRUE(RunTool("convert", "-size " + geometry + " " + colour +
                                           "-define png:color-type=" + std::to_string(type) +
                                           " " + Quote("png:" + (dir / ("data/icons/" + name)))));
    }

    fixtures::TempDir dir;
    KxGlfwGame host;
};

TEST_F(WindowIconTest, EverySquareRgbaSizeThereIsGoesOnEveryNewWindow) {
    MakeIcon("quarrox-16.png", "16x16", 6);
    MakeIcon("quarrox-32.png", "32x32", 2);   // no alpha: not the generator's
    MakeIcon("quarrox-48.png", "48x40", 6);   // not square
    MakeIcon("quarrox-128.png", "128x128", 6);
    fixtures::ScopedCwd cwd(dir.Path());

    host.SetGlfwWindow(800, 600, 8, 8, 8, 0, 0, 0, false);
    EXPECT_EQ(fake_glfw::Window()->iconSizes, (std::vector<int>{16, 128}));
    host.SetGlfwWindow(1024, 768, 8, 8, 8, 0, 0, 0, true);
    EXPECT_EQ(fake_glfw::Window()->iconSizes, (std::vector<int>{16, 128}));
}

TEST_F(WindowIconTest, WithoutTheFilesTheWindowKeepsTheDesktopsIcon) {
    fixtures::ScopedCwd cwd(dir.Path());
    host.SetGlfwWindow(800, 600, 8, 8, 8, 0, 0, 0, false);
    EXPECT_TRUE(fake_glfw::Window()->iconSizes.empty());
}

}  // namespace
