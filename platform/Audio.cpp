#include "platform/Audio.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/AudioOutput.h"
#include "platform/AudioSdl.h"
#include "platform/null/NullAudioOutput.h"
#include "platform/null/RecordingAudioOutput.h"

namespace platform::audio {

namespace {

// Positions of voices and streams are 32.32 fixed-point frame counts.
constexpr uint64_t kOne = uint64_t{1} << 32;

// The samples of a buffer, shared by its duplicates.
struct Samples {
    std::vector<int16_t> data; // interleaved
    uint16_t channels = 1;
    uint32_t rate = 0;
    uint16_t bytesPerFrame = 2; // in the buffer's own format
    size_t frames = 0;
};

struct Voice {
    std::shared_ptr<const Samples> samples;
    uint64_t position = 0;
    uint32_t frequency = 0;
    int32_t volume = 0;
    int32_t pan = 0;
    bool playing = false;
    bool looping = false;
};

struct Stream {
    uint32_t rate = 0;
    uint16_t channels = 1;
    std::vector<int16_t> ring; // capacity x channels samples
    size_t capacity = 0;       // frames
    size_t read = 0;           // frame index of the oldest queued frame
    size_t queued = 0;
    uint64_t played = 0;
    uint64_t fraction = 0; // the part of a frame already played
    int32_t volume = 0;
    bool paused = false;
};

struct Mixer {
    std::mutex lock; // guards everything below; held for short sections only
    bool open = false;
    std::map<uint32_t, Voice> voices;
    std::map<uint32_t, Stream> streams;
    uint32_t nextId = 1;
    std::vector<int32_t> accumulator;
    // The open back-end's output; a null one while the mixer is closed.
    // Last, so that at exit a device still open ends its callbacks before
    // the state they mix goes.
    std::unique_ptr<AudioOutput> output = std::make_unique<NullAudioOutput>();
};

Mixer& State() {
    static Mixer mixer;
    return mixer;
}

// Serialises opening and closing (the output is opened and closed outside
// the state lock, so that a device callback can finish).
std::mutex g_openLock;

std::unique_ptr<AudioOutput> MakeOutput(Backend backend) {
    switch (backend) {
    case Backend::Sdl:
        return CreateSdlAudioOutput();
    case Backend::Recording:
        return std::make_unique<RecordingAudioOutput>();
    case Backend::Null:
        break;
    }
    return std::make_unique<NullAudioOutput>();
}

void Log(Mixer& m, std::string line) {
    m.output->Log(std::move(line));
}

// False when the open output makes no sound (also while closed).
bool TakesSound() {
    Mixer& m = State();
    std::lock_guard<std::mutex> lock(m.lock);
    return m.output->TakesSound();
}

std::string Str(int64_t value) {
    return std::to_string(value);
}

uint32_t NewId(Mixer& m) {
    uint32_t id = m.nextId++;
    if (m.nextId == 0)
        m.nextId = 1;
    return id;
}

// Attenuation in hundredths of a decibel as a 16.16 fixed-point gain.
int64_t Gain(int32_t attenuation) {
    if (attenuation <= kVolumeMin)
        return 0;
    if (attenuation >= 0)
        return 65536;
    return std::lround(65536.0 * std::pow(10.0, attenuation / 2000.0));
}

// Left and right gains of a volume and a pan: a pan to one side attenuates
// the other side.
void ChannelGains(int32_t volume, int32_t pan, int64_t& left, int64_t& right) {
    int64_t gain = Gain(volume);
    left = gain * Gain(pan > 0 ? -pan : 0) >> 16;
    right = gain * Gain(pan < 0 ? pan : 0) >> 16;
}

int32_t Interpolate(int32_t a, int32_t b, uint64_t fraction) {
    return a + static_cast<int32_t>((int64_t{b - a} * static_cast<int64_t>(fraction >> 16)) >> 16);
}

// A voice at its end: a looping one starts again, another stops and goes
// back to the beginning. Answers whether it still plays.
bool Wrap(Voice& voice, uint64_t end) {
    if (voice.looping) {
        voice.position %= end;
        return true;
    }
    voice.playing = false;
    voice.position = 0;
    return false;
}

void MixVoice(Voice& voice, int32_t* out, size_t frames) {
    const Samples& s = *voice.samples;
    if (s.frames == 0) {
        voice.playing = false;
        return;
    }
    int64_t left = 0;
    int64_t right = 0;
    ChannelGains(voice.volume, voice.pan, left, right);
    const uint64_t step = (uint64_t{voice.frequency} << 32) / kMixRate;
    const uint64_t end = uint64_t{s.frames} << 32;
    const size_t ch = s.channels;
    if (voice.position >= end && !Wrap(voice, end))
        return;
    for (size_t i = 0; i < frames; ++i) {
        size_t index = static_cast<size_t>(voice.position >> 32);
        size_t next = index + 1 < s.frames ? index + 1 : (voice.looping ? 0 : index);
        uint64_t fraction = voice.position & (kOne - 1);
        int32_t l = Interpolate(s.data[index * ch], s.data[next * ch], fraction);
        int32_t r =
            ch == 2 ? Interpolate(s.data[index * ch + 1], s.data[next * ch + 1], fraction) : l;
        out[i * 2] += static_cast<int32_t>(l * left >> 16);
        out[i * 2 + 1] += static_cast<int32_t>(r * right >> 16);
        voice.position += step;
        if (voice.position >= end && !Wrap(voice, end))
            return;
    }
}

void MixStream(Stream& stream, int32_t* out, size_t frames) {
    if (stream.paused)
        return;
    const int64_t gain = Gain(stream.volume);
    const uint64_t step = (uint64_t{stream.rate} << 32) / kMixRate;
    const size_t ch = stream.channels;
    for (size_t i = 0; i < frames && stream.queued > 0; ++i) {
        size_t index = stream.read;
        size_t next = stream.queued > 1 ? (index + 1) % stream.capacity : index;
        int32_t l = Interpolate(stream.ring[index * ch], stream.ring[next * ch], stream.fraction);
        int32_t r = ch == 2 ? Interpolate(stream.ring[index * ch + 1], stream.ring[next * ch + 1],
                                          stream.fraction)
                            : l;
        out[i * 2] += static_cast<int32_t>(l * gain >> 16);
        out[i * 2 + 1] += static_cast<int32_t>(r * gain >> 16);
        stream.fraction += step;
        while (stream.fraction >= kOne && stream.queued > 0) {
            stream.fraction -= kOne;
            stream.read = (stream.read + 1) % stream.capacity;
            --stream.queued;
            ++stream.played;
        }
    }
    if (stream.queued == 0)
        stream.fraction = 0;
}

// Mixes the next frames; the state lock is held.
void MixLocked(Mixer& m, int16_t* out, size_t frames) {
    m.accumulator.assign(frames * 2, 0);
    for (auto& [id, voice] : m.voices)
        if (voice.playing)
            MixVoice(voice, m.accumulator.data(), frames);
    for (auto& [id, stream] : m.streams)
        MixStream(stream, m.accumulator.data(), frames);
    for (size_t i = 0; i < frames * 2; ++i)
        out[i] = static_cast<int16_t>(std::clamp(m.accumulator[i], -32768, 32767));
}

// How often the device callback tries the lock before it gives silence.
constexpr int kDeviceLockTries = 50;

// The device callback: never blocks on the lock. The other threads hold it
// for short sections only, so a few tries with a yield between them almost
// always get it; silence when it stays busy.
void DeviceMix(int16_t* out, size_t frames) {
    Mixer& m = State();
    std::unique_lock<std::mutex> lock(m.lock, std::try_to_lock);
    for (int tries = 1; !lock.owns_lock() && tries < kDeviceLockTries; ++tries) {
        std::this_thread::yield();
        lock.try_lock();
    }
    if (!lock.owns_lock()) {
        std::memset(out, 0, frames * 2 * sizeof(int16_t));
        return;
    }
    MixLocked(m, out, frames);
}

void CloseLocked() {
    Mixer& m = State();
    AudioOutput* output;
    {
        std::lock_guard<std::mutex> lock(m.lock);
        output = m.output.get();
    }
    // Only the holder of g_openLock replaces the output.
    output->Close();
    std::lock_guard<std::mutex> lock(m.lock);
    m.voices.clear();
    m.streams.clear();
    m.output = std::make_unique<NullAudioOutput>();
    m.open = false;
}

// Runs the function on the voice of the id under the lock; false for an
// unknown id.
template <class Function> bool WithVoice(uint32_t id, Function function) {
    Mixer& m = State();
    std::lock_guard<std::mutex> lock(m.lock);
    auto it = m.voices.find(id);
    if (it == m.voices.end())
        return false;
    function(m, it->second);
    return true;
}

template <class Function> void WithStream(uint32_t id, Function function) {
    Mixer& m = State();
    std::lock_guard<std::mutex> lock(m.lock);
    auto it = m.streams.find(id);
    if (it != m.streams.end())
        function(m, it->second);
}

} // namespace

bool OpenAudio(Backend backend) {
    std::lock_guard<std::mutex> open(g_openLock);
    CloseLocked();
    Mixer& m = State();
    // A device opens paused; the mix buffer is made for its callback size
    // before the first callback, which then never allocates.
    std::unique_ptr<AudioOutput> output = MakeOutput(backend);
    size_t frames = 0;
    if (!output->Open(&DeviceMix, frames))
        return false;
    AudioOutput* opened = output.get();
    {
        std::lock_guard<std::mutex> lock(m.lock);
        m.accumulator.reserve(frames * kMixChannels);
        m.output = std::move(output);
        m.open = true;
    }
    opened->Start();
    return true;
}

void CloseAudio() {
    std::lock_guard<std::mutex> open(g_openLock);
    CloseLocked();
}

Backend CurrentBackend() {
    Mixer& m = State();
    std::lock_guard<std::mutex> lock(m.lock);
    return m.output->Kind();
}

bool IsAudioOpen() {
    Mixer& m = State();
    std::lock_guard<std::mutex> lock(m.lock);
    return m.open;
}

bool OpenDefaultAudio() {
    const char* choice = std::getenv("ORVANDEL_AUDIO");
    if (choice && std::strcmp(choice, "null") == 0)
        return OpenAudio(Backend::Null);
    if (choice && std::strcmp(choice, "record") == 0)
        return OpenAudio(Backend::Recording);
    if (OpenAudio(Backend::Sdl))
        return true;
    const std::string& reason = LastSdlAudioError();
    std::fprintf(stderr,
                 "sound: no sound device could be opened%s%s%s; the game plays without sound\n",
                 reason.empty() ? "" : " (", reason.c_str(), reason.empty() ? "" : ")");
    return OpenAudio(Backend::Null);
}

void RenderRecording(size_t frames, std::vector<int16_t>& out) {
    out.assign(frames * kMixChannels, 0);
    Mixer& m = State();
    std::lock_guard<std::mutex> lock(m.lock);
    if (m.output->Kind() == Backend::Recording)
        MixLocked(m, out.data(), frames);
}

std::vector<std::string> RecordedCalls() {
    Mixer& m = State();
    std::lock_guard<std::mutex> lock(m.lock);
    return m.output->Calls();
}

void ClearRecordedCalls() {
    Mixer& m = State();
    std::lock_guard<std::mutex> lock(m.lock);
    m.output->ClearCalls();
}

uint32_t CreateBuffer(const WaveFormat& format, const uint8_t* data, size_t bytes) {
    if (format.formatTag != kFormatPcm || (format.channels != 1 && format.channels != 2) ||
        (format.bitsPerSample != 8 && format.bitsPerSample != 16) ||
        format.samplesPerSec < kFrequencyMin || format.samplesPerSec > kFrequencyMax || !data)
        return 0;
    const uint16_t bytesPerSample = format.bitsPerSample / 8;
    const uint16_t bytesPerFrame = static_cast<uint16_t>(bytesPerSample * format.channels);
    const size_t frames = bytes / bytesPerFrame;
    if (frames == 0)
        return 0;
    if (!TakesSound())
        return 0;

    // Converted outside the lock: the copy may be long.
    auto samples = std::make_shared<Samples>();
    samples->channels = format.channels;
    samples->rate = format.samplesPerSec;
    samples->bytesPerFrame = bytesPerFrame;
    samples->frames = frames;
    samples->data.resize(frames * format.channels);
    for (size_t i = 0; i < samples->data.size(); ++i) {
        if (bytesPerSample == 1)
            samples->data[i] = static_cast<int16_t>((data[i] - 128) * 256);
        else
            samples->data[i] = static_cast<int16_t>(data[i * 2] | (data[i * 2 + 1] << 8));
    }

    Mixer& m = State();
    std::lock_guard<std::mutex> lock(m.lock);
    if (!m.output->TakesSound())
        return 0;
    uint32_t id = NewId(m);
    Voice& voice = m.voices[id];
    voice.frequency = format.samplesPerSec;
    voice.samples = std::move(samples);
    Log(m, "CreateBuffer " + Str(id) + " " + Str(format.channels) + "ch " +
               Str(format.bitsPerSample) + "bit " + Str(format.samplesPerSec) + "Hz " +
               Str(static_cast<int64_t>(frames)) + " frames");
    return id;
}

uint32_t DuplicateBuffer(uint32_t buffer) {
    Mixer& m = State();
    std::lock_guard<std::mutex> lock(m.lock);
    auto it = m.voices.find(buffer);
    if (it == m.voices.end())
        return 0;
    uint32_t id = NewId(m);
    Voice& voice = m.voices[id];
    voice.samples = it->second.samples;
    voice.frequency = voice.samples->rate;
    Log(m, "DuplicateBuffer " + Str(buffer) + " " + Str(id));
    return id;
}

void ReleaseBuffer(uint32_t buffer) {
    // The voice (and with the last one its samples) is freed outside the lock.
    Voice released;
    Mixer& m = State();
    std::lock_guard<std::mutex> lock(m.lock);
    auto it = m.voices.find(buffer);
    if (it == m.voices.end())
        return;
    released = std::move(it->second);
    m.voices.erase(it);
    Log(m, "ReleaseBuffer " + Str(buffer));
}

bool Play(uint32_t buffer, bool loop) {
    return WithVoice(buffer, [&](Mixer& m, Voice& v) {
        v.playing = true;
        v.looping = loop;
        Log(m, "Play " + Str(buffer) + (loop ? " loop" : " once"));
    });
}

bool Stop(uint32_t buffer) {
    return WithVoice(buffer, [&](Mixer& m, Voice& v) {
        v.playing = false;
        Log(m, "Stop " + Str(buffer));
    });
}

bool SetPosition(uint32_t buffer, uint32_t bytes) {
    return WithVoice(buffer, [&](Mixer& m, Voice& v) {
        size_t frame = std::min<size_t>(bytes / v.samples->bytesPerFrame, v.samples->frames);
        v.position = uint64_t{frame} << 32;
        Log(m, "SetPosition " + Str(buffer) + " " + Str(bytes));
    });
}

uint32_t GetPosition(uint32_t buffer) {
    uint32_t bytes = 0;
    WithVoice(buffer, [&](Mixer&, Voice& v) {
        bytes = static_cast<uint32_t>((v.position >> 32) * v.samples->bytesPerFrame);
    });
    return bytes;
}

bool SetVolume(uint32_t buffer, int32_t attenuation) {
    return WithVoice(buffer, [&](Mixer& m, Voice& v) {
        v.volume = std::clamp(attenuation, kVolumeMin, kVolumeMax);
        Log(m, "SetVolume " + Str(buffer) + " " + Str(attenuation));
    });
}

bool SetPan(uint32_t buffer, int32_t pan) {
    return WithVoice(buffer, [&](Mixer& m, Voice& v) {
        v.pan = std::clamp(pan, kPanLeft, kPanRight);
        Log(m, "SetPan " + Str(buffer) + " " + Str(pan));
    });
}

bool SetFrequency(uint32_t buffer, uint32_t hertz) {
    return WithVoice(buffer, [&](Mixer& m, Voice& v) {
        v.frequency =
            hertz == 0 ? v.samples->rate : std::clamp(hertz, kFrequencyMin, kFrequencyMax);
        Log(m, "SetFrequency " + Str(buffer) + " " + Str(hertz));
    });
}

bool IsPlaying(uint32_t buffer) {
    bool playing = false;
    WithVoice(buffer, [&](Mixer&, Voice& v) { playing = v.playing; });
    return playing;
}

uint32_t OpenStream(uint32_t sampleRate, uint16_t channels) {
    if ((channels != 1 && channels != 2) || sampleRate < kFrequencyMin ||
        sampleRate > kFrequencyMax)
        return 0;
    // The ring is made outside the lock.
    Stream stream;
    stream.rate = sampleRate;
    stream.channels = channels;
    stream.capacity = std::max<size_t>(size_t{sampleRate} * 2, 4096);
    stream.ring.assign(stream.capacity * channels, 0);
    if (!TakesSound())
        return 0;

    Mixer& m = State();
    std::lock_guard<std::mutex> lock(m.lock);
    if (!m.output->TakesSound())
        return 0;
    uint32_t id = NewId(m);
    m.streams[id] = std::move(stream);
    Log(m, "OpenStream " + Str(id) + " " + Str(sampleRate) + "Hz " + Str(channels) + "ch");
    return id;
}

size_t QueueStream(uint32_t stream, const int16_t* samples, size_t frames) {
    size_t taken = 0;
    if (!samples)
        return 0;
    WithStream(stream, [&](Mixer&, Stream& s) {
        taken = std::min(frames, s.capacity - s.queued);
        size_t write = (s.read + s.queued) % s.capacity;
        // At most two runs: up to the ring's end, then from its start.
        size_t first = std::min(taken, s.capacity - write);
        std::copy_n(samples, first * s.channels,
                    s.ring.begin() + static_cast<ptrdiff_t>(write * s.channels));
        std::copy_n(samples + first * s.channels, (taken - first) * s.channels, s.ring.begin());
        s.queued += taken;
    });
    return taken;
}

bool StreamExists(uint32_t stream) {
    bool exists = false;
    WithStream(stream, [&](Mixer&, Stream&) { exists = true; });
    return exists;
}

size_t StreamQueuedFrames(uint32_t stream) {
    size_t queued = 0;
    WithStream(stream, [&](Mixer&, Stream& s) { queued = s.queued; });
    return queued;
}

uint64_t StreamPlayedFrames(uint32_t stream) {
    uint64_t played = 0;
    WithStream(stream, [&](Mixer&, Stream& s) { played = s.played; });
    return played;
}

void PauseStream(uint32_t stream, bool paused) {
    WithStream(stream, [&](Mixer& m, Stream& s) {
        s.paused = paused;
        Log(m, "PauseStream " + Str(stream) + (paused ? " on" : " off"));
    });
}

void SetStreamVolume(uint32_t stream, int32_t attenuation) {
    WithStream(stream, [&](Mixer& m, Stream& s) {
        s.volume = std::clamp(attenuation, kVolumeMin, kVolumeMax);
        Log(m, "SetStreamVolume " + Str(stream) + " " + Str(attenuation));
    });
}

void CloseStream(uint32_t stream) {
    // The ring is freed outside the lock.
    Stream closed;
    Mixer& m = State();
    std::lock_guard<std::mutex> lock(m.lock);
    auto it = m.streams.find(stream);
    if (it == m.streams.end())
        return;
    closed = std::move(it->second);
    m.streams.erase(it);
    Log(m, "CloseStream " + Str(stream));
}

} // namespace platform::audio
