#include "framework_fixture.h"

namespace {

const int kDown = c_KxGameEvent::KeyDown;
const int kUp = c_KxGameEvent::KeyUp;

class InputTest : public FrameworkTest {
protected:
    c_InputDevice* device = nullptr;

    void SetUp() override {
        FrameworkTest::SetUp();
        device = (new c_InputDevice)->m_new();
        kx_input_SetInputDevice(device);
    }
    // The end of one update and the start of the next.
    void Update() {
        device->p_EndUpdate();
        device->p_BeginUpdate();
    }
};

TEST_F(InputTest, LeftClickIsAlsoTouchZero) {
    device->p_MouseEvent(c_KxGameEvent::MouseDown, 0, 1, 2);
    EXPECT_EQ(kx_input_MouseHit(0), 1);
    EXPECT_EQ(kx_input_KeyHit(kx_input_KeyTouch0), 1);
    EXPECT_EQ(kx_input_TouchDown(0), 1);
    device->p_MouseEvent(c_KxGameEvent::MouseUp, 0, 1, 2);
    EXPECT_EQ(kx_input_TouchDown(0), 0);

    device->p_TouchEvent(c_KxGameEvent::TouchDown, 0, 7, 8);
    EXPECT_EQ(kx_input_MouseDown(0), 1);
    EXPECT_EQ(kx_input_MouseX(), 7);
    device->p_TouchEvent(c_KxGameEvent::TouchUp, 0, 0, 0);
    EXPECT_EQ(kx_input_MouseDown(0), 0);
}

TEST_F(InputTest, QueuesHoldThirtyThreeHitsAndThirtyTwoCharacters) {
    for (int code = 50; code < 90; ++code) device->p_KeyEvent(kDown, code);
    for (int i = 0; i < 40; ++i) device->p_KeyEvent(c_KxGameEvent::KeyChar, 'A' + i);
    for (int code = 50; code < 90; ++code) {
        EXPECT_EQ(kx_input_KeyHit(code), code < 50 + kx_input_HitQueueLength) << code;
    }
    for (int i = 0; i < kx_input_CharQueueLength; ++i) EXPECT_EQ(kx_input_GetChar(), 'A' + i);
    EXPECT_EQ(kx_input_GetChar(), 0);

    Update();
    EXPECT_EQ(kx_input_KeyHit(50), 0);
    device->p_KeyEvent(kUp, 89);
    device->p_KeyEvent(kDown, 89);
    device->p_KeyEvent(kUp, 89);
    device->p_KeyEvent(kDown, 89);
    EXPECT_EQ(kx_input_KeyHit(89), 2);
}

TEST_F(InputTest, JoysticksArePolledUpToTheFirstAbsentPort) {
    host.present[1] = true;  // port 0 absent
    host.buttons[1][0] = true;
    Update();
    EXPECT_EQ(host.polls[1], 0);
    EXPECT_EQ(kx_input_JoyHit(0, 1), 0);

    host.present[0] = true;
    host.buttons[0][3] = true;
    host.stickX[1] = -0.75f;
    Update();
    EXPECT_EQ(host.polls[2], 1);
    EXPECT_EQ(host.polls[3], 0);
    EXPECT_EQ(kx_input_KeyHit(259), 1);
    EXPECT_EQ(kx_input_KeyHit(288), kx_input_JoyHit(0, 1));
    EXPECT_EQ(kx_input_JoyHit(0, 1), 1);
    EXPECT_EQ(kx_input_JoyX(0, 1), -0.75f);

    host.buttons[0][3] = false;
    Update();
    EXPECT_EQ(kx_input_JoyHit(0, 1), 0);  // held, not hit again
    EXPECT_EQ(kx_input_JoyDown(0, 1), 1);
    EXPECT_EQ(kx_input_JoyDown(3, 0), 0);
}

TEST_F(InputTest, QueriesOutsideTheirRangesAnswerZero) {
    device->p_KeyEvent(kDown, 511);
    device->p_KeyEvent(kDown, 1);
    EXPECT_EQ(kx_input_KeyHit(0) + kx_input_KeyHit(512) + kx_input_KeyDown(-1), 0);
    EXPECT_EQ(kx_input_MouseDown(510), 1);  // key 511
    EXPECT_EQ(kx_input_MouseDown(511) + kx_input_MouseDown(-1) + kx_input_MouseHit(511), 0);
    EXPECT_EQ(kx_input_TouchDown(127), 1);  // key 511
    EXPECT_EQ(kx_input_TouchDown(-383), 1);  // key 1
    EXPECT_EQ(kx_input_TouchDown(128) + kx_input_TouchDown(-384), 0);
    EXPECT_EQ(kx_input_TouchDown(2147483647), 0);

    device->p_TouchEvent(c_KxGameEvent::TouchMove, 31, 3, 4);
    EXPECT_EQ(kx_input_TouchX(31), 3);
    EXPECT_EQ(kx_input_TouchX(32) + kx_input_TouchX(-1) + kx_input_TouchY(32), 0);
    EXPECT_EQ(kx_input_JoyDown(0, 1 << 30) + kx_input_JoyHit(-1, 0), 0);
    EXPECT_EQ(kx_input_JoyX(2, 0) + kx_input_JoyY(0, 4) + kx_input_JoyY(0, -1), 0);
}

TEST_F(InputTest, EventsOutsideTheKeySpaceAreIgnored) {
    device->p_KeyEvent(kDown, 512);
    device->p_KeyEvent(kUp, -7);
    device->p_MouseEvent(c_KxGameEvent::MouseDown, 600, 1, 1);
    device->p_TouchEvent(c_KxGameEvent::TouchDown, 32, 1, 1);  // would be the back key's code
    device->p_TouchEvent(c_KxGameEvent::TouchMove, -1, 1, 1);
    EXPECT_EQ(device->m_keyHitPut, 0);
    EXPECT_EQ(kx_input_KeyDown(kx_input_KeyBack), 0);
    EXPECT_EQ(kx_input_MouseX(), 0);
}

}  // namespace
