// The demo's pilot: it plays through the same controls as a player, one update's input at a
// time. It flees Fliznet that come close, flies into a special that has settled, and otherwise
// turns towards the nearest Fliznet, always firing. It need not be good, only lively (a demo
// ends after twenty seconds anyway).
#include <cmath>

#include "game/my_app.h"
#include "game/replay_session.h"

namespace {

// The bits of the controls table's first five actions: up, left, right, down and fire.
const uint16_t kUp = 1 << 0, kLeft = 1 << 1, kRight = 1 << 2, kDown = 1 << 3, kFire = 1 << 4;
const float kDangerReach = 70;  // Fliznet nearer than this push the ship away
const float kSteerAbove = 0.3f;  // a direction is held once its share passes this

// The shortest way from `from` to `to` on a field that wraps after `size`.
float Across(float from, float to, float size) {
    float d = to - from;
    if (d > size / 2) d -= size;
    if (d < -size / 2) d += size;
    return d;
}

}  // namespace

replay::Input c_MyApp::p_AutopilotInput() {
    replay::Input in;
    in.mouseX = m_mouseX;
    in.mouseY = m_mouseY;
    if (m_gameOver != 0) return in;
    const float w = kx_Sprocklet_jscrw, h = kx_Sprocklet_jscrh;
    const float x = m_ship[ShipX], y = m_ship[ShipY];
    float fleeX = 0, fleeY = 0, aimX = 0, aimY = 0, nearest = 1e9f;
    bool special = false;
    for (int slot = 0; slot <= LastFieldSlot; ++slot) {
        const float* o = p_Slot(slot);
        const float dx = Across(x, o[1], w), dy = Across(y, o[2], h);
        const float distance = std::sqrt(dx * dx + dy * dy) + 1;
        if (o[0] == KindSpecial && o[8] == 0) {
            aimX = dx / distance;
            aimY = dy / distance;
            special = true;
        } else if (o[0] == KindFliznet) {
            if (distance < kDangerReach) {
                fleeX -= dx / (distance * distance);
                fleeY -= dy / (distance * distance);
            }
            if (!special && distance < nearest) {
                nearest = distance;
                aimX = dx / distance;
                aimY = dy / distance;
            }
        }
    }
    // Fleeing comes first; a special is worth a little risk.
    const float fleeWeight = special ? 20.0f : 60.0f;
    const float steerX = aimX + fleeX * fleeWeight, steerY = aimY + fleeY * fleeWeight;
    const float length = std::sqrt(steerX * steerX + steerY * steerY);
    if (length > 0) {
        if (steerX / length > kSteerAbove) in.keyboard |= kRight;
        if (steerX / length < -kSteerAbove) in.keyboard |= kLeft;
        if (steerY / length > kSteerAbove) in.keyboard |= kDown;
        if (steerY / length < -kSteerAbove) in.keyboard |= kUp;
    }
    in.keyboard |= kFire;
    return in;
}
