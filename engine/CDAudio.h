#pragma once
// The music: the tracks of the game's music device (platform/Music.h), one
// player object g_cdAudio, and the choice of the next track when one ends.
//
// Tracks 2 to 6 are the music. When a track ends, the window procedure gets
// MciNotify and calls PlayNextMusicTrack: outside a game it plays track 2;
// in a game it alternates a track of the player's country with a track of
// the era.
#include <array>
#include <cstdint>
#include <memory>

namespace platform {
class MusicDevice;
}

constexpr uint32_t kCDMaxTracks = 100;

// A track's length: whole seconds, and the same as minutes, seconds and
// frames (75 a second).
struct CDTrackLength {
    uint16_t length = 0; // minutes x 60 + seconds
    uint16_t minutes = 0;
    uint16_t seconds = 0;
    uint16_t frames = 0;
};

// The entry of a track of the length in seconds (finite, not negative).
CDTrackLength MakeTrackLength(double length);

class CCDAudio {
public:
    // Opens the music device and reads its tracks. Without one (no music
    // files, no sound output) every command fails quietly.
    CCDAudio();
    // Stops and closes the device; its id becomes 0.
    virtual ~CCDAudio();
    CCDAudio(const CCDAudio&) = delete;
    CCDAudio& operator=(const CCDAudio&) = delete;

    // The track count (at most 100) and each track's length; 0 without a
    // device. A missing track has length 0.
    int16_t ReadTracks();
    // Plays the track from its start, with an end notice. Nothing for track
    // 0, a track above the count or a track that cannot play (false).
    bool PlayTrack(uint32_t track);
    // Resumes when paused, otherwise pauses.
    void TogglePause();
    // Stops the device; no track is current.
    void Stop();

    int16_t trackCount = 0;
    std::array<CDTrackLength, kCDMaxTracks + 1> tracks{}; // index 1..100
    uint16_t currentTrack = 0;                            // 0: none
    uint16_t requestedTrack = 0;                          // the track last asked for
    uint8_t paused = 0;
    uint32_t startTime = 0; // milliseconds of the system clock
    uint32_t pauseTime = 0;

private:
    std::unique_ptr<platform::MusicDevice> m_device;
};

// The music player; null until start-up makes it.
extern CCDAudio* g_cdAudio;

// The id of the open music device (the data word of its end notices); 0
// while none is open.
uint32_t GetCDAudioDeviceId();

// The kind of the next music choice.
constexpr uint32_t kMusicCountryTrack = 0;
constexpr uint32_t kMusicEraTrack = 1;

// Null until CreateMusicState.
extern std::unique_ptr<uint32_t> g_musicState;
// Replaces the state with a new one of kind kMusicCountryTrack.
void CreateMusicState();
void DeleteMusicState();

// What the music choice asks of the game. The owners fill the entries once,
// by static registrations in the files that define the state; a null entry
// answers as without the owner's object: not in a game, no country.
struct MusicChoiceHooks {
    // frontend: the front end's game-started flag (set from the hand-over
    // to a game until the main menu shows again).
    bool (*isGameStarted)() = nullptr;
    // country: the music group of the country the local player leads (the
    // country of this machine's slot of the session); false when there is
    // none.
    bool (*localCountryMusicGroup)(int32_t& group) = nullptr;
};

// Constant-initialised (all null) before any static registration runs.
extern MusicChoiceHooks g_musicChoice;

// Stops the music and plays the next track: outside a game (the front
// end's game-started flag clear) track 2, kind back to the country track.
// In a game the kind flips; the country track is 3 for a local player's
// country of music group 10, else 2, and nothing plays without a country;
// the era track goes by the year: before 1575 track 4, to 1674 track 5, to
// 1792 track 6, then 2. Nothing for a null state.
void PlayNextMusicTrack(uint32_t* state);
