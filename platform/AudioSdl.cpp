#include "platform/AudioSdl.h"

#include <SDL.h>

#include "platform/Audio.h"

namespace platform::audio {

namespace {

SDL_AudioDeviceID g_device = 0;
MixFunction g_mix = nullptr;

void Callback(void*, Uint8* stream, int length) {
    g_mix(reinterpret_cast<int16_t*>(stream), static_cast<size_t>(length) / (sizeof(int16_t) * kMixChannels));
}

} // namespace

bool OpenSdlDevice(MixFunction mix) {
    if (g_device != 0)
        return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
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
        return false;
    }
    SDL_PauseAudioDevice(g_device, 0);
    return true;
}

void CloseSdlDevice() {
    if (g_device == 0)
        return;
    SDL_CloseAudioDevice(g_device);
    g_device = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    // As the display does: SDL_Quit once nothing of SDL is in use.
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0)
        SDL_Quit();
}

} // namespace platform::audio
