#include "assetgen/image_files.h"

#include "assetgen/images.h"
#include "assetgen/png_writer.h"

void WriteImageFiles(const std::string& dataFolder) {
    for (const ImageSpec& spec : ImageSpecs()) {
        for (int level : ArtLevels()) {
            if (level > 1 && !spec.allLevels) break;
            WritePng(dataFolder + "/" + ImageFileName(spec, level), RenderImage(spec, level));
        }
    }
}
