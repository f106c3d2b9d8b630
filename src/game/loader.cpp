// Art levels, image and font loading, and the step-by-step loader behind its animated loading
// screen: one file per update, so the screen keeps moving while the game loads.
#include <cmath>

#include "framework/graphics.h"
#include "game/degrees.h"
#include "game/my_app.h"

namespace {

const int kLevel2Above = 630;   // device pixels in either dimension
const int kLevel4Above = 1230;

const int kFontCell = 16;
const int kFontFrames = 224;  // codes 32..255
const int kFontAdvance = 7;
const int kFontLineHeight = 10;
const int kMidHandle = c_Image::MidHandle;  // every image is drawn around its centre

const int kLastStep = 20;

const int kSpinPerUpdate = 16;
const int kRingDots = 11;

// The file of an image at the current art level: the larger art carries a suffix.
String ArtPath(const String& path, int level) {
    if (level == 2) return path + String("-hd.png");
    if (level == 4) return path + String("-hd2.png");
    return path + String(".png");
}

}  // namespace

int c_MyApp::p_ChooseArtLevel() {
    const int width = kx_graphics_DeviceWidth();
    const int height = kx_graphics_DeviceHeight();
    m_artLevel = 1;
    m_artScale = 1.0f;
    if (width > kLevel2Above || height > kLevel2Above) {
        m_artLevel = 2;
        m_artScale = 0.5f;
    }
    if (width > kLevel4Above || height > kLevel4Above) {
        m_artLevel = 4;
        m_artScale = 0.25f;
    }
    return 0;
}

int c_MyApp::p_LoadImg(int slot, String path, int cellW, int cellH, int frames, int flags) {
    if (!IsImageSlot(slot)) return 0;
    gc_assign(m_img[slot], static_cast<c_Image*>(nullptr));
    gc_assign(m_img[slot], kx_graphics_LoadImage2(ArtPath(path, m_artLevel), cellW * m_artLevel,
                                                  cellH * m_artLevel, frames, flags));
    m_imgInfo[slot * 3] = cellW * m_artLevel;
    m_imgInfo[slot * 3 + 1] = cellH * m_artLevel;
    m_imgInfo[slot * 3 + 2] = frames;
    return 0;
}

int c_MyApp::p_LoadFont(int slot, String path, int advance, int lineHeight) {
    if (!IsImageSlot(slot)) return 0;
    gc_assign(m_img[slot], static_cast<c_Image*>(nullptr));
    gc_assign(m_img[slot],
              kx_graphics_LoadImage2(ArtPath(path, m_artLevel), kFontCell * m_artLevel,
                                     kFontCell * m_artLevel, kFontFrames, kMidHandle));
    // Advance and line height are in virtual units, whatever the art level.
    m_imgInfo[slot * 3] = advance;
    m_imgInfo[slot * 3 + 1] = lineHeight;
    m_imgInfo[slot * 3 + 2] = kFontFrames;
    m_font = slot;
    return 0;
}

int c_MyApp::p_Reload() {
    m_clsR = 0;
    m_clsG = 0;
    m_clsB = 0;
    m_clsA = 1;
    p_ChooseArtLevel();
    p_LoadImg(LogoSlot, String("common/WexoLogo"), 256, 256, 1, kMidHandle);
    p_LoadFont(FontSlot, String("fonts/editundo"), kFontAdvance, kFontLineHeight);
    m_loadStep = 1;
    return 0;
}

int c_MyApp::p_Loader() {
    p_ChooseArtLevel();
    switch (m_loadStep) {
    case 1:
        p_LoadImg(IconSheet, String("common/icons"), 32, 32, 16, kMidHandle);
        p_LoadSFX(JingleSound);
        break;
    case 2: p_LoadImg(ButtonSheet, String("common/Buttons"), 64, 64, 16, kMidHandle); break;
    case 3: p_LoadImg(DpadSheet, String("common/dpad"), 32, 32, 16, kMidHandle); break;
    case 4:
        p_LoadImg(LogoSlot, String("common/WexoLogo"), 256, 256, 1, kMidHandle);
        // The jingle belongs to the first start only, not to every reload after a resize.
        if (m_jingleDone == 0) {
            p_PlaySFX(JingleSound, 1, 1, 0);
            m_jingleDone = 1;
        }
        break;
    case 5: p_LoadImg(CircleSlot, String("common/Testcard_Circle"), 256, 256, 1, kMidHandle); break;
    case 6:
        p_LoadFont(FontSlot, String("fonts/editundo"), kFontAdvance, kFontLineHeight);
        break;
    case 7: p_LoadSFX(1); break;
    case 8: p_LoadSFX(95); break;
    case 9: p_LoadSFX(SoundChoose); break;
    case 10: p_LoadSFX(SoundSelect); break;
    case 11: p_LoadImg(MenuSheet, String("menu"), 256, 256, 4, kMidHandle); break;
    case 12: p_LoadImg(TitleSlot, String("logo"), 256, 128, 1, kMidHandle); break;
    case 13: p_LoadImg(PartsSheet, String("parts"), 8, 8, 256, kMidHandle); break;
    case 14: p_LoadImg(BadgeSheet, String("BadgesA"), 64, 64, 64, kMidHandle); break;
    case 15: p_LoadImg(GfxSheet, String("gfx"), 10, 10, 100, kMidHandle); break;
    case 16: p_LoadSFX(2); break;
    case 17: p_LoadSFX(3); break;
    case 18: p_LoadSFX(4); break;
    case 19: p_LoadSFX(5); break;
    default: break;
    }
    if (m_loadStep >= kLastStep) {
        m_loadStep = 0;
    } else {
        ++m_loadStep;
    }
    p_WaitStart(1);
    return 0;
}

// The loading flag says who asks; the loader is the only caller, and the screen is the same.
int c_MyApp::p_WaitStart(int loading) {
    (void)loading;
    const float w = kx_Sprocklet_jscrw;
    const float h = kx_Sprocklet_jscrh;
    p_CLS2D(40, 40, 80, 1);
    m_minDim = static_cast<int>(w < h ? w : h);
    const int spin = m_spin;
    m_spin += kSpinPerUpdate;
    const float radius = m_minDim / 4.0f;

    for (int i = 0; i < kRingDots; ++i) {
        const float angle = spin + 196 + 16 * i;
        p_SetCol(250, 250, 250, i / 10.0f);
        p_Oval(w / 2 + SinDeg(angle) * radius, h / 2 - CosDeg(angle) * radius, 8, 8);
    }
    p_SetCol(255, 255, 0, 0.8f);
    p_Oval(w / 2, h / 2, 0.3f * m_minDim, 0.3f * m_minDim);
    p_SetCol(250, 160, 60, 0.7f);
    p_Rect(0, 0.4f * h, w, 0.2f * h);
    p_SetCol(255, 255, 255, 1);
    p_SetSize(1, 1);
    p_DrawImg(LogoSlot, w / 2, 0.48f * h, 0);
    // The grey arc runs half a turn behind the light one, over the logo.
    for (int i = 0; i < kRingDots; ++i) {
        const float angle = spin + 16 + 16 * i;
        p_SetCol(50, 50, 50, i / 10.0f);
        p_Oval(w / 2 + SinDeg(angle) * radius, h / 2 - CosDeg(angle) * radius, 8, 8);
    }
    return 0;
}
