#pragma once
// CCycleCounter: a stopwatch on the processor's cycle counter (used to time
// the scenario start-up).
#include <cstdint>

class CCycleCounter {
public:
    CCycleCounter() = default;
    virtual ~CCycleCounter() = default;

    // Takes the cycle count as the start.
    void Start();
    // Cycles since the start; only the low 32 bits are kept (and stored).
    uint32_t Elapsed();

    uint64_t GetStart() const { return m_start; }
    uint32_t GetElapsed() const { return m_elapsed; }

protected:
    // The cycle count now; the platform's counter.
    virtual uint64_t ReadCounter() const;

private:
    uint64_t m_start = 0;
    uint32_t m_elapsed = 0;
};
