// The election of a new emperor when the emperor's country is gone. The
// globals run it in their common work of the month and the game start, on
// the host only; the result reaches every machine as "_COVEVT_NEW_EMPEROR_",
// executed here and sent, whose handler makes the winner the emperor.
#include <array>
#include <memory>

#include "country/Emperor.h"

#include "country/Country.h"
#include "data/Keywords.h"
#include "engine/Random.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Session.h"
#include "world/Globals.h"
#include "world/GlobalsTreaties.h"
#include "world/Province.h"

namespace {

// The countries whose emperor counts double, and those the crown favours.
constexpr uint32_t kDoublingMembers[] = {36, 49};
constexpr uint32_t kFavouredCandidates[] = {3, 8};

// The members of the empire (the fixed list of the country's own query,
// which comes with the country's methods).
constexpr std::array<uint32_t, 17> kEmpireMembers = {3,  6,  18, 19, 20, 21, 27, 30, 31,
                                                     36, 38, 49, 50, 56, 61, 83, 84};

bool IsEmpireMember(uint32_t number) {
    for (uint32_t member : kEmpireMembers)
        if (member == number)
            return true;
    return false;
}

// The state religion code of the country.
int32_t StateReligion(const CCountry& country) {
    return static_cast<int32_t>(country.m_religion.stateReligion);
}

// The country's elector test. (Stands in for the country's own query, which
// comes with its queries: until then every member of the empire elects.)
bool IsElector(const CCountry& country) {
    return IsEmpireMember(country.GetNumber());
}

// The member's relation value toward the candidate, truncated.
int32_t RelationValue(const CCountry& member, uint32_t candidate) {
    const CRelation* relation = member.m_diplomacy.GetRelation(candidate);
    return relation ? static_cast<int32_t>(relation->GetValue()) : 0;
}

bool Contains(const uint32_t (&list)[2], uint32_t number) {
    return list[0] == number || list[1] == number;
}

} // namespace

// Chooses the new emperor among the catholic electors and tells every
// machine. Only the host elects; on a client nothing is drawn or sent.
uint32_t ElectEmperor() {
    if (!IsHost())
        return 0;
    int32_t best = 0;
    uint32_t winner = CGlobals::kDefaultEmperor;
    for (uint32_t candidate = 0; candidate < kCountrySlots; ++candidate) {
        const CCountry* country = CountryOfNumber(candidate);
        if (!country)
            continue;
        const int32_t religion = StateReligion(*country);
        if (religion != RELIGION_CATHOLIC && religion != RELIGION_COUNTERREFORM)
            continue;
        if (!IsElector(*country))
            continue;
        int32_t score = GameRand() % 10;
        for (uint32_t number = 0; number < kCountrySlots; ++number) {
            const CCountry* member = CountryOfNumber(number);
            if (!member || !IsEmpireMember(number))
                continue;
            score += 100 + RelationValue(*member, candidate);
            if (Contains(kDoublingMembers, number))
                score *= 2;
            if (number == candidate)
                score += 200;
        }
        if (Contains(kFavouredCandidates, candidate))
            score += 10 * static_cast<int32_t>(kCountrySlots);
        if (score > best) {
            best = score;
            winner = candidate;
        }
    }
    ExecuteAndSendEvent(
        std::make_unique<COVSimpleEvent>(EVT_NEW_EMPEROR, ObjectId(kCountryObjectType, winner)));
    return winner;
}

namespace {

const bool g_electionRegistered = [] {
    g_globalsTreaties.electEmperor = [] { ElectEmperor(); };
    return true;
}();

} // namespace
