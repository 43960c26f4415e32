#include "engine/Display.h"

#include <algorithm>
#include <cstring>

#include "engine/CriticalError.h"
#include "engine/ImageAccess.h"
#include "engine/Palette.h"

platform::DisplayConfig g_displayConfig = platform::DisplayConfigFromEnvironment();

std::unique_ptr<CGraphicsBase> g_graphics;
std::unique_ptr<CDirectDraw> g_directDraw;
bool g_directDrawReady = false;
std::unique_ptr<CImage> g_screen;
std::unique_ptr<CImage> g_screenFront;
std::vector<DisplayModeInfo> g_displayModes;
Rect g_presentRect;
uint32_t g_appActive = 0;
uint8_t g_windowed = 0;

namespace {

// The result code reported for a display that failed (no finer code exists).
constexpr int32_t kDisplayFailed = static_cast<int32_t>(0x80004005u);

void ReportFailure(const char* text, int line) {
    DebugPrint("%s", text);
    ReportDirectXError("DirectDraw", line, kDisplayFailed);
}

// Copies a rectangle of g_screen onto the front picture at the same place,
// row by row, and notes the runs of rows that differed as changed.
void CopyScreenToFront(Rect area) {
    if (!g_screen || !g_screenFront || !g_directDraw || g_screen->bytesPerPixel != 2)
        return;
    CPixelAccess from(*g_screen);
    CPixelAccess to(*g_screenFront);
    if (!from.view.pixels || !to.view.pixels)
        return;
    area.left = std::max(area.left, 0);
    area.top = std::max(area.top, 0);
    area.right = std::min({area.right, from.view.width, to.view.width});
    area.bottom = std::min({area.bottom, from.view.height, to.view.height});
    if (area.left >= area.right || area.top >= area.bottom)
        return;
    const size_t bytes = static_cast<size_t>(area.right - area.left) * 2;
    int32_t runStart = -1;
    for (int32_t y = area.top; y < area.bottom; ++y) {
        const uint8_t* source = from.Row(y) + static_cast<size_t>(area.left) * 2;
        uint8_t* dest = to.Row(y) + static_cast<size_t>(area.left) * 2;
        if (std::memcmp(source, dest, bytes) != 0) {
            std::memcpy(dest, source, bytes);
            if (runStart < 0)
                runStart = y;
        } else if (runStart >= 0) {
            g_directDraw->MarkChanged({area.left, runStart, area.right, y});
            runStart = -1;
        }
    }
    if (runStart >= 0)
        g_directDraw->MarkChanged({area.left, runStart, area.right, area.bottom});
}

// The front picture over the drawing surface; the present rectangle is the
// screen's place in pointer coordinates, which the platform gives in the
// picture's own (logical) coordinates.
bool MakeFront(int32_t width, int32_t height) {
    if (!g_directDraw->drawingSurface)
        return false;
    g_screenFront = std::make_unique<CImage>(width, height, 16, kImageFront);
    g_screenFront->SetSurface(g_directDraw->drawingSurface.get());
    g_presentRect = {0, 0, g_directDraw->drawingSurface->GetWidth(),
                     g_directDraw->drawingSurface->GetHeight()};
    return true;
}

// The pixel format by the display's green mask.
bool TakePixelFormat() {
    switch (g_directDraw->display->GreenMask()) {
    case platform::kGreenMask565:
        SetPixelFormat(kPixelFormat565);
        break;
    case platform::kGreenMask555:
        SetPixelFormat(kPixelFormat555);
        break;
    default:
        SetPixelFormat(kPixelFormatUnsupported);
        return false;
    }
    RebuildPalettePixels();
    return true;
}

bool SetModeKeepingScreen(int32_t width, int32_t height, int32_t bits, bool windowed) {
    g_screenFront.reset();
    if (!g_directDraw->SetMode(width, height, bits, !windowed))
        return false;
    return MakeFront(width, height) && TakePixelFormat();
}

bool SetGameMode(bool keepScreen) {
    bool set = keepScreen ? ChangeDisplayMode(800, 600, 16, g_windowed != 0)
                          : SetDisplayMode(800, 600, 16, g_windowed != 0);
    g_cursorImages.clear();
    g_currentCursor = 0;
    SetCurrentCursor(LoadCursorImage("gfx\\interface\\cursor_select.bmp"));
    return set;
}

} // namespace

bool CompareDisplayModes(const DisplayModeInfo& a, const DisplayModeInfo& b) {
    if (a.bitsPerPixel != b.bitsPerPixel)
        return a.bitsPerPixel < b.bitsPerPixel;
    return uint64_t{a.width} * a.height < uint64_t{b.width} * b.height;
}

// CDirectDraw ---------------------------------------------------------------

bool CDirectDraw::Init() {
    fullScreen = 0;
    cursorDrawn = 1;
    display = platform::CreateDisplay(g_displayConfig);
    if (!display) {
        ReportFailure("Failed to create DirectDraw object! ", __LINE__);
        return false;
    }
    modes.clear();
    for (const platform::DisplayMode& mode : platform::SupportedDisplayModes())
        modes.push_back({static_cast<uint32_t>(mode.width), static_cast<uint32_t>(mode.height),
                         static_cast<uint32_t>(mode.bitsPerPixel)});
    return true;
}

bool CDirectDraw::SetCooperativeLevel(bool fullScreenFlag) {
    fullScreen = fullScreenFlag ? 1 : 0;
    return true;
}

bool CDirectDraw::SetMode(int32_t modeWidth, int32_t modeHeight, int32_t bits,
                          bool fullScreenFlag) {
    SetCooperativeLevel(fullScreenFlag);
    drawingSurface.reset();
    changed.clear();
    width = height = bitsPerPixel = 0;
    if (!display || !display->SetMode(modeWidth, modeHeight, bits, fullScreenFlag)) {
        ReportFailure("Failed to set display mode! ", __LINE__);
        return false;
    }
    if (!CreateSurfaces())
        return false;
    width = drawingSurface->GetWidth();
    height = drawingSurface->GetHeight();
    bitsPerPixel = bits;
    cursorRect = {};
    return true;
}

bool CDirectDraw::CreateSurfaces() {
    drawingSurface =
        display ? CreateOffscreenSurface(display->Width(), display->Height()) : nullptr;
    if (!drawingSurface) {
        ReportFailure("Failed to create primary surface! ", __LINE__);
        return false;
    }
    DebugPrint(" Primary surface created ");
    return true;
}

bool CDirectDraw::SetColourKey(CSurface& surface) {
    if (g_pixelFormat != kPixelFormat565 && g_pixelFormat != kPixelFormat555) {
        CriticalError("Grafix mode is NOT supported");
        return false;
    }
    surface.SetColourKey(ColourKeyOf(g_pixelFormat));
    return true;
}

uint8_t* CDirectDraw::LockSurface(CSurface& surface) {
    return surface.Lock();
}

bool CDirectDraw::UnlockSurface(CSurface& surface) {
    surface.Unlock();
    return true;
}

void CDirectDraw::Flip() {
    if (!display || !drawingSurface)
        return;
    display->Present(drawingSurface->Lock(), drawingSurface->GetPitch(), changed);
    drawingSurface->Unlock();
    changed.clear();
    if (fullScreen)
        cursorDrawn = 0;
}

void CDirectDraw::MarkChanged(const Rect& rect) {
    if (rect.left < rect.right && rect.top < rect.bottom)
        changed.push_back({rect.left, rect.top, rect.right, rect.bottom});
}

void CDirectDraw::Release() {
    modes.clear();
    changed.clear();
    drawingSurface.reset();
    display.reset();
}

// The display functions ------------------------------------------------------

void CGraphicsBase::InitDisplay(bool noDisplay) {
    if (!noDisplay)
        g_directDrawReady = CreateDirectDraw();
    SetDefaultPalette("palette.act");
    g_displayModes.clear();
    if (g_directDraw)
        g_directDraw->GetModes(g_displayModes);
    std::stable_sort(g_displayModes.begin(), g_displayModes.end(), CompareDisplayModes);
}

void CGraphicsBase::SetDefaultPalette(const std::string& name) {
    g_defaultPalette = GetPalette(name);
}

uint8_t* CGraphicsBase::GetScreenPixels() {
    return g_screen ? g_screen->pixels : nullptr;
}
int32_t CGraphicsBase::GetScreenPitch() {
    return g_screen ? g_screen->pitch : 0;
}
int32_t CGraphicsBase::GetScreenWidth() {
    return g_screen ? g_screen->width : 0;
}
int32_t CGraphicsBase::GetScreenHeight() {
    return g_screen ? g_screen->height : 0;
}

bool CreateDirectDraw() {
    g_directDraw = std::make_unique<CDirectDraw>();
    if (g_directDraw->Init())
        return true;
    g_directDraw.reset();
    return false;
}

bool SetDisplayMode(int32_t width, int32_t height, int32_t bits, bool windowed) {
    if (!g_directDrawReady || !g_directDraw)
        return false;
    g_screen.reset();
    g_screenFront.reset();
    if (!g_directDraw->SetMode(width, height, bits, !windowed))
        return false;
    g_screen = std::make_unique<CImage>(width, height, bits, kImageMemory);
    return MakeFront(width, height) && TakePixelFormat();
}

bool ChangeDisplayMode(int32_t width, int32_t height, int32_t bits, bool windowed) {
    if (!g_directDrawReady || !g_directDraw)
        return false;
    if (!SetModeKeepingScreen(width, height, bits, windowed))
        return false;
    const platform::Display& display = *g_directDraw->display;
    DebugPrint("\nRGBFormat = %d ,r=%d g=%d b=%d \n", bits, static_cast<int>(display.RedMask()),
               static_cast<int>(display.GreenMask()), static_cast<int>(display.BlueMask()));
    return true;
}

bool InitDisplayMode() {
    return SetGameMode(false);
}

bool ResetDisplayMode() {
    return SetGameMode(true);
}

void PresentScreen() {
    if (!g_appActive || !g_directDraw || !g_screen)
        return;
    CopyScreenToFront({0, 0, g_screen->width, g_screen->height});
    if (g_currentCursor > 0 && static_cast<size_t>(g_currentCursor) < g_cursorImages.size())
        g_directDraw->DrawCursor(*g_cursorImages[g_currentCursor], *g_cursorImages[0], true);
    g_directDraw->Flip();
}

void PresentScreenRect(const Rect& rect) {
    if (!g_appActive || !g_directDraw || !g_screen)
        return;
    CopyScreenToFront(rect);
    g_directDraw->Flip();
}

void SetPresentRect(const Rect& rect) {
    g_presentRect = rect;
}

void ShutdownGraphics() {
    g_displayModes.clear();
    g_screen.reset();
    g_screenFront.reset();
    g_cursorImages.clear();
    g_currentCursor = 0;
    g_directDraw.reset();
    g_directDrawReady = false;
}
