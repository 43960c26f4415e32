// Fuzz target: arbitrary bytes as a WAV file, parsed, then loaded as a sound
// effect with 64 copies, played and mixed for a moment.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/DirectSound.h"
#include "platform/Audio.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool opened = platform::audio::OpenAudio(platform::audio::Backend::Recording);
    (void)opened;
    platform::audio::ClearRecordedCalls();
    platform::audio::WaveFormat format;
    const uint8_t* samples = nullptr;
    uint32_t dataSize = 0;
    if (ParseWav(data, size, format, samples, dataSize))
        fuzz::Check(samples >= data && dataSize <= size && samples + dataSize <= data + size);

    fuzz::InScratchFolder folder;
    folder.WriteFile("sound.wav", data, size);
    CDirectSound sound;
    if (sound.LoadSound(3, "sound.wav", 1)) {
        sound.SetFrequency(0, size > 0 ? data[0] * 400u : 0u);
        sound.Play(3);
        sound.PlaySound(3, 1, 5000, -2000);
        std::vector<int16_t> out;
        platform::audio::RenderRecording(512, out);
    }
    return 0;
}
