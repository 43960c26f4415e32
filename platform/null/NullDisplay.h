#pragma once
// The null display (ORVANDEL_DISPLAY=null): no SDL and no window. The shown
// picture is kept in memory only, for tests and screenshots of headless runs.
#include <cstdint>
#include <vector>

#include "platform/Display.h"

namespace platform {

class NullDisplay final : public Display {
public:
    explicit NullDisplay(bool force555) : Display(force555) {}

    const std::vector<uint16_t>& Shown() const override { return m_shown; }

protected:
    bool ApplyMode(int32_t width, int32_t height, bool fullScreen) override;
    void Upload(const uint8_t* pixels, int32_t pitch, const DisplayRect& rect) override;
    void Show() override {}

private:
    std::vector<uint16_t> m_shown;
};

} // namespace platform
