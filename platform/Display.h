#pragma once
// The display: shows the game's 16-bit front picture in a window or on the
// whole screen. Two back-ends share this interface:
//   SDL   a window (SDL's "dummy" video driver gives one with no screen), the
//         picture uploaded to a streaming RGB565 texture and scaled to the
//         window or screen with its aspect kept (platform/DisplaySdl.cpp);
//   null  no SDL at all: the shown picture is kept in memory only
//         (NullDisplay, platform/null/NullDisplay.h).
//
// The display reports its pixel format by the green mask of the pictures
// the game draws: RGB565, or RGB555 when forced so that the 555 code runs.
// Either way the shown picture is RGB565. Only the rectangles that changed
// since the last present are converted and uploaded (all of it after a mode
// change).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

enum class DisplayBackend { Sdl, Null };

struct DisplayConfig {
    DisplayBackend backend = DisplayBackend::Sdl;
    std::string videoDriver; // SDL's video driver; empty: SDL's own choice
    bool force555 = false;   // report RGB555 pictures
    bool windowed = false;   // SDL: a window of the mode's size, never the whole screen
};

// From the environment: ORVANDEL_DISPLAY "null" gives the null display, any
// other non-empty value is the SDL video driver ("dummy"); ORVANDEL_RGB555
// "1" forces RGB555; ORVANDEL_WINDOW "1" keeps the game in a window.
DisplayConfig DisplayConfigFromEnvironment();

struct DisplayMode {
    int32_t width;
    int32_t height;
    int32_t bitsPerPixel;
};

// 640 x 480 and 800 x 600, 16 bits.
const std::vector<DisplayMode>& SupportedDisplayModes();

struct DisplayRect {
    int32_t left;
    int32_t top;
    int32_t right; // just outside
    int32_t bottom;
};

constexpr uint32_t kGreenMask565 = 0x07E0;
constexpr uint32_t kGreenMask555 = 0x03E0;

class Display {
public:
    virtual ~Display() = default;

    // One of the supported modes, in a window or on the whole screen (in a
    // window whatever is asked when the configuration says windowed; the
    // game still draws its own cursor as on the whole screen). False
    // for any other mode or when the window cannot be made; the display then
    // has no mode (width and height 0).
    bool SetMode(int32_t width, int32_t height, int32_t bits, bool fullScreen);

    int32_t Width() const { return m_width; }
    int32_t Height() const { return m_height; }
    bool IsFullScreen() const { return m_fullScreen; }
    uint32_t RedMask() const { return m_force555 ? 0x7C00 : 0xF800; }
    uint32_t GreenMask() const { return m_force555 ? kGreenMask555 : kGreenMask565; }
    uint32_t BlueMask() const { return 0x001F; }

    // Shows the front picture: Width() x Height() pixels in the reported
    // format, rows pitch bytes apart. The rectangles are the parts that
    // changed since the last present; they are cut to the picture.
    void Present(const uint8_t* pixels, int32_t pitch, const std::vector<DisplayRect>& changed);

    // The picture as shown (RGB565, Width() pixels a row); kept by the null
    // display only, empty for SDL.
    virtual const std::vector<uint16_t>& Shown() const;
    // Pixels converted and uploaded by the presents so far.
    uint64_t UploadedPixels() const { return m_uploaded; }
    // True when the display has a window of the window system.
    virtual bool HasWindow() const { return false; }
    // The window's place and size on the screen, and where in the window the
    // picture is shown (window pixels); empty without a window.
    virtual DisplayRect WindowArea() const { return {}; }
    virtual DisplayRect PictureArea() const { return {}; }

protected:
    explicit Display(bool force555) : m_force555(force555) {}

    virtual bool ApplyMode(int32_t width, int32_t height, bool fullScreen) = 0;
    // Converts the rectangle (within the picture) into the shown picture.
    virtual void Upload(const uint8_t* pixels, int32_t pitch, const DisplayRect& rect) = 0;
    virtual void Show() = 0;

    // Copies a rectangle of the front picture into RGB565 rows (dest points
    // at the rectangle's first pixel).
    void ConvertRect(const uint8_t* pixels, int32_t pitch, const DisplayRect& rect, uint8_t* dest,
                     int32_t destPitch) const;

private:
    bool m_force555;
    int32_t m_width = 0;
    int32_t m_height = 0;
    bool m_fullScreen = false;
    bool m_wholePending = true;
    uint64_t m_uploaded = 0;
};

// A display of the configured back-end; null when SDL's video cannot start.
std::unique_ptr<Display> CreateDisplay(const DisplayConfig& config);

} // namespace platform
