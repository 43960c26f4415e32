#include "country/CountryList.h"

#include <memory>

#include "country/Country.h"
#include "country/DiplomaticQueries.h"
#include "engine/Date.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Senders.h"

namespace {

// The two strength figures that the country's monthly update keeps for
// the computer player and that the lists add up: the first sum is of
// figure 3, the second of figure 1 (the figure the computer player weighs
// the sides of a war with).
constexpr size_t kFigureA = 3;
constexpr size_t kFigureB = 1;
static_assert(kFigureA < CCountry::kStrengthRatings && kFigureB < CCountry::kStrengthRatings);

float CountryCachedFigureA(const CCountry& country) {
    return country.m_strengthRatings[kFigureA];
}
float CountryCachedFigureB(const CCountry& country) {
    return country.m_strengthRatings[kFigureB];
}

} // namespace

void CCountryList::ForEachNumber(const std::function<void(uint32_t)>& function) const {
    CListPosition node = nullptr;
    GetHeadPosition(node);
    while (node) {
        CListPosition next = node;
        MoveNext(next);
        if (!node->removed)
            function(node->item);
        node = next;
    }
}

bool CCountryList::AnyMatches(uint32_t n) const {
    bool found = false;
    ForEachNumber([&](uint32_t number) {
        if (const CCountry* country = CountryOfNumber(number);
            country && CountryIsHostileTo(country->GetNumber(), n))
            found = true;
    });
    return found;
}

double CCountryList::SumCountryValueA() const {
    double sum = 0.0;
    ForEachNumber([&](uint32_t number) {
        if (const CCountry* country = CountryOfNumber(number))
            sum += CountryCachedFigureA(*country);
    });
    return sum;
}

double CCountryList::SumCountryValueB() const {
    double sum = 0.0;
    ForEachNumber([&](uint32_t number) {
        if (const CCountry* country = CountryOfNumber(number))
            sum += CountryCachedFigureB(*country);
    });
    return sum;
}

void SendGiveCasusBelli(const CCountryList& countries, uint32_t other) {
    CDate expiry = GetGameDate();
    expiry.AddYears(1);
    countries.ForEachNumber([&](uint32_t number) {
        auto event = std::make_unique<COVDataEvent>(EVT_GIVECB, MakeCountryId(number));
        COVEventData& payload = event->Payload();
        payload.Set(CasusBelliPayload::kExpiry, expiry);
        payload.Set(CasusBelliPayload::kAgainst, MakeCountryId(other));
        payload.Set(CasusBelliPayload::kFlags[0], 1);
        payload.Set(CasusBelliPayload::kFlags[1], 0);
        ExecuteEvent(std::move(event));
    });
}
