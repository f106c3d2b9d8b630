// The graphics module over a device that also reports which matrices it received, with a
// frame begun as the application delegate begins one.
#pragma once

#include <array>

#include "devices/graphics_fixture.h"
#include "framework/graphics.h"
#include "framework_fixture.h"

class MatrixSpyDevice : public KxGraphics {
public:
    std::vector<std::array<float, 6>> matrices;

    MatrixSpyDevice() {}
    int SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty) override {
        matrices.push_back({ix, iy, jx, jy, tx, ty});
        return KxGraphics::SetMatrix(ix, iy, jx, jy, tx, ty);
    }
};

class GraphicsModuleTest : public GraphicsTest {
protected:
    MatrixSpyDevice* spy = nullptr;

    void SetUp() override {
        GraphicsTest::SetUp();
        kx_graphics_device = nullptr;
        kx_graphics_renderDevice = nullptr;
        gc_assign(kx_graphics_context, (new c_GraphicsContext)->m_new());
        gc_add_root([] { gc_mark_q(kx_graphics_device); });
        gc_add_root([] { gc_mark_q(kx_graphics_context); });
        gc_add_root([] { gc_mark_q(kx_graphics_renderDevice); });
        gc_mark();
        spy = new MatrixSpyDevice;
        device = spy;
        kx_graphics_SetGraphicsDevice(spy);
        BeginFrame();
    }

    void TearDown() override {
        kx_graphics_device = nullptr;
        kx_graphics_renderDevice = nullptr;
        kx_graphics_context = nullptr;
        GraphicsTest::TearDown();
    }

    void BeginFrame() {
        spy->BeginRender();
        kx_graphics_BeginRender();
        spy->matrices.clear();
        fake_gl::ClearCalls();
    }

    void EndFrame() {
        kx_graphics_EndRender();
        spy->EndRender();
    }

    c_GraphicsContext* Context() { return kx_graphics_context; }
};
