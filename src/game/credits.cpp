// The credits, shown as a television test card over the menu: a grid of white squares in a
// black frame with coloured ramps along it, a centre circle whose window scrolls the credits
// upwards without end, the logo, and four corner circles that report the screen and the
// rates. The card flies and fades in while it opens and flies out while it closes; a click or
// a fresh press of button 1, 2 or 6 closes it (and back, like every pop-up of the menu).
#include <algorithm>
#include <cmath>

#include "framework/graphics.h"
#include "game/my_app.h"

namespace {

const int kPadButtonFrame = 12;  // on the button sheet

const int kOpenSlide = 30;      // m_creditsSlide of the fully open card
const int kGrowingSlide = 20;   // the squares reach full size this far into the opening
const float kCellsAlong = 12;   // cells along the longer side of the screen

const float kInsetGap = 2;  // grey insets stand this far inside their white squares
const float kFrameInset = 8;
const float kRampSpan = 512;  // colour ramps climb 0 .. 512, clamped to 0 .. 255
const float kGreySpan = 255;
const float kGrey = 128;

// The second-to-last row's insets run together into one bar from column 4 to C - 3.
const int kBarFirstAfter = 3;
const float kBarShift = -6;
const float kBarWidening = 24;
const float kBarEndWidening = 4;

const float kLineHeight = 16;
const float kScrollPerUpdate = 0.3f;
const float kExtraScrollWhileHeld = 1.5f;
const int kFirstRow = -3, kLastRow = 4;  // window rows around its origin
const float kFadeDistance = 40;
const float kFullyLit = 0.3f;  // of the fade distance, around the origin
const float kTextRight = 24;   // the window's text stands right of the screen's centre
const float kTextAlign = 0.8f;

const float kCircleRise = 24;  // the centre circle and its text, per step of spread
const float kLogoDrop = 4;
const float kLogoScale = 0.4f;
const float kCornerCells = 1.5f;  // corner circle centres, in cells from the grid's corners
const float kCornerSpreadX = 6, kCornerSpreadY = 3;
const float kRingWidth = 3;
const float kNumberPitch = 16;
const float kStudioLogoScale = 0.3f;

const int kCloseActions[] = {c_MyApp::ActionButton6, c_MyApp::ActionButton1,
                             c_MyApp::ActionButton2};

// This update's layout, in virtual units.
struct Card {
    float w, h;  // the virtual screen
    float cell;
    int cols, rows;  // C and R: the grid has C + 1 by R + 1 cells
    float originX, originY;
    int spread;
    float square;  // side of a cell's square: it grows while the card opens
    float alpha;
};

struct Rgb {
    float r, g, b;
};

int Clamp255(float v) { return std::min(255, std::max(0, static_cast<int>(v))); }

// Cell n (from 0) of a ramp that climbs `span` over `steps` cells. A side with at most one
// cell between its corners has no steps to divide the span by: that cell shows the ramp's
// middle, the colour a longer ramp shows at its centre.
float RampAt(float span, int steps, int n) {
    if (steps <= 0) return span / 2;
    return span / steps * n;
}

// How far out cell `index` of `count` starts while the card opens: the offsets grow with the
// square of the distance from the centre and skip 0, so that even the centre cells move.
int FlyOut(int index, int count) {
    int u = index - count / 2;
    if (u < 1) u -= 1;
    return u * std::abs(u);
}

Rgb FrameColour(const Card& card, int i, int j) {
    const float a = RampAt(kRampSpan, card.cols - 2, i - 1);
    const float b = RampAt(kRampSpan, card.rows - 2, j - 1);
    const float g = RampAt(kGreySpan, card.cols - 2, i - 1);
    const float r1 = Clamp255(a), r2 = Clamp255(kRampSpan - a);
    const float b1 = Clamp255(b), b2 = Clamp255(kRampSpan - b);
    const float grey = Clamp255(g);

    Rgb colour = {255, 0, 0};
    if (j == 0) colour = {r1, r2, 0};
    if (i == 0) colour = {0, b2, b1};
    if (i == card.cols) colour = {b2, 0, b1};
    if (j == card.rows) colour = {grey, grey, grey};
    return colour;
}

void DrawInnerInset(c_MyApp& app, const Card& card, int i, int j, float x, float y) {
    float dx = kInsetGap;
    float dw = 2 * kInsetGap;
    if (j == card.rows - 1) {
        if (i > kBarFirstAfter && i < card.cols - 2) {
            dx = kBarShift;
            dw = -kBarWidening;
        }
        if (i == card.cols - 3) dw = -kBarEndWidening;
    }
    app.p_SetCol(kGrey, kGrey, kGrey);
    app.p_Rect(x + dx, y + kInsetGap, card.square - dw, card.square - 2 * kInsetGap);
}

// The ramp runs along the frame: inset at both ends of the cell along the side, flush across.
void DrawFrameRamp(c_MyApp& app, const Card& card, int i, int j, float x, float y) {
    const Rgb colour = FrameColour(card, i, j);
    app.p_SetCol(colour.r, colour.g, colour.b);
    const float q = card.square;
    if (i == 0 || i == card.cols) {
        app.p_Rect(x, y + kFrameInset, q, q - 2 * kFrameInset);
    } else {
        app.p_Rect(x + kFrameInset, y, q - 2 * kFrameInset, q);
    }
}

void DrawCell(c_MyApp& app, const Card& card, int i, int j) {
    const float x = card.spread * FlyOut(i, card.cols) + i * card.cell + card.originX -
                    card.square / 2;
    const float y = card.spread * FlyOut(j, card.rows) + j * card.cell + card.originY -
                    card.square / 2;
    const bool column = i == 0 || i == card.cols;
    const bool row = j == 0 || j == card.rows;

    const float base = column || row ? 0 : 255;
    app.p_SetCol(base, base, base);
    app.p_Rect(x, y, card.square + 1, card.square + 1);
    if (!column && !row) DrawInnerInset(app, card, i, j, x, y);
    if (column != row) DrawFrameRamp(app, card, i, j, x, y);
}

void DrawGrid(c_MyApp& app, const Card& card) {
    app.p_Alpha(card.alpha);
    for (int i = 0; i <= card.cols; ++i) {
        for (int j = 0; j <= card.rows; ++j) DrawCell(app, card, i, j);
    }
}

void DrawCentreCircle(c_MyApp& app, const Card& card) {
    app.p_SetCol(255, 255, 255, card.alpha);
    app.p_SetSize(1);
    app.p_DrawImg(c_MyApp::CircleSlot, card.w / 2, card.h / 2 - kCircleRise * card.spread, 0);
}

// Holding up or down only hurries the text along: it never runs backwards.
void ScrollCredits(c_MyApp& app) {
    app.m_creditsScroll -= kScrollPerUpdate;
    if (app.p_PlayKeyAll(c_MyApp::ActionDown, 1) + app.p_PlayKeyAll(c_MyApp::ActionUp, 1) > 0) {
        app.m_creditsScroll -= kExtraScrollWhileHeld;
    }
    if (app.m_creditsScroll < -kLineHeight) {
        app.m_creditsScroll += kLineHeight;
        ++app.m_creditsLine;
    }
}

// Lines are lit near the window's origin and fade out towards its edges.
float LineAlpha(float offset) {
    const float t = std::fabs(offset) / kFadeDistance - kFullyLit;
    if (t < 0) return 1;
    if (t > 1) return 0;
    return 1 - t;
}

void DrawCreditLines(c_MyApp& app, const Card& card) {
    // The last line ("End") is never shown: after the one before it the credits start again.
    const int shown = kx_Sprocklet_CreditText.Length() - 1;
    app.p_SetSize(1);
    for (int k = kFirstRow; k <= kLastRow; ++k) {
        int line = (k + app.m_creditsLine) % shown;
        if (line < 0) line += shown;
        app.p_SetCol(255, 255, 255, LineAlpha(kLineHeight * k + app.m_creditsScroll));
        const float y = kLineHeight * k + card.h / 2 - kCircleRise * card.spread +
                        app.m_creditsScroll;
        app.p_Text(card.w / 2 + kTextRight, y, kx_Sprocklet_CreditText[line], kTextAlign,
                   kTextAlign);
    }
}

void DrawLogo(c_MyApp& app, const Card& card) {
    app.p_SetCol(255, 255, 255, card.alpha);
    app.p_SetSize(kLogoScale);
    app.p_DrawImg(c_MyApp::TitleSlot, card.w / 2,
                  kLogoDrop * card.spread + (card.rows - 1) * card.cell + card.originY, 0);
}

// Three lines, one above the other, centred on (x, y).
void DrawNumbers(c_MyApp& app, float x, float y, int top, int middle, int bottom) {
    app.p_Text(x, y - kNumberPitch, String(top), kTextAlign, kTextAlign);
    app.p_Text(x, y, String(middle), kTextAlign, kTextAlign);
    app.p_Text(x, y + kNumberPitch, String(bottom), kTextAlign, kTextAlign);
}

void DrawCornerCircles(c_MyApp& app, const Card& card) {
    const float left = kCornerCells * card.cell + card.originX - kCornerSpreadX * card.spread;
    const float right =
        (card.cols - kCornerCells) * card.cell + card.originX + kCornerSpreadX * card.spread;
    const float top = kCornerCells * card.cell + card.originY - kCornerSpreadY * card.spread;
    const float bottom =
        (card.rows - kCornerCells) * card.cell + card.originY + kCornerSpreadY * card.spread;

    app.p_SetSize(1);
    app.p_SetRot(0);
    app.m_blend = 1;
    app.p_Alpha(card.alpha);
    const float q = card.square;
    for (float x : {left, right}) {
        for (float y : {top, bottom}) {
            app.p_SetCol(255, 255, 255);
            app.p_Oval(x, y, q, q);
            app.p_SetCol(kGrey, kGrey, kGrey);
            app.p_Oval(x, y, q - kRingWidth, q - kRingWidth);
        }
    }

    app.p_SetCol(255, 255, 255);
    DrawNumbers(app, left, top, kx_graphics_DeviceWidth(), kx_graphics_DeviceHeight(),
                app.m_uFpsAvg);
    DrawNumbers(app, right, top, static_cast<int>(std::floor(kx_Sprocklet_jscrw)),
                static_cast<int>(std::floor(kx_Sprocklet_jscrh)), app.m_rFpsAvg);
    app.p_DrawImg(c_MyApp::ButtonSheet, left, bottom, kPadButtonFrame);
    app.p_SetSize(kStudioLogoScale);
    app.p_DrawImg(c_MyApp::LogoSlot, right, bottom, 0);
}

// A click and a key in the same update both close the card: each plays the sound.
void CloseOnFreshPress(c_MyApp& app) {
    if (app.m_pointerDown > 0 && app.m_clickUsed == 0) {
        app.m_clickUsed = 1;
        app.m_creditsOpen = 0;
        app.p_PlaySFX(c_MyApp::SoundSelect, 1, 1, 0);
    }
    int held = 0;
    for (int action : kCloseActions) held += app.p_PlayKeyAll(action, 1);
    if (app.m_keyLatch == 0 && held > 0) {
        app.m_keyLatch = 1;
        app.m_creditsOpen = 0;
        app.p_PlaySFX(c_MyApp::SoundSelect, 1, 1, 0);
    }
}

}  // namespace

int c_MyApp::p_CreditBox() {
    p_SetSize(1, 1);
    p_SetRot(0);
    p_SetCol(255, 255, 255);
    m_blend = 1;

    // Square cells, as many whole ones as fit across and down, the grid centred on screen.
    Card card;
    card.w = kx_Sprocklet_jscrw;
    card.h = kx_Sprocklet_jscrh;
    card.cell = std::max(card.w / kCellsAlong, card.h / kCellsAlong);
    m_cardCols = static_cast<int>(card.w / card.cell);
    m_cardRows = static_cast<int>(card.h / card.cell);
    card.cols = m_cardCols;
    card.rows = m_cardRows;
    card.originX = card.w / 2 - card.cols * card.cell / 2;
    card.originY = card.h / 2 - card.rows * card.cell / 2;
    m_cardSpread = kOpenSlide - m_creditsSlide;
    card.spread = m_cardSpread;
    const float slide = static_cast<float>(m_creditsSlide);
    card.alpha = slide / kOpenSlide;
    card.square = card.cell;
    if (m_creditsSlide < kGrowingSlide) card.square = slide / kGrowingSlide * card.cell;

    DrawGrid(*this, card);
    DrawCentreCircle(*this, card);
    ScrollCredits(*this);
    DrawCreditLines(*this, card);
    DrawLogo(*this, card);
    DrawCornerCircles(*this, card);
    CloseOnFreshPress(*this);
    return 0;
}
