// Game over: the overlay that slides in over the still-moving field, with the place the score
// takes in its game type's Top list, then runs backwards over the menu.
#include "framework/audio.h"
#include "game/my_app.h"

namespace {

const int kReturnAt = 90;      // the menu takes over when the counter reaches this
const int kMenuStartsAt = 75;  // ... and the overlay runs backwards from here
const int kBackStep = 2;

const char* const kRankTexts[] = {"",    "1st!", "2nd", "3rd", "4th", "5th",
                                  "6th", "7th",  "8th", "9th", "10th"};

}  // namespace

// The rank is the place the table itself would give the score: above the first entry it
// beats. A score that only ties an entry is not taken, so it has no place.
String c_MyApp::p_MyNth() {
    m_i = 0;
    const int t = m_gameType - 1;
    if (t >= 0 && t < GameTypes) {
        for (int k = 0; k < ListLength; ++k) {
            if (m_scores[ListLength * t + k] < m_score) {
                m_i = k + 1;
                break;
            }
        }
    }
    return String(kRankTexts[m_i]);
}

int c_MyApp::p_GameOver() {
    const int t = m_gameOverTime;
    // Once play has handed over, the score is in the table and would rank against itself: the
    // overlay keeps the place it showed during play.
    if (m_mode == ModePlaying) {
        p_MyNth();
        m_gameOverRank = m_i;
    }
    if (t >= 1) {
        const float w = kx_Sprocklet_jscrw;
        const float h = kx_Sprocklet_jscrh;
        p_ResetDraw();
        p_SetCol(0, 0, 0, t / 40.0f < 0.7f ? t / 40.0f : 0.7f);
        p_Rect(-1, -1, w + 2, h + 2);

        const int limit = static_cast<int>(0.45f * h);
        const int d = t * 12 < limit ? t * 12 : limit;
        p_SetCol(255, 255, 0, 0.5f);
        p_Rect(-1, 0.45f * h - 8, 2 * d, 16);
        p_SetCol(255, 128, 0, 0.5f);
        p_Rect(w - 2 * d, 0.55f * h - 8, 2 * d + 1, 16);

        p_SetSize(4);
        p_SetCol(255, 180, 180, 1);
        p_Text(0.35f * w, d, String("GAME"), 1, 1);
        p_Text(0.65f * w, h - d, String("OVER"), 1, 1);

        if (m_gameOverRank > 0) {
            p_SetSize(1);
            p_SetCol(0, 125, 255, 0.5f);
            p_Rect(0.35f * w, h - d / 1.5f - 16, 0.3f * w, 32);
            p_SetSize(2);
            p_SetCol(100, 255, 100, 1);
            p_Text(0.5f * w, h - d / 1.5f,
                   String("New Highscore\\n           ") + String(kRankTexts[m_gameOverRank]),
                   0.5f, 2);
        }
        p_ResetDraw();
    }

    if (m_mode == ModePlaying) {
        ++m_gameOverTime;
        if (m_gameOverTime >= kReturnAt) p_LeaveGameForMenu();
    } else if (m_mode < ModePlaying) {
        m_gameOverTime = m_gameOverTime > kBackStep ? m_gameOverTime - kBackStep : 0;
    }
    return 0;
}

// The end of the game-over sequence. Nothing held from the game may act on the menu: both
// latches stay set until everything is released, and a pause opened during the sequence is
// closed.
int c_MyApp::p_LeaveGameForMenu() {
    m_mode = ModeReturnToMenu;
    m_gameOverTime = kMenuStartsAt;
    if (kx_Sprocklet_HasMusic == 1) m_music->p_Zu_Stop(1);
    if (kx_Sprocklet_HasMusicStream == 1) p_StopTune();
    m_keyLatch = 1;
    m_clickUsed = 1;
    m_paused = 0;
    m_pauseMenuOn = -1;
    m_pauseMenuY = -64;
    return 0;
}
