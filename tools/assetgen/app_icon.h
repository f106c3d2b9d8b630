// The application icon that desktops show for the game: the ship on a night-sky disc, with
// Fliznet around it where the size leaves room for them.
#pragma once

#include <string>
#include <vector>

#include "assetgen/canvas.h"

// The square sizes in pixels that desktops ask for: 16, 32, 48, 64, 128 and 256.
const std::vector<int>& AppIconSizes();

// Draws the icon at `size` x `size` pixels. Each size is drawn from the shapes at its own
// resolution, with detail chosen for it, so a small icon is not a blurred large one.
Canvas RenderAppIcon(int size);

// Writes `folder`/<N>x<N>/apps/quarrox.png for every size, the layout of an icon theme.
// Throws std::runtime_error when a file cannot be written.
void WriteAppIcons(const std::string& folder);

// Writes the sizes up to 128 as `data_folder`/icons/quarrox-<N>.png, where the game finds the
// icon for its own window. Throws std::runtime_error when a file cannot be written.
void WriteWindowIcons(const std::string& dataFolder);
