#include "engine/CriticalError.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "engine/Format.h"
#include "platform/MessageBox.h"

namespace {
constexpr size_t kBoxTextSize = 1024;
}

void CriticalError(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string text = FormatTextV(format, args);
    va_end(args);
    CriticalErrorText(text);
}

void CriticalErrorText(const std::string& text) {
    // The message and the whole box text are each held to 1024 bytes with
    // their terminating zero, as a formatted message is.
    std::string_view message = std::string_view(text.c_str()).substr(0, kBoxTextSize - 1);
    std::string box = "\n---  " + std::string(message) + "  ---\nDo you still want to continue?";
    if (box.size() > kBoxTextSize - 1)
        box.resize(kBoxTextSize - 1);
    DebugPrint("%s", box.c_str());
    switch (platform::ShowAbortRetryIgnore("Critical error!", box)) {
    case platform::BoxAnswer::Abort:
        // Ends the program at once: no shutdown of the game runs.
        std::fflush(stdout);
        std::fflush(stderr);
        std::_Exit(EXIT_FAILURE);
    case platform::BoxAnswer::Retry:
        platform::BreakIntoDebugger();
        break;
    case platform::BoxAnswer::Ignore:
        break;
    }
}

void DebugPrint(const char* format, ...) {
    (void)format;
}

void AppendToLog(const std::string& text) {
    std::FILE* file = std::fopen("log.txt", "ab");
    if (!file)
        return;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fputc('\n', file);
    std::fclose(file);
}
