// Helpers shared by the runtime tests: reading strings as plain units, peeking at a
// representation's count, and putting the collector's globals back to a fresh start.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/gc.h"
#include "runtime/object.h"
#include "runtime/string.h"

namespace runtime_test {

inline std::u16string Units(const String& s) { return std::u16string(s.Data(), s.Length()); }

inline String Text(const std::u16string& units) {
    return String(units.data(), static_cast<int>(units.size()));
}

// The count of the representation a string refers to; the units follow the two counts.
inline int RefsOf(const String& s) {
    return (reinterpret_cast<const String::Rep*>(s.Data()) - 1)->refs;
}

inline int ListLength(const gc_object* list) {
    int n = 0;
    for (const gc_object* o = list->succ; o != list; o = o->succ) ++n;
    return n;
}

inline bool OnList(const gc_object* list, const gc_object* obj) {
    for (const gc_object* o = list->succ; o != list; o = o->succ) {
        if (o == obj) return true;
    }
    return false;
}

// Position of `obj` on `list` counting from 0, or -1.
inline int IndexOn(const gc_object* list, const gc_object* obj) {
    int i = 0;
    for (const gc_object* o = list->succ; o != list; o = o->succ, ++i) {
        if (o == obj) return i;
    }
    return -1;
}

// A 40-byte object with one reference field that counts its destructions.
struct Node : Object {
    Node* next = nullptr;
    static inline int destroyed = 0;

    ~Node() override { ++destroyed; }
    void mark() override { gc_mark_q(next); }
};
static_assert(sizeof(Node) == 40, "Node must fill exactly one 40-byte block");

// Runs the finishing step of a cycle, as the host's step does after heavy allocation.
inline void FinishCycle() {
    gc_new_bytes = gc_full_cycle_bytes + 1;
    gc_step();
}

// Destroys every object the collector knows (running destructors, so held strings are
// released), returns the cached blocks to the C allocator and resets every global, so each
// test starts from the state of a freshly started program and nothing leaks between tests.
inline void ResetCollector() {
    gc_object* lists[] = {&gc_unmarked_list, &gc_queued_list, &gc_marked_list, &gc_free_list};
    for (gc_object* list : lists) {
        while (list->succ != list) {
            gc_object* obj = list->succ;
            gc_list_unlink(obj);
            obj->succ = obj->pred = nullptr;
            delete obj;
        }
    }
    // A cached block holds no live object: its link is read as plain bytes.
    const std::ptrdiff_t linkOffset =
        reinterpret_cast<char*>(&gc_free_list.succ) - reinterpret_cast<char*>(&gc_free_list);
    for (gc_object*& slot : gc_cache) {
        while (slot) {
            gc_object* block = slot;
            std::memcpy(&slot, reinterpret_cast<char*>(block) + linkOffset, sizeof slot);
            std::free(block);
        }
    }
    gc_init1();
    gc_clear_roots();
    gc_markbit = 1;
    gc_new_bytes = 0;
    gc_alloced_bytes = 0;
    gc_max_alloced_bytes = 0;
    gc_marked_bytes = 0;
    gc_free_bytes = 0;
}

// Every collector test starts from, and leaves behind, an empty collector.
class CollectorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetCollector();
        Node::destroyed = 0;
    }
    void TearDown() override { ResetCollector(); }
};

}  // namespace runtime_test
