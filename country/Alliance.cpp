#include "country/Alliance.h"

#include <algorithm>

#include "country/Country.h"
#include "country/Relations.h"
#include "country/TreatyFile.h"
#include "data/DataTree.h"
#include "data/GameFile.h"
#include "data/Keywords.h"
#include "net/Event.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Senders.h"

std::vector<std::unique_ptr<CAlliance>> g_alliances;
TreatyNoticeHooks g_treatyNotices;

ObjectId NewTreatyId() {
    ObjectId fresh = NewObjectId();
    fresh.type = kFirstPlayerIdType;
    return fresh;
}

int32_t ReadCountryTags(CFieldReader& in, const char* context, std::vector<uint32_t>& numbers) {
    return ReadListTokens(in, [&in, context, &numbers](const Token& token) {
        if (const uint32_t number = CountryOfTagToken(in, token, context))
            numbers.push_back(number);
        return FIELD_READ;
    });
}

void CAlliance::Init() {
    participants.clear();
    candidates.clear();
    alwaysValid = 0;
    startDate = GetGameDate();
}

const char* CAlliance::TypeWord(uint32_t type) {
    switch (type) {
    case ALLIANCE_DYNASTIC:
        return "dynasticalliance";
    case ALLIANCE_VASSALIZATION:
        return "vassalization";
    case ALLIANCE_MILITARY:
        return "militaryalliance";
    case ALLIANCE_WAR_SIDE:
        return "war";
    default:
        return nullptr;
    }
}

namespace {

uint32_t TypeOfKeyword(uint32_t keyword) {
    switch (keyword) {
    case KW_DYNASTICALLIANCE:
        return ALLIANCE_DYNASTIC;
    case KW_MILITARYALLIANCE:
        return ALLIANCE_MILITARY;
    case KW_WAR:
        return ALLIANCE_WAR_SIDE;
    case KW_VASSALIZATION:
        return ALLIANCE_VASSALIZATION;
    default:
        return ALLIANCE_NONE;
    }
}

uint32_t KeywordOfType(uint32_t type) {
    switch (type) {
    case ALLIANCE_DYNASTIC:
        return KW_DYNASTICALLIANCE;
    case ALLIANCE_MILITARY:
        return KW_MILITARYALLIANCE;
    case ALLIANCE_WAR_SIDE:
        return KW_WAR;
    case ALLIANCE_VASSALIZATION:
        return KW_VASSALIZATION;
    default:
        return 0;
    }
}

} // namespace

int32_t CAlliance::Read(CFieldReader& in) {
    for (;;) {
        const int32_t result = in.ReadBlockField();
        if (result == FIELD_BLOCK_END)
            break;
        if (result != FIELD_READ)
            return result;
        switch (in.key.code) {
        case KW_ID:
            if (in.value.code != TOKEN_OPEN_BRACE) {
                in.ReportError("No Left Curly");
                break;
            }
            if (const int32_t read = ReadObjectIdBlock(in, id); read != FIELD_BLOCK_END)
                return read;
            break;
        case KW_PARTICIPANT:
            if (in.value.code != TOKEN_OPEN_BRACE) {
                in.ReportError("No Left Curly");
                break;
            }
            if (ReadCountryTags(in, "Illegal Tag", participants) != FIELD_BLOCK_END)
                return FIELD_END_OF_FILE;
            break;
        case KW_STARTDATE:
        case KW_EXPIRYDATE:
            if (in.value.code != TOKEN_OPEN_BRACE) {
                in.ReportError("No Left Curly");
                break;
            }
            if (const int32_t read =
                    ReadDateBlock(in, in.key.code == KW_STARTDATE ? startDate : expiryDate);
                read != FIELD_BLOCK_END)
                return read;
            break;
        case KW_NAME:
            name = in.value.text;
            break;
        case KW_TYPE: {
            const uint32_t read = TypeOfKeyword(in.value.code);
            if (read == ALLIANCE_NONE)
                in.ReportError("Illegal AllianceType");
            else
                type = read;
            break;
        }
        default:
            // A war keeps a side that ended on an error: it gets its id all
            // the same.
            in.ReportError("Illegal thingie");
            PassOverRestOfBlock(in);
            if (id.IsNull())
                id = NewTreatyId();
            return FIELD_ERROR;
        }
    }
    if (id.IsNull())
        id = NewTreatyId();
    return FIELD_BLOCK_END;
}

CDataBlock* CAlliance::Write() const {
    auto* block = new CDataBlock;
    block->AddChild(new CDataAssignment(KW_ID, MakeIdBlock(id)));
    if (const uint32_t keyword = KeywordOfType(type))
        block->AddChild(new CDataAssignment(KW_TYPE, new CDataIdentifier(keyword)));
    block->AddChild(new CDataAssignment(KW_NAME, new CDataString(name.c_str())));
    block->AddChild(new CDataAssignment(KW_STARTDATE, startDate.Write()));
    block->AddChild(new CDataAssignment(KW_EXPIRYDATE, expiryDate.Write()));
    block->AddChild(new CDataAssignment(KW_PARTICIPANT, MakeTagList(participants)));
    return block;
}

bool CAlliance::IsValid() const {
    return type == ALLIANCE_WAR_SIDE || alwaysValid != 0 || participants.size() >= 2 ||
           pendingOffers > 0;
}

bool CAlliance::HasMember(int64_t country) const {
    return IsValid() &&
           std::find(participants.begin(), participants.end(), country) != participants.end();
}

bool CAlliance::HasMemberInSecondList(int64_t country) const {
    return IsValid() &&
           std::find(candidates.begin(), candidates.end(), country) != candidates.end();
}

int32_t CAlliance::GetLeader() const {
    return participants.empty() ? -1 : static_cast<int32_t>(participants.front());
}

namespace {

// The first country played by a human at this machine, -1 when none.
int32_t LocalPlayer() {
    for (uint32_t number = 0; number < kCountrySlots; ++number)
        if (g_countryController[number] == 1)
            return static_cast<int32_t>(number);
    return -1;
}

} // namespace

uint32_t CAlliance::HandleEvent(COVEvent& event) {
    if (event.GetType() != EVT_TIMER_TICK_LOOP)
        return 0;
    const bool warSide = type == ALLIANCE_WAR_SIDE;
    const bool dissolved = !warSide && alwaysValid == 0 && participants.size() < 2 &&
                           candidates.empty() && pendingOffers <= 0;
    const bool expired = !warSide && GetGameDate().IsAfter(expiryDate);
    if (!dissolved && !expired)
        return 0;
    if (!dissolved) {
        const int32_t player = LocalPlayer();
        const bool counts = alwaysValid != 0 || participants.size() >= 2;
        if (counts && player >= 0 && g_treatyNotices.allianceEnded &&
            std::find(participants.begin(), participants.end(), player) != participants.end())
            g_treatyNotices.allianceEnded(type == ALLIANCE_MILITARY ? 70 : 71,
                                          static_cast<uint32_t>(player), participants);
    }
    ExecuteEvent(std::make_unique<COVSimpleEvent>(EVT_REFRESHWINDOWS, g_broadcastId));
    participants.clear();
    RebuildDiplomaticStatus();
    return 1;
}

void CAlliance::ElectLeader() {
    size_t best = participants.size();
    int32_t bestScore = 0;
    for (size_t i = 0; i < participants.size(); ++i) {
        const CCountry* country = CountryOfNumber(participants[i]);
        if (!country)
            continue;
        int32_t score = g_countryController[participants[i]] != 0 ? 100 : 0;
        if (country->m_major)
            score += 25;
        // Stability (-3..3) and the monarch's diplomacy come with the
        // country's stability track and monarchs: until then a level of 0
        // and the value of a country without a monarch, 3.
        score += 0;
        score += 3;
        score += (country->m_infantryTotal + country->m_cavalryTotal) / 10000;
        if (score > bestScore) {
            bestScore = score;
            best = i;
        }
    }
    if (best >= participants.size() || best == 0)
        return;
    const uint32_t leader = participants[best];
    participants.erase(participants.begin() + static_cast<std::ptrdiff_t>(best));
    participants.insert(participants.begin(), leader);
}

CAlliance* FindAlliance(const ObjectId& id) {
    for (const auto& alliance : g_alliances)
        if (alliance->id == id)
            return alliance.get();
    return nullptr;
}

void OfferToAlliances(COVEvent& event) {
    // An alliance that ends rebuilds the status while it is still listed
    // (with no participants); the ended ones leave the list afterwards.
    std::vector<CAlliance*> ended;
    for (size_t i = 0; i < g_alliances.size(); ++i)
        if (g_alliances[i]->HandleEvent(event))
            ended.push_back(g_alliances[i].get());
    if (ended.empty())
        return;
    std::erase_if(g_alliances, [&ended](const std::unique_ptr<CAlliance>& alliance) {
        return std::find(ended.begin(), ended.end(), alliance.get()) != ended.end();
    });
}
