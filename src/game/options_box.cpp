// The options box: sound mode, iCade mapping, display mode, the Controls screen and the credits,
// each a row that a touch or the keyboard cursor activates, with the back cog above them. It
// slides in over whatever screen opened it and owns all input while it is shown. Changes take
// effect at once and are saved when the box closes; the Controls screen writes its own file.
#include "game/my_app.h"

namespace {

const int kSlideEnd = 30;
const float kSlideStep = 24;  // panel and rows per step of the slide still to go
const float kBackCogY = 60;
const float kBackTextGap = 76;
const float kCogSpinPerUpdate = 0.2f;

const float kRowX = 100;
const float kFirstRowY = 130;
const float kRowPitch = 40;
const float kCreditsExtraGap = 10;  // the credits row stands 50 below the last row
const float kCreditsLabelFromRight = 264;
const float kLabelScale = 2;

const int kOverscanStep = 16;
const int kLeastOverscan = 1;
const int kMostOverscan = 96;
const int kSmallOverscan = 32;
const float kOverscanBarWidth = 256;
const float kOverscanMarkerSpan = 2.67f;  // bar units per overscan unit

enum OptionRow { kSoundRow, kICadeRow, kDisplayRow, kControlsRow, kCreditsRow };
const int kMaxRows = 5;

const int kSoundModesWithMusic = 4;

// The rows on show, in order; the cursor's row n is entry n - 1 (row 0 is the back cog).
int ShownRows(int rows[kMaxRows], int paused) {
    int count = 0;
    rows[count++] = kSoundRow;
    if (kx_Sprocklet_isOuya == 0) rows[count++] = kICadeRow;
    rows[count++] = kDisplayRow;
    rows[count++] = kControlsRow;
    if (paused == 0) rows[count++] = kCreditsRow;
    return count;
}

// Buttons 1 to 6 of any player: they activate the row under the cursor.
bool AnyButtonHeld(c_MyApp* app) {
    for (int action = c_MyApp::ActionButton1; action <= c_MyApp::ActionButton6; ++action) {
        if (app->p_PlayKeyAll(action, 1) != 0) return true;
    }
    return false;
}

bool MusicPathEnabled() { return kx_Sprocklet_HasMusic == 1 || kx_Sprocklet_HasMusicStream == 1; }

}  // namespace

int c_MyApp::p_OptionBox() {
    const int slide = m_optionsSlide;
    if (kx_Sprocklet_isOuya == 1) p_OverscanGuides();

    // Nothing under the box reacts, and nothing in it reacts before it has slid in.
    m_keyLatch = 1;
    m_clickUsed = 1;
    if (slide < kSlideEnd) {
        m_optKeyLatch = 1;
        m_optTouchLatch = 1;
    }

    p_ResetDraw();
    p_SetCol(150, 75, 0, 0.85f);
    p_Rect(50, (kSlideEnd - slide) * kSlideStep, kx_Sprocklet_jscrw - 100, kx_Sprocklet_jscrh);
    if (m_controlsOpen == 1) {
        p_OptionBackCog(slide, m_controlsCursor == 0 ? 1 : 0);
        p_ControlsScreen(slide);
        return 0;
    }
    p_OptionBackCog(slide, m_optCursor == 0 ? 1 : 0);
    if (kx_Sprocklet_isOuya == 1) {
        p_OverscanSlider(4 * (3 * slide - 90) + 92, m_optKeyLatch, m_optTouchLatch);
    }
    int rows[kMaxRows];
    const int count = ShownRows(rows, m_paused);
    p_OptionRows(slide, rows, count);
    p_OptionKeys(count);
    return 0;
}

// Marks in the four corners show where the picture ends on a television.
int c_MyApp::p_OverscanGuides() {
    const float vw = kx_Sprocklet_jscrw;
    const float vh = kx_Sprocklet_jscrh;
    p_ResetDraw();
    p_Rect(0, 0, 16, 8);
    p_Rect(0, 0, 8, 16);
    p_Rect(vw - 16, 0, 16, 8);
    p_Rect(vw - 8, 0, 8, 16);
    p_Rect(0, vh - 8, 16, 8);
    p_Rect(0, vh - 16, 8, 16);
    p_Rect(vw - 16, vh - 8, 16, 8);
    p_Rect(vw - 8, vh - 16, 8, 16);
    return 0;
}

// Back leaves the Controls screen for the options, or the options for what lies under them.
int c_MyApp::p_OptionBackCog(int slide, int cursorOnCog) {
    const float x = (3 * slide - 90) * 4 + 100;
    m_cogSpin += kCogSpinPerUpdate;
    p_ResetDraw();
    p_SetSize(cursorOnCog == 1 ? 2 : 1.5f);
    const int touched = p_CogButton(x, kBackCogY);
    p_SetSize(kLabelScale);
    p_Text(x + kBackTextGap, kBackCogY, String("<[BACK]"), 0, 1);

    const bool buttons = AnyButtonHeld(this);
    const bool byTouch = touched != 0 && m_optTouchLatch == 0;
    const bool byKey = m_optKeyLatch == 0 && m_capturing < 0 &&
                       (p_PlayKeyAll(ActionBack, 1) != 0 || (cursorOnCog == 1 && buttons));
    if (!byTouch && !byKey) return 0;
    m_optKeyLatch = 1;
    m_optTouchLatch = 1;
    p_PlaySFX(SoundSelect, 1, 1, 0);
    if (m_controlsOpen == 1) {
        p_LeaveControls();
    } else {
        p_CloseOptions();
    }
    return 0;
}

int c_MyApp::p_CloseOptions() {
    m_optionsOpen = 0;
    p_LeaveControls();
    p_Save();
    return 0;
}

// L1 and R1 step the overscan; a touch on the bar jumps to one end.
int c_MyApp::p_OverscanSlider(float y, int& keyLatch, int& touchLatch) {
    const float x = kx_Sprocklet_jscrw * 0.6f;
    p_ResetDraw();
    p_SetSize(1.5f);
    p_Text(x, y, String("L1 <      Overscan      > R1"), 1, 1);
    p_ResetDraw();
    p_SetCol(255, 255, 255, 0.5f);
    const int touched = p_Touch(x - kOverscanBarWidth / 2, y + 12, kOverscanBarWidth, 8);
    p_SetCol(255, 255, 0, 1);
    p_Rect(x - 132 + kOverscanMarkerSpan * m_settings[OverscanSetting], y + 8, 8, 16);

    int value = m_settings[OverscanSetting];
    const int before = value;
    if (keyLatch == 0 && p_PlayKeyAll(ActionButton5, 1) != 0) {
        value -= kOverscanStep;
        keyLatch = 1;
    } else if (keyLatch == 0 && p_PlayKeyAll(ActionButton6, 1) != 0) {
        value += kOverscanStep;
        keyLatch = 1;
    }
    if (touched != 0 && touchLatch == 0) {
        touchLatch = 1;
        if (value > kLeastOverscan) {
            value = kLeastOverscan;
        } else if (value < kSmallOverscan) {
            value = kMostOverscan;
        }
    }
    if (value == before) return 0;
    if (value < kLeastOverscan) value = kLeastOverscan;
    if (value > kMostOverscan) value = kMostOverscan;
    m_settings[OverscanSetting] = value;
    kx_Sprocklet_overscan = static_cast<float>(value);
    return 0;
}

int c_MyApp::p_OptionRows(int slide, const int* rows, int count) {
    const float vw = kx_Sprocklet_jscrw;
    const bool buttons = AnyButtonHeld(this);
    float y = (kSlideEnd - slide) * kSlideStep + kFirstRowY;
    for (int i = 0; i < count; ++i) {
        const int cursorRow = i + 1;
        float labelX = kRowX;
        if (rows[i] == kCreditsRow) {
            y += kCreditsExtraGap;
            labelX = vw - kCreditsLabelFromRight;
        }
        p_ResetDraw();
        if (m_optCursor == cursorRow) {
            p_SetCol(0, 180, 255, 0.5f);
        } else {
            p_SetCol(0, 0, 160, 0.5f);
        }
        const int touched = p_Touch(84, y - 2, vw - 168, 24);
        p_ResetDraw();
        p_SetSize(kLabelScale);
        p_Text(labelX, y, p_OptionLabel(rows[i]), 0, 0);

        const bool byTouch = touched != 0 && m_optTouchLatch == 0;
        const bool byKey = m_optCursor == cursorRow && m_optKeyLatch == 0 && buttons;
        if (byTouch || byKey) p_OptionActivate(rows[i]);
        y += kRowPitch;
    }
    return 0;
}

String c_MyApp::p_OptionLabel(int row) {
    switch (row) {
    case kSoundRow: {
        // A mode without a label here (saved by a build with other music) becomes off.
        int& mode = m_settings[SoundModeSetting];
        if (MusicPathEnabled()) {
            static const char* const kLabels[kSoundModesWithMusic] = {
                "Sound : Off", "Sound : SFX + Music", "Sound : SFX", "Sound : Music"};
            if (mode < 0 || mode >= kSoundModesWithMusic) mode = 0;
            return String(kLabels[mode]);
        }
        if (mode != 0 && mode != 1) mode = 0;
        return String(mode == 0 ? "Sound : Off" : "Sound : On");
    }
    case kICadeRow:
        return String(kx_Sprocklet_iCadeControls == 1 ? "iCade : On" : "iCade : Off");
    case kDisplayRow:
        return String(m_fullscreen == 1 ? "Windowed" : "Fullscreen");
    case kControlsRow:
        return String("Controls");
    default:
        return String("Credits");
    }
}

int c_MyApp::p_OptionActivate(int row) {
    m_optKeyLatch = 1;
    m_optTouchLatch = 1;
    switch (row) {
    case kSoundRow:
        p_NextSoundMode();
        break;
    case kICadeRow:
        p_iCade(1 - kx_Sprocklet_iCadeControls);
        for (int i = 0; i < kx_Sprocklet_PadEntries; ++i) m_pad[i] = 0;
        break;
    case kDisplayRow:
        p_FullscreenFlip();
        break;
    case kControlsRow:
        p_OpenControls();
        break;
    default:
        m_creditsOpen = 1;
        // Closing saves on every path, so no change made in the box is lost.
        p_CloseOptions();
        break;
    }
    p_PlaySFX(SoundSelect, 1, 1, 0);
    return 0;
}

// With music: off, effects and music, effects, music. The modes without music stop the tune;
// the modes with music start none before the next game.
int c_MyApp::p_NextSoundMode() {
    int& mode = m_settings[SoundModeSetting];
    if (!MusicPathEnabled()) {
        mode = 1 - mode;
        return 0;
    }
    mode = (mode + 1) % kSoundModesWithMusic;
    if (mode == 0 || mode == 2) p_StopTune();
    return 0;
}

int c_MyApp::p_OptionKeys(int rowCount) {
    if (m_optKeyLatch == 0) {
        if (p_PlayKeyAll(ActionUp, 1) != 0 || p_PlayKeyAll(ActionLeft, 1) != 0) {
            if (m_optCursor > 0) {
                --m_optCursor;
                m_optKeyLatch = 1;
                p_PlaySFX(SoundSelect, 1, 1, 0);
            }
        } else if (p_PlayKeyAll(ActionDown, 1) != 0 || p_PlayKeyAll(ActionRight, 1) != 0) {
            if (m_optCursor < rowCount) {
                ++m_optCursor;
                m_optKeyLatch = 1;
                p_PlaySFX(SoundSelect, 1, 1, 0);
            }
        }
    }

    bool held = false;
    for (int action : {ActionUp, ActionLeft, ActionRight, ActionDown, ActionBack}) {
        held = held || p_PlayKeyAll(action, 1) != 0;
    }
    if (!held && !AnyButtonHeld(this)) m_optKeyLatch = 0;
    if (m_pointerDown == 0) m_optTouchLatch = 0;
    return 0;
}
