#include "devices/graphics.h"

#include <GL/gl.h>
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <cmath>
#include <cstdlib>

#include "devices/surface.h"
#include "host/glfw_game.h"

namespace {

const int kPoint = 1;
const int kLine = 2;
const int kTriangle = 3;
const int kQuad = 4;
const int kMinOvalSegments = 12;
const float kTwoPi = 6.2831855f;
const int kAdditiveBlend = 1;

// A channel value truncated toward zero and kept within a byte, so that an out-of-range
// colour can never spill into its neighbours.
std::uint32_t ChannelByte(float value) {
    if (!(value > 0)) return 0;
    if (value >= 255) return 255;
    return static_cast<std::uint32_t>(value);
}

// Vertices of an oval: one per about one pixel of the two radii, in multiples of 4.
int OvalSegments(float segments) {
    if (!(segments > kMinOvalSegments - 1)) return kMinOvalSegments;  // NaN too
    if (segments > KxGraphics::MaxVertices) return KxGraphics::MaxVertices;
    return static_cast<int>(segments) & ~3;
}

// True when rows 0 .. h-1 of w values, row i starting at offset + i * pitch, lie within an
// array of `length` values.
bool RowsFit(int length, int offset, int pitch, int w, int h) {
    const long long first = offset;
    const long long last = offset + static_cast<long long>(h - 1) * pitch;
    const long long lowest = first < last ? first : last;
    const long long highest = first < last ? last : first;
    return lowest >= 0 && highest + w <= length;
}

}  // namespace

KxGraphics::KxGraphics() {
    ReadDrawableSize();
    for (int q = 0; q < MaxQuads; ++q) {
        const std::uint16_t first = static_cast<std::uint16_t>(q * 4);
        std::uint16_t* index = quadIndices + q * 6;
        index[0] = first;
        index[1] = first + 1;
        index[2] = first + 2;
        index[3] = first;
        index[4] = first + 2;
        index[5] = first + 3;
    }
    PackColor();
}

// The framebuffer size: on a high-density screen it is larger than the window's, and drawing
// in framebuffer pixels fills the window.
void KxGraphics::ReadDrawableSize() {
    GLFWwindow* window = KxGlfwGame::Window();
    if (window) glfwGetFramebufferSize(window, &width, &height);
}

int KxGraphics::Width() { return width; }

int KxGraphics::Height() { return height; }

int KxGraphics::BeginRender() {
    ReadDrawableSize();
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);  // top-left origin, y down, one unit per pixel
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(KxVertex), &vertices[0].x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(KxVertex), &vertices[0].u);
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(KxVertex), &vertices[0].color);

    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_TEXTURE_2D);
    batchCount = 0;
    return 1;
}

int KxGraphics::EndRender() {
    Flush();
    if (GLFWwindow* window = KxGlfwGame::Window()) glfwSwapBuffers(window);
    return 0;
}

int KxGraphics::DiscardGraphics() { return 0; }

KxSurface* KxGraphics::LoadSurface(String path) {
    KxSurface* surface = LoadSurface__UNSAFE__(new KxSurface, path);
    if (surface) surface->Bind();  // the texture exists before the first frame
    return surface;
}

KxSurface* KxGraphics::LoadSurface__UNSAFE__(KxSurface* surface, String path) {
    KxGlfwGame* host = dynamic_cast<KxGlfwGame*>(KxGame::_game);
    if (!host) return nullptr;
    int width = 0, height = 0, depth = 0;
    unsigned char* pixels = host->LoadImageData(path, &width, &height, &depth);
    if (!pixels) return nullptr;
    surface->SetData(pixels, width, height, depth);
    return surface;
}

KxSurface* KxGraphics::CreateSurface(int width, int height) {
    KxSurface* surface = new KxSurface;
    surface->width = width;
    surface->height = height;
    surface->depth = 4;
    surface->format = GL_RGBA;
    surface->Bind();
    return surface;
}

int KxGraphics::SetSmoothing(int smooth) {
    if ((smooth != 0) == smoothing) return 0;
    Flush();  // what is pending was drawn with the other sampling
    smoothing = smooth != 0;
    return 0;
}

int KxGraphics::Cls(float r, float g, float b) {
    batchCount = 0;
    glClearColor(r / 255.0f, g / 255.0f, b / 255.0f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    return 0;
}

int KxGraphics::SetAlpha(float alpha) {
    this->alpha = alpha;
    PackColor();
    return 0;
}

int KxGraphics::SetColor(float r, float g, float b) {
    this->r = r;
    this->g = g;
    this->b = b;
    PackColor();
    return 0;
}

// Colour is baked into each vertex as it is added, so changing it never draws the batch.
void KxGraphics::PackColor() {
    color = ChannelByte(alpha * 255) << 24 | ChannelByte(b * alpha) << 16 |
            ChannelByte(g * alpha) << 8 | ChannelByte(r * alpha);
}

int KxGraphics::SetBlend(int blend) {
    Flush();
    if (blend == kAdditiveBlend) {
        glBlendFunc(GL_ONE, GL_ONE);
    } else {
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    }
    return 0;
}

int KxGraphics::SetScissor(int x, int y, int w, int h) {
    Flush();
    if (x == 0 && y == 0 && w == width && h == height) {
        glDisable(GL_SCISSOR_TEST);
    } else {
        glEnable(GL_SCISSOR_TEST);
        glScissor(x, height - y - h, w, h);  // OpenGL counts rows from the bottom
    }
    return 0;
}

int KxGraphics::SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty) {
    this->ix = ix;
    this->iy = iy;
    this->jx = jx;
    this->jy = jy;
    this->tx = tx;
    this->ty = ty;
    // Written so that a NaN anywhere counts as transformed.
    transformed = !(ix == 1 && iy == 0 && jx == 0 && jy == 1 && tx == 0 && ty == 0);
    return 0;
}

KxVertex* KxGraphics::Begin(int kind, int count, KxSurface* surface) {
    if (kind != batchKind || surface != batchSurface || batchCount + count > MaxVertices) {
        Flush();
        batchKind = kind;
        gc_assign(batchSurface, surface);
    }
    KxVertex* first = vertices + batchCount;
    batchCount += count;
    return first;
}

void KxGraphics::Flush() {
    if (batchCount == 0) return;
    if (batchSurface) {
        glEnable(GL_TEXTURE_2D);
        batchSurface->Bind();
        batchSurface->SetSmoothMinification(smoothing);
    }
    switch (batchKind) {
        case kPoint: glDrawArrays(GL_POINTS, 0, batchCount); break;
        case kLine: glDrawArrays(GL_LINES, 0, batchCount); break;
        case kTriangle: glDrawArrays(GL_TRIANGLES, 0, batchCount); break;
        case kQuad:
            glDrawElements(GL_TRIANGLES, batchCount / 4 * 6, GL_UNSIGNED_SHORT, quadIndices);
            break;
        default:
            // Larger polygons cannot share one call: one fan each.
            for (int first = 0; first < batchCount; first += batchKind) {
                glDrawArrays(GL_TRIANGLE_FAN, first, batchKind);
            }
            break;
    }
    if (batchSurface) glDisable(GL_TEXTURE_2D);
    batchCount = 0;
}

inline void KxGraphics::Put(KxVertex* vertex, float x, float y, float u, float v) const {
    if (transformed) {
        vertex->x = x * ix + y * jx + tx;
        vertex->y = x * iy + y * jy + ty;
    } else {
        vertex->x = x;
        vertex->y = y;
    }
    vertex->u = u;
    vertex->v = v;
    vertex->color = color;
}

// Corners clockwise from the top left: (x0, y0), (x1, y0), (x1, y1), (x0, y1).
inline void KxGraphics::PutQuad(KxVertex* quad, float x0, float y0, float x1, float y1,
                                  float u0, float v0, float u1, float v1) const {
    Put(quad + 0, x0, y0, u0, v0);
    Put(quad + 1, x1, y0, u1, v0);
    Put(quad + 2, x1, y1, u1, v1);
    Put(quad + 3, x0, y1, u0, v1);
}

int KxGraphics::DrawPoint(float x, float y) {
    Put(Begin(kPoint, 1, nullptr), x, y, 0, 0);
    return 0;
}

int KxGraphics::DrawLine(float x1, float y1, float x2, float y2) {
    KxVertex* line = Begin(kLine, 2, nullptr);
    Put(line + 0, x1, y1, 0, 0);
    Put(line + 1, x2, y2, 0, 0);
    return 0;
}

int KxGraphics::DrawRect(float x, float y, float w, float h) {
    PutQuad(Begin(kQuad, 4, nullptr), x, y, x + w, y + h, 0, 0, 0, 0);
    return 0;
}

int KxGraphics::DrawOval(float x, float y, float w, float h) {
    const float xr = w * 0.5f, yr = h * 0.5f;
    const float cx = x + xr, cy = y + yr;
    float segments;
    if (transformed) {
        const float xx = xr * ix, xy = xr * iy, yx = yr * jx, yy = yr * jy;
        segments = std::trunc(std::sqrt(xx * xx + xy * xy) + std::sqrt(yx * yx + yy * yy));
    } else {
        segments = std::fabs(std::trunc(xr)) + std::fabs(std::trunc(yr));
    }
    const int n = OvalSegments(segments);

    KxVertex* oval = Begin(n, n, nullptr);
    for (int i = 0; i < n; ++i) {
        const float theta = static_cast<float>(i) * kTwoPi / static_cast<float>(n);
        Put(oval + i, cx + std::cos(theta) * xr, cy - std::sin(theta) * yr, 0, 0);
    }
    return 0;
}

int KxGraphics::DrawPoly(Array<float> verts) {
    const int n = verts.Length() / 2;  // a trailing odd value is ignored
    if (n == 0 || n > MaxVertices) return 0;
    KxVertex* poly = Begin(n, n, nullptr);
    for (int i = 0; i < n; ++i) Put(poly + i, verts[2 * i], verts[2 * i + 1], 0, 0);
    return 0;
}

int KxGraphics::DrawPoly2(Array<float> verts, KxSurface* surface, int srcx, int srcy) {
    const int n = verts.Length() / 4;
    if (n == 0 || n > MaxVertices) return 0;
    KxVertex* poly = Begin(n, n, surface);
    for (int i = 0; i < n; ++i) {
        const float* v = &verts[4 * i];
        Put(poly + i, v[0], v[1], (v[2] + srcx) * surface->uscale,
            (v[3] + srcy) * surface->vscale);
    }
    return 0;
}

int KxGraphics::DrawSurface(KxSurface* surface, float x, float y) {
    const float w = static_cast<float>(surface->Width());
    const float h = static_cast<float>(surface->Height());
    PutQuad(Begin(kQuad, 4, surface), x, y, x + w, y + h, 0, 0, w * surface->uscale,
            h * surface->vscale);
    return 0;
}

int KxGraphics::DrawSurface2(KxSurface* surface, float x, float y, int srcx, int srcy,
                               int srcw, int srch) {
    PutQuad(Begin(kQuad, 4, surface), x, y, x + srcw, y + srch, srcx * surface->uscale,
            srcy * surface->vscale, (srcx + srcw) * surface->uscale,
            (srcy + srch) * surface->vscale);
    return 0;
}

int KxGraphics::ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset,
                             int pitch) {
    Flush();
    if (w <= 0 || h <= 0 || !RowsFit(pixels.Length(), offset, pitch, w, h)) return 0;
    const std::size_t rowBytes = static_cast<std::size_t>(w) * 4;
    // Zeroed, so that pixels outside the framebuffer (which OpenGL leaves alone) read as 0.
    unsigned char* buffer = static_cast<unsigned char*>(std::calloc(rowBytes, h));
    if (!buffer) return 0;
    glReadPixels(x, height - y - h, w, h, GL_BGRA, GL_UNSIGNED_BYTE, buffer);

    // OpenGL's rows run bottom up; the caller's run top down.
    for (int i = 0; i < h; ++i) {
        const unsigned char* in = buffer + (h - 1 - i) * rowBytes;
        int* out = &pixels[offset + i * pitch];
        for (int c = 0; c < w; ++c, in += 4) {
            out[c] = static_cast<int>(static_cast<std::uint32_t>(in[3]) << 24 |
                                      static_cast<std::uint32_t>(in[2]) << 16 |
                                      static_cast<std::uint32_t>(in[1]) << 8 | in[0]);
        }
    }
    std::free(buffer);
    return 0;
}

int KxGraphics::WritePixels2(KxSurface* surface, Array<int> pixels, int x, int y, int w,
                               int h, int offset, int pitch) {
    Flush();
    if (w <= 0 || h <= 0 || !RowsFit(pixels.Length(), offset, pitch, w, h)) return 0;
    surface->SetSubData(x, y, w, h, pixels.Data() + offset, pitch);
    return 0;
}

void KxGraphics::mark() { gc_mark_q(batchSurface); }
