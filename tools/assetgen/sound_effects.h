// The game's sound effects, "sfx/NNN.wav".
#pragma once

#include <string>
#include <vector>

#include "assetgen/sound.h"

struct EffectFile {
    int slot;
    Sound sound;
};

std::vector<EffectFile> MakeSoundEffects();
// "sfx/001.wav" for slot 1.
std::string EffectFileName(int slot);
void WriteSoundEffects(const std::string& dataFolder);
