// A benchmark program that goes wrong on request, for the test of smoke.sh: with
// QUARROX_SMOKE_FAULT set, BM_Faulty reports an error ("error"), aborts ("abort") or ends the
// process with a success status before it has run ("quit"). BM_Steady always works.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>

namespace {

bool Fault(const char* kind) {
    const char* fault = std::getenv("QUARROX_SMOKE_FAULT");
    return fault && std::strcmp(fault, kind) == 0;
}

void BM_Steady(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(state.iterations());
}
BENCHMARK(BM_Steady);

// With an argument, so that its name as listed differs from the function's.
void BM_Faulty(benchmark::State& state) {
    if (Fault("error")) state.SkipWithError("the device is gone");
    if (Fault("abort")) std::abort();
    if (Fault("quit")) std::exit(0);
    for (auto _ : state) benchmark::DoNotOptimize(state.iterations());
}
BENCHMARK(BM_Faulty)->Arg(3);

}  // namespace
