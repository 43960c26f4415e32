// The window procedure, the message pump and the shell's small helpers.
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/CDAudio.h"
#include "engine/Config.h"
#include "engine/Date.h"
#include "engine/Display.h"
#include "engine/GameTimer.h"
#include "engine/ImageAccess.h"
#include "engine/MoviePlayer.h"
#include "engine/TextDatabase.h"
#include "frontend/shell/Shell.h"
#include "net/EventTypes.h"
#include "net/InputEvent.h"
#include "net/Scheduler.h"
#include "platform/Files.h"
#include "platform/ScriptedInput.h"

namespace {

using platform::MessageType;

uint8_t g_rightHeld = 0;

const char* MessageName(MessageType type) {
    switch (type) {
    case MessageType::KeyDown:
        return "keydown";
    case MessageType::KeyUp:
        return "keyup";
    case MessageType::Char:
        return "char";
    case MessageType::LeftButtonDown:
        return "ldown";
    case MessageType::LeftButtonUp:
        return "lup";
    case MessageType::LeftButtonDoubleClick:
        return "ldouble";
    case MessageType::RightButtonDown:
        return "rdown";
    case MessageType::RightButtonUp:
        return "rup";
    case MessageType::MouseWheel:
        return "wheel";
    case MessageType::ActivateApp:
        return "activate";
    case MessageType::Quit:
        return "close";
    case MessageType::MciNotify:
        return "mci";
    }
    return "?";
}

void TraceMessage(const platform::WindowMessage& message, const char* what) {
    if (platform::TraceOn())
        platform::Trace(std::string("message ") + MessageName(message.type) + " " +
                        std::to_string(message.code) + " " + what);
}

bool MovieOpen() {
    return g_moviePlayer && g_moviePlayer->IsOpen();
}

void CloseMovie() {
    if (MovieOpen()) {
        g_moviePlayer->Close();
        g_moviePlayer->open = 0;
        platform::Trace("movie closed");
    }
}

void QueueMouseEvent(uint32_t type, const platform::WindowMessage& message, uint32_t flags) {
    g_scheduler.QueueInput(
        std::make_unique<CInputEvent>(type, g_broadcastId, 0, flags, message.x, message.y));
}

} // namespace

int MainWindowProc(const platform::WindowMessage& message) {
    const bool noTimer = !g_gameTimer;
    const bool captured = g_inputState.relativeMode != 0;
    const bool ignored = noTimer || captured;
    switch (message.type) {
    case MessageType::Quit:
        CloseMovie();
        Shutdown();
        g_shell.quitPosted = 1;
        g_shell.quitCode = 0;
        g_shell.quitting = 1;
        TraceMessage(message, "shutdown");
        return 0;
    case MessageType::ActivateApp:
        g_appActive = message.code;
        if (noTimer)
            break;
        if (message.code == 0) {
            g_gameTimer->running = 0;
        } else {
            g_gameTimer->Resume();
            ResetDisplayMode();
        }
        break;
    case MessageType::KeyDown:
        if (noTimer)
            break;
        PostKeyDownEvent(static_cast<int32_t>(message.code), message.data);
        if (g_inputState.ctrlHeld) {
            const uint32_t character = message.code == 107   ? 43
                                       : message.code == 109 ? 45
                                                             : message.code;
            PostCharEvent(character, message.data);
        }
        break;
    case MessageType::KeyUp:
        if (message.code == 27)
            CloseMovie();
        if (!noTimer)
            OnKeyUp(static_cast<int32_t>(message.code));
        g_inputState.relativeMode = 0;
        break;
    case MessageType::Char:
        if (noTimer || g_inputState.ctrlHeld)
            break;
        PostCharEvent(message.code, message.data);
        break;
    case MessageType::LeftButtonDown:
        CloseMovie();
        if (ignored)
            break;
        g_inputState.leftHeld = 1;
        QueueMouseEvent(EVT_MOUSELBDOWN, message, message.data);
        break;
    case MessageType::LeftButtonUp:
        if (MovieOpen()) {
            CloseMovie();
            TraceMessage(message, "closed the movie");
            return 0;
        }
        if (ignored)
            break;
        g_inputState.leftHeld = 0;
        QueueMouseEvent(EVT_MOUSELBUP, message, message.data);
        break;
    case MessageType::LeftButtonDoubleClick:
        if (!ignored)
            QueueMouseEvent(EVT_MOUSELBDOUBLECLICK, message, message.data);
        break;
    case MessageType::RightButtonDown:
        if (!ignored)
            g_rightHeld = 1;
        break;
    case MessageType::RightButtonUp:
        if (ignored)
            break;
        g_rightHeld = 0;
        QueueMouseEvent(EVT_MOUSERBUP, message, message.data);
        break;
    case MessageType::MouseWheel:
        if (!ignored)
            // The turn in notches, positive away from the player.
            QueueMouseEvent(EVT_UNNAMED_12, message,
                            static_cast<uint32_t>(message.wheel / platform::kWheelDelta));
        break;
    case MessageType::MciNotify:
        if (message.code == 1 && message.data == GetCDAudioDeviceId() && g_config &&
            g_config->GetWord(ConfigOffset::kMusic) != 0)
            PlayNextMusicTrack(g_musicState.get());
        break;
    }
    TraceMessage(message, ignored && message.type != MessageType::ActivateApp &&
                                  message.type != MessageType::MciNotify
                              ? "ignored"
                              : "taken");
    return 0;
}

int ShellPumpOneMessage() {
    if (g_shell.quitting)
        return 0;
    platform::WindowMessage message;
    if (!platform::PollWindowMessage(message))
        return 0;
    if (message.type == MessageType::Quit) {
        // Kept for the main loop: the caller may be in the middle of
        // reading. A movie ends at once.
        g_shell.closePending = 1;
        CloseMovie();
        TraceMessage(message, "kept for the main loop");
        return 0;
    }
    if (message.type == MessageType::ActivateApp) {
        // Resetting the display mode reads files, whose closing pumps again:
        // the main loop takes the activation instead.
        g_shell.activatePending = static_cast<int32_t>(message.code);
        TraceMessage(message, "kept for the main loop");
        return 1;
    }
    MainWindowProc(message);
    return 1;
}

std::string FormatDate(const CDate& date) {
    static const char* const kMonths[12] = {"JANUARY",   "FEBRUARY", "MARCH",    "APRIL",
                                            "MAY",       "JUNE",     "JULY",     "AUGUST",
                                            "SEPTEMBER", "OCTOBER",  "NOVEMBER", "DECEMBER"};
    int month = date.month % 12;
    if (month < 0)
        month += 12;
    return std::string(g_textDatabase.GetText(kMonths[month])) + " " +
           std::to_string(date.GetDisplayDay() + 1) + ", " + std::to_string(date.year);
}

bool WriteShownPicture(const std::string& path) {
    // The picture as shown (RGB565) when the display keeps one, else the
    // screen in the display's format.
    int32_t width = 0, height = 0;
    std::vector<uint16_t> pixels;
    const platform::Display* display = g_directDraw ? g_directDraw->display.get() : nullptr;
    bool format555 = false;
    if (display && !display->Shown().empty()) {
        width = display->Width();
        height = display->Height();
        pixels = display->Shown();
    } else if (g_screen && g_screen->bytesPerPixel == 2) {
        CPixelAccess screen(*g_screen);
        width = screen.view.width;
        height = screen.view.height;
        pixels.resize(static_cast<size_t>(width) * height);
        for (int32_t y = 0; y < height; ++y)
            std::memcpy(&pixels[static_cast<size_t>(y) * width], screen.Row(y),
                        static_cast<size_t>(width) * 2);
        format555 = display && display->GreenMask() == platform::kGreenMask555;
    }
    if (width <= 0 || height <= 0 || pixels.size() < static_cast<size_t>(width) * height)
        return false;

    return WriteBmp24(path, width, height, [&](int32_t y, uint8_t* bgr) {
        for (int32_t x = 0; x < width; ++x, bgr += 3) {
            const uint16_t p = pixels[static_cast<size_t>(y) * width + x];
            const uint32_t r = format555 ? (p >> 10) & 31 : p >> 11;
            const uint32_t g = format555 ? ((p >> 5) & 31) << 1 : (p >> 5) & 63;
            const uint32_t b = p & 31;
            bgr[0] = static_cast<uint8_t>(b << 3 | b >> 2);
            bgr[1] = static_cast<uint8_t>(g << 2 | g >> 4);
            bgr[2] = static_cast<uint8_t>(r << 3 | r >> 2);
        }
    });
}
