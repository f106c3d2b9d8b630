// The play-field sprites, each drawn in a 10 x 10 unit box facing up. The sprite sheet uses
// them at their own size; menus, buttons and badges reuse them through larger insets.
#pragma once

#include "assetgen/painter.h"

constexpr float kSpriteSize = 10;

void DrawShip(Painter& p);
void DrawShield(Painter& p);
void DrawBullet(Painter& p);
void DrawSpecialRing(Painter& p);
void DrawLifeIcon(Painter& p);
void DrawBombCore(Painter& p);
void DrawWellCore(Painter& p);
// look 0, 1 or 2: the three Fliznet variants.
void DrawFliznet(Painter& p, int look);

// Draws a sprite centred on `centre` of `p`, `size` units across.
template <class Draw>
void DrawSpriteAt(Painter& p, V2 centre, float size, Draw draw) {
    Painter inset = p.Inset(centre - V2{size / 2, size / 2}, size, kSpriteSize);
    draw(inset);
}
