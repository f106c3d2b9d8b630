// The collector under a random mutator: a graph of objects with reference fields and reference
// arrays is rewired, pruned and grown between incremental collection steps for many cycles,
// and every object reachable from the roots must stay alive and unreused throughout.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <unordered_set>
#include <vector>

#include "runtime/array.h"
#include "runtime/gc.h"
#include "runtime/object.h"
#include "runtime_test_support.h"

using runtime_test::CollectorTest;

namespace {

const uint64_t kAlive = 0x51DEC0DE5AFEF00Dull;
const uint64_t kDestroyed = 0xDEADBEEFDEADBEEFull;
const int kFields = 3;
const int kRoots = 32;

// One object of the graph. Each reference slot has an id slot beside it holding the id of the
// object stored there; a visit compares the two, so a destroyed object shows by its canary and
// a block reused by a newer object shows by its id. The arrays' length is kept aside as well: a
// lost array shows by a length that no longer matches before its elements are read.
struct Cell : Object {
    int id;
    uint64_t canary = kAlive;
    Cell* field[kFields] = {};
    int fieldId[kFields] = {};
    Array<Cell*> items;
    Array<int> itemIds;
    int itemCount = 0;

    explicit Cell(int id) : id(id) {}
    ~Cell() override {
        canary = kDestroyed;
        id = -1;
    }
    void mark() override {
        for (Cell* f : field) gc_mark_q(f);
        gc_mark_q(items);
        gc_mark_q(itemIds);
    }
};

// The root global and the ids of what it holds (the ids are plain data, not collected).
Array<Cell*> g_roots;
int g_rootIds[kRoots];
void MarkRoots() { gc_mark_q(g_roots); }

// A place that holds a reference, and the id slot beside it.
struct Slot {
    Cell** ref;
    int* id;
};

class Mutator {
public:
    // Set by the first failed check; from then on no reference is followed.
    std::string failure;
    int cycles = 0;
    int reachableAtLastCheck = 0;

    // One host dispatch: a random mutation, then the collection step the host runs after it.
    // True when that step finished a cycle.
    bool Dispatch() {
        // Where a value goes is chosen before the value, so the run is the same whatever order
        // a compiler evaluates arguments in.
        int op = Rand(100);
        if (op < 45) {
            Slot slot = Target();
            Store(slot, NewCell());
        } else if (op < 80) {
            Slot slot = Target();
            Store(slot, Rand(16) == 0 ? nullptr : Reachable());
        } else if (op < 82) {
            Store(RootSlot(), nullptr);
        } else if (op < 85) {
            Store(RootSlot(), Reachable());
        } else if (op < 95) {
            NewCell();  // garbage from the start
        } else {
            RegrowItems(Reachable());
        }
        if (!failure.empty()) return false;

        int markbit = gc_markbit;
        gc_step();
        // Once marking has caught up, the count stands for a burst of allocation, so the next
        // step finishes the cycle: most mutations happen while a cycle is marking, where the
        // barrier matters.
        if (gc_queued_list.succ == &gc_queued_list && gc_new_bytes <= gc_full_cycle_bytes) {
            gc_new_bytes = gc_full_cycle_bytes + 1;
        }
        if (gc_markbit == markbit) return false;
        ++cycles;
        return true;
    }

    // Walks everything reachable from the roots: each object must be on a live list of the
    // collector (not on the free list, not destroyed) and be the object its slot expects.
    void CheckGraph() {
        std::unordered_set<const void*> live;
        for (const gc_object* list : {&gc_unmarked_list, &gc_queued_list, &gc_marked_list}) {
            for (const gc_object* o = list->succ; o != list; o = o->succ) live.insert(o);
        }
        if (!live.count(g_roots.GetRep())) return Fail("the root array is not live");

        std::unordered_set<const Cell*> seen;
        std::vector<Slot> pending;
        for (int i = 0; i < kRoots; ++i) pending.push_back(RootSlotAt(i));
        while (!pending.empty() && failure.empty()) {
            Slot slot = pending.back();
            pending.pop_back();
            Cell* cell = *slot.ref;
            if (!cell || seen.count(cell)) continue;
            if (!live.count(cell)) return Fail("a reachable object is not live", *slot.id);
            if (!Visit(cell, *slot.id)) return;
            seen.insert(cell);
            if (!cell->items.IsStaticEmpty() &&
                (!live.count(cell->items.GetRep()) || !live.count(cell->itemIds.GetRep()))) {
                return Fail("a reachable array is not live", cell->id);
            }
            for (int k = 0; k < SlotCount(cell); ++k) pending.push_back(SlotOf(cell, k));
        }
        reachableAtLastCheck = static_cast<int>(seen.size());
    }

    void Start() {
        gc_add_root(MarkRoots);
        gc_assign(g_roots, Array<Cell*>(kRoots));
        for (int i = 0; i < kRoots; ++i) Store(RootSlotAt(i), NewCell());
        gc_mark();
    }

private:
    int Rand(int n) { return static_cast<int>(rng_() % static_cast<uint32_t>(n)); }

    void Fail(const std::string& what, int id = 0) {
        if (!failure.empty()) return;
        std::ostringstream text;
        text << what << " (id " << id << ", cycle " << cycles << ")";
        failure = text.str();
    }

    bool Visit(const Cell* cell, int expectedId) {
        if (cell->canary != kAlive) {
            Fail("a reachable object was destroyed", expectedId);
        } else if (cell->id != expectedId) {
            Fail("a reachable object's block was reused", expectedId);
        } else if (cell->items.Length() != cell->itemCount ||
                   cell->itemIds.Length() != cell->itemCount) {
            Fail("a reachable object's arrays were lost", expectedId);
        }
        return failure.empty();
    }

    Cell* NewCell() {
        Cell* cell = new Cell(nextId_++);
        if (Rand(3) == 0) {
            int n = 1 + Rand(6);
            gc_assign(cell->items, Array<Cell*>(n));
            gc_assign(cell->itemIds, Array<int>(n));
            cell->itemCount = n;
        }
        return cell;
    }

    static int SlotCount(const Cell* cell) { return kFields + cell->items.Length(); }
    static Slot SlotOf(Cell* cell, int k) {
        if (k < kFields) return {&cell->field[k], &cell->fieldId[k]};
        return {&cell->items[k - kFields], &cell->itemIds[k - kFields]};
    }
    static Slot RootSlotAt(int i) { return {&g_roots[i], &g_rootIds[i]}; }
    Slot RootSlot() { return RootSlotAt(Rand(kRoots)); }

    // A reachable object found by a short random walk from a root (null if the walk found
    // none), checking every object on the way.
    Cell* Reachable() {
        Slot slot = RootSlot();
        Cell* cell = *slot.ref;
        if (!cell || !Visit(cell, *slot.id)) return nullptr;
        for (int hops = Rand(6); hops > 0; --hops) {
            Slot next = SlotOf(cell, Rand(SlotCount(cell)));
            if (!*next.ref) break;
            if (!Visit(*next.ref, *next.id)) return nullptr;
            cell = *next.ref;
        }
        return cell;
    }

    // A slot of a reachable object, now and then a root. An empty slot is preferred, so that
    // the graph grows as well as being rewired.
    Slot Target() {
        Cell* cell = Rand(16) == 0 ? nullptr : Reachable();
        if (!cell) return RootSlot();
        Slot slot = SlotOf(cell, Rand(SlotCount(cell)));
        for (int tries = 0; *slot.ref && tries < 2; ++tries) {
            slot = SlotOf(cell, Rand(SlotCount(cell)));
        }
        return slot;
    }

    void Store(Slot slot, Cell* value) {
        if (!failure.empty()) return;
        gc_assign(*slot.ref, value);
        *slot.id = value ? value->id : 0;
    }

    // Replaces a cell's arrays by longer or shorter copies: the new arrays are white and are
    // stored into a cell that may already be scanned.
    void RegrowItems(Cell* cell) {
        if (!cell) return;
        int n = Rand(7);
        gc_assign(cell->items, cell->items.Resize(n));
        gc_assign(cell->itemIds, cell->itemIds.Resize(n));
        cell->itemCount = n;
    }

    std::mt19937 rng_{20240607};
    int nextId_ = 1;
};

class GcMutator : public CollectorTest {
protected:
    void TearDown() override {
        g_roots = Array<Cell*>();
        CollectorTest::TearDown();
    }
};

TEST_F(GcMutator, ReachableObjectsSurviveManyCyclesOfRandomMutation) {
    const int kCycles = 120;
    const int kMaxDispatches = 2000000;
    // Right after a sweep an object lost by the collector is on the free list, not yet
    // destroyed: the full walk sees it there. Between checks, every walk checks what it visits.
    const int kCheckEveryCycles = 3;

    Mutator mutator;
    mutator.Start();
    int dispatches = 0;
    int largestGraph = 0;
    while (mutator.cycles < kCycles && dispatches < kMaxDispatches && mutator.failure.empty()) {
        ++dispatches;
        if (mutator.Dispatch() && mutator.cycles % kCheckEveryCycles == 0) {
            mutator.CheckGraph();
            largestGraph = std::max(largestGraph, mutator.reachableAtLastCheck);
        }
    }
    mutator.CheckGraph();
    ASSERT_EQ(mutator.failure, "") << "after " << dispatches << " dispatches";
    EXPECT_GE(mutator.cycles, kCycles);
    // The graph must stay big enough for marking to span many mutations.
    EXPECT_GT(largestGraph, 200);
}

}  // namespace
