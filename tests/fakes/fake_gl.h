// A link-time stand-in for the OpenGL 1.x functions the graphics device and its surfaces call.
// Every call is recorded with its numeric arguments; draw calls also keep a copy of the
// vertices they read through the client array pointers, so a test can check positions,
// colours and texture coordinates. Textures keep their storage, so uploads can be checked.
// Tests script driver behaviour (refusing sizes that are not powers of two) and the
// framebuffer that glReadPixels reads.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <string>
#include <vector>

namespace fake_gl {

// One vertex as a draw call read it.
struct Vertex {
    float x, y, u, v;
    std::uint8_t r, g, b, a;
};

struct Call {
    std::string name;
    // Numeric arguments in order; pointer arguments are left out.
    std::vector<double> args;

    // Draw calls only. glDrawArrays: the vertices first .. first + count - 1. glDrawElements:
    // the vertex records 0 .. highest index, and the index list itself in `indices`.
    std::vector<Vertex> vertices;
    std::vector<int> indices;
    // State at the draw: GL_TEXTURE_2D enabled, the bound texture and the blend factors.
    bool textured = false;
    GLuint texture = 0;
    GLenum blendSrc = 0;
    GLenum blendDst = 0;

    // The draw call's mode (GL_POINTS ... GL_TRIANGLE_FAN).
    GLenum Mode() const { return static_cast<GLenum>(args.at(0)); }
};

struct Texture {
    int width = 0;
    int height = 0;
    GLint internalFormat = 0;
    // width * height * channels bytes, rows top first; zero until uploaded.
    std::vector<std::uint8_t> pixels;
    int channels = 0;
    GLint minFilter = 0, magFilter = 0, wrapS = 0, wrapT = 0;
    bool generateMipmap = false;
    bool deleted = false;
};

// Fresh state: no calls, no textures, no error, every size accepted, an empty framebuffer.
void Reset();

const std::vector<Call>& Calls();
void ClearCalls();
std::vector<Call> CallsNamed(const std::string& name);
// Calls of that name since the last Reset or ClearCalls, recorded or not.
int Count(const std::string& name);
// With recording off (for benchmarks) calls are only counted: no arguments or vertices are
// kept, so the fake costs next to nothing per call.
void SetRecording(bool recording);
// glDrawArrays and glDrawElements calls, in order.
std::vector<Call> Draws();

// A driver without textures of any size: glTexImage2D with a width or height that is not a
// power of two raises GL_INVALID_VALUE and allocates nothing.
void RefuseNonPowerOfTwo(bool refuse);
// A context without automatic mipmaps (core only): setting GL_GENERATE_MIPMAP raises
// GL_INVALID_ENUM and changes nothing.
void RefuseMipmapGeneration(bool refuse);

// What glReadPixels reads: `argb` holds width * height values (alpha in bits 24-31, blue in
// 0-7), rows bottom first as OpenGL counts them. Pixels outside it are left unwritten.
void SetFramebuffer(int width, int height, const std::vector<std::uint32_t>& argb);

// The texture of a name from glGenTextures, or null.
const Texture* TextureNamed(GLuint name);
int TexturesGenerated();
GLuint BoundTexture();
bool IsEnabled(GLenum cap);

}  // namespace fake_gl
