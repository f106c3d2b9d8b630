#include "framework/input.h"

#include "framework/app.h"
#include "host/game.h"

c_InputDevice* kx_input_device = nullptr;

namespace {

bool IsKeyCode(int code) { return code >= 0 && code < kx_input_KeyCount; }

// Codes 1 .. 511 can be queried; 0 is no key.
bool IsQueryableKey(int code) { return code > 0 && code < kx_input_KeyCount; }

bool IsTouch(int index) { return index >= 0 && index < kx_input_TouchCount; }

bool IsStick(int index, int port) {
    return index >= 0 && index < 2 && port >= 0 && port < kx_input_JoyPorts;
}

// The key a left click mirrors into and back: the mouse button and touch 0 are one pointer.
int MirrorOf(int code) {
    if (code == kx_input_KeyMouseLeft) return kx_input_KeyTouch0;
    if (code == kx_input_KeyTouch0) return kx_input_KeyMouseLeft;
    return 0;
}

// The key code of a joystick button: button OR 256 OR (port << 5), computed without signed
// overflow; anything beyond the key space reads as no key.
int JoyKeyCode(int button, int port) {
    unsigned code = static_cast<unsigned>(button) | static_cast<unsigned>(kx_input_KeyJoy0) |
                    (static_cast<unsigned>(port) << 5);
    return code < static_cast<unsigned>(kx_input_KeyCount) ? static_cast<int>(code) : 0;
}

// A joystick state as an absent pad reads: sticks at rest, no button pressed.
void ClearJoyState(c_JoyState* state) {
    for (int i = 0; i < state->m_joyx.Length(); ++i) state->m_joyx[i] = 0;
    for (int i = 0; i < state->m_joyy.Length(); ++i) state->m_joyy[i] = 0;
    for (int i = 0; i < state->m_joyz.Length(); ++i) state->m_joyz[i] = 0;
    for (int b = 0; b < state->m_buttons.Length(); ++b) state->m_buttons[b] = false;
}

}  // namespace

void c_JoyState::mark() {
    gc_mark_q(m_joyx);
    gc_mark_q(m_joyy);
    gc_mark_q(m_joyz);
    gc_mark_q(m_buttons);
}

c_InputDevice* c_InputDevice::m_new() {
    for (int port = 0; port < kx_input_JoyPorts; ++port) {
        gc_assign(m_joyStates[port], new c_JoyState);
    }
    return this;
}

void c_InputDevice::PressKey(int code) {
    if (m_keyDown[code]) return;  // the host's key repeat is not a new press
    m_keyDown[code] = true;
    p_PutKeyHit(code);
    int mirror = MirrorOf(code);
    if (mirror) {
        m_keyDown[mirror] = true;
        p_PutKeyHit(mirror);
    }
}

void c_InputDevice::ReleaseKey(int code) {
    if (!m_keyDown[code]) return;
    m_keyDown[code] = false;
    int mirror = MirrorOf(code);
    if (mirror) m_keyDown[mirror] = false;
}

void c_InputDevice::SetMousePosition(float x, float y) {
    m_mouseX = x;
    m_mouseY = y;
    m_touchX[0] = x;
    m_touchY[0] = y;
}

void c_InputDevice::SetTouchPosition(int index, float x, float y) {
    if (index == 0) {
        SetMousePosition(x, y);
        return;
    }
    m_touchX[index] = x;
    m_touchY[index] = y;
}

int c_InputDevice::p_KeyEvent(int event, int data) {
    if (event == c_KxGameEvent::KeyChar) {
        if (m_charPut < m_charQueue.Length()) m_charQueue[m_charPut++] = data;
        return 0;
    }
    if (!IsKeyCode(data)) return 0;
    if (event == c_KxGameEvent::KeyDown) PressKey(data);
    if (event == c_KxGameEvent::KeyUp) ReleaseKey(data);
    return 0;
}

int c_InputDevice::p_MouseEvent(int event, int data, float x, float y) {
    int code = data + 1;
    switch (event) {
    case c_KxGameEvent::MouseDown:
        if (!IsKeyCode(code)) return 0;
        PressKey(code);
        SetMousePosition(x, y);
        break;
    case c_KxGameEvent::MouseUp:
        if (IsKeyCode(code)) ReleaseKey(code);
        break;
    case c_KxGameEvent::MouseMove:
        SetMousePosition(x, y);
        break;
    }
    return 0;
}

int c_InputDevice::p_TouchEvent(int event, int data, float x, float y) {
    if (!IsTouch(data)) return 0;
    switch (event) {
    case c_KxGameEvent::TouchDown:
        PressKey(kx_input_KeyTouch0 + data);
        SetTouchPosition(data, x, y);
        break;
    case c_KxGameEvent::TouchUp:
        ReleaseKey(kx_input_KeyTouch0 + data);
        break;
    case c_KxGameEvent::TouchMove:
        SetTouchPosition(data, x, y);
        break;
    }
    return 0;
}

int c_InputDevice::p_MotionEvent(int event, int data, float x, float y, float z) {
    (void)data;
    if (event != c_KxGameEvent::MotionAccel) return 0;
    m_accelX = x;
    m_accelY = y;
    m_accelZ = z;
    return 0;
}

void c_InputDevice::PollJoystickButtons(int port) {
    Array<bool> buttons = m_joyStates[port]->m_buttons;
    for (int b = 0; b < kx_input_JoyButtons; ++b) {
        int code = kx_input_KeyJoy0 + kx_input_JoyButtons * port + b;
        if (!buttons[b]) {
            m_keyDown[code] = false;
        } else if (!m_keyDown[code]) {
            m_keyDown[code] = true;
            p_PutKeyHit(code);
        }
    }
}

int c_InputDevice::p_BeginUpdate() {
    int port = 0;
    for (; port < kx_input_JoyPorts; ++port) {
        c_JoyState* state = m_joyStates[port];
        if (!KxGame::_game->PollJoystick(port, state->m_joyx, state->m_joyy, state->m_joyz,
                                         state->m_buttons)) {
            break;
        }
        PollJoystickButtons(port);
    }
    // A pad pulled out mid-game never reports its buttons released or its sticks centred:
    // from the first absent port on, which is not polled, nothing stays held or deflected.
    for (; port < kx_input_JoyPorts; ++port) {
        ClearJoyState(m_joyStates[port]);
        PollJoystickButtons(port);
    }
    return 0;
}

int c_InputDevice::p_EndUpdate() {
    for (int i = 0; i < m_keyHitPut; ++i) m_keyHit[m_keyHitQueue[i]] = 0;
    m_keyHitPut = 0;
    m_charGet = 0;
    m_charPut = 0;
    return 0;
}

int c_InputDevice::p_PutKeyHit(int code) {
    if (m_keyHitPut == m_keyHitQueue.Length() || !IsKeyCode(code)) return 0;
    m_keyHit[code] += 1;
    m_keyHitQueue[m_keyHitPut++] = code;
    return 0;
}

int c_InputDevice::p_SetKeyboardEnabled(bool enabled) {
    KxGame::_game->SetKeyboardEnabled(enabled);
    return 0;
}

int c_InputDevice::p_KeyDown(int code) { return IsQueryableKey(code) && m_keyDown[code] ? 1 : 0; }

int c_InputDevice::p_KeyHit(int code) { return IsQueryableKey(code) ? m_keyHit[code] : 0; }

int c_InputDevice::p_GetChar() {
    if (m_charGet == m_charPut) return 0;
    return m_charQueue[m_charGet++];
}

float c_InputDevice::p_MouseX() { return m_mouseX; }

float c_InputDevice::p_MouseY() { return m_mouseY; }

float c_InputDevice::p_TouchX(int index) { return IsTouch(index) ? m_touchX[index] : 0; }

float c_InputDevice::p_TouchY(int index) { return IsTouch(index) ? m_touchY[index] : 0; }

float c_InputDevice::p_JoyX(int index, int port) {
    return IsStick(index, port) ? m_joyStates[port]->m_joyx[index] : 0;
}

float c_InputDevice::p_JoyY(int index, int port) {
    return IsStick(index, port) ? m_joyStates[port]->m_joyy[index] : 0;
}

float c_InputDevice::p_AccelX() { return m_accelX; }

float c_InputDevice::p_AccelY() { return m_accelY; }

void c_InputDevice::mark() {
    gc_mark_q(m_joyStates);
    gc_mark_q(m_keyDown);
    gc_mark_q(m_keyHitQueue);
    gc_mark_q(m_keyHit);
    gc_mark_q(m_charQueue);
    gc_mark_q(m_touchX);
    gc_mark_q(m_touchY);
}

int kx_input_SetInputDevice(c_InputDevice* device) {
    gc_assign(kx_input_device, device);
    return 0;
}

int kx_input_KeyDown(int code) { return kx_input_device->p_KeyDown(code); }

int kx_input_KeyHit(int code) { return kx_input_device->p_KeyHit(code); }

int kx_input_MouseDown(int button) {
    return button >= 0 && button < kx_input_KeyCount - 1 ? kx_input_KeyDown(button + 1) : 0;
}

int kx_input_MouseHit(int button) {
    return button >= 0 && button < kx_input_KeyCount - 1 ? kx_input_KeyHit(button + 1) : 0;
}

int kx_input_TouchDown(int index) {
    // Bounded so that the sum cannot overflow; the key query itself answers 0 outside 1 .. 511.
    if (index < -kx_input_KeyTouch0 || index >= kx_input_KeyCount - kx_input_KeyTouch0) return 0;
    return kx_input_KeyDown(kx_input_KeyTouch0 + index);
}

int kx_input_JoyDown(int button, int port) {
    return kx_input_KeyDown(JoyKeyCode(button, port));
}

int kx_input_JoyHit(int button, int port) { return kx_input_KeyHit(JoyKeyCode(button, port)); }

float kx_input_MouseX() { return kx_input_device->p_MouseX(); }

float kx_input_MouseY() { return kx_input_device->p_MouseY(); }

float kx_input_TouchX(int index) { return kx_input_device->p_TouchX(index); }

float kx_input_TouchY(int index) { return kx_input_device->p_TouchY(index); }

float kx_input_JoyX(int index, int port) { return kx_input_device->p_JoyX(index, port); }

float kx_input_JoyY(int index, int port) { return kx_input_device->p_JoyY(index, port); }

float kx_input_AccelX() { return kx_input_device->p_AccelX(); }

float kx_input_AccelY() { return kx_input_device->p_AccelY(); }

int kx_input_GetChar() { return kx_input_device->p_GetChar(); }

int kx_input_EnableKeyboard() { return kx_input_device->p_SetKeyboardEnabled(true); }

int kx_input_DisableKeyboard() { return kx_input_device->p_SetKeyboardEnabled(false); }

String kx_input_KeyName(int key) { return KxGame::_game ? KxGame::_game->KeyName(key) : String(); }
