// The tutorial of game type 1: labels beside the ship, the first Fliznet and the first
// specials, until the player has shot a Fliznet, set off a Bomb and triggered a Gravity-Well.
#include "game/my_app.h"

namespace {

const int kSpecialsHeldBack = 180;  // no special comes before the first point
const int kStepOneTime = 360;
const int kLastStep = 3;

}  // namespace

int c_MyApp::p_Tutorial() {
    --m_tutorialTimer;
    p_ResetDraw();
    if (m_score == 0) {
        const float* first = p_Slot(0);  // the first Fliznet starts in slot 0
        p_Text(m_ship[ShipX] + 8, m_ship[ShipY] - 4, String("This is You"), 0, 0);
        p_Text(first[1] + 8, first[2] - 4, String("This is some Fliznet"), 0, 0);
        if (m_tutorialStep == 1) {
            p_Text(first[1] + 8, first[2] + 4, String("Shoot the Fliznet"), 0, 0);
        }
        m_specialTimer = kSpecialsHeldBack;
        if (m_tutorialStep == 0 && m_tutorialTimer <= 0) {
            m_tutorialStep = 1;
            m_tutorialTimer = kStepOneTime;
        }
    }
    if (m_score >= 1 && m_tutorialStep < 2) m_tutorialStep = 2;

    if (m_tutorialStep == 2 && m_specialCount > 0) {
        p_Text(m_specialSeenX + 8, m_specialSeenY - 4, String("This is a Bomb"), 0, 0);
        p_Text(m_specialSeenX + 8, m_specialSeenY + 4, String("Fly into it!"), 0, 0);
    }
    if (m_tutorialStep == kLastStep && m_specialSeenKind == SpecialGravityWell) {
        p_Text(m_specialSeenX + 8, m_specialSeenY - 4, String("This one is a"), 0, 0);
        p_Text(m_specialSeenX + 8, m_specialSeenY + 4, String("Gravity-Well"), 0, 0);
    }
    return 0;
}
