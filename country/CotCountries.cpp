// What the centres of trade ask of the countries (world/CentreOfTrade.h).
#include "country/Country.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Senders.h"
#include "world/CentreOfTrade.h"

namespace {

const CRelation* RelationOf(int32_t a, int32_t b) {
    const CCountry* country = CountryOfNumber(a);
    return country ? country->m_diplomacy.GetRelation(b) : nullptr;
}

// The owner gains a merchant and sends it to the new centre at once, with
// certain success; both messages reach every machine.
void SendFoundingMerchant(int32_t number, int32_t provinceId) {
    CCountry* country = CountryOfNumber(number);
    if (!country)
        return;
    country->SendGetMerchant(1);
    auto event = std::make_unique<COVMerchantEvent>(EVT_SEND_MERCHANT, country->GetId());
    COVEventData& payload = event->Payload();
    const auto province = static_cast<uint32_t>(provinceId);
    payload.Set(COVMerchantEvent::kCentre, province);
    payload.Set(COVMerchantEvent::kArrival, GetGameDate());
    payload.Set(COVMerchantEvent::kCountry, country->GetId());
    payload.Set(COVMerchantEvent::kValue, 1u);
    payload.Set(COVMerchantEvent::kProvince, ObjectId(kProvinceIdType, province));
    payload.Set(COVMerchantEvent::kSuccess, uint8_t{1});
    ExecuteAndSendEvent(std::move(event));
}

const bool g_registered = [] {
    g_cotCountries.exists = [](int32_t number) { return CountryOfNumber(number) != nullptr; };
    g_cotCountries.isNonWesternNation = [](int32_t number) {
        const CCountry* country = CountryOfNumber(number);
        return country && country->IsNonWesternNation();
    };
    g_cotCountries.isAtWarWith = [](int32_t a, int32_t b) {
        const CCountry* country = CountryOfNumber(a);
        return country && country->m_diplomacy.IsAtWarWith(b);
    };
    g_cotCountries.holdsNoClaimOn = [](int32_t a, int32_t b) {
        const CRelation* relation = RelationOf(a, b);
        return !relation || (relation->hasCasusBelli == 0 && relation->casusBelli.empty());
    };
    g_cotCountries.isOverlordOf = [](int32_t a, int32_t b) {
        const CCountry* country = CountryOfNumber(a);
        return country && country->m_diplomacy.IsOverlordOf(b);
    };
    g_cotCountries.isDynastic = [](int32_t a, int32_t b) {
        const CRelation* relation = RelationOf(a, b);
        return relation && relation->dynastic != 0;
    };
    g_cotCountries.isTradeRefusedBy = [](int32_t a, int32_t b) {
        const CCountry* country = CountryOfNumber(a);
        return country && country->m_diplomacy.IsTradeRefusedBy(b);
    };
    g_cotCountries.sendFoundingMerchant = &SendFoundingMerchant;
    g_cotCountries.tradeTechLevel = [](int32_t number) -> int32_t {
        const CCountry* country = CountryOfNumber(number);
        return country ? country->m_technology.trade.level : 0;
    };
    g_cotCountries.addEconomyPoints = [](int32_t number, float points) {
        if (CCountry* country = CountryOfNumber(number))
            country->AddBaseVictoryPoints(0, points);
    };
    return true;
}();

} // namespace
