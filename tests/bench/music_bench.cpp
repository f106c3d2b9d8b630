// CPU cost of one row step of the music player: all five voices unmuted with their samples
// loaded, every row holding a note, a volume and a slide, on an audio device that only counts
// its calls, so the figure is the player's own work plus a virtual call per channel operation.
// The end of a pass (reseeding, a new chord, sometimes a new section) falls on every 64th
// iteration and is part of the average.
#include <benchmark/benchmark.h>

#include "fakes/fake_al.h"
#include "framework/app.h"
#include "framework/audio.h"
#include "host/game.h"
#include "music/zu_player.h"

namespace {

class CountingAudio : public KxAudio {
public:
    long calls = 0;
    int PlaySample(KxSample*, int, int) override { return ++calls, 0; }
    int StopChannel(int) override { return ++calls, 0; }
    int SetVolume(int, float) override { return ++calls, 0; }
    int SetPan(int, float) override { return ++calls, 0; }
    int SetRate(int, float) override { return ++calls, 0; }
};

// The clock stands at 0 on the plain host, so a row scheduled at -1 is always due.
struct BusyTune {
    KxGame* host = nullptr;
    CountingAudio* audio = nullptr;
    c_ZuPlayer* player = nullptr;

    BusyTune() {
        fake_al::Reset();
        host = new KxGame;
        kx_app__game = host;
        audio = new CountingAudio;
        kx_audio_SetAudioDevice(audio);
        player = (new c_ZuPlayer)->m_new();
        player->p_Zu_Init(32, 4, 3, 3, 4);
        player->p_Zu_StartTune(String("busy"), 1, 100);
        player->m_tuneLoadStep = 0;  // loaded: the samples and notes are set below
        for (int n = 1; n <= 8; ++n) {
            gc_assign(player->m_kitA[n], (new c_Sound)->m_new(new KxSample));
            gc_assign(player->m_kitB[n], (new c_Sound)->m_new(new KxSample));
        }
        for (int v = 2; v <= 4; ++v) {
            gc_assign(player->m_instSound[v], (new c_Sound)->m_new(new KxSample));
        }
        const int drums[] = {13, 15, 17, 18, 20, 22, 24, 25};
        for (int v = 0; v < 5; ++v) {
            for (int row = 0; row < 64; ++row) {
                int* values = &player->m_notes[v * 512 + row * 8];
                values[0] = v < 2 ? drums[row % 8] : 1 + (row * 7 + v) % 32;
                values[1] = 1 + row % 30;
                values[2] = 1 + row % 4;  // slides 1 to 4
                values[3] = row % 32;
            }
        }
    }
    void Unmute() {
        for (int v = 0; v < 5; ++v) player->m_muted[v] = player->m_leadIn[v] = 0;
    }
};

void BM_RowStepOfFiveVoices(benchmark::State& state) {
    static BusyTune tune;
    c_ZuPlayer* player = tune.player;
    tune.Unmute();
    const long before = tune.audio->calls;
    for (auto _ : state) {
        player->m_nextTime = -1;
        // A new section may mute voices; keep all five at work.
        if (player->m_row == 0) tune.Unmute();
        player->p_Zu_Alive_U(0, 1);
    }
    state.counters["channel calls per step"] = benchmark::Counter(
        double(tune.audio->calls - before) / double(state.iterations()));
}
BENCHMARK(BM_RowStepOfFiveVoices);

}  // namespace
