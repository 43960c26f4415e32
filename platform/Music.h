#pragma once
// The music device: the game's music tracks, numbered like the audio tracks
// of a disc, played through a stream of the mixer (platform/Audio.h).
//
// Track N is the file "music\trackNN" (two digits at least, "track07.ogg",
// "track100.flac") with any extension FFmpeg decodes, found without regard
// to case. The track count is the highest number found (at most 100); a
// number below it without a readable file is a missing track that fails to
// play.
//
// A track is decoded on a thread of the device's own and queued to the
// mixer ahead of the playing; no command waits for decoding. When a track
// plays to its end the device posts the window message MciNotify with code
// kMusicNotifySuccess and the device id as data; a track that gives no sound
// at all, or whose stream the mixer dropped (closing), ends without one. A stop or a new play takes
// back a notice of the device that is still waiting and none comes later.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

constexpr uint32_t kMaxMusicTracks = 100;
constexpr uint32_t kMusicNotifySuccess = 1;

class MusicDevice {
public:
    // Finds the tracks. Null when no track file exists or the mixer has no
    // device.
    static std::unique_ptr<MusicDevice> Open();
    // Stops the playing.
    ~MusicDevice();
    MusicDevice(const MusicDevice&) = delete;
    MusicDevice& operator=(const MusicDevice&) = delete;

    // Never 0; a device opened later gets another id.
    uint32_t Id() const { return m_id; }
    uint32_t TrackCount() const { return static_cast<uint32_t>(m_tracks.size()); }
    // The length of the track (1..count) in seconds (ReadMusicLength);
    // false for a missing track.
    bool TrackLength(uint32_t track, double& seconds) const;

    // Plays the track from its start, replacing what plays. False for a
    // missing track or when the mixer refuses a stream.
    bool Play(uint32_t track);
    // Pauses the playing track; false when nothing plays or it is paused.
    bool Pause();
    // Goes on where the pause stopped; false when not paused.
    bool Resume();
    // Ends the playing (there is no notice); false when nothing played.
    bool Stop();

private:
    struct Track {
        std::string path; // game path; empty for a missing track
        double seconds = 0.0;
    };
    class Playback;

    MusicDevice(uint32_t id, std::vector<Track> tracks);

    uint32_t m_id;
    std::vector<Track> m_tracks; // index 0 is track 1
    std::unique_ptr<Playback> m_playback;
    bool m_paused = false;
};

} // namespace platform
