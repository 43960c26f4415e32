#include "military/combat/Siege.h"

#include <algorithm>

#include "country/Country.h"
#include "country/CountryMilitary.h"
#include "engine/CriticalError.h"
#include "engine/GameState.h"
#include "engine/Random.h"
#include "military/combat/CombatTables.h"
#include "military/units/LandUnit.h"
#include "military/units/Leader.h"
#include "military/units/LeaderRegistry.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Scheduler.h"
#include "net/Senders.h"
#include "net/Session.h"
#include "world/City.h"
#include "world/GameNotices.h"
#include "world/Province.h"

namespace {

constexpr float kAttackerAttritionStep = 0.05f;
constexpr float kSupplyPenaltyStep = 0.3f;
constexpr int32_t kSurrenderTotal = 14;
constexpr float kCityDamageFloor = 5000.0f;

// The best siege value among the leaders of the side's units (0 without).
int32_t BestSiegeValue(const CCombatSide& side) {
    int32_t best = 0;
    for (CUnit* unit : side.UnitsInOrder())
        if (const CLeader* leader = unit->GetBestSiegeLeader())
            best = std::max(best, leader->siege);
    return best;
}

} // namespace

// ---------------------------------------------------------------------------
// The besiegers

CSiegeCombat* CSiegeAttackerSide::Siege() const {
    return combat ? combat->GetSiege() : nullptr;
}

void CSiegeAttackerSide::SetOpponent(CCombatSide& opponent) {
    CLandCombatSide::SetOpponent(opponent);
    auto* other = dynamic_cast<CLandCombatSide*>(&opponent);
    const int32_t otherGroup = other ? other->LandGroup() : 0;
    if (g_combatTables) {
        fireCode = g_combatTables->Code(CODES_ASSAULT_FIRE, LandGroup(), otherGroup);
        shockCode = g_combatTables->Code(CODES_ASSAULT_SHOCK, LandGroup(), otherGroup);
    }
}

float CSiegeAttackerSide::GetFireStrength() const {
    float sum = 0.0f;
    for (CUnit* unit : UnitsInOrder())
        if (auto* army = dynamic_cast<CLandUnit*>(unit))
            sum += army->GetInfantryArtilleryFire();
    return sum;
}

float CSiegeAttackerSide::GetShockStrength() const {
    float sum = 0.0f;
    for (CUnit* unit : UnitsInOrder())
        if (auto* army = dynamic_cast<CLandUnit*>(unit))
            sum += army->GetInfantryArtilleryShock();
    return sum;
}

int32_t CSiegeAttackerSide::GetFireModifier() const {
    const CSiegeCombat* siege = Siege();
    const int32_t walls = siege && siege->breaches == 0 ? siege->fortressLevel : 0;
    return CLandCombatSide::GetFireModifier() - walls;
}

int32_t CSiegeAttackerSide::GetShockModifier() const {
    const CSiegeCombat* siege = Siege();
    const int32_t walls = siege && siege->breaches == 0 ? siege->fortressLevel : 0;
    return CLandCombatSide::GetShockModifier() - walls;
}

int32_t CSiegeAttackerSide::GetSiegeValue() const {
    const CSiegeCombat* siege = Siege();
    return siege ? siege->attackerSkill + siege->artilleryRating : 0;
}

void CSiegeAttackerSide::SetCommander(CLeader* leader) {
    const CCombatSide* opponent = GetOpponent();
    if (!leader && commander && !finished && opponent && opponent->finished) {
        commander = nullptr;
        return;
    }
    if (!combat) {
        CCombatSide::SetCommander(leader);
        return;
    }
    CProvince& province = combat->GetProvince();
    CCountry* controller = province.GetController();
    CCountry* before = commander ? commander->GetCountry() : controller;
    CCountry* after = leader ? leader->GetCountry() : controller;
    CCombatSide::SetCommander(leader);
    // The besieger decides whether supply passes the city.
    if (before != after) {
        if (before)
            province.UpdateSupply(*before);
        if (after)
            province.UpdateSupply(*after);
    }
}

void CSiegeAttackerSide::RequestRetreat(int32_t province) {
    if (!IsHost() || !combat)
        return;
    if (CSiegeCombat* siege = Siege(); siege && siege->GetType() == kCombatSiegeAssault) {
        if (siege->CanBesiege()) {
            siege->RequestModeChange(kCombatSiegeSiege);
            return;
        }
        if (siege->CanCover()) {
            siege->RequestModeChange(kCombatSiegeCover);
            return;
        }
    }
    CCombatSide::RequestRetreat(province);
    DestroyAllUnits();
}

// ---------------------------------------------------------------------------
// The garrison

CSiegeDefenderSide::CSiegeDefenderSide(CProvince& province)
    : CLandCombatSide(false), m_province(&province) {}

CSiegeDefenderSide::~CSiegeDefenderSide() = default;

CSiegeCombat* CSiegeDefenderSide::Siege() const {
    return combat ? combat->GetSiege() : nullptr;
}

CCity* CSiegeDefenderSide::GetCity() const {
    return m_province->GetCity();
}

void CSiegeDefenderSide::SetOpponent(CCombatSide& opponent) {
    terrainModifier = 0;
    cavalrySuperiority = 0;
    auto* other = dynamic_cast<CLandCombatSide*>(&opponent);
    const int32_t otherGroup = other ? other->LandGroup() : 0;
    if (g_combatTables) {
        fireCode = g_combatTables->Code(CODES_ASSAULT_DEFENDER, LandGroup(), otherGroup);
        shockCode = fireCode;
    } else {
        fireCode = shockCode = kNoLossCode;
    }
}

int32_t CSiegeDefenderSide::GetSiegeValue() const {
    const CSiegeCombat* siege = Siege();
    if (!siege)
        return 0;
    return siege->terrainBonus - static_cast<int32_t>(siege->supplyPenalty) - siege->shortage +
           siege->fortressLevel + siege->defenderSkill;
}

int32_t CSiegeDefenderSide::GetFortLevel() const {
    const CCity* city = GetCity();
    return city ? static_cast<int32_t>(city->GetFortress().level) : 0;
}

void CSiegeDefenderSide::CreateGarrison(const COVEvent& event) {
    const auto& payload = event.Payload();
    const std::string name = combat ? combat->GetName() : "Siegecombat";
    CCountry* country = m_province->GetController();
    const ObjectId id = payload.Get(CreateFortressUnitPayload::kUnit);
    if (m_garrison || !country || id.IsNull() || FindObjectById(id)) {
        CombatTrace("%s: no garrison made (one stands, no controller or the id is taken)\n",
                    name.c_str());
        return;
    }
    if (CCity* city = GetCity(); city && combat)
        city->SetSiege(combat->GetId());
    auto unit = std::make_unique<CLandUnit>(country);
    unit->SetId(id);
    unit->SetLocation(m_province->GetNumber());
    unit->SetStrength(
        2, static_cast<float>(std::max(0, payload.Get(CreateFortressUnitPayload::kInfantry))));
    unit->SetStrength(
        1, static_cast<float>(std::max(0, payload.Get(CreateFortressUnitPayload::kCavalry))));
    unit->SetStrength(
        0, static_cast<float>(std::max(0, payload.Get(CreateFortressUnitPayload::kArtillery))));
    unit->morale = country->GetLandMorale();
    unit->Refresh();
    if (CLeader* leader = FindLeaderById(payload.Get(CreateFortressUnitPayload::kLeader)))
        unit->AttachLeader(leader);
    unit->SetOwner(country);
    unit->garrison = true;
    m_garrison = std::move(unit);
    if (combat)
        combat->OnUnitJoined(m_garrison.get(), false);
}

void CSiegeDefenderSide::DestroyGarrison() {
    m_units.RemoveAll();
    commander = nullptr;
    if (!m_garrison)
        return;
    // The leader stays with the leader registry that keeps it.
    if (CLeader* leader = m_garrison->GetCommander();
        leader && leader->GetUnit() == m_garrison.get())
        m_garrison->DetachLeader(leader->GetId());
    m_garrison->dying = true;
    m_garrison.reset();
}

bool CSiegeDefenderSide::RemoveIfPresent(CUnit* unit) {
    if (!unit || !m_garrison || unit != m_garrison.get())
        return false;
    if (combat)
        CombatTrace("%s: Found unit #%d (%s)! Removed it.\n", combat->GetName().c_str(),
                    static_cast<int>(unit->GetId().number), unit->GetName().c_str());
    DestroyGarrison();
    finished = true;
    return true;
}

void CSiegeDefenderSide::OnInit() {
    if (m_garrison)
        ReplaceCommander(m_garrison->GetCommander());
}

void CSiegeDefenderSide::OnCombatEnded() {
    if (CCity* city = GetCity(); city && combat && city->GetSiegeId() == combat->GetId())
        city->ClearSiege();
    DestroyGarrison();
}

void CSiegeDefenderSide::RetreatNow() {
    if (!IsHost())
        return;
    if (combat)
        CombatTrace("%s: The fortress troop retreats!\n", combat->GetName().c_str());
    DamageFortress(1.0f);
    const CCombatSide* opponent = GetOpponent();
    if (commanderCountry && opponent && opponent->commanderCountry &&
        commanderCountry->IsReligiousEnemyOf(*opponent->commanderCountry)) {
        const CSiegeCombat* siege = Siege();
        DamageCity(siege ? static_cast<float>(siege->AttackerSize()) * 0.1f : 0.0f);
    }
    finished = true;
}

void CSiegeDefenderSide::DamageFortress(float amount) {
    if (!IsHost())
        return;
    const int32_t roll = GameRand();
    const int32_t level = GetFortLevel();
    if (roll % 100 <= 79 || level <= 0)
        return;
    if (static_cast<float>(level) - amount <= 1.0f)
        amount = static_cast<float>(level - 1);
    if (!(amount > 0.0f))
        return;
    auto event = std::make_unique<COVDataEvent>(EVT_FORTRESS_DAMAGE, m_province->GetId());
    event->Payload().Set(ProvinceAmountPayload::kAmount, amount);
    ExecuteAndSendEvent(std::move(event));
}

void CSiegeDefenderSide::DamageCity(float amount) {
    const CCity* city = GetCity();
    if (!IsHost() || !city || !(city->GetPopulation() > kCityDamageFloor) || !(amount > 0.0f))
        return;
    amount = std::min(amount, city->GetPopulation() - kCityDamageFloor);
    auto event = std::make_unique<COVDataEvent>(EVT_CITY_DAMAGE, m_province->GetId());
    event->Payload().Set(ProvinceAmountPayload::kAmount, amount);
    ExecuteAndSendEvent(std::move(event));
}

void CSiegeDefenderSide::SufferLosses(CUnit& unit, float share) {
    unit.ApplyLosses(share, LOSS_BATTLE);
}

// ---------------------------------------------------------------------------
// The siege

CSiegeCombat::CSiegeCombat(CProvince& province, int32_t mode)
    : CLandCombat(province, IsSiegeCombatKind(mode) ? mode : kCombatSiegeCover,
                  std::make_unique<CSiegeAttackerSide>(),
                  std::make_unique<CSiegeDefenderSide>(province)) {
    terrainBonus = province.terrain != 0 ? 2 : 0;
    fortressLevel = Garrison().GetFortLevel();
}

void CSiegeCombat::OnMade() {
    if (IsHost()) {
        CCity* city = Garrison().GetCity();
        CCountry* country = GetProvince().GetController();
        if (city && country) {
            const CRandomLeader* leader =
                CreateRandomLeader(country->GetNumber(), g_nullId, LEADER_GENERAL);
            const ObjectId unit = NewObjectId();
            const int32_t size = static_cast<int32_t>(city->GetFortress().level);
            int32_t infantry = size * 5000;
            int32_t artillery = country->MayRaiseArtillery() ? size * 10 : 0;
            if (!city->IsLargeCity()) {
                infantry /= 2;
                artillery /= 2;
            }
            auto event = std::make_unique<COVDataEvent>(EVT_CREATE_FORTRESS_UNIT, GetId());
            event->Payload().Set(CreateFortressUnitPayload::kSiege, GetId());
            event->Payload().Set(CreateFortressUnitPayload::kUnit, unit);
            event->Payload().Set(CreateFortressUnitPayload::kLeader,
                                 leader ? leader->GetId() : g_nullId);
            event->Payload().Set(CreateFortressUnitPayload::kInfantry, infantry);
            event->Payload().Set(CreateFortressUnitPayload::kCavalry, 0);
            event->Payload().Set(CreateFortressUnitPayload::kArtillery, artillery);
            ExecuteAndSendEvent(std::move(event));
        } else {
            CombatTrace("%s: no city or no controller to garrison\n", GetName().c_str());
        }
    }
    if (g_combatAI.siegeStarted)
        g_combatAI.siegeStarted(*this);
}

int32_t CSiegeCombat::AttackerSize() const {
    int32_t size = 0;
    for (CUnit* unit : const_cast<CSiegeCombat*>(this)->Attackers().UnitsInOrder())
        size += unit->GetSize();
    return size;
}

int32_t CSiegeCombat::GetSiegeModifier() const {
    auto* self = const_cast<CSiegeCombat*>(this);
    return self->Attackers().GetSiegeValue() - self->Defenders().GetSiegeValue();
}

void CSiegeCombat::SetCapitalFlag() {
    const CCity* city = Garrison().GetCity();
    decisive = city && city->IsCapital();
}

void CSiegeCombat::UpdateSiegeValues() {
    attackerSkill = BestSiegeValue(Attackers());
    fortressLevel = Garrison().GetFortLevel();
    const int32_t artillery = Attackers().GetUnits().TotalArtillery();
    if (artillery >= 30 * fortressLevel)
        artilleryRating = 3;
    else if (artillery >= 20 * fortressLevel)
        artilleryRating = 1;
    else if (artillery >= 1)
        artilleryRating = 0;
    else
        artilleryRating = -1;
    defenderSkill = BestSiegeValue(Defenders());
}

void CSiegeCombat::RequestModeChange(int32_t mode) {
    if (!IsHost())
        return;
    const ObjectId id = GetId();
    ExecuteAndSendEvent(std::make_unique<COVCombatEvent>(
        EVT_SIEGE_CHANGEMODE, id, static_cast<uint32_t>(mode), id, GetGameDate()));
}

void CSiegeCombat::StartAssault() {
    if (GetType() != kCombatSiegeAssault)
        RequestModeChange(kCombatSiegeAssault);
}

void CSiegeCombat::RemoveQueuedPhases() {
    if (IsHost())
        g_scheduler.RemoveEvents(EVT_COMBAT_PHASE, GetId(), [](COVEvent*) { return true; });
}

void CSiegeCombat::OnModeChange(int32_t mode) {
    if (!IsSiegeCombatKind(mode)) {
        CombatTrace("%s: no siege mode %d, ignored\n", GetName().c_str(), static_cast<int>(mode));
        return;
    }
    const int32_t previous = GetType();
    SetKind(mode);
    const std::string text = GetName();
    const char* name = text.c_str();
    switch (mode) {
    case kCombatSiegeCover:
        if (previous == kCombatSiegeSiege)
            CombatTrace("%s: Don't have enough strength to besiege!\n", name);
        RemoveQueuedPhases();
        CombatTrace("%s: The city is covered!\n", name);
        break;
    case kCombatSiegeSiege:
        CombatTrace("%s: The siege starts!\n", name);
        if (previous == kCombatSiegeAssault) {
            if (CLandUnit* garrison = Garrison().GetGarrison()) {
                garrison->RegainMorale();
                garrison->RegainMorale();
            }
        } else if (IsHost()) {
            RemoveQueuedPhases();
            CCombat::ScheduleNextPhase(); // the first roll comes tomorrow
        }
        break;
    default:
        CombatTrace("%s: The assault begins!\n", name);
        Attackers().RefreshMorale();
        Defenders().RefreshMorale();
        Init();
        if (IsHost()) {
            RemoveQueuedPhases();
            ScheduleNextPhase();
        }
        break;
    }
}

void CSiegeCombat::OnUnitJoined(CUnit* unit, bool attackerFlag) {
    CCombat::OnUnitJoined(unit, attackerFlag);
    UpdateSiegeValues();
    if (IsHost() && unit && attackerFlag && GetType() == kCombatSiegeCover && CanBesiege())
        RequestModeChange(kCombatSiegeSiege);
}

bool CSiegeCombat::OnUnitLeft(CUnit* unit) {
    // The garrison is gone once it has left: the unit is not touched again.
    const bool held = CCombat::OnUnitLeft(unit);
    if (held && !Attackers().GetUnits().IsEmpty() && !Defenders().GetUnits().IsEmpty())
        UpdateSiegeValues();
    return held;
}

bool CSiegeCombat::AssignUnit(CUnit& unit) {
    if (!unit.IsArmy())
        return false;
    if (AllFight(Defenders(), unit) && !AllFight(Attackers(), unit)) {
        RequestJoinAttackers(&unit);
        return true;
    }
    return false;
}

void CSiegeCombat::OnStarted() {
    started = true;
    CombatTrace("%s: Combat started!\n", GetName().c_str());
    Init();
    UpdateSiegeValues();
    if (!CanCover()) {
        CombatTrace("%s: Can't cover!\n", GetName().c_str());
        if (IsHost()) {
            Besiegers().RequestRetreat(0);
            End();
        }
        return;
    }
    NoticeSiege();
    // A siege read back goes on in its mode; a new one waits in cover.
    if (resumed && IsHost()) {
        RemoveQueuedPhases();
        ScheduleNextPhase();
    }
    resumed = false;
}

void CSiegeCombat::NoticeSiege() {
    if (!IsGameRunning())
        return;
    if (CCountry* besieging = LocalPlayerOn(Besiegers())) {
        PostGameMessage1At(kNoticeSiegeWeBesiege, besieging->GetNumber(), GetProvince().name,
                           GetProvince().name, GetProvinceId());
        return;
    }
    CCountry* controller = GetProvince().GetController();
    if (controller && controller->IsLocalHuman()) {
        const std::string enemy = CommanderCountryName(Besiegers());
        PostGameMessage2At(kNoticeSiegeTheyBesiege, controller->GetNumber(), enemy, enemy,
                           GetProvince().name, GetProvinceId());
    }
}

void CSiegeCombat::ScheduleNextPhase() {
    if (GetType() == kCombatSiegeAssault) {
        CCombat::ScheduleNextPhase();
        return;
    }
    if (GetType() != kCombatSiegeSiege)
        return;
    CDate due = GetGameDate();
    due.AddMonths(1);
    const ObjectId id = GetId();
    PostEventAt(std::make_unique<COVCombatEvent>(EVT_COMBAT_PHASE, id,
                                                 static_cast<uint32_t>(GetType()), id, due),
                due);
}

void CSiegeCombat::OnPhase() {
    if (Attackers().HasUnitInTwoCombats()) {
        Attackers().RefreshMorale();
        Defenders().RefreshMorale();
        ScheduleNextPhase();
        return;
    }
    if (GetType() == kCombatSiegeAssault) {
        CCombat::OnPhase();
        return;
    }
    if (GetType() != kCombatSiegeSiege)
        return;
    Attackers().RefreshMorale();
    Defenders().RefreshMorale();
    SiegeStep();
    if (IsOver())
        End();
}

void CSiegeCombat::SiegeStep() {
    if (!IsHost())
        return;
    const int32_t roll = GameRand() % 10 + 1;
    auto event = std::make_unique<COVDataEvent>(EVT_SIEGE_RESULT, GetId());
    event->Payload().Set(SiegeResultPayload::kSiege, GetId());
    event->Payload().Set(SiegeResultPayload::kRoll, roll);
    event->Payload().Set(SiegeResultPayload::kValue, -100000);
    ExecuteAndSendEvent(std::move(event));
    if (IsOver())
        return;
    if (!CanCover()) {
        CombatTrace("%s: Can't cover!\n", GetName().c_str());
        Besiegers().RequestRetreat(0);
    } else if (!CanBesiege()) {
        RequestModeChange(kCombatSiegeCover);
    } else {
        CombatTrace("%s: The siege continues...\n", GetName().c_str());
        ScheduleNextPhase();
    }
}

void CSiegeCombat::OnSiegeResult(int32_t roll) {
    const std::string name = GetName();
    if (roll < 1 || roll > 10) {
        CombatTrace("%s: a siege roll of %d is no roll, ignored\n", name.c_str(),
                    static_cast<int>(roll));
        return;
    }
    // Every machine takes the sides' morale from their units, as the host
    // did before it rolled, so that the saved sieges agree.
    Attackers().RefreshMorale();
    Defenders().RefreshMorale();
    UpdateSiegeValues();
    const int32_t total = roll + GetSiegeModifier();
    CSiegeDefenderSide& garrison = Garrison();
    if (total <= 2) {
        CombatTrace("%s: Attrition!\n", name.c_str());
        Attackers().attrition += kAttackerAttritionStep;
    } else if (total <= 4) {
        // the walls hold, the besiegers hold
    } else if (total <= 7) {
        CombatTrace("%s: Food shortage!\n", name.c_str());
        shortage += 1;
        garrison.attrition += 0.01f;
    } else if (total <= 10) {
        CombatTrace("%s: Water shortage!\n", name.c_str());
        shortage += 3;
        garrison.attrition += 0.03f;
    } else if (total <= 12) {
        CombatTrace("%s: Breach!\n", name.c_str());
        breaches += 1;
        shortage += 2;
    } else if (total < kSurrenderTotal) {
        CombatTrace("%s: Defender suffer from dessertation!\n", name.c_str());
        garrison.attrition += 0.1f;
    } else {
        CombatTrace("%s: Defender surrenders!\n", name.c_str());
        if (IsHost())
            garrison.RequestRetreat(0);
        return;
    }
    // The garrison wastes away with the side's attrition; every machine
    // takes the same loss. A garrison with no men left is gone.
    if (total >= 5) {
        if (CLandUnit* unit = garrison.GetGarrison()) {
            unit->ApplyLosses(static_cast<float>(unit->GetSize()) * garrison.attrition,
                              LOSS_ATTRITION);
            if (!(unit->GetTotalStrength() > 0.0f)) {
                CombatTrace("%s: Unit #%d (%s) is killed in action!\n", name.c_str(),
                            static_cast<int>(unit->GetId().number), unit->GetName().c_str());
                OnUnitLeft(unit);
            }
        }
    }
    if (fortressLevel <= 0 || GetProvince().blockaded) {
        supplyPenalty += kSupplyPenaltyStep;
    } else {
        supplyPenalty -= kSupplyPenaltyStep;
        if (supplyPenalty < 0.01f)
            supplyPenalty = 0.0f;
    }
    shortage = std::min(shortage, kSiegeMaxShortage);
    UpdateSiegeValues();
}

int CSiegeCombat::HandleMessage(COVEvent& event) {
    switch (event.GetType()) {
    case EVT_SIEGE_CHANGEMODE:
        if (!ended)
            OnModeChange(static_cast<int32_t>(event.Payload().Get(COVCombatEvent::kCombatType)));
        return EVENT_NOT_HANDLED;
    case EVT_SIEGE_RESULT:
        if (!ended)
            OnSiegeResult(event.Payload().Get(SiegeResultPayload::kRoll));
        return EVENT_NOT_HANDLED;
    case EVT_CREATE_FORTRESS_UNIT:
        if (!ended)
            Garrison().CreateGarrison(event);
        return EVENT_NOT_HANDLED;
    default:
        return CCombat::HandleMessage(event);
    }
}

// ---------------------------------------------------------------------------
// What the lower layers ask of sieges

namespace {

CSiegeCombat* SiegeOf(const ObjectId& id) {
    CCombat* combat = id.IsNull() ? nullptr : FindCombatById(id);
    return combat ? combat->GetSiege() : nullptr;
}

const bool g_registered = [] {
    g_citySiege.stateOf = [](CIdObject& object, CitySiegeState& out) {
        auto* combat = dynamic_cast<CCombat*>(&object);
        CSiegeCombat* siege = combat ? combat->GetSiege() : nullptr;
        if (!siege)
            return false;
        out.hasCommander = siege->Attackers().commander != nullptr;
        out.mode = siege->GetType();
        out.count = siege->breaches;
        out.progress = siege->GetSiegeModifier();
        return true;
    };
    g_provinceControl.siegeCommanderCountry = [](const CProvince& province) -> int32_t {
        const CCity* city = province.GetCity();
        CSiegeCombat* siege = city ? SiegeOf(city->GetSiegeId()) : nullptr;
        const CLeader* commander = siege ? siege->Attackers().commander : nullptr;
        const CCountry* country = commander ? commander->GetCountry() : nullptr;
        return country ? static_cast<int32_t>(country->GetNumber()) : -1;
    };
    // A unit besieges when its combat (the field battle first) is a siege
    // in siege mode.
    g_countryMilitary.unitSiegeCombat = [](const CUnit& unit, uint32_t& combatType,
                                           ObjectId& combat) {
        const ObjectId id = unit.GetCombat().IsNull() ? unit.GetSiegeCombat() : unit.GetCombat();
        CSiegeCombat* siege = SiegeOf(id);
        if (!siege || siege->GetType() != kCombatSiegeSiege)
            return false;
        combatType = static_cast<uint32_t>(siege->GetType());
        combat = id;
        return true;
    };
    return true;
}();

} // namespace
