// The pause menu over a running game: resume in the centre, leave the game on the left, the
// options on the right. It slides down over a darkening veil and back up when it closes; the
// game resumes only once it has left the screen.
#include <cmath>

#include "game/my_app.h"

namespace {

const float kSlideStep = 24;
const float kGoneBelow = -32;    // the game resumes once the menu is above this
const int kParkedY = -64;        // where leaving the game puts the menu at once
const float kCogSpinPerUpdate = 0.2f;
const float kOverscanAbove = 150;

const int kLeaveItem = -1, kResumeItem = 0, kOptionsItem = 1;
const int kNoItem = 2;
const int kResumeIcon = 3, kLeaveIcon = 1, kCursorIcon = 6;

// Sizes and offsets from the menu's centre (half the screen across, m_pauseMenuY down).
struct PauseLayout {
    float stripWidth, stripAbove, stripBelow;
    float panelWidth, panelTop, panelHeight;
    float sideX, sideAbove;  // the left and right items
};
const PauseLayout kLandscape = {256, -64, 56, 280, -52, 104, 140, 64};
const PauseLayout kPortrait = {192, -92, 84, 256, -80, 160, 96, 96};

const PauseLayout& Layout(int landscape) { return landscape == 1 ? kLandscape : kPortrait; }

}  // namespace

int c_MyApp::p_PauseMenu() {
    p_ResetDraw();
    p_SetCol(0, 0, 0, std::fabs(static_cast<float>(m_pauseMenuY)) / (kx_Sprocklet_jscrh * 0.8f));
    p_Rect(0, 0, kx_Sprocklet_jscrw, kx_Sprocklet_jscrh);
    p_PauseSlide();
    p_PausePanels();
    if (kx_Sprocklet_isOuya == 1) {
        p_OverscanSlider(m_pauseMenuY - kOverscanAbove, m_keyLatch, m_clickUsed);
    }
    p_PauseItems();
    p_PauseKeys();
    return 0;
}

int c_MyApp::p_PauseSlide() {
    if (m_pauseMenuOn == 1 && m_pauseMenuY < kx_Sprocklet_jscrh * 0.5f) m_pauseMenuY += kSlideStep;
    if (m_pauseMenuOn == -1) {
        m_pauseMenuY -= kSlideStep;
        if (m_pauseMenuY < kGoneBelow) m_paused = 0;
    }
    return 0;
}

int c_MyApp::p_PausePanels() {
    const PauseLayout& layout = Layout(m_landscape);
    const float x = kx_Sprocklet_jscrw * 0.5f;
    const float y = static_cast<float>(m_pauseMenuY);
    p_ResetDraw();
    p_SetCol(255, 255, 10, 0.6f);
    p_Rect(x - layout.stripWidth / 2, y + layout.stripAbove, layout.stripWidth, 8);
    p_Rect(x - layout.stripWidth / 2, y + layout.stripBelow, layout.stripWidth, 8);
    p_SetCol(255, 150, 10, 0.7f);
    p_Rect(x - layout.panelWidth / 2, y + layout.panelTop, layout.panelWidth, layout.panelHeight);
    return 0;
}

int c_MyApp::p_PauseItems() {
    const PauseLayout& layout = Layout(m_landscape);
    const float x = kx_Sprocklet_jscrw * 0.5f;
    const float y = static_cast<float>(m_pauseMenuY);
    const float sideY = y - layout.sideAbove;

    p_ResetDraw();
    p_SetSize(2.5f);
    const float cursorX = x + m_pauseSel * layout.sideX;
    p_DrawImg(IconSheet, cursorX, m_pauseSel == kResumeItem ? y : sideY, kCursorIcon);

    int touched = kNoItem;
    p_SetSize(2);
    if (p_Button(x, y, kResumeIcon)) touched = kResumeItem;
    if (p_Button(x - layout.sideX, sideY, kLeaveIcon)) touched = kLeaveItem;
    if (m_optionsOpen == 0) m_cogSpin += kCogSpinPerUpdate;
    p_ResetDraw();
    if (p_CogButton(x + layout.sideX, sideY)) touched = kOptionsItem;

    if (touched != kNoItem && m_clickUsed == 0) {
        m_clickUsed = 1;
        p_PauseActivate(touched, 1);
    }
    return 0;
}

int c_MyApp::p_PauseActivate(int item, int byTouch) {
    if (item == kResumeItem) {
        m_pauseMenuOn = -1;
        p_PlaySFX(SoundChoose, 1, 0.5f, 0);
    } else if (item == kLeaveItem) {
        m_paused = 0;
        m_pauseMenuOn = -1;
        m_pauseMenuY = kParkedY;
        m_gameOver = 1;
        p_PlaySFX(SoundChoose, 0.5f, 0.5f, 0);
    } else {
        m_optionsOpen = 1;
        m_optCursor = 0;  // the box's rows differ from the menu's while paused
        if (byTouch == 1) {
            p_PlaySFX(SoundSelect, 1, 1, 0);
        } else {
            p_PlaySFX(SoundChoose, 1, 0.5f, 0);
        }
    }
    return 0;
}

// From the centre left or up goes left and right goes right; from either side the way back
// (or down) returns to the centre.
int c_MyApp::p_PauseKeys() {
    if (m_keyLatch != 0) return 0;
    if (p_PlayKeyAll(ActionBack, 1) != 0) {
        m_keyLatch = 1;
        p_PauseActivate(kResumeItem, 0);
        return 0;
    }
    if (p_PlayKeyAll(ActionButton1, 1) != 0) {
        m_keyLatch = 1;
        p_PauseActivate(m_pauseSel, 0);
        return 0;
    }
    const bool up = p_PlayKeyAll(ActionUp, 1) != 0;
    const bool left = p_PlayKeyAll(ActionLeft, 1) != 0;
    const bool right = p_PlayKeyAll(ActionRight, 1) != 0;
    const bool down = p_PlayKeyAll(ActionDown, 1) != 0;
    int next = m_pauseSel;
    if (m_pauseSel == kResumeItem && (left || up)) {
        next = kLeaveItem;
    } else if (m_pauseSel == kResumeItem && right) {
        next = kOptionsItem;
    } else if (m_pauseSel == kLeaveItem && (right || down)) {
        next = kResumeItem;
    } else if (m_pauseSel == kOptionsItem && (left || down)) {
        next = kResumeItem;
    }
    if (next == m_pauseSel) return 0;
    m_pauseSel = next;
    m_keyLatch = 1;
    p_PlaySFX(SoundChoose, next == kOptionsItem ? 1.2f : 0.8f, 0.5f, 0);
    return 0;
}
