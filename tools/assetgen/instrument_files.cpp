#include <string>

#include "assetgen/instruments.h"
#include "assetgen/wav_writer.h"

void WriteInstruments(const std::string& dataFolder) {
    const std::string inst = dataFolder + "/inst/";
    for (int kit = 1; kit <= kDrumKits; ++kit)
        for (int sound = kKick; sound <= kCrash; ++sound)
            WriteWav16(inst + "d" + std::to_string(kit) + "-" + std::to_string(sound) + ".wav",
                       MakeDrum(kit, sound));
    for (int v = 1; v <= kLeads; ++v)
        WriteWav16(inst + "lead" + std::to_string(v) + ".wav", MakeLead(v));
    for (int v = 1; v <= kAccompaniments; ++v)
        WriteWav16(inst + "accompany" + std::to_string(v) + ".wav", MakeAccompaniment(v));
    for (int v = 1; v <= kBasses; ++v)
        WriteWav16(inst + "bass" + std::to_string(v) + ".wav", MakeBass(v));
}
