#include "runtime/gc.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

int gc_markbit = 1;
gc_object gc_unmarked_list{gc_object::ListHead{}};
gc_object gc_queued_list{gc_object::ListHead{}};
gc_object gc_marked_list{gc_object::ListHead{}};
gc_object gc_free_list{gc_object::ListHead{}};
int gc_new_bytes = 0;
int gc_alloced_bytes = 0;
int gc_max_alloced_bytes = 0;
int gc_marked_bytes = 0;
int gc_free_bytes = 0;
gc_object* gc_cache[8] = {};

namespace {

std::vector<gc_root_marker>& Roots() {
    static std::vector<gc_root_marker> roots;
    return roots;
}

// A block whose object has been destroyed, or that waits in the cache, holds no gc_object to
// reach fields through, so its header is read and written as plain bytes at the offsets the
// fields have in every object. The offsets are measured on a live object: a list head.
template <class T> std::ptrdiff_t HeaderOffset(T gc_object::*field) {
    return reinterpret_cast<const char*>(&(gc_free_list.*field)) -
           reinterpret_cast<const char*>(&gc_free_list);
}

template <class T> T ReadHeader(const void* block, T gc_object::*field) {
    T value;
    std::memcpy(&value, static_cast<const char*>(block) + HeaderOffset(field), sizeof value);
    return value;
}

template <class T> void WriteHeader(void* block, T gc_object::*field, T value) {
    std::memcpy(static_cast<char*>(block) + HeaderOffset(field), &value, sizeof value);
}

void MakeEmpty(gc_object* list) { list->succ = list->pred = list; }

bool IsEmpty(const gc_object* list) { return list->succ == list; }

// Moves every object of `from` to the end of `to` in O(1); `from` becomes empty.
void Splice(gc_object* from, gc_object* to) {
    if (IsEmpty(from)) return;
    gc_object* first = from->succ;
    gc_object* last = from->pred;
    first->pred = to->pred;
    to->pred->succ = first;
    last->succ = to;
    to->pred = last;
    MakeEmpty(from);
}

void DestroyDeadObjects(int bytesWanted) {
    int target = gc_free_bytes - bytesWanted;
    if (target < 0) target = 0;
    while (gc_free_bytes > target) {
        if (IsEmpty(&gc_free_list)) {
            gc_free_bytes = 0;
            return;
        }
        gc_object* dead = gc_free_list.succ;
        gc_list_unlink(dead);
        // Off every list: the release path below tells it apart from a failed construction.
        dead->succ = dead->pred = nullptr;
        delete dead;  // reaches gc_object_free, which lowers gc_free_bytes
    }
}

bool ListHolds(const gc_object* list, const void* p) {
    for (const gc_object* o = list->succ; o != list; o = o->succ) {
        if (o == p) return true;
    }
    return false;
}

}  // namespace

void gc_list_unlink(gc_object* obj) {
    obj->pred->succ = obj->succ;
    obj->succ->pred = obj->pred;
}

void gc_list_append(gc_object* list, gc_object* obj) {
    obj->succ = list;
    obj->pred = list->pred;
    list->pred->succ = obj;
    list->pred = obj;
}

void gc_init1() {
    MakeEmpty(&gc_unmarked_list);
    MakeEmpty(&gc_queued_list);
    MakeEmpty(&gc_marked_list);
    MakeEmpty(&gc_free_list);
}

void gc_init2() { gc_mark(); }

void* gc_object::operator new(std::size_t size) { return gc_object_alloc(static_cast<int>(size)); }

void gc_object::operator delete(void* p) { gc_object_free(static_cast<gc_object*>(p)); }

void* gc_object_alloc(int size) {
    int s = (size + 7) & ~7;
    gc_new_bytes += s;
    DestroyDeadObjects(s);

    void* block;
    if (s < 64 && gc_cache[s >> 3]) {
        block = gc_cache[s >> 3];
        gc_cache[s >> 3] = ReadHeader(block, &gc_object::succ);
    } else {
        block = std::malloc(s);
    }
    // The header is written before the real constructor runs; a bare gc_object built in the
    // block first makes those writes go to an object that exists. Its constructor leaves the
    // header alone, as do the constructors that follow.
    gc_object* obj = ::new (block) gc_object;
    obj->flags = gc_markbit | s;
    gc_list_append(&gc_unmarked_list, obj);

    gc_alloced_bytes += s;
    if (gc_alloced_bytes > gc_max_alloced_bytes) gc_max_alloced_bytes = gc_alloced_bytes;
    return obj;
}

// Reached from the deleting destructor, after the object's destructors have run.
void gc_object_free(gc_object* obj) {
    void* block = obj;
    int size = ReadHeader(block, &gc_object::flags) & ~7;
    gc_object* succ = ReadHeader(block, &gc_object::succ);
    if (succ) {
        // Still on a live list: its constructor threw inside the new-expression, so it was
        // never reachable. Take it off its list and back out its allocation.
        gc_object* pred = ReadHeader(block, &gc_object::pred);
        pred->succ = succ;
        succ->pred = pred;
        gc_alloced_bytes -= size;
    } else {
        gc_free_bytes -= size;
    }
    if (size < 64) {
        WriteHeader(block, &gc_object::succ, gc_cache[size >> 3]);
        gc_cache[size >> 3] = static_cast<gc_object*>(block);
    } else {
        std::free(block);
    }
}

void gc_mark(gc_object* obj) {
    if (obj && gc_is_white(obj)) {
        obj->flags ^= 1;
        gc_marked_bytes += obj->gc_size();
        gc_list_unlink(obj);
        gc_list_append(&gc_marked_list, obj);
        obj->mark();
    }
}

void gc_add_root(gc_root_marker marker) { Roots().push_back(marker); }

void gc_clear_roots() { Roots().clear(); }

void gc_mark() {
    for (gc_root_marker marker : Roots()) marker();
}

void gc_mark_queued(int budget) {
    while (gc_marked_bytes < budget && !IsEmpty(&gc_queued_list)) {
        gc_object* obj = gc_queued_list.succ;
        gc_list_unlink(obj);
        gc_list_append(&gc_marked_list, obj);
        gc_marked_bytes += obj->gc_size();
        obj->mark();
    }
}

void gc_sweep() {
    int unreached = gc_alloced_bytes - gc_marked_bytes;
    if (unreached != 0) {
        Splice(&gc_unmarked_list, &gc_free_list);
        gc_free_bytes += unreached;
    }
    Splice(&gc_marked_list, &gc_unmarked_list);
    gc_alloced_bytes = gc_marked_bytes;
    gc_marked_bytes = 0;
    gc_markbit ^= 1;
}

void gc_step() {
    if (gc_new_bytes > gc_full_cycle_bytes) {
        gc_mark_queued(2147483647);
        gc_sweep();
        gc_mark();
        gc_new_bytes = 0;
        return;
    }
    int64_t budget = static_cast<int64_t>(gc_new_bytes) +
                     (static_cast<int64_t>(gc_alloced_bytes) - gc_new_bytes) * gc_new_bytes /
                         gc_full_cycle_bytes;
    gc_mark_queued(static_cast<int>(budget));
}

bool gc_is_live_object(const void* p) {
    return p && (ListHolds(&gc_unmarked_list, p) || ListHolds(&gc_queued_list, p) ||
                 ListHolds(&gc_marked_list, p));
}
