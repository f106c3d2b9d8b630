// The shell around the game: start-up, the per-update and per-render sequences, the mode
// machine, the virtual screen, art levels and the focus rules.
#include "framework/app.h"
#include "framework/async_event.h"
#include "framework/graphics.h"
#include "framework/input.h"
#include "framework/random.h"
#include "game/key_codes.h"
#include "game/my_app.h"
#include "game/replay_session.h"
#include "host/glfw_game.h"
#include "runtime/debugger.h"

namespace {

const int kUpdateRate = 60;
const int kSuspendedUpdateRate = 5;

// The composed music's voices play on channels 31 down to 27, above the effects' 0 to 23;
// the instrument folder holds 4 drum kits, 3 leads, 3 accompaniments and 4 bass lines.
const int kMusicChannelBase = 32;
const int kDrumKits = 4, kLeads = 3, kAccompaniments = 3, kBasses = 4;

const int kPopUpSlideEnd = 30;

// The next value of a smoothed rate: frames per second from the time since the last call
// (when the clock moved on), averaged over about ten calls.
void MeasureRate(int& last, int& fps, int& average) {
    const int now = kx_app_Millisecs();
    if (now > last) fps = 1000 / (now - last);
    average = (average * 9 + fps) / 10;
    last = now;
}

// One step of a pop-up's slide towards fully open (30) or fully closed (0).
void Slide(int& slide, bool open) {
    if (open && slide < kPopUpSlideEnd) ++slide;
    if (!open && slide > 0) --slide;
}


// The defaults that the saved state is read over: no badges queued or held, all options 0
// but sound on, no scores. The arrays start zeroed, so clearing their leading parts only
// matters to a game object started twice.
const int kClearedBadgeFlags = 128;
const int kClearedScores = 31;

void ClearSavedState(c_MyApp* app) {
    for (int i = 0; i < c_MyApp::BadgeQueue; ++i) {
        app->m_badgeId[i] = 0;
        app->m_badgeTimer[i] = 0;
    }
    for (int i = 0; i < kClearedBadgeFlags; ++i) app->m_badges[i] = false;
    for (int i = 0; i < c_MyApp::SettingCount; ++i) app->m_settings[i] = 0;
    for (int i = 0; i < kClearedScores; ++i) app->m_scores[i] = 0;
    app->m_settings[c_MyApp::SoundModeSetting] = 1;
}

}  // namespace

int c_MyApp::p_OnCreate() {
    if (kx_Sprocklet_isOuya == 1) kx_Sprocklet_overscan = DefaultConsoleOverscan;
    // The window may already be fullscreen (--fullscreen); F11 and the options box flip from
    // what it is.
    m_fullscreen = KxGlfwGame::Fullscreen() ? 1 : 0;
    m_jingleDone = 0;
    m_mode = ModeMenu;
    for (int i = 0; i < ChannelMapEntries; ++i) m_chanMap[i] = i;
    kx_app_SetUpdateRate(kUpdateRate);
    m_devW = kx_graphics_DeviceWidth();
    m_devH = kx_graphics_DeviceHeight();
    if (kx_Sprocklet_HasMusic == 1) p_ConfigureMusic();
    p_Reload();

    // The menu's starting state.
    m_gameType = 2;
    m_menuSlide = -32;
    m_paused = 0;
    m_pauseMenuOn = -1;
    m_pauseMenuY = -64;

    p_ClearPad();
    ClearSavedState(this);
    p_Load();
    p_LoadBindings();
    return 0;
}

int c_MyApp::p_ConfigureMusic() {
    m_music->p_Zu_Init(kMusicChannelBase, kDrumKits, kLeads, kAccompaniments, kBasses);
    return 0;
}

int c_MyApp::p_OnUpdate() {
    // While a recording plays, the keys only stop it (the close box and F4 still end the
    // program).
    if (kx_input_KeyHit(kKeyF4) || kx_input_KeyHit(kx_input_KeyClose)) kxError(String());
    const bool interrupted = p_PlaybackInterrupted() != 0;
    if (!p_Playing() && !interrupted) {
        m_pad[PadBackKey] = kx_input_KeyHit(kx_input_KeyBack);
        if (kx_input_KeyHit(kKeyF11)) p_FullscreenFlip();
        if (kx_input_KeyHit(kKeyF1)) kx_Sprocklet_DebugMode = 1 - kx_Sprocklet_DebugMode;
    }
    kx_asyncevent_UpdateAsyncEvents();
    p_TuneFollowsPause();
    MeasureRate(m_uLast, m_uFps, m_uFpsAvg);
    if (kx_Sprocklet_HasMusic == 1) {
        const uint32_t seed = kx_random_Seed;
        m_music->p_Zu_Alive_U(m_paused, p_MusicOn());
        p_MusicDrew(seed);
    }

    if (m_loadStep == 0) {
        p_StartPendingPlayback();
        p_PlaybackBeforeRules();
    }
    p_TakeInput();
    p_SamplePointer();
    p_InputLatches();
    p_CaptureBinding();

    if (m_loadStep == 0) {
        p_RecordBeforeRules();
        p_RunMode();
        p_PopUpBoxes();
        p_RecordAfterRules();
        p_PlaybackAfterRules();
    }
    if (m_loadStep > 0) p_Loader();
    if (kx_Sprocklet_iCadeControls == 1 && !p_Playing()) p_ReadICade();
    for (int i = 0; i < kx_Sprocklet_PadPulses; ++i) {
        if (m_pad[i] == 1) m_pad[i] = 0;
    }

    if (kx_Sprocklet_DebugMode == 1) {
        p_ResetDraw();
        p_Text(16, kx_Sprocklet_jscrh - 16,
               String(m_rFpsAvg) + String(":") + String(m_scaleX) + String(",") +
                   String(m_scaleY),
               0, 0);
    }
    p_ShowBadges();
    return 0;
}

int c_MyApp::p_RunMode() {
    switch (m_mode) {
    case ModeMenu:
        p_Menu();
        break;
    case ModeReturnToMenu:
        p_LoadMenu();
        p_PlaySFX(JingleSound, 1, 1, 0);
        m_mode = ModeMenu;
        break;
    case ModeQuitDialog:
        p_OuyaQuit();
        break;
    case ModePlaying:
        p_Game();
        p_InGame();
        break;
    case ModeStartGame:
        p_LoadGame();
        m_mode = ModePlaying;
        break;
    default:
        break;
    }
    // Judged by the mode the routine has left behind.
    if ((m_mode == ModePlaying && m_gameOver > 0) || m_mode == ModeMenu ||
        m_mode == ModeReturnToMenu) {
        p_GameOver();
    }
    return 0;
}

int c_MyApp::p_PopUpBoxes() {
    if (m_mode == ModeMenu) {
        if (m_creditsOpen == 1 || m_creditsSlide > 0) {
            p_CreditBox();
        } else if (m_badgesOpen == 1) {
            p_BadgesBox();
        }
    }
    Slide(m_creditsSlide, m_creditsOpen == 1);
    if (m_optionsOpen == 1 || m_optionsSlide > 0) p_OptionBox();
    Slide(m_optionsSlide, m_optionsOpen == 1);
    return 0;
}

int c_MyApp::p_OnRender() {
    // The player loads its tune in the render call, before anything is drawn.
    if (kx_Sprocklet_HasMusic == 1) {
        const uint32_t seed = kx_random_Seed;
        m_music->p_Zu_Alive_R();
        p_MusicDrew(seed);
    }
    MeasureRate(m_rLast, m_rFps, m_rFpsAvg);

    const int width = kx_graphics_DeviceWidth();
    const int height = kx_graphics_DeviceHeight();
    // Only a background alpha of 1 hides the previous frame completely. Then a clear gives the
    // same picture as a window-sized rectangle for a fraction of the fill work, which is most
    // of a frame on a software rasteriser.
    if (m_clsA >= 1) {
        kx_graphics_Cls(m_clsR, m_clsG, m_clsB);
    } else {
        kx_graphics_SetColor(m_clsR, m_clsG, m_clsB);
        kx_graphics_SetAlpha(m_clsA);
        kx_graphics_DrawRect(-1, -1, width + 2, height + 2);
    }
    kx_graphics_SetColor(255, 255, 255);
    kx_graphics_SetAlpha(1);

    if (width != m_devW || height != m_devH) {
        m_loadStep = 1;  // all art again, at the level that suits the new size
        m_devW = width;
        m_devH = height;
    }
    p_FitVirtualScreen();
    // Below a pixel per unit, nearest-texel sampling would drop whole rows and columns of
    // the small text; at a pixel per unit and more it keeps the art crisp.
    kx_graphics_SetSmoothing(m_scaleX < 1 ? 1 : 0);
    p_ReplayDrawList();

    kx_graphics_SetAlpha(0.5f);
    kx_graphics_SetColor(255, 255, 255);
    return 0;
}

int c_MyApp::p_FitVirtualScreen() {
    const float width = static_cast<float>(kx_graphics_DeviceWidth());
    const float height = static_cast<float>(kx_graphics_DeviceHeight());
    const float overscan = kx_Sprocklet_overscan;
    // A window without area (or one smaller than its margins) has no sensible fit: keep the
    // last one rather than dividing by zero.
    if (width - 2 * overscan <= 0 || height - 2 * overscan <= 0) return 0;

    if (p_Playing()) {
        // A played game keeps the field it was recorded on, whole, however the window is.
        const ReplaySession& r = *m_replay;
        m_scaleX = m_scaleY = std::min((width - 2 * overscan) / r.fieldWidth,
                                       (height - 2 * overscan) / r.fieldHeight);
        m_fitMode = m_scaleX * r.fieldWidth >= width - 2 * overscan ? 1 : 2;
        kx_Sprocklet_jscrw = r.fieldWidth;
        kx_Sprocklet_jscrh = r.fieldHeight;
        m_landscape = kx_Sprocklet_jscrw >= kx_Sprocklet_jscrh ? 1 : 0;
        return 0;
    }

    m_scaleX = (width - 2 * overscan) / kx_Sprocklet_rawscrw;
    m_scaleY = (height - 2 * overscan) / kx_Sprocklet_rawscrh;
    float unitsPerPixel;
    if (m_scaleY > m_scaleX) {
        m_fitMode = 2;
        m_scaleX = m_scaleY;
        unitsPerPixel = height / kx_Sprocklet_rawscrh;
    } else {
        m_fitMode = 1;
        m_scaleY = m_scaleX;
        unitsPerPixel = width / kx_Sprocklet_rawscrw;
    }
    kx_Sprocklet_jscrw = width / unitsPerPixel;
    kx_Sprocklet_jscrh = height / unitsPerPixel;
    m_landscape = kx_Sprocklet_jscrw >= kx_Sprocklet_jscrh ? 1 : 0;
    return 0;
}

// A game that loses or regains focus in play is paused with its menu already open; outside
// play nothing is paused.
int c_MyApp::p_FocusPause() {
    if (m_mode < ModePlaying) {
        m_paused = 0;
        m_pauseMenuOn = 0;
        m_pauseMenuY = 0;
    } else {
        m_paused = 1;
        m_pauseMenuOn = 1;
        m_pauseMenuY = static_cast<int>(kx_Sprocklet_jscrh / 2);
    }
    return 0;
}

int c_MyApp::p_FullscreenFlip() {
    KxGlfwVideoMode* desktop = KxGlfwGame::GetGlfwDesktopMode();
    m_fullscreen = 1 - m_fullscreen;
    if (m_fullscreen == 1) {
        KxGlfwGame::_glfwGame->SetGlfwWindow(desktop->Width, desktop->Height, desktop->RedBits,
                                             desktop->GreenBits, desktop->BlueBits, 0, 0, 0,
                                             true);
    } else {
        // Back to the window the game opened with, sized to the screen.
        const KxWindowSize size = KxGlfwGame::WindowedSize();
        KxGlfwGame::_glfwGame->SetGlfwWindow(size.width, size.height, desktop->RedBits,
                                             desktop->GreenBits, desktop->BlueBits, 0, 0, 0,
                                             false);
    }
    // The size change restarts the loader at the next render.
    return 0;
}

// A played game follows its recording's focus changes, not the window's.
int c_MyApp::p_OnSuspend() {
    kx_app__game->SetKeyboardEnabled(false);
    kx_Sprocklet_iCadeControls = 0;
    p_ClearPad();
    if (!p_Playing()) {
        p_FocusPause();
        p_RecordEvent(replay::Event::Suspend, 0);
    }
    kx_app_SetUpdateRate(kSuspendedUpdateRate);
    p_Save();
    return 0;
}

int c_MyApp::p_OnResume() {
    if (!p_Playing()) {
        p_FocusPause();
        p_RecordEvent(replay::Event::Resume, 0);
    }
    kx_app_SetUpdateRate(kUpdateRate);
    kx_app__game->SetKeyboardEnabled(false);
    kx_Sprocklet_iCadeControls = 0;
    p_ClearPad();
    return 0;
}
