// The sound files: effects, the background tune and the instrument samples.
#pragma once

#include <string>

// The background tune's file and its encoding quality.
constexpr const char* kBackgroundTuneFile = "sfx/Morvane.ogg";
constexpr float kBackgroundTuneQuality = 0.45f;

void WriteBackgroundTune(const std::string& dataFolder);
