// The game's application object: all game state lives in its fields, grouped below by concern in
// the order of the game's source files; each concern's methods are defined in its own file.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/app.h"
#include "framework/audio.h"
#include "framework/image.h"
#include "music/zu_player.h"
#include "runtime/array.h"
#include "runtime/string.h"

namespace replay {
struct Input;
struct Recording;
}
namespace controls {
class Bindings;
}
struct ReplaySession;

// The game-wide marker for an omitted float argument, for the position of a touch that is up,
// and (with kx_Sprocklet_OvalKind) the kind of a rectangle draw command.
const float kx_Sprocklet_Omitted = -3717.0f;
const float kx_Sprocklet_RectKind = -3717.0f;
const float kx_Sprocklet_OvalKind = -3716.0f;

const int kx_Sprocklet_ImageSlots = 100;
// A slot number outside the image tables names no image: it is drawn as nothing, never hit,
// and loading into it does nothing.
inline bool IsImageSlot(int slot) { return slot >= 0 && slot < kx_Sprocklet_ImageSlots; }
const int kx_Sprocklet_PadEntries = 20;
const int kx_Sprocklet_PadPulses = 19;  // entries 0 .. 18 are one-update pulses
const int kx_Sprocklet_PointerTouches = 10;
const int kx_Sprocklet_CommandFloats = 15;
const int kx_Sprocklet_DrawListFloats = 37500;

// The game's module globals, set by kxInit.
extern float kx_Sprocklet_rawscrw;
extern float kx_Sprocklet_rawscrh;
extern float kx_Sprocklet_jscrw;
extern float kx_Sprocklet_jscrh;
extern float kx_Sprocklet_overscan;
extern int kx_Sprocklet_DebugMode;
extern int kx_Sprocklet_iCadeControls;
extern int kx_Sprocklet_HasMusicStream;
extern int kx_Sprocklet_HasMusic;
extern int kx_Sprocklet_isOuya;
extern int kx_Sprocklet_OnScreenControls;
extern int kx_Sprocklet_AccelerometerControls;
extern Array<String> kx_Sprocklet_CreditText;

class c_MyApp : public c_App {
public:
    // --- shell: modes, rates, virtual screen, pop-ups (shell.cpp); art and loader (loader.cpp)
    // Top-level modes.
    static constexpr int ModeMenu = 1, ModeReturnToMenu = 2, ModeQuitDialog = 4;
    static constexpr int ModePlaying = 10, ModeStartGame = 11;
    // Image slots of the art the loader fills (the icon and button sheets are named with the
    // drawing helpers and the menus).
    static constexpr int GfxSheet = 1, BadgeSheet = 80, FontSlot = 90, CircleSlot = 91;
    static constexpr int LogoSlot = 93, DpadSheet = 94, PartsSheet = 96, TitleSlot = 98;
    static constexpr int MenuSheet = 99;

    int m_mode = 0;
    int m_loadStep = 0;
    int m_artLevel = 1;
    float m_artScale = 1.0f;
    Array<c_Image*> m_img = Array<c_Image*>(kx_Sprocklet_ImageSlots);
    Array<int> m_imgInfo = Array<int>(kx_Sprocklet_ImageSlots * 3);
    int m_font = 0;
    int m_devW = 0;
    int m_devH = 0;
    float m_scaleX = 1.0f;
    float m_scaleY = 1.0f;
    int m_fitMode = 1;
    int m_landscape = 1;
    float m_clsR = 0, m_clsG = 0, m_clsB = 0, m_clsA = 1;
    int m_uLast = 0, m_uFps = 0, m_uFpsAvg = 0;
    int m_rLast = 0, m_rFps = 0, m_rFpsAvg = 0;
    int m_paused = 0;
    int m_pauseMenuOn = 0;
    int m_pauseMenuY = 0;
    int m_creditsOpen = 0, m_optionsOpen = 0, m_badgesOpen = 0;
    int m_creditsSlide = 0, m_optionsSlide = 0;
    int m_fullscreen = 0;
    int m_jingleDone = 0;
    int m_spin = 0;
    int m_minDim = 0;
    int m_i = 0;  // scratch loop index; nothing relies on it across calls
    c_ZuPlayer* m_music = nullptr;  // the procedural music player, made with the game

    c_MyApp* m_new();
    void mark() override;

    int p_OnCreate() override;
    int p_OnUpdate() override;
    int p_OnRender() override;
    int p_OnSuspend() override;
    int p_OnResume() override;
    int p_Reload();
    int p_Loader();
    int p_LoadImg(int slot, String path, int cellW, int cellH, int frames, int flags);
    int p_LoadFont(int slot, String path, int advance, int lineHeight);
    int p_WaitStart(int loading);
    int p_FullscreenFlip();
    // Sets up the composed music's player: its channels and instrument variants.
    int p_ConfigureMusic();
    int p_ChooseArtLevel();
    int p_FitVirtualScreen();
    int p_RunMode();
    int p_PopUpBoxes();

    // --- drawing: draw state, the draw list and its replay, text, hit tests (drawing.cpp) ---
    float m_sizeX = 1.0f, m_sizeY = 1.0f;
    float m_rot = 0;  // minus the angle set with p_SetRot
    float m_colR = 255, m_colG = 255, m_colB = 255;
    float m_alpha = 1.0f;
    int m_blend = 1;
    int m_drawCount = 0;
    Array<float> m_drawList = Array<float>(kx_Sprocklet_DrawListFloats);
    int m_originX = 0, m_originY = 0;
    float m_viewW = 800, m_viewH = 600;

    int p_ResetDraw();
    int p_CLS2D(float r, float g, float b, float a);
    int p_SetSize(float sx, float sy = kx_Sprocklet_Omitted);
    int p_SetRot(float angle);
    int p_SetCol(float r, float g, float b, float a = kx_Sprocklet_Omitted);
    int p_Alpha(float a);
    int p_DrawImg(int slot, float x, float y, float frame);
    int p_Rect(float x, float y, float w, float h);
    int p_Oval(float x, float y, float rx, float ry);
    // Appends one command from the current state; dropped when the list is full.
    int p_AppendCommand(float kind, float x, float y, float sizeX, float sizeY, float frame);
    int p_Text(float x, float y, String text, float alignX, float alignY);
    String p_rstr(int width, int value, String pad);
    String p_rstr(int value);  // the menu's form: 11 characters, padded with spaces
    int p_Button(int slot, float x, float y, int frame);
    static constexpr int IconSheet = 97;
    int p_Button(float x, float y, int frame);  // on the icon sheet
    int p_Button0(int slot, float x, float y, int frame);
    int p_Touch(float x, float y, float w, float h);
    int p_MouseIn_Centered(float x, float y, float w, float h);
    int p_TouchInImage(int slot, float x, float y, int touch);
    int p_ReplayDrawList();

    // --- controls: pointer, actions, iCade, latches, steering (controls.cpp) ---
    static constexpr int PadBackKey = 19;  // the back key's hit count of this update
    Array<int> m_pad = Array<int>(kx_Sprocklet_PadEntries);
    int m_keyChar = 0;
    int m_mouseX = 0, m_mouseY = 0;
    int m_mouseOldX = 0, m_mouseOldY = 0;
    int m_mouseWasDown = 0;
    int m_pointerDown = 0;
    int m_mouseHit = 0;
    Array<int> m_touchDown = Array<int>(kx_Sprocklet_PointerTouches);
    Array<int> m_touchX = Array<int>(kx_Sprocklet_PointerTouches);
    Array<int> m_touchY = Array<int>(kx_Sprocklet_PointerTouches);
    int m_clickUsed = 0;
    int m_keyLatch = 0;
    float m_steerX = 0, m_steerY = 0;
    int m_dragX = -1, m_dragY = 0;
    float m_keySteerY = 0, m_keySteerX = 0;

    // Action numbers of p_PlayKey: the directions, buttons 1 to 8 and back. QuitBack is back
    // from everything but buttons 7 and 8, which the main menu takes as activation.
    static constexpr int ActionUp = 0, ActionLeft = 3, ActionRight = 5, ActionDown = 8;
    static constexpr int ActionButton1 = 10, ActionButton2 = 11, ActionButton3 = 12;
    static constexpr int ActionButton4 = 13, ActionButton5 = 14, ActionButton6 = 15;
    static constexpr int ActionButton7 = 16, ActionButton8 = 17;
    static constexpr int ActionBack = 99, ActionQuitBack = 98;

    int p_PlayKey(int action, int useStick, int player);
    int p_PlayKeyAll(int action, int useStick);
    int p_iCade(int on);
    int p_AnalogueControl();
    int p_SamplePointer();
    int p_InputLatches();
    int p_ReadICade();
    int p_ClearPad();

    // --- play field: the ship, the object table, waves, specials, tutorial (play_field.cpp,
    // play_objects.cpp, tutorial.cpp) ---
    static constexpr int ShipFields = 512;
    static constexpr int ObjectFields = 10;  // floats per object slot
    static constexpr int ObjectSlots = 612;
    static constexpr int LastFieldSlot = 500;    // Fliznet and specials: slots 0 .. 500
    static constexpr int FirstBulletSlot = 501;  // bullets: slots 501 .. 600
    static constexpr int LastBulletSlot = 600;
    // Object kinds, and the kinds of special.
    static constexpr int KindFree = 0, KindFliznet = 1, KindBullet = 2, KindSpecial = 3;
    static constexpr int SpecialBomb = 1, SpecialGravityWell = 2;

    // Ship record entries.
    static constexpr int ShipX = 1, ShipY = 2, ShipTargetX = 3, ShipTargetY = 4;
    static constexpr int ShipFacing = 5, ShipDesiredFacing = 6, ShipShield = 10;

    int m_gameType = 2;
    Array<float> m_ship = Array<float>(ShipFields);
    // Object record: 0 kind; 1, 2 position; 3, 4 velocity; 5 angle; 6 spin; 7 look or special
    // kind; 8 owner or age; 9 life.
    Array<float> m_obj = Array<float>(ObjectSlots * ObjectFields);
    int m_score = 0;
    int m_scoreShown = 0;
    int m_lives = 0;
    int m_gameOver = 0;
    int m_fireDelay = 0;
    int m_fireCount = 14;
    int m_specialTimer = 0;
    int m_specialCycle = 0;
    int m_tutorialStep = 0;
    int m_tutorialTimer = 0;
    // What this update's pass over the table counted, and the last special it met (for the
    // tutorial's labels).
    int m_rockCount = 0, m_bulletCount = 0, m_specialCount = 0;
    float m_specialSeenX = 0, m_specialSeenY = 0;
    int m_specialSeenKind = 0;

    // The record of object slot 0 .. ObjectSlots - 1.
    float* p_Slot(int slot) const { return m_obj.Data() + slot * ObjectFields; }

    int p_LoadGame();
    int p_Game();
    int p_InGame();
    // The steps of one play update, in the order p_Game runs them.
    int p_MoveShip();
    int p_WrapShip();
    int p_Fire();
    int p_SteerTarget();
    int p_DrawShip();
    int p_StepObjects();
    int p_StepRock(int slot);
    int p_PopRock(int slot, int bulletSlot);
    int p_StepSpecial(int slot);
    int p_PullRocks(int wellSlot);
    int p_PickUpSpecial(int slot);
    int p_WavesAndSpecials();
    int p_DrawScore();
    int p_DrawLives();
    int p_Tutorial();
    int p_TutorialLabel(float x, float y, int line, String text);
    int p_Pause();
    static int m_WhichWayDoIGo(float current, float target, int lo, int hi);
    int p_AddBull(float x, float y, float angle, float speed, int owner);
    int p_AddRock(float x, float y, float angle);
    int p_AddARock();
    int p_AddBonus(int kind);
    int p_ResetPlayers();

    // --- particles and stars (particles.cpp) ---
    static constexpr int ParticleFields = 10;
    static constexpr int ParticleSlots = 510;
    static constexpr int StarSlots = 510;

    int m_particleMax = 250;  // highest usable particle slot
    Array<float> m_particles = Array<float>(ParticleSlots * ParticleFields);
    int m_starMax = 100;
    Array<float> m_stars = Array<float>(StarSlots * ParticleFields);

    int p_ThrowParticle(float x, float y, int kind, int colour, float heading, float speed);
    int p_DoParticles();
    int p_ResetParticles(int n);
    int p_ResetStars(int n);

    // --- game over and rank (game_over.cpp) ---
    int m_gameOverTime = 0;
    int m_gameOverRank = 0;  // the rank the overlay shows, kept once the score is recorded

    int p_GameOver();
    String p_MyNth();
    int p_LeaveGameForMenu();

    // --- menus: main menu, options box, pause menu, quit dialog (menu.cpp, options_box.cpp,
    // pause_menu.cpp, quit_dialog.cpp) ---
    int m_menuSlide = 0;          // slide-in of the side panel, counts up to 0
    int m_menuSel = 0;            // highlighted carousel item: 1 .. 3 game types, 4 options
    float m_carouselPos = 0;
    float m_carouselTarget = 0;
    float m_carouselVel = 0;
    int m_menuMoving = 0;         // item a key or touch moved to; 0 lets the nearest win
    int m_backHeld = 0;           // updates the pad's Back has been held in the menu
    float m_cogSpin = 0;
    int m_optCursor = 0;          // options box row: 0 the back cog, then the rows in order
    int m_optKeyLatch = 0, m_optTouchLatch = 0;
    int m_pauseSel = 0;           // -1 left, 0 centre, 1 right

    static constexpr int ButtonSheet = 95;  // menu items and the cog's three frames
    static constexpr int SoundChoose = 98, SoundSelect = 99;

    int p_Menu();
    int p_OptionBox();
    int p_PauseMenu();
    int p_OuyaQuit();
    String p_QuitButtonLine(int line);  // 0 the line to quit, 1 the line to return

    // The main menu's steps and their helpers.
    int p_MenuBack();
    int p_MenuTitleAndPanel();
    int p_MenuSelectionBounds();
    int p_MenuScoreLists();
    String p_MenuScoreList(String title, int firstEntry, int rows);
    int p_MenuCarouselMotion();
    float p_MenuAlongAxis(int item);  // the item's coordinate along the carousel
    float p_MenuAxisExtent();
    int p_MenuItems();  // draws the carousel; the item under a pointer that is down, or 0
    int p_MenuNearestItem();
    int p_MenuTouch(int touched);
    int p_MenuMoveTo(int item);
    int p_MenuActivate(int item);
    int p_MenuKeys();
    int p_MenuLogo();
    int p_MenuDrag();
    int p_PopUpOpen();
    // The options cog at the current size and alpha, turned by m_cogSpin; 1 while touched.
    int p_CogButton(float x, float y);

    // The options box's parts.
    int p_OverscanGuides();
    int p_OptionBackCog(int slide, int cursorOnCog);
    int p_OptionRows(int slide, const int* rows, int count);
    String p_OptionLabel(int row);
    int p_OptionActivate(int row);
    int p_NextSoundMode();
    int p_CloseOptions();
    int p_OptionKeys(int rowCount);
    // The Controls screen in the options box (controls_screen.cpp).
    int m_controlsOpen = 0;
    int m_controlsCursor = 0;      // 0 the back cog, 1 .. 7 the actions, 8 restore all
    int m_controlsColumn = 0;      // on an action's row: 0 the row, 1 its Default box
    int m_capturing = -1;          // the action waiting for its new key or pad button, or -1
    int m_captureTimer = 0;
    String m_controlsNotice;
    int m_controlsNoticeTimer = 0;
    int p_OpenControls();
    int p_LeaveControls();
    int p_ControlsScreen(int slide);
    int p_ControlsRow(int row, float y);
    int p_ControlsLists(std::vector<String> lines, float y, float x, float width);
    int p_ControlsFooter(float y);
    int p_ControlsNotice(String text);
    int p_ControlsActivate();
    int p_ControlsKeys();
    // Before the rules: the key or pad button that answers a capture (as a recorded event).
    int p_CaptureBinding();
    // Binds what answered the capture: a key code below 256, or 256 + a pad button.
    int p_FinishCapture(int code);
    // Names as the player's keyboard layout shows them.
    String p_KeyLabel(int key);
    String p_KeysLabel(int action);
    String p_ButtonsLabel(int action);
    // The overscan bar shared by the options box and the pause menu; each passes the latches
    // that guard its own keys and touches.
    int p_OverscanSlider(float y, int& keyLatch, int& touchLatch);

    // The pause menu's parts.
    int p_PauseSlide();
    int p_PausePanels();
    int p_PauseItems();
    int p_PauseActivate(int item, int byTouch);
    int p_PauseKeys();

    // --- saved settings and highscores (persistence.cpp) ---
    static constexpr int SettingCount = 25;
    static constexpr int BadgeCount = 256;
    static constexpr int ScoreEntries = 150;  // 60 to 149 are never saved
    static constexpr int GameTypes = 3;
    static constexpr int ListLength = 10;
    static constexpr int LastListsStart = 30;
    static constexpr int SoundModeSetting = 5;
    static constexpr int OverscanSetting = 14;
    static constexpr int DefaultConsoleOverscan = 64;  // the console's margin until one is set

    Array<int> m_settings = Array<int>(SettingCount);
    Array<bool> m_badges = Array<bool>(BadgeCount);
    // For game type t + 1: Top list at 10t .. 10t + 9 (best first), Last list at
    // 30 + 10t .. 30 + 10t + 9 (newest first).
    Array<int> m_scores = Array<int>(ScoreEntries);

    int p_Save();
    int p_Load();
    // Records the finished game's m_score for m_gameType, then saves.
    int p_LoadMenu();

    // --- badges (badges.cpp) ---
    static constexpr int BadgeQueue = 15;

    Array<int> m_badgeId = Array<int>(BadgeQueue);
    Array<int> m_badgeTimer = Array<int>(BadgeQueue);  // age in updates; 0 = row free
    float m_badgeScroll = 0, m_badgeScrollTarget = 0;    // both <= 0

    String p_BadgeID(int n);
    String p_BadgeName(int n);
    String p_BadgeDetail(int n);
    int p_ShowBadges();
    int p_BadgesBox();
    int p_GC_Badges();

    // --- credits test card (credits.cpp) ---
    int m_cardCols = 0, m_cardRows = 0;  // whole cells across and down, recomputed every update
    int m_cardSpread = 0;                // how far the cells stand out: 30 closed, 0 fully open
    float m_creditsScroll = 0;           // the text window's offset, kept within -16 .. 0
    int m_creditsLine = 0;               // credits line at the window's origin; only grows

    int p_CreditBox();

    // --- sound effects and tunes (sound.cpp) ---
    static constexpr int EffectSlots = 100;
    static constexpr int EffectChannels = 24;
    static constexpr int ChannelMapEntries = 33;
    static constexpr int JingleSound = 96;  // the logo's jingle, once per run

    Array<int> m_chanMap = Array<int>(ChannelMapEntries);  // entry i = i, set at start
    int m_sfxNext = 0;                                     // effect channel cursor, 0 .. 23
    Array<c_Sound*> m_sfx = Array<c_Sound*>(EffectSlots);
    int m_tunePlaying = 0;  // the file tune was requested and not stopped since

    int p_LoadSFX(int n);
    int p_PlaySFX(int n, float rate, float volume, float pan);
    int p_PlayTune(String name, int flags);
    int p_StopTune();
    // 1 when the sound mode includes music.
    int p_MusicOn();
    // The music part of a game start (called from p_LoadGame).
    int p_GameStartMusic();
    // The file tune pauses with the game and resumes with it (once per update).
    int p_TuneFollowsPause();

    // --- recordings: every game recorded, recordings played back (replay_recording.cpp,
    // replay_playback.cpp, replay_files.cpp) ---
    std::unique_ptr<ReplaySession> m_replay;
    // Which keys and pad buttons hold which action (bindings.cpp, controls_file.cpp).
    std::unique_ptr<controls::Bindings> m_bindings;
    // Reads the player's bindings file beside the state file, over the defaults.
    int p_LoadBindings();
    // Writes the bindings file whole.
    int p_SaveBindings();

    c_MyApp();
    ~c_MyApp() override;
    // This update's input: the devices' (into the session's current input), unless a
    // recording plays.
    int p_TakeInput();
    int p_RecordStart();
    int p_RecordBeforeRules();
    int p_RecordAfterRules();
    // An event of `kind` (replay::Event::Kind) before the next recorded update; `value` is a
    // reseed's seed or a bound code.
    int p_RecordEvent(int kind, uint32_t value);
    int p_RecordEnd();
    // After the music's step, which began with the generator at `seedBefore`.
    int p_MusicDrew(uint32_t seedBefore);
    bool p_Playing() const;
    // Plays `recording` from the next update on; `purpose` is a ReplaySession::Purpose.
    int p_PlaybackStart(const replay::Recording& recording, int purpose);
    int p_PlaybackBeforeRules();
    int p_PlaybackAfterRules();
    int p_PlaybackCaption();
    int p_PlaybackInterrupted();
    int p_PlaybackEnd(bool inStep);
    // Starts the playback asked for (by the menu, the demos or --replay) before an update.
    int p_StartPendingPlayback();
    // The focus rule: a game losing or regaining the focus is paused with its menu open.
    int p_FocusPause();
    String p_GameVersion();
    int p_KeepRecording(const replay::Recording& made);
    bool p_BestRecording(int gameType, replay::Recording* recording);
    int p_WatchBest(int gameType);
    int p_MenuNotice();
    // 1 when a key, mouse button or pad button went down since the last update.
    int p_AnyPress();
    // The idle menu's demos (attract_mode.cpp) and their pilot (autopilot.cpp).
    int p_AttractMode();
    int p_StartDemo(int gameType);
    bool p_Quiet() const;
    replay::Input p_AutopilotInput();
};
