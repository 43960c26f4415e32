#include "country/CountryRecords.h"

#include <algorithm>
#include <cstring>

#include "country/Country.h"
#include "country/CountryMilitary.h"
#include "country/PayloadChecks.h"
#include "country/TreatyFile.h"
#include "data/DataTree.h"
#include "data/GameFile.h"
#include "data/Keywords.h"
#include "engine/GameTimer.h"
#include "net/EventTypes.h"

namespace {

CDate Today() {
    return g_gameTimer ? g_gameTimer->GetDate() : CDate();
}

} // namespace

// ---------------------------------------------------------------------------
// CMinister

int CMinister::HandleMessage(COVEvent& event) {
    switch (event.GetType()) {
    case EVT_SET_MINISTER: {
        const auto& payload = event.Payload();
        const ObjectId id = payload.Get(MinisterPayload::kMinister);
        if (payload.Get(MinisterPayload::kUpdate) != 0 && id != m_id)
            return EVENT_CONSUMED;
        const int32_t values[] = {payload.Get(MinisterPayload::kAdm),
                                  payload.Get(MinisterPayload::kMil),
                                  payload.Get(MinisterPayload::kDip)};
        for (int32_t value : values)
            if (!IsFigureWithin(value, kRulerValueRange, "minister", event.GetReceiver().number))
                return EVENT_CONSUMED;
        m_id = id;
        adm = values[0];
        mil = values[1];
        dip = values[2];
        SetName(payload.Get(MinisterPayload::kName).c_str());
        return EVENT_NOT_HANDLED;
    }
    case EVT_REMOVE_MINISTER:
        m_id = g_nullId;
        return EVENT_NOT_HANDLED;
    default:
        return EVENT_CONSUMED;
    }
}

int CMinister::Read(CFieldReader& in) {
    for (;;) {
        const int32_t result = in.ReadFieldOrClose();
        if (result != FIELD_READ)
            return result;
        switch (in.key.code) {
        case KW_NAME:
            SetName(in.value.text);
            break;
        case KW_ID:
            if (in.value.code != TOKEN_OPEN_BRACE) {
                in.ReportError("No left curly");
                break;
            }
            if (ReadObjectIdBlock(in, m_id) == FIELD_END_OF_FILE)
                return FIELD_END_OF_FILE;
            break;
        case KW_ADM:
            adm = TokenToInt(in.value.text);
            break;
        case KW_DIP:
            dip = TokenToInt(in.value.text);
            break;
        case KW_MIL:
            mil = TokenToInt(in.value.text);
            break;
        default:
            in.ReportError("Mnister : Unexpected field");
            PassOverRestOfBlock(in);
            return FIELD_ERROR;
        }
    }
}

CDataBlock* CMinister::Write() const {
    auto* block = new CDataBlock;
    block->AddChild(new CDataAssignment(KW_NAME, new CDataString(GetName())));
    block->AddChild(new CDataAssignment(KW_ID, MakeIdBlock(m_id)));
    block->AddChild(new CDataAssignment(KW_ADM, new CDataInt(adm)));
    block->AddChild(new CDataAssignment(KW_DIP, new CDataInt(dip)));
    block->AddChild(new CDataAssignment(KW_MIL, new CDataInt(mil)));
    return block;
}

// ---------------------------------------------------------------------------
// CModifierTable

void CModifierTable::Add(int32_t kind, float value, int32_t months) {
    m_entries.push_back({kind, value, months});
    Recount();
}

float CModifierTable::GetValue(int32_t kind) const {
    return kind >= 0 && kind < kKinds ? m_sums[kind] : 0.0f;
}

void CModifierTable::Recount() {
    std::fill(std::begin(m_sums), std::end(m_sums), 0.0f);
    for (const Entry& entry : m_entries)
        if (entry.kind >= 0 && entry.kind < kKinds)
            m_sums[entry.kind] += entry.value;
}

void CModifierTable::MonthlyUpdate() {
    for (Entry& entry : m_entries)
        --entry.monthsLeft;
    std::erase_if(m_entries, [](const Entry& entry) { return entry.monthsLeft <= 0; });
    Recount();
}

int32_t CModifierTable::Read(CFieldReader& in) {
    Entry entry;
    int32_t taken = 0;
    while (taken < 3) {
        const int32_t result = in.ReadField();
        if (result == FIELD_END_OF_FILE)
            return result;
        if (result == FIELD_READ && in.key.code == KW_VALUE && in.value.code == TOKEN_NUMBER) {
            if (taken == 0)
                entry.kind = TokenToInt(in.value.text);
            else if (taken == 1)
                entry.value = TokenToFloat(in.value.text);
            else // counted down every month: a value below 0 ends as 0 does
                entry.monthsLeft = TokenToIntInRange(in.value.text, 0, INT32_MAX);
            ++taken;
            continue;
        }
        // Another key, a value that is no number, or the block closing early.
        in.ReportError("Modifier : Unexpected field");
        if (result == FIELD_READ)
            PassOverRestOfBlock(in);
        else
            SkipRestOfBlock(in);
        return FIELD_ERROR;
    }
    const int32_t close = in.ReadFieldOrClose();
    if (close != FIELD_BLOCK_END) {
        if (close == FIELD_END_OF_FILE)
            return close;
        in.ReportError("Modifier : Unexpected field");
        if (close == FIELD_READ)
            PassOverRestOfBlock(in);
        else
            SkipRestOfBlock(in);
        return FIELD_ERROR;
    }
    Add(entry.kind, entry.value, entry.monthsLeft);
    return FIELD_BLOCK_END;
}

CDataBlock* CModifierTable::WriteEntry(const Entry& entry) {
    auto* block = new CDataBlock;
    block->AddChild(new CDataAssignment(KW_VALUE, new CDataInt(entry.kind)));
    block->AddChild(new CDataAssignment(KW_VALUE, new CFloatNode(entry.value)));
    block->AddChild(new CDataAssignment(KW_VALUE, new CDataInt(entry.monthsLeft)));
    return block;
}

// ---------------------------------------------------------------------------
// CMonarchTable

void CTableMonarchDeleter::operator()(CMonarch* monarch) const {
    if (monarch && g_countryMilitary.deleteMonarch)
        g_countryMilitary.deleteMonarch(monarch);
}

void CMonarchTable::Clear() {
    m_monarchs.clear();
    m_kept.clear();
}

int32_t CMonarchTable::Read(CFieldReader& in) {
    return ReadEntries(in, false);
}

int32_t CMonarchTable::ReadFile(CFieldReader& in) {
    return ReadEntries(in, true);
}

int32_t CMonarchTable::ReadEntries(CFieldReader& in, bool wholeFile) {
    for (;;) {
        const int32_t result = in.ReadField();
        if (result == FIELD_END_OF_FILE)
            return wholeFile ? FIELD_BLOCK_END : FIELD_END_OF_FILE;
        if (result == FIELD_BLOCK_END) {
            in.GetTokenFile()->Next();
            return FIELD_BLOCK_END;
        }
        if (result != FIELD_READ)
            continue;
        if (in.key.code != KW_HISTORICALMONARCH || in.value.code != TOKEN_OPEN_BRACE) {
            in.ReportError("Monarchtable : Unexpected field");
            PassOverValue(in);
            continue;
        }
        if (g_countryMilitary.readTableMonarch && in.currentCountry) {
            CMonarch* monarch = g_countryMilitary.readTableMonarch(*in.currentCountry, in);
            if (monarch)
                m_monarchs.emplace_back(monarch);
        } else {
            // No monarchs in this program: the entry is kept as it was read.
            m_kept.emplace_back();
            if (m_kept.back().Read(in) != FIELD_BLOCK_END) {
                m_kept.pop_back();
                return wholeFile ? FIELD_BLOCK_END : FIELD_END_OF_FILE;
            }
        }
    }
}

CDataBlock* CMonarchTable::Write() const {
    auto* block = new CDataBlock;
    for (const auto& monarch : m_monarchs) {
        uint32_t keyword = KW_HISTORICALMONARCH;
        if (g_countryMilitary.writeMonarch)
            if (CDataBlock* node = g_countryMilitary.writeMonarch(*monarch, keyword))
                block->AddChild(new CDataAssignment(KW_HISTORICALMONARCH, node));
    }
    for (const CKeptBlock& kept : m_kept)
        block->AddChild(new CDataAssignment(KW_HISTORICALMONARCH, kept.Write()));
    return block;
}

// ---------------------------------------------------------------------------
// CForceRecord

int32_t CForceRecord::Read(CFieldReader& in) {
    for (;;) {
        const int32_t result = in.ReadFieldOrClose();
        if (result != FIELD_READ)
            return result;
        float* field = nullptr;
        switch (in.key.code) {
        case KW_INFANTRY:
            field = &infantry;
            break;
        case KW_CAVALRY:
            field = &cavalry;
            break;
        case KW_ARTILLERY:
            field = &artillery;
            break;
        case KW_WARSHIPS:
            field = &warships;
            break;
        case KW_GALLEYS:
            field = &galleys;
            break;
        case KW_TRANSPORTS:
            field = &transports;
            break;
        default:
            break;
        }
        if (field && in.value.code == TOKEN_NUMBER) {
            *field = TokenToFloat(in.value.text);
        } else {
            in.ReportError("Force : Unexpected field");
            PassOverValue(in);
        }
    }
}

CDataBlock* CForceRecord::Write() const {
    auto* block = new CDataBlock;
    const std::pair<uint32_t, float> values[] = {
        {KW_INFANTRY, infantry}, {KW_CAVALRY, cavalry}, {KW_ARTILLERY, artillery},
        {KW_WARSHIPS, warships}, {KW_GALLEYS, galleys}, {KW_TRANSPORTS, transports}};
    for (const auto& [keyword, value] : values)
        block->AddChild(new CDataAssignment(keyword, new CFloatNode(value)));
    return block;
}

// ---------------------------------------------------------------------------
// Dates

bool IsDateReached(const CDate& date) {
    return Today().IsNotBefore(date);
}

void SetDateOneYearOn(CDate& date) {
    date = Today();
    date.AddYears(1);
}
