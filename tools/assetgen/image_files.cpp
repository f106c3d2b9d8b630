#include "assetgen/image_files.h"

#include "assetgen/images.h"
#include "assetgen/png_writer.h"

void WriteImageFiles(const std::string& dataFolder) {
    for (const ImageSpec& desc : ImageSpecs()) {
        for (int level : ArtLevels()) {
            if (level > 1 && !desc.allLevels) break;
            WritePng(dataFolder + "/" + ImageFileName(desc, level), RenderImage(desc, level));
        }
    }
}
