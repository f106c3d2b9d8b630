// Everything kept between runs is one text of decimal numbers, each followed by "|": the
// option values, the badge flags packed into eight words, and the Top and Last lists of the
// three game types. Each block ends with its checksum, so a damaged or hand-edited block is
// reset on its own while the others still load.
#include <cstdint>
#include <string>

#include "framework/app.h"
#include "game/my_app.h"
#include "runtime/print.h"

namespace {

const int BadgeWords = 8;
const int BitsPerWord = 32;
const int ListLength = c_MyApp::ListLength;
const int ListBlockPieces = 2 * ListLength;  // Top[r] and Last[r], alternating
const int SettingsPieces = c_MyApp::SettingCount + 1;
// The on-screen pad's position and size.
const int PadXSetting = 10;
const int PadYSetting = 11;
const int PadSizeSetting = 12;
const int MinPadPosition = 64;
const int MinPadSize = 8;
const int DefaultPadSize = 10;

// Checksums are 32-bit sums that wrap on overflow, computed without signed overflow.
int32_t WrapAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
int32_t WrapMul(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

int32_t SettingsChecksum(const Array<int>& settings) {
    int32_t sum = 0;
    for (int i = 0; i < c_MyApp::SettingCount; ++i) sum = WrapAdd(sum, WrapMul(i, settings[i]));
    return sum;
}

// Bit k of word j is badge 32j + k; a word with bit 31 set is negative.
int32_t BadgeWord(const Array<bool>& badges, int j) {
    uint32_t word = 0;
    for (int k = 0; k < BitsPerWord; ++k) {
        if (badges[BitsPerWord * j + k]) word |= uint32_t(1) << k;
    }
    return static_cast<int32_t>(word);
}

int TopIndex(int t, int r) { return ListLength * t + r; }
int LastIndex(int t, int r) { return c_MyApp::LastListsStart + ListLength * t + r; }

int32_t ListChecksum(const Array<int>& scores, int t) {
    int32_t sum = 0;
    for (int r = 0; r < ListLength; ++r) {
        sum = WrapAdd(sum, WrapMul(r + 4, scores[TopIndex(t, r)]));
        sum = WrapAdd(sum, WrapMul(t + r + 3, scores[LastIndex(t, r)]));
    }
    return sum;
}

void Append(std::string& text, int value) {
    text += std::to_string(value);
    text += '|';
}

// The options' defaults: everything 0, sound on (effects and music).
void ResetSettings(Array<int>& settings) {
    for (int i = 0; i < c_MyApp::SettingCount; ++i) settings[i] = 0;
    settings[c_MyApp::SoundModeSetting] = 1;
}

}  // namespace

int c_MyApp::p_Save() {
    // A played game's options and scores are not the player's.
    if (p_Playing()) return 0;
    std::string text;
    for (int i = 0; i < SettingCount; ++i) Append(text, m_settings[i]);
    Append(text, SettingsChecksum(m_settings));

    int32_t badgeSum = 0;
    for (int j = 0; j < BadgeWords; ++j) {
        int32_t word = BadgeWord(m_badges, j);
        Append(text, word);
        badgeSum = WrapAdd(badgeSum, word);
    }
    Append(text, badgeSum);

    for (int t = 0; t < GameTypes; ++t) {
        for (int r = 0; r < ListLength; ++r) {
            Append(text, m_scores[TopIndex(t, r)]);
            Append(text, m_scores[LastIndex(t, r)]);
        }
        Append(text, ListChecksum(m_scores, t));
    }

    String state(text.c_str());
    if (kx_Sprocklet_DebugMode == 1) kxPrint(state);
    // A save that fails is reported by the host on standard error; the game plays on with
    // what it holds, and the next save tries again.
    kx_app_SaveState(state);
    return 0;
}

int c_MyApp::p_Load() {
    String state = kx_app_LoadState();
    if (kx_Sprocklet_DebugMode == 1) kxPrint(state);
    // Each piece reads as any text read as a number does (ToInt: atoi's rules on at most 63
    // characters, saturating beyond 32 bits), so junk reads as 0 and breaks its checksum.
    Array<String> pieces = state.Split(String("|"));
    int count = pieces.Length();
    int p = 0;

    if (count >= SettingsPieces) {
        for (int i = 0; i < SettingCount; ++i) m_settings[i] = pieces[i].ToInt();
        p = SettingsPieces;
        if (SettingsChecksum(m_settings) == pieces[SettingCount].ToInt()) {
            kxPrint(String("Settings Loaded"));
        } else {
            kxPrint(String("Settings Checksum Invalid"));
            ResetSettings(m_settings);
        }
    }

    // The on-screen pad needs a usable position and size, and the overscan margin is only
    // honoured on the console that asks for one.
    if (m_settings[PadXSetting] < MinPadPosition) m_settings[PadXSetting] = MinPadPosition;
    if (m_settings[PadYSetting] < MinPadPosition) m_settings[PadYSetting] = MinPadPosition;
    if (m_settings[PadSizeSetting] < MinPadSize) m_settings[PadSizeSetting] = DefaultPadSize;
    if (m_settings[OverscanSetting] < 1) m_settings[OverscanSetting] = DefaultConsoleOverscan;
    if (kx_Sprocklet_isOuya == 1) {
        kx_Sprocklet_overscan = static_cast<float>(m_settings[OverscanSetting]);
    } else {
        m_settings[OverscanSetting] = 1;
        kx_Sprocklet_overscan = 0;
    }

    if (p + BadgeWords < count) {
        int32_t sum = 0;
        for (int j = 0; j < BadgeWords; ++j) {
            uint32_t word = static_cast<uint32_t>(pieces[p + j].ToInt());
            for (int k = 0; k < BitsPerWord; ++k) {
                m_badges[BitsPerWord * j + k] = ((word >> k) & 1) != 0;
            }
            sum = WrapAdd(sum, static_cast<int32_t>(word));
        }
        int32_t checksum = pieces[p + BadgeWords].ToInt();
        p += BadgeWords + 1;
        if (sum == checksum) {
            kxPrint(String("Badges Loaded"));
        } else {
            kxPrint(String("Badge Checksum Invalid"));
            for (int i = 0; i < BadgeCount; ++i) m_badges[i] = false;
        }
    }

    // A list block that is cut short stops the reading: the blocks after it are not there.
    for (int t = 0; t < GameTypes && p + ListBlockPieces < count; ++t) {
        for (int r = 0; r < ListLength; ++r) {
            m_scores[TopIndex(t, r)] = pieces[p + 2 * r].ToInt();
            m_scores[LastIndex(t, r)] = pieces[p + 2 * r + 1].ToInt();
        }
        int32_t checksum = pieces[p + ListBlockPieces].ToInt();
        p += ListBlockPieces + 1;
        String name = String("Highscore ") + String(t);
        if (ListChecksum(m_scores, t) == checksum) {
            kxPrint(name + String(" Loaded"));
        } else {
            kxPrint(name + String(" Checksum Invalid"));
            for (int r = 0; r < ListLength; ++r) {
                m_scores[TopIndex(t, r)] = 0;
                m_scores[LastIndex(t, r)] = 0;
            }
        }
    }
    return 0;
}

int c_MyApp::p_LoadMenu() {
    // Only the three game types have lists; any other value would write into another list.
    int t = m_gameType - 1;
    if (t >= 0 && t < GameTypes) {
        int s = m_score;
        int rank = 0;
        while (rank < ListLength && m_scores[TopIndex(t, rank)] >= s) ++rank;
        if (rank < ListLength) {
            for (int r = ListLength - 1; r > rank; --r) {
                m_scores[TopIndex(t, r)] = m_scores[TopIndex(t, r - 1)];
            }
            m_scores[TopIndex(t, rank)] = s;
        }
        for (int r = ListLength - 1; r > 0; --r) {
            m_scores[LastIndex(t, r)] = m_scores[LastIndex(t, r - 1)];
        }
        m_scores[LastIndex(t, 0)] = s;
    }
    p_Save();
    return 0;
}
