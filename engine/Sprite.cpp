#include "engine/Sprite.h"

#include <algorithm>
#include <limits>

#include "engine/CriticalError.h"
#include "engine/Display.h"

int32_t g_spriteCount = 0;

CSprite::CSprite() : CSprite("gfx\\dummy.bmp") {}

CSprite::CSprite(const std::string& fileName) {
    SetName(fileName.c_str());
    image = g_imageCache.Acquire(fileName);
    SetUp();
}

CSprite::CSprite(int32_t width, int32_t height, int32_t bits) {
    image = new CSharedImage(width, height, bits);
    SetUp();
}

void CSprite::SetUp() {
    ++g_spriteCount;
    CImage* screen = g_screen.get();
    if (screen)
        clip = {0, 0, screen->width, screen->height};
    SetDestination(screen);
    SetFrameCount(1);
}

CSprite::~CSprite() {
    --g_spriteCount;
    ReleaseImage();
}

int32_t CSprite::ClampedZoom() const {
    return std::clamp(zoomShift, 0, 4);
}

int CSprite::HandleEvent(COVEvent& event) {
    uint32_t ticks = 0;
    if (!ReadAnimationTicks(event, ticks))
        return DRAWABLE_NOT_TAKEN;
    if (IsAnimated())
        Animate(
            static_cast<int32_t>(std::min<uint32_t>(ticks, std::numeric_limits<int32_t>::max())));
    return removeWhenDone && finished ? DRAWABLE_DELETE_ME : DRAWABLE_NOT_TAKEN;
}

void CSprite::PrepareTranslucency() {
    if (image->kind == kImageLightMap || image->kind == kImageDarkMap || !image->frames)
        return;
    if (translucency >= 32) {
        image->kind = kImageMemory;
        image->translucency = 0;
    } else {
        image->kind = kImageTranslucent;
        image->translucency = std::max(translucency, 0);
    }
}

void CSprite::Draw(int32_t /*param*/) {
    if (hidden || !image || !destination)
        return;
    PrepareTranslucency();
    image->zoomShift = ClampedZoom();
    image->paletteTable = paletteTable;
    image->Draw(x - originX, y - originY, source.left, source.top, source.right, source.bottom,
                &clip, destination, nullptr);
}

void CSprite::SetPosition(int32_t newX, int32_t newY) {
    x = newX;
    y = newY;
}

void CSprite::MoveBy(int32_t dx, int32_t dy) {
    x += dx;
    y += dy;
}

bool CSprite::HitTest(int32_t pointX, int32_t pointY) {
    if (!image)
        return false;
    int32_t s = ClampedZoom();
    int64_t dx = int64_t{pointX} - (int64_t{x} - originX);
    int64_t dy = int64_t{pointY} - (int64_t{y} - originY);
    if (dx < 0 || dy < 0 || dx >= (frameWidth >> s) || dy >= (image->height >> s))
        return false;
    if (hitWholeFrame)
        return true;
    return !image->IsTransparentAt(frame * frameWidth + static_cast<int32_t>(dx),
                                   static_cast<int32_t>(dy));
}

SpritePoint CSprite::GetPosition() const {
    return {x, y};
}

void CSprite::Load(const std::string& fileName) {
    SetOrigin(0, 0);
    LoadImage(fileName);
    SetFrameCount(1);
}

void CSprite::CreateImage(int32_t width, int32_t height, int32_t bits) {
    ReleaseImage();
    image = new CSharedImage(width, height, bits);
    SetFrameCount(frameCount);
}

void CSprite::SetFrameCount(int32_t n) {
    frameCount = std::max(n, 1);
    frameWidth = image ? image->width / frameCount : 0;
    SetFrame(0);
}

void CSprite::SetFrame(int32_t n) {
    frame = std::clamp(n, 0, frameCount - 1);
    source = {frame * frameWidth, 0, (frame + 1) * frameWidth, image ? image->height : 0};
}

void CSprite::NextFrame() {
    if (++tickCounter < std::max(speed, 1))
        return;
    tickCounter = 0;
    if (frame + 1 >= frameCount) {
        finished = 1;
        SetFrame(0);
    } else {
        SetFrame(frame + 1);
    }
}

void CSprite::Animate(int32_t ticks) {
    if (speed <= 0 || ticks <= 0)
        return;
    int64_t total = int64_t{tickCounter} + ticks;
    int64_t advance = total / speed;
    tickCounter = static_cast<int32_t>(total % speed);
    if (frame + advance >= frameCount) {
        finished = 1;
        if (oneShot) {
            SetFrame(0);
            tickCounter = 0;
            speed = 0;
            return;
        }
    }
    SetFrame(static_cast<int32_t>((frame + advance) % frameCount));
}

void CSprite::ReleaseImage() {
    g_imageCache.Release(image);
    image = nullptr;
}

void CSprite::LoadImage(const std::string& fileName) {
    ReleaseImage();
    image = g_imageCache.Acquire(fileName);
}

bool CSprite::MakeImagePrivate() {
    if (!image || image->cacheName.empty())
        return false;
    auto* own = new CSharedImage(image->cacheName);
    ReleaseImage();
    image = own;
    frameWidth = image->width / frameCount;
    SetFrame(frame);
    return true;
}

bool CSprite::BuildImageFrames() {
    return image && image->BuildFrameTable(frameCount);
}

void CSprite::SetDestination(CImageBase* newDestination) {
    if (!newDestination) {
        DebugPrint(" Invalid surface!!! ");
        return;
    }
    destination = newDestination;
}

CSharedImage* CSprite::SetPalette(CPalette* newPalette) {
    if (image)
        image->palette = newPalette;
    return image;
}
