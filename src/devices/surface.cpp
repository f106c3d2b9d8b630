#include "devices/surface.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstdlib>

#include "host/glfw_game.h"

namespace {

const int kRgbaDepth = 4;
const int kMostStaleErrors = 8;

int FormatOfDepth(int depth, int unchanged) {
    switch (depth) {
        case 1: return GL_LUMINANCE;
        case 2: return GL_LUMINANCE_ALPHA;
        case 3: return GL_RGB;
        case 4: return GL_RGBA;
        default: return unchanged;
    }
}

// The smallest power of two that is not below `size` (1 for sizes of 1 or less).
int PowerOfTwoAtLeast(int size) {
    int result = 1;
    while (result < size && result < (1 << 30)) result *= 2;
    return result;
}

float Reciprocal(int size) { return size > 0 ? 1.0f / static_cast<float>(size) : 0.0f; }

// Colour channels times alpha / 255, so that blending with (ONE, ONE_MINUS_SRC_ALPHA) is right.
void Premultiply(unsigned char* pixels, int count, int depth) {
    if (depth != 2 && depth != 4) return;
    const int alphaIndex = depth - 1;
    for (int i = 0; i < count; ++i) {
        unsigned char* p = pixels + i * depth;
        const int a = p[alphaIndex];
        for (int c = 0; c < alphaIndex; ++c) p[c] = static_cast<unsigned char>(p[c] * a / 255);
    }
}

}  // namespace

KxSurface::~KxSurface() { Release(); }

int KxSurface::Discard() {
    Release();
    return 0;
}

int KxSurface::Width() { return width; }

int KxSurface::Height() { return height; }

int KxSurface::Loaded() { return 1; }

int KxSurface::OnUnsafeLoadComplete() {
    Bind();
    return 1;
}

void KxSurface::Release() {
    if (seq == glfwGraphicsSeq) {
        glDeleteTextures(1, &texture);
        seq = -1;
    }
    std::free(data);
    data = nullptr;
}

void KxSurface::SetData(unsigned char* pixels, int width, int height, int depth) {
    if (data != pixels) std::free(data);
    data = pixels;
    this->width = width;
    this->height = height;
    this->depth = depth;
    format = FormatOfDepth(depth, format);
    if (data && width > 0 && height > 0) Premultiply(data, width * height, depth);
}

void KxSurface::SetSubData(int x, int y, int w, int h, const int* src, int pitch) {
    if (format != GL_RGBA) return;

    // Only the part that lies on the surface is written; src moves along with a clipped edge.
    const int left = std::max(x, 0), top = std::max(y, 0);
    const int right = std::min(x + w, width), bottom = std::min(y + h, height);
    if (left >= right || top >= bottom) return;
    src += (top - y) * pitch + (left - x);
    x = left, y = top, w = right - left, h = bottom - top;

    if (!data) data = static_cast<unsigned char*>(std::malloc(width * height * kRgbaDepth));
    for (int r = 0; r < h; ++r) {
        unsigned char* out = data + ((y + r) * width + x) * kRgbaDepth;
        for (int c = 0; c < w; ++c, out += kRgbaDepth) {
            const unsigned int p = static_cast<unsigned int>(src[r * pitch + c]);
            const unsigned int a = p >> 24;
            out[0] = static_cast<unsigned char>((p >> 16 & 255) * a / 255);
            out[1] = static_cast<unsigned char>((p >> 8 & 255) * a / 255);
            out[2] = static_cast<unsigned char>((p & 255) * a / 255);
            out[3] = static_cast<unsigned char>(a);
        }
    }

    if (seq != glfwGraphicsSeq) return;  // the next Bind uploads the whole picture
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    UploadRect(x, y, w, h);
}

// Stored rows are `width` pixels apart, so only a rectangle of whole rows goes up in one call.
void KxSurface::UploadRect(int x, int y, int w, int h) {
    const int rowBytes = width * depth;
    if (w == width) {
        glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, w, h, format, GL_UNSIGNED_BYTE,
                        data + y * rowBytes);
        return;
    }
    for (int r = 0; r < h; ++r) {
        glTexSubImage2D(GL_TEXTURE_2D, 0, x, y + r, w, 1, format, GL_UNSIGNED_BYTE,
                        data + (y + r) * rowBytes + x * depth);
    }
}

void KxSurface::Bind() {
    if (glfwGraphicsSeq == 0) return;
    if (seq == glfwGraphicsSeq) {
        glBindTexture(GL_TEXTURE_2D, texture);
        return;
    }
    CreateTexture();
}

void KxSurface::SetSmoothMinification(bool smooth) {
    if (seq != glfwGraphicsSeq || smooth == smoothMinification) return;
    // Smaller than half its size a texture would skip texels even when blended; its mipmaps
    // (halved copies) keep every line, where the driver makes them. The one nearest in size
    // is blended alone: sharper text than a blend of two, for less work per pixel.
    const int smoothFilter = mipmapped ? GL_LINEAR_MIPMAP_NEAREST : GL_LINEAR;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, smooth ? smoothFilter : GL_NEAREST);
    smoothMinification = smooth;
}

void KxSurface::CreateTexture() {
    seq = glfwGraphicsSeq;
    smoothMinification = false;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    // The driver keeps the mipmaps up to date with every upload from here on; one without
    // them (a core-only context) refuses the setting, and smooth sampling then does without.
    // An error left from before must not be taken for the answer (a context without one
    // keeps no more than a few).
    for (int stale = 0; stale < kMostStaleErrors && glGetError() != GL_NO_ERROR; ++stale) {
    }
    glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, GL_TRUE);
    mipmapped = glGetError() == GL_NO_ERROR;

    int textureWidth = width, textureHeight = height;
    glTexImage2D(GL_TEXTURE_2D, 0, format, textureWidth, textureHeight, 0, format,
                 GL_UNSIGNED_BYTE, nullptr);
    if (glGetError() != GL_NO_ERROR) {
        // Most likely a driver without textures of any size: pad to powers of two. The
        // padding is never sampled by draws that stay inside the picture.
        textureWidth = PowerOfTwoAtLeast(width);
        textureHeight = PowerOfTwoAtLeast(height);
        glTexImage2D(GL_TEXTURE_2D, 0, format, textureWidth, textureHeight, 0, format,
                     GL_UNSIGNED_BYTE, nullptr);
    }
    uscale = Reciprocal(textureWidth);
    vscale = Reciprocal(textureHeight);

    if (!data) return;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, format, GL_UNSIGNED_BYTE, data);
}
