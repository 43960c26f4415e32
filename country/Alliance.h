#pragma once
// Alliances: a group of countries bound by one treaty (a royal marriage, a
// vassalization, a military alliance) or one side of a war. Every alliance
// of the game stands in g_alliances and is saved as an "alliance" block
// inside "globaldata"; the sides of a war are owned by their war.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/TokenFile.h"
#include "engine/Date.h"
#include "engine/ObjectId.h"

class CDataBlock;
class COVEvent;

enum AllianceType : uint32_t {
    ALLIANCE_NONE = 0,
    ALLIANCE_DYNASTIC = 1,
    ALLIANCE_VASSALIZATION = 2,
    ALLIANCE_MILITARY = 4,
    ALLIANCE_WAR_SIDE = 6,
};

// Objects of the treaties made or read here without an id get one of the
// run-time type of the first player (4712).
ObjectId NewTreatyId();

// Hands back the tag-list block whose "{" has been taken, up to and
// including its "}", as country numbers; a tag that names no country is
// reported (the context) and left out. FIELD_BLOCK_END, FIELD_END_OF_FILE.
int32_t ReadCountryTags(CFieldReader& in, const char* context, std::vector<uint32_t>& numbers);

class CAlliance {
public:
    // Empties both lists, clears alwaysValid and starts the alliance today.
    void Init();

    // The block after its "{" up to and including its "}". A tag that names
    // no country is reported and that member left out. FIELD_BLOCK_END;
    // FIELD_ERROR after an unknown key ("Illegal thingie": the rest of the
    // block is passed over); FIELD_END_OF_FILE.
    int32_t Read(CFieldReader& in);
    // "id", "type", "name", "startdate", "expirydate", "participant".
    CDataBlock* Write() const;

    // On the tick message: 1 when the alliance ended now (too few members,
    // or the day after its expiry date), else 0.
    uint32_t HandleEvent(COVEvent& event);

    // Moves the participant of the highest score (above 0; the first on
    // ties) to the head.
    void ElectLeader();

    bool IsValid() const;
    bool HasMember(int64_t country) const;
    bool HasMemberInSecondList(int64_t country) const;
    // The first participant, -1 when there is none.
    int32_t GetLeader() const;
    // The file word of the type, null for one without.
    static const char* TypeWord(uint32_t type);

    std::string name;
    ObjectId id;
    uint32_t alwaysValid = 0;
    std::vector<uint32_t> participants; // the first leads
    std::vector<uint32_t> candidates;
    uint32_t type = ALLIANCE_NONE;
    CDate expiryDate;
    CDate startDate;
    // --- offers under way ---
    // Offers sent and not yet answered; an alliance with one counts even
    // with fewer than two participants.
    int32_t pendingOffers = 0;
    // --- end of offers ---
};

// Every alliance of the game, in the order made.
extern std::vector<std::unique_ptr<CAlliance>> g_alliances;

// The alliance of the id in g_alliances, null when none.
CAlliance* FindAlliance(const ObjectId& id);

// The player's notice that an alliance of theirs ended (message kind 70 for
// a military alliance, 71 for the others), filled by the message log. A
// null entry tells nobody.
struct TreatyNoticeHooks {
    void (*allianceEnded)(uint32_t kind, uint32_t playerCountry,
                          const std::vector<uint32_t>& participants) = nullptr;
};
extern TreatyNoticeHooks g_treatyNotices;

// Hands the message to every alliance; those that ended are taken out of
// the list and deleted.
void OfferToAlliances(COVEvent& event);
