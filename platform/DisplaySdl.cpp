#include "platform/DisplaySdl.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <cstring>

#include "platform/SdlBox.h"

namespace platform {

namespace {

class SdlDisplay;
SdlDisplay* g_current = nullptr; // the display whose window the pointer warps in

#if defined(SDL_VIDEO_DRIVER_X11)
// True when a window manager runs on the X display (it names its check
// window on the root window).
bool HasWindowManager(::Display* display) {
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None)
        return false;
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                                          AnyPropertyType, &type, &format, &count, &after, &data);
    const bool found = status == Success && data != nullptr && count > 0;
    if (data != nullptr)
        XFree(data);
    return found;
}
#endif

class SdlDisplay : public platform::Display {
public:
    SdlDisplay(bool force555, bool windowed) : platform::Display(force555), m_windowed(windowed) {
        g_current = this;
    }

    ~SdlDisplay() override {
        if (g_current == this)
            g_current = nullptr;
        if (m_boxInstalled)
            RemoveWindowBox();
        if (m_texture)
            SDL_DestroyTexture(m_texture);
        if (m_renderer)
            SDL_DestroyRenderer(m_renderer);
        if (m_window)
            SDL_DestroyWindow(m_window);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        // SDL_Quit also ends what the video started on the side (the
        // message bus connection) once nothing of SDL is in use.
        if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0)
            SDL_Quit();
    }

    bool HasWindow() const override { return m_window != nullptr; }

    DisplayRect WindowArea() const override {
        if (!m_window)
            return {};
        int x = 0;
        int y = 0;
        int w = 0;
        int h = 0;
        SDL_GetWindowPosition(m_window, &x, &y);
        SDL_GetWindowSize(m_window, &w, &h);
        return {x, y, x + w, y + h};
    }

    DisplayRect PictureArea() const override {
        if (!m_renderer || !m_texture)
            return {};
        DisplayRect area{};
        SDL_RenderLogicalToWindow(m_renderer, 0.0f, 0.0f, &area.left, &area.top);
        SDL_RenderLogicalToWindow(m_renderer, static_cast<float>(Width()),
                                  static_cast<float>(Height()), &area.right, &area.bottom);
        return area;
    }

    void Warp(int32_t x, int32_t y) {
        if (!m_window || !m_renderer)
            return;
        int windowX = 0;
        int windowY = 0;
        SDL_RenderLogicalToWindow(m_renderer, static_cast<float>(x), static_cast<float>(y),
                                  &windowX, &windowY);
        SDL_WarpMouseInWindow(m_window, windowX, windowY);
    }

protected:
    bool ApplyMode(int32_t width, int32_t height, bool fullScreen) override {
        if (m_texture) {
            SDL_DestroyTexture(m_texture);
            m_texture = nullptr;
        }
        // The player's setting keeps the game in a window, whatever it asks.
        const bool wholeScreen = fullScreen && !m_windowed;
        if (!m_window && !CreateWindow(width, height, wholeScreen))
            return false;
        if (SDL_SetWindowFullscreen(m_window, wholeScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0)
            return false;
        if (!wholeScreen)
            SDL_SetWindowSize(m_window, width, height);
        MatchWindowToSdl();
        // Full screen draws the game's own cursor into the picture; a window
        // of the game's own shows the system's pointer.
        SDL_ShowCursor(fullScreen ? SDL_DISABLE : SDL_ENABLE);
        // The picture is scaled to the window's size, its shape kept, and
        // centred; SDL follows every change of the window's size.
        if (SDL_RenderSetLogicalSize(m_renderer, width, height) != 0)
            return false;
        m_texture = SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_RGB565,
                                      SDL_TEXTUREACCESS_STREAMING, width, height);
        return m_texture != nullptr;
    }

    void Upload(const uint8_t* pixels, int32_t pitch, const DisplayRect& rect) override {
        const SDL_Rect area{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
        void* dest = nullptr;
        int destPitch = 0;
        if (!m_texture || SDL_LockTexture(m_texture, &area, &dest, &destPitch) != 0)
            return;
        ConvertRect(pixels, pitch, rect, static_cast<uint8_t*>(dest), destPitch);
        SDL_UnlockTexture(m_texture);
    }

    void Show() override {
        if (!m_texture)
            return;
        MatchWindowToSdl();
        SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
        SDL_RenderClear(m_renderer);
        SDL_RenderCopy(m_renderer, m_texture, nullptr, nullptr);
        SDL_RenderPresent(m_renderer);
    }

private:
    bool CreateWindow(int32_t width, int32_t height, bool fullScreen) {
        // The whole screen: a window without a frame that already covers the
        // screen, so that it does even where no window manager answers the
        // request for full screen; a window: the mode's size, centred.
        SDL_Rect area{static_cast<int>(SDL_WINDOWPOS_CENTERED),
                      static_cast<int>(SDL_WINDOWPOS_CENTERED), width, height};
        Uint32 flags = SDL_WINDOW_RESIZABLE;
        if (fullScreen) {
            flags = SDL_WINDOW_BORDERLESS;
            SDL_Rect bounds{};
            if (SDL_GetDisplayBounds(0, &bounds) == 0 && bounds.w > 0 && bounds.h > 0)
                area = bounds;
        }
        m_window = SDL_CreateWindow("Orvandel", area.x, area.y, area.w, area.h, flags);
        if (m_window)
            m_renderer = SDL_CreateRenderer(m_window, -1, 0);
        if (!m_renderer) {
            if (m_window)
                SDL_DestroyWindow(m_window);
            m_window = nullptr;
            return false;
        }
        // The window system's box needs a real screen; the dummy and
        // offscreen drivers keep the headless one.
        const char* driver = SDL_GetCurrentVideoDriver();
        if (driver && std::strcmp(driver, "dummy") != 0 && std::strcmp(driver, "offscreen") != 0) {
            InstallWindowBox(m_window);
            m_boxInstalled = true;
        }
        m_checkX11 = false;
#if defined(SDL_VIDEO_DRIVER_X11)
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        if (SDL_GetWindowWMInfo(m_window, &info) && info.subsystem == SDL_SYSWM_X11)
            m_checkX11 = !HasWindowManager(info.info.x11.display);
#endif
        return true;
    }

    // On an X server without a window manager nobody answers a request for
    // full screen or another size: SDL then takes the window for the size it
    // asked for while the window keeps its own, and the picture, scaled for
    // SDL's size, shows cut to the window's lower left part. There the
    // window itself is given the place and size SDL takes it for.
    void MatchWindowToSdl() {
#if defined(SDL_VIDEO_DRIVER_X11)
        if (!m_checkX11 || !m_window)
            return;
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        if (!SDL_GetWindowWMInfo(m_window, &info) || info.subsystem != SDL_SYSWM_X11)
            return;
        XWindowAttributes real{};
        if (XGetWindowAttributes(info.info.x11.display, info.info.x11.window, &real) == 0)
            return;
        const DisplayRect sdl = WindowArea();
        if (real.x == sdl.left && real.y == sdl.top && real.width == sdl.right - sdl.left &&
            real.height == sdl.bottom - sdl.top)
            return;
        XMoveResizeWindow(info.info.x11.display, info.info.x11.window, sdl.left, sdl.top,
                          static_cast<unsigned>(sdl.right - sdl.left),
                          static_cast<unsigned>(sdl.bottom - sdl.top));
        XRaiseWindow(info.info.x11.display, info.info.x11.window);
        XSync(info.info.x11.display, False);
#endif
    }

    SDL_Window* m_window = nullptr;
    SDL_Renderer* m_renderer = nullptr;
    SDL_Texture* m_texture = nullptr;
    bool m_boxInstalled = false;
    bool m_windowed = false; // the player's setting: never the whole screen
    bool m_checkX11 = false; // an X window with no window manager to size it
};

} // namespace

std::unique_ptr<Display> CreateSdlDisplay(const DisplayConfig& config) {
    if (!config.videoDriver.empty())
        SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, config.videoDriver.c_str(),
                                SDL_HINT_OVERRIDE);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return nullptr;
    return std::make_unique<SdlDisplay>(config.force555, config.windowed);
}

void WarpSdlPointer(int32_t x, int32_t y) {
    if (g_current)
        g_current->Warp(x, y);
}

} // namespace platform
