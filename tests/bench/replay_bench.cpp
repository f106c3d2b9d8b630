// CPU cost of recording a game: the input of each update of a ten-minute game appended as the
// recorder meets it (no room reserved ahead: the recorder cannot know the game's length), and
// the whole recording encoded once at its end; reported per update ("per_update" is the time of
// one). Also the digest of a checkpoint over the whole object table, taken every 600 updates.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "game/replay_format.h"

namespace {

const int kTenMinutes = 36000;
const int kObjectTableFloats = 612 * 10;

// Steering keys and fire pressed and released every 5 to 30 updates, and now and then the mouse
// dragged for a while: a run of changes every few updates, as in play.
std::vector<replay::Input> PlayedInputs() {
    std::mt19937 random(7);
    const auto between = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    std::vector<replay::Input> played;
    replay::Input input;
    input.mouseX = 400;
    input.mouseY = 300;
    int nextKey = between(5, 30), nextMouse = between(60, 600), moving = 0;
    for (int update = 0; update < kTenMinutes; ++update) {
        input.mouseHits = 0;
        if (--nextKey == 0) {
            input.keyboard ^= 1 << between(0, 4);
            nextKey = between(5, 30);
        }
        if (--nextMouse == 0) {
            moving = between(5, 40);
            nextMouse = moving + between(60, 600);
            input.mouseDown = 1;
            input.mouseHits = 1;
        }
        if (moving > 0) {
            input.mouseX += between(-12, 12);
            input.mouseY += between(-12, 12);
            input.mouseDown = --moving > 0;
        }
        played.push_back(input);
    }
    return played;
}

void BM_RecordAndEncode(benchmark::State& state) {
    const std::vector<replay::Input> played = PlayedInputs();
    size_t fileBytes = 0;
    for (auto _ : state) {
        replay::Recording recording;
        recording.gameType = 2;
        recording.fieldWidth = 800;
        recording.fieldHeight = 600;
        for (const replay::Input& input : played) recording.inputs.push_back(input);
        const std::vector<uint8_t> file = replay::Encode(recording);
        fileBytes = file.size();
        benchmark::DoNotOptimize(file.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(played.size()));
    state.counters["per_update"] = benchmark::Counter(
        static_cast<double>(played.size()),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["file_bytes"] = static_cast<double>(fileBytes);
}
BENCHMARK(BM_RecordAndEncode)->Unit(benchmark::kMillisecond);

void BM_CheckpointDigest(benchmark::State& state) {
    std::vector<float> table(kObjectTableFloats);
    for (size_t i = 0; i < table.size(); ++i) table[i] = static_cast<float>(i % 97) * 1.5f - 40;
    for (auto _ : state) {
        benchmark::DoNotOptimize(replay::Digest(table.data(), table.size()));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(table.size() * 4));
}
BENCHMARK(BM_CheckpointDigest)->Unit(benchmark::kMicrosecond);

}  // namespace
