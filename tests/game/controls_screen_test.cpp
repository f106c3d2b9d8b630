// The Controls screen as a player uses it: a key chosen for an action joins it or moves to it
// from another, with a word on what happened; the keys that keep their meanings; Escape leaves
// a wait unanswered; the Default box and the restore row; every change in the file at once; key
// names as the keyboard layout gives them; the quit dialog naming the player's buttons.
#include <fstream>
#include <sstream>

#include "game/bindings.h"
#include "menu_fixture.h"

namespace {

class ControlsScreenTest : public MenuTest {
protected:
    void TearDown() override {
        std::remove("controls.txt");
        MenuTest::TearDown();
    }
    // From the menu into the Controls screen, on its first action's row.
    void OpenControls() {
        OpenOptions();
        Updates(4);
        for (int i = 0; i < 4; ++i) Tap(kKeyDown);
        Tap(kKeyEnter);
        ASSERT_EQ(app->m_controlsOpen, 1);
        ASSERT_EQ(app->m_controlsCursor, 1);
    }
    void MoveTo(int row) {
        for (int i = 0; i < 10 && app->m_controlsCursor < row; ++i) Tap(kKeyDown);
        for (int i = 0; i < 10 && app->m_controlsCursor > row; ++i) Tap(kKeyUp);
        ASSERT_EQ(app->m_controlsCursor, row);
    }
    // Chooses the action on `row` and answers the wait with `key`.
    void Bind(int row, int key) {
        MoveTo(row);
        Tap(kKeyEnter);
        ASSERT_EQ(app->m_capturing, row - 1);
        Tap(key);
        EXPECT_EQ(app->m_capturing, -1);
    }
    static std::string File() {
        std::ifstream in("controls.txt");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::vector<int> Keys(controls::Bindable action) const {
        return app->m_bindings->Keys(action);
    }
};

const int kUpRow = 1, kFireRow = 5, kRestoreRow = 8;

TEST_F(ControlsScreenTest, AKeyJoinsOrMovesToTheChosenActionAndTheFileFollows) {
    OpenControls();
    Bind(kFireRow, 'Q');
    EXPECT_TRUE(Shows("QaddedtoFire"));
    Press('Q');
    EXPECT_EQ(app->p_PlayKey(c_MyApp::ActionButton1, 0, -1), 1);
    Release('Q');
    controls::Bindings read;
    std::vector<std::string> problems;
    read.Read(File(), &problems);
    EXPECT_EQ(read.Keys(controls::kFire), Keys(controls::kFire)) << File();

    Bind(kUpRow, kKeySpace);
    EXPECT_TRUE(Shows("SpacemovedfromFiretoUp"));
    EXPECT_EQ(Keys(controls::kUp), (std::vector<int>{kKeyUp, kKeySpace, 'W'}));
    EXPECT_NE(File().find("up = Up, Space, W, Pad 9\n"), std::string::npos) << File();

    // The keys that keep their meanings, and the last key of an action, stay where they are.
    Bind(kFireRow, kKeyF1);
    EXPECT_TRUE(Shows("Escape,F1,F4andF11keeptheirmeanings"));
    Bind(kFireRow, 'S');  // Down's keys are Down and S
    Bind(kFireRow, kKeyDown);
    EXPECT_TRUE(Shows("DownistheonlykeyofDown"));
    EXPECT_EQ(Keys(controls::kDown), std::vector<int>{kKeyDown});

    // Escape leaves a wait unanswered without leaving the screen; then it leaves the screen.
    const std::string before = File();
    MoveTo(kFireRow);
    Tap(kKeyEnter);
    Tap(kKeyEscape);
    EXPECT_EQ(app->m_controlsOpen, 1);
    EXPECT_TRUE(Shows("Nothingchanged"));
    EXPECT_EQ(File(), before);

    // The Default box gives Up its own keys again, and Space goes back to Fire.
    MoveTo(kUpRow);
    Tap(kKeyRight);
    Tap(kKeyEnter);
    EXPECT_EQ(Keys(controls::kUp), (std::vector<int>{kKeyUp, 'W'}));
    EXPECT_EQ(app->m_bindings->OwnerOfKey(kKeySpace), controls::kFire);
    MoveTo(kRestoreRow);
    Tap(kKeyEnter);
    EXPECT_EQ(File(), controls::Bindings().Write());
    EXPECT_EQ(Keys(controls::kDown), (std::vector<int>{kKeyDown, 'S'}));

    Tap(kKeyEscape);
    EXPECT_EQ(app->m_controlsOpen, 0);
    EXPECT_EQ(app->m_optionsOpen, 1);
}

TEST_F(ControlsScreenTest, APadButtonAndAClickWorkAsAKeyDoes) {
    OpenControls();
    // A click on Fire's row waits for a key or button; the pad's RB answers.
    Click(300, 96 + 4 * 38 + 10);
    ASSERT_EQ(app->m_capturing, controls::kFire);
    GLFWgamepadstate pad = {};
    pad.buttons[GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER] = GLFW_PRESS;
    fake_glfw::SetGamepad(0, pad);
    Update();
    fake_glfw::SetGamepad(0, GLFWgamepadstate{});
    Update();
    EXPECT_TRUE(Shows("RBmovedtoFire"));
    EXPECT_NE(File().find("Pad 5"), std::string::npos);
    // A click on its Default box takes it back.
    Click(kx_Sprocklet_jscrw - 100, 96 + 4 * 38 + 10);
    EXPECT_EQ(app->m_bindings->Buttons(controls::kFire), (std::vector<int>{0, 1, 2}));
}

TEST_F(ControlsScreenTest, KeysAreNamedByTheKeyboardLayout) {
    // Made-up layouts' names, in capitals: the keys at W and A read Z and Q, the key at D
    // reads o with a diaeresis; a name the font cannot draw (a Cyrillic ve) falls back to the
    // key's own.
    fake_glfw::SetKeyNames({{GLFW_KEY_W, "z"},
                            {GLFW_KEY_A, "q"},
                            {GLFW_KEY_D, "\xc3\xb6"},
                            {GLFW_KEY_S, "\xd0\xb2"}});
    OpenControls();
    Updates(2);
    EXPECT_TRUE(Shows("Up,Z"));
    EXPECT_TRUE(Shows("Left,Q"));
    EXPECT_TRUE(Shows("Right,\xd6"));
    EXPECT_TRUE(Shows("Down,S"));
    EXPECT_EQ(app->p_KeyLabel(kKeyUp).ToCString().chars(), std::string("Up"));
}

TEST_F(ControlsScreenTest, TheQuitDialogNamesThePlayersButtons) {
    EXPECT_EQ(std::string(app->p_QuitButtonLine(0).ToCString().chars()), "Press (B) to Quit");
    EXPECT_EQ(std::string(app->p_QuitButtonLine(1).ToCString().chars()),
              "or (A) to return to the fun!");
    int from = -1;
    app->m_bindings->BindButton(controls::kUp, 1, &from);  // B leaves fire
    app->m_bindings->BindButton(controls::kChoose, 0, &from);
    EXPECT_EQ(std::string(app->p_QuitButtonLine(0).ToCString().chars()), "Press (X) to Quit");
    EXPECT_EQ(std::string(app->p_QuitButtonLine(1).ToCString().chars()),
              "or Space to return to the fun!");
}

}  // namespace
