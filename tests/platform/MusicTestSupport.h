#pragma once
// Helpers of the music tests: small WAV files of one level, and a driver
// that renders the recording mixer until a track's end notice comes.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "platform/Audio.h"
#include "platform/EventPump.h"
#include "tools/WavWriter.h"

namespace test {

// A track of one constant level (never 0) at the mixer's own rate and
// channels, so that every frame it plays shows in the mix unchanged.
inline std::string LevelWav(uint32_t frames, int16_t level) {
    return demo::MakeWav(
        platform::audio::kMixRate, platform::audio::kMixChannels, 16,
        std::vector<int16_t>(size_t{frames} * platform::audio::kMixChannels, level));
}

// What the recording mixer played: frames at a positive and at a negative
// level, and the end notices that arrived.
struct MusicRun {
    size_t positiveFrames = 0;
    size_t negativeFrames = 0;
    std::vector<platform::WindowMessage> notices;

    // Renders the given number of frames in small pieces, giving the
    // decoder thread time to keep up, and collects the notices.
    void Render(size_t frames) {
        std::vector<int16_t> out;
        while (frames > 0) {
            const size_t piece = std::min<size_t>(frames, 441);
            platform::audio::RenderRecording(piece, out);
            for (size_t i = 0; i + 1 < out.size(); i += 2) {
                if (out[i] > 0)
                    ++positiveFrames;
                else if (out[i] < 0)
                    ++negativeFrames;
            }
            frames -= piece;
            Collect();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    // Renders until a notice arrives or until wall-clock seconds have
    // passed; true when one arrived.
    bool RenderUntilNotice(double seconds = 10.0) {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        const size_t before = notices.size();
        while (notices.size() == before && std::chrono::steady_clock::now() < deadline)
            Render(441);
        return notices.size() > before;
    }

    // Renders until at least this many frames of sound were played.
    bool RenderUntilSound(size_t frames, double seconds = 10.0) {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (positiveFrames + negativeFrames < frames &&
               std::chrono::steady_clock::now() < deadline)
            Render(441);
        return positiveFrames + negativeFrames >= frames;
    }

    void Collect() {
        platform::WindowMessage message;
        while (platform::PollWindowMessage(message))
            if (message.type == platform::MessageType::MciNotify)
                notices.push_back(message);
    }
};

} // namespace test
