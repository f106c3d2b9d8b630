// The player object, its random choices and the start of a tune.
#include "music/zu_player.h"

#include <cmath>

#include "framework/app.h"
#include "framework/random.h"

namespace {

const int kSteps = 11;          // generator steps discarded after reseeding for choices
const int kStartDelay = 100;    // milliseconds from the start to the first row
const char* const kFirstChords = "qqjj";

}  // namespace

c_ZuPlayer* c_ZuPlayer::m_new() { return this; }

void c_ZuPlayer::mark() {
    gc_mark_q(m_variantCount);
    gc_mark_q(m_variant);
    gc_mark_q(m_kitA);
    gc_mark_q(m_kitB);
    gc_mark_q(m_instSound);
    gc_mark_q(m_tuneImage);
    gc_mark_q(m_notes);
    gc_mark_q(m_lastChunk);
    gc_mark_q(m_channel);
    gc_mark_q(m_sounding);
    gc_mark_q(m_chunk);
    gc_mark_q(m_muted);
    gc_mark_q(m_leadIn);
    gc_mark_q(m_nextMuted);
    gc_mark_q(m_rate);
    gc_mark_q(m_envelope);
    gc_mark_q(m_voiceVolume);
}

int c_ZuPlayer::p_Zu_Init(int chanBase, int kits, int leads, int accompaniments, int basses) {
    m_chanBase = chanBase;
    m_variantCount[1] = kits;
    m_variantCount[2] = leads;
    m_variantCount[3] = accompaniments;
    m_variantCount[4] = basses;
    return 0;
}

int c_ZuPlayer::p_Reseed(int seed, int steps) {
    kx_random_Seed = static_cast<uint32_t>(seed);
    for (int i = 0; i < steps; ++i) kx_random_Rnd();
    return 0;
}

int c_ZuPlayer::p_Rand(float lo, float hi) {
    const float rnd = kx_random_Rnd();
    return static_cast<int>(std::floor(rnd * ((hi + 0.99f) - lo) + lo));
}

int c_ZuPlayer::p_Zu_StartTune(String name, int seed, int tempo) {
    const String path = String("tunes/") + name + String(".png");
    m_section = 0;
    m_tuneSeed = seed;
    m_row = 0;
    m_state = StatePlaying;
    m_nextTime = kx_app_Millisecs() + kStartDelay;
    // A row lasts 8000 / tempo milliseconds: a tempo below 1 would make it endless.
    m_tempo = tempo > 0 ? tempo : 1;

    // The same tune again keeps everything loaded; another one loads from the first step, and
    // every voice starts on its first chunk.
    if (path != m_tunePath) {
        m_tuneLoadStep = 1;
        m_tunePath = path;
        for (int v = 0; v < m_voiceCount; ++v) {
            m_lastChunk[v] = 0;
            m_chunk[v] = 0;
        }
    }
    for (int v = 0; v < m_voiceCount; ++v) m_channel[v] = m_chanBase - 1 - v;

    p_Reseed(m_tuneSeed + m_section, kSteps);
    m_variant[1] = p_Rand(1, m_variantCount[1]);
    m_variant[2] = p_Rand(1, m_variantCount[1]);
    m_variant[3] = p_Rand(1, m_variantCount[2]);
    m_variant[4] = p_Rand(1, m_variantCount[3]);
    m_variant[5] = p_Rand(1, m_variantCount[4]);

    for (int v = 0; v < m_voiceCount; ++v) {
        p_Reseed(m_section * 9 + m_tuneSeed + 7 * v, kSteps);
        m_chunk[v] = p_Rand(0, m_lastChunk[v]);
        m_nextMuted[v] = p_Rand(0, 1);
        m_leadIn[v] = p_Rand(0, 1);
        m_muted[v] = p_Rand(0, 1);
    }
    // At least drum kit A plays.
    if (m_muted[0] == 1 && m_muted[1] == 1) m_muted[0] = 0;
    m_passesLeft = 2 * p_Rand(1, 2);
    m_chords = String(kFirstChords);
    return 0;
}

int c_ZuPlayer::p_Zu_Stop(int halt) {
    p_StopVoices();
    if (halt == 1) m_state = StateStopped;
    return 0;
}

int c_ZuPlayer::p_StopVoices() {
    for (int v = 0; v < m_voiceCount; ++v) {
        if (m_channel[v] > 0 && m_sounding[v] == 1) {
            kx_audio_StopChannel(m_channel[v]);
            m_sounding[v] = 0;
        }
    }
    return 0;
}
