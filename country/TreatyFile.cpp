#include "country/TreatyFile.h"

#include "country/Alliance.h"
#include "country/Country.h"
#include "country/PeaceOffer.h"
#include "country/Relations.h"
#include "country/War.h"
#include "data/DataTree.h"
#include "data/GameFile.h"
#include "data/Keywords.h"
#include "world/GlobalsTreaties.h"
#include "world/ScenarioSteps.h"

namespace {

// A nested read that stopped on a field it does not take leaves the rest of
// its block in the file.
int32_t FinishNestedRead(CFieldReader& in, int32_t result) {
    if (result == FIELD_ERROR) {
        PassOverRestOfBlock(in);
        return FIELD_BLOCK_END;
    }
    return result == FIELD_BLOCK_END ? FIELD_BLOCK_END : FIELD_END_OF_FILE;
}

} // namespace

int32_t ReadObjectIdBlock(CFieldReader& in, ObjectId& id) {
    in.value.code = 0;
    return FinishNestedRead(in, id.Read(in));
}

int32_t ReadDateBlock(CFieldReader& in, CDate& date) {
    in.value.code = 0;
    return FinishNestedRead(in, date.Read(in));
}

void PassOverValue(CFieldReader& in) {
    if (in.value.code == TOKEN_OPEN_BRACE) {
        SkipRestOfBlock(in);
        in.value.code = 0;
    }
}

void PassOverRestOfBlock(CFieldReader& in) {
    PassOverValue(in);
    SkipRestOfBlock(in);
}

CDataBlock* MakeIdBlock(const ObjectId& id) {
    auto* block = new CDataBlock;
    block->AddChild(new CDataAssignment(KW_TYPE, new CDataInt(id.type)));
    block->AddChild(new CDataAssignment(KW_ID, new CDataInt(static_cast<int32_t>(id.number))));
    return block;
}

CDataBlock* MakeTagList(const std::vector<uint32_t>& countries) {
    auto* block = new CDataBlock;
    for (uint32_t number : countries)
        block->AddChild(ObjectId(kCountryObjectType, number).MakeNode());
    return block;
}

int32_t ReadYesNo(CFieldReader& in, const char* context) {
    if (in.value.code == KW_YES)
        return 1;
    if (in.value.code == KW_NO)
        return 0;
    in.ReportError(context);
    return -1;
}

// ---------------------------------------------------------------------------
// The treaties inside "globaldata", and the start-up step that derives the
// relation flags from them

namespace {

// A block that was read whole (or passed over after an error) lets the
// globals go on; only the end of the file stops them.
int32_t GoOnUnlessEnded(int32_t result) {
    return result == FIELD_END_OF_FILE ? FIELD_END_OF_FILE : FIELD_BLOCK_END;
}

int32_t ReadAllianceIntoList(CFieldReader& in) {
    auto alliance = std::make_unique<CAlliance>();
    alliance->Init();
    const int32_t result = alliance->Read(in);
    if (result == FIELD_BLOCK_END)
        g_alliances.push_back(std::move(alliance));
    return GoOnUnlessEnded(result);
}

int32_t ReadWarIntoList(CFieldReader& in) {
    auto war = std::make_unique<CWar>();
    const int32_t result = war->Read(in);
    if (result == FIELD_BLOCK_END && war->HasBothSides())
        g_wars.push_back(std::move(war));
    return GoOnUnlessEnded(result);
}

void WriteAlliances(CDataBlock& globals) {
    for (const auto& alliance : g_alliances)
        globals.AddChild(new CDataAssignment(KW_ALLIANCE, alliance->Write()));
}

void WriteWars(CDataBlock& globals) {
    for (const auto& war : g_wars)
        globals.AddChild(new CDataAssignment(KW_WAR, war->Write()));
}

void ClearTreaties() {
    g_alliances.clear();
    g_wars.clear();
    g_peaceOffers.clear();
}

const bool g_treatiesRegistered = [] {
    GlobalsTreatyHooks& hooks = g_globalsTreaties;
    hooks.readAlliance = &ReadAllianceIntoList;
    hooks.readWar = &ReadWarIntoList;
    hooks.writeAlliances = &WriteAlliances;
    hooks.writeWars = &WriteWars;
    hooks.allianceCount = [] { return static_cast<uint32_t>(g_alliances.size()); };
    hooks.warCount = [] { return static_cast<uint32_t>(g_wars.size()); };
    hooks.offerToAlliances = &OfferToAlliances;
    hooks.clearAll = &ClearTreaties;
    hooks.endStaleWars = &EndStaleWars;
    g_scenarioSteps.rebuildDiplomaticStatus = &RebuildDiplomaticStatus;
    return true;
}();

} // namespace

uint32_t CountryOfTagToken(CFieldReader& in, const Token& token, const char* context) {
    const int32_t number = token.code == TOKEN_STRING ? FindCountryByTag(token.text) : 0;
    if (number > 0 && static_cast<uint32_t>(number) < kCountrySlots)
        return static_cast<uint32_t>(number);
    CTokenFile* file = in.GetTokenFile();
    ReportTokenError(context, token.text, "", "", file->GetLine(), file->GetFileName());
    return 0;
}
