// The size of the game's window on a desktop. The picture is made for an 800 x 600 design
// screen; a window that is a whole multiple of it shows every design pixel as the same square
// of screen pixels, which keeps pixel art and small text crisp.
#pragma once

struct KxWindowSize {
    int width;
    int height;
};

// The design screen times the largest whole factor that fits in 90 % of a work area of the
// given size (the rest stays for the desktop around the window). A work area too small for
// the design screen gets the largest 4:3 window that fits in that 90 %; one with no size at
// all gets the design screen.
KxWindowSize KxWindowedSizeFor(int areaWidth, int areaHeight);
