// PNG files through stb_image_write.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "assetgen/canvas.h"

// Creates the folders above `path` as needed. Throws std::runtime_error when it cannot.
void MakeParentFolders(const std::string& path);

// Writes 8-bit RGBA rows. Throws std::runtime_error on failure.
void WritePng(const std::string& path, int width, int height,
              const std::vector<std::uint8_t>& rgba);
void WritePng(const std::string& path, const Canvas& canvas);
