#include "data/CycleCounter.h"

#include "platform/System.h"

void CCycleCounter::Start() {
    m_start = ReadCounter();
}

uint32_t CCycleCounter::Elapsed() {
    m_elapsed = static_cast<uint32_t>(ReadCounter() - m_start);
    return m_elapsed;
}

uint64_t CCycleCounter::ReadCounter() const {
    return platform::CycleCounter();
}
