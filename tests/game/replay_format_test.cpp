// The recording file: an exact round trip of every field, the refusal of anything that is not
// one whole, sound recording of this version (leaving the destination as it was), and the size
// of a long game.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <iterator>
#include <limits>

#include "game/played_inputs.h"
#include "game/replay_format.h"

namespace {

using replay::Checkpoint;
using replay::Event;
using replay::Input;
using replay::Recording;

float NanWithPayload(uint32_t payload) {
    const uint32_t bits = 0x7FC00000u | payload;
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Every field away from its default, with the values a careless format loses: negative and
// extreme integers, -0.0, infinity and a NaN's payload in a bullet, every touch down.
Recording EveryField() {
    Recording r;
    r.gameVersion = "1.4.0";
    r.seed = 0xDEADBEEF;
    r.gameType = 3;
    r.musicStream = 1;
    r.musicComposed = 1;
    r.fieldWidth = 853.5f;
    r.fieldHeight = 480;
    r.startInput = {-0.5f, -0.0f, -1, 7, -30, std::numeric_limits<int32_t>::max(), 1, 1, 2};
    r.bullets.resize(2);
    r.bullets[0].slot = 600;
    r.bullets[1].slot = 501;
    for (int i = 0; i < 10; ++i) r.bullets[0].fields[i] = -1.25f * i;
    r.bullets[1].fields[3] = -std::numeric_limits<float>::infinity();
    r.bullets[1].fields[9] = NanWithPayload(0x1234);

    Input busy;
    busy.keyboard = 0x3FFF;
    busy.joyButtons[1] = 0x2001;
    busy.joyButtons[3] = 1;
    busy.joySticks[0] = 15;
    busy.joySticks[2] = 8;
    busy.stickX = -1;
    busy.stickY = -0.0f;
    busy.mouseX = -40;
    busy.mouseY = std::numeric_limits<int32_t>::min();
    busy.mouseDown = 1;
    busy.mouseHits = 255;
    busy.touchDown = 0x3FF;
    for (int i = 0; i < replay::kTouches; ++i) {
        busy.touchX[i] = -100 * i - 1;
        busy.touchY[i] = std::numeric_limits<int32_t>::max() - i;
    }
    Input touchMoved = busy;
    touchMoved.touchY[9] = 0;
    r.inputs = {Input(), Input(), busy, busy, busy, touchMoved, Input()};

    Event resized{0, Event::FieldSize, 1024, 768, 0};
    Event suspended{2, Event::Suspend, 0, 0, 0};
    Event resumed{2, Event::Resume, 0, 0, 0};
    Event reseeded{5, Event::Reseed, 0, 0, 0xFFFFFFFF};
    Event shrunk{7, Event::FieldSize, 0.5f, 0.25f, 0};
    Event bound{7, Event::Bound, 0, 0, 0, 256 + 31};
    r.events = {resized, suspended, resumed, reseeded, shrunk, bound};
    r.checkpoints = {
        {0, -5, 1}, {6, 100, 0xFFFFFFFF}, {7, std::numeric_limits<int32_t>::min(), 42}};
    r.finalScore = -12;
    return r;
}

// Why Decode refuses the bytes, or "accepted". A refusal must leave the destination as it was.
std::string Refusal(const std::vector<uint8_t>& bytes) {
    const Recording before = EveryField();
    Recording out = before;
    std::string reason;
    if (replay::Decode(bytes.data(), bytes.size(), &out, &reason)) return "accepted";
    EXPECT_TRUE(out == before) << "refused with '" << reason << "' but changed the destination";
    return reason;
}

// Makes the size and checksum hold again after a deliberate change to the body.
void Reseal(std::vector<uint8_t>& bytes) {
    const uint32_t size = static_cast<uint32_t>(bytes.size());
    for (int i = 0; i < 4; ++i) bytes[10 + i] = static_cast<uint8_t>(size >> (8 * i));
    const uint32_t checksum = replay::Checksum(bytes.data(), bytes.size() - 4);
    for (int i = 0; i < 4; ++i) bytes[size - 4 + i] = static_cast<uint8_t>(checksum >> (8 * i));
}

TEST(ReplayFormat, RoundTripKeepsEveryFieldExactly) {
    const Recording original = EveryField();
    const std::vector<uint8_t> bytes = replay::Encode(original);
    Recording decoded;
    std::string reason;
    ASSERT_TRUE(replay::Decode(bytes.data(), bytes.size(), &decoded, &reason)) << reason;
    EXPECT_TRUE(decoded == original);
    EXPECT_EQ(replay::Encode(decoded), bytes);

    // Each field counts in the comparison (else the round trip above could lose it unseen),
    // floats by their bits, and each changed recording survives its own round trip.
    const std::function<void(Recording&)> changes[] = {
        [](Recording& r) { r.gameVersion += "x"; },
        [](Recording& r) { r.seed ^= 1; },
        [](Recording& r) { r.gameType = 1; },
        [](Recording& r) { r.musicStream = 0; },
        [](Recording& r) { r.musicComposed = 0; },
        [](Recording& r) { r.fieldWidth = 854; },
        [](Recording& r) { r.fieldHeight = 481; },
        [](Recording& r) { r.startInput.keySteerX = 0.5f; },
        [](Recording& r) { r.startInput.keySteerY = 0.0f; },
        [](Recording& r) { r.startInput.dragX = 0; },
        [](Recording& r) { r.startInput.dragY = 0; },
        [](Recording& r) { r.startInput.mouseX = 0; },
        [](Recording& r) { r.startInput.mouseY = 0; },
        [](Recording& r) { r.startInput.mouseWasDown = 0; },
        [](Recording& r) { r.startInput.keyLatch = 0; },
        [](Recording& r) { r.startInput.clickUsed = 0; },
        [](Recording& r) { r.bullets[1].slot = 502; },
        [](Recording& r) { r.bullets[1].fields[9] = NanWithPayload(0x1235); },
        [](Recording& r) { r.bullets.pop_back(); },
        [](Recording& r) { r.inputs[2].keyboard = 1; },
        [](Recording& r) { r.inputs[2].joyButtons[3] = 0; },
        [](Recording& r) { r.inputs[2].joySticks[3] = 1; },
        [](Recording& r) { r.inputs[2].stickX = 1; },
        [](Recording& r) { r.inputs[2].stickY = 0.0f; },
        [](Recording& r) { r.inputs[2].mouseX = 40; },
        [](Recording& r) { r.inputs[2].mouseY = 0; },
        [](Recording& r) { r.inputs[2].mouseDown = 0; },
        [](Recording& r) { r.inputs[2].mouseHits = 0; },
        [](Recording& r) { r.inputs[2].touchDown = 1; },
        [](Recording& r) { r.inputs[2].touchX[9] = 0; },
        [](Recording& r) { r.inputs[2].touchY[0] = 0; },
        [](Recording& r) { r.inputs.push_back(Input()); },
        [](Recording& r) { r.events[0].update = 1; },
        [](Recording& r) { r.events[1].kind = Event::Resume; },
        [](Recording& r) { r.events[0].width = 1023; },
        [](Recording& r) { r.events[0].height = 767; },
        [](Recording& r) { r.events[3].seed = 0; },
        [](Recording& r) { r.events[5].code = 13; },
        [](Recording& r) { r.checkpoints[1].update = 5; },
        [](Recording& r) { r.checkpoints[1].score = 101; },
        [](Recording& r) { r.checkpoints[1].digest = 0; },
        [](Recording& r) { r.finalScore = 12; },
    };
    for (size_t i = 0; i < std::size(changes); ++i) {
        SCOPED_TRACE("change " + std::to_string(i));
        Recording changed = EveryField();
        changes[i](changed);
        EXPECT_FALSE(changed == original);
        const std::vector<uint8_t> changedBytes = replay::Encode(changed);
        Recording back;
        ASSERT_TRUE(replay::Decode(changedBytes.data(), changedBytes.size(), &back, &reason));
        EXPECT_TRUE(back == changed);
    }
}

TEST(ReplayFormat, DigestSeesEveryBit) {
    const float zero[] = {1, 0.0f}, negativeZero[] = {1, -0.0f};
    const float nan[] = {1, NanWithPayload(1)}, otherNan[] = {1, NanWithPayload(2)};
    const float swapped[] = {0.0f, 1};
    EXPECT_NE(replay::Digest(zero, 2), replay::Digest(negativeZero, 2));
    EXPECT_NE(replay::Digest(nan, 2), replay::Digest(otherNan, 2));
    EXPECT_NE(replay::Digest(zero, 2), replay::Digest(swapped, 2));
    EXPECT_EQ(replay::Digest(nan, 2), replay::Digest(nan, 2));
}

TEST(ReplayFormat, RefusesForeignFilesAndOtherVersions) {
    EXPECT_EQ(Refusal({}), "not a recording");
    EXPECT_EQ(Refusal({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 0}),
              "not a recording");
    EXPECT_EQ(Refusal({'Q', 'R', 'X'}), "truncated");

    std::vector<uint8_t> later = replay::Encode(EveryField());
    later[8] = 2;
    EXPECT_EQ(Refusal(later), "format version 2; this game reads version 1");
    later.resize(10);  // a later version may lay out the rest differently
    EXPECT_EQ(Refusal(later), "format version 2; this game reads version 1");
}

TEST(ReplayFormat, RefusesEveryChangedByteAndEveryCut) {
    const std::vector<uint8_t> bytes = replay::Encode(EveryField());
    for (size_t at = 0; at < bytes.size(); ++at) {
        for (uint8_t flip : {0x01, 0x80, 0xFF}) {
            std::vector<uint8_t> changed = bytes;
            changed[at] ^= flip;
            EXPECT_NE(Refusal(changed), "accepted") << "byte " << at << " ^ " << int(flip);
        }
    }
    for (size_t size = 1; size < bytes.size(); ++size) {
        const std::vector<uint8_t> prefix(bytes.begin(), bytes.begin() + size);
        EXPECT_EQ(Refusal(prefix), "truncated") << size << " bytes";
    }
    std::vector<uint8_t> longer = bytes;
    longer.push_back(0);
    EXPECT_EQ(Refusal(longer), "trailing bytes");
}

// Files whose size and checksum hold but whose contents break a rule: a writer's fault or an
// edited file, never to be played.
TEST(ReplayFormat, RefusesValuesOutOfBounds) {
    const std::vector<std::pair<std::function<void(Recording&)>, const char*>> faults = {
        {[](Recording& r) { r.gameType = 0; }, "bad game type"},
        {[](Recording& r) { r.gameType = 4; }, "bad game type"},
        {[](Recording& r) { r.musicComposed = 2; }, "bad music choice"},
        {[](Recording& r) { r.fieldWidth = 0; }, "bad field size"},
        {[](Recording& r) { r.fieldHeight = std::numeric_limits<float>::infinity(); },
         "bad field size"},
        {[](Recording& r) { r.startInput.keySteerX = NanWithPayload(0); }, "bad steering"},
        {[](Recording& r) { r.gameVersion.assign(256, 'v'); }, "bad game version"},
        {[](Recording& r) { r.bullets[0].slot = 500; }, "bad bullet slot"},
        {[](Recording& r) { r.bullets[0].slot = 601; }, "bad bullet slot"},
        {[](Recording& r) { r.bullets[0].slot = 501; }, "bad bullet slot"},  // twice
        {[](Recording& r) { r.bullets.resize(101); }, "too many bullets"},
        {[](Recording& r) { r.inputs[2].stickX = 1.001f; }, "bad input"},
        {[](Recording& r) { r.inputs[2].stickY = NanWithPayload(0); }, "bad input"},
        {[](Recording& r) { r.inputs[2].keyboard = 1 << replay::kActions; }, "bad input"},
        {[](Recording& r) { r.inputs[2].joySticks[1] = 16; }, "bad input"},
        {[](Recording& r) { r.inputs[2].mouseDown = 2; }, "bad input"},
        {[](Recording& r) { r.inputs[2].touchDown = 1 << replay::kTouches; }, "bad input"},
        {[](Recording& r) { r.events[2].update = 1; }, "events out of order"},
        {[](Recording& r) { r.events[4].update = 8; }, "event after the last update"},
        {[](Recording& r) { r.events[1].kind = Event::Kind(6); }, "bad event"},
        {[](Recording& r) { r.events[5].code = 256 + 32; }, "bad bound code"},
        {[](Recording& r) { r.events[0].width = -1; }, "bad field size"},
        {[](Recording& r) { r.checkpoints[1].update = 0; }, "checkpoints out of order"},
        {[](Recording& r) { r.checkpoints[2].update = 8; }, "checkpoint after the last update"},
    };
    for (const auto& [fault, reason] : faults) {
        Recording faulty = EveryField();
        fault(faulty);
        EXPECT_EQ(Refusal(replay::Encode(faulty)), reason);
    }

    // Three updates of no input: ... 03 (updates) 03 (run) 00 (changes) 00 00 00, checksum.
    Recording idle;
    idle.gameType = 1;
    idle.fieldWidth = idle.fieldHeight = 100;
    idle.inputs.resize(3);
    const std::vector<uint8_t> bytes = replay::Encode(idle);
    const size_t run = bytes.size() - 9;
    ASSERT_EQ(bytes[run - 1], 3);
    ASSERT_EQ(bytes[run], 3);
    const auto withBody = [&](size_t from, size_t to, std::vector<uint8_t> replacement) {
        std::vector<uint8_t> changed(bytes.begin(), bytes.begin() + from);
        changed.insert(changed.end(), replacement.begin(), replacement.end());
        changed.insert(changed.end(), bytes.begin() + to, bytes.end());
        Reseal(changed);
        return Refusal(changed);
    };
    EXPECT_EQ(withBody(run, run + 1, {0}), "bad run length");
    EXPECT_EQ(withBody(run, run + 1, {4}), "bad run length");
    EXPECT_EQ(withBody(run - 1, run, {0x81, 0xEB, 0x83, 0x01}), "too many updates");
    EXPECT_EQ(withBody(run + 1, run + 2, {0x80, 0x80, 0x08}), "bad input");
    const size_t score = bytes.size() - 5;
    EXPECT_EQ(withBody(score, score + 1, {0x80, 0x00}), "bad number");
    EXPECT_EQ(withBody(score, score + 1, {0xFF, 0xFF, 0xFF, 0xFF, 0x10}), "bad number");
    EXPECT_EQ(withBody(score, score + 1, {0x80, 0x80, 0x80, 0x80, 0x80, 0x00}), "bad number");
    EXPECT_EQ(withBody(score, score + 1, {}), "truncated");
    EXPECT_EQ(withBody(score, score + 1, {0, 0}), "trailing bytes");
    // Four billion checkpoints announced: refused before any room is made for them.
    EXPECT_EQ(withBody(score - 1, score, {0xFF, 0xFF, 0xFF, 0xFF, 0x0F}), "truncated");
}

// Ten minutes of play, input changing every few updates as it does in a game.
TEST(ReplayFormat, TenMinuteGameEncodesWellUnder64Kilobytes) {
    Recording game;
    game.gameType = 2;
    game.fieldWidth = 800;
    game.fieldHeight = 600;
    game.inputs = PlayedInputs(36000);
    const std::vector<uint8_t> bytes = replay::Encode(game);
    EXPECT_LT(bytes.size(), 64u * 1024 / 2);  // about 20 KB as this stream falls
    Recording decoded;
    std::string reason;
    ASSERT_TRUE(replay::Decode(bytes.data(), bytes.size(), &decoded, &reason)) << reason;
    EXPECT_TRUE(decoded == game);
}

}  // namespace
