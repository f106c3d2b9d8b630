// The registry of asynchronous event sources: objects that want to be polled once per update
// (loaders, network requests). The game polls them at the start of each update.
#pragma once

#include "runtime/array.h"
#include "runtime/object.h"

class c_IAsyncEventSource : public gc_interface {
public:
    virtual int UpdateAsyncEvents() = 0;
};

// A growable stack of sources. Slots past the length always hold m_NIL, so the collector never
// keeps a removed source alive through the spare capacity.
class c_Stack : public Object {
public:
    static c_IAsyncEventSource* m_NIL;

    Array<c_IAsyncEventSource*> m_data;
    int m_length = 0;

    c_Stack() {}
    c_Stack* m_new();
    // A stack holding a copy of the given sources.
    c_Stack* m_new2(Array<c_IAsyncEventSource*> data);

    int p_Length();
    // Shrinking clears the vacated slots; growing past the capacity reallocates to
    // max(2 * length + 10, n). A negative length counts as 0.
    int p_Length(int n);
    // The source at the index, or m_NIL outside 0 .. length - 1.
    c_IAsyncEventSource* p_Get(int index);
    int p_Push(c_IAsyncEventSource* value);
    // Removes every occurrence of the value, keeping the order of the others.
    int p_RemoveEach(c_IAsyncEventSource* value);

    void mark() override;
};

extern c_Stack* kx_asyncevent__sources;
// The source being polled; null outside polling.
extern c_IAsyncEventSource* kx_asyncevent__current;

int kx_asyncevent_AddAsyncEventSource(c_IAsyncEventSource* source);
// A source may remove itself while it is being polled; the poll then continues with the source
// that moved into its place.
int kx_asyncevent_RemoveAsyncEventSource(c_IAsyncEventSource* source);
// Polls every registered source once. A call made while a poll runs returns at once.
int kx_asyncevent_UpdateAsyncEvents();
