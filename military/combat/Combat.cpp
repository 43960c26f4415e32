#include "military/combat/Combat.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "data/DataTree.h"
#include "data/GameFile.h"
#include "data/Keywords.h"
#include "engine/CriticalError.h"
#include "military/combat/Battle.h"
#include "military/combat/Siege.h"
#include "military/server/UnitServer.h"
#include "military/units/LandUnit.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Senders.h"
#include "net/Session.h"
#include "world/Province.h"
#include "world/ProvinceWork.h"

namespace {

// The keyword of each combat kind, kind 1 first.
constexpr uint32_t kKindKeywords[] = {KW_LAND, KW_NAVAL, KW_COVER, KW_SIEGE, KW_ASSAULT};

int32_t KindOfKeyword(uint32_t code) {
    for (size_t i = 0; i < std::size(kKindKeywords); ++i)
        if (kKindKeywords[i] == code)
            return static_cast<int32_t>(i) + 1;
    return 0;
}

// What a combat block holds.
struct CombatRecord {
    ObjectId id;
    int32_t kind = 0;
    int32_t province = 0;
    CDate date;
    std::vector<float> morale;
    std::vector<ObjectId> attackers;
    std::vector<ObjectId> defenders;
    bool hasFortress = false;
    int32_t infantry = 0;
    int32_t cavalry = 0;
    int32_t artillery = 0;
    int32_t shortage = 0;
    float supplyPenalty = 0.0f;
    int32_t breaches = 0;
};

// Passes over the rest of as many blocks as are open (the combat's own
// included), so that the file reads on after a bad combat.
void SkipOpenBlocks(CFieldReader& in, int32_t depth) {
    for (int32_t i = 0; i < depth; ++i)
        SkipRestOfBlock(in);
}

bool IsNumber(const Token& token) {
    return token.code == TOKEN_NUMBER;
}

// "{ id = { ... } id = { ... } }" with its "{" taken. FIELD_BLOCK_END, or
// the error with the blocks still open counted in depth.
int32_t ReadIdList(CFieldReader& in, std::vector<ObjectId>& ids, int32_t& depth) {
    ++depth;
    for (;;) {
        const int32_t result = in.ReadFieldOrClose();
        if (result == FIELD_BLOCK_END) {
            --depth;
            return FIELD_BLOCK_END;
        }
        if (result != FIELD_READ)
            return result;
        if (in.key.code != KW_ID || in.value.code != TOKEN_OPEN_BRACE) {
            in.ReportError("Combat : a unit list holds only ids");
            if (in.value.code == TOKEN_OPEN_BRACE)
                ++depth;
            return FIELD_ERROR;
        }
        ObjectId id;
        ++depth;
        const int32_t read = id.Read(in);
        if (read != FIELD_BLOCK_END) {
            if (in.value.code == TOKEN_OPEN_BRACE)
                ++depth;
            return read;
        }
        --depth;
        ids.push_back(id);
    }
}

// "{ infantry = n cavalry = n artillery = n }" with its "{" taken.
int32_t ReadFortress(CFieldReader& in, CombatRecord& record, int32_t& depth) {
    ++depth;
    for (;;) {
        const int32_t result = in.ReadFieldOrClose();
        if (result == FIELD_BLOCK_END) {
            --depth;
            return FIELD_BLOCK_END;
        }
        if (result != FIELD_READ)
            return result;
        int32_t* target = nullptr;
        if (in.key.code == KW_INFANTRY)
            target = &record.infantry;
        else if (in.key.code == KW_CAVALRY)
            target = &record.cavalry;
        else if (in.key.code == KW_ARTILLERY)
            target = &record.artillery;
        if (!target || !IsNumber(in.value)) {
            in.ReportError("Combat : fortress of unknown shape");
            if (in.value.code == TOKEN_OPEN_BRACE)
                ++depth;
            return FIELD_ERROR;
        }
        *target = std::max(0, TokenToInt(in.value.text));
    }
}

// A nested block whose "{" was taken, read by the reader: depth counts it
// while it is open.
template <class Reader> int32_t ReadNested(int32_t& depth, Reader read) {
    ++depth;
    const int32_t result = read();
    if (result == FIELD_BLOCK_END)
        --depth;
    return result;
}

// The fields of the block; FIELD_BLOCK_END once its "}" is taken. On an
// error, depth counts the blocks left open.
int32_t ReadRecord(CFieldReader& in, CombatRecord& record, int32_t& depth) {
    for (;;) {
        const int32_t result = in.ReadFieldOrClose();
        if (result == FIELD_BLOCK_END) {
            --depth;
            return FIELD_BLOCK_END;
        }
        if (result != FIELD_READ)
            return result;
        const Token& value = in.value;
        const bool block = value.code == TOKEN_OPEN_BRACE;
        const uint32_t key = in.key.code;
        bool malformed = false;
        int32_t read = FIELD_BLOCK_END;
        const bool nested =
            block && (key == KW_ID || key == KW_DATE || key == KW_MORALE || key == KW_ATTACKERS ||
                      key == KW_DEFENDERS || key == KW_FORTRESS);
        if (key == KW_ID) {
            malformed = !block;
            if (block)
                read = ReadNested(depth, [&] { return record.id.Read(in); });
        } else if (key == KW_TYPE) {
            // A keyword of no kind leaves the kind 0: no combat is made.
            record.kind = KindOfKeyword(value.code);
        } else if (key == KW_PROVINCE) {
            malformed = !IsNumber(value);
            record.province = malformed ? 0 : TokenToInt(value.text);
        } else if (key == KW_DATE) {
            malformed = !block;
            if (block)
                read = ReadNested(depth, [&] { return record.date.Read(in); });
        } else if (key == KW_MORALE) {
            malformed = !block;
            CFloatList list;
            if (block)
                read = ReadNested(depth, [&] { return in.ReadFloatList(list); });
            record.morale.clear();
            list.ForEach([&record](float m) { record.morale.push_back(m); });
            malformed = malformed || (read == FIELD_BLOCK_END && record.morale.size() != 2);
        } else if (key == KW_ATTACKERS || key == KW_DEFENDERS) {
            malformed = !block;
            if (block)
                read = ReadIdList(in, key == KW_ATTACKERS ? record.attackers : record.defenders,
                                  depth);
        } else if (key == KW_FORTRESS) {
            malformed = !block;
            record.hasFortress = true;
            if (block)
                read = ReadFortress(in, record, depth);
        } else if (key == KW_SIEGE_P) {
            malformed = !IsNumber(value);
            if (!malformed)
                record.shortage = std::clamp(TokenToInt(value.text), 0, kSiegeMaxShortage);
        } else if (key == KW_SIEGE_D) {
            const float penalty = TokenToFloat(value.text);
            malformed = !IsNumber(value) || !std::isfinite(penalty);
            if (!malformed)
                record.supplyPenalty = std::max(0.0f, penalty);
        } else if (key == KW_SIEGE_BREACHES) {
            malformed = !IsNumber(value);
            if (!malformed)
                record.breaches = std::max(0, TokenToInt(value.text));
        } else {
            in.ReportError("Combat : unexpected field");
            if (block)
                ++depth;
            return FIELD_ERROR;
        }
        if (malformed) {
            in.ReportError("Combat : malformed value");
            if (block && !nested)
                ++depth; // a block where a number belongs is still open
            return FIELD_ERROR;
        }
        if (read != FIELD_BLOCK_END)
            return read;
    }
}

std::vector<CUnit*> UnitsOf(const std::vector<ObjectId>& ids) {
    std::vector<CUnit*> units;
    for (const ObjectId& id : ids)
        units.push_back(FindUnitById(id)); // a unit gone is carried as null
    return units;
}

// Makes the combat of the record in its province; null when it cannot be.
CCombat* StartRecordedCombat(CombatRecord& record) {
    CProvince* province = record.province >= 1 && record.province <= kLastProvinceId
                              ? GetProvince(record.province)
                              : nullptr;
    if (!province || record.kind == 0 || !g_provinceWork.startCombat) {
        DebugPrint("Combat: no province %d or no kind %d, combat dropped\n",
                   static_cast<int>(record.province), static_cast<int>(record.kind));
        return nullptr;
    }
    if (record.id.IsNull())
        record.id = NewObjectId();
    g_provinceWork.startCombat(*province, record.date, record.kind, record.id);
    CCombat* combat = FindCombatById(record.id);
    if (!combat || &combat->GetProvince() != province) {
        DebugPrint("Combat: the combat %d could not be made, dropped\n",
                   static_cast<int>(record.id.number));
        return nullptr;
    }
    return combat;
}

} // namespace

CCombat* ReadCombat(CFieldReader& in) {
    if (in.value.code != TOKEN_OPEN_BRACE)
        return nullptr;
    CombatRecord record;
    int32_t depth = 1;
    const int32_t result = ReadRecord(in, record, depth);
    if (result != FIELD_BLOCK_END) {
        if (result != FIELD_END_OF_FILE)
            SkipOpenBlocks(in, depth);
        return nullptr;
    }
    // The units are looked up before the combat exists: the garrison a
    // siege makes takes no id of theirs.
    const std::vector<CUnit*> attackers = UnitsOf(record.attackers);
    const std::vector<CUnit*> defenders = UnitsOf(record.defenders);
    CCombat* combat = StartRecordedCombat(record);
    if (!combat)
        return nullptr;
    if (CSiegeCombat* siege = combat->GetSiege()) {
        if (CLandUnit* garrison = siege->Garrison().GetGarrison(); garrison && record.hasFortress) {
            garrison->SetStrength(2, static_cast<float>(record.infantry));
            garrison->SetStrength(1, static_cast<float>(record.cavalry));
            garrison->SetStrength(0, static_cast<float>(record.artillery));
            garrison->Refresh();
        }
        siege->shortage = record.shortage;
        siege->supplyPenalty = record.supplyPenalty;
        siege->breaches = record.breaches;
        siege->resumed = true;
    }
    if (IsHost()) {
        for (CUnit* unit : attackers)
            combat->RequestJoinAttackers(unit);
        for (CUnit* unit : defenders)
            combat->RequestJoinDefenders(unit);
    }
    if (record.morale.size() == 2) {
        combat->Attackers().morale = record.morale[0];
        combat->Defenders().morale = record.morale[1];
    }
    if (!IsHost())
        return combat;
    if (combat->Attackers().GetUnits().IsEmpty() || combat->Defenders().GetUnits().IsEmpty()) {
        DebugPrint("%s: a side has no units, combat dropped\n", combat->GetName().c_str());
        const ObjectId id = combat->GetId();
        // The units that joined leave it again.
        ExecuteEvent(std::make_unique<COVCombatEvent>(
            EVT_COMBAT_ENDED, id, static_cast<uint32_t>(combat->GetType()), id, GetGameDate()));
        if (g_provinceWork.deleteCombat)
            g_provinceWork.deleteCombat(combat->GetProvince(), id);
        return nullptr;
    }
    const ObjectId id = combat->GetId();
    ExecuteAndSendEvent(std::make_unique<COVCombatEvent>(
        EVT_COMBAT_STARTED, id, static_cast<uint32_t>(combat->GetType()), id, GetGameDate()));
    return FindCombatById(id);
}

namespace {

CDataBlock* IdList(CCombatSide& side) {
    CDataBlock* list = new CDataBlock;
    for (CUnit* unit : side.UnitsInOrder())
        list->AddChild(new CDataAssignment(KW_ID, unit->GetId().MakeNode()));
    return list;
}

} // namespace

CDataBlock* WriteCombat(CCombat& combat) {
    CDataBlock* block = new CDataBlock;
    block->AddChild(new CDataAssignment(KW_ID, combat.GetId().MakeNode()));
    const int32_t kind = combat.GetType();
    if (kind >= 1 && kind <= static_cast<int32_t>(std::size(kKindKeywords)))
        block->AddChild(new CDataAssignment(
            KW_TYPE, new CDataIdentifier(kKindKeywords[static_cast<size_t>(kind - 1)])));
    else
        DebugPrint("Unsupported Combat Type: %d", static_cast<int>(kind));
    block->AddChild(new CDataAssignment(KW_PROVINCE, new CDataInt(combat.GetProvinceId())));
    block->AddChild(new CDataAssignment(KW_DATE, combat.startDate.Write()));
    CDataBlock* morale = new CDataBlock;
    morale->AddChild(new CFloatNode(combat.Attackers().morale));
    morale->AddChild(new CFloatNode(combat.Defenders().morale));
    block->AddChild(new CDataAssignment(KW_MORALE, morale));
    block->AddChild(new CDataAssignment(KW_ATTACKERS, IdList(combat.Attackers())));
    CSiegeCombat* siege = combat.GetSiege();
    if (!siege) {
        block->AddChild(new CDataAssignment(KW_DEFENDERS, IdList(combat.Defenders())));
        return block;
    }
    int32_t infantry = 0;
    int32_t cavalry = 0;
    int32_t artillery = 0;
    for (CUnit* unit : siege->Defenders().UnitsInOrder()) {
        infantry += unit->GetRoundedInfantry();
        cavalry += unit->GetRoundedCavalry();
        artillery += unit->GetRoundedArtillery();
    }
    CDataBlock* fortress = new CDataBlock;
    fortress->AddChild(new CDataAssignment(KW_INFANTRY, new CDataInt(infantry)));
    fortress->AddChild(new CDataAssignment(KW_CAVALRY, new CDataInt(cavalry)));
    fortress->AddChild(new CDataAssignment(KW_ARTILLERY, new CDataInt(artillery)));
    block->AddChild(new CDataAssignment(KW_FORTRESS, fortress));
    block->AddChild(new CDataAssignment(KW_SIEGE_P, new CDataInt(siege->shortage)));
    block->AddChild(new CDataAssignment(KW_SIEGE_D, new CFloatNode(siege->supplyPenalty)));
    block->AddChild(new CDataAssignment(KW_SIEGE_BREACHES, new CDataInt(siege->breaches)));
    return block;
}

void DeleteAllCombats() {
    for (int32_t id = 0; id <= kLastProvinceId; ++id)
        if (CProvince* province = GetProvince(id))
            province->combats.reset();
}

// ---------------------------------------------------------------------------
// The combats in saved games

namespace {

// A bad combat block is passed over and the file reads on; a combat that
// is no block at all is a structural error.
int32_t ReadCombatObject(CFieldReader& in) {
    if (in.value.code != TOKEN_OPEN_BRACE)
        return FIELD_ERROR;
    ReadCombat(in);
    return FIELD_BLOCK_END;
}

// Province by province, each province's combats in its list's order; a
// combat that has ended is on its way out and not written.
void WriteCombatObjects(CGameFileOutput& out) {
    for (int32_t id = 1; id <= kLastProvinceId; ++id) {
        const CProvince* province = GetProvince(id);
        if (!province || !province->combats)
            continue;
        for (size_t i = 0; i < province->combats->GetCount(); ++i) {
            auto* combat = dynamic_cast<CCombat*>(province->combats->At(i));
            if (combat && !combat->ended && !out.Write(WriteCombat(*combat)))
                return;
        }
    }
}

const bool g_gameFileRegistered = [] {
    RegisterGameFileObject(KW_COMBAT,
                           {&ReadCombatObject, &WriteCombatObjects, GameFileValue::AnyValue});
    return true;
}();

} // namespace
