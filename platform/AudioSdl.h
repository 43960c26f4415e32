#pragma once
// The SDL sound output (platform layer only): SDL's audio subsystem and its
// default device at 44100 Hz, signed 16-bit stereo. It opens paused; its
// callback, on SDL's audio thread, pulls the mix once started. Closing (or
// destroying the output) waits for a running callback to end and closes the
// audio subsystem.
#include <memory>
#include <string>

#include "platform/AudioOutput.h"

namespace platform::audio {

// An output whose Open fails when SDL has no usable device. While it looks
// for one, the sound libraries' own lines are kept off stderr.
std::unique_ptr<AudioOutput> CreateSdlAudioOutput();
// SDL's words for why the last Open failed; empty after one that worked.
const std::string& LastSdlAudioError();

} // namespace platform::audio
