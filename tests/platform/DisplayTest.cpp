#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/Display.h"
#include "platform/null/NullDisplay.h"

namespace {

using platform::DisplayBackend;
using platform::DisplayConfig;
using platform::DisplayRect;

std::unique_ptr<platform::Display> MakeNullDisplay(bool force555 = false) {
    DisplayConfig config;
    config.backend = DisplayBackend::Null;
    config.force555 = force555;
    return platform::CreateDisplay(config);
}

// A front picture of 16-bit pixels with rows padded past the width.
struct Front {
    Front(int32_t w, int32_t h)
        : width(w), height(h), pitch(w * 2 + 8), bytes(static_cast<size_t>(pitch) * h) {}
    void Set(int32_t x, int32_t y, uint16_t p) {
        std::memcpy(&bytes[static_cast<size_t>(y) * pitch + x * 2], &p, 2);
    }
    int32_t width;
    int32_t height;
    int32_t pitch;
    std::vector<uint8_t> bytes;
};

TEST(Display, OnlyTheSixteenBitModesAreTaken) {
    auto display = MakeNullDisplay();
    ASSERT_TRUE(display);
    EXPECT_FALSE(display->SetMode(1024, 768, 16, true));
    EXPECT_FALSE(display->SetMode(800, 600, 8, true));
    EXPECT_EQ(display->Width(), 0);
    EXPECT_TRUE(display->SetMode(640, 480, 16, false));
    EXPECT_EQ(display->Width(), 640);
    EXPECT_FALSE(display->IsFullScreen());
    EXPECT_TRUE(display->SetMode(800, 600, 16, true));
    EXPECT_EQ(display->Height(), 600);
    EXPECT_TRUE(display->IsFullScreen());
    EXPECT_EQ(display->GreenMask(), platform::kGreenMask565);
    EXPECT_FALSE(display->HasWindow());
}

TEST(Display, UploadsEverythingAfterAModeChangeThenOnlyTheChangedRectangles) {
    auto display = MakeNullDisplay();
    ASSERT_TRUE(display->SetMode(640, 480, 16, true));
    Front front(640, 480);
    front.Set(5, 7, 0x1234);
    // The rectangles given are ignored the first time: all is shown.
    display->Present(front.bytes.data(), front.pitch, {});
    EXPECT_EQ(display->UploadedPixels(), 640u * 480u);
    EXPECT_EQ(display->Shown()[7 * 640 + 5], 0x1234);

    front.Set(5, 7, 0xBEEF);
    front.Set(639, 479, 0x4321);
    display->Present(front.bytes.data(), front.pitch, {{639, 479, 650, 490}});
    EXPECT_EQ(display->UploadedPixels(), 640u * 480u + 1u); // cut to the picture
    EXPECT_EQ(display->Shown()[479 * 640 + 639], 0x4321);
    EXPECT_EQ(display->Shown()[7 * 640 + 5], 0x1234); // not said to have changed

    display->Present(front.bytes.data(), front.pitch,
                     {{-5, -5, 0, 10}, {10, 10, 10, 20}}); // empty after cutting
    EXPECT_EQ(display->UploadedPixels(), 640u * 480u + 1u);

    ASSERT_TRUE(display->SetMode(640, 480, 16, false));
    display->Present(front.bytes.data(), front.pitch, {});
    EXPECT_EQ(display->Shown()[7 * 640 + 5], 0xBEEF);
}

TEST(Display, ForcedRgb555IsShownAsRgb565) {
    auto display = MakeNullDisplay(true);
    EXPECT_EQ(display->GreenMask(), platform::kGreenMask555);
    EXPECT_EQ(display->RedMask(), 0x7C00u);
    ASSERT_TRUE(display->SetMode(800, 600, 16, true));
    const struct {
        uint16_t rgb555;
        uint16_t rgb565;
    } cases[] = {
        {0x7FFF, 0xFFFF},                                     // white
        {0x03E0, 0x07E0},                                     // the colour key stays pure green
        {0x7C00, 0xF800}, {0x001F, 0x001F}, {0x0421, 0x0841}, // green 1 of 31 becomes 2 of 63
        {0x0200, 0x0420},                                     // green 16 of 31 becomes 33 of 63
        {0x0000, 0x0000},
    };
    Front front(800, 600);
    for (size_t i = 0; i < std::size(cases); ++i)
        front.Set(static_cast<int32_t>(i) * 3, 599, cases[i].rgb555);
    display->Present(front.bytes.data(), front.pitch, {});
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(display->Shown()[599 * 800 + i * 3], cases[i].rgb565) << i;
}

TEST(Display, SdlWithTheDummyDriverShowsWithoutAScreen) {
    DisplayConfig config;
    config.videoDriver = "dummy";
    auto display = platform::CreateDisplay(config);
    ASSERT_TRUE(display);
    EXPECT_FALSE(display->HasWindow());
    ASSERT_TRUE(display->SetMode(800, 600, 16, false));
    EXPECT_TRUE(display->HasWindow());
    Front front(800, 600);
    front.Set(1, 1, 0xFFFF);
    display->Present(front.bytes.data(), front.pitch, {});
    display->Present(front.bytes.data(), front.pitch, {{0, 0, 800, 2}});
    EXPECT_EQ(display->UploadedPixels(), 800u * 600u + 1600u);
    ASSERT_TRUE(display->SetMode(640, 480, 16, true));
    display->Present(front.bytes.data(), front.pitch, {});
    EXPECT_EQ(display->Width(), 640);
    EXPECT_TRUE(display->Shown().empty());
}

// The whole screen is a window that covers the screen from the start, the
// picture scaled to it with its shape kept and centred; the player's setting
// keeps it in a window of the mode's size, which may be resized.
TEST(Display, TheWindowCoversTheScreenOrKeepsTheModesSize) {
    DisplayConfig config;
    config.videoDriver = "dummy";
    auto display = platform::CreateDisplay(config);
    ASSERT_TRUE(display);
    SDL_Rect screen{};
    ASSERT_EQ(SDL_GetDisplayBounds(0, &screen), 0) << SDL_GetError();
    const DisplayRect whole{screen.x, screen.y, screen.x + screen.w, screen.y + screen.h};
    // The picture as large as fits, centred.
    auto fitted = [](const DisplayRect& area, int32_t w, int32_t h) {
        const int32_t areaW = area.right - area.left;
        const int32_t areaH = area.bottom - area.top;
        int32_t fitW = areaW;
        int32_t fitH = areaW * h / w;
        if (fitH > areaH) {
            fitH = areaH;
            fitW = areaH * w / h;
        }
        const int32_t left = (areaW - fitW) / 2;
        const int32_t top = (areaH - fitH) / 2;
        return DisplayRect{left, top, left + fitW, top + fitH};
    };
    auto expectArea = [](const DisplayRect& got, const DisplayRect& want, const char* what) {
        EXPECT_NEAR(got.left, want.left, 1) << what;
        EXPECT_NEAR(got.top, want.top, 1) << what;
        EXPECT_NEAR(got.right, want.right, 1) << what;
        EXPECT_NEAR(got.bottom, want.bottom, 1) << what;
    };
    Front front(800, 600);
    for (const auto& [w, h] : {std::pair{640, 480}, std::pair{800, 600}}) {
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
        ASSERT_TRUE(display->SetMode(w, h, 16, true));
        display->Present(front.bytes.data(), front.pitch, {});
        expectArea(display->WindowArea(), whole, "window");
        expectArea(display->PictureArea(), fitted(whole, w, h), "picture");
    }

    config.windowed = true;
    display = platform::CreateDisplay(config);
    ASSERT_TRUE(display);
    ASSERT_TRUE(display->SetMode(640, 480, 16, true));
    EXPECT_TRUE(display->IsFullScreen()); // as the game asked: it draws its own cursor
    display->Present(front.bytes.data(), front.pitch, {});
    const DisplayRect window = display->WindowArea();
    EXPECT_EQ(window.right - window.left, 640);
    EXPECT_EQ(window.bottom - window.top, 480);
    expectArea(display->PictureArea(), {0, 0, 640, 480}, "picture in the window");
    // A taller window: the picture keeps its shape, centred up and down.
    SDL_Window* sdlWindow = nullptr;
    for (Uint32 id = 1; !sdlWindow && id < 64; ++id)
        sdlWindow = SDL_GetWindowFromID(id);
    ASSERT_NE(sdlWindow, nullptr);
    SDL_SetWindowSize(sdlWindow, 640, 640);
    SDL_PumpEvents();
    display->Present(front.bytes.data(), front.pitch, {});
    expectArea(display->PictureArea(), {0, 80, 640, 560}, "picture in the taller window");
    display.reset();
    SDL_ResetHint(SDL_HINT_VIDEODRIVER);
}

// Sets an environment variable (nullptr: unsets it) and puts it back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old;
        Set(value);
    }
    ~ScopedEnv() { Set(m_old ? m_old->c_str() : nullptr); }

private:
    void Set(const char* value) {
        if (value)
            setenv(m_name, value, 1);
        else
            unsetenv(m_name);
    }
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(Display, TheEnvironmentChoosesTheBackEnd) {
    const struct {
        const char* display; // ORVANDEL_DISPLAY; nullptr: unset
        const char* rgb555;  // ORVANDEL_RGB555; nullptr: unset
        DisplayBackend backend;
        const char* videoDriver;
        bool force555;
    } cases[] = {
        {nullptr, nullptr, DisplayBackend::Sdl, "", false},
        {"", "", DisplayBackend::Sdl, "", false},
        {"null", nullptr, DisplayBackend::Null, "", false},
        {"null", "1", DisplayBackend::Null, "", true},
        {"dummy", "0", DisplayBackend::Sdl, "dummy", false},
        {"NULL", "yes", DisplayBackend::Sdl, "NULL", false}, // an SDL driver's name
    };
    // ORVANDEL_WINDOW "1" keeps the game in a window; anything else does not.
    for (const auto& [value, windowed] :
         {std::pair<const char*, bool>{nullptr, false}, {"1", true}, {"0", false}, {"", false}}) {
        ScopedEnv window("ORVANDEL_WINDOW", value);
        EXPECT_EQ(platform::DisplayConfigFromEnvironment().windowed, windowed)
            << (value ? value : "(unset)");
    }
    for (const auto& c : cases) {
        ScopedEnv display("ORVANDEL_DISPLAY", c.display);
        ScopedEnv rgb555("ORVANDEL_RGB555", c.rgb555);
        const DisplayConfig config = platform::DisplayConfigFromEnvironment();
        const std::string name = std::string(c.display ? c.display : "(unset)") + " / " +
                                 (c.rgb555 ? c.rgb555 : "(unset)");
        EXPECT_EQ(config.backend, c.backend) << name;
        EXPECT_EQ(config.videoDriver, c.videoDriver) << name;
        EXPECT_EQ(config.force555, c.force555) << name;
    }
}

TEST(Display, EachBackEndMakesItsOwnDisplay) {
    auto null = MakeNullDisplay();
    EXPECT_NE(dynamic_cast<platform::NullDisplay*>(null.get()), nullptr);

    DisplayConfig sdl;
    sdl.videoDriver = "dummy";
    auto dummy = platform::CreateDisplay(sdl);
    ASSERT_TRUE(dummy);
    EXPECT_EQ(dynamic_cast<platform::NullDisplay*>(dummy.get()), nullptr);
    dummy.reset();

    // No display at all when SDL's video cannot start: no null one instead.
    sdl.videoDriver = "no_such_driver";
    EXPECT_FALSE(platform::CreateDisplay(sdl));
    SDL_ResetHint(SDL_HINT_VIDEODRIVER);
}

} // namespace
