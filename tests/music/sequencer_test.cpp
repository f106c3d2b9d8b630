// Playing a tune: row timing, drum and melodic notes, volumes and their decay, slides, the
// markers in the note table, passes, chords and sections, lead-ins and stopping.
#include <algorithm>

#include "music_test_support.h"

namespace {

std::string Text(const String& s) { return s.ToCString().chars(); }

void ExpectNear(const std::vector<float>& actual, const std::vector<float>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) EXPECT_NEAR(actual[i], expected[i], 1e-5) << i;
}

}  // namespace

// A loaded, silent tune at tempo 100, every voice playing, in the first of four passes. Every
// envelope starts where a note leaves it, so idle voices do not fade during a test.
class SequencerTest : public PlayerTest {
protected:
    void SetUp() override {
        PlayerTest::SetUp();
        static const TuneImage blank;
        Load("t", &blank);
        for (int v = 0; v < 5; ++v) {
            player->m_muted[v] = player->m_nextMuted[v] = player->m_leadIn[v] = 0;
            player->m_envelope[v] = 1.5f;
        }
        player->m_passesLeft = 4;
        audio->calls.clear();
    }
    int RowAfterUpdate(int ms, int paused = 0, int musicOn = 1) {
        Clock(ms);
        player->p_Zu_Alive_U(paused, musicOn);
        return player->m_row;
    }
    // One row of one voice; what it asked of the audio device.
    std::string Play(int voice, int note, int volume = 0, int effect = 0, int parameter = 0) {
        player->p_Zu_PlayNote(voice, note, volume, effect, parameter);
        return audio->Log();
    }
};

TEST_F(SequencerTest, RowsFallDueOnTheirScheduleOneAtATime) {
    EXPECT_EQ(player->m_nextTime, 100);
    EXPECT_EQ(RowAfterUpdate(100), 0);  // due only after the scheduled millisecond
    EXPECT_EQ(RowAfterUpdate(101), 1);
    EXPECT_EQ(player->m_nextTime, 180);
    // Late: one row per update, each 80 ms after the previous due time rather than after now.
    for (int next : {260, 340, 420, 420}) {
        RowAfterUpdate(400);
        EXPECT_EQ(player->m_nextTime, next);
    }
    player->m_nextTime = 400 + 123456;
    EXPECT_EQ(RowAfterUpdate(400), 4);
    player->m_nextTime = 400 + 123457;  // too far ahead to be real: due at once
    EXPECT_EQ(RowAfterUpdate(400), 5);

    // 8000 / tempo ms per row, truncated at each row; a tempo below 1 counts as 1.
    const int tempos[][2] = {{100, 80}, {95, 84}, {1, 8000}, {0, 8000}, {-7, 8000}};
    for (const auto& t : tempos) {
        player->p_Zu_StartTune(String("t"), 1, t[0]);
        EXPECT_EQ(player->m_nextTime, Now() + 100);
        const int first = player->m_nextTime;
        for (int i = 0; i < 10; ++i) Step();
        EXPECT_EQ(player->m_nextTime, first + 10 * t[1]) << t[0];
        EXPECT_EQ(player->m_row, 10);
    }
}

TEST_F(SequencerTest, PauseAndMusicOffSilenceTheVoicesAndResumeWithoutABurst) {
    SetRow(0, 2, 0, 13);
    Step();
    ASSERT_EQ(player->m_sounding[2], 1);
    audio->calls.clear();
    int t = Now();
    for (int i = 0; i < 625; ++i) RowAfterUpdate(t += 16, 1);  // ten seconds paused
    EXPECT_EQ(audio->Log(), "stop 29");
    EXPECT_EQ(player->m_nextTime, t + 150);
    std::vector<int> rows;
    for (int at : {150, 151, 167, 183, 199, 215, 231}) rows.push_back(RowAfterUpdate(t + at));
    EXPECT_EQ(rows, (std::vector<int>{1, 2, 2, 2, 2, 2, 3}));
    player->m_sounding[3] = 1;
    EXPECT_EQ(RowAfterUpdate(t + 2000, 0, 0), 3);  // music switched off
    EXPECT_EQ(audio->Log(), "stop 28");
}

TEST_F(SequencerTest, DrumNotesHitTheirKitsSamplePannedAndLeaveTheChannelRate) {
    const int drums[] = {13, 15, 17, 18, 20, 22, 24, 25};  // samples 1 to 8
    for (int note = 1; note <= 31; ++note) {
        const int n = int(std::find(drums, drums + 8, note) - drums) + 1;
        if (n > 8) {
            EXPECT_EQ(Play(0, note), "stop 31") << note;  // a drum note without a drum
            continue;
        }
        EXPECT_EQ(Play(0, note), "stop 31|play 31 0|pan 31 -0.35");
        EXPECT_EQ(audio->played, player->m_kitA[n]->m_sample) << note;
    }
    EXPECT_EQ(Play(1, 25), "stop 30|play 30 0|pan 30 0.35");
    EXPECT_EQ(audio->played, player->m_kitB[8]->m_sample);
    EXPECT_EQ(player->m_sounding[0] + player->m_sounding[1], 2);

    // A slide retunes the drum channel; the next hit resets the voice's rate, not the channel's.
    EXPECT_EQ(Play(0, 0, 0, 3, 15), "rate 31 2");
    player->m_envelope[0] = 0;
    EXPECT_EQ(Play(0, 14), "stop 31");
    EXPECT_EQ(player->m_rate[0], 1.0f);
    EXPECT_EQ(player->m_envelope[0], float(4.0 - 0.1));  // 4, then this row's decay

    gc_assign(player->m_kitB[2], static_cast<c_Sound*>(nullptr));  // a sample that did not load
    player->m_sounding[1] = 0;
    EXPECT_EQ(Play(1, 15), "stop 30");
    EXPECT_EQ(player->m_sounding[1], 0);
    player->m_muted[0] = 1;
    EXPECT_EQ(Play(0, 13), "");
    player->m_muted[0] = 0;
    EXPECT_EQ(Play(0, 0), "");
}

TEST_F(SequencerTest, VolumesScaleByTheMusicVolumeAndFadeCompoundingBelowEnvelopeOne) {
    const float volumes[][2] = {{1, 0}, {16, 15 / 29.0f * 0.5f}, {30, 0.5f}, {31, 0}};
    for (const auto& c : volumes) {
        player->p_Zu_PlayNote(2, 0, int(c[0]), 0, 0);
        ExpectNear(audio->Values("volume", 29), {c[1]});
        EXPECT_EQ(player->m_envelope[2], float(1.5 - 0.1)) << c[0];
        audio->calls.clear();
    }
    EXPECT_EQ(Play(2, 13, 31), "volume 29 0|stop 29|rate 29 1|play 29 1");
    EXPECT_EQ(player->m_envelope[2], 1.5f);  // where a note leaves it
    player->m_volume = 0.8f;
    player->m_muted[3] = 1;
    EXPECT_EQ(Play(3, 0, 30), "");
    player->m_muted[3] = 0;
    EXPECT_EQ(Play(3, 0, 30), "volume 28 0.8");

    // From 1.5 the fifth row is the first below 1, and each row multiplies what the last left.
    player->m_volume = 0.5f;
    player->p_Zu_PlayNote(2, 0, 30, 0, 0);
    for (int row = 2; row <= 17; ++row) player->p_Zu_PlayNote(2, 0, 0, 0, 0);
    std::vector<float> fade = {0.5f};
    for (float product = 1, e = 1; fade.size() < 14; e = std::max(e - 0.1f, 0.0f)) {
        fade.push_back(0.5f * (product *= e));
    }
    ExpectNear(audio->Values("volume", 29), fade);
    EXPECT_EQ(player->m_envelope[2], 0);  // never below

    // From a drum's 4.0 the 31st row is the first below 1.
    int row = 1;
    for (Play(0, 14); row < 40 && audio->Values("volume", 31).empty(); ++row) {
        player->p_Zu_PlayNote(0, 0, 0, 0, 0);
    }
    EXPECT_EQ(row, 31);
}

TEST_F(SequencerTest, MelodicNotesPlayAtTheirPitchInTheChordAndSlidesAccumulateWithinLimits) {
    EXPECT_EQ(Play(2, 20), "stop 29|rate 29 1.498|play 29 1");
    EXPECT_EQ(audio->played, player->m_instSound[2]->m_sample);
    EXPECT_EQ(player->m_envelope[2], 1.5f);
    EXPECT_EQ(player->m_sounding[2], 1);
    player->m_chords = String("jqq");
    player->m_instFlags = 0;
    EXPECT_EQ(Play(3, 13), "stop 28|rate 28 0.891|play 28 0");
    player->m_chords = String();
    gc_assign(player->m_instSound[4], static_cast<c_Sound*>(nullptr));
    EXPECT_EQ(Play(4, 25), "stop 27|rate 27 2");
    EXPECT_EQ(player->m_sounding[4], 0);

    struct Slide { int note, effect, parameter; std::vector<float> rates; };
    const Slide slides[] = {
        {13, 3, 31, {1 + 31 / 15.0f, 4, 4}}, {13, 4, 31, {0.25f, 0.25f, 0.25f}},
        {13, 1, 18, {1.1f, 1.2f, 1.3f}},     {13, 2, 18, {0.9f, 0.8f, 0.7f}},
        {25, 4, 15, {1, 0.25f, 0.25f}},      {13, 5, 31, {}},
    };
    for (const Slide& s : slides) {
        Play(2, s.note);
        for (int row = 0; row < 3; ++row) player->p_Zu_PlayNote(2, 0, 0, s.effect, s.parameter);
        ExpectNear(audio->Values("rate", 29), s.rates);
        audio->calls.clear();
    }
    player->m_muted[2] = 1;
    EXPECT_EQ(Play(2, 0, 0, 3, 31), "");
}

TEST_F(SequencerTest, EffectEightEndsThePassForEveryVoice) {
    SetRow(0, 0, 10, 13);
    SetRow(0, 2, 10, 0, 0, 8);
    SetRow(0, 3, 10, 20);
    SetRow(0, 3, 63, 13, 30);
    SetRow(0, 4, 0, 25);
    player->m_row = 10;
    Step();
    EXPECT_EQ(audio->Values("play", 31).size(), 1u);  // before the marker: row 10
    EXPECT_EQ(audio->Values("rate", 28), std::vector<float>{1});  // after it: row 63
    EXPECT_EQ(audio->Values("volume", 28), std::vector<float>{0.5f});
    EXPECT_EQ(player->m_row, 0);
    EXPECT_EQ(player->m_passesLeft, 3);
    Step();
    EXPECT_EQ(audio->Values("rate", 27), std::vector<float>{2});
}

TEST_F(SequencerTest, ChunkSwitchMarkersMoveAVoiceForGoodAndNeverOutOfTheTune) {
    struct Case { int passesLeft, from, parameter, to; };
    const Case cases[] = {{3, 2, 1, 3}, {1, 2, 1, 3}, {4, 2, 1, 2}, {4, 2, 2, 1},
                          {2, 2, 2, 1}, {3, 2, 2, 2}, {4, 0, 2, 0}, {3, 63, 1, 63}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.passesLeft) + std::to_string(c.parameter) + " from " +
                     std::to_string(c.from));
        std::fill(player->m_notes.Data(), player->m_notes.Data() + player->m_notes.Length(), 0);
        for (int chunk = std::max(c.from - 1, 0); chunk <= std::min(c.from + 1, 63); ++chunk) {
            // The row a switch reaches holds a marker too: it is not followed.
            SetRow(chunk, 2, 20, 1 + chunk % 31, 0, 27, c.parameter);
            SetRow(chunk, 2, 21, 10 + chunk % 20);
        }
        player->m_chunk[2] = c.from;
        player->m_row = 20;
        player->m_passesLeft = c.passesLeft;
        audio->calls.clear();
        Step();
        Step();
        EXPECT_EQ(player->m_chunk[2], c.to);
        EXPECT_EQ(audio->Values("rate", 29), (std::vector<float>{player->p_GetPitch(1 + c.to % 31),
                                                                 player->p_GetPitch(10 + c.to % 20)}));
    }
}

TEST_F(SequencerTest, PassesTurnTheChordsAndSectionsDrawNewChunksAndMutes) {
    const int last[5] = {3, 7, 12, 20, 40}, passes = 14;
    TuneImage image;
    for (int v = 0; v < 5; ++v) image.Set(last[v], 8 * v + 4, 0, 8);  // a value never played
    auto startModel = [&](int seed) {
        model::Player m;
        std::copy(last, last + 5, m.lastChunk);
        m.Start(seed, kCounts);
        return m;
    };
    // A seed with sections of 2 and of 4 passes, and one in which both drums draw muted.
    int seed = 0;
    for (int s = 1; s < 1000 && !seed; ++s) {
        model::Player m = startModel(s);
        bool two = false, four = false, bothMuted = false;
        for (int p = 0; p < passes; ++p) {
            if (!m.EndOfPass()) continue;
            two |= m.passesLeft == 2, four |= m.passesLeft == 4, bothMuted |= m.bothDrumsDrewMuted;
        }
        if (two && four && bothMuted) seed = s;
    }
    ASSERT_NE(seed, 0);
    Load("s", &image, seed);
    player->p_Zu_StartTune(String("s"), seed, 100);
    model::Player m = startModel(seed);
    const float firstChords[] = {1, 1, 0.891f, 0.891f};  // q, q, j, j
    for (int pass = 0; pass < passes; ++pass) {
        SCOPED_TRACE(pass);
        Step();
        EXPECT_EQ(player->m_chordPitch, pass < 4 ? firstChords[pass]
                                                 : player->p_GetPitch_Alpha(m.chords[0]));
        for (int row = 1; row < 64; ++row) Step();
        m.EndOfPass();
        EXPECT_EQ(player->m_passesLeft, m.passesLeft);
        EXPECT_EQ(player->m_section, m.section);
        EXPECT_EQ(Text(player->m_chords), m.chords);
        for (int v = 0; v < 5; ++v) {
            EXPECT_EQ(player->m_chunk[v], m.chunk[v]) << v;
            EXPECT_EQ(player->m_muted[v], m.muted[v]) << v;
            EXPECT_EQ(player->m_nextMuted[v], m.nextMuted[v]) << v;
            EXPECT_EQ(player->m_leadIn[v], m.leadIn[v]) << v;
        }
    }
}

TEST_F(SequencerTest, AMutedVoiceMayLeadInOverTheLastEightRowsBeforeItPlays) {
    struct Case { int passesLeft, row, leadIn, nextMuted, plays; };
    const Case cases[] = {{1, 56, 1, 0, 1}, {1, 63, 1, 0, 1}, {1, 55, 1, 0, 0},
                          {2, 60, 1, 0, 0}, {1, 60, 0, 0, 0}, {1, 60, 1, 1, 0}};
    player->m_muted[2] = 1;
    for (const Case& c : cases) {
        player->m_passesLeft = c.passesLeft;
        player->m_row = c.row;
        player->m_leadIn[2] = c.leadIn;
        player->m_nextMuted[2] = c.nextMuted;
        player->p_Zu_PlayNote(2, 13, 0, 0, 0);
        EXPECT_EQ(audio->Count("play"), c.plays)
            << c.passesLeft << " " << c.row << " " << c.leadIn << " " << c.nextMuted;
        audio->calls.clear();
    }
}

TEST_F(SequencerTest, StopSilencesTheSoundingVoicesAndHaltsTheTune) {
    for (int halt : {0, 1}) {
        Play(0, 13);
        Play(2, 13);
        player->p_Zu_Stop(halt);
        EXPECT_EQ(audio->Log(), "stop 31|stop 29");
        EXPECT_EQ(player->m_state, halt ? 0 : 2);
        for (int v = 0; v < 5; ++v) EXPECT_EQ(player->m_sounding[v], 0);
    }
    const int row = player->m_row;
    Step();
    EXPECT_EQ(player->m_row, row);
    EXPECT_EQ(audio->Log(), "");
    player->m_sounding[3] = 1;  // a stopped tune silences whatever still sounds
    Step();
    EXPECT_EQ(audio->Log(), "stop 28");

    player->p_Zu_Init(3, 4, 3, 3, 4);  // voices 2 to 4 on channels 0 to -2: never touched
    for (int v = 2; v < 5; ++v) EXPECT_EQ(Play(v, 13, 30, 3, 31), "") << v;
}

TEST_F(PlayerTest, PitchesChordLettersAndChordGroups) {
    const float rates[] = {0,      0.5f,   0.5295f, 0.561f, 0.5945f, 0.63f,  0.6675f, 0.707f,
                           0.749f, 0.7935f, 0.841f, 0.891f, 0.944f,  1,      1.059f,  1.122f,
                           1.189f, 1.26f,  1.335f,  1.414f, 1.498f,  1.587f, 1.682f,  1.782f,
                           1.888f, 2,      2.118f,  2.244f, 2.378f,  2.52f,  2.67f,   2.828f,
                           2.996f};
    const char letters[] = "zsxdcvgbhnjmq2w3er5t6y7ui9o0p[=]";
    for (int n = 1; n <= 32; ++n) {
        EXPECT_EQ(player->p_GetPitch(n), rates[n]) << n;
        EXPECT_EQ(player->p_GetPitch_Alpha(letters[n - 1]), rates[n]) << letters[n - 1];
    }
    for (int n : {0, 33, -1}) EXPECT_EQ(player->p_GetPitch(n), 0) << n;
    for (int c : {'a', 'Q', '1', '4', '8', '\0'}) EXPECT_EQ(player->p_GetPitch_Alpha(c), 0) << c;
    const char* const groups[] = {"qqqq", "qqjj", "qqbb", "qbqb", "qqqj", "qqzz"};
    for (int n = 0; n < 6; ++n) EXPECT_EQ(Text(player->p_Zu_GetChord(n)), groups[n]);
    for (int n : {6, -1, 1000}) EXPECT_EQ(Text(player->p_Zu_GetChord(n)), "qqjj");
}
