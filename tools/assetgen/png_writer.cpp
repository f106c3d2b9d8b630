#include "assetgen/png_writer.h"

#include <stb_image_write.h>

#include <filesystem>
#include <stdexcept>

void MakeParentFolders(const std::string& path) {
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (parent.empty()) return;
    std::error_code error;
    std::filesystem::create_directories(parent, error);
    if (error) throw std::runtime_error("cannot create folder " + parent.string());
}

void WritePng(const std::string& path, int width, int height,
              const std::vector<std::uint8_t>& rgba) {
    MakeParentFolders(path);
    if (stbi_write_png(path.c_str(), width, height, 4, rgba.data(), width * 4) == 0)
        throw std::runtime_error("cannot write " + path);
}

void WritePng(const std::string& path, const Canvas& canvas) {
    WritePng(path, canvas.Width(), canvas.Height(), canvas.ToRgba8());
}
