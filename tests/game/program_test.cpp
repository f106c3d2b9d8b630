#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "framework/app.h"
#include "framework/async_event.h"
#include "framework/graphics.h"
#include "framework/input.h"
#include "game/my_app.h"
#include "host/game.h"
#include "runtime/startup.h"

namespace {

class QuietHost : public KxGame {
public:
    ~QuietHost() override {
        if (KxGame::_game == this) KxGame::_game = nullptr;
    }
};

void FullCycle() {
    gc_new_bytes = gc_full_cycle_bytes + 1;
    KxGame::_game->gc_collect();
}

TEST(Program, InitialiserResetsTheGlobalsAndRootsTheApplication) {
    QuietHost host;
    kxInit();
    kxMain();
    EXPECT_NE(dynamic_cast<c_MyApp*>(kx_app__app), nullptr);

    // A second initialisation starts over, so a new application may be created.
    kxInit();
    EXPECT_EQ(kx_app__app, nullptr);
    EXPECT_EQ(kx_app__game, &host);
    EXPECT_EQ(kx_asyncevent__sources->p_Length(), 0);
    gc_mark();
    kxMain();
    EXPECT_EQ(host.Delegate(), kx_app__delegate);

    // The host forgets its delegate here, so only the program's roots keep things alive.
    host.StartGame();
    host.SetDelegate(nullptr);
    FullCycle();
    FullCycle();
    EXPECT_TRUE(gc_is_live_object(kx_app__app));
    EXPECT_TRUE(gc_is_live_object(kx_app__delegate));
    EXPECT_TRUE(gc_is_live_object(kx_input_device));
    EXPECT_TRUE(gc_is_live_object(kx_graphics_device));
    EXPECT_TRUE(gc_is_live_object(kx_graphics_context));
    EXPECT_TRUE(gc_is_live_object(kx_asyncevent__sources));

    EXPECT_EXIT(
        {
            if (!std::freopen("/dev/null", "r", stdin)) std::abort();
            dup2(STDERR_FILENO, STDOUT_FILENO);
            kxMain();
        },
        ::testing::ExitedWithCode(255), "App has already been created");
}

}  // namespace
