#include "assetgen/data_folder.h"

#include "assetgen/app_icon.h"
#include "assetgen/image_files.h"
#include "assetgen/instruments.h"
#include "assetgen/sound_effects.h"
#include "assetgen/tune_files.h"
#include "assetgen/tune_image.h"

void WriteDataFolder(const std::string& folder) {
    WriteImageFiles(folder);
    WriteSoundEffects(folder);
    WriteInstruments(folder);
    WriteTuneImages(folder);
    WriteBackgroundTune(folder);
    WriteWindowIcons(folder);
}
