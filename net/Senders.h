#pragma once
// The senders that belong to no country: each builds its message and hands
// it to its posting function (net/Posting.h). The senders of a country are
// members of CCountry (country/CountrySenders.cpp); the senders that know
// provinces or lists of countries live with them (ScheduleExpireConstruction
// in world/Construction.h, SendGiveCasusBelli in country/CountryList.h).
#include <cstdint>
#include <vector>

#include "engine/Date.h"
#include "engine/ObjectId.h"

// The id of country number n, {3, n}.
constexpr ObjectId MakeCountryId(uint32_t number) {
    return ObjectId(3, number);
}

// Today's game date; the zero date without a clock.
CDate GetGameDate();

// The natives are asked to destroy the trading post in the province.
void SendDestroyTradingPost(uint32_t province);

// Unit requests to the unit servers, naming the unit by its id.
void SendDisbandUnit(const ObjectId& unit);
void SendRequestSplitArmy(const ObjectId& unit);
void SendRequestCreateDetachment(const ObjectId& unit);
void SendRequestCreateWarshipsDetachment(const ObjectId& unit);
void SendRequestDetachCoverForce(const ObjectId& unit);
void SendRequestDetachSiegeForce(const ObjectId& unit);
// Every unit of the list after the first joins the first: one request each.
void SendRequestMerge(const std::vector<ObjectId>& units);

// Asks every window to refresh itself.
void SendRefreshWindows();

// The invited country declines the war pact of the inviting country.
void SendDeclineWarPact(uint32_t inviting);

// The value truncated toward zero; NaN gives 0 and values beyond the range
// of int32_t its nearest end.
int32_t TruncateToInt(float value);

// A merchant's chance of success in percent, 1..99:
// ((trade efficiency + 1) x 10 + stability) x 5 + 3 x ADM, the two figures
// truncated to whole numbers.
int GetMerchantChance(float tradeEfficiency, float stability, int adm);
