// SpriteWorld and the landscape tiles: drawing and hit tests through the
// map view, and the definition block of a ".spr" file.
#include "world/map/MapSprite.h"
#include "engine/Saturate.h"

#include <algorithm>
#include <cmath>

#include "data/Keywords.h"
#include "data/TokenFile.h"
#include "engine/CriticalError.h"
#include "engine/Display.h"
#include "engine/Format.h"
#include "engine/Palette.h"
#include "engine/Random.h"
#include "world/Province.h"

namespace {

// The first frame of a new animation. Pictures shown differ from machine to
// machine, so they draw from a sequence of their own rather than from the
// game's shared random numbers.
uint32_t g_startFrameState = 1;

int32_t RandomStartFrame(int32_t frameCount) {
    return NextRand15(g_startFrameState) % frameCount;
}

// Passes over the rest of a nested block whose "{" has been taken, up to and
// including its "}".
void SkipBlock(CFieldReader& reader) {
    CTokenFile* file = reader.GetTokenFile();
    for (int depth = 1; file && depth > 0 && file->Next() != 0;) {
        if (file->Current().code == TOKEN_OPEN_BRACE)
            ++depth;
        else if (file->Current().code == TOKEN_CLOSE_BRACE)
            --depth;
    }
}

uint32_t LineOf(const CFieldReader& reader) {
    const CTokenFile* file = reader.GetTokenFile();
    return file ? file->GetLine() + 1 : 0;
}

// The fields of a "cpoint" block whose "{" has been taken, up to its "}".
void ReadPoint(CFieldReader& reader, int32_t& pointX, int32_t& pointY) {
    while (reader.ReadBlockField() == FIELD_READ) {
        if (reader.key.code == KW_X) {
            pointX = TokenToInt(reader.value.text);
        } else if (reader.key.code == KW_Y) {
            pointY = TokenToInt(reader.value.text);
        } else {
            DebugPrint("error in cpoint at line %u\n", LineOf(reader));
            if (reader.value.code == TOKEN_OPEN_BRACE)
                SkipBlock(reader);
        }
    }
}

} // namespace

void ResetStartFrames() {
    g_startFrameState = 1;
}

// SpriteWorld ----------------------------------------------------------------------

SpriteWorld::SpriteWorld() : CSprite() {
    SetOrigin(frameWidth / 2, image ? image->height / 2 : 0);
    DrawOntoScreen();
}

SpriteWorld::SpriteWorld(const std::string& fileName) : CSprite(fileName) {
    SetOrigin(frameWidth / 2, image ? image->height / 2 : 0);
    DrawOntoScreen();
}

int SpriteWorld::ReadDefinition(CFieldReader& reader) {
    speed = 25;
    DrawOntoScreen();
    if (reader.ReadField() != FIELD_READ || reader.key.code != KW_SPRITE ||
        reader.value.code != TOKEN_OPEN_BRACE) {
        reader.ReportError("Sprite keyword not found..");
        return FIELD_ERROR;
    }
    std::string bitmap;
    std::string paletteName;
    int32_t frames = 1;
    int32_t pointX = 0;
    int32_t pointY = 0;
    bool isStatic = false;
    int32_t transparency = 0;
    int32_t opacity = 0;
    while (reader.ReadBlockField() == FIELD_READ) {
        switch (reader.key.code) {
        case KW_BITMAP:
            bitmap = reader.value.text;
            break;
        case KW_ORIGIN:
            if (reader.value.code == TOKEN_OPEN_BRACE)
                ReadPoint(reader, pointX, pointY);
            else
                reader.ReportError("No left curly");
            break;
        case KW_FRAMES:
            frames = TokenToInt(reader.value.text);
            break;
        case KW_SPEED:
            speed = TokenToInt(reader.value.text);
            break;
        case KW_STATIC:
            isStatic = reader.value.code == KW_YES;
            break;
        case KW_PALETTE:
            paletteName = reader.value.text;
            break;
        case KW_TRANSPARENCY:
            transparency = TokenToInt(reader.value.text);
            break;
        case KW_OPACITY:
            opacity = TokenToInt(reader.value.text);
            break;
        default:
            reader.ReportError("SpriteWorld : Unexpected field");
            if (reader.value.code == TOKEN_OPEN_BRACE)
                SkipBlock(reader);
            break;
        }
    }

    if (!bitmap.empty())
        LoadImage(FormatText("gfx\\map\\units\\bmp\\%s", bitmap.c_str()));
    // At least one frame, and no more than the picture has columns.
    SetFrameCount(std::clamp(frames, 1, std::max(image ? image->width : 1, 1)));
    SetOrigin(pointX, pointY);
    if (CPalette* palette = paletteName.empty() ? nullptr : ::GetPalette(paletteName))
        SetPalette(palette);
    BuildImageFrames();
    if (isStatic)
        DrawOntoMapImage();
    if (image && transparency == 1 && opacity == 0) {
        image->kind = kImageLightMap;
    } else if (image && transparency == 1) {
        // The sprite keeps the level too: drawing sets an encoded picture's
        // kind from the sprite's translucency.
        translucency = std::clamp(opacity, 0, 32);
        image->kind = translucency < 32 ? kImageTranslucent : kImageMemory;
        image->translucency = translucency < 32 ? translucency : 0;
    } else if (image && transparency == 2 && opacity == 0) {
        image->kind = kImageDarkMap;
    }
    return FIELD_BLOCK_END;
}

int32_t SpriteWorld::MapZoom() const {
    return static_cast<int32_t>(
        std::clamp(int64_t{zoomShift} + g_zoomShift, int64_t{0}, int64_t{4}));
}

MapPoint SpriteWorld::ScreenTopLeft() const {
    MapPoint at;
    WorldToScreenVisible(SaturateToInt32(int64_t{worldX} - originX),
                         SaturateToInt32(int64_t{worldY} - originY), at);
    return at;
}

void SpriteWorld::Draw(int32_t param) {
    if (param == kDrawAtWorldPosition) {
        x = worldX;
        y = worldY;
        CSprite::Draw(param);
        return;
    }
    CImage* screen = g_screen.get();
    if (hidden || !image || !screen)
        return;
    PrepareTranslucency();
    image->zoomShift = MapZoom();
    image->paletteTable = paletteTable;
    const MapPoint at = ScreenTopLeft();
    const Rect screenClip{g_mapViewRect.left, g_mapViewRect.top, g_mapViewRect.right,
                          screen->height};
    image->Draw(at.x, at.y, source.left, source.top, source.right, source.bottom, &screenClip,
                screen, nullptr);
}

void SpriteWorld::SetPosition(int32_t newX, int32_t newY) {
    worldX = newX;
    worldY = newY;
}

void SpriteWorld::MoveBy(int32_t dx, int32_t dy) {
    worldX = SaturateToInt32(int64_t{worldX} + dx);
    worldY = SaturateToInt32(int64_t{worldY} + dy);
}

bool SpriteWorld::HitTest(int32_t pointX, int32_t pointY) {
    if (!image)
        return false;
    const int32_t zoom = MapZoom();
    const MapPoint at = ScreenTopLeft();
    const int64_t dx = int64_t{pointX} - at.x;
    const int64_t dy = int64_t{pointY} - at.y;
    if (dx < 0 || dy < 0 || dx >= (frameWidth >> zoom) || dy >= (image->height >> zoom))
        return false;
    if (hitWholeFrame)
        return true;
    return !image->IsTransparentAt(frame * frameWidth + static_cast<int32_t>(dx << zoom),
                                   static_cast<int32_t>(dy << zoom));
}

SpritePoint SpriteWorld::GetPosition() const {
    return {worldX, worldY};
}

void SpriteWorld::Load(const std::string& fileName) {
    LoadImage(fileName);
    SetFrameCount(1);
}

void SpriteWorld::SetFrameCount(int32_t n) {
    CSprite::SetFrameCount(n);
    SetFrame(RandomStartFrame(frameCount));
    SetOrigin(frameWidth / 2, image ? image->height / 2 : 0);
}

bool SpriteWorld::IntersectsRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    const int32_t zoom = MapZoom();
    const MapPoint at = ScreenTopLeft();
    const int64_t frameRight = int64_t{at.x} + (frameWidth >> zoom);
    const int64_t frameBottom = int64_t{at.y} + ((image ? image->height : 0) >> zoom);
    return at.x <= right && frameRight >= left && at.y <= bottom && frameBottom >= top;
}

void SpriteWorld::SetProvince(int32_t province) {
    MapPoint centre;
    GetProvinceCentre(centre, province);
    SetPosition(centre.x, centre.y);
}

void SpriteWorld::DrawOntoMapImage() {
    SetDestination(g_mapImage);
    if (g_mapImage)
        SetClipRect(0, 0, g_mapImage->width, g_mapImage->height);
    onMapImage = 1;
}

void SpriteWorld::DrawOntoScreen() {
    SetDestination(g_screen.get());
    SetClipRectFrom(g_mapViewRect);
    onMapImage = 0;
}

void SpriteWorld::ShareImage(const SpriteWorld& other) {
    if (other.image == image)
        return;
    ReleaseImage();
    image = other.image;
    if (image)
        ++image->refCount;
}

// CLandscapeSprite -----------------------------------------------------------------

void CLandscapeSprite::SetTerrain(int32_t terrain, int32_t tileVariant) {
    static const char* const kTerrains[] = {"Plains", "Forest", "Mountain",
                                            "Desert", "Marsh",  "Sea"};
    if (terrain < 0 || terrain >= static_cast<int32_t>(std::size(kTerrains)))
        return;
    Load(FormatText("gfx\\map\\landscape\\%s%d.bmp", kTerrains[terrain], tileVariant));
    if (CPalette* palette = ::GetPalette("landscape_palette.bmp"))
        SetPalette(palette);
    variant = tileVariant;
}

void CLandscapeSprite::DrawOnMap(int32_t frame) {
    const int32_t zoom = std::clamp(g_zoomShift, 0, 4);
    zoomShift = zoom;
    SetFrameCount(2);
    SetFrame(frame);
    if (hidden || !image || !destination)
        return;
    MapPoint at;
    WorldToView(worldX, worldY, at);
    image->zoomShift = zoom;
    image->paletteTable = paletteTable;
    image->Draw(SaturateToInt32(int64_t{g_mapViewRect.left} + at.x - (originX >> zoom)),
                SaturateToInt32(int64_t{g_mapViewRect.top} + at.y - (originY >> zoom)), source.left,
                source.top, source.right, source.bottom, &clip, destination, nullptr);
}

// DirectionFromPoints --------------------------------------------------------------

int32_t DirectionFromPoints(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    float a =
        std::atan2(static_cast<float>(int64_t{y1} - y2), static_cast<float>(int64_t{x2} - x1));
    if (a < 0.0f)
        a += 6.2831855f;
    a *= 2.546479f;
    if (a >= 1.0f && a <= 3.0f)
        return 1;
    if (a > 3.0f && a <= 5.0f)
        return 0;
    if (a > 5.0f && a <= 7.0f)
        return 7;
    if (a > 7.0f && a <= 9.0f)
        return 6;
    if (a > 9.0f && a <= 11.0f)
        return 5;
    if (a > 11.0f && a <= 13.0f)
        return 4;
    if (a > 13.0f && a <= 15.0f)
        return 3;
    return 2;
}
