// The quit confirmation, reached by back from the main menu on the console and by holding a
// pad's Back elsewhere: the first face button returns to the menu, the second or third or back
// again ends the program. The text names them as the pad in hand labels them.
#include <iterator>
#include <string>

#include "game/bindings.h"
#include "game/my_app.h"
#include "runtime/debugger.h"

namespace {

const char* const kLines[] = {
    "It looks like you're",       "trying to QUIT!",
    "Are you absolutely sure",    "you want to quit the game?",
    "Isn't this fun?",            "It'll be a shame to see you go.",
    "Press (A) to Quit",          "or (O) to return to the fun!",
};
const int kLineCount = static_cast<int>(std::size(kLines));
const int kButtonLines = 2;
const int kHeadingLines = 2;  // drawn larger than the rest
const float kHeadingScale = 3;
const float kBodyScale = 2;
const float kBodyPitch = 20;  // per line at the body's scale; the headings are spaced wider

// The first pad button of the table's row for `action`, as the mapped pad layout names it;
// empty when the row has none.
std::string FirstButtonName(const controls::Bindings& bindings, int action) {
    for (const controls::Row& row : bindings.Table()) {
        if (row.action == action && !row.buttons.empty()) {
            return controls::ButtonName(row.buttons.front());
        }
    }
    return std::string();
}

}  // namespace

// On a desktop the last two lines name the buttons the player's bindings give the first and
// second buttons: (A) and (B) by default.
String c_MyApp::p_QuitButtonLine(int line) {
    if (line == 0) {
        std::string quit = FirstButtonName(*m_bindings, ActionButton2);
        if (quit.empty()) quit = FirstButtonName(*m_bindings, ActionButton3);
        if (quit.empty()) quit = FirstButtonName(*m_bindings, ActionBack);
        return String(("Press " + quit + " to Quit").c_str());
    }
    const std::string button = FirstButtonName(*m_bindings, ActionButton1);
    String back = String(button.c_str());
    if (button.empty()) {
        // Only keys return: the first of them.
        back = String("Fire");
        for (const controls::Row& row : m_bindings->Table()) {
            if (row.action != ActionButton1) continue;
            if (!row.keys.empty()) back = p_KeyLabel(row.keys.front());
            else if (!row.letters.empty()) back = p_KeyLabel(row.letters.front());
        }
    }
    return String("or ") + back + String(" to return to the fun!");
}

int c_MyApp::p_OuyaQuit() {
    p_CLS2D(kx_Sprocklet_Omitted, 0, 0, 0);
    const float pitchPerScale = kBodyPitch / kBodyScale;
    float height = 0;
    for (int i = 0; i < kLineCount; ++i) {
        height += pitchPerScale * (i < kHeadingLines ? kHeadingScale : kBodyScale);
    }
    float y = (kx_Sprocklet_jscrh - height) * 0.5f;
    for (int i = 0; i < kLineCount; ++i) {
        const float scale = i < kHeadingLines ? kHeadingScale : kBodyScale;
        p_SetSize(scale);
        const bool buttonLine = i >= kLineCount - kButtonLines && kx_Sprocklet_isOuya == 0;
        const String line = buttonLine ? p_QuitButtonLine(i - (kLineCount - kButtonLines))
                                       : String(kLines[i]);
        p_Text(kx_Sprocklet_jscrw * 0.5f, y, line, 1, 0);
        y += pitchPerScale * scale;
    }

    if (m_keyLatch != 0 || m_clickUsed != 0) return 0;
    if (p_PlayKeyAll(ActionButton1, 1) != 0) {
        m_mode = ModeMenu;
        m_keyLatch = 1;
        m_clickUsed = 1;
    } else if (p_PlayKeyAll(ActionButton2, 1) != 0 || p_PlayKeyAll(ActionButton3, 1) != 0 ||
               p_PlayKeyAll(ActionBack, 1) != 0) {
        kxError(String());
    }
    return 0;
}
