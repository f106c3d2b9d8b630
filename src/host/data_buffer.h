// KxDataBuffer: a block of raw bytes with typed peek and poke.
#pragma once

#include "runtime/object.h"
#include "runtime/string.h"

class KxThread;

class KxDataBuffer : public Object {
public:
    KxDataBuffer() {}
    ~KxDataBuffer() override;

    // Takes `data` (from the C allocator), or allocates `length` zeroed bytes when it is null.
    // Fails when the buffer already holds data.
    bool _New(int length, void* data = nullptr);
    // Loads a whole file through the host. Fails when the buffer already holds data.
    bool _Load(String path);
    // As _Load, then hands this buffer to the thread as its result. Called from a work method.
    bool _LoadAsync(String path, KxThread* thread);
    void Discard();

    int Length() const { return _length; }
    // data + offset; the caller keeps offsets within the length.
    const void* ReadPointer(int offset = 0) const { return _data + offset; }
    void* WritePointer(int offset = 0) { return _data + offset; }

    // Native little-endian stores and loads. An access that does not lie wholly inside the
    // buffer reads 0 and writes nothing, so a bad address can never touch other memory.
    void PokeByte(int address, int value);
    void PokeShort(int address, int value);
    void PokeInt(int address, int value);
    void PokeFloat(int address, float value);
    int PeekByte(int address) const;   // sign-extended
    int PeekShort(int address) const;  // sign-extended
    int PeekInt(int address) const;
    float PeekFloat(int address) const;

    // True when [offset, offset + count) lies inside the buffer.
    bool Contains(int offset, int count) const;

private:
    template <class T> void Poke(int address, T value);
    template <class T> T Peek(int address) const;

    unsigned char* _data = nullptr;
    int _length = 0;
};
