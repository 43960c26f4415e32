#pragma once
// Sound effects: WAV files loaded once into sound buffers of the mixer
// (platform/Audio.h) and played by sound id.
//
// CDirectSound keeps 1024 slots, filled from 0 upward; each sound id
// (0..1023) is mapped to the slot that holds it. A slot loaded with copies
// holds 64 buffers sharing the samples, so that up to 64 instances of the
// sound play at once. Loading a file that a filled slot already holds makes
// a duplicate of that slot's buffer instead of reading the file again.
//
// Called from the main thread and, through the sound patterns, from the
// timer thread (PlaySound and the volume and pan setters); every operation
// holds the object's lock.
#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "engine/DirectX.h"
#include "platform/Audio.h"

// The abstract player: loading, playing by id and the random choice among
// two to five sounds (by GameRand).
class CSoundPlayer {
public:
    virtual ~CSoundPlayer() = default;

    virtual bool LoadSound(uint32_t id, const std::string& path, uint32_t copies) = 0;
    virtual void ReleaseSound(uint32_t slot) = 0;
    // volume 0..10000 (10000 full), pan -10000..10000.
    virtual void PlaySound(uint32_t id, uint32_t loop, int32_t volume, int32_t pan) = 0;

    virtual void PlayOneOf5(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e);
    virtual void PlayOneOf4(uint32_t a, uint32_t b, uint32_t c, uint32_t d);
    virtual void PlayOneOf3(uint32_t a, uint32_t b, uint32_t c);
    virtual void PlayOneOf2(uint32_t a, uint32_t b);
    // PlaySound (id, no loop, full volume, pan 128).
    virtual void Play(uint32_t id);
};

// A slot number where it must not be taken for a sound id: the resume
// operation CDirectSound::Play (SoundSlot) beside CSoundPlayer::Play (id).
enum class SoundSlot : uint32_t {};

class CDirectSound : public CSoundPlayer, public CDirectXObject {
public:
    static constexpr uint32_t kSlots = 1024;
    static constexpr uint32_t kCopies = 64;

    // Opens the default audio output when nothing has opened one yet. With
    // no device every load fails and nothing plays.
    CDirectSound();
    ~CDirectSound() override;
    CDirectSound(const CDirectSound&) = delete;
    CDirectSound& operator=(const CDirectSound&) = delete;

    // Fills the next slot with the file (a Windows-style game path) and maps
    // the id to it; copies 1 gives the slot 64 copies. False for an id
    // outside 0..1023, a full table, or a file that cannot be loaded.
    bool LoadSound(uint32_t id, const std::string& path, uint32_t copies) override;
    void ReleaseSound(uint32_t slot) override;
    // In a slot with copies, the first copy that is neither playing nor
    // looping (copy 0 when all are busy). An id that is not loaded plays
    // nothing.
    void PlaySound(uint32_t id, uint32_t loop, int32_t volume, int32_t pan) override;
    using CSoundPlayer::Play;

    virtual void Stop(uint32_t slot);
    // Stops the copies that play and marks them paused.
    virtual void Pause(uint32_t slot);
    // Plays the paused copies again; a single buffer plays from its position.
    virtual void Play(SoundSlot slot);
    // Clamped to 100..100000 hertz.
    virtual void SetFrequency(uint32_t slot, uint32_t hertz);
    // Clamped to -10000..10000.
    virtual void SetPan(uint32_t slot, int32_t pan);
    // level 0..255: every filled slot but slot 0 gets the volume level x
    // 10000 / 255.
    virtual void SetMasterVolume(uint32_t level);
    // volume 0..10000 (clamped); the buffers get volume - 10000.
    virtual void SetVolume(uint32_t slot, int32_t volume);
    virtual bool IsPlaying(uint32_t slot);

    // The buffer of the file's sound, or 0: reads the file, parses it and
    // makes the buffer.
    uint32_t LoadWav(const std::string& path, uint32_t copies);

    // Inspection.
    uint32_t SlotCount() const;
    // The slot's file name ("empty" while free; "" for a slot number out of
    // range).
    std::string SlotName(uint32_t slot) const;
    // The mixer buffer of copy c of the slot (0 when none).
    uint32_t Buffer(uint32_t slot, uint32_t copy) const;

private:
    enum State : uint8_t { kStopped = 0, kPlaying = 1, kPaused = 2 };

    struct Slot {
        std::array<uint32_t, kCopies> buffers{};
        std::array<uint8_t, kCopies> state{};
        std::array<uint8_t, kCopies> looping{};
        bool copies = false;
        std::string name = "empty";
    };

    uint32_t CopyCount(const Slot& slot) const { return slot.copies ? kCopies : 1; }
    void SetVolumeLocked(uint32_t slot, int32_t volume);
    void ReleaseLocked(Slot& slot);

    mutable std::mutex m_lock;
    std::vector<Slot> m_slots;
    uint32_t m_slotCount = 0;
    std::array<int32_t, kSlots> m_slotOfId; // -1: the id is not loaded
    bool m_openedAudio = false;
};

// The sound effects; null until start-up makes them.
extern CDirectSound* g_sound;

// Finds the format and the samples of a WAV file image: "RIFF", a length,
// "WAVE", then chunks {id, u32 size, data padded to even} within the RIFF
// length; the first "fmt " (at least 14 bytes) and the first "data" chunk.
// A "data" chunk running past the end of the image keeps the bytes that are
// there. False when either chunk is missing or the image is not a WAV.
bool ParseWav(const uint8_t* image, size_t size, platform::audio::WaveFormat& format,
              const uint8_t*& data, uint32_t& dataSize);

// The sound set-up record made at start-up; nothing else reads it.
struct CAudioConfig {
    platform::audio::WaveFormat format{platform::audio::kFormatPcm, 2, 11025, 11025 * 4, 4, 16};
    uint32_t secondRate = 22050;
    uint8_t enabled = 1;
    uint8_t effectsEnabled = 1;
    uint8_t streamingEnabled = 1;
    uint32_t osVersion = 0;
};

// Null until start-up makes it.
extern CAudioConfig* g_audioConfig;
