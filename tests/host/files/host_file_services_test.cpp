// The host's file services as the devices and the framework call them: resource paths through
// the host, decoded images and sounds, and the state file.
#include <gtest/gtest.h>

#include <stb_image.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fixtures.h"
#include "host/glfw_game.h"

using namespace fixtures;

namespace {

// A host in a temporary current directory holding a "data" folder.
class HostFiles : public testing::Test {
protected:
    HostFiles() : cwd_(dir_.Path()) { std::filesystem::create_directory(dir_ / "data"); }
    ~HostFiles() override {
        KxGame::_game = nullptr;
        KxGlfwGame::_glfwGame = nullptr;
    }

    TempDir dir_;
    ScopedCwd cwd_;
    KxGlfwGame host_;
};

String DataPath(const std::string& name) { return String(("travik://data/" + name).c_str()); }

}  // namespace

TEST_F(HostFiles, ResourcePathsReachTheDataFolderAndOtherRootsOpenNothing) {
    WriteFileBytes(dir_ / "data/a.txt", {'h', 'i'});
    WriteFileBytes(dir_ / "x.txt", {'x'});
    EXPECT_TRUE(host_.LoadString(DataPath("a.txt")) == String("hi"));
    EXPECT_TRUE(host_.LoadString(String("x.txt")) == String("x"));  // plain paths unchanged
    EXPECT_EQ(host_.OpenFile(String("travik://cache/x.txt"), String("rb")), nullptr);
    EXPECT_TRUE(host_.LoadString(DataPath("missing.txt")) == String());

    int length = -7;
    EXPECT_EQ(host_.LoadData(DataPath("missing.bin"), &length), nullptr);
    EXPECT_EQ(length, -7);  // untouched on failure
    MallocPtr<unsigned char> data(host_.LoadData(DataPath("a.txt"), &length));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(length, 2);
}

TEST_F(HostFiles, ImagesDecodeInTheirOwnChannelCount) {
    for (const PngFixture& png : PngFixtures()) {
        ASSERT_TRUE(MakePng(dir_, png));
        std::filesystem::rename(dir_ / png.name, dir_ / ("data/" + std::string(png.name)));
        int width = 0, height = 0, depth = 0;
        MallocPtr<unsigned char> pixels(host_.LoadImageData(DataPath(png.name), &width, &height, &depth));
        ASSERT_NE(pixels, nullptr) << png.colourType;
        EXPECT_EQ(width, 2);
        EXPECT_EQ(height, 2);
        EXPECT_EQ(depth, png.depth) << png.colourType;
        Bytes got(pixels.get(), pixels.get() + 4 * depth);
        EXPECT_EQ(got, png.expected) << png.colourType;
    }
    WriteFileBytes(dir_ / "data/garbage.png", NoiseBytes(300, 5));
    int w, h, d;
    EXPECT_EQ(host_.LoadImageData(DataPath("garbage.png"), &w, &h, &d), nullptr);
    EXPECT_EQ(host_.LoadImageData(DataPath("missing.png"), &w, &h, &d), nullptr);
}

TEST_F(HostFiles, OnlyPngFilesReachTheDecoderWhateverTheirName) {
    const std::string gradient = "-size 4x3 gradient:red-blue -depth 8 ";
    std::vector<std::string> others;
    for (const char* format : {"bmp3", "gif", "jpg", "ppm", "psd", "tga"}) {
        others.push_back(std::string("picture.") + format);
        ASSERT_TRUE(RunTool("/usr/bin/convert",
                            gradient + format + ":" + Quote(dir_ / others.back())));
    }
    // Cut short in its first scanline, this Radiance HDR file keeps stb_image's decoder busy
    // for ever.
    const char cutHdr[] = "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 8 +X 8\n\x02\x02\x00\x08";
    WriteFileBytes(dir_ / "cut.hdr", Bytes(cutHdr, cutHdr + sizeof cutHdr - 1));
    others.push_back("cut.hdr");
    ASSERT_TRUE(RunTool("/usr/bin/convert", gradient + Quote("png:" + (dir_ / "a.png"))));

    // Whether loading a copy of `file` named `name` gave pixels, and the sizes, which stay -7
    // unless the host sets them.
    auto load = [this](const std::string& file, const std::string& name) {
        std::filesystem::copy_file(dir_ / file, dir_ / ("data/" + name));
        int width = -7, height = -7, depth = -7;
        MallocPtr<unsigned char> pixels(
            host_.LoadImageData(DataPath(name), &width, &height, &depth));
        return std::vector<int>{pixels != nullptr, width, height, depth};
    };
    const std::vector<int> refused = {false, -7, -7, -7};
    for (const std::string& file : others) {
        SCOPED_TRACE(file);
        // Each is a picture to stb_image, so only the host's own check can refuse it.
        const Bytes bytes = ReadFileBytes(dir_ / file);
        int width, height, depth;
        EXPECT_TRUE(stbi_info_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width,
                                          &height, &depth));
        EXPECT_EQ(load(file, file), refused);
        EXPECT_EQ(load(file, file + ".png"), refused);
    }
    const std::vector<int> picture = {true, 4, 3, 3};
    EXPECT_EQ(load("a.png", "a.png"), picture);
    EXPECT_EQ(load("a.png", "a.bmp"), picture);
}

TEST_F(HostFiles, SoundsAreReadByTheirEndingInAnyCase) {
    ASSERT_TRUE(RunTool("sox", "-n -r 22050 -c 2 -b 16 " + Quote(dir_ / "data/tone.wav") +
                                   " synth 0.1 sine 440"));
    ASSERT_TRUE(RunTool("oggenc", "-Q -o " + Quote(dir_ / "data/SOUND.OGG") + " " +
                                      Quote(dir_ / "data/tone.wav")));
    std::filesystem::copy_file(dir_ / "data/tone.wav", dir_ / "data/sound.mp3");

    int length = 0, channels = 0, format = 0, hertz = 0;
    MallocPtr<unsigned char> wav(host_.LoadAudioData(DataPath("tone.wav"), &length, &channels, &format, &hertz));
    ASSERT_NE(wav, nullptr);
    EXPECT_EQ(length, 2205);
    EXPECT_EQ(channels, 2);
    EXPECT_EQ(format, 2);
    EXPECT_EQ(hertz, 22050);

    MallocPtr<unsigned char> ogg(host_.LoadAudioData(DataPath("SOUND.OGG"), &length, &channels, &format, &hertz));
    ASSERT_NE(ogg, nullptr);
    EXPECT_EQ(channels, 2);
    EXPECT_EQ(hertz, 22050);
    EXPECT_NEAR(length, 2205, 100);

    EXPECT_EQ(host_.LoadAudioData(DataPath("sound.mp3"), &length, &channels, &format, &hertz), nullptr);
    EXPECT_EQ(host_.LoadAudioData(DataPath("none.wav"), &length, &channels, &format, &hertz), nullptr);
}

TEST_F(HostFiles, StateRoundTripsThroughTheHost) {
    EXPECT_TRUE(host_.LoadState() == String());
    const Char units[] = {'a', 'b', 0x20AC};
    EXPECT_EQ(host_.SaveState(String(units, 3)), 0);
    EXPECT_EQ(ReadFileBytes(dir_ / ".travikstate"), (Bytes{0x61, 0x62, 0xE2, 0x82, 0xAC}));
    EXPECT_TRUE(host_.LoadState() == String(units, 3));
}

TEST_F(HostFiles, UrlsReachTheOpenerAsOneArgumentAndNeverAShell) {
    // A stand-in opener on PATH records its arguments, one per line.
    std::string log = dir_ / "opened.txt";
    WriteFileBytes(dir_ / "xdg-open", [&] {
        std::string script = "#!/bin/sh\nfor a in \"$@\"; do echo \"[$a]\" >> '" + log + "'; done\n";
        return Bytes(script.begin(), script.end());
    }());
    std::filesystem::permissions(dir_ / "xdg-open", std::filesystem::perms::owner_all);
    std::string path = getenv("PATH");
    setenv("PATH", (dir_.Path() + ":" + path).c_str(), 1);

    host_.OpenUrl(String("https://example.org/a b;touch pwned $(touch pwned2)"));
    for (int i = 0; i < 200 && !FileExists(log); ++i) usleep(10000);
    usleep(20000);
    setenv("PATH", path.c_str(), 1);

    Bytes opened = ReadFileBytes(log);
    EXPECT_EQ(std::string(opened.begin(), opened.end()),
              "[https://example.org/a b;touch pwned $(touch pwned2)]\n");
    EXPECT_FALSE(FileExists(dir_ / "pwned"));
    EXPECT_FALSE(FileExists(dir_ / "pwned2"));
}
