#include "platform/MessageBox.h"

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <mutex>

#include "platform/null/NullMessageBox.h"

namespace platform {

namespace {

std::mutex g_handlerLock;
BoxHandler g_handler; // empty: the null box

} // namespace

BoxHandler SetBoxHandler(BoxHandler handler) {
    std::lock_guard<std::mutex> lock(g_handlerLock);
    BoxHandler previous = std::move(g_handler);
    g_handler = std::move(handler);
    return previous;
}

BoxAnswer ShowAbortRetryIgnore(const std::string& caption, const std::string& text) {
    BoxHandler handler;
    {
        std::lock_guard<std::mutex> lock(g_handlerLock);
        handler = g_handler;
    }
    // Called outside the lock: a handler may show a box of its own.
    return handler ? handler(caption, text) : NullMessageBox()(caption, text);
}

bool IsDebuggerAttached() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("TracerPid:", 0) == 0)
            return std::atol(line.c_str() + 10) != 0;
    }
    return false;
}

void BreakIntoDebugger() {
    if (IsDebuggerAttached())
        std::raise(SIGTRAP);
}

} // namespace platform
