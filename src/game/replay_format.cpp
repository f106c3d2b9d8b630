// The recording file, format version 1. This comment is its whole description.
//
// Numbers are little-endian. u8, u16 and u32 are unsigned integers of that many bits, i32 a
// two's-complement one, f32 a float as its IEEE 754 single-precision bit pattern (every pattern
// is kept as it is: -0.0 stays -0.0 and a NaN keeps its payload). var is an unsigned LEB128
// number of at most 32 bits: seven bits a byte, the lowest first, the top bit set on every byte
// but the last; at most five bytes, the fifth (if any) below 16, and in its shortest form (a
// number of more than one byte never ends in a 0 byte). svar is an i32 as a var after the
// zigzag mapping 0, -1, 1, -2, 2 ... -> 0, 1, 2, 3, 4 ..., that is (n << 1) ^ (n >> 31).
//
// Header, 14 bytes:
//   8 bytes   the magic "QRXREPLY" (ASCII)
//   u16       the format version: 1
//   u32       the size of the whole file in bytes, this header and the checksum included
//
// Start:
//   var       byte count of the game version (0 to 255), then its bytes (UTF-8, no terminator)
//   u32       seed: the random generator's state
//   i32       game type: 1 to 3
//   i32, i32  music stream, music composed: each 0 or 1
//   f32, f32  field width, field height: finite and above 0
//   f32, f32  key steer x, key steer y: finite, -1 to 1
//   i32 x 7   drag x, drag y, mouse x, mouse y, mouse was down, key latch, click used
//   var       bullet count: 0 to 100; then for each bullet
//               i32       its slot: 501 to 600, no slot twice
//               f32 x 10  its fields, any values
//
// Inputs:
//   var       update count: at most 2 160 000 (ten hours at 60 updates a second)
//   then runs, as many as it takes for their lengths to add up to exactly the update count:
//   var       run length: at least 1; this many updates in a row have the same input
//   var       changes: a bit for each part of the input that differs from the previous run's
//             (for the first run, from an input that is all 0); no bit above bit 16
//   then for each bit set, lowest first, the part's new value:
//     bit 0       var       keyboard: below 2^14 (a bit per action)
//     bit 1       var x 4   buttons of players 0 to 3: each below 2^14
//     bit 2       u8 x 4    sticks of players 0 to 3: each below 16
//     bit 3       f32, f32  stick x, stick y: finite, -1 to 1
//     bit 4       svar x 2  mouse x, mouse y
//     bit 5       u8, u8    mouse down (0 or 1), mouse hits
//     bit 6       var       touch down: below 2^10 (a bit per touch)
//     bit 7 + i   svar x 2  touch i's x and y, for i from 0 to 9
//
// Events:
//   var       event count; then for each event, in update order (none before the one before)
//   var       update: at most the update count
//   u8        kind, and the bytes of its kind:
//               1 field size: f32 width, f32 height (finite and above 0)
//               2 suspend, 3 resume: none
//               4 reseed: u32 seed
//               5 bound: var code, below 288 (a key below 256, else 256 + a pad button)
//             An event's fields that its kind has no bytes for are 0.
//
// Checkpoints:
//   var       checkpoint count; then for each, in strictly increasing update order
//   var       update: at most the update count
//   svar      score
//   u32       digest
//
// End:
//   svar      final score
//   u32       checksum: the CRC-32 of zlib and PNG (reflected polynomial 0xEDB88320, start and
//             final xor 0xFFFFFFFF) of every byte before it
//
// A reader refuses a file rather than guess: the magic is checked first, then the version
// (before the size and the checksum, which another version may place differently), then the
// size against the bytes there are, the checksum, and every count, order and range above. The
// body must end exactly where the checksum begins.
#include "game/replay_format.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <utility>

namespace replay {

namespace {

constexpr uint8_t kMagic[8] = {'Q', 'R', 'X', 'R', 'E', 'P', 'L', 'Y'};
constexpr size_t kVersionAt = sizeof kMagic;
constexpr size_t kFileSizeAt = kVersionAt + 2;
constexpr size_t kHeaderSize = kFileSizeAt + 4;
constexpr size_t kChecksumSize = 4;

constexpr size_t kMaxGameVersionBytes = 255;
constexpr int32_t kFirstGameType = 1, kLastGameType = 3;
// The game's bullet slots (c_MyApp::FirstBulletSlot to LastBulletSlot); this file stays free of
// the game's own headers so that tools can read recordings.
constexpr int32_t kFirstBulletSlot = 501, kLastBulletSlot = 600;
constexpr uint32_t kMaxBullets = kLastBulletSlot - kFirstBulletSlot + 1;
constexpr uint32_t kMaxUpdates = 10 * 60 * 60 * 60;  // ten hours at 60 updates a second
constexpr size_t kBulletFields = sizeof(StartBullet::fields) / sizeof(float);
constexpr size_t kBulletBytes = 4 + kBulletFields * 4;
constexpr size_t kMinEventBytes = 2;
constexpr uint32_t kMostBoundCode = 256 + 32;
constexpr size_t kMinCheckpointBytes = 1 + 1 + 4;

// The bits of a run's change mask.
constexpr uint32_t kKeyboardChanged = 1u << 0;
constexpr uint32_t kJoyButtonsChanged = 1u << 1;
constexpr uint32_t kJoySticksChanged = 1u << 2;
constexpr uint32_t kStickChanged = 1u << 3;
constexpr uint32_t kMousePositionChanged = 1u << 4;
constexpr uint32_t kMouseButtonChanged = 1u << 5;
constexpr uint32_t kTouchDownChanged = 1u << 6;
constexpr int kFirstTouchBit = 7;
constexpr uint32_t kAllChanges = (1u << (kFirstTouchBit + kTouches)) - 1;

constexpr uint32_t kActionBits = (1u << kActions) - 1;
constexpr uint32_t kTouchBits = (1u << kTouches) - 1;
constexpr uint8_t kStickDirectionBits = 0x0F;

uint32_t FloatBits(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float BitsFloat(uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

template <size_t N>
bool SameFloats(const float (&a)[N], const float (&b)[N]) {
    for (size_t i = 0; i < N; ++i) {
        if (FloatBits(a[i]) != FloatBits(b[i])) return false;
    }
    return true;
}

template <typename T, size_t N>
bool SameArrays(const T (&a)[N], const T (&b)[N]) {
    for (size_t i = 0; i < N; ++i) {
        if (a[i] != b[i]) return false;
    }
    return true;
}

uint32_t ZigZag(int32_t value) {
    return (static_cast<uint32_t>(value) << 1) ^ (value < 0 ? 0xFFFFFFFFu : 0u);
}

int32_t UnZigZag(uint32_t value) { return static_cast<int32_t>((value >> 1) ^ (0u - (value & 1))); }

bool InUnitRange(float value) { return std::isfinite(value) && value >= -1 && value <= 1; }

bool IsFieldSize(float width, float height) {
    return std::isfinite(width) && std::isfinite(height) && width > 0 && height > 0;
}

struct CrcTable {
    uint32_t entries[256];
    constexpr CrcTable() : entries() {
        for (uint32_t byte = 0; byte < 256; ++byte) {
            uint32_t crc = byte;
            for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ ((crc & 1) ? 0xEDB88320u : 0u);
            entries[byte] = crc;
        }
    }
};
constexpr CrcTable kCrcTable;

// --- writing ---

class Writer {
public:
    std::vector<uint8_t> bytes;

    void U8(uint8_t value) { bytes.push_back(value); }
    void U16(uint16_t value) {
        U8(static_cast<uint8_t>(value));
        U8(static_cast<uint8_t>(value >> 8));
    }
    void U32(uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) U8(static_cast<uint8_t>(value >> shift));
    }
    void I32(int32_t value) { U32(static_cast<uint32_t>(value)); }
    void F32(float value) { U32(FloatBits(value)); }
    void Var(uint32_t value) {
        while (value >= 0x80) {
            U8(static_cast<uint8_t>(value | 0x80));
            value >>= 7;
        }
        U8(static_cast<uint8_t>(value));
    }
    void SignedVar(int32_t value) { Var(ZigZag(value)); }
    void PutU32At(size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
};

void WriteStart(Writer& out, const Recording& recording) {
    out.Var(static_cast<uint32_t>(recording.gameVersion.size()));
    out.bytes.insert(out.bytes.end(), recording.gameVersion.begin(), recording.gameVersion.end());
    out.U32(recording.seed);
    out.I32(recording.gameType);
    out.I32(recording.musicStream);
    out.I32(recording.musicComposed);
    out.F32(recording.fieldWidth);
    out.F32(recording.fieldHeight);

    const StartInput& start = recording.startInput;
    out.F32(start.keySteerX);
    out.F32(start.keySteerY);
    for (int32_t value : {start.dragX, start.dragY, start.mouseX, start.mouseY,
                          start.mouseWasDown, start.keyLatch, start.clickUsed}) {
        out.I32(value);
    }

    out.Var(static_cast<uint32_t>(recording.bullets.size()));
    for (const StartBullet& bullet : recording.bullets) {
        out.I32(bullet.slot);
        for (float field : bullet.fields) out.F32(field);
    }
}

uint32_t Changes(const Input& before, const Input& now) {
    uint32_t changes = 0;
    if (now.keyboard != before.keyboard) changes |= kKeyboardChanged;
    if (!SameArrays(now.joyButtons, before.joyButtons)) changes |= kJoyButtonsChanged;
    if (!SameArrays(now.joySticks, before.joySticks)) changes |= kJoySticksChanged;
    if (FloatBits(now.stickX) != FloatBits(before.stickX) ||
        FloatBits(now.stickY) != FloatBits(before.stickY)) {
        changes |= kStickChanged;
    }
    if (now.mouseX != before.mouseX || now.mouseY != before.mouseY) {
        changes |= kMousePositionChanged;
    }
    if (now.mouseDown != before.mouseDown || now.mouseHits != before.mouseHits) {
        changes |= kMouseButtonChanged;
    }
    if (now.touchDown != before.touchDown) changes |= kTouchDownChanged;
    for (int i = 0; i < kTouches; ++i) {
        if (now.touchX[i] != before.touchX[i] || now.touchY[i] != before.touchY[i]) {
            changes |= 1u << (kFirstTouchBit + i);
        }
    }
    return changes;
}

void WriteRun(Writer& out, uint32_t length, const Input& before, const Input& now) {
    const uint32_t changes = Changes(before, now);
    out.Var(length);
    out.Var(changes);
    if (changes & kKeyboardChanged) out.Var(now.keyboard);
    if (changes & kJoyButtonsChanged) {
        for (uint16_t buttons : now.joyButtons) out.Var(buttons);
    }
    if (changes & kJoySticksChanged) {
        for (uint8_t stick : now.joySticks) out.U8(stick);
    }
    if (changes & kStickChanged) {
        out.F32(now.stickX);
        out.F32(now.stickY);
    }
    if (changes & kMousePositionChanged) {
        out.SignedVar(now.mouseX);
        out.SignedVar(now.mouseY);
    }
    if (changes & kMouseButtonChanged) {
        out.U8(now.mouseDown);
        out.U8(now.mouseHits);
    }
    if (changes & kTouchDownChanged) out.Var(now.touchDown);
    for (int i = 0; i < kTouches; ++i) {
        if (changes & (1u << (kFirstTouchBit + i))) {
            out.SignedVar(now.touchX[i]);
            out.SignedVar(now.touchY[i]);
        }
    }
}

void WriteInputs(Writer& out, const std::vector<Input>& inputs) {
    out.Var(static_cast<uint32_t>(inputs.size()));
    const Input nothingHeld;
    const Input* before = &nothingHeld;
    size_t runStart = 0;
    while (runStart < inputs.size()) {
        size_t runEnd = runStart + 1;
        while (runEnd < inputs.size() && inputs[runEnd] == inputs[runStart]) ++runEnd;
        WriteRun(out, static_cast<uint32_t>(runEnd - runStart), *before, inputs[runStart]);
        before = &inputs[runStart];
        runStart = runEnd;
    }
}

void WriteEvents(Writer& out, const std::vector<Event>& events) {
    out.Var(static_cast<uint32_t>(events.size()));
    for (const Event& event : events) {
        out.Var(event.update);
        out.U8(event.kind);
        if (event.kind == Event::FieldSize) {
            out.F32(event.width);
            out.F32(event.height);
        } else if (event.kind == Event::Reseed) {
            out.U32(event.seed);
        } else if (event.kind == Event::Bound) {
            out.Var(event.code);
        }
    }
}

void WriteCheckpoints(Writer& out, const std::vector<Checkpoint>& checkpoints) {
    out.Var(static_cast<uint32_t>(checkpoints.size()));
    for (const Checkpoint& checkpoint : checkpoints) {
        out.Var(checkpoint.update);
        out.SignedVar(checkpoint.score);
        out.U32(checkpoint.digest);
    }
}

// --- reading ---

// Reads the body, never past its end. Every read returns false once the body cannot give what
// is asked, with the reason in `failure`; so does Fail for a value out of its bounds.
class Reader {
public:
    const char* failure = nullptr;

    Reader(const uint8_t* data, size_t size) : next_(data), end_(data + size) {}

    size_t Left() const { return static_cast<size_t>(end_ - next_); }

    bool Fail(const char* reason) {
        failure = reason;
        return false;
    }

    bool Bytes(size_t count, const uint8_t** bytes) {
        if (count > Left()) return Fail("truncated");
        *bytes = next_;
        next_ += count;
        return true;
    }
    bool U8(uint8_t* value) {
        if (Left() < 1) return Fail("truncated");
        *value = *next_++;
        return true;
    }
    bool U32(uint32_t* value) {
        const uint8_t* b;
        if (!Bytes(4, &b)) return false;
        *value = b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
        return true;
    }
    bool I32(int32_t* value) {
        uint32_t bits;
        if (!U32(&bits)) return false;
        *value = static_cast<int32_t>(bits);
        return true;
    }
    bool F32(float* value) {
        uint32_t bits;
        if (!U32(&bits)) return false;
        *value = BitsFloat(bits);
        return true;
    }
    bool Var(uint32_t* value) {
        uint32_t result = 0;
        for (int index = 0; index < 5; ++index) {
            uint8_t byte;
            if (!U8(&byte)) return false;
            if (index == 4 && byte > 0x0F) return Fail("bad number");
            result |= static_cast<uint32_t>(byte & 0x7F) << (7 * index);
            if (!(byte & 0x80)) {
                if (byte == 0 && index > 0) return Fail("bad number");
                *value = result;
                return true;
            }
        }
        return Fail("bad number");
    }
    bool SignedVar(int32_t* value) {
        uint32_t coded;
        if (!Var(&coded)) return false;
        *value = UnZigZag(coded);
        return true;
    }
    // A count of items of at least `itemBytes` each, checked against the bytes left before
    // anyone reserves room for the items.
    bool Count(uint32_t* count, size_t itemBytes) {
        if (!Var(count)) return false;
        if (*count > Left() / itemBytes) return Fail("truncated");
        return true;
    }

private:
    const uint8_t* next_;
    const uint8_t* end_;
};

bool ReadStartInput(Reader& in, StartInput* start) {
    if (!in.F32(&start->keySteerX) || !in.F32(&start->keySteerY)) return false;
    if (!InUnitRange(start->keySteerX) || !InUnitRange(start->keySteerY)) {
        return in.Fail("bad steering");
    }
    for (int32_t* value : {&start->dragX, &start->dragY, &start->mouseX, &start->mouseY,
                           &start->mouseWasDown, &start->keyLatch, &start->clickUsed}) {
        if (!in.I32(value)) return false;
    }
    return true;
}

bool ReadBullets(Reader& in, std::vector<StartBullet>* bullets) {
    uint32_t count;
    if (!in.Count(&count, kBulletBytes)) return false;
    if (count > kMaxBullets) return in.Fail("too many bullets");
    bool slotTaken[kMaxBullets] = {};
    bullets->resize(count);
    for (StartBullet& bullet : *bullets) {
        if (!in.I32(&bullet.slot)) return false;
        if (bullet.slot < kFirstBulletSlot || bullet.slot > kLastBulletSlot ||
            slotTaken[bullet.slot - kFirstBulletSlot]) {
            return in.Fail("bad bullet slot");
        }
        slotTaken[bullet.slot - kFirstBulletSlot] = true;
        for (float& field : bullet.fields) {
            if (!in.F32(&field)) return false;
        }
    }
    return true;
}

bool ReadStart(Reader& in, Recording* recording) {
    uint32_t versionBytes;
    const uint8_t* version;
    if (!in.Var(&versionBytes)) return false;
    if (versionBytes > kMaxGameVersionBytes) return in.Fail("bad game version");
    if (!in.Bytes(versionBytes, &version)) return false;
    recording->gameVersion.assign(reinterpret_cast<const char*>(version), versionBytes);

    if (!in.U32(&recording->seed) || !in.I32(&recording->gameType) ||
        !in.I32(&recording->musicStream) || !in.I32(&recording->musicComposed) ||
        !in.F32(&recording->fieldWidth) || !in.F32(&recording->fieldHeight)) {
        return false;
    }
    if (recording->gameType < kFirstGameType || recording->gameType > kLastGameType) {
        return in.Fail("bad game type");
    }
    if ((recording->musicStream != 0 && recording->musicStream != 1) ||
        (recording->musicComposed != 0 && recording->musicComposed != 1)) {
        return in.Fail("bad music choice");
    }
    if (!IsFieldSize(recording->fieldWidth, recording->fieldHeight)) {
        return in.Fail("bad field size");
    }
    return ReadStartInput(in, &recording->startInput) && ReadBullets(in, &recording->bullets);
}

// Reads the parts a run's change mask names into `input`, which holds the previous run's.
bool ReadChanges(Reader& in, uint32_t changes, Input* input) {
    uint32_t value;
    if (changes & kKeyboardChanged) {
        if (!in.Var(&value)) return false;
        if (value & ~kActionBits) return in.Fail("bad input");
        input->keyboard = static_cast<uint16_t>(value);
    }
    if (changes & kJoyButtonsChanged) {
        for (uint16_t& buttons : input->joyButtons) {
            if (!in.Var(&value)) return false;
            if (value & ~kActionBits) return in.Fail("bad input");
            buttons = static_cast<uint16_t>(value);
        }
    }
    if (changes & kJoySticksChanged) {
        for (uint8_t& stick : input->joySticks) {
            if (!in.U8(&stick)) return false;
            if (stick & ~kStickDirectionBits) return in.Fail("bad input");
        }
    }
    if (changes & kStickChanged) {
        if (!in.F32(&input->stickX) || !in.F32(&input->stickY)) return false;
        if (!InUnitRange(input->stickX) || !InUnitRange(input->stickY)) {
            return in.Fail("bad input");
        }
    }
    if (changes & kMousePositionChanged) {
        if (!in.SignedVar(&input->mouseX) || !in.SignedVar(&input->mouseY)) return false;
    }
    if (changes & kMouseButtonChanged) {
        if (!in.U8(&input->mouseDown) || !in.U8(&input->mouseHits)) return false;
        if (input->mouseDown > 1) return in.Fail("bad input");
    }
    if (changes & kTouchDownChanged) {
        if (!in.Var(&value)) return false;
        if (value & ~kTouchBits) return in.Fail("bad input");
        input->touchDown = static_cast<uint16_t>(value);
    }
    for (int i = 0; i < kTouches; ++i) {
        if (!(changes & (1u << (kFirstTouchBit + i)))) continue;
        if (!in.SignedVar(&input->touchX[i]) || !in.SignedVar(&input->touchY[i])) return false;
    }
    return true;
}

// The vector grows run by run: a long game of few runs is legitimately a short file, and the
// update count is bounded.
bool ReadInputs(Reader& in, std::vector<Input>* inputs) {
    uint32_t updates;
    if (!in.Var(&updates)) return false;
    if (updates > kMaxUpdates) return in.Fail("too many updates");
    Input input;
    while (inputs->size() < updates) {
        uint32_t length, changes;
        if (!in.Var(&length)) return false;
        if (length == 0 || length > updates - inputs->size()) return in.Fail("bad run length");
        if (!in.Var(&changes)) return false;
        if (changes & ~kAllChanges) return in.Fail("bad input");
        if (!ReadChanges(in, changes, &input)) return false;
        inputs->insert(inputs->end(), length, input);
    }
    return true;
}

bool ReadEvents(Reader& in, uint32_t updates, std::vector<Event>* events) {
    uint32_t count;
    if (!in.Count(&count, kMinEventBytes)) return false;
    events->resize(count);
    uint32_t previousUpdate = 0;
    for (Event& event : *events) {
        uint8_t kind;
        if (!in.Var(&event.update) || !in.U8(&kind)) return false;
        if (event.update < previousUpdate) return in.Fail("events out of order");
        if (event.update > updates) return in.Fail("event after the last update");
        previousUpdate = event.update;
        event.kind = static_cast<Event::Kind>(kind);
        switch (kind) {
            case Event::FieldSize:
                if (!in.F32(&event.width) || !in.F32(&event.height)) return false;
                if (!IsFieldSize(event.width, event.height)) return in.Fail("bad field size");
                break;
            case Event::Suspend:
            case Event::Resume:
                break;
            case Event::Reseed:
                if (!in.U32(&event.seed)) return false;
                break;
            case Event::Bound:
                if (!in.Var(&event.code)) return false;
                if (event.code >= kMostBoundCode) return in.Fail("bad bound code");
                break;
            default:
                return in.Fail("bad event");
        }
    }
    return true;
}

bool ReadCheckpoints(Reader& in, uint32_t updates, std::vector<Checkpoint>* checkpoints) {
    uint32_t count;
    if (!in.Count(&count, kMinCheckpointBytes)) return false;
    checkpoints->resize(count);
    for (size_t i = 0; i < checkpoints->size(); ++i) {
        Checkpoint& checkpoint = (*checkpoints)[i];
        if (!in.Var(&checkpoint.update) || !in.SignedVar(&checkpoint.score) ||
            !in.U32(&checkpoint.digest)) {
            return false;
        }
        if (i > 0 && checkpoint.update <= (*checkpoints)[i - 1].update) {
            return in.Fail("checkpoints out of order");
        }
        if (checkpoint.update > updates) return in.Fail("checkpoint after the last update");
    }
    return true;
}

bool ReadBody(Reader& in, Recording* recording) {
    if (!ReadStart(in, recording) || !ReadInputs(in, &recording->inputs)) return false;
    const uint32_t updates = static_cast<uint32_t>(recording->inputs.size());
    if (!ReadEvents(in, updates, &recording->events) ||
        !ReadCheckpoints(in, updates, &recording->checkpoints) ||
        !in.SignedVar(&recording->finalScore)) {
        return false;
    }
    if (in.Left() != 0) return in.Fail("trailing bytes");
    return true;
}

uint32_t U16At(const uint8_t* data) { return data[0] | data[1] << 8; }

uint32_t U32At(const uint8_t* data) {
    return data[0] | data[1] << 8 | data[2] << 16 | static_cast<uint32_t>(data[3]) << 24;
}

// Why `data` is not a whole recording of this version, or an empty string if it is.
std::string CheckFrame(const uint8_t* data, size_t size) {
    if (size == 0 || std::memcmp(data, kMagic, std::min(size, sizeof kMagic)) != 0) {
        return "not a recording";
    }
    if (size < kVersionAt + 2) return "truncated";
    const uint32_t version = U16At(data + kVersionAt);
    if (version != kFormatVersion) {
        return "format version " + std::to_string(version) + "; this game reads version " +
               std::to_string(kFormatVersion);
    }
    if (size < kHeaderSize) return "truncated";
    const uint32_t fileSize = U32At(data + kFileSizeAt);
    if (size < fileSize) return "truncated";
    if (size > fileSize) return "trailing bytes";
    if (size < kHeaderSize + kChecksumSize) return "truncated";
    const size_t checksumAt = size - kChecksumSize;
    if (Checksum(data, checksumAt) != U32At(data + checksumAt)) return "damaged";
    return "";
}

}  // namespace

bool Input::operator==(const Input& other) const {
    return keyboard == other.keyboard && SameArrays(joyButtons, other.joyButtons) &&
           SameArrays(joySticks, other.joySticks) &&
           FloatBits(stickX) == FloatBits(other.stickX) &&
           FloatBits(stickY) == FloatBits(other.stickY) && mouseX == other.mouseX &&
           mouseY == other.mouseY && mouseDown == other.mouseDown &&
           mouseHits == other.mouseHits && touchDown == other.touchDown &&
           SameArrays(touchX, other.touchX) && SameArrays(touchY, other.touchY);
}

bool Event::operator==(const Event& other) const {
    return update == other.update && kind == other.kind &&
           FloatBits(width) == FloatBits(other.width) &&
           FloatBits(height) == FloatBits(other.height) && seed == other.seed &&
           code == other.code;
}

bool Checkpoint::operator==(const Checkpoint& other) const {
    return update == other.update && score == other.score && digest == other.digest;
}

bool StartInput::operator==(const StartInput& other) const {
    return FloatBits(keySteerX) == FloatBits(other.keySteerX) &&
           FloatBits(keySteerY) == FloatBits(other.keySteerY) && dragX == other.dragX &&
           dragY == other.dragY && mouseX == other.mouseX && mouseY == other.mouseY &&
           mouseWasDown == other.mouseWasDown && keyLatch == other.keyLatch &&
           clickUsed == other.clickUsed;
}

bool StartBullet::operator==(const StartBullet& other) const {
    return slot == other.slot && SameFloats(fields, other.fields);
}

bool Recording::operator==(const Recording& other) const {
    return gameVersion == other.gameVersion && seed == other.seed &&
           gameType == other.gameType && musicStream == other.musicStream &&
           musicComposed == other.musicComposed &&
           FloatBits(fieldWidth) == FloatBits(other.fieldWidth) &&
           FloatBits(fieldHeight) == FloatBits(other.fieldHeight) &&
           startInput == other.startInput && bullets == other.bullets &&
           inputs == other.inputs && events == other.events &&
           checkpoints == other.checkpoints && finalScore == other.finalScore;
}

std::vector<uint8_t> Encode(const Recording& recording) {
    Writer out;
    out.bytes.insert(out.bytes.end(), std::begin(kMagic), std::end(kMagic));
    out.U16(kFormatVersion);
    out.U32(0);  // the file's size, known at the end
    WriteStart(out, recording);
    WriteInputs(out, recording.inputs);
    WriteEvents(out, recording.events);
    WriteCheckpoints(out, recording.checkpoints);
    out.SignedVar(recording.finalScore);
    out.PutU32At(kFileSizeAt, static_cast<uint32_t>(out.bytes.size() + kChecksumSize));
    out.U32(Checksum(out.bytes.data(), out.bytes.size()));
    return std::move(out.bytes);
}

bool Decode(const uint8_t* data, size_t size, Recording* out, std::string* reason) {
    std::string failure = CheckFrame(data, size);
    Recording decoded;
    if (failure.empty()) {
        Reader in(data + kHeaderSize, size - kHeaderSize - kChecksumSize);
        if (!ReadBody(in, &decoded)) failure = in.failure;
    }
    if (!failure.empty()) {
        if (reason) *reason = failure;
        return false;
    }
    *out = std::move(decoded);
    return true;
}

uint32_t Checksum(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) crc = kCrcTable.entries[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

// FNV-1a over each value's four bytes, lowest first.
uint32_t Digest(const float* values, size_t count) {
    uint32_t hash = 2166136261u;
    for (size_t i = 0; i < count; ++i) {
        const uint32_t bits = FloatBits(values[i]);
        for (int shift = 0; shift < 32; shift += 8) {
            hash = (hash ^ ((bits >> shift) & 0xFF)) * 16777619u;
        }
    }
    return hash;
}

}  // namespace replay
