#include "assetgen/tune_files.h"

#include "assetgen/background_tune.h"
#include "assetgen/ogg_writer.h"
#include "assetgen/wav_writer.h"

void WriteBackgroundTune(const std::string& dataFolder) {
    WriteBytes(dataFolder + "/" + kBackgroundTuneFile,
               EncodeOggVorbis(ComposeBackgroundTune(), kBackgroundTuneQuality));
}
