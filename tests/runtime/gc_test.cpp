#include <gtest/gtest.h>

#include <climits>

#include "runtime/array.h"
#include "runtime/gc.h"
#include "runtime/object.h"
#include "runtime_test_support.h"

using runtime_test::CollectorTest;
using runtime_test::FinishCycle;
using runtime_test::IndexOn;
using runtime_test::ListLength;
using runtime_test::Node;
using runtime_test::OnList;

namespace {

struct Pair : Object {
    void* first = nullptr;
    void* second = nullptr;
};
static_assert(sizeof(Pair) == 48, "");

struct FiftySix : Object {
    void* fields[3] = {};
};
static_assert(sizeof(FiftySix) == 56, "");

struct SixtyFour : Object {
    void* fields[4] = {};
};
static_assert(sizeof(SixtyFour) == 64, "");

struct Big : Object {
    char payload[200] = {};
};

struct Labelled : Object {
    String label;
};

struct ThrowsOnConstruction : Object {
    void* unused = nullptr;
    explicit ThrowsOnConstruction(int code) { throw code; }
};
static_assert(sizeof(ThrowsOnConstruction) == 40, "");

Node* g_first = nullptr;
Node* g_second = nullptr;
Node* g_third = nullptr;
void MarkFirst() { gc_mark_q(g_first); }
void MarkSecond() { gc_mark_q(g_second); }
void MarkThird() { gc_mark_q(g_third); }

bool IsWhite(const gc_object* obj) { return gc_is_white(obj); }

using GcColours = CollectorTest;

TEST_F(GcColours, NewObjectsAreWhiteAndQueueingTurnsThemGrey) {
    Node* a = new Node;
    Node* b = new Node;
    EXPECT_EQ(a->flags, 1 | 40);
    EXPECT_TRUE(IsWhite(a));
    EXPECT_EQ(IndexOn(&gc_unmarked_list, a), 0);
    EXPECT_EQ(IndexOn(&gc_unmarked_list, b), 1);
    EXPECT_EQ(gc_new_bytes, 80);
    EXPECT_EQ(gc_alloced_bytes, 80);
    EXPECT_EQ(gc_max_alloced_bytes, 80);

    gc_mark_q(b);
    gc_mark_q(a);
    gc_mark_q(b);  // already grey: stays where it is
    gc_mark_q(static_cast<Node*>(nullptr));
    EXPECT_FALSE(IsWhite(a));
    EXPECT_EQ(a->flags & 3, 0);
    EXPECT_EQ(IndexOn(&gc_queued_list, b), 0);
    EXPECT_EQ(IndexOn(&gc_queued_list, a), 1);
    EXPECT_EQ(ListLength(&gc_unmarked_list), 0);
    EXPECT_EQ(gc_marked_bytes, 0);  // queueing counts nothing yet

    // Scanning moves each to the marked list, counts it, and queues what it refers to,
    // which the same loop then scans too.
    Node* c = new Node;
    a->next = c;
    gc_mark_queued(INT_MAX);
    EXPECT_EQ(ListLength(&gc_queued_list), 0);
    EXPECT_EQ(IndexOn(&gc_marked_list, b), 0);
    EXPECT_EQ(IndexOn(&gc_marked_list, a), 1);
    EXPECT_EQ(IndexOn(&gc_marked_list, c), 2);
    EXPECT_EQ(gc_marked_bytes, 120);
    EXPECT_FALSE(IsWhite(c));
}

TEST_F(GcColours, MarkingStopsAtTheBudget) {
    Node* nodes[3] = {new Node, new Node, new Node};
    for (Node* n : nodes) gc_mark_q(n);

    gc_mark_queued(0);
    EXPECT_EQ(ListLength(&gc_queued_list), 3);
    // Marking continues while the marked bytes are below the budget: 0 and 40 are, 80 is not.
    gc_mark_queued(41);
    EXPECT_EQ(ListLength(&gc_marked_list), 2);
    EXPECT_EQ(IndexOn(&gc_queued_list, nodes[2]), 0);
    gc_mark_queued(120);
    EXPECT_EQ(ListLength(&gc_queued_list), 0);
    EXPECT_EQ(gc_marked_bytes, 120);
}

TEST_F(GcColours, MarkNowScansAtOnceAndQueuesFields) {
    Node* parent = new Node;
    Node* child = new Node;
    parent->next = child;
    gc_mark(parent);
    EXPECT_TRUE(OnList(&gc_marked_list, parent));
    EXPECT_EQ(gc_marked_bytes, 40);
    EXPECT_TRUE(OnList(&gc_queued_list, child));  // fields are queued, not marked now
    gc_mark(parent);  // already black: counted once
    EXPECT_EQ(gc_marked_bytes, 40);
}

TEST_F(GcColours, RootsAreQueuedInRegistrationOrder) {
    g_first = new Node;
    g_second = new Node;
    g_third = nullptr;
    gc_add_root(MarkSecond);
    gc_add_root(MarkThird);
    gc_add_root(MarkFirst);
    gc_init2();
    EXPECT_EQ(IndexOn(&gc_queued_list, g_second), 0);
    EXPECT_EQ(IndexOn(&gc_queued_list, g_first), 1);
    EXPECT_EQ(ListLength(&gc_queued_list), 2);
    g_first = g_second = nullptr;
}

using GcCycle = CollectorTest;

TEST_F(GcCycle, UnreachedObjectIsFreedAtTheSweepButDestroyedByALaterAllocation) {
    gc_add_root(MarkFirst);
    gc_assign(g_first, new Node);
    Node* dropped = new Node;  // only ever held in this local

    FinishCycle();
    EXPECT_TRUE(OnList(&gc_free_list, dropped));
    EXPECT_FALSE(gc_is_live_object(dropped));
    EXPECT_TRUE(gc_is_live_object(g_first));
    EXPECT_EQ(Node::destroyed, 0);
    EXPECT_EQ(gc_free_bytes, 40);
    EXPECT_EQ(gc_alloced_bytes, 40);
    EXPECT_EQ(gc_marked_bytes, 0);
    EXPECT_EQ(gc_new_bytes, 0);
    EXPECT_EQ(gc_markbit, 0);
    // The survivor is white for the new cycle and its root is already queued again.
    EXPECT_TRUE(OnList(&gc_queued_list, g_first));

    Node* next = new Node;
    EXPECT_EQ(Node::destroyed, 1);
    EXPECT_EQ(gc_free_bytes, 0);
    EXPECT_EQ(ListLength(&gc_free_list), 0);
    EXPECT_EQ(static_cast<void*>(next), static_cast<void*>(dropped));  // its block, reused
    EXPECT_TRUE(IsWhite(next));
    g_first = nullptr;
}

TEST_F(GcCycle, StoreIntoAScannedObjectSurvivesThroughTheBarrier) {
    gc_add_root(MarkFirst);
    gc_assign(g_first, new Node);
    gc_mark_queued(INT_MAX);
    ASSERT_TRUE(OnList(&gc_marked_list, g_first));  // black: it will not be scanned again

    Node* late = new Node;
    gc_assign(g_first->next, late);
    EXPECT_TRUE(OnList(&gc_queued_list, late));

    FinishCycle();
    new Node;  // destroys whatever the sweep freed
    EXPECT_EQ(Node::destroyed, 0);
    EXPECT_TRUE(gc_is_live_object(late));

    // In the following cycle it is reached through its holder's field.
    FinishCycle();
    EXPECT_TRUE(gc_is_live_object(late));
    EXPECT_EQ(gc_alloced_bytes, 80);
    g_first = nullptr;
}

TEST_F(GcCycle, StepIsIncrementalUpToExactlyEightMebibytes) {
    gc_add_root(MarkFirst);
    gc_assign(g_first, new Node);
    Node* garbage = new Node;

    gc_new_bytes = 8388608;
    gc_step();
    EXPECT_EQ(gc_markbit, 1);
    EXPECT_EQ(gc_new_bytes, 8388608);
    EXPECT_TRUE(OnList(&gc_unmarked_list, garbage));
    // budget = new + (alloced - new) * new / 8 MiB = alloced: the root got marked.
    EXPECT_TRUE(OnList(&gc_marked_list, g_first));

    gc_new_bytes = 8388609;
    gc_step();
    EXPECT_EQ(gc_markbit, 0);
    EXPECT_EQ(gc_new_bytes, 0);
    EXPECT_TRUE(OnList(&gc_free_list, garbage));
    EXPECT_TRUE(OnList(&gc_queued_list, g_first));
    g_first = nullptr;
}

// Runs one step with the counters set as given and one object queued; reports whether the
// step marked it. The real counters are put back afterwards.
bool StepMarks(int alloced, int newBytes, int marked) {
    Node* probe = new Node;
    gc_mark_q(probe);
    int realAlloced = gc_alloced_bytes, realNew = gc_new_bytes, realMarked = gc_marked_bytes;
    gc_alloced_bytes = alloced;
    gc_new_bytes = newBytes;
    gc_marked_bytes = marked;
    gc_step();
    bool markedByStep = OnList(&gc_marked_list, probe);
    gc_mark_queued(INT_MAX);  // leave nothing queued for the next call
    gc_alloced_bytes = realAlloced;
    gc_new_bytes = realNew;
    gc_marked_bytes = realMarked + 40;
    return markedByStep;
}

TEST_F(GcCycle, ProportionalBudgetIsComputedIn64Bits) {
    // (alloced - new) * new overflows 32 bits for these values.
    const int budget = 359555107;  // 3000001 + 997000006 * 3000001 / 8388608
    EXPECT_TRUE(StepMarks(1000000007, 3000001, budget - 1));
    EXPECT_FALSE(StepMarks(1000000007, 3000001, budget));

    // A negative product divides toward zero: -9 / 8 MiB is 0, so the budget is 3.
    EXPECT_TRUE(StepMarks(0, 3, 2));
    EXPECT_FALSE(StepMarks(0, 3, 3));
}

TEST_F(GcCycle, AllocationDestroysOnlyAsManyBytesAsItTakes) {
    for (int i = 0; i < 3; ++i) new Node;
    FinishCycle();
    ASSERT_EQ(gc_free_bytes, 120);

    new Object;  // 32 bytes: one 40-byte node covers it
    EXPECT_EQ(Node::destroyed, 1);
    EXPECT_EQ(gc_free_bytes, 80);
    new Pair;  // 48 bytes: one node leaves 40 > 32, so both go
    EXPECT_EQ(Node::destroyed, 3);
    EXPECT_EQ(gc_free_bytes, 0);

    // A count that claims bytes the free list no longer holds is settled, not chased.
    gc_free_bytes = 1000;
    new Object;
    EXPECT_EQ(gc_free_bytes, 0);
}

TEST_F(GcCycle, SmallBlocksAreCachedBySizeAndReused) {
    Node* dead = new Node;
    FiftySix* dead56 = new FiftySix;
    new SixtyFour;
    FinishCycle();

    new Big;  // destroys all three; Big itself comes from the C allocator
    EXPECT_EQ(gc_cache[5], dead);
    EXPECT_EQ(gc_cache[7], dead56);
    for (int slot : {0, 1, 2, 3, 4, 6}) EXPECT_EQ(gc_cache[slot], nullptr);  // 64 is not cached

    // Any request that rounds up to 40 bytes takes the cached 40-byte block.
    Array<bool> thirtyThree(1);
    EXPECT_EQ(static_cast<gc_object*>(thirtyThree.GetRep()), dead);
    EXPECT_EQ(thirtyThree.GetRep()->flags, gc_markbit | 40);
    EXPECT_EQ(gc_cache[5], nullptr);
    EXPECT_EQ(static_cast<void*>(new FiftySix), static_cast<void*>(dead56));
}

TEST_F(GcCycle, DestructionReleasesHeldStrings) {
    String label = String("lab") + String("el");
    Labelled* holder = new Labelled;
    holder->label = label;
    EXPECT_EQ(runtime_test::RefsOf(label), 2);
    FinishCycle();
    EXPECT_EQ(runtime_test::RefsOf(label), 2);  // freed, not yet destroyed
    new Labelled;
    EXPECT_EQ(runtime_test::RefsOf(label), 1);
}

TEST_F(GcCycle, ThrowingConstructorLeavesTheCollectorConsistent) {
    gc_add_root(MarkFirst);
    gc_assign(g_first, new Node);
    int allocedBefore = gc_alloced_bytes;

    EXPECT_THROW(new ThrowsOnConstruction(7), int);
    EXPECT_EQ(ListLength(&gc_unmarked_list), 0);
    EXPECT_EQ(ListLength(&gc_queued_list), 1);
    EXPECT_EQ(gc_alloced_bytes, allocedBefore);
    EXPECT_EQ(gc_free_bytes, 0);
    gc_object* block = gc_cache[5];
    ASSERT_NE(block, nullptr);
    EXPECT_FALSE(gc_is_live_object(block));

    // The block serves the next allocation, and a full cycle balances its books.
    Node* next = new Node;
    EXPECT_EQ(static_cast<gc_object*>(next), block);
    gc_assign(g_first->next, next);
    FinishCycle();
    EXPECT_EQ(gc_alloced_bytes, 80);
    EXPECT_EQ(gc_free_bytes, 0);
    EXPECT_EQ(ListLength(&gc_free_list), 0);
    g_first = nullptr;
}

TEST_F(GcCycle, ObjectsCompareByIdentity) {
    Object* a = new Object;
    Object* b = new Object;
    int difference = static_cast<int>(reinterpret_cast<char*>(a) - reinterpret_cast<char*>(b));
    EXPECT_EQ(a->Compare(b), difference);
    EXPECT_EQ(b->Compare(a), -difference);
    EXPECT_EQ(a->Compare(a), 0);
    EXPECT_TRUE(a->Equals(a));
    EXPECT_FALSE(a->Equals(b));
    EXPECT_TRUE(a->debug() == String("+Object\n"));
}

TEST_F(GcCycle, LiveObjectLookupAcceptsOnlyListedObjects) {
    Node* white = new Node;
    Node* grey = new Node;
    Node* black = new Node;
    gc_mark_q(grey);
    gc_mark(black);
    EXPECT_TRUE(gc_is_live_object(white));
    EXPECT_TRUE(gc_is_live_object(grey));
    EXPECT_TRUE(gc_is_live_object(black));
    EXPECT_FALSE(gc_is_live_object(nullptr));
    EXPECT_FALSE(gc_is_live_object(&gc_unmarked_list));
    EXPECT_FALSE(gc_is_live_object(reinterpret_cast<char*>(white) + 8));
}

}  // namespace
