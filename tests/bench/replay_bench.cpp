// CPU cost of recording a game: the input of each update of a ten-minute game appended as the
// recorder meets it (no room reserved ahead: the recorder cannot know the game's length), and
// the whole recording encoded once at its end; reported per update ("per_update" is the time of
// one). Also the digest of a checkpoint over the whole object table, taken every 600 updates.
#include <benchmark/benchmark.h>

#include <vector>

#include "game/played_inputs.h"
#include "game/replay_format.h"

namespace {

const int kTenMinutes = 36000;
const int kObjectTableFloats = 612 * 10;


void BM_RecordAndEncode(benchmark::State& state) {
    const std::vector<replay::Input> played = PlayedInputs(kTenMinutes);
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
