#include "engine/DirectSound.h"

#include <algorithm>
#include <cstring>

#include "engine/CriticalError.h"
#include "engine/File.h"
#include "engine/Random.h"

namespace audio = platform::audio;

CDirectSound* g_sound = nullptr;
CAudioConfig* g_audioConfig = nullptr;

namespace {

// Result codes reported for the failures of this file.
constexpr int32_t kInvalidArgument = static_cast<int32_t>(0x80070057u);
constexpr int32_t kOutOfMemory = static_cast<int32_t>(0x8007000Eu);
constexpr int32_t kBadFormat = static_cast<int32_t>(0x88780064u);
constexpr int32_t kNoDriver = static_cast<int32_t>(0x88780078u);

void Report(int line, int32_t result) {
    ReportDirectXError("DirectSound", line, result);
}

uint32_t ReadU32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t ReadU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

} // namespace

// ---- CSoundPlayer ----

void CSoundPlayer::PlayOneOf5(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e) {
    const uint32_t ids[] = {a, b, c, d, e};
    Play(ids[GameRand() % 5]);
}

void CSoundPlayer::PlayOneOf4(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
    const uint32_t ids[] = {a, b, c, d};
    Play(ids[GameRand() & 3]);
}

void CSoundPlayer::PlayOneOf3(uint32_t a, uint32_t b, uint32_t c) {
    const uint32_t ids[] = {a, b, c};
    Play(ids[GameRand() % 3]);
}

void CSoundPlayer::PlayOneOf2(uint32_t a, uint32_t b) {
    Play((GameRand() & 1) ? b : a);
}

void CSoundPlayer::Play(uint32_t id) {
    PlaySound(id, 0, 10000, 128);
}

// ---- ParseWav ----

bool ParseWav(const uint8_t* image, size_t size, audio::WaveFormat& format, const uint8_t*& data,
              uint32_t& dataSize) {
    if (!image || size < 12 || std::memcmp(image, "RIFF", 4) != 0 ||
        std::memcmp(image + 8, "WAVE", 4) != 0)
        return false;
    const uint64_t end = std::min<uint64_t>(uint64_t{ReadU32(image + 4)} + 8, size);
    bool haveFormat = false;
    bool haveData = false;
    uint64_t offset = 12;
    while (offset + 8 <= end && !(haveFormat && haveData)) {
        const uint8_t* chunk = image + offset;
        const uint32_t chunkSize = ReadU32(chunk + 4);
        const uint64_t body = offset + 8;
        if (!haveFormat && std::memcmp(chunk, "fmt ", 4) == 0) {
            if (chunkSize < 14 || body + chunkSize > end)
                return false;
            const uint8_t* f = image + body;
            format = audio::WaveFormat{};
            format.formatTag = ReadU16(f);
            format.channels = ReadU16(f + 2);
            format.samplesPerSec = ReadU32(f + 4);
            format.avgBytesPerSec = ReadU32(f + 8);
            format.blockAlign = ReadU16(f + 12);
            format.bitsPerSample = chunkSize >= 16 ? ReadU16(f + 14) : 0;
            haveFormat = true;
        } else if (!haveData && std::memcmp(chunk, "data", 4) == 0) {
            data = image + body;
            dataSize = static_cast<uint32_t>(std::min<uint64_t>(chunkSize, end - body));
            haveData = true;
        }
        offset = body + chunkSize + (chunkSize & 1);
    }
    return haveFormat && haveData;
}

// ---- CDirectSound ----

CDirectSound::CDirectSound() : m_slots(kSlots) {
    m_slotOfId.fill(-1);
    if (!audio::IsAudioOpen()) {
        audio::OpenDefaultAudio();
        m_openedAudio = true;
    }
    if (audio::CurrentBackend() == audio::Backend::Null)
        Report(__LINE__, kNoDriver);
}

CDirectSound::~CDirectSound() {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        for (Slot& slot : m_slots)
            ReleaseLocked(slot);
    }
    if (m_openedAudio)
        audio::CloseAudio();
}

uint32_t CDirectSound::LoadWav(const std::string& path, uint32_t copies) {
    (void)copies; // every buffer of the mixer has frequency, pan and volume control
    CFile file(path);
    if (file.IsFailed())
        return 0;
    std::vector<uint8_t> image(static_cast<size_t>(std::max(file.GetSize(), 0)));
    if (!image.empty() && !file.Read(image.data(), static_cast<uint32_t>(image.size())))
        return 0;
    audio::WaveFormat format;
    const uint8_t* data = nullptr;
    uint32_t dataSize = 0;
    if (!ParseWav(image.data(), image.size(), format, data, dataSize))
        return 0;
    const uint32_t buffer = audio::CreateBuffer(format, data, dataSize);
    if (buffer == 0)
        Report(__LINE__, audio::CurrentBackend() == audio::Backend::Null ? kNoDriver : kBadFormat);
    return buffer;
}

bool CDirectSound::LoadSound(uint32_t id, const std::string& path, uint32_t copies) {
    if (id >= kSlots) {
        DebugPrint("LoadSound: sound id %u is outside 0..1023 (%s)\n", id, path.c_str());
        Report(__LINE__, kInvalidArgument);
        return false;
    }
    uint32_t source = 0;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_slotCount >= kSlots) {
            DebugPrint("LoadSound: all 1024 sound slots are taken (%s)\n", path.c_str());
            Report(__LINE__, kOutOfMemory);
            return false;
        }
        for (uint32_t s = 0; s < m_slotCount; ++s)
            if (m_slots[s].buffers[0] != 0 && m_slots[s].name == path) {
                source = m_slots[s].buffers[0];
                break;
            }
    }
    // The file is read outside the lock: the timer thread keeps playing.
    const uint32_t buffer = source != 0 ? audio::DuplicateBuffer(source) : LoadWav(path, copies);
    if (buffer == 0)
        return false;

    std::lock_guard<std::mutex> lock(m_lock);
    if (m_slotCount >= kSlots) { // filled meanwhile by another thread
        audio::ReleaseBuffer(buffer);
        return false;
    }
    const uint32_t index = m_slotCount++;
    Slot& slot = m_slots[index];
    slot = Slot{};
    slot.buffers[0] = buffer;
    slot.name = path;
    if (copies == 1) {
        slot.copies = true;
        for (uint32_t c = 1; c < kCopies; ++c)
            slot.buffers[c] = audio::DuplicateBuffer(buffer);
    }
    m_slotOfId[id] = static_cast<int32_t>(index);
    return true;
}

void CDirectSound::ReleaseLocked(Slot& slot) {
    for (uint32_t& buffer : slot.buffers) {
        if (buffer != 0)
            audio::ReleaseBuffer(buffer);
        buffer = 0;
    }
    slot = Slot{};
}

void CDirectSound::ReleaseSound(uint32_t slot) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (slot < kSlots)
        ReleaseLocked(m_slots[slot]);
}

void CDirectSound::PlaySound(uint32_t id, uint32_t loop, int32_t volume, int32_t pan) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (id >= kSlots || m_slotOfId[id] < 0)
        return;
    Slot& slot = m_slots[static_cast<size_t>(m_slotOfId[id])];
    if (slot.buffers[0] == 0)
        return;
    uint32_t copy = 0;
    if (slot.copies) {
        for (uint32_t c = 0; c < kCopies; ++c)
            if (!slot.looping[c] && !audio::IsPlaying(slot.buffers[c])) {
                copy = c;
                break;
            }
    }
    const uint32_t buffer = slot.buffers[copy];
    audio::SetVolume(buffer, volume - 10000);
    audio::SetPan(buffer, pan);
    audio::SetPosition(buffer, 0);
    if (!audio::Play(buffer, loop == 1))
        Report(__LINE__, kInvalidArgument);
    slot.state[copy] = kPlaying;
    slot.looping[copy] = loop == 1 ? 1 : 0;
}

void CDirectSound::Stop(uint32_t slot) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (slot >= kSlots)
        return;
    Slot& s = m_slots[slot];
    for (uint32_t c = 0; c < CopyCount(s); ++c) {
        if (s.buffers[c] != 0)
            audio::Stop(s.buffers[c]);
        s.state[c] = kStopped;
        s.looping[c] = 0;
    }
}

void CDirectSound::Pause(uint32_t slot) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (slot >= kSlots)
        return;
    Slot& s = m_slots[slot];
    for (uint32_t c = 0; c < CopyCount(s); ++c) {
        if (s.buffers[c] != 0 && audio::IsPlaying(s.buffers[c])) {
            audio::Stop(s.buffers[c]);
            s.state[c] = kPaused;
        } else {
            s.state[c] = kStopped;
        }
    }
}

void CDirectSound::Play(SoundSlot slotNumber) {
    const uint32_t slot = static_cast<uint32_t>(slotNumber);
    std::lock_guard<std::mutex> lock(m_lock);
    if (slot >= kSlots || m_slots[slot].buffers[0] == 0)
        return;
    Slot& s = m_slots[slot];
    if (!s.copies) {
        audio::Play(s.buffers[0], s.state[0] == kPaused && s.looping[0]);
        s.state[0] = kPlaying;
        return;
    }
    for (uint32_t c = 0; c < kCopies; ++c)
        if (s.state[c] == kPaused) {
            audio::Play(s.buffers[c], s.looping[c] != 0);
            s.state[c] = kPlaying;
        }
}

void CDirectSound::SetFrequency(uint32_t slot, uint32_t hertz) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (slot >= kSlots)
        return;
    hertz = std::clamp(hertz, audio::kFrequencyMin, audio::kFrequencyMax);
    const Slot& s = m_slots[slot];
    for (uint32_t c = 0; c < CopyCount(s); ++c)
        if (s.buffers[c] != 0)
            audio::SetFrequency(s.buffers[c], hertz);
}

void CDirectSound::SetPan(uint32_t slot, int32_t pan) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (slot >= kSlots)
        return;
    pan = std::clamp(pan, audio::kPanLeft, audio::kPanRight);
    const Slot& s = m_slots[slot];
    for (uint32_t c = 0; c < CopyCount(s); ++c)
        if (s.buffers[c] != 0)
            audio::SetPan(s.buffers[c], pan);
}

void CDirectSound::SetVolumeLocked(uint32_t slot, int32_t volume) {
    if (slot >= kSlots)
        return;
    volume = std::clamp(volume, 0, 10000);
    const Slot& s = m_slots[slot];
    for (uint32_t c = 0; c < CopyCount(s); ++c)
        if (s.buffers[c] != 0)
            audio::SetVolume(s.buffers[c], volume - 10000);
}

void CDirectSound::SetVolume(uint32_t slot, int32_t volume) {
    std::lock_guard<std::mutex> lock(m_lock);
    SetVolumeLocked(slot, volume);
}

void CDirectSound::SetMasterVolume(uint32_t level) {
    std::lock_guard<std::mutex> lock(m_lock);
    const int32_t volume =
        static_cast<int32_t>(std::min<uint64_t>(uint64_t{level} * 10000 / 255, 10000));
    for (uint32_t slot = m_slotCount; slot-- > 1;)
        SetVolumeLocked(slot, volume);
}

bool CDirectSound::IsPlaying(uint32_t slot) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (slot >= kSlots)
        return false;
    const Slot& s = m_slots[slot];
    for (uint32_t c = 0; c < CopyCount(s); ++c)
        if (s.buffers[c] != 0 && audio::IsPlaying(s.buffers[c]))
            return true;
    return false;
}

uint32_t CDirectSound::SlotCount() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_slotCount;
}

std::string CDirectSound::SlotName(uint32_t slot) const {
    std::lock_guard<std::mutex> lock(m_lock);
    return slot < kSlots ? m_slots[slot].name : std::string();
}

uint32_t CDirectSound::Buffer(uint32_t slot, uint32_t copy) const {
    std::lock_guard<std::mutex> lock(m_lock);
    return slot < kSlots && copy < kCopies ? m_slots[slot].buffers[copy] : 0;
}
