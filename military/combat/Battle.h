#pragma once
// Battles: a combat of two sides in one province, fought day by day in fire
// and shock phases of five days (the first one four). The province owns the
// combat (its combat list); the combat owns its sides; a side lists its
// units but does not own them. Every change reaches the combat as a message
// addressed to its id, so that every machine fights the same battle; the
// dice, retreats and the end are decided on the host only.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/CriticalError.h"
#include "military/units/UnitList.h"
#include "net/Event.h"
#include "world/ProvinceControl.h"

// The debug log (DebugPrint) writes nothing. The combats' trace lines cost
// work to build (the combat's name formatted, totals summed) on every day of
// every battle: they are built only when the log writes.
inline constexpr bool kDebugPrintWrites = false;
// A trace line of the combats, built only when the debug log writes.
#define CombatTrace(...)                                                                           \
    do {                                                                                           \
        if (kDebugPrintWrites)                                                                     \
            DebugPrint(__VA_ARGS__);                                                               \
    } while (false)

class CCombat;
class CCountry;
class CLeader;
class CProvince;
class CUnit;

class CCombatSide {
public:
    explicit CCombatSide(bool attacker) : attacker(attacker) {}
    virtual ~CCombatSide() = default;

    // The table codes and modifiers against the opponent.
    virtual void SetOpponent(CCombatSide& opponent) = 0;
    virtual float GetFireStrength() const = 0;
    virtual float GetShockStrength() const = 0;
    virtual int32_t GetFireModifier() const = 0;
    virtual int32_t GetShockModifier() const = 0;
    // The garrison of a siege answers true, its siege value and the
    // fortress level; other sides false and 0.
    virtual bool IsGarrison() const { return false; }
    virtual int32_t GetSiegeValue() const { return 0; }
    virtual int32_t GetFortLevel() const { return 0; }

    CUnitList& GetUnits() { return m_units; }
    const CUnitList& GetUnits() const { return m_units; }
    // The units in list order.
    std::vector<CUnit*> UnitsInOrder() const;
    CCombatSide* GetOpponent() const;

    // Takes the unit when the flag names this side: country list, commander,
    // the size-weighted morale, the joined size; the unit enters the combat.
    // A null unit is skipped with a trace line.
    void Join(CUnit* unit, bool attackerFlag);
    // Removes the unit when listed; the side is finished when it empties.
    virtual bool RemoveIfPresent(CUnit* unit);
    // The unit was destroyed in the combat: its owner deletes it.
    virtual bool DestroyUnit(CUnit& unit);
    virtual void SetCommander(CLeader* leader);
    // Both sides' leader bonuses from their commanders, when both have one.
    void RecomputeBonuses();
    void ReplaceCommander(CLeader* leader);
    void RefreshMorale() { morale = m_units.GetAverageMorale(); }
    void RollDie();
    // The losses this side suffers on each day of the phase, dealt by the
    // opponent through the combat tables.
    void ComputeLosses(bool firePhase);
    // Spreads the men loss over the units by their strength (nothing when
    // they have none left) and lowers the morale; a broken morale becomes
    // 0.4 and on the host the side asks to retreat.
    void ApplyLosses(float men, float moraleLoss);
    // Host: the combat-retreat message for this side, run here and sent.
    virtual void RequestRetreat(int32_t province);
    void BeginRetreat(int32_t province);
    // Host: each unit falls back (or dies with nowhere to go); finished.
    virtual void RetreatNow();
    // Host: each listed unit is taken out and destroyed; a unit that stays
    // listed does not hold the loop.
    void DestroyAllUnits();
    // The commander dies: the best commander of the units, the fallen
    // leader left out, takes over.
    void OnCommanderKilled(const CLeader& leader);
    // Host: one time in a hundred a commander of history falls; the
    // kill-leader message to the combat is run here and sent.
    void RollLeaderDeath();
    // Host: when a unit of the side is of the fallen leader's country, the
    // leader registry is asked at once to replace him.
    virtual void OnLeaderKilled(const CLeader& leader);
    // Before the sides are linked at the start of the combat.
    virtual void OnInit() {}
    virtual void OnCombatEnded();
    // Host: the country list rebuilt from the units.
    void OnVictory();
    // A unit of the side stands in a field battle and a siege at once.
    bool HasUnitInTwoCombats() const;
    // The technology group of the side's leading country (0 without units).
    int32_t LandGroup() const;
    int32_t NavalGroup() const;

    int32_t die = 0;
    int32_t fireCode = -1;
    int32_t shockCode = -1;
    int32_t fireLeaderBonus = 0;
    int32_t shockLeaderBonus = 0;
    float menLoss = 0.0f;
    float moraleLoss = 0.0f;
    float morale = 0.0f;
    int32_t joinedSize = 0;
    float attrition = 0.0f;
    std::vector<uint32_t> countries;
    int32_t retreatProvince = 0;
    bool retreating = false;
    bool finished = false;
    CCombat* combat = nullptr;
    CLeader* commander = nullptr;
    CCountry* commanderCountry = nullptr;
    const bool attacker;

protected:
    // The unit's share of the day's men loss, run on every machine: the
    // unit-losses message to its owner.
    virtual void SufferLosses(CUnit& unit, float share);
    // The unit is taken out of every combat and destroyed (on the host).
    void RemoveUnit(CUnit& unit);

    CUnitList m_units;
};

class CLandCombatSide : public CCombatSide {
public:
    using CCombatSide::CCombatSide;
    void SetOpponent(CCombatSide& opponent) override;
    float GetFireStrength() const override;
    float GetShockStrength() const override;
    int32_t GetFireModifier() const override;
    int32_t GetShockModifier() const override;

    int32_t terrainModifier = 0;
    int32_t cavalrySuperiority = 0;
};

class CNavalCombatSide : public CCombatSide {
public:
    using CCombatSide::CCombatSide;
    void SetOpponent(CCombatSide& opponent) override;
    float GetFireStrength() const override;
    float GetShockStrength() const override;
    int32_t GetFireModifier() const override { return homeWaters + fireLeaderBonus; }
    int32_t GetShockModifier() const override { return homeWaters + shockLeaderBonus; }

    int32_t homeWaters = 0;
};

class CSiegeCombat;

class CCombat : public CProvinceCombat, public CMessageReceiver {
public:
    CCombat(CProvince& province, int32_t type, std::unique_ptr<CCombatSide> attackers,
            std::unique_ptr<CCombatSide> defenders);
    ~CCombat() override;

    int HandleMessage(COVEvent& event) override;

    virtual const char* GetClassName() const { return "Combat"; }
    // "<class> <id number> in Prov<province>": "Combat" until started.
    std::string GetName() const;
    int32_t GetType() const { return GetKind(); }
    virtual bool HasFirePhase() const;
    CCombatSide& Attackers() { return *m_attackers; }
    CCombatSide& Defenders() { return *m_defenders; }
    CProvince& GetProvince() { return *m_province; }
    int32_t GetProvinceId() const { return m_provinceId; }
    // The siege itself for a siege, else null.
    virtual CSiegeCombat* GetSiege() { return nullptr; }

    // The unit joins the side the flag names (null units skipped).
    virtual void OnUnitJoined(CUnit* unit, bool attackerFlag);
    // Both sides drop the unit; on the host the combat ends when over.
    virtual bool OnUnitLeft(CUnit* unit);
    // The side named by the flag has the unit destroyed.
    void OnUnitDestroyed(CUnit* unit, bool attackerFlag);
    // Which side a unit arriving in the province joins; false: none.
    virtual bool AssignUnit(CUnit& unit);
    void RequestJoinAttackers(CUnit* unit);
    void RequestJoinDefenders(CUnit* unit);
    void SendResult(float men, float moraleLoss, bool attackerFlag);
    void ApplyResult(bool fire, float men, float moraleLoss, bool attackerFlag);
    void OnRetreat(int32_t province, bool attackerFlag);
    // Both sides replace a commander who was the leader; the leader bonuses
    // are worked out again (0 for a side left without commander).
    virtual void OnLeaderKilled(const CLeader& leader);
    // Host: each side's commander may fall, the attackers' first.
    void RollLeaderDeaths();
    virtual void OnStarted();
    void Init();
    void StartPhase(bool fire);
    // One day of battle (host).
    virtual void OnPhase();
    virtual void ScheduleNextPhase();
    bool IsOver() const { return m_attackers->finished || m_defenders->finished; }
    // Each side's countries are at peace among themselves and each is
    // hostile to a country of the other side; a siege's attackers neither
    // trespass nor hold the province.
    virtual bool IsValid() const;
    // Host: the winner, the ended message, the report, and the server's
    // removal.
    void End();
    void SetDecisive(const CCombatSide& winner, const CCombatSide& loser);

    bool ended = false;
    bool firePhase = true;
    int32_t phaseDay = 0;
    bool decisive = false;
    int32_t largestUnit = 0;
    bool busy = false;
    bool started = false;

private:
    void ReportResult();
    // The kill-leader message: the fallen leader's victory points, the
    // sides' replacement requests and new commanders.
    void OnKillLeader(const ObjectId& leaderId);
    // While a scenario runs: the player's notice of a battle the local
    // country fights on one side only.
    void NoticeBattle();
    void RequestJoin(CUnit* unit, bool attackerFlag);

    CProvince* m_province;
    int32_t m_provinceId;
    std::unique_ptr<CCombatSide> m_attackers;
    std::unique_ptr<CCombatSide> m_defenders;
};

class CLandCombat : public CCombat {
public:
    CLandCombat(CProvince& province);
    const char* GetClassName() const override { return "Landcombat"; }

protected:
    // A land battle of the kind fought by the caller's sides (the siege).
    CLandCombat(CProvince& province, int32_t type, std::unique_ptr<CCombatSide> attackers,
                std::unique_ptr<CCombatSide> defenders)
        : CCombat(province, type, std::move(attackers), std::move(defenders)) {}
};

class CNavalCombat : public CCombat {
public:
    CNavalCombat(CProvince& province);
    const char* GetClassName() const override { return "Navalcombat"; }
    bool HasFirePhase() const override { return true; }
};

// The player's country at this machine when it has a unit on the side;
// null otherwise.
CCountry* LocalPlayerOn(const CCombatSide& side);
// The name of the side's commander's country ("" without one).
std::string CommanderCountryName(const CCombatSide& side);

// The player's notices of combats.
enum CombatNotice : int32_t {
    kNoticeSeaBattleWeAttack = 127,
    kNoticeSeaBattleTheyAttack = 128,
    kNoticeLandBattleWeAttack = 129,
    kNoticeLandBattleTheyAttack = 130,
    kNoticeSiegeWeBesiege = 131,
    kNoticeSiegeTheyBesiege = 132,
};

// The combat registered under the id; null when none (or not a combat).
CCombat* FindCombatById(const ObjectId& id);
// The side has units and every one of them may fight the unit.
bool AllFight(const CCombatSide& side, const CUnit& unit);

// A message of types 27 to 29 (join, destroyed, leave) for the combat of the
// id about the unit and its side.
std::unique_ptr<COVEvent> MakeCombatUnitMessage(uint32_t type, const ObjectId& combat,
                                                const CUnit& unit, bool attackerFlag);

// What the combats tell the computer player of an outcome (0 won, 1 lost,
// 2 draw; first: the first country told). Filled by ai/; null: nobody.
struct CombatAIHooks {
    void (*notifyCombat)(uint32_t country, CCombat& combat, int32_t outcome, bool first) = nullptr;
    // A siege was made (notification 26; host only).
    void (*siegeStarted)(CCombat& siege) = nullptr;
};
extern CombatAIHooks g_combatAI;
