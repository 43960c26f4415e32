#pragma once
// CPopupWindow: a framed rectangle drawn over the game, the base of message
// boxes, dialogs and the other popups. Its frame is tiled from the nine
// pieces of a CWindowFrame into the window's own image; the game frame's
// popup list (ui/widgets/PopupList.h) draws the open windows topmost first,
// each painting only the screen bytes the windows above it left uncovered
// (ui/DirtySpans.h). A press inside raises the window; holding the button
// after it drags the window.
#include <cstdint>
#include <memory>

#include "engine/Drawable.h"
#include "engine/Image.h"

class CWindowFrame;

struct PopupPosition {
    int32_t x = 0;
    int32_t y = 0;
};

class CPopupWindow : public Drawable {
public:
    // The largest window side in pixels; larger requests are held to it.
    static constexpr int32_t kMaxSide = 4096;

    // No image yet: the subclass calls Create.
    CPopupWindow();
    // The position, when given, is first held on the screen: x at least
    // 224, x + width within the screen width, y at least 32, y + height
    // within the screen height (in that order); then Create.
    CPopupWindow(const PopupPosition* position, int32_t width, int32_t height, int32_t tileSize);
    ~CPopupWindow() override;
    CPopupWindow(const CPopupWindow&) = delete;
    CPopupWindow& operator=(const CPopupWindow&) = delete;

    // Makes the child group and the image: each side at least 3 tiles,
    // rounded down to a multiple of the tile. Without a position the window
    // takes g_nextPopupPosition, which moves on by (8, 8) and restarts at
    // (200, 100) once its x passes 400; such a window is then lifted so that
    // it ends at y = 500. Draws the frame and becomes g_lastPopup. A tile
    // size other than 8 counts as 16.
    void Create(const PopupPosition* position, int32_t requestedWidth, int32_t requestedHeight,
                int32_t tileSize);

    // Tiles the frame pieces into the image and sets the clip rectangle to
    // the screen.
    virtual void DrawFrame();
    // Inclusive on all four sides.
    bool HitTest(int32_t px, int32_t py) const;

    // DRAWABLE_DELETE_ME for "_COVEVT_CLOSEALLWINDOWS_"; the children's
    // answer when they take the event; a press inside raises
    // (DRAWABLE_TO_FRONT) and starts a drag, a drag follows the held button;
    // other mouse events inside are taken; DRAWABLE_NOT_TAKEN outside.
    int HandleEvent(COVEvent& event) override;
    // Copies the image into the uncovered spans of the screen, the
    // see-through colour RGB(35, 35, 35) showing the screen at a quarter of
    // its brightness; then the shadow and the children.
    void Draw(int32_t param) override;

    CImage* GetImage() const { return image.get(); }

    std::unique_ptr<CDrawableGroup> children;
    std::unique_ptr<CImage> image;
    CWindowFrame* frame = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t x = 0;
    int32_t y = 0;
    Rect clip;
    uint8_t dragging = 0;
    int32_t tile = 16;
    int32_t dragOffsetX = 0;
    int32_t dragOffsetY = 0;
    uint32_t shadow = 0;

private:
    void CopySpan(uint8_t* screenLine, const uint8_t* windowLine, int32_t from, int32_t to,
                  int32_t left, uint16_t seeThrough, uint16_t quarterMask) const;
};

// Where the next window without a position opens; (200, 100) at start.
extern PopupPosition g_nextPopupPosition;
// The window most recently made by Create; null once it is deleted.
extern CPopupWindow* g_lastPopup;
