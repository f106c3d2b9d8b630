#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdint>

#include "app_under_test.h"

namespace {

const int BadgeStart = 26;
const int BadgeSumPiece = 34;
const int ListStart = 35;    // list block t starts at ListStart + 21 t
const int StatePieces = 99;  // the last one empty
const char* const AllLoaded =
    "Settings Loaded\nBadges Loaded\nHighscore 0 Loaded\nHighscore 1 Loaded\nHighscore 2 Loaded\n";

std::string Zeros(int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += "0|";
    return text;
}

int TopOf(int t, int r) { return 10 * t + r; }
int LastOf(int t, int r) { return 30 + 10 * t + r; }

// Something in every block: settings the limits leave alone, scattered badges, and lists
// whose checksums overflow 32 bits.
void FillEverything(c_MyApp* app) {
    for (int i = 0; i < c_MyApp::SettingCount; ++i) app->m_settings[i] = 100 + 7 * i;
    app->m_settings[c_MyApp::SoundModeSetting] = 2;
    app->m_settings[c_MyApp::OverscanSetting] = 1;
    app->m_settings[3] = -40;
    for (int b : {0, 31, 32, 100, 255}) app->m_badges[b] = true;
    for (int i = 0; i < 60; ++i) app->m_scores[i] = i * 1000003 - 7;
    app->m_scores[TopOf(2, 0)] = INT_MAX;
    app->m_scores[LastOf(2, 9)] = INT_MIN;
}

using SavedState = AppTest;

TEST_F(SavedState, DefaultsAndSingleBadgesMakeTheKnownText) {
    app->p_Save();
    std::string expected = "0|0|0|0|0|1|" + Zeros(19) + "5|" + Zeros(9);
    for (int t = 0; t < 3; ++t) expected += Zeros(21);
    EXPECT_EQ(StateFile(), expected);

    app->m_badges[31] = true;
    app->p_Save();
    std::vector<std::string> pieces = Pieces(StateFile());
    EXPECT_EQ(pieces[BadgeStart], "-2147483648");
    EXPECT_EQ(pieces[BadgeSumPiece], "-2147483648");
    EXPECT_EQ(pieces.size(), size_t(StatePieces));
}

TEST_F(SavedState, SaveThenLoadRestoresEveryBlockAndSaysSo) {
    FillEverything(app);
    app->p_Save();
    std::string saved = StateFile();

    c_MyApp* loaded = NewApp();
    EXPECT_EQ(LoadPrints(loaded), AllLoaded);
    for (int i = 0; i < c_MyApp::SettingCount; ++i) {
        EXPECT_EQ(loaded->m_settings[i], app->m_settings[i]) << i;
    }
    for (int i = 0; i < c_MyApp::BadgeCount; ++i) EXPECT_EQ(loaded->m_badges[i], app->m_badges[i]);
    for (int i = 0; i < 60; ++i) EXPECT_EQ(loaded->m_scores[i], app->m_scores[i]) << i;
    loaded->p_Save();
    EXPECT_EQ(StateFile(), saved);
}

TEST_F(SavedState, ABrokenBlockResetsOnlyItself) {
    FillEverything(app);
    app->p_Save();
    std::vector<std::string> pieces = Pieces(StateFile());

    std::vector<std::string> edited = pieces;
    edited[ListStart + 21 + 4] = "999999";  // a score of game type 2
    WriteStateFile(Join(edited));
    c_MyApp* loaded = NewApp();
    EXPECT_EQ(LoadPrints(loaded),
              "Settings Loaded\nBadges Loaded\nHighscore 0 Loaded\nHighscore 1 Checksum Invalid\n"
              "Highscore 2 Loaded\n");
    for (int r = 0; r < 10; ++r) {
        EXPECT_EQ(loaded->m_scores[TopOf(1, r)], 0);
        EXPECT_EQ(loaded->m_scores[LastOf(1, r)], 0);
        EXPECT_EQ(loaded->m_scores[TopOf(0, r)], app->m_scores[TopOf(0, r)]);
        EXPECT_EQ(loaded->m_scores[LastOf(2, r)], app->m_scores[LastOf(2, r)]);
    }
    EXPECT_EQ(loaded->m_settings[7], app->m_settings[7]);
    EXPECT_TRUE(loaded->m_badges[100]);

    // Broken settings fall back to the defaults and the limits; broken badges are all
    // cleared, even those held before the load.
    edited = pieces;
    edited[7] = "8";
    edited[BadgeStart + 3] = "4";
    WriteStateFile(Join(edited));
    loaded = NewApp();
    loaded->m_badges[7] = true;
    EXPECT_EQ(LoadPrints(loaded),
              "Settings Checksum Invalid\nBadge Checksum Invalid\nHighscore 0 Loaded\n"
              "Highscore 1 Loaded\nHighscore 2 Loaded\n");
    for (int i = 0; i < c_MyApp::SettingCount; ++i) {
        int expected = i == 5 ? 1 : i == 10 || i == 11 ? 64 : i == 12 ? 10 : i == 14 ? 1 : 0;
        EXPECT_EQ(loaded->m_settings[i], expected) << i;
    }
    for (int i = 0; i < c_MyApp::BadgeCount; ++i) EXPECT_FALSE(loaded->m_badges[i]) << i;
}

TEST_F(SavedState, LimitsApplyAndOnlyCompleteBlocksAreRead) {
    // No state file: nothing printed, the defaults pass through the limits.
    c_MyApp* loaded = NewApp();
    loaded->m_settings[12] = 8;
    loaded->m_settings[14] = 30;
    kx_Sprocklet_overscan = 12;
    EXPECT_EQ(LoadPrints(loaded), "");
    EXPECT_EQ(loaded->m_settings[10], 64);
    EXPECT_EQ(loaded->m_settings[11], 64);
    EXPECT_EQ(loaded->m_settings[12], 8);
    EXPECT_EQ(loaded->m_settings[14], 1) << "no overscan margin on the desktop";
    EXPECT_EQ(kx_Sprocklet_overscan, 0);

    // The console keeps a saved margin and gets 64 for none.
    kx_Sprocklet_isOuya = 1;
    app->m_settings[14] = 30;
    app->p_Save();
    LoadPrints(loaded = NewApp());
    EXPECT_EQ(kx_Sprocklet_overscan, 30);
    WriteStateFile("");
    LoadPrints(loaded = NewApp());
    EXPECT_EQ(loaded->m_settings[14], 64);
    EXPECT_EQ(kx_Sprocklet_overscan, 64);
    kx_Sprocklet_isOuya = 0;

    // Cut inside the second list block: what comes before loads, the rest is left alone.
    FillEverything(app);
    app->p_Save();
    std::vector<std::string> pieces = Pieces(StateFile());
    pieces.resize(ListStart + 21 + 20);
    WriteStateFile(Join(pieces));
    loaded = NewApp();
    loaded->m_scores[TopOf(1, 0)] = 77;
    EXPECT_EQ(LoadPrints(loaded), "Settings Loaded\nBadges Loaded\nHighscore 0 Loaded\n");
    EXPECT_EQ(loaded->m_scores[TopOf(0, 3)], app->m_scores[TopOf(0, 3)]);
    EXPECT_EQ(loaded->m_scores[TopOf(1, 0)], 77);
}

TEST_F(SavedState, PiecesReadLikeNumbersAndSaturateBeyond32Bits) {
    // Settings pieces as a hand or another tool may have written them, and what each reads as.
    // Settings 10 to 12 and 14 are left out: the limits change them after the checksum.
    const struct {
        int setting;
        std::string text;
        int value;
    } cases[] = {
        {1, "4294967297", INT_MAX},
        {2, "-99999999999999999999999999999", INT_MIN},
        {3, "  -5apples", -5},
        {4, "seven", 0},
        {5, "1", 1},
        {6, "+7", 7},
        {7, "\t\n 8", 8},
        {8, std::string(62, ' ') + "9", 9},  // the 63rd character is still read
        {9, std::string(63, ' ') + "9", 0},  // the 64th is not
        {13, "0x1F", 0},
        {15, "12 34", 12},
        {16, "--3", 0},
        {17, "1e5", 1},
        {18, "-0", 0},
        {19, "2147483647", INT_MAX},
        {20, "-2147483648", INT_MIN},
    };
    std::vector<std::string> pieces(StatePieces, "0");
    uint32_t sum = 0;  // the checksum of the values read, wrapped to 32 bits
    for (const auto& c : cases) {
        pieces[c.setting] = c.text;
        sum += uint32_t(c.setting) * uint32_t(c.value);
    }
    pieces[14] = "1";
    sum += 14;
    pieces[25] = std::to_string(static_cast<int32_t>(sum));
    pieces[BadgeStart] = "123456789012";  // bits 0 to 30
    pieces[BadgeSumPiece] = std::to_string(INT_MAX);
    pieces.back() = "";
    WriteStateFile(Join(pieces));

    c_MyApp* loaded = NewApp();
    EXPECT_EQ(LoadPrints(loaded), AllLoaded);
    for (const auto& c : cases) EXPECT_EQ(loaded->m_settings[c.setting], c.value) << c.text;
    for (int k = 0; k < 32; ++k) EXPECT_EQ(loaded->m_badges[k], k < 31) << k;
}

TEST_F(SavedState, AFinishedGameEntersItsListsAndIsSaved) {
    app->m_gameType = 3;
    for (int r = 0; r < 10; ++r) app->m_scores[TopOf(2, r)] = 100 - 10 * r;  // 100 .. 10
    for (int r = 0; r < 10; ++r) app->m_scores[LastOf(2, r)] = r + 1;

    app->m_score = 90;  // equal to an entry: below it, and the last entry drops out
    app->p_LoadMenu();
    app->m_score = 5;  // below all ten: the Last list only
    app->p_LoadMenu();
    int top[10] = {100, 90, 90, 80, 70, 60, 50, 40, 30, 20};
    int last[10] = {5, 90, 1, 2, 3, 4, 5, 6, 7, 8};
    for (int r = 0; r < 10; ++r) {
        EXPECT_EQ(app->m_scores[TopOf(2, r)], top[r]) << r;
        EXPECT_EQ(app->m_scores[LastOf(2, r)], last[r]) << r;
        EXPECT_EQ(app->m_scores[TopOf(0, r)], 0);
    }
    EXPECT_EQ(Pieces(StateFile())[ListStart + 42 + 1], "5") << "saved at once";

    // A game type without lists changes none of them (nor anything near them), but saves.
    std::remove(".travikstate");
    for (int gameType : {0, 4, -7}) {
        app->m_gameType = gameType;
        app->m_score = 1000;
        app->p_LoadMenu();
    }
    for (int i = 0; i < c_MyApp::ScoreEntries; ++i) EXPECT_NE(app->m_scores[i], 1000) << i;
    EXPECT_EQ(Pieces(StateFile()).size(), size_t(StatePieces));
}

TEST_F(SavedState, AFailedSaveIsReportedAndTheGamePlaysOn) {
    // A folder where the state file belongs: no save can succeed, whoever runs the test.
    ASSERT_EQ(mkdir(".travikstate", 0755), 0);
    app->m_gameType = 1;
    app->m_score = 50;
    testing::internal::CaptureStderr();
    app->p_LoadMenu();
    std::string reported = testing::internal::GetCapturedStderr();
    EXPECT_EQ(reported.rfind("quarrox: cannot save ./.travikstate: ", 0), 0u) << reported;
    EXPECT_EQ(app->m_scores[TopOf(0, 0)], 50) << "the game keeps what it holds";

    ASSERT_EQ(rmdir(".travikstate"), 0);
    app->p_Save();
    EXPECT_EQ(Pieces(StateFile())[ListStart], "50") << "the next save keeps it";
}

}  // namespace
