// What the game keeps about recordings: the one being made of the game in play, and the one
// being played back, with what playback must give back to the player when it ends.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/bindings.h"
#include "game/replay_format.h"

struct ReplaySession {
    // Why a recording plays: watched from the menu, as the idle menu's demo, or as the whole
    // program's work (--replay).
    enum class Purpose { None, Watch, Demo, Program };

    // --- recording: from a game's first update to its hand-over to the menu
    bool recording = false;
    replay::Recording made;
    float fieldWidth = 0;  // the field as last recorded
    float fieldHeight = 0;

    // --- playback
    Purpose purpose = Purpose::None;
    replay::Recording played;
    // A playback asked for, which starts with the next update.
    std::unique_ptr<replay::Recording> pending;
    Purpose pendingPurpose = Purpose::None;
    bool pendingAutopilot = false;
    // The demo's autopilot makes its input as it goes instead of reading a recording.
    bool autopilot = false;
    uint32_t update = 0;      // updates played so far
    size_t nextEvent = 0;     // the next event and checkpoint of `played`
    size_t nextCheckpoint = 0;
    replay::Input current;    // the input of the update in progress
    // What a played game may change and the player keeps: restored when playback ends.
    struct Kept {
        std::vector<int> settings;
        std::vector<int> scores;
        std::vector<bool> badges;
        int iCade = 0;
        int hasMusic = 0;
        int hasMusicStream = 0;
        int gameType = 0;
        float overscan = 0;
        controls::Bindings bindings;
    } kept;
    // --- the idle menu's demos
    int idleUpdates = 0;     // updates in the menu without input
    int lastMouseX = 0;      // where the pointer was at the last update
    int lastMouseY = 0;
    int demoType = 1;        // the game type of the next demo
    bool demoNext = false;   // a demo ended by itself: the next follows at once

    // A short message on the menu after a playback fell out of step, and how long it stays.
    std::string notice;
    int noticeTimer = 0;
};
