// KxSurface: one picture. Its pixels stay in memory for the surface's whole life so that the
// OpenGL texture made from them can be made again, lazily, after the host opened a new window
// (every texture of the old context is gone then).
//
// Texture states: none (seq == -1), live (seq == glfwGraphicsSeq), stale (any other value).
// Stale names are never deleted, since their context no longer exists.
#pragma once

#include "runtime/object.h"

class KxSurface : public Object {
public:
    // Rows top first, width * depth bytes each, no padding; from the C heap and owned here.
    // Colour channels of pixels with an alpha channel are premultiplied by alpha.
    unsigned char* data = nullptr;
    int width = 0;
    int height = 0;
    int depth = 0;   // bytes per pixel, 1 to 4
    int format = 0;  // the OpenGL format for depth: internal and upload format alike
    int seq = -1;    // glfwGraphicsSeq when the texture was made
    unsigned int texture = 0;
    // 1 / texture size: the texture may be padded to a power of two, so texel coordinates of
    // the picture itself are scaled by these, not by 1 / width and 1 / height.
    float uscale = 0;
    float vscale = 0;
    // How the texture is sampled where it is drawn smaller than its pixels: false the nearest
    // texel (as every new texture starts), true a smooth blend of the nearest four.
    bool smoothMinification = false;
    // Whether the driver keeps halved copies of the texture for smooth minification.
    bool mipmapped = false;

    KxSurface() {}
    // Releases texture and pixels like Discard; the collector destroys surfaces on the thread
    // that owns the OpenGL context.
    ~KxSurface() override;

    // Gives up the texture (when live) and the pixels.
    virtual int Discard();
    virtual int Width();
    virtual int Height();
    virtual int Loaded();
    // Finishes a surface filled away from the OpenGL thread: makes its texture.
    virtual int OnUnsafeLoadComplete();

    // Adopts a block of pixels from the C heap and premultiplies them.
    void SetData(unsigned char* pixels, int width, int height, int depth);
    // Writes a rectangle of 32-bit ARGB values (row r of it starts at src + r * pitch) into an
    // RGBA surface, and into its texture when that is live. The part outside the surface is
    // dropped. Other formats ignore the call.
    void SetSubData(int x, int y, int w, int h, const int* src, int pitch);
    // Makes the texture current on GL_TEXTURE_2D, making it first when there is none for the
    // current window. Does nothing before the first window exists.
    void Bind();
    // Sets the bound texture's sampling where it is drawn smaller than its pixels (see
    // smoothMinification); drawn larger it always takes the nearest texel.
    void SetSmoothMinification(bool smooth);

private:
    void Release();
    void CreateTexture();
    void UploadRect(int x, int y, int w, int h);
};
