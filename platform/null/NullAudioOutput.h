#pragma once
// The null sound output (ORVANDEL_AUDIO=null, and the fall-back when SDL's
// device cannot open): no device, every buffer and stream creation fails,
// nothing plays. A closed mixer holds one too.
#include "platform/AudioOutput.h"

namespace platform::audio {

class NullAudioOutput final : public AudioOutput {
public:
    Backend Kind() const override { return Backend::Null; }

    bool Open(MixFunction, size_t& framesPerPull) override {
        framesPerPull = 0;
        return true;
    }

    bool TakesSound() const override { return false; }
};

} // namespace platform::audio
