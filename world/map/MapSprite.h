#pragma once
// Sprites on the map: pictures placed in map coordinates and drawn through
// the map view's transform at the map's zoom (SpriteWorld), landscape tiles
// (CLandscapeSprite), and the map sprites of units, settlements and effects
// (CMapSprite), which take their picture from a table of definitions.
//
// A definition file "gfx\map\units\*.spr" describes one animated picture:
//   sprite = { bitmap = "army_fra_walk.bmp" frames = 4 speed = 20
//              origin = { x = 16 y = 28 } palette = "palette.act"
//              static = no transparency = 1 opacity = 16 }
// and its file name carries the key the picture is found by: fields of a
// letter, "-" and a value up to the next "." or blank, "c-" culture, "t-"
// kind, "a-" action, "d-" direction, "l-" level, e.g.
// "c-fra t-army a-walk d-ne l-2.spr". Names match without regard to case; a
// field left out leaves the key's value meaning none.
#include <array>
#include <cstdint>
#include <forward_list>
#include <memory>
#include <string>
#include <string_view>

#include "engine/Sprite.h"
#include "world/Disposable.h"
#include "world/MapView.h"

class CFieldReader;

// New animations start at frames drawn from a sequence of the map
// sprites' own; this starts the sequence again (pictures that tests compare).
void ResetStartFrames();

// The draw param with which a map sprite is drawn at its world position as
// it stands, without the map transform (when drawing into the map picture).
constexpr int32_t kDrawAtWorldPosition = 6;

class SpriteWorld : public CSprite, public CDisposable {
public:
    // The placeholder picture, or the picture of the file; both with the
    // origin at the picture's centre, clipped to the map view, drawn onto
    // g_screen.
    SpriteWorld();
    explicit SpriteWorld(const std::string& fileName);

    // Reads a definition block (see the top of the file) and takes its
    // picture, frames, origin, palette and transparency. FIELD_BLOCK_END once
    // read (up to its "}" or the end of the file); FIELD_ERROR when the file
    // does not begin with "sprite = {" (reported, nothing taken).
    int ReadDefinition(CFieldReader& reader) override;
    // With kDrawAtWorldPosition: at (worldX, worldY) onto the destination as
    // it stands. Otherwise at the map transform of the position less the
    // origin, at the sprite's zoom plus the map's (0..4), onto g_screen,
    // clipped to the map view's left, top and right and the screen's bottom.
    void Draw(int32_t param) override;
    void SetPosition(int32_t newX, int32_t newY) override;
    void MoveBy(int32_t dx, int32_t dy) override;
    // The frame as Draw places it on the screen; unless hitWholeFrame, on a
    // pixel that is not transparent.
    bool HitTest(int32_t pointX, int32_t pointY) override;
    SpritePoint GetPosition() const override;
    // The picture of the file in one frame.
    void Load(const std::string& fileName) override;
    // Frame width = picture width / n; starts at a frame chosen at random and
    // puts the origin at the centre of a frame.
    void SetFrameCount(int32_t n) override;

    // The frame as Draw places it overlaps the rectangle (touching edges
    // count).
    virtual bool IntersectsRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
    virtual int32_t GetSpeed() const { return speed; }
    virtual void SetSpeed(int32_t n) { speed = n; }

    // The position becomes the centre of the province's bounding box.
    void SetProvince(int32_t province);
    // Destination the map picture (clip: all of it), or g_screen (clip: the
    // map view).
    void DrawOntoMapImage();
    void DrawOntoScreen();
    // Draws the picture of the other sprite (one more reference to it).
    void ShareImage(const SpriteWorld& other);

    int32_t worldX = 0; // map coordinates
    int32_t worldY = 0;
    // The definition's ticks per frame; the animation runs at CSprite::speed.
    int32_t speed = 25;
    uint8_t onMapImage = 0; // drawn into the map picture rather than onto the screen

protected:
    // The zoom Draw uses: the sprite's plus the map's, 0..4.
    int32_t MapZoom() const;
    // Where Draw puts the frame's top-left corner on the screen.
    MapPoint ScreenTopLeft() const;
};

// A tile of the landscape drawn on the map.
class CLandscapeSprite : public SpriteWorld {
public:
    // Loads "gfx\map\landscape\<Terrain><variant>.bmp" (Plains, Forest,
    // Mountain, Desert, Marsh, Sea for terrains 0 to 5) with the palette
    // "landscape_palette.bmp"; any other terrain does nothing.
    void SetTerrain(int32_t terrain, int32_t tileVariant);
    // The tile in two frames, the given one, centred on its position within
    // the map view at the map's zoom (at most 4).
    void DrawOnMap(int32_t frame);

    int32_t variant = 0;
};

// The key of a definition; each value has a meaning-none value.
constexpr int32_t kSpriteKindNone = 18;
constexpr int32_t kSpriteCultureNone = 19;
constexpr int32_t kSpriteActionNone = 27;
constexpr int32_t kSpriteDirectionNone = 10;
constexpr int32_t kSpriteLevelNone = 1;

struct SpriteKey {
    int32_t kind = kSpriteKindNone;           // army, navy, stability, city, ... (file name "t-")
    int32_t culture = kSpriteCultureNone;     // eng, fra, hab, ... ("c-")
    int32_t action = kSpriteActionNone;       // stand, walk, fire, ... ("a-")
    int32_t direction = kSpriteDirectionNone; // n, ne, e, se, s, sw, w, nw, l, r ("d-")
    int32_t level = kSpriteLevelNone;         // a number ("l-")

    bool operator==(const SpriteKey& other) const = default;
};

// The key a definition file name carries.
SpriteKey SpriteKeyFromFileName(std::string_view fileName);

struct SpriteDefinition {
    SpriteKey key;
    std::unique_ptr<SpriteWorld> sprite; // read from the file
};

// The definitions by key: 511 buckets, the bucket of a key being
// (kind + (culture + (action + (direction + level x 4) x 4) x 4) x 8)
// modulo 511. A definition is entered at the head of its bucket, so the last
// one entered of a key is the one found.
class CSpriteDefinitionTable {
public:
    static constexpr size_t kBucketCount = 511;

    static size_t BucketOf(const SpriteKey& key);
    void Add(std::unique_ptr<SpriteDefinition> definition);
    // The definition whose key matches in all five values, or none.
    const SpriteDefinition* Find(const SpriteKey& key) const;
    uint32_t GetCount() const { return m_count; }

private:
    std::array<std::forward_list<std::unique_ptr<SpriteDefinition>>, kBucketCount> m_buckets;
    uint32_t m_count = 0;
};

// Made by the first map sprite; null before and after FreeSpriteDefinitions.
// A plain pointer, so that nothing of it is left for the program's exit,
// after the image cache is gone.
extern CSpriteDefinitionTable* g_spriteDefinitions;

// A definition read from "gfx\map\units\<fileName>" with the key of the file
// name.
std::unique_ptr<SpriteDefinition> ReadSpriteDefinition(const std::string& fileName);
// Makes g_spriteDefinitions anew (freeing the one there was) from every "gfx\map\units\*.spr"; with
// none the critical-error box " No sprites found! " is shown and the table stays empty.
void LoadSpriteDefinitions();
// Deletes every definition and the table.
void FreeSpriteDefinitions();

// A picture of a unit, settlement or effect on the map: its key chooses the
// definition it shows.
class CMapSprite : public Drawable {
public:
    // The first map sprite made while there is no table loads the
    // definitions. The key starts as all none.
    CMapSprite();
    ~CMapSprite() override;
    CMapSprite(const CMapSprite&) = delete;
    CMapSprite& operator=(const CMapSprite&) = delete;

    // Animation ticks, passed to the sprite.
    int HandleEvent(COVEvent& event) override;
    void Draw(int32_t param) override;

    // Each stores its value(s) and takes the definition of the new key; a
    // key without a definition leaves the picture as it was.
    void SetKind(int32_t kind);
    void SetCulture(int32_t culture);
    void SetAction(int32_t action);
    void SetDirection(int32_t direction);
    void SetLevel(int32_t level);
    void SetKey(int32_t culture, int32_t kind, int32_t action, int32_t direction, int32_t level);
    const SpriteKey& GetKey() const { return m_key; }

    // Takes the definition's picture (shared), frames, origin, speed,
    // palette, translucency and destination, and restarts the animation.
    // None: nothing changes.
    void ApplyDefinition(const SpriteDefinition* definition);

    bool HitTest(int32_t pointX, int32_t pointY) { return m_sprite->HitTest(pointX, pointY); }
    void SetFrame(int32_t n) { m_sprite->SetFrame(n); }
    void SetProvince(int32_t province) { m_sprite->SetProvince(province); }
    void SetPosition(int32_t newX, int32_t newY) { m_sprite->SetPosition(newX, newY); }
    SpritePoint GetPosition() const { return m_sprite->GetPosition(); }
    SpriteWorld& GetSprite() { return *m_sprite; }

protected:
    std::unique_ptr<SpriteWorld> m_sprite;
    SpriteKey m_key;

private:
    void ApplyKey();
};

// Map sprites alive.
extern int32_t g_mapSpriteCount;

// A map sprite bound to a province: shown while the province is newly
// revealed and the map shows markers, dimmed with the province.
class CProvinceMarker : public CMapSprite {
public:
    explicit CProvinceMarker(int32_t province);

    void Draw(int32_t param) override;
    // DRAWABLE_DELETE_ME while the front end is active; otherwise as a map
    // sprite.
    int HandleEvent(COVEvent& event) override;
    int32_t GetProvinceNumber() const { return m_province; }

protected:
    // The province is newly revealed and the map shows markers.
    bool IsShown() const;

    int32_t m_province;
};

// A province marker that fades out over its duration (in ticks) and then
// asks to be removed; drawn only while its province is not dimmed.
class CFadingProvinceMarker : public CProvinceMarker {
public:
    CFadingProvinceMarker(int32_t province, int32_t durationTicks);

    void Draw(int32_t param) override;
    int HandleEvent(COVEvent& event) override;

    int64_t elapsed = 0;
    int32_t duration;
};

// The direction 0 n, 1 ne, 2 e, 3 se, 4 s, 5 sw, 6 w, 7 nw from point 1 to
// point 2 on the screen, by sectors of the angle as 0..16 eighths of pi:
// [1, 3] ne, (3, 5] n, (5, 7] nw, (7, 9] w, (9, 11] sw, (11, 13] s,
// (13, 15] se, otherwise e.
int32_t DirectionFromPoints(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
