// Object: the root of every class of the program, and ThrowableObject: the root of every
// exception it throws (thrown and caught by pointer).
#pragma once

#include "runtime/gc.h"
#include "runtime/string.h"

class Object : public gc_object {
public:
    Object() {}
    // Identity: an object equals only itself and orders by address.
    virtual bool Equals(Object* other) { return this == other; }
    virtual int Compare(Object* other) {
        return static_cast<int>(reinterpret_cast<char*>(this) - reinterpret_cast<char*>(other));
    }
    // The text a debugger shows for this object.
    virtual String debug() { return String("+Object\n"); }
};

class ThrowableObject : public Object {
public:
    ThrowableObject() {}
};
