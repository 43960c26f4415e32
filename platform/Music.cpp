#include "platform/Music.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

#include "platform/Audio.h"
#include "platform/EventPump.h"
#include "platform/Files.h"
#include "platform/MusicDecoder.h"

namespace platform {

namespace {

// The decoder keeps about this much music queued ahead of the playing.
constexpr size_t kFramesAhead = audio::kMixRate / 2;
// How often the decoder thread looks at the queue when it is full enough.
constexpr auto kPollInterval = std::chrono::milliseconds(5);

std::atomic<uint32_t> g_nextDeviceId{1};

// The track number of a file name "trackNN.ext" (NN as "%02d" prints it,
// any extension, any case); 0 for other names.
uint32_t TrackNumberOf(const std::string& name) {
    constexpr std::string_view kPrefix = "track";
    if (name.size() <= kPrefix.size())
        return 0;
    for (size_t i = 0; i < kPrefix.size(); ++i)
        if ((name[i] | 0x20) != kPrefix[i])
            return 0;
    const size_t dot = name.find('.', kPrefix.size());
    if (dot == std::string::npos || dot + 1 == name.size())
        return 0;
    const std::string digits = name.substr(kPrefix.size(), dot - kPrefix.size());
    if (digits.empty() || digits.size() > 3 ||
        digits.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    const uint32_t number = static_cast<uint32_t>(std::stoul(digits));
    char expected[8];
    std::snprintf(expected, sizeof expected, "%02u", number);
    return number >= 1 && number <= kMaxMusicTracks && digits == expected ? number : 0;
}

} // namespace

// One track being played: the mixer's stream and the thread that decodes
// into it. Ending it (the destructor) stops the thread; a notice posted
// before that is taken back.
class MusicDevice::Playback {
public:
    Playback(uint32_t deviceId, uint32_t stream, std::string path)
        : m_deviceId(deviceId), m_stream(stream),
          m_thread([this, p = std::move(path)] { Run(p); }) {}

    ~Playback() {
        {
            std::lock_guard lock(m_mutex);
            m_stopped = true;
        }
        m_wake.notify_all();
        m_thread.join();
        audio::CloseStream(m_stream);
        DropWindowMessages(MessageType::MciNotify, m_deviceId);
    }

    uint32_t Stream() const { return m_stream; }

    // False once the track has played out (or could not be decoded).
    bool IsPlaying() const { return !m_done; }

private:
    // Waits a little; false when the playing was stopped.
    bool Wait() {
        std::unique_lock lock(m_mutex);
        return !m_wake.wait_for(lock, kPollInterval, [this] { return m_stopped; });
    }

    void Run(const std::string& path) {
        MusicDecoder decoder;
        if (!decoder.Open(path, audio::kMixRate, audio::kMixChannels)) {
            m_done = true; // the file went bad since the device opened: silence, no notice
            return;
        }
        std::vector<int16_t> pending; // decoded, not yet queued
        size_t queued = 0;            // frames of pending already queued
        bool more = true;
        bool played = false; // some music reached the stream
        for (;;) {
            // A mixer closed under the track took the stream along: the
            // playing is over, without a notice.
            if (!audio::StreamExists(m_stream)) {
                m_done = true;
                return;
            }
            // Keep the queue filled ahead of the playing.
            while (audio::StreamQueuedFrames(m_stream) < kFramesAhead) {
                if (queued * audio::kMixChannels == pending.size()) {
                    pending.clear();
                    queued = 0;
                    if (!more)
                        break;
                    more = decoder.Decode(pending);
                    continue;
                }
                const size_t left = pending.size() / audio::kMixChannels - queued;
                const size_t taken = audio::QueueStream(
                    m_stream, pending.data() + queued * audio::kMixChannels, left);
                queued += taken;
                played = played || taken > 0;
                if (taken < left)
                    break;
            }
            if (!more && pending.empty() && audio::StreamQueuedFrames(m_stream) == 0)
                break;
            if (!Wait())
                return;
        }
        // Played to the end: the notice, unless a stop came first or the file
        // gave no sound at all (a notice would only have it played again).
        std::lock_guard lock(m_mutex);
        m_done = true;
        if (!m_stopped && played)
            PostWindowMessage({MessageType::MciNotify, kMusicNotifySuccess, m_deviceId});
    }

    const uint32_t m_deviceId;
    const uint32_t m_stream;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopped = false; // guarded by m_mutex
    std::atomic<bool> m_done{false};
    std::thread m_thread; // last: it starts once the fields above exist
};

std::unique_ptr<MusicDevice> MusicDevice::Open() {
    if (audio::CurrentBackend() == audio::Backend::Null)
        return nullptr;
    std::vector<Track> tracks;
    for (const std::string& name : ListGameFiles("music\\track*")) {
        const uint32_t number = TrackNumberOf(name);
        if (number == 0)
            continue;
        if (tracks.size() < number)
            tracks.resize(number);
        Track& track = tracks[number - 1];
        if (!track.path.empty())
            continue; // the first readable file of a number serves
        const std::string path = "music\\" + name;
        double seconds = 0.0;
        if (ReadMusicLength(path, seconds))
            track = {path, seconds};
    }
    if (tracks.empty())
        return nullptr;
    return std::unique_ptr<MusicDevice>(new MusicDevice(g_nextDeviceId++, std::move(tracks)));
}

MusicDevice::MusicDevice(uint32_t id, std::vector<Track> tracks)
    : m_id(id), m_tracks(std::move(tracks)) {}

MusicDevice::~MusicDevice() {
    Stop();
}

bool MusicDevice::TrackLength(uint32_t track, double& seconds) const {
    if (track < 1 || track > m_tracks.size() || m_tracks[track - 1].path.empty())
        return false;
    seconds = m_tracks[track - 1].seconds;
    return true;
}

bool MusicDevice::Play(uint32_t track) {
    Stop();
    if (track < 1 || track > m_tracks.size() || m_tracks[track - 1].path.empty())
        return false;
    const uint32_t stream = audio::OpenStream(audio::kMixRate, audio::kMixChannels);
    if (stream == 0)
        return false;
    m_playback = std::make_unique<Playback>(m_id, stream, m_tracks[track - 1].path);
    return true;
}

bool MusicDevice::Pause() {
    if (!m_playback || m_paused || !m_playback->IsPlaying())
        return false;
    audio::PauseStream(m_playback->Stream(), true);
    m_paused = true;
    return true;
}

bool MusicDevice::Resume() {
    if (!m_playback || !m_paused)
        return false;
    audio::PauseStream(m_playback->Stream(), false);
    m_paused = false;
    return true;
}

bool MusicDevice::Stop() {
    m_paused = false;
    if (!m_playback)
        return false;
    m_playback.reset();
    return true;
}

} // namespace platform
