// The draw state, the draw list that every screen appends to during an update and that each
// render replays, bitmap-font text, number formatting and the hit tests of drawn buttons.
#include <cmath>

#include "framework/graphics.h"
#include "game/degrees.h"
#include "game/my_app.h"

namespace {

// A command is appended only while it leaves a whole spare command free at the end of the
// list: at most 2499 commands.
const int kLastCommandStart = kx_Sprocklet_DrawListFloats - kx_Sprocklet_CommandFloats;

const int kFirstGlyph = 32;
const int kMenuNumberWidth = 11;

// How much closer or wider than the advance the font sets a character. An accented letter
// is set like its base letter: i with any accent (0xEC..0xEF) like i, n with a tilde (0xF1)
// like n. The signs that need a wide glyph (0xA9 and 0xAE, the copyright and registered
// signs, and the fractions 0xBC..0xBE) are set like W.
int Kerning(int c) {
    switch (c) {
    case 'w': case 'm': return 2;
    case 'W': case 'M': case 0xA9: case 0xAE: case 0xBC: case 0xBD: case 0xBE: return 1;
    case 'i': case 'f': case 'l': case 0xEC: case 0xED: case 0xEE: case 0xEF: return -3;
    case 'j': case 's': case 'k': case 'r': case 'z': case 't': case 'n': case 0xF1: return -1;
    default: return 0;
    }
}

// The font has a frame for every ASCII and Latin-1 character; the spaces (0x20 and the
// no-break space 0xA0) are blank, and delete and the controls 0x80..0x9F have no glyph.
bool HasGlyph(int c) {
    return (c > kFirstGlyph && c < 0x7F) || (c > 0xA0 && c <= 0xFF);
}

bool IsLineBreakAt(const String& text, int i) {
    return text[i] == '\\' && i + 1 < text.Length() && text[i + 1] == 'n';
}

}  // namespace

int c_MyApp::p_ResetDraw() {
    m_sizeX = 1;
    m_sizeY = 1;
    m_rot = 0;
    m_colR = 255;
    m_colG = 255;
    m_colB = 255;
    m_alpha = 1;
    m_blend = 1;
    return 0;
}

int c_MyApp::p_CLS2D(float r, float g, float b, float a) {
    m_viewW = kx_Sprocklet_jscrw;
    m_viewH = kx_Sprocklet_jscrh;
    m_originX = 0;
    m_originY = 0;
    if (r > kx_Sprocklet_Omitted) {
        m_clsR = r;
        m_clsG = g;
        m_clsB = b;
        m_clsA = a;
    }
    p_ResetDraw();
    m_drawCount = 0;
    return 0;
}

int c_MyApp::p_SetSize(float sx, float sy) {
    m_sizeX = sx;
    m_sizeY = sy == kx_Sprocklet_Omitted ? sx : sy;
    return 0;
}

int c_MyApp::p_SetRot(float angle) {
    m_rot = -angle;
    return 0;
}

int c_MyApp::p_SetCol(float r, float g, float b, float a) {
    m_colR = r;
    m_colG = g;
    m_colB = b;
    if (a > kx_Sprocklet_Omitted) m_alpha = a;
    return 0;
}

int c_MyApp::p_Alpha(float a) {
    m_alpha = a;
    return 0;
}

int c_MyApp::p_AppendCommand(float kind, float x, float y, float sizeX, float sizeY,
                             float frame) {
    if (m_drawCount >= kLastCommandStart) return 0;
    float* command = m_drawList.Data() + m_drawCount;
    command[0] = kind;
    command[1] = x;
    command[2] = y;
    command[3] = m_rot;
    command[4] = sizeX;
    command[5] = sizeY;
    command[6] = frame;
    command[7] = m_alpha;
    command[10] = m_colR;
    command[11] = m_colG;
    command[12] = m_colB;
    command[13] = static_cast<float>(m_blend);
    m_drawCount += kx_Sprocklet_CommandFloats;
    return 0;
}

int c_MyApp::p_DrawImg(int slot, float x, float y, float frame) {
    return p_AppendCommand(static_cast<float>(slot), x, y, m_sizeX, m_sizeY, frame);
}

int c_MyApp::p_Rect(float x, float y, float w, float h) {
    return p_AppendCommand(kx_Sprocklet_RectKind, x, y, w, h, 0);
}

int c_MyApp::p_Oval(float x, float y, float rx, float ry) {
    return p_AppendCommand(kx_Sprocklet_OvalKind, x, y, rx, ry, 0);
}

int c_MyApp::p_ReplayDrawList() {
    const float sx = m_scaleX;
    const float sy = m_scaleY;
    const float o = kx_Sprocklet_overscan;
    const int deviceWidth = kx_graphics_DeviceWidth();
    const float oy = deviceWidth > 0 ? o * kx_graphics_DeviceHeight() / deviceWidth : 0;

    // Every command is drawn with alpha blending. Setting it once rather than per command
    // draws the same picture, and lets the device batch the commands: setting a blend mode
    // always draws the pending batch.
    kx_graphics_SetBlend(0);
    for (int at = 0; at + kx_Sprocklet_CommandFloats <= m_drawCount;
         at += kx_Sprocklet_CommandFloats) {
        const float* c = m_drawList.Data() + at;
        kx_graphics_SetAlpha(c[7]);
        kx_graphics_SetColor(c[10], c[11], c[12]);
        const float kind = c[0];
        const float x = c[1] * sx + o;
        const float y = c[2] * sy + oy;
        if (kind == kx_Sprocklet_RectKind) {
            kx_graphics_DrawRect(x, y, c[4] * sx, c[5] * sy);
        } else if (kind == kx_Sprocklet_OvalKind) {
            kx_graphics_DrawEllipse(x, y, c[4] * sx, c[5] * sy);
        } else if (kind > -1 && kind < kx_Sprocklet_ImageSlots) {
            c_Image* image = m_img[static_cast<int>(kind)];
            if (!image) continue;  // missing art shows as nothing
            kx_graphics_DrawImage2(image, x, y, c[3], c[4] * sx * m_artScale,
                                   c[5] * sy * m_artScale, static_cast<int>(c[6]));
        }
    }
    return 0;
}

int c_MyApp::p_Text(float x, float y, String text, float alignX, float alignY) {
    const String line = String(" ") + text;
    const float advance = static_cast<float>(m_imgInfo[m_font * 3]);
    const float lineHeight = m_imgInfo[m_font * 3 + 1] * m_sizeY;

    // The width runs over the whole text, line breaks included, so a text of several lines
    // is aligned as if it were one.
    float width = 0;
    for (int i = 0; i + 1 < line.Length(); ++i) {
        width = std::trunc(width + (Kerning(line[i]) + advance) * m_sizeX);
    }

    const float angle = -m_rot;
    const float startX = x + SinDeg(angle - 90) * width * alignX / 2 +
                         SinDeg(angle) * lineHeight * (alignY - 1) / 2;
    const float startY = y - CosDeg(angle - 90) * width * alignX / 2 -
                         CosDeg(angle) * lineHeight * (alignY - 1) / 2;

    float penX = startX;
    float penY = startY;
    int lineNumber = 0;
    for (int i = 0; i < line.Length();) {
        if (IsLineBreakAt(line, i)) {
            i += 2;
            ++lineNumber;
            penX = startX + CosDeg(angle + 90) * lineNumber * lineHeight;
            penY = startY + SinDeg(angle + 90) * lineNumber * lineHeight;
            continue;
        }
        const int c = line[i];
        if (HasGlyph(c)) p_DrawImg(m_font, penX, penY, c - kFirstGlyph);
        if (c != 0) {
            const float step = (Kerning(c) + advance) * m_sizeX;
            penX += CosDeg(angle) * step;
            penY += SinDeg(angle) * step;
        }
        ++i;
    }
    return 0;
}

String c_MyApp::p_rstr(int width, int value, String pad) {
    String padded;
    for (int i = 0; i < width; ++i) padded += pad;
    padded += String(value);
    return padded.Slice(padded.Length() - width);
}

String c_MyApp::p_rstr(int value) { return p_rstr(kMenuNumberWidth, value, String(" ")); }

int c_MyApp::p_TouchInImage(int slot, float x, float y, int touch) {
    if (!IsImageSlot(slot)) return 0;
    const float halfW = m_imgInfo[slot * 3] * m_artScale * m_sizeX / 2;
    const float halfH = m_imgInfo[slot * 3 + 1] * m_artScale * m_sizeY / 2;
    const int tx = m_touchX[touch];
    const int ty = m_touchY[touch];
    return tx > x - halfW && tx < x + halfW && ty > y - halfH && ty < y + halfH ? 1 : 0;
}

int c_MyApp::p_Button(int slot, float x, float y, int frame) {
    p_DrawImg(slot, x, y, frame);
    if (m_pointerDown <= 0) return 0;
    for (int i = 0; i < kx_Sprocklet_PointerTouches; ++i) {
        if (p_TouchInImage(slot, x, y, i)) return 1;
    }
    return 0;
}

int c_MyApp::p_Button(float x, float y, int frame) { return p_Button(IconSheet, x, y, frame); }

int c_MyApp::p_Button0(int slot, float x, float y, int frame) {
    p_DrawImg(slot, x, y, frame);
    return m_pointerDown > 0 && p_TouchInImage(slot, x, y, 0) ? 1 : 0;
}

// The touch area reaches a little further right and down than the drawn rectangle.
int c_MyApp::p_Touch(float x, float y, float w, float h) {
    p_Rect(x, y, w, h);
    for (int i = 0; i < kx_Sprocklet_PointerTouches; ++i) {
        if (m_touchDown[i] == 0) continue;
        const int tx = m_touchX[i];
        const int ty = m_touchY[i];
        if (tx > x - 6 && tx < x + w + 12 && ty > y - 6 && ty < y + h + 12) return 1;
    }
    return 0;
}

int c_MyApp::p_MouseIn_Centered(float x, float y, float w, float h) {
    for (int i = 0; i < kx_Sprocklet_PointerTouches; ++i) {
        if (m_touchDown[i] == 0) continue;
        const int tx = m_touchX[i];
        const int ty = m_touchY[i];
        if (tx > x - w / 2 && tx < x + w / 2 && ty > y - h / 2 && ty < y + h / 2) return 1;
    }
    return 0;
}
