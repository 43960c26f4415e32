#pragma once
// The three countries that are forces of the world rather than nations:
// the rebels (98, CCountryType4), the natives (97, CCountryType5) and the
// pirates (96, CCountryType6). The country factory makes them on every
// machine for controller kinds 4, 5 and 6. None has a King; each replaces a
// few handlers of CCountry:
//
// - the pirates raise raiding fleets of 2 to 4 warships in the sea zones off
//   rich coasts, now and then, up to a limit that follows the world's fleets
//   and the century, and steer their fleets toward richer waters; their
//   naval level follows the great naval powers;
// - the natives disband their units at the start and, when their units take
//   a province, cut its city's population or its trading post's level, or
//   wipe the settlement out;
// - the rebels disband where the owner is not the controller, merge their
//   armies, send lone armies toward the provinces they want, and in the
//   Dutch provinces assault the fortresses they besiege.
//
// Every roll and every order is made on the host; the other machines get
// the resulting messages.
#include <cstdint>
#include <vector>

#include "country/Country.h"
#include "engine/Date.h"

class CUnit;
class CUnitList;

constexpr uint32_t kPiratesCountry = 96;
constexpr uint32_t kNativesCountryNumber = 97;
constexpr uint32_t kRebelsCountry = 98;

// The sea zone a raiding fleet is raised in when no zone rates above 0.
constexpr int32_t kDefaultRaidZone = 969;

// The chance in percent that a raid step raises a fleet in the year: 100
// before 1680, then falling by 2 a year to 2 in 1729, 1 from 1730 on.
int32_t GetPirateRaidChance(int32_t year);
// The pirates' unit limit for the base b (shipyards of all countries plus a
// hundredth of their warships) in the year.
int32_t PirateFleetLimitOf(int32_t base, int32_t year);
// The same for the world as it stands today.
int32_t GetPirateFleetLimit();

// The land levels of the ordinary countries that are not pagan (any
// country in the fantasy setting): the largest together with 21, and the
// smallest together with 21.
int32_t GetHighestReferenceLandLevel();
int32_t GetLowestReferenceLandLevel();

// A country may storm the fortress the units besiege: at least one unit,
// land level 1, some infantry, a unit in a siege, the first unit among the
// besiegers with at least half the country's land morale.
bool CanAssaultFortress(CCountry& country, const std::vector<CUnit*>& units);

// The rebels (98).
class CCountryType4 : public CCountry {
public:
    explicit CCountryType4(uint32_t number) : CCountry(number) {}

    int SetAIPersonalityFile() override { return 0; }
    void AfterLoad() override { MoveRebelArmies(); }
    int OnProvChangeControl(COVEvent& event) override;
    int OnTimerMonth(COVEvent& event) override;

    // On the host: merges the armies that share a province, assaults in the
    // Dutch provinces, and sends each lone army toward its goal.
    void MoveRebelArmies();
    // The goal of a lone rebel army in the province; 0 for none.
    int32_t ChooseRebelGoal(const CProvince& province) const;
};

// The natives (97).
class CCountryType5 : public CCountry {
public:
    explicit CCountryType5(uint32_t number) : CCountry(number) {}

    int SetAIPersonalityFile() override { return 0; }
    int OnGameStarted(COVEvent& event) override;
    int OnProvChangeControl(COVEvent& event) override;
    int OnTimerMonth(COVEvent& event) override;

    // The natives' units in the province have taken it from prev (null:
    // nobody): the city loses people, the trading post levels, or the
    // province is abandoned.
    void ReduceSettlement(CProvince& province, const CCountry* prev);
};

// The pirates (96).
class CCountryType6 : public CCountry {
public:
    explicit CCountryType6(uint32_t number) : CCountry(number) {}

    int SetAIPersonalityFile() override;
    int OnTimerTickLoop(COVEvent& event) override;
    int OnTimerMonth(COVEvent& event) override;

    // The raid step: the next raid date, then perhaps a new fleet and the
    // naval catch-up.
    void ScheduleRaid();
    // Free pirate units sail toward a richer neighbouring sea zone.
    void MovePirateFleets();
    // A random rating of the sea zone for raiding, 0 or more.
    int32_t RateRaidZone(const CProvince& zone) const;
    // The sea zone the next fleet is raised in (lastRaidZone becomes it).
    int32_t ChooseRaidZone();

    CDate nextRaidDate{};
    uint32_t lastRaidZone = 0;
};
