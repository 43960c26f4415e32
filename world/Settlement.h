#pragma once
// The settlement base of cities and trading posts: the province a settlement
// stands in, its name, its map symbol and the flag of the country that
// controls the province.
//
// Drawing is optional. A settlement's symbols keep their keys and positions
// as plain values, so the game's rules and tests run without graphics; the
// map sprites that show them are made only once the map's sprite definitions
// are loaded (g_spriteDefinitions).
#include <cstdint>
#include <memory>
#include <string>

#include "engine/NamedObject.h"
#include "world/MapView.h"
#include "world/map/MapSprite.h"

class CIdObject;
class CProvince;

// The sprite kinds, cultures and actions the settlements show (the order of
// the definition file names' words).
constexpr int32_t kSpriteKindArmy = 0;
constexpr int32_t kSpriteKindStability = 2;
constexpr int32_t kSpriteKindCity = 3;
constexpr int32_t kSpriteKindColony = 4;
constexpr int32_t kSpriteKindPort = 7;
constexpr int32_t kSpriteKindFire = 9;
constexpr int32_t kSpriteKindManu = 14;
constexpr int32_t kSpriteKindBarrack = 17;
constexpr int32_t kSpriteActionSiegeTower = 26;

// True once the map's sprite definitions are loaded: settlements then show
// their symbols on the map.
bool SettlementGraphicsOn();

// A map symbol of a settlement: its key and position, and the map sprite
// that shows them while graphics are on. Every setter changes the sprite
// only when the value differs.
class CSettlementSymbol {
public:
    explicit CSettlementSymbol(const SpriteKey& key) : m_key(key) {}
    CSettlementSymbol(const CSettlementSymbol&) = delete;
    CSettlementSymbol& operator=(const CSettlementSymbol&) = delete;

    const SpriteKey& GetKey() const { return m_key; }
    void SetKind(int32_t kind);
    void SetCulture(int32_t culture);
    void SetAction(int32_t action);
    void SetLevel(int32_t level);

    MapPoint GetPosition() const { return m_position; }
    void PlaceAt(int32_t x, int32_t y);

    // Makes the map sprite when graphics are on and it has none yet.
    void Show();
    // The map sprite, null without graphics.
    CMapSprite* GetSprite() const { return m_sprite.get(); }
    void Draw(int32_t param);
    // Animation ticks for the sprite; EVENT_NOT_HANDLED without one.
    int HandleEvent(COVEvent& event);

private:
    SpriteKey m_key;
    MapPoint m_position;
    std::unique_ptr<CMapSprite> m_sprite;
};

// What a settlement asks of the countries, which lie above the world:
// country/ fills the entries once, by a static registration. A null entry
// answers as a game without that information (noted at each entry).
struct SettlementCountryHooks {
    // The religion of the country of the number (0..7); -1 when unknown,
    // which counts as no owner.
    int32_t (*religionOf)(int32_t number) = nullptr;
    // Makes the province the capital of the country of the number.
    void (*setCapital)(int32_t number, int32_t province) = nullptr;
    // The country recounts its province figures after a manufactory is
    // finished.
    void (*recountProvinces)(int32_t number) = nullptr;
    // The picture file of the country's flag; empty: none (no flag shown).
    std::string (*flagPathOf)(int32_t number) = nullptr;
    // The row (0..9) of the terrain table for the province; -1 unknown.
    int32_t (*terrainRowOf)(int32_t province) = nullptr;
};

// Constant-initialised (all null) before any registration runs.
extern SettlementCountryHooks g_settlementCountries;

class CSettlement : public CNamedObject {
public:
    // The symbol starts with the key.
    explicit CSettlement(const SpriteKey& symbolKey);
    ~CSettlement() override;

    // The province the settlement stands in; 0 when none. SetProvinceId
    // takes only ids 1..1472 (others leave it 0).
    int32_t GetProvinceId() const { return m_provinceId; }
    virtual void SetProvinceId(int32_t provinceId);
    // The province's record, null when the settlement has none.
    CProvince* GetProvince() const;
    // The country number of the province's controller, -1 when none.
    int32_t GetControllerNumber() const;

    virtual bool IsLargeCity() const { return false; }
    virtual bool IsColony() const { return false; }
    virtual float GetTradeFactor() const { return 0.0f; }

    // When the province has a controller, the flag takes that country's
    // flag picture (palette "flag palette.bmp") at the province's
    // unitPosition plus (8, -22). No change without a controller.
    void UpdateFlag();
    // Where the flag stands, and the flag's picture file (empty: none yet).
    MapPoint GetFlagPosition() const { return m_flagPosition; }
    const std::string& GetFlagPath() const { return m_flagPath; }

    CSettlementSymbol& GetSymbol() { return m_symbol; }
    const CSettlementSymbol& GetSymbol() const { return m_symbol; }

protected:
    // The settlement's symbol on the map.
    CSettlementSymbol m_symbol;

private:
    int32_t m_provinceId = 0;
    MapPoint m_flagPosition;
    std::string m_flagPath;
    std::unique_ptr<SpriteWorld> m_flag; // while graphics are on
};
