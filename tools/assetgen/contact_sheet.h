// One preview picture of every image at every art level, side by side at the same displayed
// size (the base level enlarged, the larger levels reduced), over a dark checkerboard so
// transparency shows.
#pragma once

#include <string>
#include <vector>

#include "assetgen/canvas.h"

// `names` limits the sheet to those images; empty means all of them. Throws
// std::invalid_argument for an unknown name.
Canvas RenderContactSheet(const std::vector<std::string>& names);
