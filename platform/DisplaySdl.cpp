#include "platform/DisplaySdl.h"

#include <SDL.h>

#include <cstring>

#include "platform/SdlBox.h"

namespace platform {

namespace {

class SdlDisplay;
SdlDisplay* g_current = nullptr; // the display whose window the pointer warps in

class SdlDisplay : public Display {
public:
    explicit SdlDisplay(bool force555) : Display(force555) { g_current = this; }

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
        if (!m_window && !CreateWindow(width, height, fullScreen))
            return false;
        if (SDL_SetWindowFullscreen(m_window, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0)
            return false;
        if (!fullScreen)
            SDL_SetWindowSize(m_window, width, height);
        // Full screen draws the game's own cursor into the picture; a window
        // shows the system's pointer.
        SDL_ShowCursor(fullScreen ? SDL_DISABLE : SDL_ENABLE);
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
        SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
        SDL_RenderClear(m_renderer);
        SDL_RenderCopy(m_renderer, m_texture, nullptr, nullptr);
        SDL_RenderPresent(m_renderer);
    }

private:
    bool CreateWindow(int32_t width, int32_t height, bool fullScreen) {
        const Uint32 flags = fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : SDL_WINDOW_RESIZABLE;
        m_window = SDL_CreateWindow("Orvandel", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                    width, height, flags);
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
        return true;
    }

    SDL_Window* m_window = nullptr;
    SDL_Renderer* m_renderer = nullptr;
    SDL_Texture* m_texture = nullptr;
    bool m_boxInstalled = false;
};

} // namespace

std::unique_ptr<Display> CreateSdlDisplay(const DisplayConfig& config) {
    if (!config.videoDriver.empty())
        SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, config.videoDriver.c_str(),
                                SDL_HINT_OVERRIDE);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return nullptr;
    return std::make_unique<SdlDisplay>(config.force555);
}

void WarpSdlPointer(int32_t x, int32_t y) {
    if (g_current)
        g_current->Warp(x, y);
}

} // namespace platform
