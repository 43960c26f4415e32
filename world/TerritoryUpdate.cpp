// The world model's territory algorithms: forming the territories at
// scenario start, keeping them when provinces change hands, and freeing
// them at shutdown. Land territories are listed by their owners (through
// g_provinceCountries); the sea and lake territories by the two lists here.
// The territories and their link objects are created and deleted here.
#include <algorithm>
#include <vector>

#include "net/Session.h"
#include "world/Areas.h"
#include "world/City.h"
#include "world/Province.h"
#include "world/Territory.h"

TerritoryAIHooks g_territoryAI;
CTemplateList<CTerritory> g_territories;
CTemplateList<CTerritory> g_lakeTerritories;

namespace {

std::vector<CProvince*> LeadingNeighbours(const CProvince& province) {
    std::vector<CProvince*> out;
    const int32_t count = std::min<int32_t>(province.neighbourCount, province.GetNeighbourTotal());
    for (int32_t i = 0; i < count; ++i)
        if (CProvince* other = GetProvince(province.neighbours[static_cast<size_t>(i)].id))
            out.push_back(other);
    return out;
}

std::vector<CProvince*> ProvincesOf(const CTerritory& t) {
    std::vector<CProvince*> out;
    const_cast<CTerritory&>(t).GetProvinces().ForEach([&](CProvince* p) { out.push_back(p); });
    return out;
}

std::vector<CTerritoryLink*> LinksOf(const CTerritory& t) {
    std::vector<CTerritoryLink*> out;
    const_cast<CTerritory&>(t).GetLinks().ForEach([&](CTerritoryLink* l) { out.push_back(l); });
    return out;
}

CTemplateList<CLandTerritory>* TerritoryListOf(CCountry* country) {
    if (!country || !g_provinceCountries.territoryList)
        return nullptr;
    return g_provinceCountries.territoryList(*country);
}

void CountryAdds(CCountry* country, CLandTerritory* t) {
    if (CTemplateList<CLandTerritory>* list = TerritoryListOf(country))
        if (!list->Contains(t))
            list->AddTail(t);
}

void CountryRemoves(CCountry* country, CLandTerritory* t) {
    if (CTemplateList<CLandTerritory>* list = TerritoryListOf(country))
        list->Remove(t);
}

// The computer player hears of land-sea contacts and deleted land
// territories, on the host only.
void TellTouch(CTerritory& t, CTerritory& u, bool touching) {
    if (!IsHost() || !t.AsLand() || !u.AsSea())
        return;
    auto hook = touching ? g_territoryAI.touch : g_territoryAI.untouch;
    if (hook)
        hook(*t.AsLand(), *u.AsSea());
}

void TellDeleted(CLandTerritory& t) {
    if (IsHost() && g_territoryAI.deleted)
        g_territoryAI.deleted(t);
}

// Takes the link to t out of every territory linked from t.
void UnlinkFromOthers(CTerritory& t) {
    for (CTerritoryLink* link : LinksOf(t)) {
        CTerritory* other = link->territory;
        if (!other || other == &t)
            continue;
        if (CTerritoryLink* back = other->FindLink(&t)) {
            other->GetLinks().Remove(back);
            delete back;
        }
    }
}

// Deletes a land territory that the owner no longer holds.
void DeleteLandTerritory(CLandTerritory* t, CCountry* owner) {
    UnlinkFromOthers(*t);
    CountryRemoves(owner, t);
    TellDeleted(*t);
    t->Detach();
    delete t;
}

// Merges from into into: the provinces move over with their links; the
// owner forgets from, which is deleted.
void Merge(CLandTerritory& into, CLandTerritory* from, CCountry* owner) {
    for (CTerritoryLink* link : LinksOf(*from)) {
        CTerritory* other = link->territory;
        const int32_t count = link->count;
        if (!other || other == from)
            continue;
        if (CTerritoryLink* back = other->FindLink(from)) {
            other->GetLinks().Remove(back);
            delete back;
        }
        if (other == &into)
            continue;
        AddLink(*other, into, count);
        AddLink(into, *other, count);
    }
    if (CTerritoryLink* link = into.FindLink(from)) {
        into.GetLinks().Remove(link);
        delete link;
    }
    for (CProvince* p : ProvincesOf(*from)) {
        from->RemoveProvince(p);
        into.AddProvince(p);
        p->territory = &into;
    }
    CountryRemoves(owner, from);
    TellDeleted(*from);
    from->Detach();
    delete from;
}

void Reassign(CTerritory& from, CTerritory& to, CProvince& n, CCountry* owner) {
    if (&to != &from) {
        from.RemoveProvince(&n);
        to.AddProvince(&n);
    }
    n.territory = &to;
    for (CProvince* m : LeadingNeighbours(n)) {
        if (!m->territory) {
            if (m->GetOwner() == owner && owner && m->territoryWalkMark)
                Reassign(from, to, *m, owner);
        } else if (m->territory != &to && &to != &from) {
            AddLink(*m->territory, to, 1);
            AddLink(to, *m->territory, 1);
        }
    }
}

} // namespace

// ---------------------------------------------------------------------------
// Queries of a territory

CCountry* CTerritory::GetOwner() const {
    CTemplateList<CProvince>::CListPosition position;
    m_provinces.GetHeadPosition(position);
    for (; position; CTemplateList<CProvince>::MoveNext(position))
        if (!position->removed)
            return position->item->GetOwner();
    return nullptr;
}

bool CTerritory::HoldsCapital() const {
    CCountry* owner = GetOwner();
    if (!owner || !g_provinceCountries.capitalOf)
        return false;
    const CProvince* capital = GetProvince(g_provinceCountries.capitalOf(*owner));
    return capital && capital->territory == this;
}

void CTerritory::ClearMarks() {
    visitMark = 0;
    for (CTerritoryLink* link : LinksOf(*this))
        if (link->territory && link->territory->visitMark)
            link->territory->ClearMarks();
}

bool CTerritory::BordersCountry(const CCountry* country) const {
    if (!country)
        return false;
    for (CTerritoryLink* link : LinksOf(*this))
        if (link->territory && link->territory->AsLand() && link->territory->GetOwner() == country)
            return true;
    return false;
}

CTerritoryLink* CTerritory::FindLink(const CTerritory* other) const {
    for (CTerritoryLink* link : LinksOf(*this))
        if (link->territory == other)
            return link;
    return nullptr;
}

void CTerritory::Detach() {
    for (CProvince* p : ProvincesOf(*this))
        if (p->territory == this)
            p->territory = nullptr;
    m_provinces.RemoveAll();
    for (CTerritoryLink* link : LinksOf(*this))
        delete link;
    m_links.RemoveAll();
}

// ---------------------------------------------------------------------------
// Forming

void GrowTerritory(CTerritory& t, CProvince& p) {
    p.territory = &t;
    t.AddProvince(&p);
    for (CProvince* n : LeadingNeighbours(p)) {
        if (n->territory || n->GetOwner() != p.GetOwner())
            continue;
        bool belongs = false;
        if (t.AsSea())
            belongs = n->area == kSeaArea && n->region == p.region;
        else if (t.AsLake())
            belongs = n->area == kLakeArea;
        else
            belongs = !n->IsSea();
        if (belongs)
            GrowTerritory(t, *n);
    }
}

void LinkNeighbours(CTerritory& t) {
    for (CProvince* p : ProvincesOf(t))
        for (CProvince* n : LeadingNeighbours(*p))
            if (n->territory && n->territory != &t)
                AddLink(t, *n->territory, 1);
}

void AddLink(CTerritory& t, CTerritory& u, int32_t delta) {
    if (&t == &u)
        return;
    if (CTerritoryLink* link = t.FindLink(&u)) {
        link->count += delta;
        if (link->count < 1) {
            t.GetLinks().Remove(link);
            delete link;
            TellTouch(t, u, false);
        }
        return;
    }
    if (delta > 0) {
        t.GetLinks().AddTail(new CTerritoryLink{&u, delta});
        TellTouch(t, u, true);
    }
}

void BuildTerritories() {
    const ProvinceCountryHooks& hooks = g_provinceCountries;
    if (hooks.countryOfNumber && hooks.provinceList)
        for (int32_t number = 0; number < 99; ++number) {
            CCountry* country = hooks.countryOfNumber(number);
            if (!country)
                continue;
            std::vector<int32_t> ids;
            hooks.provinceList(*country, false)->ForEach([&](int32_t id) { ids.push_back(id); });
            for (int32_t id : ids) {
                CProvince* p = GetProvince(id);
                if (!p || p->territory)
                    continue;
                auto* t = new CLandTerritory;
                GrowTerritory(*t, *p);
                CountryAdds(country, t);
            }
        }
    for (int32_t id = kFirstProvinceId; id <= kLastProvinceId; ++id) {
        CProvince& p = g_provinces[static_cast<size_t>(id)];
        if (p.territory)
            continue;
        CTerritory* t = nullptr;
        if (p.area == kSeaArea) {
            t = new CSeaTerritory;
            g_territories.AddTail(t);
        } else if (p.area == kLakeArea) {
            t = new CLakeTerritory;
            g_lakeTerritories.AddTail(t);
        }
        if (t)
            GrowTerritory(*t, p);
    }
    g_territories.ForEach([](CTerritory* t) { LinkNeighbours(*t); });
    g_lakeTerritories.ForEach([](CTerritory* t) { LinkNeighbours(*t); });
    if (hooks.countryOfNumber)
        for (int32_t number = 1; number < 99; ++number) {
            CTemplateList<CLandTerritory>* list = TerritoryListOf(hooks.countryOfNumber(number));
            if (list)
                list->ForEach([](CLandTerritory* t) { LinkNeighbours(*t); });
        }
}

void FreeTerritories() {
    // Every territory once: those the provinces point to, then those a list
    // still holds that no province points to any more.
    std::vector<CTerritory*> all;
    const auto collect = [&all](CTerritory* t) {
        if (t && std::find(all.begin(), all.end(), t) == all.end())
            all.push_back(t);
    };
    for (int32_t id = kFirstProvinceId; id <= kLastProvinceId; ++id)
        collect(g_provinces[static_cast<size_t>(id)].territory);
    g_territories.ForEach(collect);
    g_lakeTerritories.ForEach(collect);
    if (g_provinceCountries.countryOfNumber)
        for (int32_t number = 0; number < 99; ++number)
            if (CTemplateList<CLandTerritory>* list =
                    TerritoryListOf(g_provinceCountries.countryOfNumber(number))) {
                list->ForEach([&collect](CLandTerritory* t) { collect(t); });
                list->RemoveAll();
            }
    g_territories.RemoveAll();
    g_lakeTerritories.RemoveAll();
    for (CTerritory* t : all) {
        t->Detach();
        delete t;
    }
}

// ---------------------------------------------------------------------------
// Changes of owner

CTerritory* FindNeighbourTerritory(const CProvince& province, const CCountry* country) {
    for (CProvince* n : LeadingNeighbours(province))
        if (n->GetOwner() == country && n->territory)
            return n->territory;
    return nullptr;
}

void SplitTerritory(CLandTerritory& t, CProvince& p, CCountry* owner) {
    std::vector<CProvince*> cut;
    for (CProvince* n : LeadingNeighbours(p))
        if (owner && n->GetOwner() == owner && n->territory == &t &&
            std::find(cut.begin(), cut.end(), n) == cut.end()) {
            n->territory = nullptr;
            n->territoryWalkMark = 1;
            cut.push_back(n);
        }
    const size_t k = cut.size();
    for (CProvince* n : cut) {
        if (n->territory)
            continue;
        CTerritory* u = FindNeighbourTerritory(*n, owner);
        if (u == &t || (!u && k == t.GetProvinces().GetCount()))
            Reassign(t, t, *n, owner);
    }
    for (CProvince* n : cut) {
        if (n->territory)
            continue;
        CTerritory* u = FindNeighbourTerritory(*n, owner);
        CLandTerritory* made = nullptr;
        if (!u)
            u = made = new CLandTerritory;
        Reassign(t, *u, *n, owner);
        if (made) {
            for (CTerritoryLink* link : LinksOf(*made))
                delete link;
            made->GetLinks().RemoveAll();
            LinkNeighbours(*made);
            CountryAdds(owner, made);
        }
    }
    for (CProvince* n : cut)
        n->territoryWalkMark = 0;
}

void UpdateTerritories(CProvince& p, CCountry* newOwner, CCountry* oldOwner, bool cityChanged) {
    CLandTerritory* t = oldOwner && p.territory ? p.territory->AsLand() : nullptr;
    if (newOwner == oldOwner && t) {
        if (cityChanged && p.GetCity() && !p.GetCity()->IsColony())
            t->LowerColonisableCount();
        return;
    }
    if (t) {
        for (CProvince* n : LeadingNeighbours(p))
            if (n->territory && n->territory != t) {
                AddLink(*n->territory, *t, -1);
                AddLink(*t, *n->territory, -1);
            }
        t->RemoveProvince(&p);
        p.territory = nullptr;
        if (t->GetProvinces().IsEmpty())
            DeleteLandTerritory(t, oldOwner);
        else if (t->GetProvinces().GetCount() > 1)
            SplitTerritory(*t, p, oldOwner);
    }
    if (!newOwner)
        return;
    CLandTerritory* r = nullptr;
    for (CProvince* n : LeadingNeighbours(p)) {
        if (n->GetOwner() != newOwner || !n->territory || !n->territory->AsLand())
            continue;
        CLandTerritory* found = n->territory->AsLand();
        if (!r) {
            r = found;
        } else if (found != r) {
            // The larger survives; on equal sizes the first found.
            if (found->GetProvinces().GetCount() > r->GetProvinces().GetCount())
                std::swap(r, found);
            Merge(*r, found, newOwner);
        }
    }
    if (!r)
        r = new CLandTerritory;
    r->AddProvince(&p);
    p.territory = r;
    for (CProvince* n : LeadingNeighbours(p))
        if (n->territory && n->territory != r) {
            AddLink(*n->territory, *r, 1);
            AddLink(*r, *n->territory, 1);
        }
    if (r->GetProvinces().GetCount() == 1)
        CountryAdds(newOwner, r);
}

CLandTerritory* FindTerritoryNearest(CCountry& country, const CProvince& province) {
    if (province.territory && province.territory->AsLand() &&
        province.territory->GetOwner() == &country)
        return province.territory->AsLand();
    CTemplateList<CLandTerritory>* list = TerritoryListOf(&country);
    if (!list)
        return nullptr;
    MapPoint target;
    GetProvinceCentre(target, province.GetNumber());
    CLandTerritory* best = nullptr;
    int64_t bestDistance = 0;
    list->ForEach([&](CLandTerritory* t) {
        CTemplateList<CProvince>::CListPosition position;
        t->GetProvinces().GetHeadPosition(position);
        if (!position)
            return;
        MapPoint point;
        GetProvinceCentre(point, position->item->GetNumber());
        const int64_t dx = int64_t{point.x} - target.x;
        const int64_t dy = int64_t{point.y} - target.y;
        const int64_t distance = dx * dx + dy * dy;
        if (!best || distance < bestDistance) {
            best = t;
            bestDistance = distance;
        }
    });
    return best;
}
