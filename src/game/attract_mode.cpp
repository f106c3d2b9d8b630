// The idle menu's demos: after half a minute in the menu without input, a game plays by
// itself, quietly, with a caption that says how to return: the best recording of the type, or
// the autopilot where there is none. Demos of the three types follow each other until a key,
// click or pad button brings the menu back; that press does nothing else.
#include <cmath>

#include "framework/random.h"
#include "game/my_app.h"
#include "game/replay_session.h"

namespace {

const int kIdleUpdates = 30 * 60;
const float kStickAtRest = 0.2f;

bool Untouched(const replay::Input& in, int lastMouseX, int lastMouseY) {
    bool untouched = in.keyboard == 0 && in.mouseDown == 0 && in.touchDown == 0 &&
                     in.mouseX == lastMouseX && in.mouseY == lastMouseY &&
                     std::fabs(in.stickX) < kStickAtRest && std::fabs(in.stickY) < kStickAtRest;
    for (int player = 0; player < replay::kPlayers; ++player) {
        untouched = untouched && in.joyButtons[player] == 0 && in.joySticks[player] == 0;
    }
    return untouched;
}

}  // namespace

int c_MyApp::p_AttractMode() {
    ReplaySession& r = *m_replay;
    const replay::Input& in = r.current;
    const bool untouched = Untouched(in, r.lastMouseX, r.lastMouseY) && p_AnyPress() == 0 &&
                           p_PopUpOpen() == 0;
    r.lastMouseX = in.mouseX;
    r.lastMouseY = in.mouseY;
    if (!untouched) {
        r.idleUpdates = 0;
        r.demoNext = false;
        return 0;
    }
    if (!r.demoNext) {
        if (++r.idleUpdates < kIdleUpdates) return 0;
        r.demoType = m_menuSel >= 1 && m_menuSel <= 3 ? m_menuSel : 1;
    }
    p_StartDemo(r.demoType);
    r.demoType = r.demoType % 3 + 1;
    return 0;
}

int c_MyApp::p_StartDemo(int gameType) {
    ReplaySession& r = *m_replay;
    r.idleUpdates = 0;
    r.demoNext = false;
    replay::Recording recording;
    const bool recorded = p_BestRecording(gameType, &recording);
    if (!recorded) {
        recording.seed = kx_random_Seed;
        recording.gameType = gameType;
        recording.fieldWidth = kx_Sprocklet_jscrw;
        recording.fieldHeight = kx_Sprocklet_jscrh;
    }
    p_PlaybackStart(recording, static_cast<int>(ReplaySession::Purpose::Demo));
    r.pendingAutopilot = !recorded;
    return 0;
}

bool c_MyApp::p_Quiet() const { return m_replay->purpose == ReplaySession::Purpose::Demo; }
