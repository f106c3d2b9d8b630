// Loading a tune: decoding its image or failing to, the order of the loading steps, and the
// seeded choices made when a tune starts and at each new section.
#include <algorithm>
#include <set>

#include "music_test_support.h"

namespace {

int At(int chunk, int voice, int row, int k) { return chunk * 4096 + voice * 512 + row * 8 + k; }

class TuneLoadingTest : public PlayerTest {
protected:
    // The choices a start or a section made, as the model made them.
    void ExpectChoices(const model::Player& m) {
        for (int i = 1; i <= 5; ++i) EXPECT_EQ(player->m_variant[i], m.variant[i]) << i;
        for (int v = 0; v < 5; ++v) {
            EXPECT_EQ(player->m_chunk[v], m.chunk[v]) << v;
            EXPECT_EQ(player->m_muted[v], m.muted[v]) << v;
            EXPECT_EQ(player->m_nextMuted[v], m.nextMuted[v]) << v;
            EXPECT_EQ(player->m_leadIn[v], m.leadIn[v]) << v;
        }
        EXPECT_EQ(player->m_passesLeft, m.passesLeft);
        EXPECT_EQ(player->m_section, m.section);
        EXPECT_EQ(std::string(player->m_chords.ToCString().chars()), m.chords);
    }
};

// A tune that cannot be loaded, missing or too small for 64 frames, plays silence rather than
// the tune before it.
TEST_F(TuneLoadingTest, DecodesTheBlueChannelOfFramesZeroToSixtyTwoInGridOrderOrNothing) {
    struct Case {
        const char* what;
        TuneImage image;
        std::map<int, int> values;  // the values that are not 0
        std::vector<int> lastChunk;
    };
    const std::vector<int> none(8, 0);
    const Case cases[] = {
        {"the only data: frame 5, column 17, row 0; blue 7, red, green, transparency are none",
         TuneImage().Set(5, 17, 0, 200).Set(40, 0, 0, 7).Set(62, 63, 63, 7)
             .Set(9, 8, 3, 0, 255, 255).Set(20, 24, 5, 255, 0),
         {{At(5, 2, 0, 1), 200 >> 3}},
         {0, 0, 5, 0, 0, 0, 0, 0}},
        {"a missing file", TuneImage(0, 0), {}, none},
        {"blue 8 is 1, half alpha halves blue, frame 63 is never read, the highest chunk counts",
         TuneImage().Set(62, 63, 63, 8).Set(3, 9, 1, 255, 128).Set(63, 16, 0, 255)
             .Set(10, 2, 7, 16).Set(4, 0, 0, 248).Set(0, 1, 0, 40),
         {{At(62, 7, 63, 7), 1}, {At(3, 1, 1, 1), 16}, {At(10, 0, 7, 2), 2}, {At(4, 0, 0, 0), 31},
          {At(0, 0, 0, 1), 5}},
         {10, 3, 0, 0, 0, 0, 0, 62}},
        {"56 frames", TuneImage(512, 448), {}, none},
        {"RGB, 16 frames wide: frame 17 is the second of the second row of frames",
         TuneImage(1024, 256, 3).Set(17, 40, 2, 99).Set(15, 0, 0, 64),
         {{At(17, 5, 2, 0), 12}, {At(15, 0, 0, 0), 8}},
         {15, 0, 0, 0, 0, 17, 0, 0}},
        {"63 frames", TuneImage(4032, 64), {}, none},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Load("case" + std::to_string(n++), c.image.width ? &c.image : nullptr);
        std::map<int, int> values;
        for (int i = 0; i < player->m_notes.Length(); ++i) {
            if (player->m_notes[i]) values[i] = player->m_notes[i];
        }
        EXPECT_EQ(values, c.values);
        EXPECT_EQ(std::vector<int>(player->m_lastChunk.Data(), player->m_lastChunk.Data() + 8),
                  c.lastChunk);
    }
    EXPECT_EQ(fake_gl::Count("glReadPixels"), 0);
}

TEST_F(TuneLoadingTest, SeventyStepsOverTwentyFourRendersEachEndingInBlack) {
    host.files["travik://data/tunes/Vintage/Tollbridge.png"] =
        TuneImage().Set(0, 36, 0, 8).Set(1, 36, 0, 8).Set(2, 36, 0, 8);
    model::Player m(1);  // a seed whose variants tell the instruments apart
    for (const int* v = m.variant; v[1] == v[2] || v[3] == v[4] || v[3] == v[5] || v[4] == v[5];) {
        m = model::Player(m.seed + 1);  // v still points into m
    }
    player->p_Zu_StartTune(String("Vintage/Tollbridge"), m.seed, 100);
    std::map<int, std::string> files;  // by step
    auto inst = [](const std::string& name, int v, const std::string& more = "") {
        return "travik://data/inst/" + name + std::to_string(v) + more + ".wav";
    };
    for (int n = 1; n <= 8; ++n) {
        files[1 + n] = inst("d", m.variant[1], "-" + std::to_string(n));
        files[11 + n] = inst("d", m.variant[2], "-" + std::to_string(n));
    }
    files[21] = inst("lead", m.variant[3]);
    files[22] = inst("accompany", m.variant[4]);
    files[23] = inst("bass", m.variant[5]);

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
        EXPECT_EQ(gl.end()[-2].name + " " + gl.back().name, "glClearColor glClear");
        EXPECT_EQ(gl.end()[-2].args, (std::vector<double>{0, 0, 0, 1}));
        kx_graphics_EndRender();
        device->EndRender();
        EXPECT_EQ(audio->loaded, wanted);
        // One chunk per step from step 5: chunks 0 and 1 in the second frame, 2 in the third.
        EXPECT_EQ(player->m_lastChunk[4], std::min(frame - 1, 2));
        // A tune still loading makes no sound, however overdue its first row.
        Clock(5000);
        player->p_Zu_Alive_U(0, 1);
        EXPECT_EQ(player->m_row, 0);
    }
    EXPECT_EQ(player->m_tuneLoadStep, 0);
    EXPECT_EQ(host.asked, std::vector<std::string>{"travik://data/tunes/Vintage/Tollbridge.png"});
    EXPECT_EQ(player->m_nextTime, 5100);  // the first row: 100 ms after the last step

    // A tune started while another loads starts over with its own path.
    player->p_Zu_StartTune(String("b"), 1, 100);
    Render();
    Load("c", nullptr);
    EXPECT_EQ(host.asked.back(), "travik://data/tunes/c.png");
}

TEST_F(TuneLoadingTest, TheSeedChoosesVariantsChunksAndMutesRepeatablyAtTheStartAndEachSection) {
    const int last[5] = {3, 7, 12, 20, 40};
    TuneImage image;
    for (int v = 0; v < 5; ++v) image.Set(last[v], 8 * v + 4, 0, 8);  // a value never played
    Load("t", &image, 11);
    for (int v = 0; v < 5; ++v) EXPECT_EQ(player->m_channel[v], 31 - v);

    // The loaded tune again: chunks from the whole tune, and nothing loaded.
    const size_t samples = audio->loaded.size(), images = host.asked.size();
    int kitARescued = 0, kitBAlone = 0, otherChunks = 0;
    std::set<int> kits;
    for (int seed = 0; seed < 300; ++seed) {
        SCOPED_TRACE(seed);
        const model::Player m(seed, last);
        for (int again = 0; again < (seed == 11 ? 2 : 1); ++again) {  // the same seed repeats
            player->p_Zu_StartTune(String("t"), seed, 95);
            ExpectChoices(m);
        }
        kitARescued += m.bothDrumsDrewMuted;
        kitBAlone += !m.bothDrumsDrewMuted && m.muted[1] == 1;
        otherChunks += m.chunk[0] + m.chunk[4] > 0;
        kits.insert({player->m_variant[1], player->m_variant[2]});
    }
    EXPECT_TRUE(kitARescued > 0 && kitBAlone > 0 && otherChunks > 0);
    EXPECT_EQ(kits, (std::set<int>{1, 2, 3, 4}));
    Render();
    EXPECT_EQ(audio->loaded.size(), samples);
    EXPECT_EQ(host.asked.size(), images);

    // Passes and sections: sections of 2 and of 4 passes, one in which both drums draw muted.
    player->p_Zu_StartTune(String("t"), 11, 100);
    model::Player m(11, last);
    bool two = false, four = false, rescued = false;
    for (int pass = 0; pass < 40; ++pass) {
        SCOPED_TRACE(pass);
        Step();
        EXPECT_EQ(player->m_chordPitch, player->p_GetPitch_Alpha(m.chords[0]));
        for (int row = 1; row < 64; ++row) Step();
        if (m.EndOfPass()) {
            two |= m.passesLeft == 2, four |= m.passesLeft == 4, rescued |= m.bothDrumsDrewMuted;
        }
        ExpectChoices(m);
    }
    EXPECT_TRUE(two && four && rescued);

    // A new tune: every voice on chunk 0, though 11 picks others for "t".
    player->p_Zu_StartTune(String("u"), 11, 95);
    ExpectChoices(model::Player(11));
}

}  // namespace
