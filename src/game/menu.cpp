// The main menu: a carousel of the three game types and the options cog, with the highscore
// lists of the highlighted game type on a panel beside it. Every item answers to keys, pads,
// a touch on the item and a drag of the whole carousel.
#include <algorithm>
#include <cmath>

#include "game/my_app.h"
#include "game/replay_session.h"
#include "runtime/debugger.h"

namespace {

const float kBackgroundR = 40, kBackgroundG = 40, kBackgroundB = 80;
const int kPlayIcon = 3;

const int kFirstGameType = 1;
const int kOptionsItem = 4;  // items 1 .. 3 are the game types
const float kItemSpacing = 88;
const float kPanelWidth = 140;
const float kSlideStep = 4;       // panel, logo and play button per step of m_menuSlide
const float kTitleSlideStep = 12;
const float kCogSpinPerUpdate = 0.5f;

const float kEasing = 0.125f;
const float kFlingDecay = 0.2f;
const float kFlingRest = 3;
const float kArrivedDistance = 32;  // a moved-to item counts as arrived this close
const float kEdgeSpring = 8;
const float kFadeDistance = 480;
const float kFaintestAlpha = 0.5f;
const float kDragFactor = 1.5f;
const float kDragThreshold = 2;
const int kDragging = 2;  // m_clickUsed of a press that became a drag: it activates nothing

// The round logo at the panel's top, which opens the credits: its disc, 256 units across at
// scale 1, ends 32 + 0.35 * 128 = 76.8 units from the top.
const float kLogoFromRight = 70;
const float kLogoY = 32;
const float kLogoScale = 0.35f;

const int kNoticeUpdates = 240;  // four seconds

const float kListX = 20;  // from the panel's left edge
const float kListScale = 1.5f;
// The first list starts clear below the logo, whatever the window's shape: the logo keeps its
// place from the top and the right, and the row count (p_MenuScoreLists) still leaves more
// than a line between the first list's end and the second list.
const float kTopListY = 80;

// A pad's Start is one of buttons 7 and 8: here they choose, so they must never quit. The other,
// the pad's Back (button 7), chooses when it is let go; held for a second it asks whether to
// quit, the one way off the menu with a pad alone.
const int kActivateActions[] = {c_MyApp::ActionButton1, c_MyApp::ActionButton2,
                                c_MyApp::ActionButton3, c_MyApp::ActionButton4,
                                c_MyApp::ActionButton8};
const int kQuitHoldUpdates = 60;

// An item's offset from the centre point along the carousel; item 1 stands there at offset 0.
float ItemOffset(float carouselPos, int item) { return carouselPos + (item - 1) * kItemSpacing; }

}  // namespace

int c_MyApp::p_Menu() {
    // The menu starts its own screen, always on the loading screen's dark blue, so it looks
    // the same after a game as on the first start.
    p_CLS2D(kBackgroundR, kBackgroundG, kBackgroundB, 1);
    if (m_menuSlide < 0) ++m_menuSlide;
    p_MenuBack();
    p_MenuTitleAndPanel();
    // The bounds come before the lists, so that the lists follow a new highlight at once.
    p_MenuSelectionBounds();
    if (p_PopUpOpen() == 0 && m_menuSel < kOptionsItem) p_MenuScoreLists();
    p_MenuCarouselMotion();
    const int touched = p_MenuItems();
    p_MenuNearestItem();
    p_MenuTouch(touched);
    p_MenuKeys();
    p_MenuLogo();
    p_MenuDrag();
    p_MenuNotice();
    p_AttractMode();
    return 0;
}

int c_MyApp::p_PopUpOpen() {
    return m_creditsOpen == 1 || m_optionsOpen == 1 || m_badgesOpen == 1 ? 1 : 0;
}

// Back from the keyboard, the platform and pad button 14 only; buttons 7 and 8 choose here.
int c_MyApp::p_MenuBack() {
    if (m_keyLatch != 0 || m_clickUsed != 0 || p_PlayKeyAll(ActionQuitBack, 1) == 0) return 0;
    if (kx_Sprocklet_isOuya == 0) kxError(String());
    m_mode = ModeQuitDialog;
    m_keyLatch = 1;
    m_clickUsed = 1;
    return 0;
}

int c_MyApp::p_MenuTitleAndPanel() {
    const float vw = kx_Sprocklet_jscrw;
    const float vh = kx_Sprocklet_jscrh;
    p_ResetDraw();
    p_SetSize(1.5f);
    p_DrawImg(TitleSlot, vw * 0.4f, vh * 0.2f + kTitleSlideStep * m_menuSlide, 0);
    p_ResetDraw();
    p_SetCol(0, 0, 0, 0.4f);
    p_Rect(vw - kPanelWidth - kSlideStep * m_menuSlide, 0, kPanelWidth, vh);
    return 0;
}

int c_MyApp::p_MenuSelectionBounds() {
    if (m_menuSel < kFirstGameType || m_menuSel > kOptionsItem) m_menuSel = kFirstGameType;
    if (m_menuSel < kOptionsItem) {
        m_gameType = m_menuSel;
    } else {
        m_cogSpin += kCogSpinPerUpdate;
    }
    return 0;
}

// Each list has as many rows as fit in the lower half of the screen at one and a half lines
// each, one to ten.
int c_MyApp::p_MenuScoreLists() {
    const float vw = kx_Sprocklet_jscrw;
    const float vh = kx_Sprocklet_jscrh;
    const int pitch = std::max(1, static_cast<int>(kListScale * m_imgInfo[m_font * 3 + 1]));
    const float fit = std::floor((vh - 90 - vh * 0.5f) / pitch);
    const int rows = static_cast<int>(std::min<float>(ListLength, std::max(1.0f, fit)));
    const int top = (m_gameType - 1) * ListLength;
    const float x = vw - kPanelWidth - kSlideStep * m_menuSlide + kListX;

    p_ResetDraw();
    p_SetSize(kListScale);
    p_SetCol(255, 200, 100);
    const String topTitle = rows == 1 ? String("Highscore") : String("Top ") + String(rows);
    const String lastTitle = rows == 1 ? String("Last") : String("Last ") + String(rows);
    p_Text(x, kTopListY, p_MenuScoreList(topTitle, top, rows), 0, 0);
    p_Text(x, vh * 0.5f + 20, p_MenuScoreList(lastTitle, LastListsStart + top, rows), 0, 0);
    return 0;
}

String c_MyApp::p_MenuScoreList(String title, int firstEntry, int rows) {
    String text = title;
    for (int r = 0; r < rows; ++r) text += String("\\n") + p_rstr(m_scores[firstEntry + r]);
    return text;
}

int c_MyApp::p_MenuCarouselMotion() {
    m_carouselTarget += m_carouselVel;
    m_carouselPos -= (m_carouselPos - m_carouselTarget) * kEasing;
    m_carouselVel *= kFlingDecay;
    if (std::fabs(m_carouselVel) < kFlingRest) m_carouselVel = 0;
    return 0;
}

float c_MyApp::p_MenuAlongAxis(int item) {
    const float offset = ItemOffset(m_carouselPos, item);
    if (m_landscape == 0) return kx_Sprocklet_jscrh * 0.6f + offset;
    return (kx_Sprocklet_jscrw - kPanelWidth) * 0.5f + offset;
}

float c_MyApp::p_MenuAxisExtent() {
    return m_landscape == 0 ? kx_Sprocklet_jscrh : kx_Sprocklet_jscrw - kPanelWidth;
}

int c_MyApp::p_MenuItems() {
    const float column = (kx_Sprocklet_jscrw - kPanelWidth) * 0.5f;
    const float row = kx_Sprocklet_jscrh * 0.65f;
    int touched = 0;
    for (int item = 1; item <= kOptionsItem; ++item) {
        const float along = p_MenuAlongAxis(item);
        const float x = m_landscape == 0 ? column : along;
        const float y = m_landscape == 0 ? along : row;
        const float distance = std::fabs(ItemOffset(m_carouselPos, item));
        p_ResetDraw();
        if (item == m_menuSel) {
            p_SetSize(1.75f);
        } else {
            p_Alpha(std::max(kFaintestAlpha, 1 - distance / kFadeDistance));
        }
        const int hit = item == kOptionsItem ? p_CogButton(x, y)
                                             : p_Button(ButtonSheet, x, y, item - 1);
        if (hit) touched = item;
    }
    return touched;
}

int c_MyApp::p_CogButton(float x, float y) {
    p_SetRot(-0.66f * m_cogSpin);
    p_DrawImg(ButtonSheet, x, y, 8);
    p_SetRot(-0.33f * m_cogSpin);
    p_DrawImg(ButtonSheet, x, y, 9);
    p_SetRot(-m_cogSpin);
    p_DrawImg(ButtonSheet, x, y, 10);
    p_SetRot(0);
    const float w = m_imgInfo[ButtonSheet * 3] * m_artScale * m_sizeX;
    const float h = m_imgInfo[ButtonSheet * 3 + 1] * m_artScale * m_sizeY;
    return p_MouseIn_Centered(x, y, w, h);
}

int c_MyApp::p_MenuNearestItem() {
    if (m_menuMoving == 0) {
        int nearest = 1;
        for (int item = 2; item <= kOptionsItem; ++item) {
            const float distance = std::fabs(ItemOffset(m_carouselPos, item));
            if (distance < std::fabs(ItemOffset(m_carouselPos, nearest))) {
                nearest = item;
            }
        }
        if (nearest != m_menuSel) {
            m_menuSel = nearest;
            p_PlaySFX(SoundSelect, 1, 1, 0);
        }
    }
    if (std::fabs(m_carouselPos - m_carouselTarget) < kArrivedDistance) m_menuMoving = 0;

    // A carousel dragged past either end is pulled back a little every update.
    const float extent = p_MenuAxisExtent();
    if (p_MenuAlongAxis(1) > extent * 0.75f) {
        m_menuSel = 1;
        m_carouselTarget -= kEdgeSpring;
    }
    if (p_MenuAlongAxis(kOptionsItem) < extent * (m_landscape == 0 ? 0.45f : 0.25f)) {
        m_menuSel = kOptionsItem;
        m_carouselTarget += kEdgeSpring;
    }
    return 0;
}

int c_MyApp::p_MenuMoveTo(int item) {
    m_menuSel = item;
    m_menuMoving = item;
    m_carouselTarget = (1 - item) * kItemSpacing;
    p_PlaySFX(SoundSelect, 1, 1, 0);
    return 0;
}

// A touch on another item brings it to the centre; a touch on the highlighted one chooses it.
int c_MyApp::p_MenuTouch(int touched) {
    if (touched != 0 && m_clickUsed == 0 && p_PopUpOpen() == 0) {
        if (touched != m_menuSel) {
            p_MenuMoveTo(touched);
            m_clickUsed = 1;
        } else {
            p_MenuActivate(touched);
        }
    }
    if (m_menuSel >= kOptionsItem) return 0;
    p_ResetDraw();
    p_SetSize(3, 2.5f);
    p_SetCol(100, 255, 100, 0.3f);
    const float y = kx_Sprocklet_jscrh - 48 - kSlideStep * m_menuSlide;
    if (p_Button(kx_Sprocklet_jscrw - 70, y, kPlayIcon) && m_clickUsed == 0 &&
        p_PopUpOpen() == 0) {
        p_MenuActivate(m_menuSel);
    }
    return 0;
}

int c_MyApp::p_MenuActivate(int item) {
    if (item < kOptionsItem) {
        m_gameType = item;
        m_mode = ModeStartGame;
    } else {
        m_optionsOpen = 1;
        m_optCursor = 0;
    }
    p_PlaySFX(SoundChoose, 1, 1, 0);
    m_keyLatch = 1;
    m_clickUsed = 1;
    return 0;
}

int c_MyApp::p_MenuKeys() {
    if (m_keyLatch != 0 || m_clickUsed != 0 || p_PopUpOpen() != 0) {
        m_backHeld = 0;
        return 0;
    }
    bool activate = false;
    for (int action : kActivateActions) activate = activate || p_PlayKeyAll(action, 1) != 0;
    if (p_PlayKeyAll(ActionButton7, 1) != 0) {
        if (++m_backHeld < kQuitHoldUpdates) return 0;
        m_backHeld = 0;
        m_mode = ModeQuitDialog;
        m_keyLatch = 1;
        m_clickUsed = 1;
        return 0;
    }
    // A short press of the pad's Back chooses, once it is let go.
    activate = activate || m_backHeld > 0;
    m_backHeld = 0;

    if (p_PlayKeyAll(ActionUp, 1) != 0 || p_PlayKeyAll(ActionLeft, 1) != 0) {
        if (m_menuSel >= 2) {
            p_MenuMoveTo(m_menuSel - 1);
            m_keyLatch = 1;
        }
    } else if (p_PlayKeyAll(ActionDown, 1) != 0 || p_PlayKeyAll(ActionRight, 1) != 0) {
        if (m_menuSel < kOptionsItem) {
            p_MenuMoveTo(m_menuSel + 1);
            m_keyLatch = 1;
        }
    } else if (activate) {
        p_MenuActivate(m_menuSel);
    } else if (p_PlayKeyAll(ActionButton6, 1) != 0) {
        // The credits close on this button too: the latch keeps this press from doing so.
        m_creditsOpen = 1;
        m_keyLatch = 1;
        p_PlaySFX(SoundSelect, 1, 1, 0);
    } else if (p_PlayKeyAll(ActionButton5, 1) != 0 && m_menuSel < kOptionsItem) {
        m_keyLatch = 1;
        p_WatchBest(m_menuSel);
    }
    return 0;
}

// The best recorded game of the type plays; without one, the menu says so.
int c_MyApp::p_WatchBest(int gameType) {
    replay::Recording best;
    if (!p_BestRecording(gameType, &best)) {
        m_replay->notice = "No recorded game of this type yet";
        m_replay->noticeTimer = kNoticeUpdates;
        return 0;
    }
    p_PlaySFX(SoundChoose, 1, 1, 0);
    p_PlaybackStart(best, static_cast<int>(ReplaySession::Purpose::Watch));
    return 0;
}

// A short line at the bottom of the menu: why a recording did not play, or stopped.
int c_MyApp::p_MenuNotice() {
    ReplaySession& r = *m_replay;
    if (r.noticeTimer <= 0) return 0;
    --r.noticeTimer;
    p_ResetDraw();
    p_SetCol(255, 220, 120, std::min(1.0f, r.noticeTimer / 30.0f));
    p_Text((kx_Sprocklet_jscrw - kPanelWidth) * 0.5f, kx_Sprocklet_jscrh - 24,
           String(r.notice.c_str()), 1, 0);
    return 0;
}

int c_MyApp::p_MenuLogo() {
    p_ResetDraw();
    p_SetSize(kLogoScale);
    const float y = kLogoY + kSlideStep * m_menuSlide;
    if (p_Button(LogoSlot, kx_Sprocklet_jscrw - kLogoFromRight, y, 0) && m_clickUsed == 0 &&
        p_PopUpOpen() == 0) {
        // The credits close on a fresh press: this one is used up here.
        m_creditsOpen = 1;
        m_clickUsed = 1;
        p_PlaySFX(SoundSelect, 1, 1, 0);
    }
    return 0;
}

// A press that moves far enough along the carousel becomes a drag and flings it.
int c_MyApp::p_MenuDrag() {
    if (m_pointerDown == 0 || p_PopUpOpen() != 0) return 0;
    if (m_clickUsed != 0 && m_clickUsed != kDragging) return 0;
    const int moved = m_landscape == 0 ? m_mouseY - m_mouseOldY : m_mouseX - m_mouseOldX;
    const float v = kDragFactor * moved;
    if (std::fabs(v) > kDragThreshold) {
        m_clickUsed = kDragging;
        m_carouselVel += v;
    }
    return 0;
}
