#include "platform/MessageBox.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <strings.h>

#include "platform/SdlBox.h"

namespace platform {

// The box without a screen: the text goes to stderr and the answer comes from
// ORVANDEL_BOX_ANSWER, so that nothing ever waits for a click. (Also the
// window system's box falls back on it, platform/SdlBox.h.)
BoxAnswer HeadlessBox(const std::string& caption, const std::string& text) {
    std::fprintf(stderr, "%s%s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
    const char* answer = std::getenv("ORVANDEL_BOX_ANSWER");
    if (answer && strcasecmp(answer, "abort") == 0)
        return BoxAnswer::Abort;
    if (answer && strcasecmp(answer, "retry") == 0)
        return BoxAnswer::Retry;
    return BoxAnswer::Ignore;
}

namespace {

std::mutex g_handlerLock;
BoxHandler g_handler; // empty: the headless box

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
    return handler ? handler(caption, text) : HeadlessBox(caption, text);
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
