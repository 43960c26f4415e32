#include "military/units/Monarch.h"

#include "country/Country.h"
#include "country/CountryMilitary.h"
#include "data/DataTree.h"
#include "data/Keywords.h"
#include "data/TokenFile.h"
#include "engine/GameTimer.h"
#include "engine/Random.h"
#include "military/units/LeaderRegistry.h"

namespace {

// A monarch block of a country block replaces the country's monarch; the
// new one counts as loaded active and joins the leader registry.
void ReadCountryMonarch(CCountry& country, CFieldReader& in, bool historical) {
    std::unique_ptr<CMonarch> monarch =
        historical ? std::make_unique<CHistoricalMonarch>() : std::make_unique<CMonarch>();
    monarch->Read(in);
    country.m_monarch.reset(monarch.release());
    country.m_monarch->SetLoadedActive(true);
    if (g_leaderRegistry)
        g_leaderRegistry->AddMonarch(country.m_monarch.get());
}

// A monarch of the country's table of monarchs to come.
CMonarch* ReadTableMonarch(CCountry&, CFieldReader& in) {
    auto monarch = std::make_unique<CHistoricalMonarch>();
    monarch->Read(in);
    if (g_leaderRegistry)
        g_leaderRegistry->AddMonarch(monarch.get());
    return monarch.release();
}

CDataBlock* WriteCountryMonarch(const CMonarch& monarch, uint32_t& keyword) {
    keyword = monarch.IsHistorical() ? KW_HISTORICALMONARCH : KW_MONARCH;
    return monarch.Write();
}

// The countries read, write and delete their monarchs through these.
const bool g_countryMonarchsRegistered = [] {
    g_countryMilitary.readMonarch = ReadCountryMonarch;
    g_countryMilitary.monarchId = [](const CMonarch& monarch) { return monarch.GetId(); };
    g_countryMilitary.monarchName = [](const CMonarch& monarch) {
        return monarch.GetLeader().GetName().c_str();
    };
    g_countryMilitary.writeMonarch = WriteCountryMonarch;
    g_countryMilitary.deleteMonarch = [](CMonarch* monarch) { delete monarch; };
    g_countryMilitary.readTableMonarch = ReadTableMonarch;
    g_countryMilitary.monarchValues = [](const CMonarch& monarch, int32_t& adm, int32_t& dip,
                                         int32_t& mil) {
        adm = monarch.adm;
        dip = monarch.dip;
        mil = monarch.mil;
    };
    return true;
}();

// The country's messages set the reigning monarch's values and name.
const bool g_countryMonarchSettersRegistered = [] {
    g_countryMilitary.setMonarchValues = [](CMonarch& monarch, int32_t adm, int32_t dip,
                                            int32_t mil) {
        monarch.adm = adm;
        monarch.dip = dip;
        monarch.mil = mil;
    };
    g_countryMilitary.setMonarchName = [](CMonarch& monarch, const std::string& name) {
        monarch.GetLeader().SetName(name);
    };
    return true;
}();

} // namespace

CMonarch::CMonarch() : CMonarch(std::make_unique<CRandomLeader>()) {}

CMonarch::CMonarch(std::unique_ptr<CLeader> leader) : m_leader(std::move(leader)) {
    m_leader->category = LEADER_MONARCH;
}

CMonarch::~CMonarch() = default;

CHistoricalMonarch::CHistoricalMonarch() : CMonarch(std::make_unique<CHistoricalLeader>()) {}

CDataBlock* CMonarch::Write() const {
    CDataBlock* block = m_leader->Write();
    block->AddChild(new CDataAssignment(KW_ADM, new CDataInt(adm)));
    block->AddChild(new CDataAssignment(KW_DIP, new CDataInt(dip)));
    block->AddChild(new CDataAssignment(KW_MIL, new CDataInt(mil)));
    return block;
}

int32_t CMonarch::Read(CFieldReader& in) {
    m_leader->category = LEADER_MONARCH;
    event2start = 0;
    for (;;) {
        const int32_t result = in.ReadBlockField();
        if (result == FIELD_END_OF_FILE)
            return FIELD_END_OF_FILE;
        if (result != FIELD_READ)
            break; // the block's "}" was taken
        int32_t* number = nullptr;
        switch (in.key.code) {
        case KW_MIL:
            number = &mil;
            break;
        case KW_DIP:
            number = &dip;
            break;
        case KW_ADM:
            number = &adm;
            break;
        case KW_EVENT2START:
            number = &event2start;
            break;
        case KW_SCHEDULED:
            if (in.value.code == KW_YES)
                SetLoadedActive(true);
            else if (in.value.code != KW_NO)
                in.ReportError("Illegal Arugemnt");
            continue;
        default:
            if (!m_leader->ReadLeaderField(in, true)) {
                in.ReportError("Monarch : Unexpected field");
                return FIELD_ERROR;
            }
            continue;
        }
        // Held as a leader's values are (CLeader::ReadLeaderField).
        if (in.value.code == TOKEN_NUMBER)
            *number = TokenToIntInRange(in.value.text, -kLeaderValueLimit, kLeaderValueLimit);
    }
    m_leader->SetCountry(in.currentCountry);
    if (!IsHistorical() && GetId().IsNull())
        m_leader->SetId(NewLoadedObjectId());
    return FIELD_BLOCK_END;
}

void CMonarch::SetRandomReign() {
    const CDate today = g_gameTimer ? g_gameTimer->GetDate() : CDate();
    m_leader->startDate = today;
    m_leader->endDate = today;
    m_leader->endDate.AddYears(GameRand() % 40 + 5);
}
