#pragma once
// The host's referee for combat (g_combatRequestsId {2, 2}). It decides when
// units that meet in a province start a battle, a naval engagement or the
// cover of a fortress, which running combat an arriving unit joins, when a
// combat has become invalid and is ended, when a unit dies of attrition and
// when a besieger is too weak to go on covering. Everything it decides goes
// to every machine as messages, which the provinces, combats and units carry
// out. It keeps no state of its own: each decision is read from the units,
// combats and provinces at the moment of the call. Only the host runs it.
#include <cstdint>

#include "engine/ObjectId.h"

class CCombat;
class CCountry;
class COVEvent;
class CProvince;
class CUnit;

// The size at which a moving army passes a fortress by.
constexpr int32_t kPassingArmySize = 2500;

// What HandleEvent answers for a message the server takes.
constexpr int kCombatServerHandled = 3;

class CCombatServer : public CIdValue {
public:
    CCombatServer();
    ~CCombatServer() override = default;

    // Types 29 (a unit leaves the combats), 32 (a combat ended), 33 (an
    // assault) and 46 (a unit stopped) answer kCombatServerHandled, even when
    // the object they name no longer exists; every other type 0.
    virtual int HandleEvent(COVEvent& event);

    // Ends every combat of the country's units and of the sieges in its
    // provinces that is no longer valid, then checks every free unit of the
    // country where it stands.
    void CheckCombats(CCountry& country);
    // A unit came into the province (0: nothing): it leaves a combat it is
    // still listed in, joins or starts a combat, or takes control of a
    // province without a fortress.
    void CheckUnitArrival(CUnit& unit, int32_t province);
    // The kind of the combat the unit joined, 0 when none took it.
    int32_t TryJoinCombat(CProvince& province, CUnit& unit);
    // The kind of the combat the unit started (1, 2 or 3), 0 when none.
    int32_t TryStartCombat(CProvince& province, CUnit& unit);
    // 3 when the unit must start covering the province's fortress, else 0.
    int32_t CheckSiegeStart(CProvince& province, CUnit& unit);
    // The fleet meets the other fleet in its sea zone (host rolls).
    bool IsNavalInterception(CUnit& mover, CUnit& other);
    // Creates the combat on every machine, joins the two units (either may
    // be null) and every other free unit of the province that takes a side,
    // and starts it.
    void CreateCombat(CProvince& province, int32_t kind, const ObjectId& id, CUnit* first,
                      CUnit* second);
    // Every combat of the combat's province lets the unit go.
    void RemoveUnitFromCombats(CCombat& combat, CUnit& unit, uint8_t side);
    // After losses: a unit left with nothing is deleted; a besieger too weak
    // to cover makes its side retreat.
    void CheckAttrition(CUnit& unit);
    // The ended combat is deleted everywhere; the free units of its province
    // look for a combat again, and a besieger weakened by it gives up.
    void OnCombatEnded(CCombat& combat);
};

// Made with the host's servers at scenario start; null before and after.
extern CCombatServer* g_combatServer;

// The field combat of the unit, else its siege; null when in none.
CCombat* CurrentCombatOf(const CUnit& unit);
