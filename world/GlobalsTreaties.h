#pragma once
// The treaties that the game-wide globals hold and read inside their
// "globaldata" block. Alliances, wars and peace offers belong to the
// countries, which lie above the world: country/ fills these entries once,
// by a static registration. An entry that is still null answers as a world
// without treaties (nothing read, nothing written, counts of 0).
#include <cstdint>

class CDataBlock;
class CFieldReader;
class COVEvent;

struct GlobalsTreatyHooks {
    // The "alliance" (resp. "war") block of the globals after its "{" up to
    // and including its "}": a new treaty is read and appended to its list.
    // The block readers' answers (FIELD_BLOCK_END, FIELD_ERROR,
    // FIELD_END_OF_FILE).
    int32_t (*readAlliance)(CFieldReader& in) = nullptr;
    int32_t (*readWar)(CFieldReader& in) = nullptr;
    // Appends one "alliance" block per alliance (resp. one "war" block per
    // war), in list order, to the globals' block.
    void (*writeAlliances)(CDataBlock& globals) = nullptr;
    void (*writeWars)(CDataBlock& globals) = nullptr;
    uint32_t (*allianceCount)() = nullptr;
    uint32_t (*warCount)() = nullptr;
    // Hands the message to every alliance (they end on the tick message).
    void (*offerToAlliances)(COVEvent& event) = nullptr;
    // Deletes every alliance, war and peace offer.
    void (*clearAll)() = nullptr;
    // The monthly and game-start work of the globals that is the countries'
    // own: white peace for wars long over (host, outside the tutorial), and
    // the election of a new emperor when the emperor's country is gone (host
    // only; the result reaches every machine as a message).
    void (*endStaleWars)() = nullptr;
    void (*electEmperor)() = nullptr;
};

// Constant-initialised (all null) before any static registration runs.
extern GlobalsTreatyHooks g_globalsTreaties;
