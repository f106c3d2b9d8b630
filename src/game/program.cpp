// The program's two start-up functions: the initialiser of every global and the creation of
// the application.
#include "framework/app.h"
#include "framework/async_event.h"
#include "framework/audio.h"
#include "framework/graphics.h"
#include "framework/input.h"
#include "framework/random.h"
#include "game/command_line.h"
#include "game/my_app.h"
#include "host/game.h"
#include "runtime/startup.h"

float kx_Sprocklet_rawscrw = 0;
float kx_Sprocklet_rawscrh = 0;
float kx_Sprocklet_jscrw = 0;
float kx_Sprocklet_jscrh = 0;
float kx_Sprocklet_overscan = 0;
int kx_Sprocklet_DebugMode = 0;
int kx_Sprocklet_iCadeControls = 0;
int kx_Sprocklet_HasMusicStream = 0;
int kx_Sprocklet_HasMusic = 0;
int kx_Sprocklet_isOuya = 0;
int kx_Sprocklet_OnScreenControls = 0;
int kx_Sprocklet_AccelerometerControls = 0;
Array<String> kx_Sprocklet_CreditText;

namespace {

// The credits, top to bottom; an empty line is a gap.
const char* const kCreditLines[] = {
    "",
    "A Game by",
    "The Quarrox Team",
    "www.quarrox.example",
    "",
    "-=-=-",
    "",
    "Developed using",
    "Travik-X",
    "www.travik-x.example",
    "",
    "-=-=-",
    "",
    "Graphics",
    "",
    "Most graphics by",
    "The Quarrox Team",
    "",
    "Font : EditUndo",
    "by The Quarrox Team",
    "Lowercase added by",
    "The Quarrox Team",
    "",
    "",
    "-=-=-",
    "",
    "Audio",
    "",
    "Sound and Music by",
    "The Quarrox Team",
    "using FLStudio,",
    "SFXr",
    "Cool Edit",
    "or whatever else",
    "is handy!",
    "",
    "-=-=-",
    "",
    "Thanks to",
    "Our Playtesters",
    "Our Families",
    "Our Friends",
    "The Pixel Pushers",
    "The Noise Makers",
    "and everyone else",
    "at forum.quarrox.example",
    "",
    "-=-=-",
    "End",
};

Array<String> CreditText() {
    const int count = static_cast<int>(sizeof kCreditLines / sizeof kCreditLines[0]);
    Array<String> lines(count);
    for (int i = 0; i < count; ++i) lines[i] = String(kCreditLines[i]);
    return lines;
}

// The game's globals: the 800 x 600 design screen, the build flags and the credits.
void InitGameGlobals() {
    kx_Sprocklet_rawscrw = 800;
    kx_Sprocklet_rawscrh = 600;
    kx_Sprocklet_jscrw = 800;
    kx_Sprocklet_jscrh = 600;
    kx_Sprocklet_overscan = 0;
    kx_Sprocklet_DebugMode = 0;
    kx_Sprocklet_iCadeControls = 0;
    // The recorded tune unless the command line chose other music.
    kx_Sprocklet_HasMusicStream = kx_Sprocklet_MusicChoice.stream;
    kx_Sprocklet_HasMusic = kx_Sprocklet_MusicChoice.composed;
    kx_Sprocklet_isOuya = 0;
    kx_Sprocklet_OnScreenControls = 0;
    kx_Sprocklet_AccelerometerControls = 0;
    gc_assign(kx_Sprocklet_CreditText, CreditText());
    // Every run plays the same random sequence until something reseeds it.
    kx_random_Seed = 1234;
}

void MarkApp() { gc_mark_q(kx_app__app); }
void MarkDelegate() { gc_mark_q(kx_app__delegate); }
void MarkGraphicsDevice() { gc_mark_q(kx_graphics_device); }
void MarkGraphicsContext() { gc_mark_q(kx_graphics_context); }
void MarkAudioDevice() { gc_mark_q(kx_audio_device); }
void MarkInputDevice() { gc_mark_q(kx_input_device); }
void MarkRenderDevice() { gc_mark_q(kx_graphics_renderDevice); }
void MarkCurrentAsyncSource() { gc_mark_q(kx_asyncevent__current); }
void MarkAsyncSources() { gc_mark_q(kx_asyncevent__sources); }
void MarkStackNil() { gc_mark_q(c_Stack::m_NIL); }
void MarkCreditText() { gc_mark_q(kx_Sprocklet_CreditText); }

// The root globals, in the order the collector queues them.
void AddRoots() {
    gc_add_root(MarkApp);
    gc_add_root(MarkDelegate);
    gc_add_root(MarkGraphicsDevice);
    gc_add_root(MarkGraphicsContext);
    gc_add_root(MarkAudioDevice);
    gc_add_root(MarkInputDevice);
    gc_add_root(MarkRenderDevice);
    gc_add_root(MarkCurrentAsyncSource);
    gc_add_root(MarkAsyncSources);
    gc_add_root(MarkStackNil);
    gc_add_root(MarkCreditText);
}

}  // namespace

int kxInit() {
    gc_clear_roots();
    kx_app__app = nullptr;
    kx_app__delegate = nullptr;
    kx_app__game = KxGame::_game;
    kx_graphics_device = nullptr;
    gc_assign(kx_graphics_context, (new c_GraphicsContext)->m_new());
    c_Image::m_DefaultFlags = 0;
    kx_audio_device = nullptr;
    kx_input_device = nullptr;
    kx_graphics_renderDevice = nullptr;
    kx_app__updateRate = 0;
    kx_asyncevent__current = nullptr;
    gc_assign(kx_asyncevent__sources, (new c_Stack)->m_new());
    c_Stack::m_NIL = nullptr;
    InitGameGlobals();
    AddRoots();
    return 0;
}

int kxMain() {
    (new c_MyApp)->m_new();
    return 0;
}
