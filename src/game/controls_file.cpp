// The player's bindings file, "controls.txt" beside the state file: a missing file means the
// defaults, and a line that cannot be read keeps its action's defaults, with one line on
// standard error saying so; nothing else is lost. Changes are written whole, so a crash leaves
// the old file or the new one.
#include <cstdio>

#include "game/bindings.h"
#include "game/my_app.h"
#include "host/whole_file.h"

namespace {

const char* const kFile = "controls.txt";
const size_t kLargestFile = 64 << 10;

}  // namespace

int c_MyApp::p_LoadBindings() {
    std::vector<uint8_t> bytes;
    if (!KxReadFileWhole(kFile, kLargestFile, &bytes)) return 0;
    std::vector<std::string> problems;
    m_bindings->Read(std::string(bytes.begin(), bytes.end()), &problems);
    for (const std::string& problem : problems) {
        std::fprintf(stderr, "quarrox: %s, %s\n", kFile, problem.c_str());
    }
    return 0;
}

int c_MyApp::p_SaveBindings() {
    // A played recording's changes belong to the recorded player, not to this one.
    if (p_Playing()) return 0;
    const std::string text = m_bindings->Write();
    if (KxWriteFileWhole(kFile, std::vector<uint8_t>(text.begin(), text.end())) == 0) return 0;
    std::fprintf(stderr, "quarrox: %s could not be written; the controls last only until the game "
                         "ends\n", kFile);
    p_ControlsNotice(String("The controls could not be saved"));
    return 0;
}
