#include "platform/null/NullDisplay.h"

namespace platform {

bool NullDisplay::ApplyMode(int32_t width, int32_t height, bool) {
    m_shown.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    return true;
}

void NullDisplay::Upload(const uint8_t* pixels, int32_t pitch, const DisplayRect& rect) {
    uint8_t* dest = reinterpret_cast<uint8_t*>(m_shown.data()) +
                    (static_cast<size_t>(rect.top) * Width() + rect.left) * 2;
    ConvertRect(pixels, pitch, rect, dest, Width() * 2);
}

} // namespace platform
