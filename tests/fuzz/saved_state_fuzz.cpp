// A state file read by the game, fed as the game meets it: the bytes are "./.travikstate" in
// the current folder, read through the host (String::Load) and parsed by p_Load. Whatever was
// read, saving it and loading that back must give the same text: a loaded state is one the
// game can keep.
#include <unistd.h>

#include <climits>
#include <string>

#include "framework/app.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_targets.h"
#include "game/my_app.h"
#include "host/game.h"

namespace {

// Reads the real state file; keeps what the game saves in memory, so the fuzzer does not wait
// on the disk for every input.
class StateHost : public KxGame {
public:
    std::string saved;

    int SaveState(String state) override {
        saved = static_cast<const char*>(state.ToCString());
        return 0;
    }
};

const int PadXSetting = 10, PadYSetting = 11, PadSizeSetting = 12;

std::string SaveAndLoadBack(c_MyApp* app, StateHost& host) {
    app->p_Save();
    const std::string text = host.saved;
    fuzz::WriteScratchFile(".travikstate", reinterpret_cast<const uint8_t*>(text.data()),
                           text.size());
    app->p_Load();
    app->p_Save();
    return text;
}

}  // namespace

int FuzzSavedState(const uint8_t* data, size_t size) {
    static StateHost host;
    KxGame* previousHost = kx_app__game;
    kx_app__game = &host;
    kx_Sprocklet_DebugMode = 0;
    kx_Sprocklet_isOuya = 0;
    char previousDir[PATH_MAX];
    fuzz::Check(getcwd(previousDir, sizeof previousDir) != nullptr, "the current folder is known");
    fuzz::Check(chdir(fuzz::ScratchDir().c_str()) == 0, "the scratch folder can be entered");
    fuzz::WriteScratchFile(".travikstate", data, size);

    c_MyApp* app = new c_MyApp;  // the option defaults p_OnCreate sets before loading
    app->m_settings[c_MyApp::SoundModeSetting] = 1;
    app->p_Load();
    fuzz::Check(app->m_settings[PadXSetting] >= 64 && app->m_settings[PadYSetting] >= 64,
                "the pad is placed where it can be seen");
    fuzz::Check(app->m_settings[PadSizeSetting] >= 8, "the pad has a usable size");
    fuzz::Check(app->m_settings[c_MyApp::OverscanSetting] == 1, "no overscan on the desktop");

    const std::string first = SaveAndLoadBack(app, host);
    fuzz::Check(host.saved == first, "a loaded state saves, loads back and saves the same");
    fuzz::NoteAccepted(first == std::string(reinterpret_cast<const char*>(data), size));

    fuzz::Check(chdir(previousDir) == 0, "the previous folder can be entered again");
    fuzz::ReleaseAllObjects();
    kx_app__game = previousHost;
    return 0;
}

#ifdef QUARROX_FUZZ_ENTRY
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzSavedState(data, size);
}
#endif
