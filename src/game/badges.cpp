// Badges: the catalogue, the strip of pop-ups that slide in at the bottom left to announce a
// badge, and the scrollable badges box of the menu.
#include "game/my_app.h"

namespace {

const int BadgeSheetFrames = 64;
const int ShownRows = 13;  // queue entries 13 and 14 are never shown

// A pop-up row's life in updates: it slides in at SlideSpeed units per update until it
// stands at x = 0, stays, then slides out again until EndTime.
const int RowWidth = 160;
const int RowHeight = 32;
const int RowPitch = 34;
const int SlideSpeed = 16;
const int EndTime = 240;
const int SlideOutTime = EndTime - RowWidth / SlideSpeed;

const float BoxScrollStep = 16;
const float BoxDragFactor = 1.5f;
const float BoxEasing = 6;

}  // namespace

String c_MyApp::p_BadgeID(int n) {
    if (n == 0) return String("Test Badge|This is a Test Badge which has no purpose.");
    return String();
}

String c_MyApp::p_BadgeName(int n) { return p_BadgeID(n).Split(String("|"))[0]; }

String c_MyApp::p_BadgeDetail(int n) {
    Array<String> parts = p_BadgeID(n).Split(String("|"));
    return parts.Length() > 1 ? parts[1] : String();
}

int c_MyApp::p_ShowBadges() {
    p_ResetDraw();
    float h = kx_Sprocklet_jscrh;
    for (int i = 0; i < ShownRows; ++i) {
        if (m_badgeTimer[i] < 1) continue;
        int t = ++m_badgeTimer[i];
        int x = SlideSpeed * t - RowWidth;
        if (t > SlideOutTime) x = SlideSpeed * (EndTime - t) - RowWidth;
        if (x > 0) x = 0;
        // The row is freed now but still drawn this once.
        if (t > EndTime) m_badgeTimer[i] = 0;
        float y = h - RowPitch * (i + 1);

        p_SetCol(0, 0, 80, 0.8f);
        p_Rect(x, y, RowWidth, RowHeight);
        p_SetCol(255, 255, 255, 1);
        int badge = m_badgeId[i];
        p_Text(x + 16, y + 4, p_BadgeName(badge), 0, 0);
        if (badge >= 0 && badge < BadgeSheetFrames) {
            p_SetSize(0.5f);
            p_DrawImg(BadgeSheet, RowWidth - 16 + x, y + 16, badge);
            p_SetSize(1);
        }
    }
    return 0;
}

int c_MyApp::p_BadgesBox() {
    float w = kx_Sprocklet_jscrw;
    float h = kx_Sprocklet_jscrh;
    p_SetSize(1, 1);
    p_SetRot(0);
    m_blend = 1;
    p_SetCol(255, 125, 0, 0.8f);
    p_Rect(0.1f * w, -1, 0.8f * w, h + 2);
    p_SetCol(100, 0, 0, 0.8f);
    p_Rect(0.12f * w, -1, 0.76f * w, h + 2);
    p_SetCol(255, 255, 255, 1);

    if (p_PlayKeyAll(ActionDown, 1) > 0) m_badgeScrollTarget -= BoxScrollStep;
    if (p_PlayKeyAll(ActionUp, 1) > 0) m_badgeScrollTarget += BoxScrollStep;
    if (m_badgeScrollTarget > 0) m_badgeScrollTarget = 0;

    if (m_mouseWasDown > 0 && m_mouseX > 0.12f * w) {
        m_badgeScrollTarget -= (m_mouseOldY - m_mouseY) * BoxDragFactor;
        // A drag may not carry the list past its top either.
        if (m_badgeScrollTarget > 0) m_badgeScrollTarget = 0;
    }

    m_badgeScroll -= (m_badgeScroll - m_badgeScrollTarget) / BoxEasing;
    float gap = m_badgeScroll - m_badgeScrollTarget;
    if (gap < BoxEasing && gap > -BoxEasing) m_badgeScroll = m_badgeScrollTarget;
    return 0;
}

int c_MyApp::p_GC_Badges() { return 0; }
