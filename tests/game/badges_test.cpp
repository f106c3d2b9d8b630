#include "app_under_test.h"

namespace {

const int BadgeSheet = 80;
const int FontSlot = 90;

struct Command {
    float kind, x, y, sizeX, sizeY, frame, alpha;
};

std::vector<Command> OfKind(const c_MyApp* app, float kind) {
    std::vector<Command> found;
    for (int at = 0; at + 15 <= app->m_drawCount; at += 15) {
        const float* f = app->m_drawList.Data() + at;
        if (f[0] == kind) found.push_back({f[0], f[1], f[2], f[4], f[5], f[6], f[7]});
    }
    return found;
}

class Badges : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        app->m_font = FontSlot;
        app->m_imgInfo[FontSlot * 3] = 7;
        app->m_imgInfo[FontSlot * 3 + 1] = 10;
    }

    // One update's worth of the strip, on an empty draw list.
    void ShowBadges() {
        app->m_drawCount = 0;
        app->p_ShowBadges();
    }
};

TEST_F(Badges, TheCatalogueHoldsOneTestBadge) {
    EXPECT_TRUE(app->p_BadgeName(0) == String("Test Badge"));
    EXPECT_TRUE(app->p_BadgeDetail(0) == String("This is a Test Badge which has no purpose."));
    for (int n : {5, 64, -1}) {
        EXPECT_EQ(app->p_BadgeName(n).Length(), 0) << n;
        EXPECT_EQ(app->p_BadgeDetail(n).Length(), 0) << n;
    }
}

TEST_F(Badges, APopUpSlidesInStaysAndSlidesOut) {
    app->m_badgeTimer[0] = 1;
    ShowBadges();
    std::vector<Command> rects = OfKind(app, kx_Sprocklet_RectKind);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].x, -128);
    EXPECT_EQ(rects[0].y, 600 - 34);
    EXPECT_FLOAT_EQ(rects[0].alpha, 0.8f);
    EXPECT_EQ(OfKind(app, FontSlot).size(), 9u) << "the nine glyphs of Test Badge";
    std::vector<Command> icons = OfKind(app, BadgeSheet);
    ASSERT_EQ(icons.size(), 1u);
    EXPECT_EQ(icons[0].x, 160 - 16 - 128);
    EXPECT_EQ(icons[0].sizeX, 0.5f);
    EXPECT_EQ(app->m_sizeX, 1) << "the scale is back to 1 after the icon";

    // The row's x after the update that gives its timer the value t.
    for (auto [t, x] : std::vector<std::pair<int, float>>{{10, 0}, {230, 0}, {231, -16}}) {
        app->m_badgeTimer[0] = t - 1;
        ShowBadges();
        EXPECT_EQ(OfKind(app, kx_Sprocklet_RectKind).at(0).x, x) << t;
    }
    // Past 240 the row is drawn once more and freed.
    app->m_badgeTimer[0] = 240;
    ShowBadges();
    EXPECT_EQ(OfKind(app, kx_Sprocklet_RectKind).size(), 1u);
    EXPECT_EQ(app->m_badgeTimer[0], 0);
    ShowBadges();
    EXPECT_EQ(app->m_drawCount, 0);

    // Rows stack upwards; badges beyond the sheet have no icon; the last two never show.
    for (int i = 0; i < c_MyApp::BadgeQueue; ++i) {
        app->m_badgeTimer[i] = 50;
        app->m_badgeId[i] = 64;
    }
    ShowBadges();
    rects = OfKind(app, kx_Sprocklet_RectKind);
    ASSERT_EQ(rects.size(), 13u);
    EXPECT_EQ(rects[12].y, 600 - 34 * 13);
    EXPECT_TRUE(OfKind(app, BadgeSheet).empty());
    EXPECT_EQ(app->m_badgeTimer[13], 50);
}

TEST_F(Badges, TheBoxScrollsButNeverPastTheTop) {
    app->p_BadgesBox();
    std::vector<Command> rects = OfKind(app, kx_Sprocklet_RectKind);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_FLOAT_EQ(rects[0].x, 80);
    EXPECT_EQ(rects[0].sizeY, 602);
    EXPECT_FLOAT_EQ(rects[1].sizeX, 608);

    // Down (held on the cabinet) scrolls; up and down together cancel; up stops at the top.
    app->m_pad[8] = 2;
    app->p_BadgesBox();
    app->p_BadgesBox();
    EXPECT_EQ(app->m_badgeScrollTarget, -32);
    app->m_pad[0] = 2;
    app->p_BadgesBox();
    EXPECT_EQ(app->m_badgeScrollTarget, -32);
    app->m_pad[8] = 0;
    for (int i = 0; i < 3; ++i) app->p_BadgesBox();
    EXPECT_EQ(app->m_badgeScrollTarget, 0);
    app->m_pad[0] = 0;

    // Dragging up by 20 units moves the target 30 down; a drag beside the box does nothing;
    // one that pulls past the top stops there.
    app->m_mouseWasDown = 1;
    app->m_mouseX = 400;
    app->m_mouseOldY = 300;
    app->m_mouseY = 280;
    app->p_BadgesBox();
    EXPECT_EQ(app->m_badgeScrollTarget, -30);
    app->m_mouseX = 90;
    app->p_BadgesBox();
    EXPECT_EQ(app->m_badgeScrollTarget, -30);
    app->m_mouseX = 400;
    app->m_mouseY = 400;
    app->p_BadgesBox();
    EXPECT_EQ(app->m_badgeScrollTarget, 0);

    // The position eases a sixth of the way each update, then snaps.
    app->m_mouseWasDown = 0;
    app->m_badgeScroll = 0;
    app->m_badgeScrollTarget = -120;
    app->p_BadgesBox();
    EXPECT_FLOAT_EQ(app->m_badgeScroll, -20);
    for (int i = 0; i < 30; ++i) app->p_BadgesBox();
    EXPECT_EQ(app->m_badgeScroll, -120);
}

}  // namespace
