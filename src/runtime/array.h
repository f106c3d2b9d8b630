// Array<T>: a fixed-length, collector-managed array of numbers, strings or object references.
// The value is one reference to a representation that holds the header, the length and
// exactly its elements. Every empty array of a type shares one static representation that
// never enters a collector list.
#pragma once

#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>

#include "runtime/debugger.h"
#include "runtime/gc.h"
#include "runtime/string.h"

// Ends the program: that many elements would not fit the collector's int sizes.
[[noreturn]] inline void ArrayTooLong() { kxError(String("Array too long")); }

template <class T> class Array {
public:
    struct Rep : gc_object {
        int length;

        T* data() { return reinterpret_cast<T*>(this + 1); }

        // A heap representation of n elements, zeroed (empty strings for String).
        explicit Rep(int n) : length(n) {
            if constexpr (std::is_same<T, String>::value) {
                t_create(n, data());
            } else {
                std::memset(static_cast<void*>(data()), 0, sizeof(T) * n);
            }
        }
        ~Rep() override {
            if constexpr (std::is_same<T, String>::value) t_destroy(length, data());
        }
        void mark() override {
            if constexpr (std::is_pointer<T>::value) {
                T* p = data();
                for (int i = 0; i < length; ++i) {
                    if (p[i]) gc_mark(p[i]);
                }
            }
        }

        static void* operator new(std::size_t size, int n) {
            // Computed wide: cut to int, an oversized array would get a small block that the
            // constructor then overruns.
            int64_t bytes = static_cast<int64_t>(size) + static_cast<int64_t>(sizeof(T)) * n;
            if (bytes > gc_max_object_bytes) ArrayTooLong();
            return gc_object_alloc(static_cast<int>(bytes));
        }
        // Only reached when a constructor throws during a new-expression.
        static void operator delete(void* p, int) { gc_object::operator delete(p); }
        static void operator delete(void* p) { gc_object::operator delete(p); }

        struct StaticEmpty {};
        explicit Rep(StaticEmpty) : length(0) {
            succ = pred = nullptr;
            flags = 3;  // never white: never marked, moved or freed
        }
    };

    static Rep nullRep;

    Array() : rep_(&nullRep) {}
    explicit Array(int length) : rep_(length > 0 ? new (length) Rep(length) : &nullRep) {}
    // A new array holding copies of the n elements at src.
    Array(const T* src, int n) : Array(n) {
        for (int i = 0; i < n; ++i) rep_->data()[i] = src[i];
    }

    int Length() const { return rep_->length; }
    // No bounds check: callers keep the index within 0 .. Length() - 1. Stores of object
    // references into an element go through gc_assign.
    T& operator[](int index) const { return rep_->data()[index]; }
    T* Data() const { return rep_->data(); }

    // Arrays never change length: a new array of length n holding the old elements that fit.
    Array<T> Resize(int n) const {
        Array<T> result(n);
        int kept = n < Length() ? n : Length();
        for (int i = 0; i < kept; ++i) result.rep_->data()[i] = rep_->data()[i];
        return result;
    }

    Rep* GetRep() const { return rep_; }
    bool IsStaticEmpty() const { return rep_ == &nullRep; }

private:
    Rep* rep_;
};

template <class T> typename Array<T>::Rep Array<T>::nullRep{typename Array<T>::Rep::StaticEmpty{}};

template <class T> inline void gc_mark_q(const Array<T>& a) { gc_mark_q(static_cast<gc_object*>(a.GetRep())); }
template <class T> inline void gc_mark(const Array<T>& a) { gc_mark(static_cast<gc_object*>(a.GetRep())); }

// The write barrier for array-valued fields and globals.
template <class T> inline void gc_assign(Array<T>& lhs, const Array<T>& rhs) {
    gc_mark_q(rhs);
    lhs = rhs;
}
