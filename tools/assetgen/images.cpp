#include "assetgen/images.h"

#include "assetgen/art.h"

const std::vector<int>& ArtLevels() {
    static const std::vector<int> levels{1, 2, 4};
    return levels;
}

std::string ImageFileName(const ImageSpec& desc, int level) {
    const char* suffix = level == 2 ? "-hd" : level == 4 ? "-hd2" : "";
    return desc.name + suffix + ".png";
}

const std::vector<ImageSpec>& ImageSpecs() {
    static const std::vector<ImageSpec> imageDescs{
        {"gfx", 10, 10, 100, 10, true, DrawGfxFrame},
        {"parts", 8, 8, 256, 16, true, DrawParticle},
        {"common/icons", 32, 32, 16, 4, true, DrawIcon},
        {"common/Buttons", 64, 64, 16, 4, true, DrawButton},
        {"common/dpad", 32, 32, 16, 4, true, DrawDpad},
        {"BadgesA", 64, 64, 64, 8, true, DrawBadge},
        {"menu", 256, 256, 4, 2, true, DrawMenuPanel},
        {"logo", 256, 128, 1, 1, true, DrawTitle},
        {"common/WexoLogo", 256, 256, 1, 1, true, DrawStudioEmblem},
        {"common/Testcard_Circle", 256, 256, 1, 1, true, DrawTestcardCircle},
        {"fonts/editundo", 16, 16, 224, 16, true, DrawGameFontCell},
        {"dravo_font", 10, 12, 96, 96, false, DrawStripFontCell},
    };
    return imageDescs;
}

const ImageSpec* FindImageSpec(const std::string& name) {
    for (const ImageSpec& desc : ImageSpecs())
        if (desc.name == name) return &desc;
    return nullptr;
}

Canvas RenderImage(const ImageSpec& desc, int level) {
    int cw = desc.cellWidth * level, ch = desc.cellHeight * level;
    Canvas canvas(desc.columns * cw, desc.Rows() * ch);
    for (int frame = 0; frame < desc.frames; ++frame) {
        int col = frame % desc.columns, row = frame / desc.columns;
        Painter cell(canvas, col * cw, row * ch, static_cast<float>(desc.cellWidth),
                     static_cast<float>(desc.cellHeight), static_cast<float>(level));
        desc.draw(cell, frame);
    }
    return canvas;
}
