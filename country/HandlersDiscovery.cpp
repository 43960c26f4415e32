// The country's handlers that make provinces known: a province discovered,
// exploration shared with or stolen from another country, a country's
// capital learnt; and the one-time discovery feats a discovered province
// may win.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "country/Country.h"
#include "engine/Config.h"
#include "engine/CriticalError.h"
#include "engine/Format.h"
#include "engine/TextDatabase.h"
#include "net/EventTypes.h"
#include "net/PayloadRoles.h"
#include "net/Posting.h"
#include "net/Senders.h"
#include "world/Discovery.h"
#include "world/GameNotices.h"
#include "world/Globals.h"
#include "world/Province.h"

namespace {

constexpr uint32_t kDiscoveryVictoryPoints = 5;
constexpr int32_t kNoticeExploreOther = 145; // "EXPLOREOTHER"
constexpr int32_t kNoticeExploreFeat = 148;  // "EXPLORESPEC"

// The feats, in the order they are tested, each with the index of its flag
// among the game-wide discoveries ("northam", index 11, is never won).
enum FeatCondition : uint8_t {
    kLandContinent,
    kLandArea,
    kArea,
    kProvince,
    kInlandChina,
    kLandRegion,
    kSeaRegion,
    kProvinceRange
};

struct Feat {
    const char* key;
    int32_t points;
    uint32_t flag;
    FeatCondition condition;
    int32_t first; // the continent, area, region or province
    int32_t last;  // the last province of a range
};

constexpr std::array<Feat, 16> kFeats = {{
    {"SPEC_AMERICA", 50, 0, kLandContinent, 1, 0},
    {"SPEC_ASIA", 25, 1, kLandContinent, 3, 0},
    {"SPEC_QUEBEC", 5, 2, kLandArea, 20, 0},
    {"SPEC_GREATLAKE", 10, 3, kArea, 17, 0},
    {"SPEC_CAPEHORN", 10, 4, kProvince, 1240, 0},
    {"SPEC_GOODHOPE", 10, 5, kProvince, 1252, 0},
    {"SPEC_HUDSONBAY", 10, 6, kProvince, 829, 0},
    {"SPEC_ALASKA", 5, 7, kArea, 1, 0},
    {"SPEC_PANAMA", 5, 8, kProvince, 39, 0},
    {"SPEC_INLANDCHINA", 20, 9, kInlandChina, 90, 0},
    {"SPEC_AMAZONEZ", 10, 10, kLandArea, 33, 0},
    {"SPEC_INDIA", 25, 12, kLandRegion, 14, 0},
    {"SPEC_KAMTCHATSKA", 10, 13, kLandArea, 89, 0},
    {"SPEC_CALIFORNIA", 10, 14, kLandArea, 3, 0},
    {"SPEC_PACIFIC", 10, 15, kSeaRegion, 23, 0},
    {"SPEC_AUSTRALIA", 5, 16, kProvinceRange, 720, 726},
}};

bool FeatHolds(const Feat& feat, const CProvince& province, uint32_t country) {
    const bool land = !province.IsSea();
    switch (feat.condition) {
    case kLandContinent:
        return land && province.continent == feat.first;
    case kLandArea:
        return land && province.area == feat.first;
    case kArea:
        return province.area == feat.first;
    case kProvince:
        return province.GetNumber() == feat.first;
    case kInlandChina:
        if (province.area != feat.first)
            return false;
        for (int32_t id : g_globals.discoveries.inlandChinaProvinces)
            if (!IsProvinceDiscovered(country, id))
                return false;
        return true;
    case kLandRegion:
        return land && province.region == feat.first;
    case kSeaRegion:
        return !land && province.region == feat.first;
    case kProvinceRange:
        return province.GetNumber() >= feat.first && province.GetNumber() <= feat.last;
    }
    return false;
}

bool BaseVictoryPointsOn() {
    return g_config && g_config->GetWord(ConfigOffset::kBaseVictoryPoints) != 0;
}

// Builds and executes "_COVEVT_DISCOVERPROVINCE_" for the country.
void ExecuteDiscoverProvince(const CCountry& country, int32_t province) {
    ExecuteEvent(std::make_unique<COVProvinceEvent>(EVT_DISCOVERPROVINCE, country.GetId(),
                                                    static_cast<uint32_t>(province)));
}

// The other country a message names; null (with a log line) for a number
// outside 0..98 or without a country.
CCountry* NamedCountry(const COVEvent& event, uint32_t number) {
    if (!IsPayloadCountry(number)) {
        AppendToLog("Country message " + std::to_string(event.GetType()) + " dropped: country " +
                    std::to_string(number));
        return nullptr;
    }
    return CountryOfNumber(number);
}

} // namespace

int CCountry::OnDiscoverProvince(COVEvent& event) {
    const uint32_t id = event.Payload().Get(COVProvinceEvent::kProvince);
    CProvince* province = IsPayloadProvince(id) ? GetProvince(static_cast<int32_t>(id)) : nullptr;
    if (!province) {
        AppendToLog("Discovery dropped: province " + std::to_string(id));
        return EVENT_CONSUMED;
    }
    const auto p = static_cast<int32_t>(id);
    if (!IsLocalHuman())
        PostGameMessage2At(kNoticeExploreOther, m_number, GetName(), GetName(), province->name, p);
    DiscoverProvince(m_number, p);

    if (BaseVictoryPointsOn()) {
        auto& flags = g_globals.discoveries.flags;
        for (const Feat& feat : kFeats) {
            if (flags[feat.flag] != 0 || !FeatHolds(feat, *province, m_number))
                continue;
            flags[feat.flag] = 1;
            AddBaseVictoryPoints(kDiscoveryVictoryPoints, static_cast<float>(feat.points));
            if (IsLocalHuman())
                PostGameMessage2At(kNoticeExploreFeat, m_number, GetName(),
                                   g_textDatabase.GetText(feat.key), FormatText("%d", feat.points),
                                   p);
            break;
        }
    }

    // Finding a country's province reveals its capital.
    const CCountry* owner = province->GetOwner();
    if (owner && owner != this) {
        const int32_t capital = owner->GetCapitalId();
        if (GetProvince(capital) && capital >= kFirstProvinceId &&
            !IsProvinceDiscovered(m_number, capital)) {
            auto country = std::make_unique<COVDataEvent>(EVT_DISCOVERCOUNTRY, GetId());
            country->Payload().Set(ExplorationPayload::kCountry, owner->GetNumber());
            country->Payload().Set(ExplorationPayload::kFlag, uint8_t{1});
            ExecuteEvent(std::move(country));
            ExecuteDiscoverProvince(*this, capital);
        }
    }
    return EVENT_CONSUMED;
}

int CCountry::OnAcceptShareExploration(COVEvent& event) {
    const uint32_t n = event.Payload().Get(ExplorationPayload::kCountry);
    CCountry* other = NamedCountry(event, n);
    if (!other || other == this)
        return EVENT_CONSUMED;
    ShareDiscoveriesWith(n);
    if (m_major != 0 && other->m_major != 0) {
        CRelation* mine = m_diplomacy.GetRelation(n);
        CRelation* theirs = other->m_diplomacy.GetRelation(m_number);
        if (mine) {
            mine->SetValue(mine->GetValue() + 5.0f);
            if (theirs)
                theirs->SetValue(mine->GetValue());
        }
    }
    return EVENT_CONSUMED;
}

int CCountry::OnStealExploration(COVEvent& event) {
    const uint32_t n = event.Payload().Get(PairPayload::kFirst);
    const CCountry* other = NamedCountry(event, n);
    if (!other || other == this)
        return EVENT_CONSUMED;
    std::vector<int32_t> unknown;
    for (int32_t id = kFirstProvinceId; id <= kLastProvinceId; ++id)
        if (IsProvinceDiscovered(n, id) && !IsProvinceDiscovered(m_number, id))
            unknown.push_back(id);
    for (int32_t id : unknown)
        if (!IsProvinceDiscovered(m_number, id))
            ExecuteDiscoverProvince(*this, id);
    return EVENT_CONSUMED;
}

int CCountry::OnDiscoverCountry(COVEvent& event) {
    const uint32_t n = event.Payload().Get(ExplorationPayload::kCountry);
    const CCountry* other = NamedCountry(event, n);
    if (other)
        DiscoverProvince(m_number, other->GetCapitalId());
    return EVENT_CONSUMED;
}
