#include "framework_fixture.h"

namespace {

const int kDown = c_KxGameEvent::KeyDown;

// Records what the framework shows the application in its hooks.
class ProbeApp : public c_App {
public:
    int suspended = 0, resumed = 0, updates = 0, renders = 0;
    bool deviceReadyAtCreate = false;
    int spaceHit = -1, spaceDown = -1, heldHit = -1, chars[2] = {-1, -1};
    int joyHit = -1, joyDown = -1;

    ProbeApp() {}
    int p_OnCreate() override {
        deviceReadyAtCreate = kx_input_device && kx_input_device->m_joyStates[3];
        return 0;
    }
    int p_OnSuspend() override { return ++suspended, 0; }
    int p_OnResume() override { return ++resumed, 0; }
    int p_OnRender() override { return ++renders, 0; }
    int p_OnUpdate() override {
        ++updates;
        spaceHit = kx_input_KeyHit(32);
        spaceDown = kx_input_KeyDown(32);
        heldHit = kx_input_KeyHit(65);
        for (int& c : chars) c = kx_input_GetChar();
        joyHit = kx_input_JoyHit(2, 0);
        joyDown = kx_input_JoyDown(2, 0);
        return 0;
    }
};

using AppTest = FrameworkTest;

TEST_F(AppTest, SecondApplicationIsARuntimeError) {
    c_App* first = new c_App;
    EXPECT_EQ(first->m_new(), first);
    EXPECT_EQ(host.Delegate(), kx_app__delegate);
    EXPECT_EXIT(
        {
            PrepareToDie();
            (new c_App)->m_new();
        },
        ::testing::ExitedWithCode(255), "Travik Runtime Error : App has already been created");
}

TEST_F(AppTest, LifecycleReachesTheApplicationHooks) {
    ProbeApp* app = new ProbeApp;
    Start(app);
    EXPECT_TRUE(app->deviceReadyAtCreate);
    host.SuspendGame();
    host.UpdateGame();  // no updates while suspended, but rendering goes on
    host.RenderGame();
    host.ResumeGame();
    host.UpdateGame();
    EXPECT_EQ(app->suspended + app->resumed + app->updates + app->renders, 4);

    kx_app_SetUpdateRate(60);
    EXPECT_EQ(host.UpdateRate(), 60);
    host.clock = 1234;
    EXPECT_EQ(kx_app_Millisecs(), 1234);
}

TEST_F(AppTest, BackAndCloseKeysEndTheProgramEvenWhenAlreadyHeld) {
    Start(new ProbeApp);
    EXPECT_EXIT(host.KeyEvent(kDown, kx_input_KeyClose), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(host.KeyEvent(kDown, kx_input_KeyBack), ::testing::ExitedWithCode(0), "");

    // Held from an earlier update, so the device sees a mere repeat.
    kx_input_device->p_KeyEvent(kDown, kx_input_KeyClose);
    kx_input_device->p_KeyEvent(kDown, kx_input_KeyBack);
    kx_input_device->p_EndUpdate();
    EXPECT_EXIT(host.KeyEvent(kDown, kx_input_KeyClose), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(host.KeyEvent(kDown, kx_input_KeyBack), ::testing::ExitedWithCode(0), "");

    host.KeyEvent(c_KxGameEvent::KeyUp, kx_input_KeyClose);  // a release is ordinary input
    EXPECT_EQ(kx_input_KeyDown(kx_input_KeyClose), 0);
}

TEST_F(AppTest, HitsAndCharactersLiveExactlyOneUpdate) {
    ProbeApp* app = new ProbeApp;
    Start(app);
    // Space pressed and released between two updates; 'A' held with key repeat.
    host.KeyEvent(kDown, 32);
    host.KeyEvent(c_KxGameEvent::KeyUp, 32);
    host.KeyEvent(kDown, 65);
    host.KeyEvent(kDown, 65);
    for (int c : {'a', 'b', 'c'}) host.KeyEvent(c_KxGameEvent::KeyChar, c);
    host.UpdateGame();
    EXPECT_EQ(app->spaceHit, 1);
    EXPECT_EQ(app->spaceDown, 0);
    EXPECT_EQ(app->heldHit, 1);
    EXPECT_EQ(app->chars[1], 'b');

    host.KeyEvent(kDown, 65);
    host.UpdateGame();
    EXPECT_EQ(app->spaceHit, 0);
    EXPECT_EQ(app->heldHit, 0);
    EXPECT_EQ(app->chars[0], 0) << "the unread 'c' went with its update";
}

// Joystick buttons are polled when the update begins, so the update that follows the press
// sees it hit, and the hit is gone once that update is over.
TEST_F(AppTest, AJoystickPressIsHitDuringTheNextUpdateOnly) {
    ProbeApp* app = new ProbeApp;
    Start(app);
    host.present[0] = true;
    host.buttons[0][2] = true;
    host.UpdateGame();
    EXPECT_EQ(app->joyHit, 1);
    EXPECT_EQ(app->joyDown, 1);
    EXPECT_EQ(kx_input_JoyHit(2, 0), 0) << "cleared when the update ended";

    host.UpdateGame();  // still held
    EXPECT_EQ(app->joyHit, 0);
    EXPECT_EQ(app->joyDown, 1);
}

TEST_F(AppTest, MouseDownWithoutMoveSetsThePointer) {
    Start(new ProbeApp);
    host.MouseEvent(c_KxGameEvent::MouseDown, 0, 12, 34);
    EXPECT_EQ(kx_input_MouseX(), 12);
    EXPECT_EQ(kx_input_TouchY(0), 34);
    host.MouseEvent(c_KxGameEvent::MouseUp, 0, 50, 60);  // a release does not move it
    EXPECT_EQ(kx_input_MouseY(), 34);
    host.MotionEvent(c_KxGameEvent::MotionAccel, 0, 0.5f, -0.25f, 1);
    EXPECT_EQ(kx_input_AccelY(), -0.25f);
}

TEST_F(AppTest, InputDeviceSurvivesCollectionsWhileReachable) {
    Start(new ProbeApp);
    c_InputDevice* device = kx_input_device;
    Object* stray = new Object;
    FullCycle();
    FullCycle();
    EXPECT_FALSE(gc_is_live_object(stray)) << "the cycles collect what nothing reaches";
    EXPECT_TRUE(gc_is_live_object(kx_app__app));
    EXPECT_TRUE(gc_is_live_object(device));
    EXPECT_TRUE(gc_is_live_object(device->m_keyHit.GetRep()));
    for (int port = 0; port < kx_input_JoyPorts; ++port) {
        EXPECT_TRUE(gc_is_live_object(device->m_joyStates[port]));
        EXPECT_TRUE(gc_is_live_object(device->m_joyStates[port]->m_buttons.GetRep()));
    }
    for (int i = 0; i < 100; ++i) new Object;  // destroys the dead
    host.KeyEvent(kDown, 32);
    EXPECT_EQ(kx_input_KeyHit(32), 1);
}

}  // namespace
