#pragma once
// The small questions the computer player's diplomacy asks of the countries
// again and again: does a country exist, how does one see another, do they
// border, how strong and how colonial is it, how warlike is the game set.
#include <cstdint>
#include <vector>

#include "data/TokenFile.h"
#include "engine/Date.h"

class CCountry;
class CWar;

// The country of the number, null for an empty slot or a number outside
// 0..98.
CCountry* ExistingCountry(int64_t number);
// The relation of one country toward another (0 when either is missing).
float RelationToward(const CCountry& from, int64_t to);
// A province of the one borders a province of the other.
bool BordersCountry(const CCountry& country, int64_t other);
// The country's share of its land borders that it shares with the other.
float BorderShareWith(const CCountry& country, int64_t other);
// The country's reach over the seas, 0..1: its coastal share.
float ColonialBase(const CCountry& country);
// One of the five ratings the country keeps for the computer player
// (0 economy, 1 diplomacy, 2 expansion, 3 land, 4 naval).
float StrengthFigure(const CCountry& country, int index);
// The aggressiveness setting held within 0..5 (a higher stored value would
// make the minister's timer divide by zero).
int32_t AIAggressiveness();
// Whole months (of 30 days) from the earlier date to the later; 0 when the
// later one comes first.
int32_t WholeMonthsBetween(const CDate& from, const CDate& to);
// The running game is the tutorial / a game of several players.
bool IsTutorialRunning();
bool IsGameOfSeveralPlayers();
// The other country is the emperor and this one a member of the Empire.
bool EmperorOverMember(const CCountry& emperor, const CCountry& member);
// The number of owned (controlled) provinces.
int32_t OwnedCount(const CCountry& country);
int32_t ControlledCount(const CCountry& country);
// The side (attackers or defenders) of the war that holds the country;
// null when it is on neither.
class CAlliance;
CAlliance* SideOf(const CWar& war, int64_t country);
CAlliance* OtherSideOf(const CWar& war, int64_t country);
// The war score of the country's side against the other side.
int32_t WarScoreOf(const CWar& war, int64_t country);
// The entries of a list of province ids, in list order.
std::vector<int32_t> IdsOf(const CIntList& list);
// A roll of rand() % 100 below the chance truncated to a whole number; a
// chance that is not a number never passes, one beyond the int range is
// held to it (the roll is drawn in every case).
bool RollChance(double chance);
