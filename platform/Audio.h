#pragma once
// The sound output: our own mixer of sound buffers and streams.
//
// The mixer renders 44100 Hz, signed 16-bit stereo. Three back-ends, each
// an output of its own (platform/AudioOutput.h):
//   Null       no device: every buffer and stream creation fails, nothing
//              plays (platform/null/NullAudioOutput.h);
//   Sdl        an SDL audio device whose callback pulls the mix
//              (platform/AudioSdl.cpp);
//   Recording  no device: RenderRecording mixes the next frames on the
//              calling thread, and the buffer operations are kept as a log
//              of text lines, for tests and benchmarks
//              (platform/null/RecordingAudioOutput.h).
//
// Static buffers hold PCM samples (8-bit unsigned or 16-bit signed, mono or
// stereo) at their own rate; a duplicate shares the samples and has its own
// voice (position, volume, pan, frequency, playing state). Streams take
// signed 16-bit interleaved samples from the music and the movies into a
// ring buffer the mixer drains; a stream that runs dry plays silence.
//
// Every call is safe from any thread. The device callback never blocks: when
// another thread is inside the mixer it tries again a few times, giving way
// in between, and only then is that callback silent.
// Ids are never 0; an unknown id is ignored (or answers 0 / false).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform::audio {

constexpr uint32_t kMixRate = 44100;
constexpr uint16_t kMixChannels = 2;
// The frames the sound device is asked to take at a time (the SDL device
// may take more); a stream that holds less than this when the device pulls
// breaks up.
constexpr size_t kDeviceBufferFrames = 1024;

enum class Backend { Null, Sdl, Recording };

// Closes the open back-end (releasing every buffer and stream) and opens
// the given one. False when the SDL device cannot open; the mixer is then
// closed (CurrentBackend answers Null).
bool OpenAudio(Backend backend);
void CloseAudio();
Backend CurrentBackend();
// True from a successful OpenAudio (any back-end) to CloseAudio.
bool IsAudioOpen();

// By the environment variable ORVANDEL_AUDIO: "null", "record" or "sdl"
// (the default). When the SDL device cannot open, the Null back-end is
// opened instead, and one line on stderr says that the game plays without
// sound (the sound libraries' own lines are kept off it). Answers true when
// the chosen back-end is open.
bool OpenDefaultAudio();

// Recording back-end: mixes the next frames on the calling thread into out
// (frames x 2 interleaved samples). Other back-ends give silence.
void RenderRecording(size_t frames, std::vector<int16_t>& out);
// The buffer and stream operations made since the back-end opened or the
// log was last cleared, one line each, e.g. "Play 3 loop" (Recording only).
std::vector<std::string> RecordedCalls();
void ClearRecordedCalls();

// ---- static buffers ----

constexpr uint16_t kFormatPcm = 1;

struct WaveFormat {
    uint16_t formatTag = kFormatPcm;
    uint16_t channels = 1;
    uint32_t samplesPerSec = 22050;
    uint32_t avgBytesPerSec = 0; // not relied on
    uint16_t blockAlign = 0;     // not relied on: channels x bits / 8 is used
    uint16_t bitsPerSample = 16;
};

// Volume: hundredths of a decibel of attenuation, -10000 (silent) .. 0.
constexpr int32_t kVolumeMin = -10000;
constexpr int32_t kVolumeMax = 0;
// Pan: -10000 (left only) .. 0 (centre) .. 10000 (right only).
constexpr int32_t kPanLeft = -10000;
constexpr int32_t kPanRight = 10000;
// Frequency range of a voice in hertz.
constexpr uint32_t kFrequencyMin = 100;
constexpr uint32_t kFrequencyMax = 100000;

// A buffer holding a copy of the samples (a partial last frame is dropped).
// 0 on failure: no device, not PCM 8/16-bit mono/stereo, a rate outside
// the frequency range, or no whole frame of data.
uint32_t CreateBuffer(const WaveFormat& format, const uint8_t* data, size_t bytes);
// A new buffer sharing the samples of the given one, stopped at position 0
// with full volume, centre pan and the original frequency; 0 on failure.
uint32_t DuplicateBuffer(uint32_t buffer);
void ReleaseBuffer(uint32_t buffer);

// Plays from the current position; a looping voice starts again at the
// beginning when it reaches the end, a non-looping one stops and goes back
// to position 0.
bool Play(uint32_t buffer, bool loop);
// Stops; the position stays.
bool Stop(uint32_t buffer);
// Position in bytes of the buffer's own format (rounded down to a frame).
bool SetPosition(uint32_t buffer, uint32_t bytes);
uint32_t GetPosition(uint32_t buffer);
// Clamped to kVolumeMin..kVolumeMax.
bool SetVolume(uint32_t buffer, int32_t attenuation);
// Clamped to kPanLeft..kPanRight.
bool SetPan(uint32_t buffer, int32_t pan);
// Clamped to the frequency range; 0 restores the buffer's own rate.
bool SetFrequency(uint32_t buffer, uint32_t hertz);
// True while the voice plays (a non-looping voice that reached its end is
// not playing).
bool IsPlaying(uint32_t buffer);

// ---- streams ----

// A stream of signed 16-bit interleaved samples (1 or 2 channels) at the
// given rate (the frequency range), with a ring buffer of at least 2
// seconds. It plays as soon as samples are queued. 0 on failure or without
// a device.
uint32_t OpenStream(uint32_t sampleRate, uint16_t channels);
// Copies as many whole frames as fit in the ring buffer and answers how
// many it took; never waits.
size_t QueueStream(uint32_t stream, const int16_t* samples, size_t frames);
// True while the stream is open (closing it, or the mixer, ends it).
bool StreamExists(uint32_t stream);
// Frames queued and not yet played.
size_t StreamQueuedFrames(uint32_t stream);
// Frames of the stream's own rate played since it opened.
uint64_t StreamPlayedFrames(uint32_t stream);
// A paused stream keeps its queue and plays nothing.
void PauseStream(uint32_t stream, bool paused);
// Hundredths of a decibel of attenuation, clamped to kVolumeMin..kVolumeMax.
void SetStreamVolume(uint32_t stream, int32_t attenuation);
// Drops the stream and what it still holds.
void CloseStream(uint32_t stream);

} // namespace platform::audio
