// Loading a tune a few steps per rendered frame, so the game keeps drawing meanwhile: the
// instrument samples of the chosen variants, the tune image, and one chunk of notes per step,
// read from the blue channel of the image's pixels.
#include <algorithm>

#include "devices/graphics.h"
#include "devices/surface.h"
#include "framework/app.h"
#include "framework/data.h"
#include "framework/graphics.h"
#include "music/zu_player.h"

namespace {

const int kStepsPerFrame = 3;
const int kFrameSide = 64;
const int kVoicesInImage = 8;
const int kDecodedChunks = 63;  // the last frame is loaded with the image but never read
const int kFirstChunkStep = 5;
const int kLoadDelay = 100;  // the first row comes this long after the last loading step

// Steps that load one instrument sample.
const int kKitAFirst = 2, kKitALast = 9;
const int kKitBFirst = 12, kKitBLast = 19;
const int kLeadStep = 21, kAccompanimentStep = 22, kBassStep = 23;
const int kLead = 2, kAccompaniment = 3, kBass = 4;

// Where a pixel's blue lies: the third byte of RGB and RGBA pixels; a grey picture draws
// its grey into every channel.
int BlueOffset(int depth) { return depth >= 3 ? 2 : 0; }

}  // namespace

int c_ZuPlayer::p_Zu_Alive_R() {
    for (int i = 0; i < kStepsPerFrame; ++i) {
        if (m_tuneLoadStep > 0) p_Zu_LoadChunk();
    }
    kx_graphics_Cls(0, 0, 0);
    return 0;
}

int c_ZuPlayer::p_Zu_LoadChunk() {
    const int s = m_tuneLoadStep;
    p_LoadSample(s);
    if (s == 1) p_LoadTuneImage();
    if (m_tuneImage && s >= kFirstChunkStep && s < kFirstChunkStep + kDecodedChunks) {
        p_DecodeChunk(s - kFirstChunkStep);
    }
    m_tuneLoadStep = s + 1;
    m_nextTime = kx_app_Millisecs() + kLoadDelay;
    if (m_tuneLoadStep > LoadSteps) m_tuneLoadStep = 0;
    return 0;
}

int c_ZuPlayer::p_LoadSample(int step) {
    if (step >= kKitAFirst && step <= kKitALast) {
        const int n = step - kKitAFirst + 1;
        gc_assign(m_kitA[n], kx_audio_LoadSound(String("inst/d") + String(m_variant[1]) +
                                                String("-") + String(n) + String(".wav")));
    } else if (step >= kKitBFirst && step <= kKitBLast) {
        const int n = step - kKitBFirst + 1;
        gc_assign(m_kitB[n], kx_audio_LoadSound(String("inst/d") + String(m_variant[2]) +
                                                String("-") + String(n) + String(".wav")));
    } else if (step == kLeadStep) {
        gc_assign(m_instSound[kLead],
                  kx_audio_LoadSound(String("inst/lead") + String(m_variant[3]) + String(".wav")));
    } else if (step == kAccompanimentStep) {
        gc_assign(m_instSound[kAccompaniment],
                  kx_audio_LoadSound(String("inst/accompany") + String(m_variant[4]) +
                                     String(".wav")));
    } else if (step == kBassStep) {
        gc_assign(m_instSound[kBass],
                  kx_audio_LoadSound(String("inst/bass") + String(m_variant[5]) + String(".wav")));
    }
    return 0;
}

// The previous tune's notes go first, so a tune that does not load plays silence rather than
// what was there. An image without room for 64 frames is no tune either: it plays silence
// instead of ending the program.
int c_ZuPlayer::p_LoadTuneImage() {
    std::fill(m_notes.Data(), m_notes.Data() + m_notes.Length(), 0);
    for (int v = 0; v < Slots; ++v) m_lastChunk[v] = 0;
    gc_assign(m_tuneImage, static_cast<c_Image*>(nullptr));

    KxSurface* surface = kx_graphics_device->LoadSurface(kx_data_FixDataPath(m_tunePath));
    if (!surface) return 0;
    const int width = surface->Width();
    const int height = surface->Height();
    if ((width / kFrameSide) * (height / kFrameSide) < Chunks) return 0;
    gc_assign(m_tuneImage, (new c_Image)->m_new()->p_Init2(surface, 0, 0, kFrameSide, kFrameSide,
                                                          Chunks, c_Image::MidHandle, nullptr,
                                                          0, 0, width, height));
    return 0;
}

// Pixel (8g + k, y) of a frame holds value k of row y of voice g, as its blue >> 3. Colours
// are premultiplied, so a transparent pixel reads 0, exactly as when the frame is drawn over
// black.
int c_ZuPlayer::p_DecodeChunk(int chunk) {
    const KxSurface* surface = m_tuneImage->m_surface;
    const c_Frame* frame = m_tuneImage->m_frames[chunk];
    if (!surface->data) return 0;
    const int depth = surface->depth;
    const int blue = BlueOffset(depth);
    int* notes = m_notes.Data() + chunk * ChunkValues;
    for (int y = 0; y < Rows; ++y) {
        const unsigned char* row =
            surface->data + (static_cast<size_t>(frame->m_y + y) * surface->width + frame->m_x) *
                                depth;
        for (int g = 0; g < kVoicesInImage; ++g) {
            for (int k = 0; k < RowValues; ++k) {
                const int value = row[(g * RowValues + k) * depth + blue] >> 3;
                notes[g * VoiceValues + y * RowValues + k] = value;
                if (value != 0) m_lastChunk[g] = chunk;
            }
        }
    }
    return 0;
}
