#include "host/data_buffer.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "host/game.h"
#include "host/thread.h"

KxDataBuffer::~KxDataBuffer() { std::free(_data); }

bool KxDataBuffer::_New(int length, void* data) {
    if (_data || length < 0) return false;
    if (data) {
        _data = static_cast<unsigned char*>(data);
    } else {
        _data = static_cast<unsigned char*>(std::calloc(length ? length : 1, 1));
        if (!_data) return false;
    }
    _length = length;
    return true;
}

bool KxDataBuffer::_Load(String path) {
    if (_data) return false;
    int length = 0;
    unsigned char* data = KxGame::_game->LoadData(path, &length);
    if (!data) return false;
    _data = data;
    _length = length;
    return true;
}

bool KxDataBuffer::_LoadAsync(String path, KxThread* thread) {
    if (!_Load(path)) return false;
    thread->SetResult(this);
    return true;
}

void KxDataBuffer::Discard() {
    std::free(_data);
    _data = nullptr;
    _length = 0;
}

bool KxDataBuffer::Contains(int offset, int count) const {
    return offset >= 0 && count >= 0 && static_cast<int64_t>(offset) + count <= _length;
}

template <class T> void KxDataBuffer::Poke(int address, T value) {
    if (Contains(address, sizeof(T))) std::memcpy(_data + address, &value, sizeof(T));
}

template <class T> T KxDataBuffer::Peek(int address) const {
    T value = 0;
    if (Contains(address, sizeof(T))) std::memcpy(&value, _data + address, sizeof(T));
    return value;
}

void KxDataBuffer::PokeByte(int address, int value) { Poke<int8_t>(address, static_cast<int8_t>(value)); }
void KxDataBuffer::PokeShort(int address, int value) { Poke<int16_t>(address, static_cast<int16_t>(value)); }
void KxDataBuffer::PokeInt(int address, int value) { Poke<int32_t>(address, value); }
void KxDataBuffer::PokeFloat(int address, float value) { Poke<float>(address, value); }
int KxDataBuffer::PeekByte(int address) const { return Peek<int8_t>(address); }
int KxDataBuffer::PeekShort(int address) const { return Peek<int16_t>(address); }
int KxDataBuffer::PeekInt(int address) const { return Peek<int32_t>(address); }
float KxDataBuffer::PeekFloat(int address) const { return Peek<float>(address); }
