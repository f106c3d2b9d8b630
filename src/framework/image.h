// Images: a surface cut into equally sized frames, with a handle (the point of a frame that is
// placed at the drawing position).
#pragma once

#include "runtime/array.h"
#include "runtime/object.h"

class KxSurface;

// The top-left pixel of one frame inside its surface.
class c_Frame : public Object {
public:
    int m_x = 0;
    int m_y = 0;

    c_Frame() {}
    c_Frame* m_new(int x, int y);
};

class c_Image : public Object {
public:
    // Put the handle at the frame's centre. Consumed when applied: stored flags never hold it.
    static constexpr int MidHandle = 1;
    // A one-pixel border left and right of each frame that is not drawn.
    static constexpr int XPadding = 2;
    // A one-pixel border above and below each frame that is not drawn.
    static constexpr int YPadding = 4;
    // The image is exactly its whole surface, which the device draws with its simplest quad.
    static constexpr int FullFrame = 65536;

    static int m_DefaultFlags;

    KxSurface* m_surface = nullptr;
    int m_width = 0;  // of one frame, without padding
    int m_height = 0;
    Array<c_Frame*> m_frames;
    int m_flags = 0;
    float m_tx = 0;
    float m_ty = 0;
    c_Image* m_source = nullptr;  // an image whose surface this one shares

    c_Image() {}
    c_Image* m_new();
    // `frameCount` frames side by side in one row over the whole surface.
    c_Image* p_Init(KxSurface* surface, int frameCount, int flags);
    // Frames of frameWidth x frameHeight, row by row, inside the source rectangle (srcx, srcy,
    // srcw, srch) starting at (x, y) in it. A frame that does not fit is a runtime error.
    c_Image* p_Init2(KxSurface* surface, int x, int y, int frameWidth, int frameHeight,
                     int frameCount, int flags, c_Image* source, int srcx, int srcy, int srcw,
                     int srch);
    int p_ApplyFlags(int flags);
    int p_SetHandle(float tx, float ty);

    void mark() override;
};
