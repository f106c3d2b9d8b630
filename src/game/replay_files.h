// Reading a recording file (see replay_files.cpp for the files the game keeps).
#pragma once

#include <string>

#include "game/replay_format.h"

// Reads and decodes the recording at `path`. False, with a short reason ("cannot be read",
// "truncated", ...), when it is not one this game can play.
bool ReadRecording(const std::string& path, replay::Recording* recording, std::string* reason);
