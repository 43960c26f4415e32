#include "platform/AudioSdl.h"

#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace platform::audio {

namespace {

std::string g_lastError; // why the last open failed (main thread)

// Keeps stderr quiet while it lives: the sound libraries SDL tries write
// lines of their own when they find no device (ALSA a dozen without a sound
// card); the mixer says in one line that sound is off instead.
class QuietStderr {
public:
    QuietStderr() {
        std::fflush(stderr);
        m_saved = dup(STDERR_FILENO);
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (m_saved >= 0 && null >= 0)
            dup2(null, STDERR_FILENO);
        if (null >= 0)
            close(null);
    }
    ~QuietStderr() {
        std::fflush(stderr);
        if (m_saved >= 0) {
            dup2(m_saved, STDERR_FILENO);
            close(m_saved);
        }
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int m_saved = -1;
};

class SdlAudioOutput final : public AudioOutput {
public:
    ~SdlAudioOutput() override { Close(); }

    Backend Kind() const override { return Backend::Sdl; }

    bool Open(MixFunction mix, size_t& framesPerPull) override {
        framesPerPull = 0;
        g_lastError.clear();
        QuietStderr quiet;
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            g_lastError = SDL_GetError();
            return false;
        }
        m_mix = mix;
        SDL_AudioSpec want{};
        want.freq = static_cast<int>(kMixRate);
        want.format = AUDIO_S16SYS;
        want.channels = static_cast<Uint8>(kMixChannels);
        want.samples = static_cast<Uint16>(kDeviceBufferFrames);
        want.callback = &Callback;
        want.userdata = this;
        SDL_AudioSpec have{};
        // No changes allowed: SDL converts to whatever the hardware takes.
        m_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
        if (m_device == 0) {
            g_lastError = SDL_GetError();
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return false;
        }
        // The callback's buffer holds have.size bytes.
        framesPerPull =
            std::max<size_t>(have.size / (sizeof(int16_t) * kMixChannels), have.samples);
        return true;
    }

    void Start() override {
        if (m_device != 0)
            SDL_PauseAudioDevice(m_device, 0);
    }

    void Close() override {
        if (m_device == 0)
            return;
        SDL_CloseAudioDevice(m_device);
        m_device = 0;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        // As the display does: SDL_Quit once nothing of SDL is in use.
        if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0)
            SDL_Quit();
    }

private:
    static void Callback(void* user, Uint8* stream, int length) {
        static_cast<SdlAudioOutput*>(user)->m_mix(reinterpret_cast<int16_t*>(stream),
                                                  static_cast<size_t>(length) /
                                                      (sizeof(int16_t) * kMixChannels));
    }

    SDL_AudioDeviceID m_device = 0;
    MixFunction m_mix = nullptr;
};

} // namespace

std::unique_ptr<AudioOutput> CreateSdlAudioOutput() {
    return std::make_unique<SdlAudioOutput>();
}

const std::string& LastSdlAudioError() {
    return g_lastError;
}

} // namespace platform::audio
