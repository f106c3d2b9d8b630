// The tutorial of game type 1: labels beside the ship, the first Fliznet and the first
// specials, until the player has shot a Fliznet, set off a Bomb and triggered a Gravity-Well.
#include "game/my_app.h"

namespace {

const int kSpecialsHeldBack = 180;  // no special comes before the first point
const int kStepOneTime = 360;
const int kLastStep = 3;

// Labels stand right of the thing they point at, the first line just above its centre.
const float kLabelX = 8;
const float kLabelY = -4;

}  // namespace

// Line `line` (0 or 1) of a label beside the thing at (x, y): the lines stand one font line
// apart, so their letters never touch.
int c_MyApp::p_TutorialLabel(float x, float y, int line, String text) {
    const float lineHeight = static_cast<float>(m_imgInfo[m_font * 3 + 1]) * m_sizeY;
    p_Text(x + kLabelX, y + kLabelY + line * lineHeight, text, 0, 0);
    return 0;
}

int c_MyApp::p_Tutorial() {
    --m_tutorialTimer;
    p_ResetDraw();
    if (m_score == 0) {
        const float* first = p_Slot(0);  // the first Fliznet starts in slot 0
        p_TutorialLabel(m_ship[ShipX], m_ship[ShipY], 0, String("This is You"));
        p_TutorialLabel(first[1], first[2], 0, String("This is some Fliznet"));
        if (m_tutorialStep == 1) {
            p_TutorialLabel(first[1], first[2], 1, String("Shoot the Fliznet"));
        }
        m_specialTimer = kSpecialsHeldBack;
        if (m_tutorialStep == 0 && m_tutorialTimer <= 0) {
            m_tutorialStep = 1;
            m_tutorialTimer = kStepOneTime;
        }
    }
    if (m_score >= 1 && m_tutorialStep < 2) m_tutorialStep = 2;

    if (m_tutorialStep == 2 && m_specialCount > 0) {
        p_TutorialLabel(m_specialSeenX, m_specialSeenY, 0, String("This is a Bomb"));
        p_TutorialLabel(m_specialSeenX, m_specialSeenY, 1, String("Fly into it!"));
    }
    if (m_tutorialStep == kLastStep && m_specialSeenKind == SpecialGravityWell) {
        p_TutorialLabel(m_specialSeenX, m_specialSeenY, 0, String("This one is a"));
        p_TutorialLabel(m_specialSeenX, m_specialSeenY, 1, String("Gravity-Well"));
    }
    return 0;
}
