#include "platform/System.h"

#include <chrono>
#include <map>
#include <memory>
#include <thread>
#include <unistd.h>

#include "platform/VirtualClock.h"

namespace platform {

bool GetComputerName(std::string& name) {
    char buffer[256] = {};
    if (gethostname(buffer, sizeof buffer - 1) != 0 || buffer[0] == '\0')
        return false;
    name = buffer;
    return true;
}

uint32_t Milliseconds() {
    if (VirtualClockOn())
        return VirtualMilliseconds();
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool StandardErrorIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

void SleepMilliseconds(uint32_t ms) {
    if (VirtualClockOn()) {
        // At least one millisecond passes, so that a loop waiting for the
        // time to move on ends.
        AdvanceVirtualClock(ms == 0 ? 1 : ms);
        return;
    }
    if (ms == 0)
        std::this_thread::yield();
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

uint64_t CycleCounter() {
    using namespace std::chrono;
    return static_cast<uint64_t>(
        duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count());
}

std::mutex& NamedMutex(const std::string& name) {
    static std::mutex registryLock;
    static std::map<std::string, std::unique_ptr<std::mutex>> registry;
    std::lock_guard<std::mutex> lock(registryLock);
    auto& slot = registry[name];
    if (!slot)
        slot = std::make_unique<std::mutex>();
    return *slot;
}

} // namespace platform
