// quarrox_assetgen: writes the game's data folder, or a contact sheet of its pictures.
//
//   quarrox_assetgen DATA_FOLDER
//   quarrox_assetgen --contact-sheet FILE.png [IMAGE_NAME...]
//   quarrox_assetgen --icons ICON_FOLDER
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "assetgen/app_icon.h"
#include "assetgen/contact_sheet.h"
#include "assetgen/data_folder.h"
#include "assetgen/png_writer.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: quarrox_assetgen DATA_FOLDER\n"
                 "       quarrox_assetgen --contact-sheet FILE.png [IMAGE_NAME...]\n"
                 "       quarrox_assetgen --icons ICON_FOLDER\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc >= 3 && std::strcmp(argv[1], "--contact-sheet") == 0) {
            std::vector<std::string> names(argv + 3, argv + argc);
            WritePng(argv[2], RenderContactSheet(names));
            return 0;
        }
        if (argc == 3 && std::strcmp(argv[1], "--icons") == 0) {
            WriteAppIcons(argv[2]);
            return 0;
        }
        if (argc != 2 || argv[1][0] == '-') return Usage();
        WriteDataFolder(argv[1]);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quarrox_assetgen: %s\n", e.what());
        return 1;
    }
}
