#include "engine/SoundPattern.h"

#include <algorithm>
#include <cmath>

#include "engine/DirectSound.h"
#include "engine/Random.h"
#include "platform/System.h"

PatternPlayer g_patternPlayer;
constinit MapDistanceX g_patternMapDx = nullptr;

namespace {

const char* const kMutexName = "PatternPlayer Mutex";

// The choice among a sound step's alternatives draws from a sequence of its
// own, run under the player's mutex: the game's GameRand belongs to the main
// thread, and its sequence must not depend on when the timer fires.
uint32_t g_patternRandState = 1;

int PatternRand() {
    return NextRand15(g_patternRandState);
}

} // namespace

// ---- CSoundPattern ----

CSoundPattern::CSoundPattern(std::span<const PatternStep> steps, uint32_t ticksPerInterval,
                             uint32_t x, uint32_t y)
    : m_steps(steps), m_ticksPerInterval(std::max(ticksPerInterval, 1u)), m_x(x), m_y(y) {}

void CSoundPattern::Restart() {
    std::lock_guard<std::mutex> lock(platform::NamedMutex(kMutexName));
    m_step = 0;
    m_intervalsLeft = 1;
    m_ticksLeft = 1;
    m_finished = false;
}

uint32_t CSoundPattern::VolumeAndPan(int32_t centreX, int32_t centreY) const {
    if (m_x == kNoPosition && m_y == kNoPosition)
        return m_step < m_steps.size() ? m_steps[m_step].volume : 0;
    // The short way round the map, as the map itself wraps.
    const int64_t plainDx = int64_t{centreX} - static_cast<int32_t>(m_x);
    const int64_t dx = g_patternMapDx ? g_patternMapDx(plainDx) : plainDx;
    const int64_t dy = int64_t{centreY} - static_cast<int32_t>(m_y);
    const int64_t d =
        static_cast<int64_t>(std::sqrt(static_cast<double>(dx * dx + dy * dy)) * 0.5) >> 2;
    return static_cast<uint32_t>(std::max<int64_t>(192 - d, 0));
}

bool CSoundPattern::Advance(int32_t centreX, int32_t centreY) {
    if (--m_ticksLeft != 0)
        return true;
    const uint32_t packed = VolumeAndPan(centreX, centreY);
    m_ticksLeft = m_ticksPerInterval;
    if (--m_intervalsLeft != 0)
        return true;

    // A step visited twice in one call would be a loop that never waits:
    // such a table ends the pattern rather than hold the timer thread.
    for (size_t visited = 0; visited < m_steps.size(); ++visited) {
        if (m_step >= m_steps.size())
            return false;
        const PatternStep& step = m_steps[m_step];
        switch (step.type) {
        case kPatternEnd:
            return false;
        case kPatternJump:
            m_step = step.argument;
            continue;
        case kPatternWait:
            break;
        default: {
            const int alternatives = std::clamp<int>(step.alternatives, 0, 3);
            const int k = alternatives > 0 ? PatternRand() % alternatives : 0;
            m_lastSound = step.sounds[k];
            if (static_cast<int16_t>(packed & 0xFFFF) > 0 && g_sound)
                g_sound->Play(m_lastSound);
            break;
        }
        }
        ++m_step;
        m_intervalsLeft = step.argument;
        if (m_intervalsLeft != 0)
            return true;
    }
    return false;
}

// ---- PatternPlayer ----

PatternPlayer::PatternPlayer() : m_mutex(platform::NamedMutex(kMutexName)) {}

void PatternPlayer::Add(CSoundPattern* pattern) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (pattern && !m_patterns.Contains(pattern))
        m_patterns.AddTail(pattern);
}

void PatternPlayer::Remove(CSoundPattern* pattern) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_patterns.Remove(pattern);
}

uint32_t PatternPlayer::Count() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_patterns.GetCount();
}

void PatternPlayer::PublishViewCentre(int32_t x, int32_t y) {
    m_viewCentre = static_cast<uint32_t>(x) | uint64_t{static_cast<uint32_t>(y)} << 32;
}

void PatternPlayer::Tick() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_patterns.IsEmpty())
        return;
    const uint64_t centre = m_viewCentre.load();
    const auto x = static_cast<int32_t>(static_cast<uint32_t>(centre));
    const auto y = static_cast<int32_t>(static_cast<uint32_t>(centre >> 32));

    CLinkedList<CSoundPattern>::CListPosition node = nullptr;
    m_patterns.GetHeadPosition(node);
    while (node) {
        auto* next = node->next;
        CSoundPattern* pattern = node->item;
        if (!node->removed && !pattern->Advance(x, y)) {
            m_patterns.RemoveNode(node);
            pattern->m_finished = true;
        }
        node = next;
    }
}
