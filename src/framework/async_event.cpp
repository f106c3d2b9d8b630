#include "framework/async_event.h"

c_IAsyncEventSource* c_Stack::m_NIL = nullptr;
c_Stack* kx_asyncevent__sources = nullptr;
c_IAsyncEventSource* kx_asyncevent__current = nullptr;

namespace {

const int kMinimumGrowth = 10;

}  // namespace

c_Stack* c_Stack::m_new() { return this; }

c_Stack* c_Stack::m_new2(Array<c_IAsyncEventSource*> data) {
    gc_assign(m_data, Array<c_IAsyncEventSource*>(data.Data(), data.Length()));
    m_length = data.Length();
    return this;
}

int c_Stack::p_Length() { return m_length; }

int c_Stack::p_Length(int n) {
    if (n < 0) n = 0;
    for (int i = n; i < m_length; ++i) gc_assign(m_data[i], m_NIL);
    if (n > m_data.Length()) {
        int capacity = 2 * m_length + kMinimumGrowth;
        if (capacity < n) capacity = n;
        gc_assign(m_data, m_data.Resize(capacity));
    }
    m_length = n;
    return 0;
}

c_IAsyncEventSource* c_Stack::p_Get(int index) {
    if (index < 0 || index >= m_length) return m_NIL;
    return m_data[index];
}

int c_Stack::p_Push(c_IAsyncEventSource* value) {
    int slot = m_length;
    p_Length(m_length + 1);
    gc_assign(m_data[slot], value);
    return 0;
}

int c_Stack::p_RemoveEach(c_IAsyncEventSource* value) {
    int kept = 0;
    for (int i = 0; i < m_length; ++i) {
        if (m_data[i] != value) gc_assign(m_data[kept++], m_data[i]);
    }
    p_Length(kept);
    return 0;
}

void c_Stack::mark() { gc_mark_q(m_data); }

int kx_asyncevent_AddAsyncEventSource(c_IAsyncEventSource* source) {
    if (source) kx_asyncevent__sources->p_Push(source);
    return 0;
}

int kx_asyncevent_RemoveAsyncEventSource(c_IAsyncEventSource* source) {
    // Clearing the current source tells the poll not to advance past the slot it vacates.
    if (source == kx_asyncevent__current) kx_asyncevent__current = nullptr;
    kx_asyncevent__sources->p_RemoveEach(source);
    return 0;
}

int kx_asyncevent_UpdateAsyncEvents() {
    if (kx_asyncevent__current) return 0;
    int i = 0;
    while (i < kx_asyncevent__sources->p_Length()) {
        gc_assign(kx_asyncevent__current, kx_asyncevent__sources->p_Get(i));
        kx_asyncevent__current->UpdateAsyncEvents();
        if (kx_asyncevent__current) ++i;
    }
    kx_asyncevent__current = nullptr;
    return 0;
}
