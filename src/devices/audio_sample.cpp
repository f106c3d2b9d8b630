// Samples: loading them into OpenAL buffers, and deleting those buffers only once no source
// holds them any more.
#include <cstdlib>

#include "devices/audio.h"
#include "host/glfw_game.h"

std::vector<ALuint> discarded;

namespace {

// The OpenAL format of (bytes per sample, channels); 0 for anything else, which OpenAL
// rejects, leaving the sample silent.
ALenum BufferFormat(int bytes, int channels) {
    if (bytes == 1 && channels == 1) return AL_FORMAT_MONO8;
    if (bytes == 1 && channels == 2) return AL_FORMAT_STEREO8;
    if (bytes == 2 && channels == 1) return AL_FORMAT_MONO16;
    if (bytes == 2 && channels == 2) return AL_FORMAT_STEREO16;
    return 0;
}

}  // namespace

KxSample::~KxSample() { KxSample::Discard(); }

int KxSample::Discard() {
    if (buffer) {
        discarded.push_back(buffer);
        buffer = 0;
    }
    return 0;
}

KxSample* KxAudio::LoadSample__UNSAFE__(KxSample* sample, String path) {
    KxGlfwGame* host = dynamic_cast<KxGlfwGame*>(KxGame::_game);
    if (!host) return nullptr;
    int length = 0, channelCount = 0, bytes = 0, hertz = 0;
    unsigned char* data = host->LoadAudioData(path, &length, &channelCount, &bytes, &hertz);
    if (!data) return nullptr;

    ALuint name = 0;
    alGenBuffers(1, &name);
    ALsizei size = static_cast<ALsizei>(static_cast<size_t>(length) * channelCount * bytes);
    alBufferData(name, BufferFormat(bytes, channelCount), data, size, hertz);
    std::free(data);
    sample->SetBuffer(name);
    return sample;
}

KxSample* KxAudio::LoadSample(String path) {
    FlushDiscarded(this);
    return LoadSample__UNSAFE__(new KxSample, path);
}

void FlushDiscarded(KxAudio* audio) {
    if (discarded.empty()) return;
    for (KxChannel& chan : audio->channels) {
        if (chan.state != KxChannel::Stopped && chan.SourceStopped()) {
            alSourcei(chan.source, AL_BUFFER, 0);
        }
    }
    std::vector<ALuint> kept;
    for (ALuint name : discarded) {
        // OpenAL keeps the first error until it is read, so an older one (a rejected format,
        // say) would otherwise pass for this deletion failing and keep a deleted name, which
        // OpenAL may later hand out again for a live buffer.
        alGetError();
        alDeleteBuffers(1, &name);
        if (alGetError() != AL_NO_ERROR) kept.push_back(name);
    }
    discarded.swap(kept);
}
