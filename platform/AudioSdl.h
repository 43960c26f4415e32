#pragma once
// The SDL audio device behind the mixer (platform layer only).
#include <cstddef>
#include <cstdint>

namespace platform::audio {

// Fills frames x 2 interleaved samples; called on SDL's audio thread.
using MixFunction = void (*)(int16_t* out, size_t frames);

// Starts SDL's audio subsystem and opens the default device at 44100 Hz,
// signed 16-bit stereo, paused, pulling the samples from mix. Answers the
// frames one callback asks for; 0 when SDL has no usable device.
size_t OpenSdlDevice(MixFunction mix);
// Lets the opened device's callbacks begin.
void StartSdlDevice();
// Closes the device (waiting for a running callback to end) and the audio
// subsystem.
void CloseSdlDevice();

} // namespace platform::audio
