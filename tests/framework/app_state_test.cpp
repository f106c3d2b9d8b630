#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "framework/app.h"
#include "host/game.h"

// The app functions reach the host's state file in the current directory.
TEST(AppState, SavesAndLoadsThroughTheHost) {
    char dir[] = "/tmp/quarrox_app_state_XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(dir), 0);

    KxGame host;
    kx_app__game = &host;
    EXPECT_TRUE(kx_app_LoadState() == String());
    EXPECT_EQ(kx_app_SaveState(String("1|2|3")), 0);
    EXPECT_TRUE(kx_app_LoadState() == String("1|2|3"));

    kx_app__game = nullptr;
    KxGame::_game = nullptr;
    std::remove((std::string(dir) + "/.travikstate").c_str());
    ASSERT_EQ(chdir(previous), 0);
    rmdir(dir);
}
