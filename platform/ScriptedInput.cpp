#include "platform/ScriptedInput.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/EventPump.h"

namespace platform {

namespace {

struct ScriptLine {
    std::string when; // a pass number or a checkpoint name
    bool isScreenshot = false;
    bool isPlay = false;
    std::string file;
    int32_t country = 0;
    int32_t gameType = 0;
    WindowMessage message;
};

bool ReadInt(std::istringstream& in, int32_t& value) {
    long long v = 0;
    if (!(in >> v) || v < -1000000 || v > 1000000)
        return false;
    value = static_cast<int32_t>(v);
    return true;
}

// One line into one or two script entries; false when it is not understood.
bool ParseLine(const std::string& text, std::vector<ScriptLine>& out) {
    std::istringstream in(text);
    std::string when, action;
    if (!(in >> when >> action))
        return false;
    ScriptLine line;
    line.when = when;
    int32_t a = 0, b = 0;
    auto mouse = [&](MessageType type, uint32_t flags) {
        line.message = {type, 0, flags, a, b, 0};
        out.push_back(line);
    };
    if (action == "keydown" || action == "keyup" || action == "char") {
        if (!ReadInt(in, a) || a < 0 || a > 255)
            return false;
        const MessageType type = action == "keydown" ? MessageType::KeyDown
                                 : action == "keyup" ? MessageType::KeyUp
                                                     : MessageType::Char;
        const uint32_t data =
            type == MessageType::KeyUp ? 1u | kKeyDataRepeat | kKeyDataRelease : 1u;
        line.message = {type, static_cast<uint32_t>(a), data, 0, 0, 0};
        out.push_back(line);
    } else if (action == "click" || action == "ldown" || action == "lup" || action == "rclick") {
        // Points of the logical picture, as the window's pointer gives them.
        if (!ReadInt(in, a) || !ReadInt(in, b) || a < 0 || b < 0 || a > 1599 || b > 1199)
            return false;
        if (action == "click" || action == "ldown")
            mouse(MessageType::LeftButtonDown, kMouseFlagLeft);
        if (action == "click" || action == "lup")
            mouse(MessageType::LeftButtonUp, 0);
        if (action == "rclick") {
            mouse(MessageType::RightButtonDown, kMouseFlagRight);
            mouse(MessageType::RightButtonUp, 0);
        }
    } else if (action == "activate") {
        if (!ReadInt(in, a))
            return false;
        line.message = {MessageType::ActivateApp, a != 0 ? 1u : 0u, 0, 0, 0, 0};
        out.push_back(line);
    } else if (action == "close") {
        line.message = {MessageType::Quit, 0, 0, 0, 0, 0};
        out.push_back(line);
    } else if (action == "screenshot") {
        if (!(in >> line.file))
            return false;
        line.isScreenshot = true;
        out.push_back(line);
    } else if (action == "play") {
        if (!(in >> line.file) || !ReadInt(in, line.country) || !ReadInt(in, line.gameType) ||
            line.country < 1 || line.country > 98)
            return false;
        line.isPlay = true;
        out.push_back(line);
    } else {
        return false;
    }
    return true;
}

std::vector<ScriptLine> LoadScript() {
    std::vector<ScriptLine> script;
    const char* path = std::getenv("ORVANDEL_SCRIPT");
    if (!path || !*path)
        return script;
    std::ifstream file(path);
    if (!file) {
        std::fprintf(stderr, "script: cannot open %s\n", path);
        return script;
    }
    std::string text;
    for (int number = 1; std::getline(file, text); ++number) {
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        if (text.find_first_not_of(" \t") == std::string::npos ||
            text[text.find_first_not_of(" \t")] == '#')
            continue;
        if (!ParseLine(text, script))
            std::fprintf(stderr, "script: line %d not understood\n", number);
    }
    return script;
}

const std::vector<ScriptLine>& Script() {
    static const std::vector<ScriptLine> script = LoadScript();
    return script;
}

std::vector<std::string> Reach(const std::string& when) {
    std::vector<std::string> screenshots;
    for (const ScriptLine& line : Script()) {
        if (line.when != when)
            continue;
        if (line.isScreenshot)
            screenshots.push_back(line.file);
        else if (!line.isPlay)
            PostWindowMessage(line.message);
    }
    return screenshots;
}

} // namespace

std::vector<std::string> ScriptFrame(uint32_t pass) {
    return Reach(std::to_string(pass));
}

bool ScriptPlayChoice(uint32_t pass, PlayChoice& out) {
    const std::string when = std::to_string(pass);
    for (const ScriptLine& line : Script()) {
        if (line.when == when && line.isPlay) {
            out = {line.file, line.country, line.gameType};
            return true;
        }
    }
    return false;
}

std::vector<std::string> ScriptCheckpoint(const std::string& name) {
    Trace("checkpoint " + name);
    return Reach(name);
}

bool TraceOn() {
    static const bool on = [] {
        const char* value = std::getenv("ORVANDEL_TRACE");
        return value && std::strcmp(value, "1") == 0;
    }();
    return on;
}

void Trace(const std::string& line) {
    if (TraceOn())
        std::fprintf(stderr, "%s\n", line.c_str());
}

} // namespace platform
