#include "fakes/fake_gl.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>

namespace {

struct ClientArray {
    GLint size = 0;
    GLenum type = 0;
    GLsizei stride = 0;
    const GLvoid* pointer = nullptr;

    // Byte address of element i, honouring a stride of 0 (tightly packed).
    const std::uint8_t* At(int i, int elementBytes) const {
        const int step = stride ? stride : size * elementBytes;
        return static_cast<const std::uint8_t*>(pointer) + static_cast<std::ptrdiff_t>(i) * step;
    }
};

struct State {
    std::vector<fake_gl::Call> calls;
    std::map<std::string, int> counts;
    bool recording = true;
    std::map<GLuint, fake_gl::Texture> textures;
    GLuint nextTexture = 1;
    GLuint bound = 0;
    GLenum error = GL_NO_ERROR;
    bool refuseNonPowerOfTwo = false;
    bool refuseMipmapGeneration = false;
    GLint unpackAlignment = 4;
    std::set<GLenum> enabled;
    GLenum blendSrc = GL_ONE, blendDst = GL_ZERO;
    ClientArray vertexArray, texCoordArray, colorArray;
    int framebufferWidth = 0, framebufferHeight = 0;
    std::vector<std::uint32_t> framebuffer;
};

State& S() {
    static State state;
    return state;
}

// Counts the call and, while recording, keeps it; null when it is not kept.
fake_gl::Call* Record(const char* name, std::initializer_list<double> args) {
    ++S().counts[name];
    if (!S().recording) return nullptr;
    fake_gl::Call call;
    call.name = name;
    call.args = args;
    S().calls.push_back(std::move(call));
    return &S().calls.back();
}

void SetError(GLenum error) {
    if (S().error == GL_NO_ERROR) S().error = error;
}

bool IsPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

int ChannelsOf(GLenum format) {
    switch (format) {
        case GL_LUMINANCE: return 1;
        case GL_LUMINANCE_ALPHA: return 2;
        case GL_RGB: return 3;
        case GL_RGBA:
        case GL_BGRA: return 4;
        default: return 0;
    }
}

fake_gl::Vertex ReadVertex(int i) {
    const State& s = S();
    fake_gl::Vertex v{};
    if (s.vertexArray.pointer) {
        const float* p = reinterpret_cast<const float*>(s.vertexArray.At(i, sizeof(float)));
        v.x = p[0];
        v.y = p[1];
    }
    if (s.texCoordArray.pointer) {
        const float* p = reinterpret_cast<const float*>(s.texCoordArray.At(i, sizeof(float)));
        v.u = p[0];
        v.v = p[1];
    }
    if (s.colorArray.pointer) {
        const std::uint8_t* p = s.colorArray.At(i, 1);
        v.r = p[0];
        v.g = p[1];
        v.b = p[2];
        v.a = p[3];
    }
    return v;
}

void NoteDrawState(fake_gl::Call& call) {
    call.textured = S().enabled.count(GL_TEXTURE_2D) != 0;
    call.texture = S().bound;
    call.blendSrc = S().blendSrc;
    call.blendDst = S().blendDst;
}

fake_gl::Texture* BoundTextureObject() {
    auto it = S().textures.find(S().bound);
    return it == S().textures.end() ? nullptr : &it->second;
}

}  // namespace

namespace fake_gl {

void Reset() { S() = State(); }

const std::vector<Call>& Calls() { return S().calls; }

void ClearCalls() {
    S().calls.clear();
    S().counts.clear();
}

void SetRecording(bool recording) { S().recording = recording; }

std::vector<Call> CallsNamed(const std::string& name) {
    std::vector<Call> result;
    for (const Call& call : S().calls) {
        if (call.name == name) result.push_back(call);
    }
    return result;
}

int Count(const std::string& name) {
    auto it = S().counts.find(name);
    return it == S().counts.end() ? 0 : it->second;
}

std::vector<Call> Draws() {
    std::vector<Call> result;
    for (const Call& call : S().calls) {
        if (call.name == "glDrawArrays" || call.name == "glDrawElements") result.push_back(call);
    }
    return result;
}

void RefuseNonPowerOfTwo(bool refuse) { S().refuseNonPowerOfTwo = refuse; }

void RefuseMipmapGeneration(bool refuse) { S().refuseMipmapGeneration = refuse; }

void SetFramebuffer(int width, int height, const std::vector<std::uint32_t>& argb) {
    S().framebufferWidth = width;
    S().framebufferHeight = height;
    S().framebuffer = argb;
    S().framebuffer.resize(static_cast<std::size_t>(width) * height);
}

const Texture* TextureNamed(GLuint name) {
    auto it = S().textures.find(name);
    return it == S().textures.end() ? nullptr : &it->second;
}

int TexturesGenerated() { return static_cast<int>(S().nextTexture - 1); }

GLuint BoundTexture() { return S().bound; }

bool IsEnabled(GLenum cap) { return S().enabled.count(cap) != 0; }

}  // namespace fake_gl

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    Record("glViewport", {double(x), double(y), double(width), double(height)});
}

void glMatrixMode(GLenum mode) { Record("glMatrixMode", {double(mode)}); }

void glLoadIdentity(void) { Record("glLoadIdentity", {}); }

void glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble near_val,
             GLdouble far_val) {
    Record("glOrtho", {left, right, bottom, top, near_val, far_val});
}

void glEnableClientState(GLenum cap) { Record("glEnableClientState", {double(cap)}); }

void glVertexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* ptr) {
    Record("glVertexPointer", {double(size), double(type), double(stride)});
    S().vertexArray = ClientArray{size, type, stride, ptr};
}

void glTexCoordPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* ptr) {
    Record("glTexCoordPointer", {double(size), double(type), double(stride)});
    S().texCoordArray = ClientArray{size, type, stride, ptr};
}

void glColorPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* ptr) {
    Record("glColorPointer", {double(size), double(type), double(stride)});
    S().colorArray = ClientArray{size, type, stride, ptr};
}

void glEnable(GLenum cap) {
    Record("glEnable", {double(cap)});
    S().enabled.insert(cap);
}

void glDisable(GLenum cap) {
    Record("glDisable", {double(cap)});
    S().enabled.erase(cap);
}

void glBlendFunc(GLenum sfactor, GLenum dfactor) {
    Record("glBlendFunc", {double(sfactor), double(dfactor)});
    S().blendSrc = sfactor;
    S().blendDst = dfactor;
}

void glScissor(GLint x, GLint y, GLsizei width, GLsizei height) {
    Record("glScissor", {double(x), double(y), double(width), double(height)});
}

void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) {
    Record("glClearColor", {red, green, blue, alpha});
}

void glClear(GLbitfield mask) { Record("glClear", {double(mask)}); }

void glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                  GLvoid* pixels) {
    Record("glReadPixels",
           {double(x), double(y), double(width), double(height), double(format), double(type)});
    const State& s = S();
    std::uint8_t* out = static_cast<std::uint8_t*>(pixels);
    for (int row = 0; row < height; ++row) {
        for (int col = 0; col < width; ++col) {
            const int fx = x + col, fy = y + row;
            if (fx < 0 || fy < 0 || fx >= s.framebufferWidth || fy >= s.framebufferHeight) {
                continue;
            }
            const std::uint32_t p = s.framebuffer[fy * s.framebufferWidth + fx];
            std::uint8_t* o = out + (row * width + col) * 4;
            o[0] = p & 255;        // blue
            o[1] = p >> 8 & 255;   // green
            o[2] = p >> 16 & 255;  // red
            o[3] = p >> 24;        // alpha
        }
    }
}

void glDrawArrays(GLenum mode, GLint first, GLsizei count) {
    fake_gl::Call* call = Record("glDrawArrays", {double(mode), double(first), double(count)});
    if (!call) return;
    for (int i = 0; i < count; ++i) call->vertices.push_back(ReadVertex(first + i));
    NoteDrawState(*call);
}

void glDrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid* indices) {
    fake_gl::Call* call = Record("glDrawElements", {double(mode), double(count), double(type)});
    if (!call) return;
    const GLushort* list = static_cast<const GLushort*>(indices);
    int highest = -1;
    for (int i = 0; i < count; ++i) {
        call->indices.push_back(list[i]);
        highest = std::max(highest, static_cast<int>(list[i]));
    }
    for (int i = 0; i <= highest; ++i) call->vertices.push_back(ReadVertex(i));
    NoteDrawState(*call);
}

void glBindTexture(GLenum target, GLuint texture) {
    Record("glBindTexture", {double(target), double(texture)});
    S().bound = texture;
}

void glGenTextures(GLsizei n, GLuint* textures) {
    Record("glGenTextures", {double(n)});
    for (int i = 0; i < n; ++i) {
        textures[i] = S().nextTexture++;
        S().textures[textures[i]];
    }
}

void glDeleteTextures(GLsizei n, const GLuint* textures) {
    Record("glDeleteTextures", {double(n), n > 0 ? double(textures[0]) : 0.0});
    for (int i = 0; i < n; ++i) {
        auto it = S().textures.find(textures[i]);
        if (it != S().textures.end()) it->second.deleted = true;
        if (S().bound == textures[i]) S().bound = 0;
    }
}

void glTexParameteri(GLenum target, GLenum pname, GLint param) {
    Record("glTexParameteri", {double(target), double(pname), double(param)});
    fake_gl::Texture* texture = BoundTextureObject();
    if (!texture) return;
    switch (pname) {
        case GL_TEXTURE_MIN_FILTER: texture->minFilter = param; break;
        case GL_TEXTURE_MAG_FILTER: texture->magFilter = param; break;
        case GL_TEXTURE_WRAP_S: texture->wrapS = param; break;
        case GL_TEXTURE_WRAP_T: texture->wrapT = param; break;
        case GL_GENERATE_MIPMAP:
            if (S().refuseMipmapGeneration) {
                S().error = GL_INVALID_ENUM;
            } else {
                texture->generateMipmap = param != GL_FALSE;
            }
            break;
        default: break;
    }
}

void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                  GLsizei height, GLint border, GLenum format, GLenum type,
                  const GLvoid* pixels) {
    Record("glTexImage2D", {double(target), double(level), double(internalFormat), double(width),
                            double(height), double(border), double(format), double(type)});
    fake_gl::Texture* texture = BoundTextureObject();
    const int channels = ChannelsOf(format);
    const bool refused = S().refuseNonPowerOfTwo && !(IsPowerOfTwo(width) && IsPowerOfTwo(height));
    if (width < 0 || height < 0 || refused || channels == 0) {
        SetError(channels == 0 ? GL_INVALID_ENUM : GL_INVALID_VALUE);
        return;
    }
    if (!texture) {
        SetError(GL_INVALID_OPERATION);
        return;
    }
    texture->width = width;
    texture->height = height;
    texture->internalFormat = internalFormat;
    texture->channels = channels;
    texture->pixels.assign(static_cast<std::size_t>(width) * height * channels, 0);
    if (pixels) std::memcpy(texture->pixels.data(), pixels, texture->pixels.size());
}

void glTexSubImage2D(GLenum target, GLint level, GLint xoffset, GLint yoffset, GLsizei width,
                     GLsizei height, GLenum format, GLenum type, const GLvoid* pixels) {
    Record("glTexSubImage2D", {double(target), double(level), double(xoffset), double(yoffset),
                               double(width), double(height), double(format), double(type)});
    fake_gl::Texture* texture = BoundTextureObject();
    const int channels = ChannelsOf(format);
    if (!texture || channels != texture->channels || xoffset < 0 || yoffset < 0 ||
        xoffset + width > texture->width || yoffset + height > texture->height) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    // Source rows start at multiples of the unpack alignment.
    const int align = S().unpackAlignment;
    const int rowBytes = width * channels;
    const int stride = (rowBytes + align - 1) / align * align;
    const std::uint8_t* in = static_cast<const std::uint8_t*>(pixels);
    for (int row = 0; row < height; ++row) {
        std::uint8_t* out =
            texture->pixels.data() + ((yoffset + row) * texture->width + xoffset) * channels;
        std::memcpy(out, in + row * stride, rowBytes);
    }
}

void glPixelStorei(GLenum pname, GLint param) {
    Record("glPixelStorei", {double(pname), double(param)});
    if (pname == GL_UNPACK_ALIGNMENT) S().unpackAlignment = param;
}

GLenum glGetError(void) {
    Record("glGetError", {});
    const GLenum error = S().error;
    S().error = GL_NO_ERROR;
    return error;
}
