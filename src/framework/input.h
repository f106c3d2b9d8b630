// The input module: keys, mouse buttons, touches and joystick buttons share one space of 512
// key codes; the device records events between updates and the game polls the result.
#pragma once

#include "runtime/array.h"
#include "runtime/object.h"
#include "runtime/string.h"

const int kx_input_KeyCount = 512;
const int kx_input_KeyMouseLeft = 1;
const int kx_input_KeyJoy0 = 256;  // + 32 * port + button
const int kx_input_KeyTouch0 = 384;
const int kx_input_KeyBack = 416;
const int kx_input_KeyClose = 432;

const int kx_input_JoyPorts = 4;
const int kx_input_JoyButtons = 32;
const int kx_input_TouchCount = 32;
// Hits recorded per update; further hits of that update are dropped.
const int kx_input_HitQueueLength = 33;
const int kx_input_CharQueueLength = 32;

// The sticks and buttons of one joystick port, filled by the host's PollJoystick.
class c_JoyState : public Object {
public:
    // Index 0 is the first stick, index 1 the second.
    Array<float> m_joyx = Array<float>(2);
    Array<float> m_joyy = Array<float>(2);
    Array<float> m_joyz = Array<float>(2);
    Array<bool> m_buttons = Array<bool>(kx_input_JoyButtons);

    c_JoyState() {}
    void mark() override;
};

class c_InputDevice : public Object {
public:
    Array<c_JoyState*> m_joyStates = Array<c_JoyState*>(kx_input_JoyPorts);
    Array<bool> m_keyDown = Array<bool>(kx_input_KeyCount);
    int m_keyHitPut = 0;
    // The codes whose hit counts were raised in this update, so that ending the update clears
    // only those counts.
    Array<int> m_keyHitQueue = Array<int>(kx_input_HitQueueLength);
    Array<int> m_keyHit = Array<int>(kx_input_KeyCount);
    int m_charGet = 0;
    int m_charPut = 0;
    Array<int> m_charQueue = Array<int>(kx_input_CharQueueLength);
    float m_mouseX = 0;
    float m_mouseY = 0;
    Array<float> m_touchX = Array<float>(kx_input_TouchCount);
    Array<float> m_touchY = Array<float>(kx_input_TouchCount);
    float m_accelX = 0;
    float m_accelY = 0;
    float m_accelZ = 0;

    c_InputDevice() {}
    // Creates the joystick states of the four ports.
    c_InputDevice* m_new();

    // Events; codes outside the key space and touches outside 0 .. 31 are ignored.
    int p_KeyEvent(int event, int data);
    int p_MouseEvent(int event, int data, float x, float y);
    int p_TouchEvent(int event, int data, float x, float y);
    int p_MotionEvent(int event, int data, float x, float y, float z);

    // Polls the joysticks through the host, from port 0 up to the first absent one.
    int p_BeginUpdate();
    // Clears the hit counts and characters of the update that just ran.
    int p_EndUpdate();

    int p_PutKeyHit(int code);
    int p_SetKeyboardEnabled(bool enabled);

    int p_KeyDown(int code);
    int p_KeyHit(int code);
    int p_GetChar();
    float p_MouseX();
    float p_MouseY();
    float p_TouchX(int index);
    float p_TouchY(int index);
    // 0 for a stick index outside 0 .. 1 or a port outside 0 .. 3.
    float p_JoyX(int index, int port);
    float p_JoyY(int index, int port);
    float p_AccelX();
    float p_AccelY();

    void mark() override;

private:
    void PressKey(int code);
    void ReleaseKey(int code);
    void SetTouchPosition(int index, float x, float y);
    void SetMousePosition(float x, float y);
    void PollJoystickButtons(int port);
};

extern c_InputDevice* kx_input_device;

int kx_input_SetInputDevice(c_InputDevice* device);
int kx_input_KeyDown(int code);
int kx_input_KeyHit(int code);
int kx_input_MouseDown(int button);
int kx_input_MouseHit(int button);
int kx_input_TouchDown(int index);
int kx_input_JoyDown(int button, int port);
int kx_input_JoyHit(int button, int port);
float kx_input_MouseX();
float kx_input_MouseY();
float kx_input_TouchX(int index);
float kx_input_TouchY(int index);
float kx_input_JoyX(int index, int port);
float kx_input_JoyY(int index, int port);
float kx_input_AccelX();
float kx_input_AccelY();
int kx_input_GetChar();
int kx_input_EnableKeyboard();
int kx_input_DisableKeyboard();
// The keyboard layout's name of a letter, digit or punctuation key; empty for other keys.
String kx_input_KeyName(int key);
