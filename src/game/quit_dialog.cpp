// The quit confirmation, reached by back from the main menu on the console and by holding a
// pad's Back elsewhere: the first face button returns to the menu, the second or third or back
// again ends the program. The text names them as the pad in hand labels them.
#include <iterator>

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
// The last two lines on a desktop, where pads use the common layout: A is the first face
// button, B the second.
const char* const kDesktopButtonLines[] = {"Press (B) to Quit", "or (A) to return to the fun!"};
const int kButtonLines = 2;
const int kHeadingLines = 2;  // drawn larger than the rest
const float kHeadingScale = 3;
const float kBodyScale = 2;
const float kBodyPitch = 20;  // per line at the body's scale; the headings are spaced wider

}  // namespace

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
        const char* line = buttonLine ? kDesktopButtonLines[i - (kLineCount - kButtonLines)]
                                      : kLines[i];
        p_Text(kx_Sprocklet_jscrw * 0.5f, y, String(line), 1, 0);
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
