// The graphics module: images and fonts, the current colour, alpha, blend and scissor, and a
// 2D matrix with a push/pop stack, all kept in one context and passed down to the graphics
// device in its own terms (one matrix, one colour, one alpha, quads from surfaces).
//
// Render state and drawing are valid only between kx_graphics_BeginRender and
// kx_graphics_EndRender, while kx_graphics_renderDevice is set.
#pragma once

#include "devices/graphics.h"
#include "devices/surface.h"
#include "framework/image.h"
#include "runtime/array.h"
#include "runtime/object.h"

const int kx_graphics_MatrixStackLevels = 32;
const int kx_graphics_MatrixStackFloats = kx_graphics_MatrixStackLevels * 6;

class c_GraphicsContext : public Object {
public:
    c_Image* m_defaultFont = nullptr;
    c_Image* m_currentFont = nullptr;
    int m_firstChar = 0;  // the character drawn by the font's frame 0
    int m_matrixSp = 0;   // floats in use on the stack, a multiple of 6
    // (x, y) maps to (x * ix + y * jx + tx, x * iy + y * jy + ty).
    float m_ix = 1, m_iy = 0, m_jx = 0, m_jy = 1, m_tx = 0, m_ty = 0;
    // The matrix changed since the device last received it: sent lazily, before a draw.
    int m_matDirty = 0;
    float m_color_r = 0, m_color_g = 0, m_color_b = 0;
    float m_currentAlpha = 0;
    int m_currentBlend = 0;
    float m_scissor_x = 0, m_scissor_y = 0, m_scissor_width = 0, m_scissor_height = 0;
    Array<float> m_matrixStack = Array<float>(kx_graphics_MatrixStackFloats);

    c_GraphicsContext() {}
    c_GraphicsContext* m_new();
    // Sends the matrix to the render device when it changed.
    int p_Validate();

    void mark() override;
};

extern KxGraphics* kx_graphics_device;
// The device, but only while a frame is being rendered.
extern KxGraphics* kx_graphics_renderDevice;
extern c_GraphicsContext* kx_graphics_context;

int kx_graphics_SetGraphicsDevice(KxGraphics* device);
// Every frame starts from the identity matrix, white, alpha 1, alpha blending, no scissor and
// an empty matrix stack.
int kx_graphics_BeginRender();
int kx_graphics_EndRender();
int kx_graphics_DeviceWidth();
int kx_graphics_DeviceHeight();

int kx_graphics_SetColor(float r, float g, float b);
int kx_graphics_SetAlpha(float alpha);
int kx_graphics_SetBlend(int blend);
// 1: images drawn smaller than their pixels are sampled smoothly; 0: the nearest texel (the
// device's SetSmoothing). Only valid while rendering.
int kx_graphics_SetSmoothing(int smooth);
// The device receives each value truncated toward zero.
int kx_graphics_SetScissor(float x, float y, float w, float h);
int kx_graphics_Cls(float r, float g, float b);

int kx_graphics_SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty);
int kx_graphics_SetMatrix2(Array<float> m);
// Post-multiplies: the given transform applies to coordinates before the current one.
int kx_graphics_Transform(float a, float b, float c, float d, float e, float f);
int kx_graphics_Transform2(Array<float> m);
int kx_graphics_Translate(float x, float y);
// Degrees; on the y-down screen a positive angle turns the picture counter-clockwise.
int kx_graphics_Rotate(float degrees);
int kx_graphics_Scale(float x, float y);
// The stack holds 32 matrices; going beyond either end is a runtime error.
int kx_graphics_PushMatrix();
int kx_graphics_PopMatrix();

int kx_graphics_DrawRect(float x, float y, float w, float h);
int kx_graphics_DrawLine(float x1, float y1, float x2, float y2);
// Centre and radii.
int kx_graphics_DrawEllipse(float x, float y, float xr, float yr);
int kx_graphics_DrawImage(c_Image* image, float x, float y, int frame);
// Rotation and scale about the image's handle, which lands on (x, y).
int kx_graphics_DrawImage2(c_Image* image, float x, float y, float rotation, float scaleX,
                           float scaleY, int frame);
// A pitch of 0 means w.
int kx_graphics_ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset,
                           int pitch);

// Frames side by side in one row; null (and no message) when the file does not load.
c_Image* kx_graphics_LoadImage(String path, int frameCount, int flags);
// Frames of the given size in a grid, row by row; null when the file does not load.
c_Image* kx_graphics_LoadImage2(String path, int frameWidth, int frameHeight, int frameCount,
                                int flags);
// A null font selects the default font (loaded on first use) with first character 32.
int kx_graphics_SetFont(c_Image* font, int firstChar);
