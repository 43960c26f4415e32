#pragma once
// Small operating-system services.
#include <cstdint>
#include <mutex>
#include <string>

namespace platform {

// The computer's name; false when it cannot be read.
bool GetComputerName(std::string& name);

// Milliseconds of a steady clock since an arbitrary start.
uint32_t Milliseconds();

// Waits about the given number of milliseconds (0 yields the thread).
void SleepMilliseconds(uint32_t ms);

// A fast, monotonically rising cycle count (for profiling only).
uint64_t CycleCounter();

// True when the standard error stream is a terminal (a progress line may
// then rewrite itself).
bool StandardErrorIsTerminal();

// Named mutexes of the process: the same name gives the same mutex.
std::mutex& NamedMutex(const std::string& name);

} // namespace platform
