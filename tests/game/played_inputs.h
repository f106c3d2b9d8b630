// A realistic stream of recorded input, shared by the recording format's size test and its
// benchmark: steering keys and fire pressed and released every 5 to 30 updates, and now and
// then the mouse dragged for a while and clicked.
#pragma once

#include <random>
#include <vector>

#include "game/replay_format.h"

inline std::vector<replay::Input> PlayedInputs(int updates) {
    std::mt19937 random(7);
    const auto between = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    std::vector<replay::Input> played;
    replay::Input input;
    input.mouseX = 400;
    input.mouseY = 300;
    int nextKey = between(5, 30), nextMouse = between(60, 600), moving = 0;
    for (int update = 0; update < updates; ++update) {
        input.mouseHits = 0;
        if (--nextKey == 0) {
            input.keyboard ^= 1 << between(0, 4);  // up, left, right, down, fire
            nextKey = between(5, 30);
        }
        if (--nextMouse == 0) {
            moving = between(5, 40);
            nextMouse = moving + between(60, 600);
            input.mouseDown = 1;
            input.mouseHits = 1;
        }
        if (moving > 0) {
            input.mouseX += between(-12, 12);
            input.mouseY += between(-12, 12);
            input.mouseDown = --moving > 0;
        }
        played.push_back(input);
    }
    return played;
}
