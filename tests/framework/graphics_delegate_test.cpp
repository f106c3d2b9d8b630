#include "fakes/fake_gl.h"
#include "framework_fixture.h"

namespace {

// Draws a rectangle and notes what the graphics module looked like from inside its hooks.
class RenderProbeApp : public c_App {
public:
    bool deviceAtCreate = false;
    int renders = 0;
    KxGraphics* renderDeviceSeen = nullptr;

    RenderProbeApp() {}
    int p_OnCreate() override {
        deviceAtCreate = kx_graphics_device != nullptr;
        return 0;
    }
    int p_OnRender() override {
        ++renders;
        renderDeviceSeen = kx_graphics_renderDevice;
        kx_graphics_SetColor(0, 255, 0);
        kx_graphics_DrawRect(1, 2, 3, 4);
        return 0;
    }
};

using GraphicsDelegateTest = FrameworkTest;

TEST_F(GraphicsDelegateTest, StartGameCreatesTheDeviceAndRenderGameBracketsTheFrame) {
    fake_gl::Reset();
    RenderProbeApp* app = new RenderProbeApp;
    Start(app);
    EXPECT_TRUE(app->deviceAtCreate) << "the device exists before the game's own start";
    EXPECT_EQ(kx_graphics_device, kx_app__delegate->m__graphics);
    // No host that reads files here, so the default font could not be loaded.
    EXPECT_EQ(kx_graphics_context->m_currentFont, nullptr);
    EXPECT_EQ(kx_graphics_context->m_firstChar, 32);

    host.RenderGame();
    EXPECT_EQ(app->renders, 1);
    EXPECT_EQ(app->renderDeviceSeen, kx_graphics_device);
    EXPECT_EQ(kx_graphics_renderDevice, nullptr) << "render state ends with the frame";
    EXPECT_EQ(fake_gl::Count("glViewport"), 1);
    const auto draws = fake_gl::Draws();
    ASSERT_EQ(draws.size(), 1u) << "the end of the frame drew the pending batch";
    EXPECT_EQ(draws[0].vertices[0].g, 255);

    FullCycle();
    FullCycle();
    EXPECT_TRUE(gc_is_live_object(kx_graphics_device));
    EXPECT_TRUE(gc_is_live_object(kx_graphics_context));
    EXPECT_TRUE(gc_is_live_object(kx_graphics_context->m_matrixStack.GetRep()));
    host.RenderGame();
    EXPECT_EQ(app->renders, 2);
}

}  // namespace
