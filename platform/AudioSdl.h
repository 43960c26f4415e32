#pragma once
// The SDL audio device behind the mixer (platform layer only).
#include <cstddef>
#include <cstdint>

namespace platform::audio {

// Fills frames x 2 interleaved samples; called on SDL's audio thread.
using MixFunction = void (*)(int16_t* out, size_t frames);

// Starts SDL's audio subsystem and opens the default device at 44100 Hz,
// signed 16-bit stereo, pulling the samples from mix. False when SDL has no
// usable device.
bool OpenSdlDevice(MixFunction mix);
// Closes the device (waiting for a running callback to end) and the audio
// subsystem.
void CloseSdlDevice();

} // namespace platform::audio
