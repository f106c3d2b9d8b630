// The whole data folder: pictures, fonts, sound effects, the background tune, tune images
// and instrument samples.
#pragma once

#include <string>

// Writes every file below `folder`, creating folders as needed. Throws std::runtime_error
// when a file cannot be written.
void WriteDataFolder(const std::string& folder);
