#include "country/War.h"

#include <algorithm>

#include "country/Country.h"
#include "country/TreatyFile.h"
#include "data/DataTree.h"
#include "data/GameFile.h"
#include "data/Keywords.h"
#include "data/ScenarioHeader.h"
#include "engine/CriticalError.h"
#include "net/Event.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Senders.h"
#include "net/Session.h"
#include "world/City.h"
#include "world/Province.h"

std::vector<std::unique_ptr<CWar>> g_wars;

int32_t CWarScoreTable::RowSum(uint32_t country) const {
    if (country >= kCountrySlots)
        return 0;
    int32_t sum = 0;
    for (int32_t points : rows[country])
        sum += points;
    return sum;
}

namespace {

// A score of the file is read within these bounds: the rows are summed over
// every country and raised by the handlers, which hold a score they change
// at 0 to 7.
constexpr int32_t kScoreReadLimit = 1000000;

// The participants of a side; 0 for a side that is missing.
uint32_t SideSize(const std::unique_ptr<CAlliance>& side) {
    return side ? static_cast<uint32_t>(side->participants.size()) : 0;
}

// The score table's block after its "{": rows of tag = { tag = number ... }.
// A row or entry whose tag names no country is reported and passed over.
int32_t ReadScoreTable(CFieldReader& in, CWarScoreTable& table) {
    for (;;) {
        const int32_t result = in.ReadBlockField();
        if (result != FIELD_READ)
            return result;
        if (in.value.code != TOKEN_OPEN_BRACE) {
            in.ReportError("no left curly");
            continue;
        }
        const uint32_t row = CountryOfTagToken(in, in.key, "illegal tag");
        if (row == 0) {
            PassOverValue(in);
            continue;
        }
        for (;;) {
            const int32_t entry = in.ReadBlockField();
            if (entry == FIELD_BLOCK_END)
                break;
            if (entry != FIELD_READ)
                return entry;
            const uint32_t column = CountryOfTagToken(in, in.key, "illegal tag");
            if (column == 0 || in.value.code != TOKEN_NUMBER) {
                PassOverValue(in);
                continue;
            }
            table.rows[row][column] =
                TokenToIntInRange(in.value.text, -kScoreReadLimit, kScoreReadLimit);
        }
    }
}

CDataBlock* WriteScoreTable(const CWarScoreTable& table, const CAlliance* side) {
    auto* block = new CDataBlock;
    if (!side)
        return block;
    for (uint32_t country : side->participants) {
        if (country >= kCountrySlots)
            continue;
        auto* row = new CDataBlock;
        for (uint32_t column = 1; column < kCountrySlots; ++column)
            if (const int32_t points = table.rows[country][column])
                row->AddChild(new CDataAssignment(ObjectId(kCountryObjectType, column).MakeNode(),
                                                  new CDataInt(points)));
        block->AddChild(new CDataAssignment(ObjectId(kCountryObjectType, country).MakeNode(), row));
    }
    return block;
}

// The points of a side over its table; the other side's size divides the
// row sums. A side facing nobody has won no points.
int32_t SidePoints(const CWarScoreTable& table, uint32_t own, uint32_t opponent,
                   uint32_t opponents) {
    if (own >= kCountrySlots || opponent >= kCountrySlots)
        return 0;
    if (own != 0 && opponent != 0)
        return table.rows[own][opponent];
    if (own != 0)
        return opponents ? table.RowSum(own) / static_cast<int32_t>(opponents) : 0;
    int32_t sum = 0;
    for (uint32_t row = 0; row < kCountrySlots; ++row) {
        if (opponent != 0)
            sum += table.rows[row][opponent];
        else if (opponents)
            sum += table.RowSum(row) / static_cast<int32_t>(opponents);
    }
    return sum;
}

// Controlled provinces with a city that is not a colony.
int32_t CountProvincesWithoutColony(const CCountry& country) {
    int32_t count = 0;
    const_cast<CIntList&>(country.m_controlledProvinces).ForEach([&count](int32_t id) {
        const CProvince* province = GetProvince(id);
        if (province && province->GetCity() && !province->GetCity()->IsColony())
            ++count;
    });
    return count;
}

// Provinces the holder controls, with a city that is not a colony, owned by
// the owner.
int32_t CountHeldCities(const CCountry& holder, uint32_t owner) {
    int32_t count = 0;
    const_cast<CIntList&>(holder.m_controlledProvinces).ForEach([&count, owner](int32_t id) {
        const CProvince* province = GetProvince(id);
        if (province && province->GetCity() && !province->GetCity()->IsColony() &&
            province->GetOwnerNumber() == static_cast<int32_t>(owner))
            ++count;
    });
    return count;
}

bool HoldsCapitalOf(uint32_t holder, const CCountry& country) {
    const CProvince* capital = GetProvince(country.m_capital);
    return capital && capital->GetControllerNumber() == static_cast<int32_t>(holder);
}

} // namespace

int32_t CWar::Read(CFieldReader& in) {
    for (;;) {
        const int32_t result = in.ReadBlockField();
        if (result == FIELD_BLOCK_END)
            break;
        if (result != FIELD_READ)
            return result;
        const uint32_t key = in.key.code;
        const bool block = in.value.code == TOKEN_OPEN_BRACE;
        int32_t read = FIELD_BLOCK_END;
        switch (key) {
        case KW_DATE:
        case KW_ENDDATE:
            if (!block) {
                in.ReportError("no left curly");
                break;
            }
            read = ReadDateBlock(in, key == KW_DATE ? startDate : endDate);
            break;
        case KW_ATTACKERS:
        case KW_DEFENDERS: {
            if (!block) {
                in.ReportError("no left curly");
                break;
            }
            auto side = std::make_unique<CAlliance>();
            side->Init();
            read = side->Read(in);
            if (read == FIELD_ERROR)
                read = FIELD_BLOCK_END; // reported; the side keeps what it read
            // A side is a war side, whatever its block said.
            side->type = ALLIANCE_WAR_SIDE;
            (key == KW_ATTACKERS ? attackers : defenders) = std::move(side);
            break;
        }
        case KW_ATTACKERSCORE:
        case KW_DEFENDERSCORE:
            if (!block) {
                in.ReportError("no left curly");
                break;
            }
            read = ReadScoreTable(in, key == KW_ATTACKERSCORE ? attackerScore : defenderScore);
            break;
        case KW_ID:
            if (!block) {
                in.ReportError("no left curly");
                break;
            }
            read = ReadObjectIdBlock(in, id);
            break;
        default:
            in.ReportError("WAR : Unexpected field");
            PassOverRestOfBlock(in);
            return FIELD_ERROR;
        }
        if (read != FIELD_BLOCK_END)
            return FIELD_END_OF_FILE;
    }
    if (id.IsNull())
        id = NewTreatyId();
    if (!HasBothSides())
        CriticalError("War specified without both attacker and defender ");
    return FIELD_BLOCK_END;
}

CDataBlock* CWar::Write() const {
    auto* block = new CDataBlock;
    block->AddChild(new CDataAssignment(KW_ID, MakeIdBlock(id)));
    block->AddChild(new CDataAssignment(KW_DATE, startDate.Write()));
    block->AddChild(new CDataAssignment(KW_ENDDATE, endDate.Write()));
    block->AddChild(
        new CDataAssignment(KW_DEFENDERSCORE, WriteScoreTable(defenderScore, defenders.get())));
    block->AddChild(
        new CDataAssignment(KW_ATTACKERSCORE, WriteScoreTable(attackerScore, attackers.get())));
    if (attackers)
        block->AddChild(new CDataAssignment(KW_ATTACKERS, attackers->Write()));
    if (defenders)
        block->AddChild(new CDataAssignment(KW_DEFENDERS, defenders->Write()));
    return block;
}

bool CWar::HasBothSides() const {
    return attackers && defenders;
}

bool CWar::IsAttacker(int64_t country) const {
    return attackers && attackers->HasMember(country);
}

bool CWar::IsDefender(int64_t country) const {
    return defenders && defenders->HasMember(country);
}

CWarScoreTable::Row* CWar::GetScoreRow(int64_t country) {
    if (country < 0 || country >= kCountrySlots)
        return nullptr;
    CWarScoreTable& table = IsAttacker(country) ? attackerScore : defenderScore;
    return &table.rows[static_cast<size_t>(country)];
}

int32_t CWar::GetAttackerPoints(uint32_t attacker, uint32_t defender) const {
    return SidePoints(attackerScore, attacker, defender, SideSize(defenders));
}

int32_t CWar::GetDefenderPoints(uint32_t attacker, uint32_t defender) const {
    return SidePoints(defenderScore, defender, attacker, SideSize(attackers));
}

int32_t CWar::GetWarScore(uint32_t c, uint32_t x, uint32_t y) const {
    const bool attacking = IsAttacker(c);
    uint32_t a = attacking ? x : y;
    uint32_t d = attacking ? y : x;
    const int32_t base =
        std::clamp(GetAttackerPoints(a, d) / 2 - GetDefenderPoints(a, d) / 2, -3, 3);
    int32_t score = base;
    int32_t limit = 6;
    if (a == 0 && SideSize(attackers) == 1)
        a = attackers->participants.front();
    bool baseOnly = false;
    if (d == 0) {
        if (SideSize(defenders) == 1)
            d = defenders->participants.front();
        else
            baseOnly = true;
    }
    if (a == 0)
        baseOnly = true;
    const CCountry* attacker = baseOnly ? nullptr : CountryOfNumber(a);
    const CCountry* defender = baseOnly ? nullptr : CountryOfNumber(d);
    if (attacker && defender) {
        const int32_t attackerCities = CountProvincesWithoutColony(*attacker);
        const int32_t defenderCities = CountProvincesWithoutColony(*defender);
        if (HoldsCapitalOf(a, *defender)) {
            score += 3;
            if (defenderCities == 0)
                score = 7;
        }
        if (HoldsCapitalOf(d, *attacker)) {
            score -= 3;
            if (attackerCities == 0)
                score = -7;
        }
        score -= CountHeldCities(*defender, a);
        score += CountHeldCities(*attacker, d);
        if (attackerCities == 0 || defenderCities == 0)
            limit = 7;
    }
    score = std::clamp(score, -limit, limit);
    return attacking ? score : -score;
}

CWar* FindWar(const ObjectId& id) {
    for (const auto& war : g_wars)
        if (war->id == id)
            return war.get();
    return nullptr;
}

namespace {

// Some country of the side controls a province owned by a country of the
// other side.
bool HoldsProvinceOf(const CAlliance* side, const CAlliance* other) {
    if (!side || !other)
        return false;
    for (uint32_t member : side->participants) {
        const CCountry* country = CountryOfNumber(member);
        if (!country)
            continue;
        bool holds = false;
        const_cast<CIntList&>(country->m_controlledProvinces).ForEach([&holds, other](int32_t id) {
            const CProvince* province = GetProvince(id);
            const int32_t owner = province ? province->GetOwnerNumber() : -1;
            if (owner >= 0 && std::find(other->participants.begin(), other->participants.end(),
                                        static_cast<uint32_t>(owner)) != other->participants.end())
                holds = true;
        });
        if (holds)
            return true;
    }
    return false;
}

} // namespace

void EndStaleWars() {
    if (!IsHost() || (g_scenarioInfo && g_scenarioInfo->tutorial))
        return;
    int32_t player = -1;
    for (uint32_t number = 0; number < kCountrySlots && player < 0; ++number)
        if (g_countryController[number] == 1)
            player = static_cast<int32_t>(number);
    if (player < 0)
        return;
    const CDate today = GetGameDate();
    // The messages may end wars: collect the ids first.
    std::vector<ObjectId> stale;
    for (const auto& war : g_wars) {
        CDate over = war->endDate;
        over.AddYears(3);
        const bool longOver = today.IsAfter(over);
        const bool sideEmpty = SideSize(war->attackers) == 0 || SideSize(war->defenders) == 0;
        if (!longOver && !sideEmpty)
            continue;
        if (HoldsProvinceOf(war->attackers.get(), war->defenders.get()) ||
            HoldsProvinceOf(war->defenders.get(), war->attackers.get()))
            continue;
        stale.push_back(war->id);
    }
    for (const ObjectId& id : stale) {
        auto event = std::make_unique<COVDataEvent>(
            EVT_WHITE_PEACE, ObjectId(kCountryObjectType, static_cast<uint32_t>(player)));
        event->Payload().Set(WhitePeacePayload::kWar, id);
        ExecuteAndSendEvent(std::move(event));
    }
}
