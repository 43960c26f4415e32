#include "platform/AudioSdl.h"

#include <SDL.h>

#include <algorithm>

#include "platform/Audio.h"

namespace platform::audio {

namespace {

SDL_AudioDeviceID g_device = 0;
MixFunction g_mix = nullptr;
size_t g_frames = 0; // frames one callback asks for

void Callback(void*, Uint8* stream, int length) {
    g_mix(reinterpret_cast<int16_t*>(stream),
          static_cast<size_t>(length) / (sizeof(int16_t) * kMixChannels));
}

} // namespace

size_t OpenSdlDevice(MixFunction mix) {
    if (g_device != 0)
        return g_frames;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return 0;
    g_mix = mix;
    SDL_AudioSpec want{};
    want.freq = static_cast<int>(kMixRate);
    want.format = AUDIO_S16SYS;
    want.channels = static_cast<Uint8>(kMixChannels);
    want.samples = 1024;
    want.callback = &Callback;
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts to whatever the hardware takes.
    g_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (g_device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return 0;
    }
    // The callback's buffer holds have.size bytes.
    g_frames = std::max<size_t>(have.size / (sizeof(int16_t) * kMixChannels), have.samples);
    return g_frames;
}

void StartSdlDevice() {
    if (g_device != 0)
        SDL_PauseAudioDevice(g_device, 0);
}

void CloseSdlDevice() {
    if (g_device == 0)
        return;
    SDL_CloseAudioDevice(g_device);
    g_device = 0;
    g_frames = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    // As the display does: SDL_Quit once nothing of SDL is in use.
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0)
        SDL_Quit();
}

} // namespace platform::audio
