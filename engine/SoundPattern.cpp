#include "engine/SoundPattern.h"

#include "platform/System.h"

PatternPlayer g_patternPlayer;

PatternPlayer::PatternPlayer() : m_mutex(platform::NamedMutex("PatternPlayer Mutex")) {}

void PatternPlayer::Tick() {
    std::lock_guard<std::mutex> lock(m_mutex);
    // No patterns are placed yet.
}
