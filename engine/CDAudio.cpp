#include "engine/CDAudio.h"

#include <algorithm>
#include <cmath>

#include "engine/GameTimer.h"
#include "platform/Music.h"
#include "platform/System.h"

CCDAudio* g_cdAudio = nullptr;
std::unique_ptr<uint32_t> g_musicState;
constinit MusicChoiceHooks g_musicChoice;

namespace {

uint32_t g_deviceId = 0;

constexpr uint32_t kFramesPerSecond = 75;
constexpr int32_t kOwnTrackMusicGroup = 10;

bool InAGame() {
    return g_musicChoice.isGameStarted && g_musicChoice.isGameStarted();
}

bool LocalCountryMusicGroup(int32_t& group) {
    return g_musicChoice.localCountryMusicGroup && g_musicChoice.localCountryMusicGroup(group);
}

uint32_t EraTrack(int year) {
    if (year < 1575)
        return 4;
    if (year < 1675)
        return 5;
    if (year < 1793)
        return 6;
    return 2;
}

} // namespace

CCDAudio::CCDAudio() : m_device(platform::MusicDevice::Open()) {
    if (m_device)
        g_deviceId = m_device->Id();
    ReadTracks();
}

CCDAudio::~CCDAudio() {
    if (m_device) {
        m_device->Stop();
        m_device.reset();
        g_deviceId = 0;
    }
}

CDTrackLength MakeTrackLength(double length) {
    // At most 65535 whole seconds are kept; the frames are those of the last
    // second begun.
    const double whole = std::min(std::floor(length), 65535.0);
    CDTrackLength entry;
    entry.minutes = static_cast<uint16_t>(whole / 60);
    entry.seconds = static_cast<uint16_t>(static_cast<uint32_t>(whole) % 60);
    entry.frames = static_cast<uint16_t>((length - std::floor(length)) * kFramesPerSecond);
    entry.length = static_cast<uint16_t>(entry.minutes * 60 + entry.seconds);
    return entry;
}

int16_t CCDAudio::ReadTracks() {
    trackCount = 0;
    tracks = {};
    if (!m_device)
        return 0;
    trackCount = static_cast<int16_t>(std::min(m_device->TrackCount(), kCDMaxTracks));
    for (uint32_t track = 1; track <= static_cast<uint32_t>(trackCount); ++track) {
        double length = 0.0;
        if (!m_device->TrackLength(track, length))
            continue;
        if (!std::isfinite(length) || length < 0.0)
            continue;
        tracks[track] = MakeTrackLength(length);
    }
    return trackCount;
}

bool CCDAudio::PlayTrack(uint32_t track) {
    requestedTrack = static_cast<uint16_t>(std::min<uint32_t>(track, UINT16_MAX));
    if (track == 0 || track > static_cast<uint32_t>(trackCount) || !m_device ||
        !m_device->Play(track))
        return false;
    startTime = platform::Milliseconds();
    paused = 0;
    pauseTime = 0;
    currentTrack = static_cast<uint16_t>(track);
    return true;
}

void CCDAudio::TogglePause() {
    if (!m_device)
        return;
    if (paused) {
        if (m_device->Resume()) {
            paused = 0;
            pauseTime = 0;
        }
    } else if (m_device->Pause()) {
        paused = 1;
        pauseTime = platform::Milliseconds();
    }
}

void CCDAudio::Stop() {
    if (m_device)
        m_device->Stop();
    currentTrack = 0;
}

uint32_t GetCDAudioDeviceId() {
    return g_deviceId;
}

void CreateMusicState() {
    g_musicState = std::make_unique<uint32_t>(kMusicCountryTrack);
}

void DeleteMusicState() {
    g_musicState.reset();
}

void PlayNextMusicTrack(uint32_t* state) {
    if (!state)
        return;
    if (g_cdAudio)
        g_cdAudio->Stop();
    const bool inGame = InAGame();
    if (inGame)
        *state = *state == kMusicCountryTrack ? kMusicEraTrack : kMusicCountryTrack;
    else
        *state = kMusicCountryTrack;

    uint32_t track = 2;
    if (*state == kMusicEraTrack) {
        track = EraTrack(g_gameTimer ? g_gameTimer->GetDate().year : 0);
    } else if (inGame) {
        int32_t musicGroup = 0;
        if (!LocalCountryMusicGroup(musicGroup))
            return;
        track = musicGroup == kOwnTrackMusicGroup ? 3 : 2;
    }
    if (g_cdAudio)
        g_cdAudio->PlayTrack(track);
}
