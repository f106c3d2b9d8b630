// The PNG fixtures are what they claim to be: stb_image, asked for the image's own channel
// count, returns the channel count and the pixels each fixture promises.
#include <stb_image.h>

#include "host/files/fixtures.h"

using namespace fixtures;

TEST(PngFixtures, DecodeToTheirColourTypesAndPixels) {
    TempDir dir;
    for (const PngFixture& png : PngFixtures()) {
        SCOPED_TRACE(png.colourType);
        ASSERT_TRUE(MakePng(dir, png));
        FilePtr file = OpenForReading(dir / png.name);
        ASSERT_TRUE(file);
        int width = 0, height = 0, depth = 0;
        MallocPtr<unsigned char> pixels(
            stbi_load_from_file(file.get(), &width, &height, &depth, 0));
        ASSERT_TRUE(pixels) << stbi_failure_reason();
        EXPECT_EQ(width, 2);
        EXPECT_EQ(height, 2);
        ASSERT_EQ(depth, png.depth);
        EXPECT_EQ(Bytes(pixels.get(), pixels.get() + 4 * depth), png.expected);
    }
}

TEST(PngFixtures, GarbageIsNotAnImage) {
    TempDir dir;
    WriteFileBytes(dir / "noise.png", Concat({0x89, 'P', 'N', 'G'}, NoiseBytes(300, 7)));
    FilePtr file = OpenForReading(dir / "noise.png");
    int width = 0, height = 0, depth = 0;
    EXPECT_EQ(stbi_load_from_file(file.get(), &width, &height, &depth, 0), nullptr);
}
