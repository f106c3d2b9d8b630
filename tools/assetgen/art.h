// Draw functions of the image families: each draws one frame into a painter whose units are
// the frame's cell at the base art level.
#pragma once

#include "assetgen/painter.h"

void DrawGfxFrame(Painter& p, int frame);
void DrawParticle(Painter& p, int frame);
void DrawIcon(Painter& p, int frame);
void DrawButton(Painter& p, int frame);
void DrawDpad(Painter& p, int frame);
void DrawBadge(Painter& p, int frame);
void DrawMenuPanel(Painter& p, int frame);
void DrawTitle(Painter& p, int frame);
void DrawStudioEmblem(Painter& p, int frame);
void DrawTestcardCircle(Painter& p, int frame);
void DrawGameFontCell(Painter& p, int frame);
void DrawStripFontCell(Painter& p, int frame);

// A round glass button face shared by the icon sheet and the on-screen pad.
void DrawIconDisc(Painter& p, V2 centre, float radius, Rgba rim);
