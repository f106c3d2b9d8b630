// A tune picture decoded and played by the music player. The input is the decoded picture, as
// the host hands it to the graphics device: width, height and bytes per pixel in a short
// header, then pixels, repeated to fill the picture (a tune needs 64 frames of 64 x 64, far
// more than a fuzz input holds). The player loads it step by step, as its render hook does,
// then plays a few sections' worth of rows from the decoded notes.
//
// Header: width - 1 and height - 1 (16 bits each, little-endian, modulo 4608), bytes per pixel
// - 1 (modulo 4), the tune's seed (16 bits, signed) and its tempo (0 to 255).
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "devices/audio.h"
#include "devices/graphics.h"
#include "fakes/fake_al.h"
#include "fakes/fake_gl.h"
#include "fakes/fake_glfw.h"
#include "framework/app.h"
#include "framework/audio.h"
#include "framework/graphics.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_targets.h"
#include "host/glfw_game.h"
#include "music/zu_player.h"

namespace {

const size_t kHeaderBytes = 8;
const int kLargestSide = 4608;                      // 72 frames
const size_t kMostPictureBytes = 1536 * 1024;  // room for every layout of 64 RGBA frames
// More rows than the longest section (four passes of 64), so new sections pick new chunks.
const int kRowsPlayed = 320;
const int kMostNoteValue = 31;  // 8-bit blue >> 3

struct Picture {
    int width = 0;
    int height = 0;
    int depth = 0;
    std::vector<unsigned char> pixels;
};

// Serves the one picture for whatever image is asked for, exactly as stb_image would hand it
// over: a block from the C allocator that the surface adopts.
class PictureHost : public KxGlfwGame {
public:
    const Picture* picture = nullptr;

    unsigned char* LoadImageData(String path, int* width, int* height, int* depth) override {
        (void)path;
        if (!picture) return nullptr;
        unsigned char* copy = static_cast<unsigned char*>(std::malloc(picture->pixels.size()));
        std::memcpy(copy, picture->pixels.data(), picture->pixels.size());
        *width = picture->width;
        *height = picture->height;
        *depth = picture->depth;
        return copy;
    }
};

// Every instrument file loads; what the sequencer asks of the channels goes nowhere.
class SilentAudio : public KxAudio {
public:
    KxSample* LoadSample(String path) override {
        (void)path;
        return new KxSample;
    }
    int PlaySample(KxSample*, int, int) override { return 0; }
    int StopChannel(int) override { return 0; }
    int SetVolume(int, float) override { return 0; }
    int SetPan(int, float) override { return 0; }
    int SetRate(int, float) override { return 0; }
};

int Le16(const uint8_t* p) { return p[0] | p[1] << 8; }

// False when the header asks for a picture beyond the bounds a fuzz run can afford.
bool ReadPicture(const uint8_t* data, size_t size, Picture& picture) {
    picture.width = 1 + Le16(data) % kLargestSide;
    picture.height = 1 + Le16(data + 2) % kLargestSide;
    picture.depth = 1 + data[4] % 4;
    const size_t bytes = size_t(picture.width) * size_t(picture.height) * size_t(picture.depth);
    if (bytes > kMostPictureBytes) return false;
    picture.pixels.assign(bytes, 0);
    // The pixels repeat the input: copy it once, then double what is filled.
    const size_t fillSize = std::min(size - kHeaderBytes, bytes);
    if (fillSize == 0) return true;
    unsigned char* out = picture.pixels.data();
    std::memcpy(out, data + kHeaderBytes, fillSize);
    for (size_t filled = fillSize; filled < bytes; filled *= 2) {
        std::memcpy(out + filled, out, std::min(filled, bytes - filled));
    }
    return true;
}

// One pass over the whole note table (an OR of all values, which the compiler vectorises, so
// the coverage tracing of the loop costs little).
void CheckNotes(const c_ZuPlayer* player) {
    const int* notes = player->m_notes.Data();
    const int count = player->m_notes.Length();
    unsigned bits = 0;
    for (int i = 0; i < count; ++i) bits |= static_cast<unsigned>(notes[i]);
    fuzz::Check((bits & ~unsigned(kMostNoteValue)) == 0, "a note value is blue >> 3");
    fuzz::Check(player->m_tuneImage || bits == 0, "a tune that did not load is silence");
    for (int g = 0; g < c_ZuPlayer::Slots; ++g) {
        fuzz::Check(player->m_lastChunk[g] >= 0 && player->m_lastChunk[g] < c_ZuPlayer::Chunks - 1,
                    "the last chunk of a voice is one of the decoded chunks");
    }
}

void CheckPlayback(const c_ZuPlayer* player) {
    fuzz::Check(player->m_row >= 0 && player->m_row < c_ZuPlayer::Rows, "the row is in a chunk");
    for (int v = 0; v < player->m_voiceCount; ++v) {
        fuzz::Check(player->m_chunk[v] >= 0 && player->m_chunk[v] < c_ZuPlayer::Chunks,
                    "every voice plays one of the chunks");
    }
}

}  // namespace

int FuzzTuneImage(const uint8_t* data, size_t size) {
    fuzz::NoteAccepted(false);
    Picture picture;
    if (size < kHeaderBytes || !ReadPicture(data, size, picture)) return 0;
    const int seed = static_cast<int16_t>(Le16(data + 5));
    const int tempo = data[7];

    static PictureHost host;
    host.picture = &picture;
    KxGame::_game = &host;
    kx_app__game = &host;
    fake_glfw::Reset();
    fake_gl::Reset();
    fake_gl::SetRecording(false);
    fake_al::Reset();
    kx_graphics_SetGraphicsDevice(new KxGraphics);
    kx_audio_SetAudioDevice(new SilentAudio);
    c_ZuPlayer* player = (new c_ZuPlayer)->m_new();
    player->p_Zu_Init(32, 4, 3, 3, 4);  // the game's channels and instrument variants

    player->p_Zu_StartTune(String("fuzz"), seed, tempo);
    while (player->m_tuneLoadStep > 0) player->p_Zu_LoadChunk();
    fuzz::NoteAccepted(player->m_tuneImage != nullptr);
    CheckNotes(player);

    for (int row = 0; row < kRowsPlayed; ++row) {
        fake_glfw::SetTime((player->m_nextTime + 1) / 1000.0);
        player->p_Zu_Alive_U(0, 1);
        CheckPlayback(player);
    }

    kx_graphics_device = nullptr;
    kx_audio_device = nullptr;
    kx_app__game = nullptr;
    KxGame::_game = nullptr;
    host.picture = nullptr;
    fuzz::ReleaseAllObjects();
    return 0;
}

#ifdef QUARROX_FUZZ_ENTRY
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzTuneImage(data, size);
}
#endif
