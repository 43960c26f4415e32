#include "country/CountryList.h"

#include <memory>

#include "country/Country.h"
#include "country/DiplomaticQueries.h"
#include "engine/Date.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Senders.h"

namespace {

// The country's own answers. The two cached figures come with the
// country's periodic update, which does not exist yet.

float CountryCachedFigureA(const CCountry&) {
    return 0.0f;
}
float CountryCachedFigureB(const CCountry&) {
    return 0.0f;
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
