// Playing a recording back: the game starts as the recording started and each update takes its
// input from the recording instead of the devices. Checkpoints tell when the rules of this
// build play the game otherwise; playback then stops rather than show a wrong game. Whatever a
// played game changes of the player's own (options, scores) is given back when it ends.
#include <cstdio>
#include <cstdlib>

#include "framework/random.h"
#include "game/command_line.h"
#include "game/my_app.h"
#include "game/replay_session.h"
#include "runtime/print.h"

namespace {

using Purpose = ReplaySession::Purpose;

const int kFirstBulletSlot = c_MyApp::LastFieldSlot + 1;
const int kNoticeUpdates = 240;
// A demo shows twenty seconds of a game, then the next type's.
const uint32_t kDemoUpdates = 20 * 60;
// The status of `quarrox --replay` when the recording falls out of step.
const int kOutOfStepStatus = 3;

}  // namespace

bool c_MyApp::p_Playing() const { return m_replay->purpose != Purpose::None; }

// Asked for in the middle of an update (by the menu), a playback starts with the next one, so
// its first update is a whole one.
int c_MyApp::p_PlaybackStart(const replay::Recording& recording, int purpose) {
    ReplaySession& r = *m_replay;
    r.pending = std::make_unique<replay::Recording>(recording);
    r.pendingPurpose = static_cast<Purpose>(purpose);
    return 0;
}

int c_MyApp::p_StartPendingPlayback() {
    ReplaySession& r = *m_replay;
    if (kx_Sprocklet_ProgramReplay) {
        r.pending = std::move(kx_Sprocklet_ProgramReplay);
        r.pendingPurpose = Purpose::Program;
    }
    if (!r.pending) return 0;
    const std::unique_ptr<replay::Recording> pending = std::move(r.pending);
    const replay::Recording& recording = *pending;
    ReplaySession::Kept& kept = r.kept;
    kept.settings.assign(m_settings.Data(), m_settings.Data() + m_settings.Length());
    kept.scores.assign(m_scores.Data(), m_scores.Data() + m_scores.Length());
    kept.iCade = kx_Sprocklet_iCadeControls;
    kept.gameType = m_gameType;
    kept.overscan = kx_Sprocklet_overscan;
    kept.bindings = *m_bindings;
    kept.hasMusic = kx_Sprocklet_HasMusic;
    kept.hasMusicStream = kx_Sprocklet_HasMusicStream;

    r.purpose = r.pendingPurpose;
    r.autopilot = r.pendingAutopilot;
    r.pendingAutopilot = false;
    r.played = recording;
    r.update = 0;
    r.nextEvent = 0;
    r.nextCheckpoint = 0;
    r.current = replay::Input();
    r.fieldWidth = recording.fieldWidth;
    r.fieldHeight = recording.fieldHeight;

    kx_random_Seed = recording.seed;
    m_gameType = recording.gameType;
    // The composed music draws from the game's generator when a game starts: the played game
    // has the music it was recorded with.
    if (recording.musicComposed == 1 && kx_Sprocklet_HasMusic != 1) p_ConfigureMusic();
    kx_Sprocklet_HasMusic = recording.musicComposed == 1 ? 1 : 0;
    kx_Sprocklet_HasMusicStream = recording.musicStream == 1 ? 1 : 0;
    const replay::StartInput& start = recording.startInput;
    m_keySteerX = start.keySteerX;
    m_keySteerY = start.keySteerY;
    m_dragX = start.dragX;
    m_dragY = start.dragY;
    m_mouseX = start.mouseX;
    m_mouseY = start.mouseY;
    m_mouseWasDown = start.mouseWasDown;
    m_keyLatch = start.keyLatch;
    m_clickUsed = start.clickUsed;
    for (int slot = kFirstBulletSlot; slot <= LastBulletSlot; ++slot) p_Slot(slot)[0] = KindFree;
    for (const replay::StartBullet& bullet : recording.bullets) {
        float* fields = p_Slot(bullet.slot);
        for (int f = 0; f < ObjectFields; ++f) fields[f] = bullet.fields[f];
    }
    m_creditsOpen = m_optionsOpen = m_badgesOpen = 0;
    m_creditsSlide = m_optionsSlide = 0;
    p_LeaveControls();
    m_paused = 0;
    m_mode = ModeStartGame;
    return 0;
}

// Before the rules of an update run: the events due, then the update's input. At the
// recording's end the game goes back to where it came from.
int c_MyApp::p_PlaybackBeforeRules() {
    ReplaySession& r = *m_replay;
    if (!p_Playing()) return 0;
    const replay::Recording& played = r.played;
    if (!r.autopilot && r.update >= played.inputs.size()) {
        p_PlaybackEnd(true);
        return 0;
    }
    // A game that ended before its recording did is not the recorded game.
    if (m_mode != ModeStartGame && m_mode != ModePlaying) {
        p_PlaybackEnd(r.autopilot);
        return 0;
    }
    while (r.nextEvent < played.events.size() && played.events[r.nextEvent].update == r.update) {
        const replay::Event& event = played.events[r.nextEvent++];
        switch (event.kind) {
        case replay::Event::FieldSize:
            r.fieldWidth = event.width;
            r.fieldHeight = event.height;
            break;
        case replay::Event::Suspend:
        case replay::Event::Resume:
            p_FocusPause();
            break;
        case replay::Event::Reseed:
            kx_random_Seed = event.seed;
            break;
        case replay::Event::Bound:
            p_FinishCapture(static_cast<int>(event.code));
            break;
        }
    }
    kx_Sprocklet_jscrw = r.fieldWidth;
    kx_Sprocklet_jscrh = r.fieldHeight;
    r.current = r.autopilot ? p_AutopilotInput() : played.inputs[r.update];
    return 0;
}

// After the rules of an update: where the recording has a checkpoint, the game must be just
// as it was when it was recorded.
int c_MyApp::p_PlaybackAfterRules() {
    ReplaySession& r = *m_replay;
    if (!p_Playing()) return 0;
    ++r.update;
    const std::vector<replay::Checkpoint>& checkpoints = r.played.checkpoints;
    while (r.nextCheckpoint < checkpoints.size() &&
           checkpoints[r.nextCheckpoint].update <= r.update) {
        const replay::Checkpoint& due = checkpoints[r.nextCheckpoint++];
        const uint32_t digest = replay::Digest(m_obj.Data(), m_obj.Length());
        if (due.update == r.update && due.score == m_score && due.digest == digest) continue;
        p_PlaybackEnd(false);
        return 0;
    }
    if (r.purpose == Purpose::Demo && r.update >= kDemoUpdates) {
        p_PlaybackEnd(true);
        return 0;
    }
    p_PlaybackCaption();
    return 0;
}

int c_MyApp::p_PlaybackCaption() {
    const ReplaySession& r = *m_replay;
    p_ResetDraw();
    p_SetCol(255, 255, 255, 0.7f);
    const String caption = r.purpose == Purpose::Demo
                               ? String("Demo - press any key to play")
                               : String("Replay - press any key to stop");
    p_Text(kx_Sprocklet_jscrw * 0.5f, kx_Sprocklet_jscrh - 12, caption, 1, 0);
    return 0;
}

// Any key, click or pad button ends a playback at once; the press does nothing else.
int c_MyApp::p_PlaybackInterrupted() {
    if (!p_Playing() || p_AnyPress() == 0) return 0;
    if (m_replay->purpose == Purpose::Program) kxError(String());
    p_PlaybackEnd(true);
    m_replay->demoNext = false;
    m_keyLatch = 1;
    m_clickUsed = 1;
    return 1;
}

int c_MyApp::p_PlaybackEnd(bool inStep) {
    ReplaySession& r = *m_replay;
    const Purpose purpose = r.purpose;
    if (purpose == Purpose::Program) {
        if (inStep) {
            kxPrint(String("Replay ended with the score ") + String(m_score) + String(" after ") +
                    String(static_cast<int>(r.update)) + String(" updates"));
            kxError(String());
        }
        std::fprintf(stderr, "quarrox: the recording fell out of step after %u updates: this "
                             "version of the game plays it otherwise\n",
                     static_cast<unsigned>(r.update));
        std::exit(kOutOfStepStatus);
    }
    r.purpose = Purpose::None;
    r.autopilot = false;
    r.demoNext = purpose == Purpose::Demo;
    r.idleUpdates = 0;
    r.played = replay::Recording();
    const ReplaySession::Kept& kept = r.kept;
    for (size_t i = 0; i < kept.settings.size(); ++i) m_settings[static_cast<int>(i)] = kept.settings[i];
    for (size_t i = 0; i < kept.scores.size(); ++i) m_scores[static_cast<int>(i)] = kept.scores[i];
    kx_Sprocklet_iCadeControls = kept.iCade;
    kx_Sprocklet_overscan = kept.overscan;
    *m_bindings = kept.bindings;
    m_gameType = kept.gameType;
    if (kept.hasMusic != 1) m_music->p_Zu_Stop(1);
    kx_Sprocklet_HasMusic = kept.hasMusic;
    kx_Sprocklet_HasMusicStream = kept.hasMusicStream;
    if (!inStep) {
        r.notice = "This recording plays otherwise in this version";
        r.noticeTimer = kNoticeUpdates;
    }
    p_StopTune();
    m_gameOver = 0;
    m_paused = 0;
    m_pauseMenuOn = -1;
    m_pauseMenuY = -64;
    m_creditsOpen = m_optionsOpen = m_badgesOpen = 0;
    p_LeaveControls();
    m_menuSlide = -32;
    m_mode = ModeMenu;
    return 0;
}


int c_MyApp::p_MusicDrew(uint32_t seedBefore) {
    if (p_Playing()) {
        // The played game's generator follows the recording, whatever the music draws now.
        kx_random_Seed = seedBefore;
    } else if (kx_random_Seed != seedBefore) {
        p_RecordEvent(replay::Event::Reseed, kx_random_Seed);
    }
    return 0;
}
