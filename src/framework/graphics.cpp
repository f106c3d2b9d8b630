#include "framework/graphics.h"

#include <cmath>

#include "framework/data.h"
#include "runtime/debugger.h"

KxGraphics* kx_graphics_device = nullptr;
KxGraphics* kx_graphics_renderDevice = nullptr;
c_GraphicsContext* kx_graphics_context = nullptr;

namespace {

// The single-precision value of pi / 180.
const float D2R = 0.0174532924f;

const char* const kDefaultFontPath = "dravo_font.png";
const int kDefaultFontFrames = 96;
const int kDefaultFontFlags = c_Image::XPadding;
const int kDefaultFirstChar = 32;
const int kAlphaBlend = 0;

c_GraphicsContext* Context() { return kx_graphics_context; }

// Draws one frame of an image with the frame's top-left corner at (x, y), under the current
// matrix. A whole-surface image ignores the frame number, as it has only the one frame.
void DrawFrameAt(c_Image* image, float x, float y, int frame) {
    if (image->m_flags & c_Image::FullFrame) {
        kx_graphics_renderDevice->DrawSurface(image->m_surface, x, y);
        return;
    }
    // Reading past the frame array would take a frame position from unrelated memory.
    if (frame < 0 || frame >= image->m_frames.Length()) {
        kxError(String("Image frame index out of range"));
    }
    const c_Frame* f = image->m_frames[frame];
    kx_graphics_renderDevice->DrawSurface2(image->m_surface, x, y, f->m_x, f->m_y,
                                           image->m_width, image->m_height);
}

}  // namespace

c_GraphicsContext* c_GraphicsContext::m_new() { return this; }

int c_GraphicsContext::p_Validate() {
    if (m_matDirty) {
        kx_graphics_renderDevice->SetMatrix(m_ix, m_iy, m_jx, m_jy, m_tx, m_ty);
        m_matDirty = 0;
    }
    return 0;
}

void c_GraphicsContext::mark() {
    gc_mark_q(m_defaultFont);
    gc_mark_q(m_currentFont);
    gc_mark_q(m_matrixStack);
}

int kx_graphics_SetGraphicsDevice(KxGraphics* device) {
    gc_assign(kx_graphics_device, device);
    return 0;
}

int kx_graphics_BeginRender() {
    gc_assign(kx_graphics_renderDevice, kx_graphics_device);
    c_GraphicsContext* context = Context();
    context->m_matrixSp = 0;
    kx_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
    kx_graphics_SetColor(255, 255, 255);
    kx_graphics_SetAlpha(1);
    kx_graphics_SetBlend(kAlphaBlend);
    kx_graphics_SetScissor(0, 0, static_cast<float>(kx_graphics_DeviceWidth()),
                           static_cast<float>(kx_graphics_DeviceHeight()));
    return 0;
}

int kx_graphics_EndRender() {
    kx_graphics_renderDevice = nullptr;
    return 0;
}

int kx_graphics_DeviceWidth() { return kx_graphics_device->Width(); }

int kx_graphics_DeviceHeight() { return kx_graphics_device->Height(); }

int kx_graphics_SetColor(float r, float g, float b) {
    c_GraphicsContext* context = Context();
    context->m_color_r = r;
    context->m_color_g = g;
    context->m_color_b = b;
    kx_graphics_renderDevice->SetColor(r, g, b);
    return 0;
}

int kx_graphics_SetAlpha(float alpha) {
    Context()->m_currentAlpha = alpha;
    kx_graphics_renderDevice->SetAlpha(alpha);
    return 0;
}

int kx_graphics_SetBlend(int blend) {
    Context()->m_currentBlend = blend;
    kx_graphics_renderDevice->SetBlend(blend);
    return 0;
}

int kx_graphics_SetSmoothing(int smooth) {
    kx_graphics_renderDevice->SetSmoothing(smooth);
    return 0;
}

int kx_graphics_SetScissor(float x, float y, float w, float h) {
    c_GraphicsContext* context = Context();
    context->m_scissor_x = x;
    context->m_scissor_y = y;
    context->m_scissor_width = w;
    context->m_scissor_height = h;
    kx_graphics_renderDevice->SetScissor(static_cast<int>(x), static_cast<int>(y),
                                         static_cast<int>(w), static_cast<int>(h));
    return 0;
}

int kx_graphics_Cls(float r, float g, float b) {
    kx_graphics_renderDevice->Cls(r, g, b);
    return 0;
}

int kx_graphics_SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty) {
    c_GraphicsContext* context = Context();
    context->m_ix = ix;
    context->m_iy = iy;
    context->m_jx = jx;
    context->m_jy = jy;
    context->m_tx = tx;
    context->m_ty = ty;
    context->m_matDirty = 1;
    return 0;
}

int kx_graphics_SetMatrix2(Array<float> m) {
    return kx_graphics_SetMatrix(m[0], m[1], m[2], m[3], m[4], m[5]);
}

int kx_graphics_Transform(float a, float b, float c, float d, float e, float f) {
    c_GraphicsContext* m = Context();
    return kx_graphics_SetMatrix(m->m_ix * a + m->m_jx * b, m->m_iy * a + m->m_jy * b,
                                 m->m_ix * c + m->m_jx * d, m->m_iy * c + m->m_jy * d,
                                 m->m_ix * e + m->m_jx * f + m->m_tx,
                                 m->m_iy * e + m->m_jy * f + m->m_ty);
}

int kx_graphics_Transform2(Array<float> m) {
    return kx_graphics_Transform(m[0], m[1], m[2], m[3], m[4], m[5]);
}

int kx_graphics_Translate(float x, float y) { return kx_graphics_Transform(1, 0, 0, 1, x, y); }

int kx_graphics_Rotate(float degrees) {
    const float theta = degrees * D2R;
    const float s = static_cast<float>(std::sin(static_cast<double>(theta)));
    const float c = static_cast<float>(std::cos(static_cast<double>(theta)));
    return kx_graphics_Transform(c, -s, s, c, 0, 0);
}

int kx_graphics_Scale(float x, float y) { return kx_graphics_Transform(x, 0, 0, y, 0, 0); }

int kx_graphics_PushMatrix() {
    c_GraphicsContext* context = Context();
    const int sp = context->m_matrixSp;
    // Writing past the stack would overwrite the heap beyond it.
    if (sp + 6 > context->m_matrixStack.Length()) kxError(String("Matrix stack overflow"));
    float* slot = &context->m_matrixStack[sp];
    slot[0] = context->m_ix;
    slot[1] = context->m_iy;
    slot[2] = context->m_jx;
    slot[3] = context->m_jy;
    slot[4] = context->m_tx;
    slot[5] = context->m_ty;
    context->m_matrixSp = sp + 6;
    return 0;
}

int kx_graphics_PopMatrix() {
    c_GraphicsContext* context = Context();
    const int sp = context->m_matrixSp - 6;
    if (sp < 0) kxError(String("Matrix stack underflow"));
    context->m_matrixSp = sp;
    const float* slot = &context->m_matrixStack[sp];
    return kx_graphics_SetMatrix(slot[0], slot[1], slot[2], slot[3], slot[4], slot[5]);
}

int kx_graphics_DrawRect(float x, float y, float w, float h) {
    Context()->p_Validate();
    kx_graphics_renderDevice->DrawRect(x, y, w, h);
    return 0;
}

int kx_graphics_DrawLine(float x1, float y1, float x2, float y2) {
    Context()->p_Validate();
    kx_graphics_renderDevice->DrawLine(x1, y1, x2, y2);
    return 0;
}

int kx_graphics_DrawEllipse(float x, float y, float xr, float yr) {
    Context()->p_Validate();
    kx_graphics_renderDevice->DrawOval(x - xr, y - yr, 2 * xr, 2 * yr);
    return 0;
}

int kx_graphics_DrawImage(c_Image* image, float x, float y, int frame) {
    Context()->p_Validate();
    DrawFrameAt(image, x - image->m_tx, y - image->m_ty, frame);
    return 0;
}

int kx_graphics_DrawImage2(c_Image* image, float x, float y, float rotation, float scaleX,
                           float scaleY, int frame) {
    kx_graphics_PushMatrix();
    kx_graphics_Translate(x, y);
    kx_graphics_Rotate(rotation);
    kx_graphics_Scale(scaleX, scaleY);
    kx_graphics_Translate(-image->m_tx, -image->m_ty);
    Context()->p_Validate();
    // The handle is already in the matrix.
    DrawFrameAt(image, 0, 0, frame);
    kx_graphics_PopMatrix();
    return 0;
}

int kx_graphics_ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset,
                           int pitch) {
    if (pitch == 0) pitch = w;
    kx_graphics_renderDevice->ReadPixels(pixels, x, y, w, h, offset, pitch);
    return 0;
}

c_Image* kx_graphics_LoadImage(String path, int frameCount, int flags) {
    KxSurface* surface = kx_graphics_device->LoadSurface(kx_data_FixDataPath(path));
    if (!surface) return nullptr;
    return (new c_Image)->m_new()->p_Init(surface, frameCount, flags);
}

c_Image* kx_graphics_LoadImage2(String path, int frameWidth, int frameHeight, int frameCount,
                                int flags) {
    KxSurface* surface = kx_graphics_device->LoadSurface(kx_data_FixDataPath(path));
    if (!surface) return nullptr;
    return (new c_Image)->m_new()->p_Init2(surface, 0, 0, frameWidth, frameHeight, frameCount,
                                           flags, nullptr, 0, 0, surface->Width(),
                                           surface->Height());
}

int kx_graphics_SetFont(c_Image* font, int firstChar) {
    c_GraphicsContext* context = Context();
    if (!font) {
        if (!context->m_defaultFont) {
            gc_assign(context->m_defaultFont,
                      kx_graphics_LoadImage(String(kDefaultFontPath), kDefaultFontFrames,
                                            kDefaultFontFlags));
        }
        font = context->m_defaultFont;
        firstChar = kDefaultFirstChar;
    }
    gc_assign(context->m_currentFont, font);
    context->m_firstChar = firstChar;
    return 0;
}
