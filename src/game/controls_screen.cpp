// The Controls screen inside the options box: a row per action a player binds, with its keys on
// one line and its pad buttons on the next, a Default box that clears the action back to its
// defaults, and a row that restores every default. Choosing an action waits for the next key
// or pad button, which joins it (leaving whatever action had it, which the notice says).
// Every change is written to the bindings file at once.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "framework/input.h"
#include "game/bindings.h"
#include "game/my_app.h"
#include "game/replay_format.h"

namespace {

using controls::Bindable;
using controls::Outcome;

const int kSlideEnd = 30;  // the rows slide in with the options box
const float kSlideStep = 24;
const float kFirstRowY = 96;
const float kRowPitch = 38;
const float kRowHeight = 34;
const float kRowLeft = 84;
const float kLabelInset = 16;
const float kLabelScale = 2;
const float kLeastLabelScale = 1.2f;
const float kLabelChars = 6;  // "Choose", the longest action
const float kDefaultWidth = 84;
const float kLeastDefaultWidth = 56;
const float kListScale = 1.5f;
const float kNoticeScale = 1.5f;
const float kNoticeLinePitch = 16;
const float kDesignWidth = 632;  // the rows' width in an 800-unit screen, where all is full size
const float kGlyphAdvance = 7;
const float kTitleFromRight = 124;  // clear of the menu's logo
const float kBackLabelEnd = 290;    // where the back cog's "<[BACK]" ends, slid in
const int kRestoreRow = controls::kBindables + 1;
const int kWaitUpdates = 600;     // a capture nobody answers ends after ten seconds
const int kNoticeUpdates = 300;
const int kKeyboardCodes = 256;   // key hits below this are keys; the mouse's are 1 to 3
const int kFirstKeyCode = 8;
const int kEscape = 27;

const char* const kActionLabels[controls::kBindables] = {"Up",   "Down", "Left",  "Right",
                                                         "Fire", "Back", "Choose"};

// Buttons 1 to 6 of any player choose; the same as the options box's rows.
bool AnyButtonHeld(c_MyApp* app) {
    for (int action = c_MyApp::ActionButton1; action <= c_MyApp::ActionButton6; ++action) {
        if (app->p_PlayKeyAll(action, 1) != 0) return true;
    }
    return false;
}

// Whether every character of `name` has a glyph in the game font.
bool Drawable(const String& name) {
    for (int i = 0; i < name.Length(); ++i) {
        const int c = name[i];
        if (c < 32 || (c >= 127 && c < 160) || c > 255) return false;
    }
    return name.Length() > 0;
}

// Small letters as capitals, as key caps show them; ß and ÿ have no capital in the font.
String Capitals(const String& name) {
    String out;
    for (int i = 0; i < name.Length(); ++i) {
        int c = name[i];
        if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) c -= 32;
        out += String::FromChar(c);
    }
    return out;
}

String Joined(const std::vector<String>& names) {
    String out;
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0) out += String(", ");
        out += names[i];
    }
    return out;
}

// The scale at which `text` fits `width` units, at most `most`.
float FittingScale(const String& text, float width, float most) {
    const float needed = text.Length() * kGlyphAdvance;
    return needed > 0 ? std::min(most, width / needed) : most;
}

// `text` in two lines, cut at the `separator` nearest its middle (kept at the first line's
// end, but for a space), with the space after it dropped.
std::vector<String> Halved(const String& text, int separator) {
    int cut = -1;
    for (int i = 0; i + 1 < text.Length(); ++i) {
        if (text[i] != separator) continue;
        if (cut < 0 || std::abs(2 * i - text.Length()) < std::abs(2 * cut - text.Length())) cut = i;
    }
    if (cut < 0) return {text};
    const int end = separator == ' ' ? cut : cut + 1;
    const int next = separator != ' ' && text[cut + 1] == ' ' ? cut + 2 : cut + 1;
    return {text.Slice(0, end), text.Slice(next)};
}

// Where a row's parts go in a screen `vw` units wide.
struct RowLayout {
    float labelScale, labelX, listX, listWidth, defaultWidth;
};

RowLayout LayoutFor(float vw) {
    const float fit = std::min(1.0f, (vw - 2 * kRowLeft) / kDesignWidth);
    RowLayout layout;
    layout.labelScale = std::max(kLeastLabelScale, kLabelScale * fit);
    layout.labelX = kRowLeft + kLabelInset;
    layout.listX = layout.labelX + (kLabelChars + 1) * kGlyphAdvance * layout.labelScale;
    layout.defaultWidth = std::max(kLeastDefaultWidth, kDefaultWidth * fit);
    layout.listWidth = vw - kRowLeft - layout.defaultWidth - 8 - layout.listX;
    return layout;
}

}  // namespace

String c_MyApp::p_KeyLabel(int key) {
    const String named = kx_input_KeyName(key);
    if (Drawable(named)) return Capitals(named);
    return String(controls::KeyName(key).c_str());
}

String c_MyApp::p_KeysLabel(int action) {
    std::vector<String> names;
    for (int key : m_bindings->Keys(static_cast<Bindable>(action))) {
        names.push_back(p_KeyLabel(key));
    }
    return Joined(names);
}

String c_MyApp::p_ButtonsLabel(int action) {
    std::vector<String> names;
    for (int button : m_bindings->Buttons(static_cast<Bindable>(action))) {
        names.push_back(String(controls::ButtonName(button).c_str()));
    }
    return names.empty() ? String("no pad button") : Joined(names);
}

int c_MyApp::p_OpenControls() {
    m_controlsOpen = 1;
    m_controlsCursor = 1;
    m_controlsColumn = 0;
    m_capturing = -1;
    m_controlsNoticeTimer = 0;
    return 0;
}

int c_MyApp::p_LeaveControls() {
    m_controlsOpen = 0;
    m_capturing = -1;
    return 0;
}

int c_MyApp::p_ControlsScreen(int slide) {
    const float vw = kx_Sprocklet_jscrw;
    const float top = (kSlideEnd - slide) * kSlideStep + kFirstRowY;
    // The title stands between the back cog's label and the menu's logo, where there is room.
    const String title = String("Controls");
    const float titleScale = LayoutFor(vw).labelScale;
    const float titleRight = vw - kTitleFromRight;
    if (titleRight - title.Length() * kGlyphAdvance * titleScale > kBackLabelEnd) {
        p_ResetDraw();
        p_SetSize(titleScale);
        p_Text(titleRight, 60, title, 2, 1);
    }

    if (m_capturing >= 0 && ++m_captureTimer > kWaitUpdates) {
        m_capturing = -1;
        p_ControlsNotice(String("Nothing changed"));
    }
    for (int row = 1; row <= kRestoreRow; ++row) {
        p_ControlsRow(row, top + (row - 1) * kRowPitch);
    }
    p_ControlsFooter(top + kRestoreRow * kRowPitch);
    if (m_capturing < 0) p_ControlsKeys();
    // A click while waiting for a key leaves the action as it was.
    if (m_capturing >= 0 && m_pointerDown != 0 && m_optTouchLatch == 0) {
        m_optTouchLatch = 1;
        m_capturing = -1;
        p_ControlsNotice(String("Nothing changed"));
    }
    if (m_pointerDown == 0) m_optTouchLatch = 0;
    return 0;
}

int c_MyApp::p_ControlsRow(int row, float y) {
    const float vw = kx_Sprocklet_jscrw;
    const float width = vw - 2 * kRowLeft;
    const bool restore = row == kRestoreRow;
    const RowLayout layout = LayoutFor(vw);
    const float defaultWidth = restore ? 0 : layout.defaultWidth;
    const float height = restore ? kRowHeight * 0.7f : kRowHeight;
    const bool here = m_controlsCursor == row;
    const int action = row - 1;

    p_ResetDraw();
    p_SetCol(0, here && m_controlsColumn == 0 ? 180 : 0, here && m_controlsColumn == 0 ? 255 : 160,
             0.5f);
    if (m_capturing == action) p_SetCol(200, 120, 0, 0.7f);
    const int touchedRow = p_Touch(kRowLeft, y - 2, width - defaultWidth - 4, height);
    int touchedDefault = 0;
    if (!restore) {
        p_SetCol(0, here && m_controlsColumn == 1 ? 180 : 0,
                 here && m_controlsColumn == 1 ? 255 : 160, 0.5f);
        touchedDefault = p_Touch(vw - kRowLeft - defaultWidth, y - 2, defaultWidth, height);
    }

    p_ResetDraw();
    p_SetSize(layout.labelScale);
    if (restore) {
        p_Text(layout.labelX, y, String("Restore all defaults"), 0, 0);
    } else {
        p_Text(layout.labelX, y + 2, String(kActionLabels[action]), 0, 0);
        if (m_capturing == action) {
            p_ControlsLists({String("Press a key or pad button"), String("Escape: no change")},
                            y, layout.listX, layout.listWidth);
        } else {
            p_ControlsLists({p_KeysLabel(action), p_ButtonsLabel(action)}, y, layout.listX,
                            layout.listWidth);
        }
        p_SetSize(std::min(1.2f, defaultWidth / (8 * kGlyphAdvance)));
        p_Text(vw - kRowLeft - defaultWidth / 2, y + kRowHeight / 2 - 4, String("Default"), 1, 1);
    }

    if (m_capturing >= 0 || m_optTouchLatch != 0) return 0;
    if (touchedRow != 0) {
        m_controlsCursor = row;
        m_controlsColumn = 0;
        p_ControlsActivate();
    } else if (touchedDefault != 0) {
        m_controlsCursor = row;
        m_controlsColumn = 1;
        p_ControlsActivate();
    }
    return 0;
}

// The keys on the first line and the pad buttons on the second; keys too many for a line at
// scale 1 take two lines, all three then at one scale.
int c_MyApp::p_ControlsLists(std::vector<String> lines, float y, float x, float width) {
    float scale = kListScale;
    for (const String& line : lines) scale = std::min(scale, FittingScale(line, width, kListScale));
    if (scale < 1) {
        const std::vector<String> keys = Halved(lines[0], ',');
        lines.erase(lines.begin());
        lines.insert(lines.begin(), keys.begin(), keys.end());
        scale = 1;
        for (const String& line : lines) scale = std::min(scale, FittingScale(line, width, 1));
    }
    const float pitch = (kRowHeight - 2) / lines.size();
    p_SetSize(scale);
    for (size_t i = 0; i < lines.size(); ++i) p_Text(x, y + i * pitch, lines[i], 0, 0);
    return 0;
}

// The line under the rows: what a wait is for, what the last change did, or what to do. On a
// narrow screen it takes two lines rather than shrink below scale 1.
int c_MyApp::p_ControlsFooter(float y) {
    const float vw = kx_Sprocklet_jscrw;
    const float width = vw - 2 * kRowLeft;
    p_ResetDraw();
    String line;
    if (m_capturing >= 0) {
        line = String("Press the new key or pad button for ") + String(kActionLabels[m_capturing]);
    } else if (m_controlsNoticeTimer > 0) {
        --m_controlsNoticeTimer;
        line = m_controlsNotice;
        p_SetCol(255, 255, 120);
    } else {
        line = String("Choose an action to add a key or pad button to it");
    }
    std::vector<String> lines{line};
    if (FittingScale(line, width, kNoticeScale) < 1) lines = Halved(line, ' ');
    float scale = kNoticeScale;
    for (const String& part : lines) {
        scale = std::min(scale, FittingScale(part, width, kNoticeScale));
    }
    p_SetSize(scale);
    for (size_t i = 0; i < lines.size(); ++i) {
        p_Text(vw * 0.5f, y + 4 + i * kNoticeLinePitch, lines[i], 1, 0);
    }
    return 0;
}

int c_MyApp::p_ControlsNotice(String text) {
    m_controlsNotice = text;
    m_controlsNoticeTimer = kNoticeUpdates;
    return 0;
}

int c_MyApp::p_ControlsActivate() {
    m_optKeyLatch = 1;
    m_optTouchLatch = 1;
    p_PlaySFX(SoundSelect, 1, 1, 0);
    const int action = m_controlsCursor - 1;
    if (m_controlsCursor == kRestoreRow) {
        m_bindings->ResetAll();
        p_SaveBindings();
        p_ControlsNotice(String("Every control is back to its defaults"));
    } else if (m_controlsColumn == 1) {
        m_bindings->Clear(static_cast<Bindable>(action));
        p_SaveBindings();
        p_ControlsNotice(String(kActionLabels[action]) + String(" is back to its defaults"));
    } else {
        m_capturing = action;
        m_captureTimer = 0;
    }
    return 0;
}

int c_MyApp::p_ControlsKeys() {
    if (m_optKeyLatch == 0) {
        const bool up = p_PlayKeyAll(ActionUp, 1) != 0;
        const bool down = p_PlayKeyAll(ActionDown, 1) != 0;
        const bool left = p_PlayKeyAll(ActionLeft, 1) != 0;
        const bool right = p_PlayKeyAll(ActionRight, 1) != 0;
        const bool actionRow = m_controlsCursor >= 1 && m_controlsCursor < kRestoreRow;
        bool moved = true;
        if (up && m_controlsCursor > 0) {
            --m_controlsCursor;
        } else if (down && m_controlsCursor < kRestoreRow) {
            ++m_controlsCursor;
        } else if (left && actionRow && m_controlsColumn == 1) {
            m_controlsColumn = 0;
        } else if (right && actionRow && m_controlsColumn == 0) {
            m_controlsColumn = 1;
        } else {
            moved = false;
        }
        if (moved) {
            m_optKeyLatch = 1;
            p_PlaySFX(SoundSelect, 1, 1, 0);
        } else if (m_controlsCursor > 0 && AnyButtonHeld(this)) {
            p_ControlsActivate();
        }
    }
    bool held = AnyButtonHeld(this);
    for (int action : {ActionUp, ActionLeft, ActionRight, ActionDown, ActionBack}) {
        held = held || p_PlayKeyAll(action, 1) != 0;
    }
    if (!held) m_optKeyLatch = 0;
    return 0;
}

// Before the rules, so that a recording can name the update whose rules first see the change:
// the first key or pad button that went down since the last update answers the capture.
int c_MyApp::p_CaptureBinding() {
    if (m_capturing < 0 || m_optionsOpen == 0 || p_Playing()) return 0;
    int code = 0;
    for (int key = kFirstKeyCode; key < kKeyboardCodes && code == 0; ++key) {
        if (kx_input_KeyHit(key)) code = key;
    }
    for (int player = 0; player < kx_input_JoyPorts && code == 0; ++player) {
        for (int button = 0; button < kx_input_JoyButtons && code == 0; ++button) {
            if (kx_input_KeyHit(kx_input_KeyJoy0 + kx_input_JoyButtons * player + button)) {
                code = kKeyboardCodes + button;
            }
        }
    }
    if (code == 0) return 0;
    p_RecordEvent(replay::Event::Bound, static_cast<uint32_t>(code));
    p_FinishCapture(code);
    return 0;
}

int c_MyApp::p_FinishCapture(int code) {
    if (m_capturing < 0) return 0;
    const Bindable action = static_cast<Bindable>(m_capturing);
    m_capturing = -1;
    // What is still held from the answer must not also act on the screen.
    m_optKeyLatch = 1;
    if (code == kEscape) {
        p_ControlsNotice(String("Nothing changed"));
        return 0;
    }
    const bool button = code >= kKeyboardCodes;
    const String name = button ? String(controls::ButtonName(code - kKeyboardCodes).c_str())
                               : p_KeyLabel(code);
    const String label = String(kActionLabels[action]);
    int from = -1;
    const Outcome outcome = button ? m_bindings->BindButton(action, code - kKeyboardCodes, &from)
                                   : m_bindings->BindKey(action, code, &from);
    switch (outcome) {
    case Outcome::Added:
        p_ControlsNotice(name + String(" added to ") + label);
        break;
    case Outcome::Moved:
        p_ControlsNotice(from < controls::kBindables
                             ? name + String(" moved from ") + String(kActionLabels[from]) +
                                   String(" to ") + label
                             : name + String(" moved to ") + label);
        break;
    case Outcome::Already:
        p_ControlsNotice(label + String(" already has ") + name);
        break;
    case Outcome::Fixed:
        p_ControlsNotice(button ? String("The pad's Back and Start keep their meanings")
                                : String("Escape, F1, F4 and F11 keep their meanings"));
        break;
    case Outcome::LastKey: {
        const Bindable owner = button ? m_bindings->OwnerOfButton(code - kKeyboardCodes)
                                      : m_bindings->OwnerOfKey(code);
        p_ControlsNotice(name + String(" is the only ") + String(button ? "pad button" : "key") +
                         String(" of ") + String(kActionLabels[owner]));
        break;
    }
    case Outcome::Unknown:
        p_ControlsNotice(String("That key cannot be used"));
        break;
    }
    if (outcome == Outcome::Added || outcome == Outcome::Moved) p_SaveBindings();
    return 0;
}
