#pragma once
// The display of the game. Everything is drawn into one 16-bit memory
// picture (g_screen); presenting copies it onto the front picture
// (g_screenFront, over the display's drawing surface), draws the software
// cursor there in full screen, and hands the rows that changed to the
// platform display. The pixel format follows the display's green mask.
// Cursors (engine/Cursor.cpp) and screenshots (engine/Screenshot.cpp) live
// here as well. Main thread only.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/DirectX.h"
#include "engine/Image.h"
#include "platform/Display.h"

struct DisplayModeInfo {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t bitsPerPixel = 0;
};

// Orders modes by bits per pixel, then by width x height, both ascending.
bool CompareDisplayModes(const DisplayModeInfo& a, const DisplayModeInfo& b);

class CDirectDraw : public CDirectXObject {
public:
    CDirectDraw() = default;
    ~CDirectDraw() override { Release(); }
    CDirectDraw(const CDirectDraw&) = delete;
    CDirectDraw& operator=(const CDirectDraw&) = delete;

    // Makes the platform display of g_displayConfig (windowed, no mode yet)
    // and copies its modes; cursor drawn = 1. False when there is no display.
    bool Init();
    // Stores the flag; nothing else to do.
    bool SetCooperativeLevel(bool fullScreenFlag);
    // Sets the mode on the display and makes the drawing surface of its
    // size; width, height and bits follow.
    bool SetMode(int32_t modeWidth, int32_t modeHeight, int32_t bits, bool fullScreenFlag);
    // A zeroed drawing surface of the display's size.
    bool CreateSurfaces();
    // The colour key of the current format; an unsupported format shows the
    // fatal box "Grafix mode is NOT supported" and answers false.
    bool SetColourKey(CSurface& surface);
    // Memory surfaces are never lost: these only count the lock.
    uint8_t* LockSurface(CSurface& surface);
    bool UnlockSurface(CSurface& surface);
    // Shows the drawing surface (its changed rows) and, in full screen,
    // clears cursor drawn. In a window cursor drawn stays set, so no
    // software cursor is drawn there (the system's pointer shows).
    void Flip();
    // Draws the cursor at the pointer with the screen under it kept in the
    // save image (engine/Cursor.cpp); only while cursor drawn is 0.
    void DrawCursor(CImageBase& cursor, CImageBase& save, bool onDrawingSurface);
    int32_t GetModeCount() const { return static_cast<int32_t>(modes.size()); }
    void GetModes(std::vector<DisplayModeInfo>& out) const { out = modes; }
    // Frees the modes, the drawing surface and the display.
    void Release();

    // Notes rows of the drawing surface as changed since the last flip.
    void MarkChanged(const Rect& rect);

    int32_t height = 0;
    int32_t width = 0;
    int32_t bitsPerPixel = 0;
    uint8_t fullScreen = 0;
    uint8_t cursorDrawn = 1;
    std::unique_ptr<platform::Display> display;
    std::unique_ptr<CSurface> drawingSurface;
    std::vector<DisplayModeInfo> modes;
    std::vector<platform::DisplayRect> changed; // since the last flip

    // Where the cursor was last drawn on the front surface, and its
    // rectangle (the part of the save image that holds the screen).
    int32_t cursorX = 0;
    int32_t cursorY = 0;
    Rect cursorRect;
};

// How CDirectDraw::Init makes the display: from the environment
// (platform::DisplayConfigFromEnvironment) unless set before.
extern platform::DisplayConfig g_displayConfig;

extern std::unique_ptr<CGraphicsBase> g_graphics;
extern std::unique_ptr<CDirectDraw> g_directDraw;
extern bool g_directDrawReady;                // the display was made
extern std::unique_ptr<CImage> g_screen;      // the picture all drawing goes to
extern std::unique_ptr<CImage> g_screenFront; // over the drawing surface
extern std::vector<DisplayModeInfo> g_displayModes;
extern Rect g_presentRect;   // where the screen is shown, in pointer coordinates
extern uint32_t g_appActive; // set by the window procedure; no present while 0
extern uint8_t g_windowed;   // chooses a window or the whole screen

constexpr size_t kMaxCursorImages = 17;
// Index 0 keeps the screen under the cursor.
extern std::vector<std::unique_ptr<CImage>> g_cursorImages;
extern int32_t g_currentCursor; // 0: none

// Makes g_directDraw and initialises it; false (and no display) when that
// fails.
bool CreateDirectDraw();

// Sets the mode: a new g_screen (memory, width x height x bits) and a new
// g_screenFront, the present rectangle (0, 0, width, height) and the pixel
// format by the drawing surface's green mask (the palettes' pixel tables
// rebuilt). False when the display is not ready, the mode cannot be set or
// the format is not supported.
bool SetDisplayMode(int32_t width, int32_t height, int32_t bits, bool windowed);
// The same, keeping g_screen: only the front picture is made anew.
bool ChangeDisplayMode(int32_t width, int32_t height, int32_t bits, bool windowed);
// 800 x 600 x 16 in the window mode of g_windowed (set anew, or changed
// keeping g_screen), then the cursor images are dropped and
// "gfx\interface\cursor_select.bmp" becomes the current cursor. The front
// end's shadow images and the game frame's own cursors are their owners'
// to free and load around these calls.
bool InitDisplayMode();
bool ResetDisplayMode();

// While g_appActive: copies the screen onto the front picture at the
// present rectangle's corner, draws the current cursor (when 0 <
// g_currentCursor < the count) and flips.
void PresentScreen();
// The same for one rectangle of the screen, without the cursor.
void PresentScreenRect(const Rect& rect);
void SetPresentRect(const Rect& rect);

// Loads a cursor picture (the first call loads it once more as image 0, the
// save image) with the colour key; answers its index, or 0 when the table
// is full.
int32_t LoadCursorImage(const std::string& path);
void SetCurrentCursor(int32_t index);

// Frees the modes, the screen pictures and the cursors, and the display.
void ShutdownGraphics();

// Writes g_screen as "ScreenSave%d.bmp", 24 bits, with the smallest number
// not yet taken. False without a screen, in an unsupported format or when
// the file cannot be written.
bool SaveScreenshot();

// Writes a 24-bit BMP file of the given size: the 54 bytes of headers, then
// the rows from the bottom up, each filled by `row` (y, and width x 3 bytes
// of blue, green and red) and padded to 4 bytes. False when the file cannot
// be written.
bool WriteBmp24(const std::string& path, int32_t width, int32_t height,
                const std::function<void(int32_t y, uint8_t* bgr)>& row);
