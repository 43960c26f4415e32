#include "world/ProvinceControl.h"

#include <algorithm>

#include "data/CountryNumbers.h"
#include "engine/CriticalError.h"
#include "engine/GameState.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Session.h"
#include "world/Discovery.h"
#include "world/Province.h"
#include "world/ProvinceEconomy.h"
#include "world/Scenario.h"
#include "world/Territory.h"

ProvinceControlHooks g_provinceControl;

namespace {

// The game type of a deathmatch, which counts each country's provinces.
constexpr int32_t kDeathmatchGame = 2;
// g_sessionCountries' mark of the country played at this machine.
constexpr uint32_t kLocalPlayerMark = 1;

const ProvinceControlHooks& Hooks() {
    return g_provinceControl;
}

int32_t NumberOf(const CCountry* country) {
    return country && g_provinceCountries.numberOf ? g_provinceCountries.numberOf(*country) : -1;
}

CIntList* ProvinceListOf(CCountry* country, bool controlled) {
    return country && g_provinceCountries.provinceList
               ? g_provinceCountries.provinceList(*country, controlled)
               : nullptr;
}

bool CountsOwnedProvinces() {
    return g_gameType == kDeathmatchGame && IsGameRunning();
}

void AddOwnedCount(CCountry* country, int32_t delta) {
    if (country && Hooks().addOwnedCount && CountsOwnedProvinces())
        Hooks().addOwnedCount(*country, delta);
}

void NotifyAI(int32_t kind, CCountry* country, CProvince& province) {
    if (Hooks().notifyAI && IsHost())
        Hooks().notifyAI(kind, country, province);
}

bool Hostile(int32_t country, int32_t other) {
    return Hooks().isHostileTo && Hooks().isHostileTo(country, other);
}

bool Allied(int32_t country, int32_t other) {
    return Hooks().isAlliedWith && Hooks().isAlliedWith(country, other);
}

void ForgetCity(CCountry* country, CCity* city) {
    if (country && city && g_provinceCountries.forgetCity)
        g_provinceCountries.forgetCity(*country, city);
}

void ForgetTradingPost(CCountry* country, CTradingPost* post) {
    if (country && post && g_provinceCountries.forgetTradingPost)
        g_provinceCountries.forgetTradingPost(*country, post);
}

bool IsLocalPlayer(int32_t number) {
    return g_sessionCountries.mark &&
           g_sessionCountries.mark(static_cast<uint32_t>(number)) == kLocalPlayerMark;
}

} // namespace

// ---------------------------------------------------------------------------
// The combats of a province

void CCombatList::AddHead(std::unique_ptr<CProvinceCombat> combat) {
    if (combat)
        m_items.insert(m_items.begin(), std::move(combat));
}

void CCombatList::AddTail(std::unique_ptr<CProvinceCombat> combat) {
    if (combat)
        m_items.push_back(std::move(combat));
}

CProvinceCombat* CCombatList::Find(const ObjectId& id) const {
    for (const auto& combat : m_items)
        if (combat->GetId() == id)
            return combat.get();
    return nullptr;
}

bool CCombatList::Remove(const ObjectId& id) {
    const auto found = std::find_if(m_items.begin(), m_items.end(),
                                    [&id](const auto& combat) { return combat->GetId() == id; });
    if (found == m_items.end())
        return false;
    m_items.erase(found);
    return true;
}

CProvinceCombat* CProvince::StartCombat(const CDate& date, int32_t kind, int32_t argument) {
    if (kind < kCombatLand || kind > kCombatSiegeAssault) {
        DebugPrint("Hey - what kind of combat is this!??");
        return nullptr;
    }
    std::unique_ptr<CProvinceCombat> combat =
        Hooks().makeCombat ? Hooks().makeCombat(*this, kind, argument)
                           : std::make_unique<CProvinceCombat>(kind, argument);
    if (!combat)
        return nullptr;
    combat->startDate = date;
    if (combat->GetId().IsNull())
        combat->AssignNewId();
    if (!combats)
        combats = std::make_unique<CCombatList>();
    CProvinceCombat* made = combat.get();
    if (IsSiegeCombatKind(made->GetKind()))
        combats->AddTail(std::move(combat));
    else
        combats->AddHead(std::move(combat));
    return made;
}

void CProvince::RemoveCombat(const ObjectId& combatId) {
    if (!combats)
        return;
    combats->Remove(combatId);
    if (combats->IsEmpty())
        combats.reset();
}

bool CProvince::HasCombat() const {
    return combats && !combats->IsEmpty();
}

// ---------------------------------------------------------------------------
// Owner and controller

void CProvince::SetOwner(CCountry* country) {
    if (!country)
        return;
    whiteman = 1;
    CCountry* old = GetOwner();
    if (old) {
        AddOwnedCount(old, -1);
        if (CIntList* list = ProvinceListOf(old, false))
            list->Remove(GetNumber());
    }
    CIntList* list = ProvinceListOf(country, false);
    if (!list)
        return;
    m_owner = NumberOf(country);
    AddOwnedCount(country, 1);
    if (!list->Contains(GetNumber()))
        list->AddTail(GetNumber());

    // On the host, every country that knows the province learns where its
    // new owner's capital lies.
    if (!IsHost() || !g_provinceCountries.capitalOf)
        return;
    const int32_t capital = g_provinceCountries.capitalOf(*country);
    const CProvince* capitalProvince =
        capital >= kFirstProvinceId && capital <= kLastProvinceId ? GetProvince(capital) : nullptr;
    if (!capitalProvince)
        return;
    for (size_t i = 0; i < discoveredBy.size(); ++i) {
        if (!discoveredBy[i] || capitalProvince->discoveredBy[i] ||
            !g_provinceCountries.countryOfNumber ||
            !g_provinceCountries.countryOfNumber(static_cast<int32_t>(i)))
            continue;
        ExecuteAndSendEvent(std::make_unique<COVProvinceEvent>(
            EVT_DISCOVERPROVINCE, ObjectId(kCountryObjectType, static_cast<uint32_t>(i)),
            static_cast<uint32_t>(capital)));
    }
}

void CProvince::SetControllerField(CCountry* country) {
    if (!country)
        return;
    if (CIntList* list = ProvinceListOf(GetController(), true))
        list->Remove(GetNumber());
    CIntList* list = ProvinceListOf(country, true);
    if (!list)
        return;
    m_controller = NumberOf(country);
    if (!list->Contains(GetNumber()))
        list->AddTail(GetNumber());
    if (m_city)
        m_city->UpdateFlag();
    if (m_tradingPost)
        m_tradingPost->UpdateFlag();
}

void CProvince::SetController(CCountry* country) {
    if (!country || country == GetController())
        return;
    CCountry* old = GetController();
    SetControllerField(country);
    UpdateBlockade();
    if (old)
        UpdateCountrySupply(*old);
    UpdateCountrySupply(*country);
}

void CProvince::ChangeOwner(CCountry* country) {
    if (!country)
        return;
    if (IsSea()) {
        DebugPrint("change owner: province %d is no land, left without an owner\n", GetNumber());
        return;
    }
    CCountry* old = GetOwner();
    bool wasCapital = false;
    if (m_city) {
        wasCapital = m_city->IsCapital();
        m_city->ClearCapital();
        if (old != country) {
            ForgetCity(old, m_city.get());
            if (Hooks().joinCity)
                Hooks().joinCity(*country, m_city.get());
        }
    }
    if (m_tradingPost && old != country) {
        ForgetTradingPost(old, m_tradingPost.get());
        if (Hooks().joinTradingPost)
            Hooks().joinTradingPost(*country, m_tradingPost.get());
    }
    SetOwner(country);

    // The old owner's hold passes to the new one; an occupier keeps its
    // hold. A province nobody held is held by its new owner.
    CCountry* controller = GetController();
    if (controller == old && controller != country) {
        SetControllerField(country);
        UpdateBlockade();
        if (old)
            UpdateCountrySupply(*old);
        UpdateCountrySupply(*country);
    }
    if (m_city)
        m_city->UpdateFlag();
    if (m_tradingPost)
        m_tradingPost->UpdateFlag();
    nationalismDate = CScenario::GetGameDate();
    UpdateTerritories(*this, country, old, !(m_city && !m_city->IsColony()));
    if (Hooks().updateTrespassFlags)
        Hooks().updateTrespassFlags(*this);
    NotifyAI(kAINoticeOwnerChange, old, *this);
    if (wasCapital && old && Hooks().recomputeCapital)
        Hooks().recomputeCapital(*old);
}

void CProvince::PostControlChange(CCountry* country) {
    const int32_t taker = NumberOf(country);
    if (taker < 0 || IsSea() || m_owner < 0 || m_controller < 0 || taker == m_controller)
        return;
    int32_t receiver = taker;
    const bool barred =
        Hooks().isBarredByDemarcation && Hooks().isBarredByDemarcation(taker, GetNumber());
    if (!barred) {
        if (!Hostile(taker, m_controller))
            return;
        // An ally of the owner frees the province for its owner.
        if (Allied(taker, m_owner) && !Hostile(taker, m_owner))
            receiver = m_owner;
    }
    ExecuteAndSendEvent(std::make_unique<COVProvinceEvent>(
        EVT_PROVCHANGECONTROL, ObjectId(kCountryObjectType, static_cast<uint32_t>(receiver)),
        static_cast<uint32_t>(GetNumber())));
}

void CProvince::Abandon() {
    CCountry* old = GetOwner();
    CCountry* controller = GetController();
    const bool wasCapital = m_city && m_city->IsCapital();
    if (old) {
        AddOwnedCount(old, -1);
        if (CIntList* list = ProvinceListOf(old, false))
            list->Remove(GetNumber());
        ForgetCity(old, m_city.get());
        ForgetTradingPost(old, m_tradingPost.get());
    }
    if (CIntList* list = ProvinceListOf(controller, true))
        list->Remove(GetNumber());
    if (GetPort() && Hooks().moveFleetsOutOfPort)
        Hooks().moveFleetsOutOfPort(*this);

    // The territory code takes the province out of its territory: the
    // links, an emptied territory and a split are all handled there.
    inTerritoryUpdate = 1;
    UpdateTerritories(*this, nullptr, old, true);
    inTerritoryUpdate = 0;

    m_city.reset();
    m_tradingPost.reset();
    centreOfTrade = nullptr;
    m_owner = -1;
    m_controller = -1;
    NotifyAI(kAINoticeOwnerChange, old, *this);
    NotifyAI(kAINoticeAbandoned, old, *this);
    // The capital the old owner had here is gone with its city.
    if (wasCapital && old && Hooks().recomputeCapital)
        Hooks().recomputeCapital(*old);
    UpdateBlockade();
}

// ---------------------------------------------------------------------------
// Discovery and settlements

void CProvince::Discover(int32_t country) {
    if (country < 0 || static_cast<size_t>(country) >= discoveredBy.size())
        return;
    if (!discovered) {
        discovered = 1;
        discoveryDate = CScenario::GetGameDate();
    }
    // The mark; the local player's discoveries also lift the fog.
    DiscoverProvince(static_cast<uint32_t>(country), GetNumber());
    if (g_provinceCountries.countryOfNumber && Hooks().knownProvinces)
        if (CCountry* discoverer = g_provinceCountries.countryOfNumber(country))
            if (CIntList* known = Hooks().knownProvinces(*discoverer);
                known && !known->Contains(GetNumber()))
                known->AddTail(GetNumber());
    NotifyAI(kAINoticeDiscovery,
             g_provinceCountries.countryOfNumber ? g_provinceCountries.countryOfNumber(country)
                                                 : nullptr,
             *this);
    for (int32_t linked : linkedProvinces) {
        CProvince* other =
            linked >= kFirstProvinceId && linked <= kLastProvinceId ? GetProvince(linked) : nullptr;
        if (!other || other->discoveredBy[static_cast<size_t>(country)] ||
            other->terrain != kLinkedDiscoveryTerrain)
            continue;
        other->Discover(country);
        if (IsLocalPlayer(country))
            other->knownToPlayer = 1;
    }
}

void CProvince::SetCity(std::unique_ptr<CCity> city) {
    // The city it replaces leaves its owner's city list before it goes.
    if (m_city && m_city != city)
        ForgetCity(GetOwner(), m_city.get());
    // A trading post grows into the city: its level adds ten people a level.
    if (city && m_tradingPost) {
        ForgetTradingPost(GetOwner(), m_tradingPost.get());
        city->SetPopulation(city->GetPopulation() + m_tradingPost->level * 10.0f);
        m_tradingPost.reset();
    }
    m_city = std::move(city);
}

void CProvince::SetTradingPost(std::unique_ptr<CTradingPost> post) {
    if (m_tradingPost && m_tradingPost != post)
        ForgetTradingPost(GetOwner(), m_tradingPost.get());
    m_tradingPost = std::move(post);
}
