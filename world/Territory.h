#pragma once
// Territories: connected groups of provinces that the world model forms at
// scenario start-up and keeps current while the game runs: the touching land
// provinces of one owner, a group of sea provinces or a group of lake
// provinces. A territory lists its provinces and its links to the
// territories that border it; it owns neither the provinces nor the link
// objects (the world model deletes the links), only the nodes of its lists.
#include <cstdint>

#include "engine/LinkedList.h"

class CCountry;
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

    // --- queries of the world model ---
    // The owner of the first province; null without provinces.
    CCountry* GetOwner() const;
    // The owner's capital province lies in this territory.
    bool HoldsCapital() const;
    // Clears the visit mark here and, through the links, on every linked
    // territory still marked.
    void ClearMarks();
    // A linked land territory belongs to the country.
    bool BordersCountry(const CCountry* country) const;
    // The link to the territory, null when none.
    CTerritoryLink* FindLink(const CTerritory* other) const;
    // Clears the provinces' territory pointers, empties the province list
    // and deletes the link objects.
    void Detach();

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

// ---------------------------------------------------------------------------
// Forming and keeping the territories (the world model's algorithms)

// What the computer player is told when a land territory starts or stops
// touching a sea territory and when a land territory is deleted. Filled by
// the computer player; a null entry tells nobody. Called only on the host.
struct TerritoryAIHooks {
    void (*touch)(CLandTerritory& land, CSeaTerritory& sea) = nullptr;
    void (*untouch)(CLandTerritory& land, CSeaTerritory& sea) = nullptr;
    void (*deleted)(CLandTerritory& land) = nullptr;
};
extern TerritoryAIHooks g_territoryAI;

// The sea and the lake territories (the lists do not own them; the
// territories are deleted by FreeTerritories).
extern CTemplateList<CTerritory> g_territories;
extern CTemplateList<CTerritory> g_lakeTerritories;

// Forms every territory: the land territories of each country's owned
// provinces (handed to the country), then the sea territories (connected
// sea zones of one region) and the lake territories, then their links.
void BuildTerritories();
// Deletes every territory and empties the countries' lists and both lists.
void FreeTerritories();
// The province has changed hands from oldOwner to newOwner (either may be
// null): it leaves its land territory (which is deleted when emptied, or
// split), and joins the new owner's territory next to it (merging those it
// touches) or a new one. With the same owner and cityChanged only the
// colonisable count drops when the city is no longer a colony.
void UpdateTerritories(CProvince& province, CCountry* newOwner, CCountry* oldOwner,
                       bool cityChanged);
// Adds p to t and, through the leading neighbours, every province of the
// same owner and no territory that belongs with it.
void GrowTerritory(CTerritory& t, CProvince& p);
// Counts a link from t to every other territory of a leading neighbour.
void LinkNeighbours(CTerritory& t);
// Changes t's link count to u by delta: a new link for a positive delta,
// the link removed when its count falls below 1.
void AddLink(CTerritory& t, CTerritory& u, int32_t delta);
// Separates what leaving province p cut off from t (only p's direct
// neighbours are looked at).
void SplitTerritory(CLandTerritory& t, CProvince& p, CCountry* owner);
// The territory of the first leading neighbour of the province owned by the
// country that has one.
CTerritory* FindNeighbourTerritory(const CProvince& province, const CCountry* country);
// The province's own land territory when the country owns it; else the
// country's territory whose first province lies nearest.
CLandTerritory* FindTerritoryNearest(CCountry& country, const CProvince& province);
