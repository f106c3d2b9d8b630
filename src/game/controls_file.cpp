// The player's bindings file, "controls.txt" beside the state file: a missing file means the
// defaults, and a line that cannot be read keeps its action's defaults, with one line on
// standard error saying so; nothing else is lost.
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
