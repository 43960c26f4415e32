#pragma once
// The small drawables that show a unit's state on the map: the fill-level
// bar (CStatusBar, also used by cities and construction orders) and the
// portrait under each unit's figure (CUnitPortrait): the bar, a small
// picture of an explorer or conquistador commander left of it and a cargo
// marker right of it for a fleet with armies aboard.
#include <cstdint>
#include <memory>
#include <string>

#include "engine/Sprite.h"

class CPalette;
class CUnit;

// The picture of the bar: 8-bit, drawn with the status-bar palette.
inline constexpr const char* kStatusBarPicture = "gfx\\interface\\statusbar.bmp";
// The portrait's small pictures side by side: explorer, conquistador,
// cargo.
inline constexpr const char* kPortraitPictures = "gfx\\interface\\profsmall.bmp";

// The colour bands of the bar, from full to empty.
enum EStatusBand : int32_t {
    STATUS_GREEN = 0,
    STATUS_YELLOW_GREEN = 1,
    STATUS_YELLOW = 2,
    STATUS_ORANGE = 3,
    STATUS_RED = 4,
};
constexpr int32_t kStatusBandCount = 5;
// The index the bar's empty part takes.
constexpr uint8_t kStatusBarEmptyIndex = 255;

// Fills the band colours (the indices nearest to green, yellow-green,
// yellow, orange and red) and the country colours (the index nearest to
// each country's political colour in the map palette) from the status-bar
// palette. Without a palette every entry is 0.
void InitStatusBarColours(const CPalette* statusPalette, const CPalette* mapPalette);
// The palette index of a band (a band outside 0..4 takes red) and of a
// country number (0 outside 0..98).
uint8_t GetStatusBandColour(int32_t band);
uint8_t GetStatusCountryColour(uint32_t country);

// The fill level of an army of that many men: 50000 fill the bar.
int32_t ArmyStatusLevel(int32_t men);
// The fill level of a fleet of that many ships on a bar of that pixel width:
// twice the width in ships fill it. 0 for a bar without width.
int32_t FleetStatusLevel(int32_t ships, int32_t barWidth);

class CStatusBar : public CSprite {
public:
    // The bar picture, a copy of its own so that its fill is its own.
    CStatusBar();
    // The picture of the file, likewise; a picture that cannot be had
    // leaves the bar without pixels (SetLevel then changes nothing).
    explicit CStatusBar(const std::string& fileName);
    ~CStatusBar() override = default;

    // SetLevel with the colour of the band (0 green ... 4 red).
    void SetFill(int32_t level, int32_t band);
    // SetLevel with the country's colour.
    void SetFillAlt(int32_t level, uint32_t country);
    // level held within 0..100. Of the inner width w = width - 4, w x level
    // / 100 pixels (at least 2) of rows 2, 3 and 4 from column 2 on take the
    // index, the rest up to w the empty index.
    void SetLevel(int32_t level, uint8_t index);
    // The level last set.
    int32_t GetLevel() const { return m_level; }
    // The bar's pixel width (0 without a picture).
    int32_t GetBarWidth() const;

    virtual bool IsPortrait() const { return false; }

private:
    int32_t m_level = 0;
};

class CUnitPortrait : public CStatusBar {
public:
    // The portrait of the unit (not owned), with the picture files given.
    explicit CUnitPortrait(CUnit* unit, const std::string& barFile = kStatusBarPicture,
                           const std::string& pictureFile = kPortraitPictures);
    ~CUnitPortrait() override;

    // The bar; the commander's picture left of it (frame 0 explorer, 1
    // conquistador, none for others) at the bar's x minus the picture's
    // width minus the bar's origin; for a fleet with armies aboard, the
    // cargo marker (frame 2) 6 pixels right of the bar's right edge.
    void Draw(int32_t param) override;
    // The cargo marker's hit test; false unless the unit is a fleet with
    // armies aboard.
    bool HitCargo(int32_t pointX, int32_t pointY);
    bool IsPortrait() const override { return true; }

    CSprite& GetPicture() { return *m_picture; }
    CUnit* GetUnit() const { return m_unit; }

private:
    // Places the small picture at the frame for the draw or hit test.
    void PlacePicture(int32_t frame, bool right);
    bool CarriesArmies() const;

    CUnit* m_unit;
    std::unique_ptr<CSprite> m_picture;
};
