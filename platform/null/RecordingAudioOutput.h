#pragma once
// The recording sound output (ORVANDEL_AUDIO=record), for tests and
// benchmarks: no device. Buffers and streams are made as for a device, the
// caller mixes the next frames on its own thread (RenderRecording), and the
// buffer and stream operations are kept as a log of text lines
// (RecordedCalls).
#include <string>
#include <utility>
#include <vector>

#include "platform/AudioOutput.h"

namespace platform::audio {

class RecordingAudioOutput final : public AudioOutput {
public:
    Backend Kind() const override { return Backend::Recording; }

    bool Open(MixFunction, size_t& framesPerPull) override {
        framesPerPull = 0;
        return true;
    }

    void Log(std::string line) override { m_calls.push_back(std::move(line)); }
    std::vector<std::string> Calls() const override { return m_calls; }
    void ClearCalls() override { m_calls.clear(); }

private:
    std::vector<std::string> m_calls;
};

} // namespace platform::audio
