// A recording file read by the game. A refusal leaves the destination as it was and says why; a
// recording that is read encodes and reads back to the same recording and the same bytes. The
// input is read twice: as it is, and with its size and checksum made to hold, since a mutation
// almost never keeps the checksum and would otherwise never reach the rules of the body.
#include <algorithm>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_targets.h"
#include "game/replay_format.h"

namespace {

// Where the header keeps the file's size (see replay_format.cpp), and the checksum's length.
const size_t kFileSizeAt = 10;
const size_t kChecksumSize = 4;

void PutU32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

// Reads the bytes; true when they are a recording, which then survives its own round trip.
bool ReadAndRoundTrip(const uint8_t* data, size_t size) {
    replay::Recording untouched;
    untouched.gameVersion = "untouched";
    untouched.inputs.resize(2);
    replay::Recording recording = untouched;
    std::string reason;
    if (!replay::Decode(data, size, &recording, &reason)) {
        fuzz::Check(recording == untouched, "a refused file leaves the recording as it was");
        fuzz::Check(!reason.empty() && reason.size() < 64, "a refusal has a short reason");
        return false;
    }
    const std::vector<uint8_t> encoded = replay::Encode(recording);
    replay::Recording again;
    fuzz::Check(replay::Decode(encoded.data(), encoded.size(), &again, &reason),
                "a recording that was read can be written and read back");
    fuzz::Check(again == recording, "a recording reads back as it was written");
    fuzz::Check(replay::Encode(again) == encoded, "a recording is written the same way twice");
    return true;
}

}  // namespace

int FuzzReplayReader(const uint8_t* data, size_t size) {
    fuzz::NoteAccepted(ReadAndRoundTrip(data, size));
    if (size < kFileSizeAt + 4 + kChecksumSize) return 0;
    std::vector<uint8_t> sealed(data, data + size);
    PutU32(sealed.data() + kFileSizeAt, static_cast<uint32_t>(size));
    const size_t checksumAt = size - kChecksumSize;
    PutU32(sealed.data() + checksumAt, replay::Checksum(sealed.data(), checksumAt));
    // Bytes whose size and checksum already held are the same input: nothing new to read.
    if (!std::equal(sealed.begin(), sealed.end(), data)) ReadAndRoundTrip(sealed.data(), size);
    return 0;
}

#ifdef QUARROX_FUZZ_ENTRY
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzReplayReader(data, size);
}
#endif
