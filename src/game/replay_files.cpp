// The recordings kept beside the state file, in the folder "replays": the last game and the
// best game of each type, each replaced whole, so a failed write never costs the one before.
#include "game/replay_files.h"

#include "game/my_app.h"
#include "game/replay_session.h"
#include "host/whole_file.h"
#include "runtime/print.h"

namespace {

const char* const kFolder = "replays";
const char* const kTypeNames[] = {"training", "classic", "swarm"};
// Far beyond any game's recording; a larger file is not one.
const size_t kLargestFile = 16 << 20;

// "replays/<which>-<type>.qxr", or "" for a type the game does not have.
std::string FileOf(const char* which, int gameType) {
    if (gameType < 1 || gameType > 3) return std::string();
    return std::string(kFolder) + "/" + which + "-" + kTypeNames[gameType - 1] + ".qxr";
}

bool Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    if (KxWriteFileWhole(path, bytes) == 0) return true;
    kxPrint(String("Could not keep the recording ") + String(path.c_str()));
    return false;
}

}  // namespace

String c_MyApp::p_GameVersion() { return String(QUARROX_VERSION); }

bool ReadRecording(const std::string& path, replay::Recording* recording, std::string* reason) {
    std::vector<uint8_t> bytes;
    if (!KxReadFileWhole(path, kLargestFile, &bytes)) {
        *reason = "cannot be read";
        return false;
    }
    return replay::Decode(bytes.data(), bytes.size(), recording, reason);
}

int c_MyApp::p_KeepRecording(const replay::Recording& made) {
    const std::string last = FileOf("last", made.gameType);
    if (last.empty()) return 0;
    if (!KxMakeFolder(kFolder)) {
        kxPrint(String("Could not make the folder ") + String(kFolder) + String(" for recordings"));
        return 0;
    }
    const std::vector<uint8_t> bytes = replay::Encode(made);
    Write(last, bytes);
    // The best stays unless this game beats it; one that cannot be read is no best.
    replay::Recording best;
    std::string reason;
    const std::string bestPath = FileOf("best", made.gameType);
    if (!ReadRecording(bestPath, &best, &reason) || made.finalScore > best.finalScore) {
        Write(bestPath, bytes);
    }
    return 0;
}

bool c_MyApp::p_BestRecording(int gameType, replay::Recording* recording) {
    const std::string path = FileOf("best", gameType);
    std::string reason;
    return !path.empty() && ReadRecording(path, recording, &reason);
}
