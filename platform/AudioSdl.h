#pragma once
// The SDL sound output (platform layer only): SDL's audio subsystem and its
// default device at 44100 Hz, signed 16-bit stereo. It opens paused; its
// callback, on SDL's audio thread, pulls the mix once started. Closing (or
// destroying the output) waits for a running callback to end and closes the
// audio subsystem.
#include <memory>

#include "platform/AudioOutput.h"

namespace platform::audio {

// An output whose Open fails when SDL has no usable device.
std::unique_ptr<AudioOutput> CreateSdlAudioOutput();

} // namespace platform::audio
