#include "platform/Display.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/DisplaySdl.h"
#include "platform/EventPump.h"
#include "platform/null/NullDisplay.h"

namespace platform {

DisplayConfig DisplayConfigFromEnvironment() {
    DisplayConfig config;
    if (const char* display = std::getenv("ORVANDEL_DISPLAY"); display && *display) {
        if (std::strcmp(display, "null") == 0)
            config.backend = DisplayBackend::Null;
        else
            config.videoDriver = display;
    }
    const char* rgb555 = std::getenv("ORVANDEL_RGB555");
    config.force555 = rgb555 && std::strcmp(rgb555, "1") == 0;
    const char* window = std::getenv("ORVANDEL_WINDOW");
    config.windowed = window && std::strcmp(window, "1") == 0;
    return config;
}

const std::vector<DisplayMode>& SupportedDisplayModes() {
    static const std::vector<DisplayMode> modes = {{640, 480, 16}, {800, 600, 16}};
    return modes;
}

bool Display::SetMode(int32_t width, int32_t height, int32_t bits, bool fullScreen) {
    m_width = m_height = 0;
    m_wholePending = true;
    const auto& modes = SupportedDisplayModes();
    bool supported = std::any_of(modes.begin(), modes.end(), [&](const DisplayMode& mode) {
        return mode.width == width && mode.height == height && mode.bitsPerPixel == bits;
    });
    if (!supported || !ApplyMode(width, height, fullScreen))
        return false;
    m_width = width;
    m_height = height;
    m_fullScreen = fullScreen;
    SetPointerArea(width, height);
    return true;
}

void Display::Present(const uint8_t* pixels, int32_t pitch,
                      const std::vector<DisplayRect>& changed) {
    if (m_width == 0 || !pixels)
        return;
    auto upload = [&](DisplayRect rect) {
        rect.left = std::max(rect.left, 0);
        rect.top = std::max(rect.top, 0);
        rect.right = std::min(rect.right, m_width);
        rect.bottom = std::min(rect.bottom, m_height);
        if (rect.left >= rect.right || rect.top >= rect.bottom)
            return;
        Upload(pixels, pitch, rect);
        m_uploaded += static_cast<uint64_t>(rect.right - rect.left) *
                      static_cast<uint64_t>(rect.bottom - rect.top);
    };
    if (m_wholePending) {
        m_wholePending = false;
        upload({0, 0, m_width, m_height});
    } else {
        for (const DisplayRect& rect : changed)
            upload(rect);
    }
    Show();
}

const std::vector<uint16_t>& Display::Shown() const {
    static const std::vector<uint16_t> none;
    return none;
}

void Display::ConvertRect(const uint8_t* pixels, int32_t pitch, const DisplayRect& rect,
                          uint8_t* dest, int32_t destPitch) const {
    const size_t count = static_cast<size_t>(rect.right - rect.left);
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        const uint8_t* from =
            pixels + static_cast<size_t>(y) * pitch + static_cast<size_t>(rect.left) * 2;
        uint8_t* to = dest + static_cast<size_t>(y - rect.top) * destPitch;
        if (!m_force555) {
            std::memcpy(to, from, count * 2);
            continue;
        }
        // RGB555 to RGB565: red and green move up one bit, green's top bit
        // is repeated as its new lowest bit.
        for (size_t i = 0; i < count; ++i) {
            uint16_t p;
            std::memcpy(&p, from + i * 2, 2);
            const auto out =
                static_cast<uint16_t>((p & 0x7FE0) << 1 | (p & 0x0200) >> 4 | (p & 0x001F));
            std::memcpy(to + i * 2, &out, 2);
        }
    }
}

std::unique_ptr<Display> CreateDisplay(const DisplayConfig& config) {
    if (config.backend == DisplayBackend::Null)
        return std::make_unique<NullDisplay>(config.force555);
    return CreateSdlDisplay(config);
}

} // namespace platform
