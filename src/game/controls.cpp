// Controls: the pointer in virtual units, the game's actions from keyboard, joysticks and the
// iCade letter stream, the latches that stop one press from acting twice, and steering.
#include <algorithm>
#include <cmath>

#include "framework/graphics.h"
#include "framework/input.h"
#include "game/bindings.h"
#include "game/key_codes.h"
#include "game/my_app.h"
#include "game/replay_session.h"

namespace {

const int kActionBack = c_MyApp::ActionBack;

const float kStickThreshold = 0.4f;
const float kSteerStickThreshold = 0.2f;
const float kDragUnitsForFullSteer = 72;
const float kDragDeadZone = 0.1f;
const int kDragSlack = 64;
const int kDragPull = 4;
const float kRampPerUpdate = 0.15f;
const float kRampDecay = 0.2f;
const float kRampRest = 0.001f;

using controls::StickRule;
using controls::kNoStick;
using controls::kStickUp;
using controls::kStickLeft;
using controls::kStickRight;
using controls::kStickDown;
using ActionSources = controls::Row;

// The iCade cabinet types a letter when a control is pressed and another when released.
struct ICadeLetters {
    int pad;
    char press;
    char release;
};

const ICadeLetters kICadeLetters[] = {
    {0, 'W', 'E'},  {3, 'A', 'Q'},  {5, 'D', 'C'},  {8, 'X', 'Z'},
    {10, 'H', 'R'}, {11, 'J', 'N'}, {12, 'K', 'P'}, {13, 'Y', 'T'},
    {14, 'U', 'F'}, {15, 'I', 'M'}, {16, 'O', 'G'}, {17, 'L', 'V'},
};

// The actions that keep the key latch set while any of them is held.
const int kLatchActions[] = {c_MyApp::ActionUp,      c_MyApp::ActionLeft,    c_MyApp::ActionRight,
                             c_MyApp::ActionDown,    c_MyApp::ActionButton1, c_MyApp::ActionButton2,
                             c_MyApp::ActionButton3, c_MyApp::ActionButton4, c_MyApp::ActionButton5,
                             c_MyApp::ActionButton6, kActionBack};

// A recording keeps each action as one bit, at its row's place in the table (whose rows the
// bindings never add to or take away).
int FindAction(const std::vector<ActionSources>& table, int action) {
    for (int index = 0; index < static_cast<int>(table.size()); ++index) {
        if (table[index].action == action) return index;
    }
    return -1;
}

bool StickBit(uint8_t directions, StickRule rule) {
    return rule != kNoStick && (directions >> (rule - kStickUp) & 1) != 0;
}

bool ButtonHeld(const ActionSources& sources, int player) {
    for (int button : sources.buttons) {
        if (kx_input_KeyDown(kx_input_KeyJoy0 + 32 * player + button)) return true;
    }
    return false;
}

bool StickHeld(StickRule rule, int player) {
    switch (rule) {
    case kStickUp: return kx_input_JoyY(0, player) > kStickThreshold;
    case kStickLeft: return kx_input_JoyX(0, player) < -kStickThreshold;
    case kStickRight: return kx_input_JoyX(0, player) > kStickThreshold;
    case kStickDown: return kx_input_JoyY(0, player) < -kStickThreshold;
    default: return false;
    }
}

bool AnyKeyDown(const std::vector<int>& keys) {
    for (int key : keys) {
        if (kx_input_KeyDown(key)) return true;
    }
    return false;
}

bool AnyPadHeld(const c_MyApp* app, const std::vector<int>& pads) {
    for (int pad : pads) {
        if (app->m_pad[pad] != 0) return true;
    }
    return false;
}

// Device pixels to virtual units, never beyond what an int can hold.
int ToVirtual(float pixels, float margin, float scale) {
    const double units = std::trunc((pixels - margin) / scale);
    if (!(units > -2147483648.0)) return -2147483647 - 1;
    if (units > 2147483647.0) return 2147483647;
    return static_cast<int>(units);
}

float Clamp1(float v) { return v < -1 ? -1 : (v > 1 ? 1 : v); }

// One step of a digital steering ramp: pressing pushes it further, releasing lets it fall
// back towards rest without passing it. Returns whether the steering takes the ramp's value.
bool Ramp(float& ramp, bool held, float direction) {
    if (held) {
        ramp += direction * kRampPerUpdate;
        return true;
    }
    if (ramp * direction > 0) {
        ramp -= direction * kRampDecay;
        // Steps of 0.15 and 0.2 are not exact in binary: what is left near rest is rest, so a
        // released ramp settles in five updates and stops overriding the other steering.
        if (ramp * direction < kRampRest) ramp = 0;
        return true;
    }
    return false;
}

}  // namespace

int c_MyApp::p_PlayKey(int action, int useStick, int player) {
    if (player < -1 || player >= kx_input_JoyPorts) return 0;
    const std::vector<ActionSources>& table = m_bindings->Table();
    const int index = FindAction(table, action);
    if (index < 0) return 0;
    const ActionSources* sources = &table[index];
    const bool iCade = kx_Sprocklet_iCadeControls == 1;
    const bool joystick = player >= 0;

    if (p_Playing()) {
        const replay::Input& in = m_replay->current;
        bool held = (in.keyboard >> index & 1) != 0;
        if (joystick) held = held || (in.joyButtons[player] >> index & 1) != 0;
        if (joystick && useStick == 1 && !iCade) {
            held = held || StickBit(in.joySticks[player], sources->stick);
        }
        return held ? 1 : 0;
    }

    bool held = AnyKeyDown(sources->keys);
    if (!iCade) held = held || AnyKeyDown(sources->letters);
    if (joystick) held = held || ButtonHeld(*sources, player);
    if (joystick && useStick == 1 && !iCade) held = held || StickHeld(sources->stick, player);
    held = held || AnyPadHeld(this, sources->pads);
    return held ? 1 : 0;
}

int c_MyApp::p_PlayKeyAll(int action, int useStick) {
    int count = 0;
    for (int player = 0; player < kx_input_JoyPorts; ++player) {
        count += p_PlayKey(action, useStick, player);
    }
    return count;
}

int c_MyApp::p_AnyPress() {
    for (int key = 1; key < kx_input_KeyCount; ++key) {
        // The close box ends the program whatever else goes on.
        if (key != kx_input_KeyClose && kx_input_KeyHit(key)) return 1;
    }
    return 0;
}

int c_MyApp::p_ClearPad() {
    for (int i = 0; i < kx_Sprocklet_PadPulses; ++i) m_pad[i] = 0;
    return 0;
}

int c_MyApp::p_iCade(int on) {
    if (on != 0) {
        kx_input_EnableKeyboard();
        kx_Sprocklet_iCadeControls = 1;
        // Whatever was typed before belongs to no cabinet control.
        do {
            m_keyChar = kx_input_GetChar();
        } while (m_keyChar != 0);
    } else {
        kx_input_DisableKeyboard();
        kx_Sprocklet_iCadeControls = 0;
        p_ClearPad();
    }
    return 0;
}

int c_MyApp::p_ReadICade() {
    for (m_keyChar = kx_input_GetChar(); m_keyChar != 0; m_keyChar = kx_input_GetChar()) {
        if (m_keyChar <= 0) continue;
        const int letter = m_keyChar >= 'a' && m_keyChar <= 'z' ? m_keyChar - 32 : m_keyChar;
        for (const ICadeLetters& entry : kICadeLetters) {
            if (letter == entry.press) m_pad[entry.pad] = 2;
            if (letter == entry.release) m_pad[entry.pad] = 0;
        }
    }
    return 0;
}

// The devices' state as the rules will see it this update: each action's keys, letters and pad
// entries, each player's buttons and stick, the pointer and the touches in virtual units.
int c_MyApp::p_TakeInput() {
    if (p_Playing()) return 0;
    replay::Input& in = m_replay->current;
    in = replay::Input();
    const bool iCade = kx_Sprocklet_iCadeControls == 1;
    const std::vector<ActionSources>& table = m_bindings->Table();
    for (int index = 0; index < replay::kActions; ++index) {
        const ActionSources& sources = table[index];
        const bool held = AnyKeyDown(sources.keys) || (!iCade && AnyKeyDown(sources.letters)) ||
                          AnyPadHeld(this, sources.pads);
        if (held) in.keyboard |= 1u << index;
        for (int player = 0; player < kx_input_JoyPorts; ++player) {
            if (ButtonHeld(sources, player)) in.joyButtons[player] |= 1u << index;
        }
    }
    for (int player = 0; player < kx_input_JoyPorts; ++player) {
        for (StickRule rule : {kStickUp, kStickLeft, kStickRight, kStickDown}) {
            if (StickHeld(rule, player)) in.joySticks[player] |= 1u << (rule - kStickUp);
        }
    }
    in.stickX = kx_input_JoyX(0, 0);
    in.stickY = kx_input_JoyY(0, 0);

    const float o = kx_Sprocklet_overscan;
    const int deviceWidth = kx_graphics_DeviceWidth();
    const float oy = deviceWidth > 0 ? o * kx_graphics_DeviceHeight() / deviceWidth : 0;
    in.mouseX = ToVirtual(kx_input_MouseX(), o, m_scaleX);
    in.mouseY = ToVirtual(kx_input_MouseY(), oy, m_scaleY);
    in.mouseDown = kx_input_MouseDown(0) ? 1 : 0;
    in.mouseHits = static_cast<uint8_t>(std::min(kx_input_MouseHit(0), 255));
    for (int i = 0; i < replay::kTouches; ++i) {
        if (!kx_input_TouchDown(i)) continue;
        in.touchDown |= 1u << i;
        in.touchX[i] = ToVirtual(kx_input_TouchX(i), o, m_scaleX);
        in.touchY[i] = ToVirtual(kx_input_TouchY(i), oy, m_scaleY);
    }
    return 0;
}

int c_MyApp::p_SamplePointer() {
    const replay::Input& in = m_replay->current;
    const int leftDown = in.mouseDown;

    m_mouseOldX = m_mouseX;
    m_mouseOldY = m_mouseY;
    m_mouseX = in.mouseX;
    m_mouseY = in.mouseY;
    // A fresh press has not moved yet.
    if (m_mouseWasDown == 0 && leftDown) {
        m_mouseOldX = m_mouseX;
        m_mouseOldY = m_mouseY;
    }
    m_pointerDown = leftDown ? 1 : 0;
    m_mouseHit = in.mouseHits;

    for (int i = 0; i < kx_Sprocklet_PointerTouches; ++i) {
        m_touchDown[i] = 0;
        m_touchX[i] = static_cast<int>(kx_Sprocklet_Omitted);
        m_touchY[i] = static_cast<int>(kx_Sprocklet_Omitted);
        if ((in.touchDown >> i & 1) == 0) continue;
        m_touchDown[i] = 1;
        m_touchX[i] = in.touchX[i];
        m_touchY[i] = in.touchY[i];
        m_pointerDown = 1;
    }
    m_mouseWasDown = leftDown ? 1 : 0;
    if (m_pointerDown == 0) m_clickUsed = 0;
    return 0;
}

int c_MyApp::p_InputLatches() {
    bool anyHeld = false;
    for (int action : kLatchActions) {
        if (p_PlayKeyAll(action, 1) != 0) anyHeld = true;
    }
    if (!anyHeld) m_keyLatch = 0;

    // Back closes the credits and badges boxes before the menu may see it.
    if (m_keyLatch == 0 && m_clickUsed == 0 && p_PlayKeyAll(kActionBack, 1) != 0 &&
        m_mode == ModeMenu &&
        (m_creditsOpen == 1 || m_optionsOpen == 1 || m_badgesOpen == 1)) {
        m_creditsOpen = 0;
        m_badgesOpen = 0;
        m_keyLatch = 1;
        m_clickUsed = 1;
    }
    // The options box owns the input while it is open.
    if (m_optionsOpen == 1) {
        m_keyLatch = 1;
        m_clickUsed = 1;
    }
    return 0;
}

int c_MyApp::p_AnalogueControl() {
    m_steerX = 0;
    m_steerY = 0;

    if (m_pointerDown == 0) {
        m_dragX = -1;
    } else if (m_dragX < 0) {
        m_dragX = m_mouseX;
        m_dragY = m_mouseY;
    } else {
        const int dx = m_mouseX - m_dragX;
        const int dy = m_mouseY - m_dragY;
        m_steerX = dx / kDragUnitsForFullSteer;
        m_steerY = dy / kDragUnitsForFullSteer;
        if (std::fabs(m_steerX) < kDragDeadZone && std::fabs(m_steerY) < kDragDeadZone) {
            m_steerX = 0;
            m_steerY = 0;
        }
        // The anchor follows a pointer that strays too far.
        if (dx > kDragSlack) m_dragX += kDragPull;
        if (dx < -kDragSlack) m_dragX -= kDragPull;
        if (dy > kDragSlack) m_dragY += kDragPull;
        if (dy < -kDragSlack) m_dragY -= kDragPull;
    }
    if (m_pointerDown != 0) {
        p_SetCol(0, 100, 250, 0.25f);
        p_Oval(m_dragX, m_dragY, 12, 12);
        p_Oval(m_mouseX, m_mouseY, 8, 8);
    }

    const bool playing = p_Playing();
    const float stickX = playing ? m_replay->current.stickX : kx_input_JoyX(0, 0);
    const float stickY = playing ? m_replay->current.stickY : kx_input_JoyY(0, 0);
    if (std::fabs(stickX) > kSteerStickThreshold || std::fabs(stickY) > kSteerStickThreshold) {
        m_steerX = stickX;
        m_steerY = -stickY;
    }

    // Up before down and left before right: a ramp reversing from full deflection loses its
    // press and its decay together and stops at rest before it turns.
    if (Ramp(m_keySteerY, p_PlayKey(0, 0, 0) != 0, -1)) m_steerY = m_keySteerY;
    if (Ramp(m_keySteerY, p_PlayKey(8, 0, 0) != 0, 1)) m_steerY = m_keySteerY;
    if (Ramp(m_keySteerX, p_PlayKey(3, 0, 0) != 0, -1)) m_steerX = m_keySteerX;
    if (Ramp(m_keySteerX, p_PlayKey(5, 0, 0) != 0, 1)) m_steerX = m_keySteerX;

    m_steerX = Clamp1(m_steerX);
    m_steerY = Clamp1(m_steerY);
    m_keySteerX = Clamp1(m_keySteerX);
    m_keySteerY = Clamp1(m_keySteerY);

    if (kx_Sprocklet_DebugMode == 1 &&
        (std::fabs(m_steerX) > 0.05f || std::fabs(m_steerY) > 0.05f)) {
        const float cx = kx_Sprocklet_jscrw - 64;
        const float cy = kx_Sprocklet_jscrh - 64;
        p_SetCol(0, 180, 250, 0.5f);
        p_Oval(cx, cy, 12, 12);
        p_Oval(cx + 52 * m_steerX, cy + 52 * m_steerY, 8, 8);
    }
    return 0;
}
