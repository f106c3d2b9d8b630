#include "framework/image.h"

#include "devices/surface.h"
#include "runtime/debugger.h"

int c_Image::m_DefaultFlags = 0;

c_Frame* c_Frame::m_new(int x, int y) {
    m_x = x;
    m_y = y;
    return this;
}

c_Image* c_Image::m_new() { return this; }

c_Image* c_Image::p_Init(KxSurface* surface, int frameCount, int flags) {
    // Without this the frame width below would divide by zero.
    if (frameCount < 1) kxError(String("Image frame count must be at least 1"));
    gc_assign(m_surface, surface);
    m_width = surface->Width() / frameCount;
    m_height = surface->Height();
    gc_assign(m_frames, Array<c_Frame*>(frameCount));
    for (int i = 0; i < frameCount; ++i) {
        gc_assign(m_frames[i], (new c_Frame)->m_new(i * m_width, 0));
    }
    p_ApplyFlags(flags);
    return this;
}

c_Image* c_Image::p_Init2(KxSurface* surface, int x, int y, int frameWidth, int frameHeight,
                          int frameCount, int flags, c_Image* source, int srcx, int srcy,
                          int srcw, int srch) {
    gc_assign(m_surface, surface);
    gc_assign(m_source, source);
    m_width = frameWidth;
    m_height = frameHeight;
    gc_assign(m_frames, Array<c_Frame*>(frameCount));
    for (int i = 0; i < frameCount; ++i) {
        if (x + frameWidth > srcw) {
            y += frameHeight;
            if (frameWidth > srcw) kxError(String("Image frame outside surface"));
            x = 0;
        }
        if (y + frameHeight > srch) kxError(String("Image frame outside surface"));
        gc_assign(m_frames[i], (new c_Frame)->m_new(x + srcx, y + srcy));
        x += frameWidth;
    }
    p_ApplyFlags(flags);
    return this;
}

int c_Image::p_ApplyFlags(int flags) {
    m_flags = flags;
    const int frameCount = m_frames.Length();
    if (m_flags & XPadding) {
        for (int i = 0; i < frameCount; ++i) m_frames[i]->m_x += 1;
        m_width -= 2;
    }
    if (m_flags & YPadding) {
        for (int i = 0; i < frameCount; ++i) m_frames[i]->m_y += 1;
        m_height -= 2;
    }
    if (m_flags & MidHandle) {
        m_tx = 0.5f * static_cast<float>(m_width);
        m_ty = 0.5f * static_cast<float>(m_height);
        m_flags &= ~MidHandle;
    }
    if (frameCount == 1 && m_frames[0]->m_x == 0 && m_frames[0]->m_y == 0 &&
        m_width == m_surface->Width() && m_height == m_surface->Height()) {
        m_flags |= FullFrame;
    }
    return 0;
}

int c_Image::p_SetHandle(float tx, float ty) {
    m_tx = tx;
    m_ty = ty;
    m_flags &= ~MidHandle;
    return 0;
}

void c_Image::mark() {
    gc_mark_q(m_surface);
    gc_mark_q(m_frames);
    gc_mark_q(m_source);
}
