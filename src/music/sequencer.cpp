// Playing a tune: once per update, when a row is due, one row of every voice: drum hits on two
// kits, looping melodic samples retuned through the channel rate, per-row volumes with a short
// decay, pitch slides, and markers that end a pattern early or move a voice to a neighbouring
// chunk. Every pass of 64 rows moves to the next chord letter; every two or four passes a new
// section gives every voice a new chunk and a new mute state.
#include <algorithm>

#include "framework/app.h"
#include "music/zu_player.h"

namespace {

const int kPauseResumeDelay = 150;  // the next row comes this long after a pause ends
const int kFarFuture = 123456;      // a schedule this far ahead counts as due
const int kRowMilliseconds = 8000;  // divided by the tempo
const int kSteps = 11;              // generator steps discarded after reseeding for choices
const int kPassSteps = 16;          // ... and for the chord of a new pass

const int kEffectEndPattern = 8;
const int kEffectChunkSwitch = 27;
const int kEffectSlideUp = 1, kEffectSlideDown = 2, kEffectFastUp = 3, kEffectFastDown = 4;
const float kSlowSlide = 180, kFastSlide = 15;
const float kHighestRate = 4, kLowestRate = 0.25f;

const int kDrumVoices = 2;
const float kDrumPan = 0.35f;
const float kDrumEnvelope = 4;
const float kNoteEnvelope = 1.5f;
const double kDecayPerRow = 0.1;
const int kLeadInRows = 56;  // a voice may enter from this row of the section's last pass
const int kLoudest = 30;     // volume values 1 .. 30; 31 silences

// The drum sample that a note hits, 1 to 8, or 0 for a note that only stops the channel.
int DrumSample(int note) {
    static const int kDrumNotes[] = {13, 15, 17, 18, 20, 22, 24, 25};
    for (int n = 0; n < 8; ++n) {
        if (kDrumNotes[n] == note) return n + 1;
    }
    return 0;
}

// Rates of notes 1 to 32: equal-tempered semitones, note 13 the sample's own pitch.
const float kPitches[] = {0.5f,   0.5295f, 0.561f, 0.5945f, 0.63f,  0.6675f, 0.707f, 0.749f,
                          0.7935f, 0.841f, 0.891f, 0.944f,  1.0f,   1.059f,  1.122f, 1.189f,
                          1.26f,  1.335f,  1.414f, 1.498f,  1.587f, 1.682f,  1.782f, 1.888f,
                          2.0f,   2.118f,  2.244f, 2.378f,  2.52f,  2.67f,   2.828f, 2.996f};
// The letter of each note: two rows of a computer keyboard laid out as a piano.
const char kPitchLetters[] = "zsxdcvgbhnjmq2w3er5t6y7ui9o0p[=]";

}  // namespace

float c_ZuPlayer::p_GetPitch(int n) {
    if (n < 1 || n > 32) return 0;
    return kPitches[n - 1];
}

float c_ZuPlayer::p_GetPitch_Alpha(int c) {
    for (int n = 1; n <= 32; ++n) {
        if (kPitchLetters[n - 1] == c) return p_GetPitch(n);
    }
    return 0;
}

String c_ZuPlayer::p_Zu_GetChord(int n) {
    static const char* const kGroups[] = {"qqqq", "qqjj", "qqbb", "qbqb", "qqqj", "qqzz"};
    if (n < 0 || n > 5) return String("qqjj");
    return String(kGroups[n]);
}

int c_ZuPlayer::p_Zu_Alive_U(int paused, int musicOn) {
    if (m_state == StateStopped) p_StopVoices();
    if (m_state == StatePlaying && paused == 0 && m_tuneLoadStep == 0 && musicOn == 1) {
        p_Zu_MusicPlay();
        return 0;
    }
    if (paused == 1) m_nextTime = kx_app_Millisecs() + kPauseResumeDelay;
    if (m_state == StatePlaying && (paused == 1 || musicOn == 0)) p_StopVoices();
    return 0;
}

int c_ZuPlayer::p_Zu_MusicPlay() {
    const int now = kx_app_Millisecs();
    if (!(m_nextTime < now || m_nextTime > now + kFarFuture)) return 0;

    for (int v = 0; v < m_voiceCount; ++v) {
        int chunk = m_chunk[v];
        int at = chunk * ChunkValues + v * VoiceValues + m_row * RowValues;
        if (m_notes[at + 2] == kEffectChunkSwitch) {
            const int parameter = m_notes[at + 3];
            // A switch that would leave the decoded chunks is ignored.
            if (parameter == 1 && m_passesLeft % 2 == 1 && chunk + 1 < Chunks) ++chunk;
            if (parameter == 2 && m_passesLeft % 2 == 0 && chunk - 1 >= 0) --chunk;
            m_chunk[v] = chunk;
            at = chunk * ChunkValues + v * VoiceValues + m_row * RowValues;
        }
        p_Zu_PlayNote(v, m_notes[at], m_notes[at + 1], m_notes[at + 2], m_notes[at + 3]);
        if (m_notes[at + 2] == kEffectEndPattern) m_row = Rows - 1;
    }

    // The schedule runs from the previous due time, so update jitter never drifts the tempo.
    m_nextTime += static_cast<int>((1.0f / m_tempo) * kRowMilliseconds);
    m_row = (m_row + 1) % Rows;
    if (m_row == 0) p_EndOfPass();
    return 0;
}

int c_ZuPlayer::p_EndOfPass() {
    p_Reseed(m_section * 9 + m_tuneSeed, kPassSteps);
    // The last letter has served its pass: a new group of four, of which the next pass takes
    // the first.
    if (m_chords.Length() == 1) m_chords = String(" ") + p_Zu_GetChord(p_Rand(0, 4));
    if (m_chords.Length() > 1) m_chords = m_chords.Slice(1);
    --m_passesLeft;
    if (m_passesLeft > 0) return 0;
    return p_NewSection();
}

int c_ZuPlayer::p_NewSection() {
    p_Reseed(m_section * 9 + m_tuneSeed, kSteps);
    m_passesLeft = 2 * p_Rand(1, 2);
    ++m_section;
    for (int v = 0; v < m_voiceCount; ++v) {
        p_Reseed(7 * v + m_section * 9 + m_tuneSeed, kSteps);
        m_chunk[v] = p_Rand(0, m_lastChunk[v]);
        m_muted[v] = m_nextMuted[v];
        m_nextMuted[v] = p_Rand(0, 1);
        m_leadIn[v] = p_Rand(0, 1);
    }
    // At least drum kit A plays.
    if (m_muted[0] == 1 && m_muted[1] == 1) m_muted[0] = 0;
    return 0;
}

int c_ZuPlayer::p_Zu_PlayNote(int voice, int note, int volume, int effect, int parameter) {
    const int v = voice;
    // A voice that plays in the next section may come in over the last rows of this one.
    int mute = m_muted[v];
    if (m_passesLeft <= 1 && m_row >= kLeadInRows && m_leadIn[v] == 1 && m_nextMuted[v] == 0) {
        mute = 0;
    }
    m_chordPitch = m_chords.Length() > 0 ? p_GetPitch_Alpha(m_chords[0]) : 1.0f;
    for (int j = 0; j < m_voiceCount; ++j) m_channel[j] = m_chanBase - 1 - j;
    const int ch = m_channel[v];
    const bool playing = mute == 0 && ch > 0;

    // A drum hit; the channel keeps the rate an earlier slide left on it.
    if (v < kDrumVoices && note > 0 && playing) {
        kx_audio_StopChannel(ch);
        const int n = DrumSample(note);
        c_Sound* sample = n > 0 ? (v == 0 ? m_kitA[n] : m_kitB[n]) : nullptr;
        if (sample) {
            m_sounding[v] = 1;
            kx_audio_PlaySound(sample, ch, 0);
            kx_audio_SetChannelPan(ch, v == 0 ? -kDrumPan : kDrumPan);
        }
        m_rate[v] = 1.0f;
        m_envelope[v] = kDrumEnvelope;
    }

    // Volume: 1 to 30 set it, 31 silences, 0 keeps what the voice had.
    float vol = (volume - 1) / static_cast<float>(kLoudest - 1);
    if (vol > 1) {
        m_envelope[v] = 0;
        vol = 0;
    } else if (vol < 0) {
        vol = 0;
    }
    float x;
    if (volume > 0 && playing) {
        m_envelope[v] = kNoteEnvelope;
        kx_audio_SetChannelVolume(ch, vol * m_volume);
        m_voiceVolume[v] = vol;
        x = vol;
    } else {
        x = m_voiceVolume[v];
    }

    // Decay: once the envelope is below 1 every row scales the volume by it, so the fade
    // compounds from row to row.
    const double difference = m_envelope[v] - kDecayPerRow;
    float e = static_cast<float>(difference);
    if (difference < 0) e = 0;
    m_envelope[v] = e;
    if (difference < 1) {
        const float y = x * e;
        if (ch > 0) {
            kx_audio_SetChannelVolume(ch, y * m_volume);
            m_voiceVolume[v] = y;
        }
    }

    // A melodic note restarts the voice's looping sample at the note's pitch in this chord.
    if (v >= kDrumVoices && note > 0 && playing) {
        kx_audio_StopChannel(ch);
        const float rate = p_GetPitch(note) * m_chordPitch;
        m_rate[v] = rate;
        m_envelope[v] = kNoteEnvelope;
        kx_audio_SetChannelRate(ch, rate);
        if (m_instSound[v]) {
            m_sounding[v] = 1;
            kx_audio_PlaySound(m_instSound[v], ch, m_instFlags);
        }
    }

    if (!playing) return 0;
    // Slides accumulate from row to row until the next note.
    float rate;
    switch (effect) {
    case kEffectSlideUp: rate = std::min(m_rate[v] + parameter / kSlowSlide, kHighestRate); break;
    case kEffectSlideDown: rate = std::max(m_rate[v] - parameter / kSlowSlide, kLowestRate); break;
    case kEffectFastUp: rate = std::min(m_rate[v] + parameter / kFastSlide, kHighestRate); break;
    case kEffectFastDown: rate = std::max(m_rate[v] - parameter / kFastSlide, kLowestRate); break;
    default: return 0;
    }
    m_rate[v] = rate;
    kx_audio_SetChannelRate(ch, rate);
    return 0;
}
