// Every picture the game loads: its file name, cell grid and how each frame is drawn.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "assetgen/canvas.h"
#include "assetgen/painter.h"

struct ImageSpec {
    std::string name;  // path below the data folder, without level suffix and ".png"
    int cellWidth;     // at the base level
    int cellHeight;
    int frames;
    int columns;     // frames per row of the grid
    bool allLevels;  // false: only the base level exists
    std::function<void(Painter&, int)> draw;

    int Rows() const { return (frames + columns - 1) / columns; }
};

// The art levels: cells of 1, 2 and 4 times the base size.
const std::vector<int>& ArtLevels();
// "name.png", "name-hd.png" or "name-hd2.png".
std::string ImageFileName(const ImageSpec& desc, int level);

const std::vector<ImageSpec>& ImageSpecs();
const ImageSpec* FindImageSpec(const std::string& name);

// Draws every frame of the image at the level's own resolution.
Canvas RenderImage(const ImageSpec& desc, int level);
