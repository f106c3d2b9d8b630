// Loading a tune: decoding its image, the order of the loading steps, the seeded choices made
// when a tune starts, and tunes that cannot be loaded.
#include <algorithm>

#include "music_test_support.h"

namespace {

int At(int chunk, int voice, int row, int k) { return chunk * 4096 + voice * 512 + row * 8 + k; }

}  // namespace

using TuneLoadingTest = PlayerTest;

TEST_F(TuneLoadingTest, DecodesTheBlueChannelOfFramesZeroToSixtyTwoInGridOrder) {
    struct Case {
        const char* what;
        TuneImage image;
        std::map<int, int> values;  // every other value must be 0
        std::vector<int> lastChunk;
    };
    const Case cases[] = {
        {"the only data: frame 5, column 17, row 0; blue 7, red, green, transparency are none",
         TuneImage().Set(5, 17, 0, 200).Set(40, 0, 0, 7).Set(62, 63, 63, 7)
             .Set(9, 8, 3, 0, 255, 255).Set(20, 24, 5, 255, 0),
         {{At(5, 2, 0, 1), 200 >> 3}},
         {0, 0, 5, 0, 0, 0, 0, 0}},
        {"blue 8 is 1, half alpha halves blue, frame 63 is never read, the highest chunk counts",
         TuneImage().Set(62, 63, 63, 8).Set(3, 9, 1, 255, 128).Set(63, 16, 0, 255)
             .Set(10, 2, 7, 16).Set(4, 0, 0, 248),
         {{At(62, 7, 63, 7), 1}, {At(3, 1, 1, 1), 16}, {At(10, 0, 7, 2), 2}, {At(4, 0, 0, 0), 31}},
         {10, 3, 0, 0, 0, 0, 0, 62}},
        {"RGB, 16 frames wide: frame 17 is the second of the second row of frames",
         TuneImage(1024, 256, 3).Set(17, 40, 2, 99).Set(15, 0, 0, 64),
         {{At(17, 5, 2, 0), 12}, {At(15, 0, 0, 0), 8}},
         {15, 0, 0, 0, 0, 17, 0, 0}},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Load("case" + std::to_string(n++), &c.image);
        for (int i = 0, wrong = 0; i < player->m_notes.Length() && wrong < 5; ++i) {
            auto it = c.values.find(i);
            const int expected = it == c.values.end() ? 0 : it->second;
            if (player->m_notes[i] != expected) ++wrong, ADD_FAILURE() << "m_notes[" << i << "]";
        }
        for (int g = 0; g < 8; ++g) EXPECT_EQ(player->m_lastChunk[g], c.lastChunk[g]) << g;
    }
    EXPECT_EQ(fake_gl::Count("glReadPixels"), 0);
}

TEST_F(TuneLoadingTest, SeventyStepsOverTwentyFourRendersEachEndingInBlack) {
    host.files["travik://data/tunes/Vintage/Tollbridge.png"] =
        TuneImage().Set(0, 36, 0, 8).Set(1, 36, 0, 8).Set(2, 36, 0, 8);
    // A seed whose variants tell the instruments apart.
    model::Player expected;
    int seed = 0;
    for (const int* v = expected.variant;
         v[1] == v[2] || v[3] == v[4] || v[4] == v[5] || v[3] == v[5];) {
        expected.Start(++seed, kCounts);
    }
    player->p_Zu_StartTune(String("Vintage/Tollbridge"), seed, 100);
    for (int i = 1; i <= 5; ++i) EXPECT_EQ(player->m_variant[i], expected.variant[i]) << i;

    std::map<int, std::string> files;  // by step
    auto inst = [](const std::string& name, int v, const std::string& more = "") {
        return "travik://data/inst/" + name + std::to_string(v) + more + ".wav";
    };
    for (int n = 1; n <= 8; ++n) {
        files[1 + n] = inst("d", expected.variant[1], "-" + std::to_string(n));
        files[11 + n] = inst("d", expected.variant[2], "-" + std::to_string(n));
    }
    files[21] = inst("lead", expected.variant[3]);
    files[22] = inst("accompany", expected.variant[4]);
    files[23] = inst("bass", expected.variant[5]);

    for (int frame = 1; frame <= 24; ++frame) {
        SCOPED_TRACE(frame);
        EXPECT_EQ(player->m_tuneLoadStep, frame * 3 - 2);
        std::vector<std::string> wanted;
        for (int s = frame * 3 - 2; s <= frame * 3; ++s) {
            if (files.count(s)) wanted.push_back(files[s]);
        }
        audio->loaded.clear();
        device->BeginRender();
        kx_graphics_BeginRender();
        fake_gl::ClearCalls();
        player->p_Zu_Alive_R();
        const std::vector<fake_gl::Call>& gl = fake_gl::Calls();  // ends in a clear to black
        ASSERT_GE(gl.size(), 2u);
        EXPECT_EQ(gl.back().name, "glClear");
        EXPECT_EQ(gl[gl.size() - 2].name, "glClearColor");
        EXPECT_EQ(gl[gl.size() - 2].args, (std::vector<double>{0, 0, 0, 1}));
        kx_graphics_EndRender();
        device->EndRender();
        EXPECT_EQ(audio->loaded, wanted);
        // One chunk per step from step 5: chunks 0 and 1 in the second frame, 2 in the third.
        EXPECT_EQ(player->m_lastChunk[4], std::min(frame - 1, 2));
        // A tune still loading makes no sound, however overdue its first row.
        Clock(5000);
        player->p_Zu_Alive_U(0, 1);
        EXPECT_EQ(player->m_row, 0);
        EXPECT_TRUE(audio->calls.empty());
    }
    EXPECT_EQ(player->m_tuneLoadStep, 0);
    EXPECT_EQ(host.asked, std::vector<std::string>{"travik://data/tunes/Vintage/Tollbridge.png"});
    EXPECT_EQ(player->m_nextTime, 5100);  // the first row: 100 ms after the last step

    // A tune started while another loads starts over with its own path.
    player->p_Zu_StartTune(String("b"), seed, 100);
    Render();
    player->p_Zu_StartTune(String("c"), seed, 100);
    EXPECT_EQ(player->m_tuneLoadStep, 1);
    Render();
    EXPECT_EQ(host.asked.back(), "travik://data/tunes/c.png");
}

TEST_F(TuneLoadingTest, TheSeedChoosesVariantsChunksMutesAndPassesRepeatably) {
    const int last[5] = {3, 7, 12, 20, 40};
    TuneImage image;
    for (int v = 0; v < 5; ++v) image.Set(last[v], 8 * v + 4, 0, 8);  // a value never played
    Load("t", &image, 11);
    auto expectChoices = [&](const model::Player& m) {
        for (int i = 1; i <= 5; ++i) EXPECT_EQ(player->m_variant[i], m.variant[i]) << i;
        for (int v = 0; v < 5; ++v) {
            EXPECT_EQ(player->m_chunk[v], m.chunk[v]) << v;
            EXPECT_EQ(player->m_muted[v], m.muted[v]) << v;
            EXPECT_EQ(player->m_nextMuted[v], m.nextMuted[v]) << v;
            EXPECT_EQ(player->m_leadIn[v], m.leadIn[v]) << v;
            EXPECT_EQ(player->m_channel[v], 31 - v);
        }
        EXPECT_EQ(player->m_passesLeft, m.passesLeft);
        EXPECT_EQ(std::string(player->m_chords.ToCString().chars()), "qqjj");
        EXPECT_EQ(player->m_section + player->m_row, 0);
        EXPECT_EQ(player->m_state, 2);
    };
    model::Player fresh;  // a new tune: every voice on chunk 0, whatever the seed
    fresh.Start(11, kCounts);
    expectChoices(fresh);
    for (int v = 0; v < 5; ++v) EXPECT_EQ(player->m_lastChunk[v], last[v]);

    // The loaded tune again: chunks from the whole tune, and nothing loaded.
    const size_t samples = audio->loaded.size(), images = host.asked.size();
    int rules = 0, kitBAlone = 0, otherChunks = 0;
    for (int seed = 0; seed < 300; ++seed) {
        SCOPED_TRACE(seed);
        model::Player m;
        std::copy(last, last + 5, m.lastChunk);
        m.Start(seed, kCounts);
        for (int again = 0; again < (seed == 11 ? 2 : 1); ++again) {  // the same seed repeats
            player->p_Zu_StartTune(String("t"), seed, 95);
            expectChoices(m);
        }
        rules += m.bothDrumsDrewMuted;
        kitBAlone += !m.bothDrumsDrewMuted && m.muted[1] == 1;
        otherChunks += m.chunk[0] + m.chunk[4] > 0;
        const int highest[6] = {0, 4, 4, 3, 3, 4};  // inclusive
        for (int i = 1; i <= 5; ++i) {
            ASSERT_TRUE(player->m_variant[i] >= 1 && player->m_variant[i] <= highest[i]) << i;
        }
    }
    EXPECT_TRUE(rules > 0 && kitBAlone > 0 && otherChunks > 0);
    Render();
    EXPECT_EQ(player->m_tuneLoadStep, 0);
    EXPECT_EQ(audio->loaded.size(), samples);
    EXPECT_EQ(host.asked.size(), images);

    player->p_Zu_StartTune(String("u"), 11, 95);  // chunk 0, though 11 picks others for "t"
    for (int v = 0; v < 5; ++v) EXPECT_EQ(player->m_chunk[v], 0) << v;
}

TEST_F(TuneLoadingTest, RandomWholeNumbersCoverTheirRangeInclusively) {
    auto before = [](uint32_t next) {  // the state whose next step is `next`
        uint32_t inverse = 1664525u;
        for (int i = 0; i < 5; ++i) inverse *= 2u - 1664525u * inverse;
        return (next - 1013904223u) * inverse;
    };
    struct Case { uint32_t next; float lo, hi; int result; };
    const Case cases[] = {
        {1013904223u, 0, 1, 0},  // from seed 0: 0.23607
        {0xFFFFFFFFu, 0, 1, 1},  {0xFFFFFFFFu, 1, 4, 4}, {0xFFFFFFFFu, 0, 63, 63},
        {0xFFu, 0, 1, 0},        {0xFFu, 1, 4, 1},       {0xFFu, 5, 5, 5},
    };
    for (const Case& c : cases) {
        kx_random_Seed = before(c.next);
        EXPECT_EQ(player->p_Rand(c.lo, c.hi), c.result) << c.next << " " << c.lo << " " << c.hi;
        EXPECT_EQ(kx_random_Seed, c.next);  // exactly one step
    }
}

TEST_F(TuneLoadingTest, ATuneThatCannotBeLoadedPlaysSilenceInsteadOfTheLastOne) {
    TuneImage loud;  // a drum hit or a note, volume 20, on every row of every voice and chunk
    for (int f = 0; f < 63; ++f) {
        for (int x = 0; x < 40; x += 8) {
            for (int y = 0; y < 64; ++y) loud.Set(f, x, y, 13 << 3).Set(f, x + 1, y, 20 << 3);
        }
    }
    const std::vector<std::vector<int>> sizes = {{}, {512, 448}, {4032, 64}};  // 56, 63 frames
    for (const std::vector<int>& size : sizes) {
        SCOPED_TRACE(size.empty() ? 0 : size[0]);
        Load("loud", &loud);
        for (int i = 0; i < 3; ++i) Step();
        ASSERT_GT(audio->Count("play"), 0);
        host.files.erase("travik://data/tunes/quiet.png");
        if (!size.empty()) host.files["travik://data/tunes/quiet.png"] = TuneImage(size[0], size[1]);
        Load("quiet", nullptr);
        EXPECT_EQ(player->m_tuneImage, nullptr);
        for (int g = 0; g < 8; ++g) EXPECT_EQ(player->m_lastChunk[g], 0);
        EXPECT_EQ(std::count(player->m_notes.Data(), player->m_notes.Data() + 262145, 0), 262145);
        audio->calls.clear();
        for (int i = 0; i < 300; ++i) Step();
        EXPECT_EQ(audio->Count("play") + audio->Count("rate") + audio->Count("pan"), 0);
    }
}
