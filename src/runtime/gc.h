// The incremental, non-moving mark-and-sweep collector that owns every object and array.
//
// Invariants:
// - Every object is on exactly one of four circular lists: unmarked (white), queued (grey),
//   marked (black) or free (dead, awaiting destruction).
// - An object is white exactly when (flags & 3) == gc_markbit; marking flips bit 0, and the
//   sweep flips gc_markbit so survivors are white again for the next cycle. Flags 3 (the
//   static empty arrays) are never white, so such objects are never moved or freed.
// - Every store of an object reference into the heap or a global goes through gc_assign (the
//   write barrier), and collection steps run only between host dispatches, so no reference
//   held in a local survives a step.
// - Create collector objects with `new T` or a constructor that takes arguments. `new T()` on a
//   class without a user-provided default constructor zero-initialises the object after
//   allocation and would wipe the header that allocation wrote.
#pragma once

#include <cstddef>
#include <type_traits>

struct gc_object {
    gc_object* succ;
    gc_object* pred;
    int flags;  // bits 0-1: colour; bits 3 and up: the allocated size in bytes

    gc_object() {}  // user-provided: leaves the header that gc_object_alloc wrote
    // A list head: an empty circular list is a head whose links point to itself.
    struct ListHead {};
    explicit gc_object(ListHead) : succ(this), pred(this), flags(0) {}
    virtual ~gc_object() {}
    // Marks the objects this one refers to (with gc_mark_q, or gc_mark for array elements).
    virtual void mark() {}

    int gc_size() const { return flags & ~7; }

    static void* operator new(std::size_t size);
    static void operator delete(void* p);
};

// The base of every interface; an interface reference is cross-cast to its object for marking.
struct gc_interface {
    virtual ~gc_interface() {}
};

extern int gc_markbit;
extern gc_object gc_unmarked_list;
extern gc_object gc_queued_list;
extern gc_object gc_marked_list;
extern gc_object gc_free_list;
extern int gc_new_bytes;
extern int gc_alloced_bytes;
extern int gc_max_alloced_bytes;
extern int gc_marked_bytes;
extern int gc_free_bytes;
extern gc_object* gc_cache[8];

// Allocation beyond this many bytes since the last full cycle finishes the cycle at once.
const int gc_full_cycle_bytes = 8388608;
// The largest object: its size, rounded up to 8 bytes, must still fit the int in `flags`.
const int gc_max_object_bytes = 0x7FFFFFF8;

void gc_init1();
void gc_init2();
void* gc_object_alloc(int size);
void gc_object_free(gc_object* obj);

inline bool gc_is_white(const gc_object* obj) { return (obj->flags & 3) == gc_markbit; }

void gc_list_unlink(gc_object* obj);
void gc_list_append(gc_object* list, gc_object* obj);

// Queue: a white object turns grey and moves to the end of the queued list.
inline void gc_mark_q(gc_object* obj) {
    if (obj && gc_is_white(obj)) {
        obj->flags ^= 1;
        gc_list_unlink(obj);
        gc_list_append(&gc_queued_list, obj);
    }
}
// Mark now: a white object turns black, is counted and scanned at once (depth first).
void gc_mark(gc_object* obj);

// Any other pointer: an object of a derived class, or an interface cross-cast to its object.
template <class T> inline gc_object* gc_object_of(T* p) {
    if constexpr (std::is_base_of<gc_object, T>::value) {
        return static_cast<gc_object*>(p);
    } else {
        static_assert(std::is_base_of<gc_interface, T>::value, "not a collector reference");
        return dynamic_cast<gc_object*>(p);
    }
}
template <class T> inline void gc_mark_q(T* p) { gc_mark_q(gc_object_of(p)); }
template <class T> inline void gc_mark(T* p) { gc_mark(gc_object_of(p)); }

// Queues every registered root global, in registration order.
void gc_mark();

// Roots: the globals through which the program reaches its objects. A root is a function
// that queues what one global refers to; they are kept in the order they were added.
typedef void (*gc_root_marker)();
void gc_add_root(gc_root_marker marker);
void gc_clear_roots();

// The write barrier.
template <class T, class U> inline void gc_assign(T*& lhs, U* rhs) {
    gc_mark_q(rhs);
    lhs = rhs;
}

void gc_mark_queued(int budget);
void gc_sweep();

// One collection step after a host dispatch, once the caller has marked the host's delegate:
// finish the cycle when more than gc_full_cycle_bytes were allocated since the last one,
// otherwise advance marking in proportion to allocation.
void gc_step();

// True when `p` is an object currently known to the collector and not dead. Used to check
// addresses that come from outside the program before they are dereferenced.
bool gc_is_live_object(const void* p);
