#pragma once
// Territories: connected groups of provinces that the world model forms at
// scenario start-up and keeps current while the game runs: the touching land
// provinces of one owner, a group of sea provinces or a group of lake
// provinces. A territory lists its provinces and its links to the
// territories that border it; it owns neither the provinces nor the link
// objects (the world model deletes the links), only the nodes of its lists.
#include <cstdint>

#include "engine/LinkedList.h"

class CProvince;
class CTerritory;
class CLandTerritory;
class CSeaTerritory;
class CLakeTerritory;

// The link to a bordering territory: count is the number of neighbour
// pairs (a province of this territory beside one of the other) joining them.
struct CTerritoryLink {
    CTerritory* territory = nullptr;
    int32_t count = 0;
};

// The links of a territory; it owns no link object.
class CTerritoryList : public CTemplateList<CTerritoryLink> {};

enum ETerritoryKind : uint32_t {
    TERRITORY_LAND = 0,
    TERRITORY_LAKE = 1,
    TERRITORY_SEA = 2,
};

class CTerritory {
public:
    CTerritory(const CTerritory&) = delete;
    CTerritory& operator=(const CTerritory&) = delete;
    // Frees the nodes of both lists; neither the provinces nor the links.
    virtual ~CTerritory() = default;

    // Each kind answers itself to exactly one of these; the others null.
    virtual CLandTerritory* AsLand() { return nullptr; }
    virtual CSeaTerritory* AsSea() { return nullptr; }
    virtual CLakeTerritory* AsLake() { return nullptr; }

    // Appends the province at the tail (a province already listed is
    // listed again). The caller sets the province's territory pointer.
    virtual void AddProvince(CProvince* province);
    // Takes out the first entry of the province; false when it is not
    // listed. While the list is being walked the entry is only marked
    // removed (still true). The caller clears the province's pointer.
    virtual bool RemoveProvince(CProvince* province);

    uint32_t GetKind() const { return m_kind; }
    CTemplateList<CProvince>& GetProvinces() { return m_provinces; }
    const CTemplateList<CProvince>& GetProvinces() const { return m_provinces; }
    CTerritoryList& GetLinks() { return m_links; }
    const CTerritoryList& GetLinks() const { return m_links; }

    // Set and cleared by the world model's walks over linked territories.
    uint8_t visitMark = 0;

protected:
    explicit CTerritory(uint32_t kind) : m_kind(kind) {}

private:
    // Declared in this order so that the links list is destroyed first.
    CTemplateList<CProvince> m_provinces;
    CTerritoryList m_links;
    uint32_t m_kind;
};

// Touching land provinces of one owner. Counts the provinces that may still
// be colonised: those without a city or whose city is still a colony.
class CLandTerritory : public CTerritory {
public:
    CLandTerritory() : CTerritory(TERRITORY_LAND) {}

    CLandTerritory* AsLand() override { return this; }
    void AddProvince(CProvince* province) override;
    // When the province was listed, uncounts it under the same test, taken
    // on the province as it stands now.
    bool RemoveProvince(CProvince* province) override;

    int32_t GetColonisableCount() const { return m_colonisable; }
    // The world model lowers the count when a city of the territory stops
    // being a colony.
    void LowerColonisableCount() { --m_colonisable; }

private:
    int32_t m_colonisable = 0;
};

class CSeaTerritory : public CTerritory {
public:
    CSeaTerritory() : CTerritory(TERRITORY_SEA) {}
    CSeaTerritory* AsSea() override { return this; }
};

class CLakeTerritory : public CTerritory {
public:
    CLakeTerritory() : CTerritory(TERRITORY_LAKE) {}
    CLakeTerritory* AsLake() override { return this; }
};
