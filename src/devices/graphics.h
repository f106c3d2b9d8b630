// KxGraphics: the one object through which everything on screen is drawn. Drawing calls
// become vertices in one client-side array that fixed-function OpenGL draws in as few calls as
// possible: a batch holds primitives of one vertex count ("kind") on one surface, so colour and
// matrix changes never split it, while texture, blend and scissor changes do.
#pragma once

#include <cstdint>

#include "runtime/array.h"
#include "runtime/object.h"

class KxSurface;

// One vertex exactly as the OpenGL client arrays read it: position at byte 0, texture
// coordinates at 8, colour at 16, stride 20.
struct KxVertex {
    float x, y;
    float u, v;
    // In memory red, green, blue, alpha (little-endian packing of (a << 24) | (b << 16) |
    // (g << 8) | r), premultiplied by alpha.
    std::uint32_t color;
};
static_assert(sizeof(KxVertex) == 20, "the client arrays use a stride of 20 bytes");

class KxGraphics : public Object {
public:
    static constexpr int MaxVertices = 1024;
    static constexpr int MaxQuads = MaxVertices / 4;

    int width = 0;
    int height = 0;
    std::uint32_t color = 0;
    float r = 255, g = 255, b = 255;
    float alpha = 1;
    // (x, y) maps to (x * ix + y * jx + tx, x * iy + y * jy + ty).
    float ix = 1, iy = 0, jx = 0, jy = 1, tx = 0, ty = 0;
    // False only for the exact identity: then coordinates are copied untouched.
    bool transformed = false;
    KxVertex vertices[MaxVertices];
    // Quad q is the triangles (4q, 4q+1, 4q+2) and (4q, 4q+2, 4q+3).
    std::uint16_t quadIndices[MaxQuads * 6];
    // Textures drawn smaller than their pixels are blended smoothly rather than sampled at
    // the nearest texel (see SetSmoothing).
    bool smoothing = false;
    int batchKind = 0;  // vertices per primitive of the pending batch
    int batchCount = 0;
    KxSurface* batchSurface = nullptr;

    // Reads the drawable size of the host's window; the batch starts empty.
    KxGraphics();

    virtual int Width();
    virtual int Height();
    // Re-establishes every piece of OpenGL state the device relies on (a new window brings a
    // new context) and drops whatever was pending. Always 1: the frame is to be rendered.
    virtual int BeginRender();
    // Draws the pending batch and shows the frame.
    virtual int EndRender();
    virtual int DiscardGraphics();

    // A surface with the file's pixels and a texture, or null when the file does not load.
    virtual KxSurface* LoadSurface(String path);
    // Fills `surface` from the file without touching OpenGL; null when the file does not load.
    virtual KxSurface* LoadSurface__UNSAFE__(KxSurface* surface, String path);
    // An empty RGBA surface with a texture whose contents are undefined until written.
    virtual KxSurface* CreateSurface(int width, int height);

    // Drops the pending batch undrawn and clears to the colour (0 to 255 per channel).
    virtual int Cls(float r, float g, float b);
    virtual int SetAlpha(float alpha);
    virtual int SetColor(float r, float g, float b);
    // 1 is additive; anything else is premultiplied-alpha blending.
    virtual int SetBlend(int blend);
    // Top-left origin; the whole drawable area turns scissoring off.
    virtual int SetScissor(int x, int y, int w, int h);
    virtual int SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty);
    // 1: textures drawn smaller than their pixels are sampled smoothly, so a picture shown
    // below its own size loses no thin line; 0: the nearest texel everywhere, the crisp look.
    // Textures drawn larger than their pixels always take the nearest texel.
    virtual int SetSmoothing(int smooth);

    virtual int DrawPoint(float x, float y);
    virtual int DrawRect(float x, float y, float w, float h);
    virtual int DrawLine(float x1, float y1, float x2, float y2);
    virtual int DrawOval(float x, float y, float w, float h);
    // x, y per vertex; nothing is drawn for 0 or more than MaxVertices vertices.
    virtual int DrawPoly(Array<float> verts);
    // x, y, u, v per vertex, u and v in texels offset by (srcx, srcy).
    virtual int DrawPoly2(Array<float> verts, KxSurface* surface, int srcx, int srcy);
    virtual int DrawSurface(KxSurface* surface, float x, float y);
    virtual int DrawSurface2(KxSurface* surface, float x, float y, int srcx, int srcy,
                             int srcw, int srch);

    // Copies a w x h block of the frame into pixels (row i from the top at offset + i * pitch)
    // as ARGB values. Does nothing when the array cannot hold the rows.
    virtual int ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset,
                           int pitch);
    // Writes ARGB values into an RGBA surface. Does nothing when the rows lie outside pixels.
    virtual int WritePixels2(KxSurface* surface, Array<int> pixels, int x, int y, int w,
                             int h, int offset, int pitch);

    // Reserves `count` vertex records for one primitive of `kind` vertices on `surface` (null
    // for untextured ones), drawing the pending batch first when it cannot take them.
    KxVertex* Begin(int kind, int count, KxSurface* surface);
    // Draws the pending batch; kind and surface stay for the next primitive to join.
    void Flush();

    void mark() override;

private:
    void ReadDrawableSize();
    void PackColor();
    // Writes one vertex with the current colour, through the matrix when there is one.
    void Put(KxVertex* vertex, float x, float y, float u, float v) const;
    void PutQuad(KxVertex* quad, float x0, float y0, float x1, float y1, float u0, float v0,
                 float u1, float v1) const;
};
