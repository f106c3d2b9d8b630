#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/data_buffer.h"
#include "host/game.h"

namespace {

std::string TempFile(const std::string& bytes) {
    char path[] = "/tmp/quarrox_buffer_XXXXXX";
    int fd = mkstemp(path);
    FILE* file = fdopen(fd, "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    return path;
}

}  // namespace

TEST(DataBuffer, NewLoadAndDiscardNeverLoseOrLeakData) {
    KxGame* previousHost = KxGame::_game;
    KxGame host;  // _Load reads files through the host
    KxDataBuffer* buffer = new KxDataBuffer;
    ASSERT_TRUE(buffer->_New(4));
    buffer->PokeInt(0, 0x11223344);
    EXPECT_FALSE(buffer->_New(8));  // already holds data: the old bytes stay
    EXPECT_EQ(buffer->Length(), 4);
    EXPECT_EQ(buffer->PeekInt(0), 0x11223344);

    std::string path = TempFile("hello");
    EXPECT_FALSE(buffer->_Load(String(path.c_str())));
    buffer->Discard();
    EXPECT_EQ(buffer->Length(), 0);
    ASSERT_TRUE(buffer->_Load(String(path.c_str())));
    EXPECT_EQ(buffer->Length(), 5);
    EXPECT_EQ(buffer->PeekByte(4), 'o');
    std::remove(path.c_str());

    KxDataBuffer* missing = new KxDataBuffer;
    EXPECT_FALSE(missing->_Load(String("/nonexistent/quarrox")));
    EXPECT_EQ(missing->Length(), 0);
    KxGame::_game = previousHost;
}

TEST(DataBuffer, PeekAndPokeAreLittleEndianSignExtendingAndBounded) {
    KxDataBuffer* buffer = new KxDataBuffer;
    ASSERT_TRUE(buffer->_New(8));
    buffer->PokeByte(0, 0xFF);
    buffer->PokeByte(1, 0x7F);
    EXPECT_EQ(buffer->PeekShort(0), 32767);
    buffer->PokeByte(0, 0x00);
    buffer->PokeByte(1, 0x80);
    EXPECT_EQ(buffer->PeekShort(0), -32768);
    EXPECT_EQ(buffer->PeekByte(1), -128);
    buffer->PokeFloat(3, 1.5f);  // unaligned
    EXPECT_EQ(buffer->PeekFloat(3), 1.5f);

    // Accesses that do not lie wholly inside the buffer read 0 and write nothing.
    buffer->PokeInt(0, -1);
    buffer->PokeInt(6, 12345);
    buffer->PokeInt(-1, 12345);
    buffer->PokeShort(INT_MAX, 1);
    EXPECT_EQ(buffer->PeekInt(0), -1);
    EXPECT_EQ(buffer->PeekInt(5), 0);
    EXPECT_EQ(buffer->PeekByte(8), 0);
    EXPECT_EQ(buffer->PeekByte(-1), 0);
    EXPECT_EQ(buffer->PeekInt(INT_MAX - 1), 0);
    EXPECT_TRUE(buffer->Contains(0, 8));
    EXPECT_FALSE(buffer->Contains(1, 8));
    EXPECT_FALSE(buffer->Contains(4, -1));
    EXPECT_FALSE(buffer->Contains(INT_MAX, INT_MAX));
}
