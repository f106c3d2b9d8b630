// Playing a tune: row timing, drum and melodic notes, volumes and their decay, slides, the
// markers in the note table, mutes and lead-ins, stopping, and the pitch and chord tables.
#include <algorithm>

#include "music_test_support.h"

namespace {

void ExpectNear(const std::vector<float>& actual, const std::vector<float>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) EXPECT_NEAR(actual[i], expected[i], 1e-5) << i;
}

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

TEST_F(SequencerTest, RowsFallDueOnTheirScheduleOneAtATimeAndPausesDelayThem) {
    EXPECT_EQ(RowAfterUpdate(100), 0);  // due only after the scheduled millisecond
    EXPECT_EQ(RowAfterUpdate(101), 1);
    // Late: one row per update, each 80 ms after the previous due time rather than after now.
    for (int next : {260, 340, 420, 420}) {
        RowAfterUpdate(400);
        EXPECT_EQ(player->m_nextTime, next);
    }
    player->m_nextTime = 400 + 123456;
    EXPECT_EQ(RowAfterUpdate(400), 4);
    player->m_nextTime = 400 + 123457;  // too far ahead to be real: due at once
    EXPECT_EQ(RowAfterUpdate(400), 5);

    // Ten seconds paused, then the next row 150 ms after the last paused update, no burst.
    int t = 400;
    for (int i = 0; i < 625; ++i) RowAfterUpdate(t += 16, 1);
    std::vector<int> rows;
    for (int at : {150, 151, 167, 183, 199, 215, 231}) rows.push_back(RowAfterUpdate(t + at));
    EXPECT_EQ(rows, (std::vector<int>{5, 6, 6, 6, 6, 6, 7}));

    // 8000 / tempo ms per row, truncated at each row; a tempo below 1 counts as 1.
    const std::pair<int, int> tempos[] = {{100, 80}, {95, 84}, {90, 88}, {1, 8000}, {0, 8000},
                                          {-7, 8000}};
    for (const auto& [tempo, ms] : tempos) {
        const int start = kx_app_Millisecs();
        player->p_Zu_StartTune(String("t"), 1, tempo);
        for (int i = 0; i < 10; ++i) Step();
        EXPECT_EQ(player->m_nextTime, start + 100 + 10 * ms) << tempo;
        EXPECT_EQ(player->m_row, 10);
    }
}

TEST_F(SequencerTest, DrumNotesHitTheirKitsSamplePannedAndLeaveTheChannelRate) {
    const int drums[] = {13, 15, 17, 18, 20, 22, 24, 25};  // samples 1 to 8
    for (int note = 1; note <= 31; ++note) {
        const int n = int(std::find(drums, drums + 8, note) - drums) + 1;
        EXPECT_EQ(Play(0, note), n > 8 ? "stop 31" : "stop 31|play 31 0|pan 31 -0.35") << note;
        EXPECT_TRUE(n > 8 || audio->played == player->m_kitA[n]->m_sample) << note;
    }
    EXPECT_EQ(Play(1, 25), "stop 30|play 30 0|pan 30 0.35");
    EXPECT_EQ(audio->played, player->m_kitB[8]->m_sample);
    gc_assign(player->m_kitB[2], static_cast<c_Sound*>(nullptr));  // a sample that did not load
    EXPECT_EQ(Play(1, 15), "stop 30");

    // A slide retunes the drum channel; the next hit resets the voice's rate, not the channel's.
    EXPECT_EQ(Play(0, 0, 0, 3, 15), "rate 31 2");
    player->m_envelope[0] = 0;
    EXPECT_EQ(Play(0, 14), "stop 31");
    EXPECT_EQ(player->m_rate[0], 1.0f);
    EXPECT_EQ(player->m_envelope[0], float(4.0 - 0.1));  // 4, then this row's decay
}

TEST_F(SequencerTest, VolumesScaleByTheMusicVolumeAndFadeCompoundingBelowEnvelopeOne) {
    for (const auto& [volume, heard] : {std::pair{1, 0.0f}, {16, 15 / 29.0f / 2}, {30, 0.5f},
                                        {31, 0.0f}}) {
        player->p_Zu_PlayNote(2, 0, volume, 0, 0);
        ExpectNear(audio->Values("volume", 29), {heard});
        EXPECT_EQ(player->m_envelope[2], float(1.5 - 0.1)) << volume;
        audio->calls.clear();
    }
    EXPECT_EQ(Play(2, 13, 31), "volume 29 0|stop 29|rate 29 1|play 29 1");
    EXPECT_EQ(player->m_envelope[2], 1.5f);  // where a note leaves it

    // From 1.5 the fifth row is the first below 1, and each row multiplies what the last left.
    for (int row = 1; row <= 17; ++row) player->p_Zu_PlayNote(2, 0, row == 1 ? 30 : 0, 0, 0);
    std::vector<float> fade = {0.5f};
    for (float product = 1, e = 1; fade.size() < 14; e = std::max(e - 0.1f, 0.0f)) {
        fade.push_back(0.5f * (product *= e));
    }
    ExpectNear(audio->Values("volume", 29), fade);
    EXPECT_EQ(player->m_envelope[2], 0);  // never below
}

TEST_F(SequencerTest, MelodicNotesPlayAtTheirPitchInTheChordAndSlidesAccumulateWithinLimits) {
    EXPECT_EQ(Play(2, 20), "stop 29|rate 29 1.498|play 29 1");
    EXPECT_EQ(audio->played, player->m_instSound[2]->m_sample);
    player->m_chords = String("jqq");
    player->m_instFlags = 0;
    EXPECT_EQ(Play(3, 13), "stop 28|rate 28 0.891|play 28 0");
    player->m_chords = String();
    gc_assign(player->m_instSound[4], static_cast<c_Sound*>(nullptr));
    EXPECT_EQ(Play(4, 25), "stop 27|rate 27 2");
    EXPECT_EQ(player->m_sounding[2] + player->m_sounding[4], 1);

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
}

TEST_F(SequencerTest, EffectEightEndsThePassForEveryVoice) {
    SetRow(0, 0, 10, 13);
    SetRow(0, 2, 10, 0, 0, 8);
    SetRow(0, 3, 10, 20);
    SetRow(0, 3, 63, 13, 30);
    SetRow(0, 4, 0, 25);
    player->m_row = 10;
    Step();
    // Voice 0 plays row 10, voice 3 row 63 (volume 30, note 13), and a pass is counted.
    EXPECT_EQ(audio->Log(),
              "stop 31|play 31 0|pan 31 -0.35|volume 28 0.5|stop 28|rate 28 1|play 28 1");
    EXPECT_EQ(player->m_passesLeft, 3);
    Step();
    EXPECT_EQ(audio->Log(), "stop 27|rate 27 2|play 27 1");  // row 0
}

TEST_F(SequencerTest, ChunkSwitchMarkersMoveAVoiceForGoodAndNeverOutOfTheTune) {
    struct Case { int passesLeft, from, parameter, to; };
    const Case cases[] = {{3, 2, 1, 3}, {1, 2, 1, 3}, {4, 2, 1, 2}, {4, 2, 2, 1},
                          {2, 2, 2, 1}, {3, 2, 2, 2}, {4, 0, 2, 0}, {3, 63, 1, 63}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.passesLeft << c.parameter << " from " << c.from);
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
        const std::vector<float> rates = {player->p_GetPitch(1 + c.to % 31),
                                          player->p_GetPitch(10 + c.to % 20)};
        EXPECT_EQ(audio->Values("rate", 29), rates);
    }
}

TEST_F(SequencerTest, AMutedVoiceIsSilentButMayLeadInOverTheLastEightRowsBeforeItPlays) {
    struct Case { int passesLeft, row, leadIn, nextMuted; bool plays; };
    const Case cases[] = {{1, 56, 1, 0, 1}, {1, 63, 1, 0, 1}, {1, 55, 1, 0, 0},
                          {2, 60, 1, 0, 0}, {1, 60, 0, 0, 0}, {1, 60, 1, 1, 0}};
    for (int v : {0, 2}) {
        player->m_muted[v] = 1;
        for (const Case& c : cases) {
            player->m_passesLeft = c.passesLeft;
            player->m_row = c.row;
            player->m_leadIn[v] = c.leadIn;
            player->m_nextMuted[v] = c.nextMuted;
            player->m_envelope[v] = 1.5f;
            EXPECT_EQ(Play(v, 13, 30, 3, 31).empty(), !c.plays)
                << v << ": " << c.passesLeft << " " << c.row << " " << c.leadIn << c.nextMuted;
        }
    }
}

TEST_F(SequencerTest, StopSilencesTheSoundingVoicesAndHaltsTheTune) {
    for (int halt : {0, 1}) {
        Play(0, 13);
        Play(2, 13);
        player->p_Zu_Stop(halt);
        EXPECT_EQ(audio->Log(), "stop 31|stop 29");
        EXPECT_EQ(player->m_state, halt ? 0 : 2);
    }
    player->m_sounding[3] = 1;  // a stopped tune silences whatever still sounds
    Step();
    EXPECT_EQ(audio->Log(), "stop 28");
    player->m_state = 2;  // and so does a playing one while paused or without music
    for (const auto& [paused, musicOn] : {std::pair{1, 1}, {0, 0}}) {
        player->m_sounding[4] = 1;
        EXPECT_EQ(RowAfterUpdate(kx_app_Millisecs() + 1000, paused, musicOn), 0);
        EXPECT_EQ(audio->Log(), "stop 27");
    }

    player->p_Zu_Init(3, 4, 3, 3, 4);  // voices 2 to 4 on channels 0 to -2: never touched
    for (int v = 2; v < 5; ++v) EXPECT_EQ(Play(v, 13, 30, 3, 31), "") << v;
}

TEST_F(PlayerTest, PitchesAreSemitonesNamedByKeysAndChordsComeInGroups) {
    // Note 13 (q) is the sample's own pitch; every note is a semitone, rounded to four figures,
    // the low and high octaves exactly the middle one halved and doubled.
    const char letters[] = "zsxdcvgbhnjmq2w3er5t6y7ui9o0p[=]";
    for (int n = 1; n <= 32; ++n) {
        const float rate = player->p_GetPitch(n);
        EXPECT_NEAR(rate / std::pow(2.0, (n - 13) / 12.0), 1, 5e-4) << n;
        EXPECT_TRUE(n <= 12 || rate == 2 * player->p_GetPitch(n - 12)) << n;
        EXPECT_EQ(player->p_GetPitch_Alpha(letters[n - 1]), rate) << letters[n - 1];
    }
    for (int n : {0, 33}) EXPECT_EQ(player->p_GetPitch(n), 0) << n;
    for (int c : {'a', 'Q', '1', '\0'}) EXPECT_EQ(player->p_GetPitch_Alpha(c), 0) << c;
    const char* const groups[] = {"qqjj", "qqqq", "qqjj", "qqbb", "qbqb", "qqqj", "qqzz", "qqjj"};
    for (int n = -1; n < 7; ++n) {
        EXPECT_EQ(std::string(player->p_Zu_GetChord(n).ToCString().chars()), groups[n + 1]) << n;
    }
}

}  // namespace
