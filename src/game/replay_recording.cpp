// Recording the game in play: its start, every update's input as the rules see it, what
// changes play from outside the rules, and checkpoints; kept as the last game and, when it
// beats the one kept, the best game of its type.
#include "framework/random.h"
#include "game/my_app.h"
#include "game/replay_session.h"

namespace {

const int kFirstBulletSlot = c_MyApp::LastFieldSlot + 1;

replay::Checkpoint CheckpointOf(const c_MyApp* app, uint32_t update) {
    replay::Checkpoint checkpoint;
    checkpoint.update = update;
    checkpoint.score = app->m_score;
    checkpoint.digest = replay::Digest(app->m_obj.Data(), app->m_obj.Length());
    return checkpoint;
}

}  // namespace

int c_MyApp::p_RecordStart() {
    ReplaySession& r = *m_replay;
    r.recording = true;
    r.made = replay::Recording();
    replay::Recording& made = r.made;
    made.gameVersion = static_cast<const char*>(p_GameVersion().ToCString());
    made.seed = kx_random_Seed;
    made.gameType = m_gameType;
    made.musicStream = kx_Sprocklet_HasMusicStream;
    made.musicComposed = kx_Sprocklet_HasMusic;
    made.fieldWidth = r.fieldWidth = kx_Sprocklet_jscrw;
    made.fieldHeight = r.fieldHeight = kx_Sprocklet_jscrh;
    made.startInput.keySteerX = m_keySteerX;
    made.startInput.keySteerY = m_keySteerY;
    made.startInput.dragX = m_dragX;
    made.startInput.dragY = m_dragY;
    made.startInput.mouseX = m_mouseX;
    made.startInput.mouseY = m_mouseY;
    made.startInput.mouseWasDown = m_mouseWasDown;
    made.startInput.keyLatch = m_keyLatch;
    made.startInput.clickUsed = m_clickUsed;
    for (int slot = kFirstBulletSlot; slot <= LastBulletSlot; ++slot) {
        const float* fields = p_Slot(slot);
        if (fields[0] == KindFree) continue;
        replay::StartBullet bullet;
        bullet.slot = slot;
        for (int f = 0; f < ObjectFields; ++f) bullet.fields[f] = fields[f];
        made.bullets.push_back(bullet);
    }
    return 0;
}

int c_MyApp::p_RecordBeforeRules() {
    ReplaySession& r = *m_replay;
    if (r.purpose != ReplaySession::Purpose::None) return 0;  // a played game is not made again
    if (!r.recording && m_mode == ModeStartGame) p_RecordStart();
    if (!r.recording) return 0;
    if (m_mode != ModeStartGame && m_mode != ModePlaying) {
        p_RecordEnd();  // the hand-over to the menu
        return 0;
    }
    const uint32_t update = static_cast<uint32_t>(r.made.inputs.size());
    if (kx_Sprocklet_jscrw != r.fieldWidth || kx_Sprocklet_jscrh != r.fieldHeight) {
        replay::Event resized;
        resized.update = update;
        resized.kind = replay::Event::FieldSize;
        resized.width = r.fieldWidth = kx_Sprocklet_jscrw;
        resized.height = r.fieldHeight = kx_Sprocklet_jscrh;
        r.made.events.push_back(resized);
    }
    r.made.inputs.push_back(r.current);
    return 0;
}

int c_MyApp::p_RecordAfterRules() {
    ReplaySession& r = *m_replay;
    if (!r.recording) return 0;
    const uint32_t update = static_cast<uint32_t>(r.made.inputs.size());
    if (update % replay::kCheckpointEvery == 0) r.made.checkpoints.push_back(CheckpointOf(this, update));
    return 0;
}

int c_MyApp::p_RecordEvent(int kind, uint32_t value) {
    ReplaySession& r = *m_replay;
    if (!r.recording) return 0;
    replay::Event event;
    event.update = static_cast<uint32_t>(r.made.inputs.size());
    event.kind = static_cast<replay::Event::Kind>(kind);
    (kind == replay::Event::Bound ? event.code : event.seed) = value;
    r.made.events.push_back(event);
    return 0;
}

int c_MyApp::p_RecordEnd() {
    ReplaySession& r = *m_replay;
    r.recording = false;
    replay::Recording& made = r.made;
    const uint32_t updates = static_cast<uint32_t>(made.inputs.size());
    if (made.checkpoints.empty() || made.checkpoints.back().update != updates) {
        made.checkpoints.push_back(CheckpointOf(this, updates));
    }
    made.finalScore = m_score;
    p_KeepRecording(made);
    made = replay::Recording();  // a long game's input is not kept twice
    return 0;
}
