#include "ai/diplomacy/DiplomacyFigures.h"

#include <algorithm>
#include <cmath>

#include "country/Alliance.h"
#include "country/Country.h"
#include "country/War.h"
#include "data/ScenarioHeader.h"
#include "engine/Config.h"
#include "engine/GameState.h"
#include "engine/Random.h"

CCountry* ExistingCountry(int64_t number) {
    return CountryOfNumber(number);
}

float RelationToward(const CCountry& from, int64_t to) {
    const CRelation* relation = from.m_diplomacy.GetRelation(to);
    return relation ? relation->GetValue() : 0.0f;
}

bool BordersCountry(const CCountry& country, int64_t other) {
    return other >= 0 && other < static_cast<int64_t>(kCountrySlots) &&
           country.m_figures.neighbour[static_cast<size_t>(other)] != 0;
}

float BorderShareWith(const CCountry& country, int64_t other) {
    if (other < 0 || other >= static_cast<int64_t>(kCountrySlots))
        return 0.0f;
    return country.m_figures.borderShare[static_cast<size_t>(other)];
}

float ColonialBase(const CCountry& country) {
    return std::clamp(country.m_figures.coastalShare, 0.0f, 1.0f);
}

float StrengthFigure(const CCountry& country, int index) {
    if (index < 0 || index >= static_cast<int>(CCountry::kStrengthRatings))
        return 0.0f;
    return country.m_strengthRatings[static_cast<size_t>(index)];
}

int32_t AIAggressiveness() {
    const uint32_t stored = g_config ? g_config->GetWord(ConfigOffset::kAggressiveness) : 1;
    return static_cast<int32_t>(std::min<uint32_t>(stored, 5));
}

int32_t WholeMonthsBetween(const CDate& from, const CDate& to) {
    const int32_t days = to.GetDayCount() - from.GetDayCount();
    return days > 0 ? days / static_cast<int32_t>(kDaysPerMonth) : 0;
}

bool IsTutorialRunning() {
    return g_scenarioInfo && g_scenarioInfo->tutorial;
}

bool IsGameOfSeveralPlayers() {
    return IsMultiplayerGame();
}

bool EmperorOverMember(const CCountry& emperor, const CCountry& member) {
    return emperor.IsEmperor() && member.IsHREMember();
}

int32_t OwnedCount(const CCountry& country) {
    return static_cast<int32_t>(country.m_ownedProvinces.GetCount());
}

int32_t ControlledCount(const CCountry& country) {
    return static_cast<int32_t>(country.m_controlledProvinces.GetCount());
}

CAlliance* SideOf(const CWar& war, int64_t country) {
    if (war.attackers && war.attackers->HasMember(country))
        return war.attackers.get();
    if (war.defenders && war.defenders->HasMember(country))
        return war.defenders.get();
    return nullptr;
}

CAlliance* OtherSideOf(const CWar& war, int64_t country) {
    if (war.attackers && war.attackers->HasMember(country))
        return war.defenders.get();
    if (war.defenders && war.defenders->HasMember(country))
        return war.attackers.get();
    return nullptr;
}

int32_t WarScoreOf(const CWar& war, int64_t country) {
    if (country < 0 || country >= static_cast<int64_t>(kCountrySlots))
        return 0;
    return war.GetWarScore(static_cast<uint32_t>(country), 0, 0);
}

std::vector<int32_t> IdsOf(const CIntList& list) {
    std::vector<int32_t> ids;
    const_cast<CIntList&>(list).ForEach([&ids](int32_t id) { ids.push_back(id); });
    return ids;
}

bool RollChance(double chance) {
    const int roll = GameRand() % 100;
    if (std::isnan(chance))
        return false;
    const double held = std::clamp(std::trunc(chance), -1.0e9, 1.0e9);
    return roll < static_cast<int64_t>(held);
}
