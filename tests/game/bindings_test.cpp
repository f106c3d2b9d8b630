// The player's bindings: keys moved between actions, the keys that cannot be taken, no action
// ever without a key, and the file read line by line with the defaults where it fails.
#include <gtest/gtest.h>

#include <fstream>

#include "game/bindings.h"
#include "game/key_codes.h"
#include "shell_fixture.h"

namespace {

using controls::Bindings;
using controls::Outcome;

bool SameTable(const Bindings& a, const Bindings& b) {
    const auto& x = a.Table();
    const auto& y = b.Table();
    if (x.size() != y.size()) return false;
    for (size_t i = 0; i < x.size(); ++i) {
        if (x[i].action != y[i].action || x[i].keys != y[i].keys || x[i].letters != y[i].letters ||
            x[i].buttons != y[i].buttons || x[i].pads != y[i].pads) {
            return false;
        }
    }
    return true;
}

TEST(Bindings, AKeyMovesToTheActionItIsBoundToButNeverLeavesOneWithoutAKey) {
    Bindings b;
    int from = -1;
    EXPECT_EQ(b.BindKey(controls::kFire, 'W', &from), Outcome::Moved);
    EXPECT_EQ(from, controls::kUp);
    EXPECT_EQ(b.Keys(controls::kUp), (std::vector<int>{kKeyUp}));
    EXPECT_EQ(b.BindKey(controls::kFire, kKeyUp, &from), Outcome::LastKey);
    EXPECT_EQ(b.Keys(controls::kUp), (std::vector<int>{kKeyUp}));
    EXPECT_EQ(b.BindKey(controls::kUp, kKeyUp, &from), Outcome::Already);
    // A key of an action a player does not bind (the credits' N) moves too, and says so.
    EXPECT_EQ(b.BindKey(controls::kChoose, 'N', &from), Outcome::Moved);
    EXPECT_EQ(from, controls::kBindables);
    for (int fixed : {kKeyEscape, kKeyF1, kKeyF4, kKeyF11}) {
        EXPECT_EQ(b.BindKey(controls::kFire, fixed, &from), Outcome::Fixed) << fixed;
    }
    // Pad buttons follow the same rules; the pad's Back and Start are a pad's way out.
    EXPECT_EQ(b.BindButton(controls::kLeft, 3, &from), Outcome::LastKey) << "all Choose has";
    EXPECT_EQ(b.BindButton(controls::kChoose, 0, &from), Outcome::Moved);
    EXPECT_EQ(from, controls::kFire);
    EXPECT_EQ(b.BindButton(controls::kFire, 3, &from), Outcome::Moved);
    EXPECT_EQ(from, controls::kChoose);
    for (int fixed : {6, 7}) EXPECT_EQ(b.BindButton(controls::kFire, fixed, &from), Outcome::Fixed);
    // Fire taking (A) back leaves Choose without a pad button: Choose gets its own back.
    b.Clear(controls::kFire);
    EXPECT_EQ(b.Buttons(controls::kFire), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(b.Buttons(controls::kChoose), (std::vector<int>{3}));

    // Cleared, an action has its defaults again, taken back from where they went.
    b.Clear(controls::kUp);
    EXPECT_EQ(b.Keys(controls::kUp), (std::vector<int>{kKeyUp, 'W'}));
    for (int key : b.Keys(controls::kFire)) EXPECT_NE(key, 'W');
    b.ResetAll();
    EXPECT_TRUE(SameTable(b, Bindings()));
}

TEST(Bindings, TheFileKeepsWhatItCanReadAndTheDefaultsForTheRest) {
    std::vector<std::string> problems;
    Bindings b;
    b.Read(Bindings().Write(), &problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_TRUE(SameTable(b, Bindings())) << "the defaults go through the file unchanged";
    b.Read("", &problems);
    EXPECT_TRUE(SameTable(b, Bindings()));

    b.Read("# a comment\n"
           "left = Q, Left, Pad 8, Pad 5\n"
           "fire = Space, Bogus\n"
           "jump = Space\n"
           "up =\n"
           "down = Escape\n"
           "choose = V\n"
           "back = Backspace, Pad 14\n"
           "fire = Space, Pad 6",
           &problems);
    EXPECT_EQ(b.Keys(controls::kLeft), (std::vector<int>{kKeyLeft, 'Q'}));
    EXPECT_EQ(b.Buttons(controls::kLeft), (std::vector<int>{8, 5}));
    EXPECT_EQ(b.Buttons(controls::kChoose), std::vector<int>{});
    EXPECT_EQ(b.Keys(controls::kFire), Bindings().Keys(controls::kFire));
    // Back always keeps Escape and the pad's Back and Start, whatever its line says.
    EXPECT_EQ(b.Keys(controls::kBack), (std::vector<int>{kKeyEscape, kKeyBackspace}));
    EXPECT_EQ(b.Buttons(controls::kBack), (std::vector<int>{6, 7, 14}));
    EXPECT_EQ(b.Keys(controls::kDown), Bindings().Keys(controls::kDown));
    EXPECT_EQ(b.Keys(controls::kChoose), (std::vector<int>{'V'}));
    ASSERT_EQ(problems.size(), 5u);
    EXPECT_EQ(problems[0], "line 3: \"Bogus\" is no key or pad button; fire keeps its defaults");
    EXPECT_EQ(problems[1], "line 4: no action of the game's named before \"=\"");

    Bindings back;
    back.Read(b.Write(), &problems);
    EXPECT_TRUE(SameTable(back, b)) << "what is written is read back the same";
}

}  // namespace

namespace {

// The file beside the state file is read at start: its lines change the keys the rules read,
// and a line it cannot read is said on standard error.
using BindingsFileTest = ShellTest;

TEST_F(BindingsFileTest, TheGameReadsThePlayersFileAtStart) {
    std::ofstream("controls.txt") << "fire = Q, Pad 2\nup = W, Nonsense\n";
    testing::internal::CaptureStderr();
    Start();
    const std::string said = testing::internal::GetCapturedStderr();
    std::remove("controls.txt");
    EXPECT_EQ(said, "quarrox: controls.txt, line 2: \"Nonsense\" is no key or pad button; up "
                    "keeps its defaults\n");
    Press('Q');
    EXPECT_EQ(app->p_PlayKey(c_MyApp::ActionButton1, 0, -1), 1);
    Release('Q');
    Press(kKeySpace);
    EXPECT_EQ(app->p_PlayKey(c_MyApp::ActionButton1, 0, -1), 0) << "Space left fire";
    Press(kKeyUp);
    EXPECT_EQ(app->p_PlayKey(c_MyApp::ActionUp, 0, -1), 1);
}

}  // namespace
