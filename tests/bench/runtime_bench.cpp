// Costs of the runtime core: string operations and the collector's allocation, stepping and
// full collection.
#include <benchmark/benchmark.h>

#include <climits>
#include <string>

#include "runtime/array.h"
#include "runtime/gc.h"
#include "runtime/object.h"
#include "runtime/string.h"

namespace {

struct Node : Object {
    Node* next = nullptr;
    void mark() override { gc_mark_q(next); }
};

struct Big : Object {
    char payload[1000] = {};
};

Node* g_chain = nullptr;
void MarkChain() { gc_mark_q(g_chain); }

String Repeat(const char* piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += piece;
    return String(text.c_str());
}

void BM_ConcatShort(benchmark::State& state) {
    String a("score: "), b("12345");
    for (auto _ : state) {
        String joined = a + b;
        benchmark::DoNotOptimize(joined.Data());
    }
}
BENCHMARK(BM_ConcatShort);

void BM_ConcatLong(benchmark::State& state) {
    String a = Repeat("0123456789abcdef", 256), b = Repeat("fedcba9876543210", 256);
    for (auto _ : state) {
        String joined = a + b;
        benchmark::DoNotOptimize(joined.Data());
    }
}
BENCHMARK(BM_ConcatLong);

void BM_Slice(benchmark::State& state) {
    String text = Repeat("abcdefghij", 100);
    for (auto _ : state) {
        String piece = text.Slice(100, 900);
        benchmark::DoNotOptimize(piece.Data());
    }
}
BENCHMARK(BM_Slice);

// A line shaped like the saved state: many short fields between '|'.
void BM_Split(benchmark::State& state) {
    String line = Repeat("12345|", 64);
    String separator("|");
    for (auto _ : state) {
        Array<String> fields = line.Split(separator);
        benchmark::DoNotOptimize(fields.Data());
        // The host's step after a dispatch: with nothing rooted, every array becomes garbage
        // that later allocations destroy.
        gc_step();
    }
}
BENCHMARK(BM_Split);

void BM_AllocateSmall(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(new Node);
        gc_step();
    }
}
BENCHMARK(BM_AllocateSmall);

void BM_AllocateLarge(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(new Big);
        gc_step();
    }
}
BENCHMARK(BM_AllocateLarge);

// One whole cycle (queue the roots, mark everything, sweep) over a chain of live objects.
void BM_FullCollection(benchmark::State& state) {
    const int liveObjects = static_cast<int>(state.range(0));
    gc_add_root(MarkChain);
    for (int i = 0; i < liveObjects; ++i) {
        Node* node = new Node;
        gc_assign(node->next, g_chain);
        gc_assign(g_chain, node);
    }
    for (auto _ : state) {
        gc_mark();
        gc_mark_queued(INT_MAX);
        gc_sweep();
    }
    state.SetItemsProcessed(state.iterations() * liveObjects);
    g_chain = nullptr;
    gc_clear_roots();
}
BENCHMARK(BM_FullCollection)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
