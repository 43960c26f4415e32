#pragma once
// Inside the platform layer: where the mixer's sound goes, one output for
// each back-end of platform/Audio.h:
//   Sdl        SDL's audio device pulls the mix (platform/AudioSdl.h);
//   Null       no device, and no sound can be made
//              (NullAudioOutput, platform/null/NullAudioOutput.h);
//   Recording  no device: the caller renders the mix, and the buffer and
//              stream operations are logged
//              (RecordingAudioOutput, platform/null/RecordingAudioOutput.h).
// A closed mixer holds a null output.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Audio.h"

namespace platform::audio {

// Fills frames x 2 interleaved samples; called on the output's own thread.
using MixFunction = void (*)(int16_t* out, size_t frames);

class AudioOutput {
public:
    virtual ~AudioOutput() = default;

    virtual Backend Kind() const = 0;

    // Makes the output ready to pull the mix, without pulling yet, and sets
    // framesPerPull to the most frames one pull asks for (0: it never
    // pulls). False when the output cannot open.
    virtual bool Open(MixFunction mix, size_t& framesPerPull) = 0;
    // Lets the pulls begin.
    virtual void Start() {}
    // Ends the pulls, waiting for one that runs; the mixer's lock is not
    // held. Closing a closed output does nothing.
    virtual void Close() {}

    // False when no sound can be made: buffers and streams are refused.
    virtual bool TakesSound() const { return true; }

    // The log of the buffer and stream operations, one line each; only the
    // recording output keeps it. Called under the mixer's lock.
    virtual void Log(std::string line) { (void)line; }
    virtual std::vector<std::string> Calls() const { return {}; }
    virtual void ClearCalls() {}
};

} // namespace platform::audio
