#include "world/City.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "data/DataTree.h"
#include "data/Keywords.h"
#include "data/TokenFile.h"
#include "engine/CriticalError.h"
#include "net/Event.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Senders.h"
#include "net/Session.h"
#include "world/Province.h"

CitySiegeHooks g_citySiege;

namespace {

// The size levels: a city's level is the first entry its population does not
// exceed (a colony's: the first entry it lies below).
constexpr float kSizeTable[] = {5000.0f,  10000.0f,  20000.0f,    40000.0f,
                                80000.0f, 200000.0f, 499995008.0f};
constexpr float kColonyTable[] = {200.0f, 300.0f, 400.0f, 500.0f, 600.0f, 700.0f};
constexpr float kTownTable[] = {700.0f, 1400.0f, 2800.0f, 5000.0f};

constexpr int32_t kCultureEurope = 11;
constexpr int32_t kCultureIslam = 17;
constexpr int32_t kReligionPaganOwner = 7;

// The keywords of the manufactories 1..5 and of the improvements 0..4.
constexpr uint32_t kManufactoryKeywords[] = {KW_LUXURY, KW_WEAPONS, KW_NAVALEQUIPMENT, KW_REFINERY,
                                             KW_GOODS};
constexpr uint32_t kImprovementKeywords[] = {KW_SHIPYARD, KW_BARRACK, KW_BAILIFF, KW_CITYRIGHTS,
                                             KW_COURTHOUSE};

// The manufactory of the keyword (1..5), 0 for any other.
int32_t ManufactoryOfKeyword(uint32_t keyword) {
    for (size_t i = 0; i < std::size(kManufactoryKeywords); ++i)
        if (kManufactoryKeywords[i] == keyword)
            return static_cast<int32_t>(i) + 1;
    return CCity::MANUFACTORY_NONE;
}

// The improvement of the keyword (0..4), -1 for any other.
int32_t ImprovementOfKeyword(uint32_t keyword) {
    for (size_t i = 0; i < std::size(kImprovementKeywords); ++i)
        if (kImprovementKeywords[i] == keyword)
            return static_cast<int32_t>(i);
    return -1;
}

bool IsManufactory(int32_t code) {
    return code >= CCity::MANUFACTORY_LUXURY && code <= CCity::MANUFACTORY_GOODS;
}

// The symbol key of an overlay: culture none, the kind, action none,
// direction none, level 1.
SpriteKey OverlayKey(int32_t kind, int32_t action = kSpriteActionNone) {
    return SpriteKey{kind, kSpriteCultureNone, action, kSpriteDirectionNone, kSpriteLevelNone};
}

// The country number whose block is being read, else the province's owner;
// -1 when neither is known.
int32_t OwnerNumberForRead(const CFieldReader& in, const CProvince* province) {
    if (in.currentCountry && g_provinceCountries.numberOf)
        return g_provinceCountries.numberOf(*in.currentCountry);
    return province ? province->GetOwnerNumber() : -1;
}

} // namespace

float PopulationOfCityLevel(float level, bool* outside) {
    bool out = std::isnan(level);
    float population = kColonyTable[0];
    if (out) {
        // No usable level: the smallest colony.
    } else if (level < 99.99999f) {
        // Levels 1..6 give the colonies of 200..700.
        const float index = std::trunc(level - 1.0f);
        out = index < 0.0f || index > 5.0f;
        population = kColonyTable[static_cast<size_t>(std::clamp(index, 0.0f, 5.0f))];
    } else {
        // From 100 up the hundreds index the size table; 600..699 give its
        // top, which the population's own limit holds.
        const float index = std::trunc(level / 100.0f);
        out = index > 6.0f;
        population = kSizeTable[static_cast<size_t>(std::min(index, 6.0f))];
    }
    if (outside)
        *outside = out;
    return std::min(population, CCity::kMaxPopulation);
}

CCity::CCity()
    : CSettlement(SpriteKey{kSpriteKindCity, kCultureEurope, kSpriteActionNone,
                            kSpriteDirectionNone, kSpriteLevelNone}),
      m_fire(OverlayKey(kSpriteKindFire)), m_manufactorySymbol(OverlayKey(kSpriteKindManu)),
      m_barrack(OverlayKey(kSpriteKindBarrack)), m_stability(OverlayKey(kSpriteKindStability)),
      m_siegeTower(OverlayKey(kSpriteKindArmy, kSpriteActionSiegeTower)) {
    SetPopulation(0.0f);
}

CCity::~CCity() = default;

// Levels and population -------------------------------------------------------------

void CCity::SetPopulation(float value) {
    // The levels follow the value before the clamp, so any value above the
    // top still gives the top levels.
    if (std::isnan(value) || value < 0.0f)
        value = 0.0f;
    m_population = value;
    UpdateSizeLevels();
    m_population = std::min(value, kMaxPopulation);
}

void CCity::UpdateSizeLevels() {
    m_sizeLevel = 6;
    for (int32_t i = 0; i < 7; ++i)
        if (m_population <= kSizeTable[i]) {
            m_sizeLevel = i;
            break;
        }
    m_colonyLevel = 6;
    for (int32_t i = 0; i < 6; ++i)
        if (m_population < kColonyTable[i]) {
            m_colonyLevel = i + 1;
            break;
        }
    m_townLevel = 3;
    for (int32_t i = 0; i < 4; ++i)
        if (m_population <= kTownTable[i]) {
            m_townLevel = i;
            break;
        }
    m_tradeFactor = IsLargeCity() ? static_cast<float>(m_sizeLevel) / 6.0f + 1.0f
                                  : static_cast<float>(m_colonyLevel) / 6.0f;
}

int32_t CCity::GetSizeRank() const {
    if (IsLargeCity())
        return m_sizeLevel + 9;
    if (IsTown())
        return m_townLevel + 6;
    return m_colonyLevel;
}

// Place, capital, manufactory, siege ------------------------------------------------

void CCity::SetLocation(int32_t provinceId) {
    SetProvinceId(provinceId);
    const CProvince* province = GetProvince();
    if (!province)
        return;
    const MapPoint unit = province->unitPosition;
    const MapPoint symbol = province->symbolPosition;
    m_fire.PlaceAt(unit.x, unit.y);
    m_stability.PlaceAt(unit.x, unit.y);
    m_siegeTower.PlaceAt(symbol.x + 16, symbol.y - 16);
    siegeBarPosition = {unit.x + 4, unit.y + 8};
    m_symbol.PlaceAt(symbol.x, symbol.y);
    m_port.reset();
    if (province->portSeaZone != 0) {
        m_port = std::make_unique<CPort>();
        m_port->Attach(provinceId);
    }
    for (CSettlementSymbol* shown :
         {&m_symbol, &m_fire, &m_manufactorySymbol, &m_barrack, &m_stability, &m_siegeTower})
        shown->Show();
    UpdateFlag();
    UpdateSprite();
}

void CCity::MakeCapital() {
    m_capital = 1;
    const CProvince* province = GetProvince();
    const int32_t owner = province ? province->GetOwnerNumber() : -1;
    if (owner < 0) {
        DebugPrint("hmm... no owner of the province we want as capital\n");
        return;
    }
    if (g_settlementCountries.setCapital)
        g_settlementCountries.setCapital(owner, GetProvinceId());
}

void CCity::FinishManufactory() {
    manufactory = manufactoryBuilding;
    UpdateManufactorySprite();
    const CProvince* province = GetProvince();
    const int32_t owner = province ? province->GetOwnerNumber() : -1;
    if (owner >= 0 && g_settlementCountries.recountProvinces)
        g_settlementCountries.recountProvinces(owner);
}

void CCity::UpdateManufactorySprite() {
    // luxury arts, weapons weap, naval equipment naval, refinery wine, goods
    static constexpr int32_t kActions[] = {20, 21, 23, 22, 19};
    if (IsManufactory(manufactory))
        m_manufactorySymbol.SetAction(kActions[manufactory - 1]);
}

void CCity::SetSiege(const ObjectId& combatId) {
    // The id is kept, not the combat: a combat that ends meanwhile is simply
    // not found any more.
    if (FindObjectById(combatId))
        m_siege = combatId;
}

bool CCity::IsUnderSiege() const {
    CIdObject* combat = m_siege.IsNull() ? nullptr : FindObjectById(m_siege);
    CitySiegeState state;
    return combat && g_citySiege.stateOf && g_citySiege.stateOf(*combat, state) &&
           state.hasCommander;
}

// Symbols ---------------------------------------------------------------------------

void CCity::UpdateSprite() {
    const CProvince* province = GetProvince();
    const int32_t owner = province ? province->GetOwnerNumber() : -1;
    const int32_t ownerReligion = owner >= 0 && g_settlementCountries.religionOf
                                      ? g_settlementCountries.religionOf(owner)
                                      : -1;
    if (owner < 0 || ownerReligion == kReligionPaganOwner) {
        // The natives' own look, by the lie of the land, chosen once.
        if (m_symbol.GetKey().culture == kCultureEurope) {
            const int32_t row = g_settlementCountries.terrainRowOf && province
                                    ? g_settlementCountries.terrainRowOf(GetProvinceId())
                                    : -1;
            switch (row) {
            case 0:
            case 1:
                m_symbol.SetCulture(12);
                break;
            case 2:
            case 9:
                m_symbol.SetCulture(15);
                break;
            case 4:
                m_symbol.SetCulture(17);
                m_symbol.SetKind(kSpriteKindColony);
                m_symbol.SetLevel(1);
                break;
            case 5:
            case 8:
                m_symbol.SetCulture(13);
                break;
            case 6:
            case 7:
                m_symbol.SetCulture(14);
                break;
            default: // row 3 and any other
                m_symbol.SetCulture(16);
                break;
            }
        }
    } else {
        const bool islam = province && (province->religion == RELIGION_SUNNI ||
                                        province->religion == RELIGION_SHIITE);
        m_symbol.SetCulture(islam ? kCultureIslam : kCultureEurope);
    }
    if (IsColony()) {
        m_symbol.SetKind(kSpriteKindColony);
        m_symbol.SetLevel(m_colonyLevel > 3 ? 2 : 1);
        return;
    }
    m_symbol.SetKind(kSpriteKindCity);
    m_symbol.SetLevel(IsTown() ? 1 : (m_sizeLevel > 2 ? 3 : 2));
    const int32_t fortress = static_cast<int32_t>(m_fortress.level);
    m_symbol.SetAction(fortress >= 1 && fortress <= 3 ? 4
                                                      : (fortress >= 4 && fortress <= 6 ? 5 : 3));
}

void CCity::UpdateStatus() {
    UpdateSprite();
    if (m_capital)
        MakeCapital();
    if (!IsUnderSiege())
        return;
    CitySiegeState state;
    g_citySiege.stateOf(*FindObjectById(m_siege), state);
    m_fire.SetLevel((state.count > 0 ? 2 : 0) + (state.mode == 4 ? 1 : 0));
    const int32_t v = std::clamp(state.progress, 0, 12);
    siegeBarFill = (12 - v) * 100 / 12;
    siegeBarColour = v <= 1 ? 0 : (v <= 4 ? 2 : (v <= 7 ? 3 : 4));
}

// Messages --------------------------------------------------------------------------

int CCity::HandleMessage(COVEvent& event) {
    m_fire.HandleEvent(event);
    if (event.GetType() != EVT_UNNAMED_209)
        return EVENT_NOT_HANDLED;
    const COVEventData& payload = event.Payload();
    SetPopulation(payload.Get(CityStatePayload::kPopulation));
    m_fortress.level = CapFortressLevel(payload.Get(CityStatePayload::kFortressLevel));
    const int32_t code = payload.Get(CityStatePayload::kManufactory);
    if (code != MANUFACTORY_NONE && !IsManufactory(code))
        return EVENT_CONSUMED; // no manufactory of that code: it stays as it is
    if (manufactory == MANUFACTORY_NONE && code != MANUFACTORY_NONE) {
        StartManufactory(code);
        FinishManufactory();
    } else if (code == MANUFACTORY_NONE) {
        RemoveManufactory();
    } else {
        RemoveManufactory();
        StartManufactory(code);
        FinishManufactory();
    }
    return EVENT_CONSUMED;
}

// The block -------------------------------------------------------------------------

int32_t CCity::Read(CFieldReader& in) {
    bool hasPopulation = false;
    for (;;) {
        const int32_t result = in.ReadField();
        if (result == FIELD_ERROR || result == FIELD_END_OF_FILE) {
            if (!hasPopulation)
                SetPopulation(kDefaultPopulation);
            return result;
        }
        if (result == FIELD_BLOCK_END) {
            in.GetTokenFile()->Next(); // the "}"
            break;
        }
        const Token& value = in.value;
        switch (in.key.code) {
        case KW_NAME:
            SetName(value.text);
            break;
        case KW_LEVEL: {
            bool outside = value.code != TOKEN_NUMBER;
            bool beyond = false;
            SetPopulation(PopulationOfCityLevel(TokenToFloat(value.text), &beyond));
            if (outside || beyond)
                in.ReportError("City : level outside the level tables");
            hasPopulation = true;
            break;
        }
        case KW_POPULATION: {
            const float population = TokenToFloat(value.text);
            if (value.code != TOKEN_NUMBER || population < 0.0f || population > kMaxPopulation)
                in.ReportError("City : population outside 0..999999");
            SetPopulation(population);
            hasPopulation = true;
            break;
        }
        case KW_LOCATION: {
            const int32_t id = TokenToInt(value.text);
            if (value.code != TOKEN_NUMBER || id < kFirstProvinceId || id > kLastProvinceId) {
                in.ReportError("City : illegal location");
                SetProvinceId(0);
                break;
            }
            SetLocation(id);
            break;
        }
        case KW_DATECOMPLETED:
        case KW_DATE:
            if (value.code != TOKEN_OPEN_BRACE) {
                in.ReportError("No left curly");
                break;
            }
            if ((in.key.code == KW_DATE ? manufactoryDate : dateCompleted).Read(in) ==
                FIELD_END_OF_FILE)
                return FIELD_END_OF_FILE;
            break;
        case KW_MANUFACTORY:
        case KW_CONSTRUCTION: {
            const int32_t code = ManufactoryOfKeyword(value.code);
            if (code == MANUFACTORY_NONE) {
                in.ReportError("City : Unknow manufactury type");
                break;
            }
            manufactoryBuilding = code;
            if (in.key.code == KW_MANUFACTORY)
                manufactory = code;
            UpdateManufactorySprite();
            break;
        }
        case KW_CAPITAL:
            if (value.code == KW_YES)
                m_capital = 1;
            break;
        case KW_FORTRESS:
            if (value.code != TOKEN_OPEN_BRACE) {
                in.ReportError("no left curly");
                break;
            }
            if (const int32_t read = m_fortress.Read(in); read != FIELD_BLOCK_END)
                return read;
            break;
        case KW_RUNNING: {
            const int32_t kind = ImprovementOfKeyword(value.code);
            if (kind < 0)
                in.ReportError("City : Unknow constructing improvement type");
            else
                improvementBuilding = kind;
            break;
        }
        case KW_SHIPYARD:
        case KW_BARRACK:
        case KW_BAILIFF:
        case KW_CITYRIGHTS:
        case KW_COURTHOUSE:
            if (value.code == KW_YES)
                improvements[static_cast<size_t>(ImprovementOfKeyword(in.key.code))] = 1;
            break;
        default:
            in.ReportError("City : Unexpected Field");
            if (!hasPopulation)
                SetPopulation(kDefaultPopulation);
            return FIELD_ERROR;
        }
    }

    if (!hasPopulation) {
        in.ReportError("City : no population or level");
        SetPopulation(kDefaultPopulation);
    }
    const CProvince* province = GetProvince();
    if (GetName()[0] == '\0' && province)
        SetName(province->name.c_str());
    UpdateSprite();

    // The works under way end on their dates; the host tells the owner.
    const int32_t owner = OwnerNumberForRead(in, province);
    if (!IsHost() || !province || owner < 0)
        return FIELD_BLOCK_END;
    const uint32_t id = static_cast<uint32_t>(GetProvinceId());
    const ObjectId ownerId = MakeCountryId(static_cast<uint32_t>(owner));
    if (dateCompleted.year > 0)
        PostEventAtAndSend(
            std::make_unique<COVImprovementEvent>(
                EVT_FINISH_BUILD_IMPROVEMENT, ownerId,
                std::array<uint32_t, 5>{id, static_cast<uint32_t>(improvementBuilding), 0u, 0u,
                                        static_cast<uint32_t>(owner)}),
            dateCompleted);
    if (manufactoryDate.year > 0)
        PostEventAtAndSend(std::make_unique<COVProvinceEvent>(EVT_BUILD_FACILITY, ownerId, id),
                           manufactoryDate);
    if (m_fortress.increase)
        PostEventAtAndSend(std::make_unique<COVFortressEvent>(EVT_EXPAND_FORTRESS, ownerId, id, 0u,
                                                              0u, static_cast<uint32_t>(owner)),
                           m_fortress.date);
    return FIELD_BLOCK_END;
}

CDataBlock* CCity::Write() const {
    auto* block = new CDataBlock;
    auto add = [block](uint32_t keyword, CDataNode* value) {
        block->AddChild(new CDataAssignment(keyword, value));
    };
    add(KW_NAME, new CDataString(GetName()));
    add(KW_POPULATION, new CFloatNode(m_population));
    add(KW_LOCATION, new CDataInt(GetProvinceId()));
    for (size_t i = 0; i < std::size(kImprovementKeywords); ++i)
        add(kImprovementKeywords[i], new CDataBool(improvements[i] != 0));
    add(KW_FORTRESS, m_fortress.Write());
    add(KW_CAPITAL, new CDataBool(m_capital != 0));
    if (IsManufactory(manufactory))
        add(KW_MANUFACTORY, new CDataIdentifier(kManufactoryKeywords[manufactory - 1]));
    if (IsManufactory(manufactoryBuilding)) {
        add(KW_CONSTRUCTION, new CDataIdentifier(kManufactoryKeywords[manufactoryBuilding - 1]));
        // The date a manufactory under construction is set up goes with it,
        // so that a saved game still finishes it.
        if (manufactoryBuilding != manufactory && manufactoryDate.IsAfter(GetGameDate()))
            add(KW_DATE, manufactoryDate.Write());
    }
    if (improvementBuilding >= 0 && improvementBuilding < kImprovementCount &&
        !HasImprovement(improvementBuilding) && dateCompleted.IsAfter(GetGameDate())) {
        add(KW_RUNNING,
            new CDataIdentifier(kImprovementKeywords[static_cast<size_t>(improvementBuilding)]));
        add(KW_DATECOMPLETED, dateCompleted.Write());
    }
    return block;
}
