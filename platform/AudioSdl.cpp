#include "platform/AudioSdl.h"

#include <SDL.h>

#include <algorithm>

namespace platform::audio {

namespace {

class SdlAudioOutput final : public AudioOutput {
public:
    ~SdlAudioOutput() override { Close(); }

    Backend Kind() const override { return Backend::Sdl; }

    bool Open(MixFunction mix, size_t& framesPerPull) override {
        framesPerPull = 0;
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            return false;
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

} // namespace platform::audio
