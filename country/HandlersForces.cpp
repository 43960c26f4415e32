// The country's handlers for its forces and people: a new country released
// from this one.
#include <algorithm>
#include <vector>

#include "country/Country.h"
#include "country/CountryReligion.h"
#include "country/CountryTick.h"
#include "country/Relations.h"
#include "data/TokenFile.h"
#include "engine/CriticalError.h"
#include "net/EventTypes.h"
#include "world/Discovery.h"
#include "world/GameNotices.h"
#include "world/Globals.h"
#include "world/Province.h"

namespace {

constexpr int32_t kNoticeNewNation = 98;
constexpr uint32_t kDutchNation = 4;
constexpr uint32_t kFrenchProtestants = 74;
constexpr uint32_t kSwissProtestants = 75;

void SetReligion(CCountry& country, uint32_t religion) {
    country.m_religion = GetDefaultTolerances(religion);
}

} // namespace

int CCountry::OnCreateCountry(COVEvent& event) {
    const COVCreateCountryEvent create(event);
    const uint32_t number = create.Payload().Get(COVCreateCountryEvent::kCountry);
    if (number >= kCountrySlots) {
        DebugPrint("create country: number %u out of range, dropped\n", number);
        return EVENT_CONSUMED;
    }
    if (CountryOfNumber(number)) {
        DebugPrint("create country: country %u exists already, refused\n", number);
        return EVENT_CONSUMED;
    }
    // The provinces the payload really holds; a bad id drops the message.
    const size_t room = event.Payload().Size() > COVCountedEvent::kBaseSize
                            ? (event.Payload().Size() - COVCountedEvent::kBaseSize) / 4
                            : 0;
    const size_t count = create.GetCount();
    if (count > room) {
        DebugPrint("create country: %zu provinces in room for %zu, dropped\n", count, room);
        return EVENT_CONSUMED;
    }
    std::vector<int32_t> provinces;
    for (size_t i = 0; i < count; ++i) {
        const uint32_t id = create.GetEntry(i);
        if (id < 1 || id > static_cast<uint32_t>(kLastProvinceId)) {
            DebugPrint("create country: province %u out of range, dropped\n", id);
            return EVENT_CONSUMED;
        }
        provinces.push_back(static_cast<int32_t>(id));
    }

    CCountry* released = CCountry::Create(number);
    if (!released) {
        DebugPrint("create country: country %u could not be made\n", number);
        return EVENT_CONSUMED;
    }
    for (int32_t id : provinces)
        if (CProvince* province = GetProvince(id))
            province->ChangeOwner(released);

    for (int32_t id = 1; id <= kLastProvinceId; ++id) {
        if (!IsProvinceDiscovered(m_number, id))
            continue;
        if (!released->m_knownProvinces.Contains(id))
            released->m_knownProvinces.AddTail(id);
        DiscoverProvince(number, id);
    }

    if (g_countryTick.createRandomMonarch)
        g_countryTick.createRandomMonarch(*released);
    released->RecomputeCapital();
    const CProvince* capital = GetProvince(released->m_capital);
    if (capital && released->m_capital > 0)
        SetReligion(*released, static_cast<uint32_t>(capital->GetReligion()));
    released->SetAIPersonalityFile();
    released->m_diplomacy.Init(number);
    if (CCountry* french = CountryOfNumber(kFrenchProtestants))
        SetReligion(*french, RELIGION_REFORMED);
    if (CCountry* swiss = CountryOfNumber(kSwissProtestants))
        SetReligion(*swiss, RELIGION_PROTESTANT);

    released->m_technology.land.SetLevel(m_technology.land.GetLevel());
    released->m_technology.infra.SetLevel(m_technology.infra.GetLevel());
    released->m_technology.trade.SetLevel(m_technology.trade.GetLevel());
    released->m_technology.naval.SetLevel(m_technology.naval.GetLevel());

    for (CCountry* other : g_countries) {
        if (!other)
            continue;
        if (CRelation* relation = other->m_diplomacy.GetRelation(number)) {
            relation->country = number;
            relation->owner = other->GetNumber();
        }
    }
    RebuildDiplomaticStatus();

    PostGameMessage2(kNoticeNewNation, number, released->GetName(), released->GetName(), GetName());
    if (number == kDutchNation)
        g_globals.dutch = false;

    CFieldReader leaders;
    released->ReadLeaderHistory(leaders);
    CFieldReader monarchs;
    released->ReadMonarchHistory(monarchs);
    released->ReadAiFile();
    return EVENT_CONSUMED;
}
