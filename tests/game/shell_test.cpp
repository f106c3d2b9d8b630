#include <fstream>
#include <sstream>

#include "game/key_codes.h"
#include "game_test_support.h"
#include "shell_fixture.h"

namespace {

const char* const kLoadedImages[] = {
    "common/WexoLogo", "fonts/editundo",  // the reload, before the first step
    "common/icons",    "common/Buttons", "common/dpad", "common/WexoLogo",
    "common/Testcard_Circle", "fonts/editundo", "menu", "logo", "parts", "BadgesA", "gfx",
};
const char* const kLoadedSounds[] = {"096", "001", "095", "098", "099",
                                     "002", "003", "004", "005"};

std::vector<std::string> ImagePaths(const char* suffix) {
    std::vector<std::string> paths;
    for (const char* name : kLoadedImages) {
        paths.push_back(std::string("travik://data/") + name + suffix + ".png");
    }
    return paths;
}

std::vector<std::string> SoundPaths() {
    std::vector<std::string> paths;
    for (const char* n : kLoadedSounds) {
        paths.push_back(std::string("travik://data/sfx/") + n + ".wav");
    }
    return paths;
}

TEST_F(ShellTest, TheDesignScreenFitsEveryWindowShape) {
    struct Case {
        int width, height;
        float scale;
        int fitMode;
        float virtualW, virtualH;
        int landscape;
        bool smooth;  // below a pixel per unit, small text would lose strokes to nearest texels
    };
    const Case cases[] = {
        {800, 600, 1.0f, 1, 800, 600, 1, false},
        {640, 480, 0.8f, 1, 800, 600, 1, true},
        {600, 800, 4.0f / 3, 2, 450, 600, 0, false},
        {799, 400, 0.99875f, 1, 800, 400 * 800 / 799.0f, 1, true},
        {1280, 720, 1.6f, 1, 800, 450, 1, false},
    };
    Start();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        Resize(c.width, c.height);
        Render();
        EXPECT_FLOAT_EQ(app->m_scaleX, c.scale);
        EXPECT_FLOAT_EQ(app->m_scaleY, c.scale);
        EXPECT_EQ(app->m_fitMode, c.fitMode);
        EXPECT_FLOAT_EQ(kx_Sprocklet_jscrw, c.virtualW);
        EXPECT_FLOAT_EQ(kx_Sprocklet_jscrh, c.virtualH);
        EXPECT_EQ(app->m_landscape, c.landscape);
        EXPECT_EQ(kx_graphics_device->smoothing, c.smooth);
    }

    // A window without area keeps the last fit instead of dividing by zero.
    Resize(0, 0);
    Render();
    EXPECT_FLOAT_EQ(kx_Sprocklet_jscrw, 800);
    EXPECT_FLOAT_EQ(kx_Sprocklet_jscrh, 450);
}

TEST_F(ShellTest, TheArtLevelFollowsTheLargerDeviceDimension) {
    struct Case {
        int width, height, level;
        float scale;
        const char* suffix;
    };
    const Case cases[] = {
        {630, 630, 1, 1.0f, ""},        {631, 400, 2, 0.5f, "-hd"},
        {400, 1230, 2, 0.5f, "-hd"},    {1231, 700, 4, 0.25f, "-hd2"},
    };
    Start();
    FinishLoading();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        Resize(c.width, c.height);
        Render();
        host->images.clear();
        FinishLoading();
        EXPECT_EQ(app->m_artLevel, c.level);
        EXPECT_FLOAT_EQ(app->m_artScale, c.scale);
        EXPECT_EQ(host->images.back(), std::string("travik://data/gfx") + c.suffix + ".png");
        // Cells grow with the level; the font's advance and line height do not.
        EXPECT_EQ(app->m_imgInfo[1 * 3], 10 * c.level);
        EXPECT_EQ(app->m_imgInfo[99 * 3 + 1], 256 * c.level);
        EXPECT_EQ(app->m_imgInfo[90 * 3], 7);
        EXPECT_EQ(app->m_imgInfo[90 * 3 + 1], 10);
        ASSERT_NE(app->m_img[1], nullptr);
        EXPECT_EQ(app->m_img[1]->m_width, 10 * c.level);
    }
}

TEST_F(ShellTest, TheLoaderTakesOneFilePerUpdateInItsOrderAndJinglesOncePerRun) {
    Start(600, 450);
    EXPECT_EQ(app->m_loadStep, 1);
    EXPECT_EQ(app->m_font, 90);
    // A start-game request waiting in the mode must not run while loading.
    app->m_mode = 11;
    for (int step = 1; step <= 20; ++step) {
        ASSERT_EQ(app->m_loadStep, step);
        Update();
        Render();
        EXPECT_EQ(app->m_mode, 11);
    }
    EXPECT_EQ(app->m_loadStep, 0);
    EXPECT_EQ(host->images, ImagePaths(""));
    EXPECT_EQ(host->sounds, SoundPaths());
    EXPECT_EQ(fake_al::Calls("alSourcePlay"), 1);
    EXPECT_EQ(app->m_jingleDone, 1);
    Update();
    EXPECT_EQ(app->m_mode, 10);  // the dispatch is back, and a game start lasts one update

    // A resize loads everything again at the new level, without a second jingle.
    host->images.clear();
    host->sounds.clear();
    const int playsBefore = fake_al::Calls("alSourcePlay");  // the game's tune started too
    Resize(1024, 768);
    Render();
    EXPECT_EQ(app->m_loadStep, 1);
    FinishLoading();
    std::vector<std::string> again = ImagePaths("-hd");
    again.erase(again.begin(), again.begin() + 2);  // no reload before the steps this time
    EXPECT_EQ(host->images, again);
    EXPECT_EQ(host->sounds, SoundPaths());
    EXPECT_EQ(fake_al::Calls("alSourcePlay"), playsBefore);
}

TEST_F(ShellTest, TheLoadingScreenIsDrawnFromTheDrawList) {
    Start(800, 600);
    Update();
    // Background, 11 light dots, the disc, the band, the logo and 11 grey dots.
    ASSERT_EQ(Commands(), 25);
    EXPECT_FLOAT_EQ(app->m_clsR, 40);
    EXPECT_FLOAT_EQ(app->m_clsB, 80);
    EXPECT_EQ(app->m_minDim, 600);
    const int disc = 11;
    EXPECT_EQ(Field(disc, 0), kx_Sprocklet_OvalKind);
    EXPECT_FLOAT_EQ(Field(disc, 1), 400);
    EXPECT_FLOAT_EQ(Field(disc, 4), 180);
    EXPECT_FLOAT_EQ(Field(disc, 10), 255);
    EXPECT_FLOAT_EQ(Field(disc, 11), 255);
    EXPECT_FLOAT_EQ(Field(disc, 12), 0);
    EXPECT_FLOAT_EQ(Field(13, 0), 93);  // the logo
    // The first light dot sits at 196 degrees (spin 0), i.e. below and a little left.
    EXPECT_NEAR(Field(0, 1), 400 - 150 * 0.2756f, 0.01);
    EXPECT_NEAR(Field(0, 2), 300 + 150 * 0.9613f, 0.01);
    EXPECT_FLOAT_EQ(Field(0, 7), 0);
    EXPECT_FLOAT_EQ(Field(10, 7), 1);
    EXPECT_EQ(app->m_spin, 16);
}

TEST_F(ShellTest, FunctionKeysToggleDebugAndFullscreen) {
    fake_glfw::SetDesktopMode(GLFWvidmode{1600, 900, 8, 8, 8, 60});
    Start();
    FinishLoading();

    Press(kKeyF1);
    Update();
    EXPECT_EQ(kx_Sprocklet_DebugMode, 1);
    // The debug line (render rate and scales) ends the list, in the game's font.
    EXPECT_EQ(Field(Commands() - 1, 0), 90);
    Release(kKeyF1);
    Press(kKeyF1);
    Update();
    EXPECT_EQ(kx_Sprocklet_DebugMode, 0);
    Release(kKeyF1);

    for (int flip = 0; flip < 2; ++flip) {
        Press(kKeyF11);
        Update();
        Release(kKeyF11);
        EXPECT_EQ(app->m_fullscreen, 1);
        EXPECT_EQ(fake_glfw::Window()->width, 1600);
        EXPECT_NE(fake_glfw::Window()->monitor, nullptr);
        Render();
        EXPECT_EQ(app->m_loadStep, 1);
        FinishLoading();
        EXPECT_EQ(app->m_artLevel, 4);

        Press(kKeyF11);
        Update();
        Release(kKeyF11);
        EXPECT_EQ(app->m_fullscreen, 0);
        // Back to the window sized to the screen: the design screen once on this desktop.
        EXPECT_EQ(fake_glfw::Window()->width, 800);
        EXPECT_EQ(fake_glfw::Window()->height, 600);
        EXPECT_EQ(fake_glfw::Window()->monitor, nullptr);
        Render();
        EXPECT_EQ(app->m_loadStep, 1);
        FinishLoading();
        EXPECT_EQ(app->m_artLevel, 2);
    }
}

TEST_F(ShellTest, FourAndTheCloseKeyEndTheProgramNormally) {
    Start();
    for (int key : {kKeyF4, kx_input_KeyClose}) {
        EXPECT_EXIT(
            {
                kx_input_device->p_PutKeyHit(key);
                app->p_OnUpdate();
                std::exit(3);
            },
            ::testing::ExitedWithCode(0), "")
            << key;
    }
}

TEST_F(ShellTest, LosingFocusPausesOnlyInPlayAndSaves) {
    Start();
    FinishLoading();
    host->SuspendGame();
    EXPECT_EQ(app->m_paused, 0);
    EXPECT_EQ(app->m_pauseMenuOn, 0);
    EXPECT_EQ(kx_app__updateRate, 5);
    std::ifstream saved(".travikstate");
    std::stringstream text;
    text << saved.rdbuf();
    EXPECT_EQ(text.str().substr(0, 12), "0|0|0|0|0|1|");
    host->ResumeGame();
    EXPECT_EQ(kx_app__updateRate, 60);

    app->m_mode = 10;
    app->m_pad[0] = 2;
    kx_Sprocklet_iCadeControls = 1;
    host->SuspendGame();
    EXPECT_EQ(app->m_paused, 1);
    EXPECT_EQ(app->m_pauseMenuOn, 1);
    EXPECT_EQ(app->m_pauseMenuY, 300);
    EXPECT_EQ(app->m_pad[0], 0);
    EXPECT_EQ(kx_Sprocklet_iCadeControls, 0);
    EXPECT_FALSE(host->KeyboardEnabled());
    host->ResumeGame();
    EXPECT_EQ(app->m_paused, 1);  // still paused: the pause menu takes the game back
}

TEST_F(ShellTest, PopUpsSlideOneStepPerUpdate) {
    Start();
    FinishLoading();
    app->m_optionsOpen = 1;
    app->m_creditsOpen = 1;
    for (int i = 0; i < 35; ++i) Update();
    EXPECT_EQ(app->m_optionsSlide, 30);
    EXPECT_EQ(app->m_creditsSlide, 30);
    app->m_optionsOpen = 0;
    app->m_creditsOpen = 0;
    for (int i = 0; i < 10; ++i) Update();
    EXPECT_EQ(app->m_optionsSlide, 20);
    EXPECT_EQ(app->m_creditsSlide, 20);
}

TEST_F(ShellTest, TheGameObjectKeepsItsArraysAcrossCollections) {
    Start();
    FinishLoading();
    app->m_pad[3] = 2;
    for (int cycle = 0; cycle < 3; ++cycle) {
        gc_new_bytes = gc_full_cycle_bytes + 1;
        host->gc_collect();
    }
    for (gc_object* array : {static_cast<gc_object*>(app->m_img.GetRep()),
                             static_cast<gc_object*>(app->m_drawList.GetRep()),
                             static_cast<gc_object*>(app->m_pad.GetRep()),
                             static_cast<gc_object*>(app->m_settings.GetRep()),
                             static_cast<gc_object*>(app->m_sfx.GetRep()),
                             static_cast<gc_object*>(app->m_img[1]),
                             static_cast<gc_object*>(app->m_sfx[96]),
                             static_cast<gc_object*>(kx_Sprocklet_CreditText.GetRep())}) {
        EXPECT_TRUE(gc_is_live_object(array));
    }
    EXPECT_EQ(app->m_pad[3], 2);
    EXPECT_EQ(kx_Sprocklet_CreditText.Length(), 49);
    EXPECT_TRUE(kx_Sprocklet_CreditText[1] == String("A Game by"));
    EXPECT_TRUE(kx_Sprocklet_CreditText[48] == String("End"));
}

}  // namespace

// After a minute of play at 60 updates and 30 renders a second, whatever draw state the play
// field left behind, the debug line is still the smoothed render rate (which settles just
// above 20, as the integer smoothing truncates) and the scales, written left to right in
// plain white at scale 1.
TEST_F(ShellTest, TheDebugLineStaysReadableThroughAGame) {
    Start();
    FinishLoading();
    app->m_mode = c_MyApp::ModeStartGame;
    Press(kKeyF1);
    Update();
    Release(kKeyF1);
    for (int i = 0; i < 3600; ++i) {
        Update();
        if (i % 2 == 0) Render();
    }
    ASSERT_EQ(app->m_mode, c_MyApp::ModePlaying);
    EXPECT_GE(app->m_rFpsAvg, 21);
    EXPECT_LE(app->m_rFpsAvg, 30);

    const String line = String(app->m_rFpsAvg) + String(":") + String(app->m_scaleX) +
                        String(",") + String(app->m_scaleY);
    const std::string want = line.ToCString().chars();
    const std::vector<const float*> commands = DrawCommands(app);
    // The line is the last run of the font's commands that spells it.
    int start = -1;
    for (int i = int(commands.size()) - int(want.size()); i >= 0 && start < 0; --i) {
        std::string spelt;
        for (size_t k = 0; k < want.size(); ++k) {
            if (commands[i + k][0] == 90) spelt += char(commands[i + k][6] + 32);
        }
        if (spelt == want) start = i;
    }
    ASSERT_GE(start, 0) << "no debug line \"" << want << "\" in the draw list";
    // At the bottom left, on the screen: the leading blank takes the first advance.
    EXPECT_NEAR(commands[start][1], 16 + 7, 3);
    EXPECT_GT(commands[start][2], kx_Sprocklet_jscrh - 16);
    EXPECT_LT(commands[start][2], kx_Sprocklet_jscrh);
    for (size_t k = 0; k < want.size(); ++k) {
        const float* glyph = commands[start + k];
        EXPECT_EQ(glyph[3], 0) << k;  // not turned
        EXPECT_EQ(glyph[4], 1) << k;
        EXPECT_EQ(glyph[5], 1) << k;
        EXPECT_EQ(glyph[7], 1) << k;  // opaque white
        EXPECT_EQ(glyph[10], 255) << k;
        EXPECT_EQ(glyph[11], 255) << k;
        EXPECT_EQ(glyph[12], 255) << k;
        EXPECT_EQ(glyph[2], commands[start][2]) << k;
        if (k > 0) {
            EXPECT_GT(glyph[1], commands[start + k - 1][1]) << k;
        }
    }
}

// An opaque background is a clear in its colour; a see-through one is a blended rectangle over
// the whole window, so the previous picture shows through it.
TEST_F(ShellTest, TheBackgroundClearsOnlyWhenItIsOpaque) {
    Start();
    FinishLoading();
    fake_gl::SetRecording(true);
    const struct {
        float alpha;
        int clears;
    } cases[] = {{1, 1}, {0.5f, 0}};
    for (const auto& c : cases) {
        app->m_clsR = 40;
        app->m_clsG = 0;
        app->m_clsB = 0;
        app->m_clsA = c.alpha;
        fake_gl::ClearCalls();
        Render();
        const std::vector<fake_gl::Call> colours = fake_gl::CallsNamed("glClearColor");
        ASSERT_EQ(int(colours.size()), c.clears) << c.alpha;
        if (c.clears) {
            EXPECT_NEAR(colours[0].args[0], 40 / 255.0, 1e-6);
        }
        // The rectangle, if any, is the first draw: dark red (premultiplied by its alpha).
        const std::vector<fake_gl::Call> draws = fake_gl::Draws();
        const int red = int(40 * c.alpha);
        const bool rectangle = !draws.empty() && !draws[0].vertices.empty() &&
                               draws[0].vertices[0].r == red && draws[0].vertices[0].g == 0 &&
                               draws[0].vertices[0].a == int(255 * c.alpha);
        EXPECT_EQ(rectangle, c.clears == 0) << c.alpha;
    }
}
