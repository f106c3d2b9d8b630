#include <gtest/gtest.h>

#include <new>

#include "runtime/array.h"
#include "runtime/object.h"
#include "runtime_test_support.h"

using runtime_test::CollectorTest;
using runtime_test::FinishCycle;
using runtime_test::IndexOn;
using runtime_test::ListLength;
using runtime_test::Node;
using runtime_test::OnList;
using runtime_test::RefsOf;

namespace {

struct Shape : gc_interface {};
struct Circle : Object, Shape {};

struct Holder : Object {
    Array<Node*> items;
    void mark() override { gc_mark_q(items); }
};

Array<Node*> g_items;
void MarkItems() { gc_mark_q(g_items); }

int ObjectsOnLists() {
    return ListLength(&gc_unmarked_list) + ListLength(&gc_queued_list) +
           ListLength(&gc_marked_list) + ListLength(&gc_free_list);
}

using Arrays = CollectorTest;

TEST_F(Arrays, EmptyArraysShareOneStaticRepresentationPerType) {
    Array<int> ints[] = {Array<int>(), Array<int>(0), Array<int>(-3), Array<int>(nullptr, 0),
                         Array<int>(4).Resize(0)};
    for (const Array<int>& a : ints) {
        EXPECT_TRUE(a.IsStaticEmpty());
        EXPECT_EQ(a.Length(), 0);
    }
    EXPECT_TRUE(Array<float>(0).IsStaticEmpty());
    EXPECT_TRUE(Array<bool>(0).IsStaticEmpty());
    EXPECT_TRUE(Array<String>(0).IsStaticEmpty());
    EXPECT_TRUE(Array<Node*>(0).IsStaticEmpty());
    EXPECT_EQ(ObjectsOnLists(), 1);  // only the four-element array that was resized
    EXPECT_EQ(Array<int>().GetRep()->flags, 3);

    // Marking, storing and whole cycles never touch them, whatever the current colour.
    Holder* holder = new Holder;
    gc_assign(holder->items, Array<Node*>());
    gc_mark(holder);
    gc_mark_q(Array<String>());
    gc_mark(Array<int>());
    EXPECT_EQ(ListLength(&gc_queued_list), 0);
    FinishCycle();
    FinishCycle();
    EXPECT_EQ(Array<Node*>().GetRep()->flags, 3);
    EXPECT_EQ(Array<Node*>().GetRep()->succ, nullptr);
    EXPECT_FALSE(gc_is_live_object(Array<Node*>().GetRep()));
    EXPECT_EQ(ObjectsOnLists(), 2);  // the holder and the resized array, freed, and nothing else
}

TEST_F(Arrays, NewArraysAreZeroedEvenInAReusedBlock) {
    Array<int> first(5);
    EXPECT_EQ(first.GetRep()->flags, 1 | 56);  // header, length and exactly five ints, rounded
    EXPECT_TRUE(OnList(&gc_unmarked_list, first.GetRep()));
    for (int i = 0; i < 5; ++i) first[i] = -1;
    FinishCycle();

    Array<int> second(5);
    EXPECT_EQ(second.GetRep(), first.GetRep());  // the dead array's block, from the cache
    for (int i = 0; i < 5; ++i) EXPECT_EQ(second[i], 0);

    Array<Node*> refs(3);
    Array<String> texts(3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(refs[i], nullptr);
        EXPECT_TRUE(texts[i].SharesRepWith(String()));
    }
    Array<float> floats(40);
    for (int i = 0; i < 40; ++i) EXPECT_EQ(floats[i], 0.0f);
}

TEST_F(Arrays, ResizeMakesANewArrayWithTheElementsThatFit) {
    const int values[] = {1, 2, 3};
    Array<int> three(values, 3);
    Array<int> five = three.Resize(5);
    Array<int> two = three.Resize(2);
    EXPECT_NE(five.GetRep(), three.GetRep());
    ASSERT_EQ(five.Length(), 5);
    EXPECT_EQ(five[2], 3);
    EXPECT_EQ(five[4], 0);
    ASSERT_EQ(two.Length(), 2);
    EXPECT_EQ(two[1], 2);
    EXPECT_EQ(three.Length(), 3);

    String shared = String("sh") + String("ared");
    Array<String> one(1);
    one[0] = shared;
    Array<String> bigger = one.Resize(3);
    EXPECT_EQ(RefsOf(shared), 3);
    EXPECT_TRUE(bigger[0].SharesRepWith(shared));
    EXPECT_EQ(bigger[2].Length(), 0);
}

TEST_F(Arrays, ReferenceArraysMarkTheirElementsAtOnce) {
    gc_add_root(MarkItems);
    gc_assign(g_items, Array<Node*>(3));
    Node* a = new Node;
    Node* b = new Node;
    Node* c = new Node;
    gc_assign(g_items[0], a);
    gc_assign(g_items[2], b);
    gc_assign(b->next, c);
    FinishCycle();  // everything survives and is white again; the array is queued
    ASSERT_EQ(gc_alloced_bytes, 32 + 3 * 8 + 3 * 40);

    // One scan of the array marks both elements on the spot, depth first; their own
    // fields are only queued.
    gc_mark_queued(1);
    EXPECT_EQ(IndexOn(&gc_marked_list, g_items.GetRep()), 0);
    EXPECT_EQ(IndexOn(&gc_marked_list, a), 1);
    EXPECT_EQ(IndexOn(&gc_marked_list, b), 2);
    EXPECT_TRUE(OnList(&gc_queued_list, c));
    EXPECT_EQ(gc_marked_bytes, 56 + 80);
    g_items = Array<Node*>();
}

TEST_F(Arrays, InterfaceReferencesAreMarkedAsTheirObjects) {
    Circle* circle = new Circle;
    Shape* shape = circle;
    Array<Shape*> shapes(1);
    shapes[0] = shape;
    gc_mark(shapes);
    EXPECT_TRUE(OnList(&gc_marked_list, circle));

    Circle* other = new Circle;
    gc_mark_q(static_cast<Shape*>(other));
    EXPECT_TRUE(OnList(&gc_queued_list, other));
}

TEST_F(Arrays, StringArraysReleaseTheirStringsWhenDestroyed) {
    String text = String("te") + String("xt");
    Array<String> texts(2);
    texts[0] = text;
    texts[1] = text;
    EXPECT_EQ(RefsOf(text), 3);
    FinishCycle();
    EXPECT_EQ(RefsOf(text), 3);  // on the free list, not yet destroyed
    Array<int> next(100);        // large enough to destroy everything freed
    EXPECT_EQ(RefsOf(text), 1);

    // The element helpers directly: copies add to the count, destruction takes it back.
    alignas(String) unsigned char storage[2 * sizeof(String)];
    String* elements = reinterpret_cast<String*>(storage);
    const String sources[2] = {text, text};
    t_create(2, elements, sources);
    EXPECT_EQ(RefsOf(text), 5);
    t_destroy(2, elements);
    EXPECT_EQ(RefsOf(text), 3);
    t_create(2, elements);
    EXPECT_TRUE(elements[1].SharesRepWith(String()));
    t_destroy(2, elements);
}

}  // namespace
