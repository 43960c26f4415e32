#pragma once
// CSprite: a drawable picture with a position, a hot spot (origin), frames
// side by side in its image and an animation. Pictures from files are
// shared through g_imageCache.
#include <cstdint>
#include <string>

#include "engine/Drawable.h"
#include "engine/ImageCache.h"

class CPalette;

struct SpritePoint {
    int32_t x = 0;
    int32_t y = 0;
};

class CSprite : public Drawable {
public:
    // The picture "gfx\dummy.bmp".
    CSprite();
    // The picture of the file, shared: position and origin (0, 0), not
    // animated, translucency 32, one frame, clip the whole screen,
    // destination g_screen.
    explicit CSprite(const std::string& fileName);
    // A private zeroed picture of the size, named "sized image".
    CSprite(int32_t width, int32_t height, int32_t bits);
    ~CSprite() override;

    // A tick event (_COVEVT_TICK_ANIMATIONS_) animates an animated sprite by
    // its tick count and answers DRAWABLE_DELETE_ME once the animation is
    // finished and removeWhenDone is set; otherwise DRAWABLE_NOT_TAKEN.
    int HandleEvent(COVEvent& event) override;
    // The current frame at the position minus the origin onto the
    // destination, within the clip rectangle; nothing while hidden.
    void Draw(int32_t param) override;

    virtual void SetPosition(int32_t newX, int32_t newY);
    virtual void MoveBy(int32_t dx, int32_t dy);
    // Inside the current frame as drawn and, unless hitWholeFrame, on a
    // pixel that is not transparent.
    virtual bool HitTest(int32_t pointX, int32_t pointY);
    virtual SpritePoint GetPosition() const;
    // Origin (0, 0), the picture of the file, one frame.
    virtual void Load(const std::string& fileName);
    // Releases the picture and makes a private zeroed one of the size.
    virtual void CreateImage(int32_t width, int32_t height, int32_t bits);
    // Frame width = image width / n (0 without image); frame 0. A count
    // below 1 counts as 1.
    virtual void SetFrameCount(int32_t n);
    // The frame's rectangle becomes the source; a frame outside 0 ..
    // frameCount - 1 is held to it.
    virtual void SetFrame(int32_t n);
    // Every speed-th call moves one frame on, wrapping to 0 (which sets
    // finished).
    virtual void NextFrame();
    // Moves by ticks / speed frames (the remainder is kept). Reaching the
    // frame count sets finished; a one-shot sprite then stops at frame 0
    // and is no longer animated, others wrap round.
    virtual void Animate(int32_t ticks);
    virtual bool IsAnimated() const { return speed != 0; }

    // Drops the reference to the picture (the last one frees it and takes
    // it out of the cache); the sprite has no image afterwards.
    void ReleaseImage();
    // Releases the picture, then takes the cached one of the file or loads
    // and enters it.
    void LoadImage(const std::string& fileName);
    // Replaces the shared picture by a private one read again from the same
    // file, so that it can be changed alone. False when there is no picture
    // name.
    bool MakeImagePrivate();
    // Run-length encodes the picture into frameCount frames.
    bool BuildImageFrames();

    int32_t GetWidth() const { return frameWidth >> ClampedZoom(); }
    int32_t GetHeight() const { return image ? image->height >> ClampedZoom() : 0; }
    void SetOrigin(int32_t newX, int32_t newY) {
        originX = newX;
        originY = newY;
    }
    void SetClipRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
        clip = {left, top, right, bottom};
    }
    void SetClipRectFrom(const Rect& rect) { clip = rect; }
    // A null image only logs " Invalid surface!!! " and keeps the old one.
    void SetDestination(CImageBase* newDestination);
    CImageBase* GetDestination() const { return destination; }
    std::string GetImageName() const { return image ? image->name : std::string(); }
    // Sets the picture's palette; answers the picture.
    CSharedImage* SetPalette(CPalette* newPalette);
    CPalette* GetPalette() const { return image ? image->palette : nullptr; }
    int32_t GetPaletteTable() const { return paletteTable; }

    uint8_t hidden = 0;
    uint8_t oneShot = 0;
    int32_t zoomShift = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t originX = 0;
    int32_t originY = 0;
    int32_t tickCounter = 0;
    int32_t speed = 0;
    CImageBase* destination = nullptr;
    Rect source;
    Rect clip;
    int32_t frameCount = 1;
    int32_t frame = 0;
    int32_t frameWidth = 0;
    CSharedImage* image = nullptr;
    uint8_t removeWhenDone = 0;
    uint8_t finished = 0;
    uint8_t hitWholeFrame = 0;
    int32_t paletteTable = 0;
    int32_t translucency = 32;

protected:
    // An encoded picture becomes opaque (kind 1) or translucent at the
    // sprite's level (kind 4) before it is drawn; light and dark maps stay.
    void PrepareTranslucency();

private:
    void SetUp();
    int32_t ClampedZoom() const;
};

// Sprites alive.
extern int32_t g_spriteCount;
