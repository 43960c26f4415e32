#pragma once
// Sieges: besieging armies against the fortified city of a province, whose
// defenders are a garrison army the siege makes. A siege is always in one
// of three modes, which are its combat kinds: cover (the city is watched,
// nothing is fought), siege (a roll every month wears the city down) and
// assault (a land battle against the walls, day by day). With F the
// fortress level and S the besiegers' size, the besiegers cover while
// S >= 2500 x F and besiege while S >= 5000 x F.
#include <cstdint>
#include <memory>

#include "military/combat/Battle.h"

class CCity;
class CLandUnit;
class CSiegeCombat;

// The besiegers: a land side fighting with the assault tables, with
// infantry and artillery only, against the walls until they are breached.
class CSiegeAttackerSide : public CLandCombatSide {
public:
    CSiegeAttackerSide() : CLandCombatSide(true) {}

    void SetOpponent(CCombatSide& opponent) override;
    float GetFireStrength() const override;
    float GetShockStrength() const override;
    // The land side's, less the fortress level while no breach is made.
    int32_t GetFireModifier() const override;
    int32_t GetShockModifier() const override;
    // The siege skill plus the artillery rating.
    int32_t GetSiegeValue() const override;
    // Without a new commander the side keeps none when only the garrison is
    // finished; a change of commander's country recomputes the supply.
    void SetCommander(CLeader* leader) override;
    // In an assault, strong enough besiegers fall back to siege or cover;
    // otherwise they retreat and what stays of them is destroyed.
    void RequestRetreat(int32_t province) override;

private:
    CSiegeCombat* Siege() const;
};

// The garrison: the one army the siege makes for the city's country.
class CSiegeDefenderSide : public CLandCombatSide {
public:
    explicit CSiegeDefenderSide(CProvince& province);
    ~CSiegeDefenderSide() override;

    void SetOpponent(CCombatSide& opponent) override;
    // Terrain bonus - supply penalty - shortage + fortress + siege skill.
    int32_t GetSiegeValue() const override;
    // The city's fortress level (0 without a city).
    int32_t GetFortLevel() const override;
    bool IsGarrison() const override { return true; }
    // Only the garrison counts: it is destroyed and the side is finished.
    bool RemoveIfPresent(CUnit* unit) override;
    // The garrison is not its country's to delete.
    bool DestroyUnit(CUnit&) override { return true; }
    // The garrison's commander takes the side unless a better one leads.
    void OnInit() override;
    // The garrison's leader asks for no replacement.
    void OnLeaderKilled(const CLeader&) override {}
    // The city is free of the siege and the garrison is gone.
    void OnCombatEnded() override;
    // The garrison gives up: the fortress (and a city of enemies of the
    // faith) may suffer; the side is finished.
    void RetreatNow() override;

    // Makes the garrison from a garrison message (every machine).
    void CreateGarrison(const COVEvent& event);
    // The garrison army; null before it is made and after it is gone.
    CLandUnit* GetGarrison() const { return m_garrison.get(); }
    CCity* GetCity() const;
    // Host: the damage messages, held above a fortress of level 1 and a
    // city of 5000 people.
    void DamageFortress(float amount);
    void DamageCity(float amount);

protected:
    // The garrison is no unit of its country's lists: its losses are taken
    // here on every machine.
    void SufferLosses(CUnit& unit, float share) override;

private:
    CSiegeCombat* Siege() const;
    void DestroyGarrison();

    CProvince* m_province;
    std::unique_ptr<CLandUnit> m_garrison;
};

class CSiegeCombat : public CLandCombat {
public:
    // A siege in the mode (cover for a new one).
    CSiegeCombat(CProvince& province, int32_t mode = kCombatSiegeCover);

    const char* GetClassName() const override { return "Siegecombat"; }
    CSiegeCombat* GetSiege() override { return this; }
    int HandleMessage(COVEvent& event) override;

    // Once the siege has its id: on the host the garrison is made and the
    // computer player is told.
    void OnMade();

    void OnUnitJoined(CUnit* unit, bool attackerFlag) override;
    bool OnUnitLeft(CUnit* unit) override;
    // Only an army joins, and only the besiegers.
    bool AssignUnit(CUnit& unit) override;
    void OnStarted() override;
    // None in cover, daily in an assault, monthly in a siege.
    void ScheduleNextPhase() override;
    void OnPhase() override;

    // The besiegers' siege value less the garrison's.
    virtual int32_t GetSiegeModifier() const;
    // The combat's decisive flag becomes the city's capital flag.
    virtual void SetCapitalFlag();

    // Host: the mode-change message, run here and sent.
    void RequestModeChange(int32_t mode);
    void StartAssault();
    // The besiegers' size (the sum of their units' sizes).
    int32_t AttackerSize() const;
    bool CanCover() const { return AttackerSize() >= 2500 * fortressLevel; }
    bool CanBesiege() const { return AttackerSize() >= 5000 * fortressLevel; }

    void OnModeChange(int32_t mode);
    // Host: the month's roll, then the thresholds.
    void SiegeStep();
    // Every machine: the roll's effect on both sides.
    void OnSiegeResult(int32_t roll);
    void UpdateSiegeValues();

    CSiegeAttackerSide& Besiegers() { return static_cast<CSiegeAttackerSide&>(Attackers()); }
    CSiegeDefenderSide& Garrison() { return static_cast<CSiegeDefenderSide&>(Defenders()); }
    const CSiegeDefenderSide& Garrison() const {
        return static_cast<const CSiegeDefenderSide&>(const_cast<CSiegeCombat*>(this)->Defenders());
    }

    int32_t breaches = 0;
    int32_t artilleryRating = 0;
    int32_t attackerSkill = 0;
    int32_t shortage = 0; // 0..8
    int32_t defenderSkill = 0;
    int32_t fortressLevel = 0;
    int32_t terrainBonus = 0;
    float supplyPenalty = 0.0f;
    // Set for a siege read from a saved game: its start resumes the phases
    // of its mode.
    bool resumed = false;

private:
    void RemoveQueuedPhases();
    // While a scenario runs: the player's notice of a siege the local
    // country lays, or suffers in a province it controls.
    void NoticeSiege();
};

// The highest shortage level the monthly rolls reach.
constexpr int32_t kSiegeMaxShortage = 8;
