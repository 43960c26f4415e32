#include "world/CentreOfTrade.h"

#include <algorithm>
#include <cmath>

#include "data/DataTree.h"
#include "data/DateBlock.h"
#include "data/GameFile.h"
#include "data/Keywords.h"
#include "data/ScenarioHeader.h"
#include "engine/CriticalError.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Senders.h"
#include "net/Session.h"
#include "world/GameNotices.h"
#include "world/MapModes.h"
#include "world/Province.h"
#include "world/ProvinceEconomy.h"
#include "world/ScenarioSteps.h"

CCotCalc g_cotCalc;
CotCountryHooks g_cotCountries;
// The provinces' own economy gives the values; tests put their own in.
CotProvinceValues g_cotProvinceValues = {
    [](const CProvince& province) { return province.GetTradeValue(); },
    [](const CProvince& province) { return province.GetTradingPostValue(); },
    [](const CProvince& province) { return province.GetTotalIncome(); },
};

namespace {

constexpr int32_t kHalfMapWidth = kMapWidth / 2;
constexpr int32_t kPlainsTerrainLimit = kFirstSeaProvinceType;
// The province of the fixed candidate, and the country whose trade opens it.
constexpr int32_t kFixedCentreProvince = 247;
constexpr int32_t kFixedCentreCountry = 1;
constexpr int32_t kFixedCentreTradeLevel = 3;
// A full six merchants make a monopoly, worth these points a month.
constexpr float kMonopolyLevel = 5.0f;
constexpr float kMonopolyPoints = 0.16f;

// The map symbol of a centre.
constexpr int32_t kSpriteKindCot = 6;
constexpr int32_t kSpriteCultureCot = 19;
constexpr int32_t kSpriteActionNoAction = 27;
constexpr int32_t kSpriteDirectionCot = 10;

// The country of a tag, 0 when none has it.
int32_t CountryOfTag(const char* tag) {
    if (!g_scenarioHeaderHooks.findCountryByTag)
        return 0;
    const int32_t number = g_scenarioHeaderHooks.findCountryByTag(tag);
    return number > 0 && number < static_cast<int32_t>(kCountrySlots) ? number : 0;
}

// After a field that was not taken: the block its value opened.
void PassOverValue(CFieldReader& in) {
    if (in.value.code == TOKEN_OPEN_BRACE)
        SkipRestOfBlock(in);
}

// A date block whose "{" has been taken: FIELD_BLOCK_END once its "}" is
// taken (a block the date reader stopped in is passed over), or
// FIELD_END_OF_FILE.
int32_t ReadDateValue(CFieldReader& in, CDate& date) {
    if (in.value.code != TOKEN_OPEN_BRACE) {
        in.ReportError("No left curly");
        return FIELD_BLOCK_END;
    }
    const int32_t result = date.Read(in);
    if (result == FIELD_ERROR) {
        PassOverValue(in);
        SkipRestOfBlock(in);
        return FIELD_BLOCK_END;
    }
    return result;
}

CDataNode* CountryNode(int32_t number) {
    return ObjectId(kCountryObjectType, static_cast<uint32_t>(number)).MakeNode();
}

// Squared, the horizontal difference taken the short way around the world.
float DistanceSquared(const MapPoint& a, const MapPoint& b) {
    int64_t dx = std::abs(int64_t{a.x} - b.x);
    if (dx > kHalfMapWidth)
        dx = kMapWidth - dx;
    const int64_t dy = int64_t{a.y} - b.y;
    return static_cast<float>(dx * dx + dy * dy);
}

bool CountryExists(int32_t number) {
    return number >= 0 && g_cotCountries.exists && g_cotCountries.exists(number);
}

int32_t ReligionOf(int32_t number) {
    return g_scenarioSteps.stateReligionOf ? g_scenarioSteps.stateReligionOf(number) : -1;
}

// Two known religions that count as one (counter-reformed is catholic).
bool IsSameReligion(int32_t a, int32_t b) {
    if (a < 0 || b < 0)
        return false;
    auto merged = [](int32_t religion) {
        return religion == RELIGION_COUNTERREFORM ? RELIGION_CATHOLIC : religion;
    };
    return merged(a) == merged(b);
}

bool IsChristian(int32_t religion) {
    return religion >= RELIGION_PROTESTANT && religion <= RELIGION_ORTHODOX;
}

bool Ask(bool (*question)(int32_t, int32_t), int32_t a, int32_t b, bool unanswered) {
    return question ? question(a, b) : unanswered;
}

bool IsSeat(const CProvince& province) {
    return province.centreOfTrade &&
           province.centreOfTrade->GetProvinceId() == province.GetNumber();
}

// Every province that points to the centre forgets it.
void ForgetCentre(const CCentreOfTrade* centre) {
    for (CProvince& province : g_provinces)
        if (province.centreOfTrade == centre)
            province.centreOfTrade = nullptr;
}

// The arrival of a merchant read on its way, asked of the host.
void AnnounceVoyage(const CMerchantVoyage& voyage, int32_t entryCountry) {
    const int32_t country = voyage.country > 0 ? voyage.country : entryCountry;
    const ObjectId countryId(kCountryObjectType, static_cast<uint32_t>(country));
    auto event = std::make_unique<COVMerchantEvent>(EVT_REQ_MERCHANT_SUCCESS, countryId);
    COVEventData& payload = event->Payload();
    payload.Set(COVMerchantEvent::kCountry, countryId);
    payload.Set(COVMerchantEvent::kProvince,
                ObjectId(kProvinceIdType, static_cast<uint32_t>(voyage.location)));
    payload.Set(COVMerchantEvent::kValue, 1u);
    payload.Set(COVMerchantEvent::kSuccess, voyage.success);
    payload.Set(COVMerchantEvent::kArrival, voyage.arrival);
    PostEventAt(std::move(event), voyage.arrival);
}

} // namespace

float GetProvinceTradeValue(const CProvince& province) {
    return g_cotProvinceValues.tradeValue ? g_cotProvinceValues.tradeValue(province) : 0.0f;
}

float GetProvinceTradingPostValue(const CProvince& province) {
    return g_cotProvinceValues.tradingPostValue ? g_cotProvinceValues.tradingPostValue(province)
                                                : 0.0f;
}

float GetProvinceTotalIncome(const CProvince& province) {
    return g_cotProvinceValues.totalIncome ? g_cotProvinceValues.totalIncome(province) : 0.0f;
}

// ---------------------------------------------------------------------------
// CMerchantVoyage

int32_t CMerchantVoyage::Read(CFieldReader& in) {
    for (;;) {
        const int32_t result = in.ReadBlockField();
        if (result != FIELD_READ)
            return result;
        switch (in.key.code) {
        case KW_COUNTRY:
            country = CountryOfTag(in.value.text);
            break;
        case KW_DATE:
            if (ReadDateValue(in, arrival) == FIELD_END_OF_FILE)
                return FIELD_END_OF_FILE;
            break;
        case KW_LOCATION:
            location = TokenToInt(in.value.text);
            break;
        case KW_SUCCESS:
            success = in.value.code == KW_YES ? 1 : 0;
            break;
        default:
            in.ReportError("Unexpected Field");
            PassOverValue(in);
            break;
        }
    }
}

CDataBlock* CMerchantVoyage::Write() const {
    auto* block = new CDataBlock;
    block->AddChild(new CDataAssignment(KW_COUNTRY, CountryNode(country)));
    block->AddChild(new CDataAssignment(KW_DATE, arrival.Write()));
    block->AddChild(new CDataAssignment(KW_LOCATION, new CDataInt(location)));
    block->AddChild(new CDataAssignment(KW_SUCCESS, new CDataBool(success != 0)));
    return block;
}

// ---------------------------------------------------------------------------
// CCotMerchant

int32_t CCotMerchant::Read(CFieldReader& in) {
    for (;;) {
        const int32_t result = in.ReadBlockField();
        if (result != FIELD_READ)
            return result;
        switch (in.key.code) {
        case KW_TAG:
            country = CountryOfTag(in.value.text);
            break;
        case KW_LEVEL:
            level = std::clamp(TokenToFloat(in.value.text), 0.0f, kMaxLevel);
            break;
        case KW_VALUE:
            value = TokenToFloat(in.value.text);
            break;
        case KW_EXTRA: {
            if (in.value.code != TOKEN_OPEN_BRACE) {
                in.ReportError("No left curly");
                break;
            }
            CMerchantVoyage voyage;
            if (voyage.Read(in) == FIELD_END_OF_FILE)
                return FIELD_END_OF_FILE;
            extra.push_back(voyage);
            break;
        }
        default:
            in.ReportError("Unexpected Field");
            PassOverValue(in);
            break;
        }
    }
}

CDataBlock* CCotMerchant::Write() const {
    auto* block = new CDataBlock;
    block->AddChild(new CDataAssignment(KW_TAG, CountryNode(country)));
    block->AddChild(new CDataAssignment(KW_LEVEL, new CFloatNode(level)));
    block->AddChild(new CDataAssignment(KW_VALUE, new CFloatNode(value)));
    for (const CMerchantVoyage& voyage : extra)
        block->AddChild(new CDataAssignment(KW_EXTRA, voyage.Write()));
    return block;
}

void CCotMerchant::RemoveFirstVoyage() {
    if (!extra.empty())
        extra.erase(extra.begin());
}

// ---------------------------------------------------------------------------
// CCentreOfTrade

CCentreOfTrade::CCentreOfTrade()
    : m_symbol(SpriteKey{kSpriteKindCot, kSpriteCultureCot, kSpriteActionNoAction,
                         kSpriteDirectionCot, 1}) {}

void CCentreOfTrade::SetProvinceId(int32_t id) {
    m_provinceId = id >= kFirstProvinceId && id <= kLastProvinceId ? id : 0;
    if (const CProvince* province = GetProvince(m_provinceId); province && m_provinceId != 0)
        m_symbol.PlaceAt(province->symbolPosition.x, province->symbolPosition.y);
}

int32_t CCentreOfTrade::Read(CFieldReader& in) {
    for (;;) {
        const int32_t result = in.ReadBlockField();
        if (result != FIELD_READ)
            return result;
        switch (in.key.code) {
        case KW_LOCATION:
            SetProvinceId(TokenToInt(in.value.text));
            break;
        case KW_MERCHANT: {
            if (in.value.code != TOKEN_OPEN_BRACE) {
                in.ReportError("No left curly");
                break;
            }
            auto merchant = std::make_unique<CCotMerchant>();
            if (merchant->Read(in) == FIELD_END_OF_FILE)
                return FIELD_END_OF_FILE;
            if (merchant->country <= 0) {
                in.ReportError("COT Merchant needs to have a countrytag");
                break;
            }
            SetMerchant(std::move(merchant));
            break;
        }
        default:
            in.ReportError("COT : Unexpected field");
            PassOverValue(in);
            break;
        }
    }
}

CDataBlock* CCentreOfTrade::Write() const {
    auto* block = new CDataBlock;
    block->AddChild(new CDataAssignment(KW_LOCATION, new CDataInt(m_provinceId)));
    for (const auto& merchant : m_merchants)
        if (merchant)
            block->AddChild(new CDataAssignment(KW_MERCHANT, merchant->Write()));
    return block;
}

void CCentreOfTrade::RecountTotal() {
    total = 0;
    for (const auto& merchant : m_merchants)
        if (merchant)
            total += static_cast<int32_t>(merchant->level);
}

void CCentreOfTrade::ClearValues() {
    for (const auto& merchant : m_merchants)
        if (merchant)
            merchant->value = 0.0f;
}

float CCentreOfTrade::DistanceSquaredTo(int32_t provinceId) const {
    MapPoint seat;
    MapPoint other;
    GetProvinceCentre(seat, m_provinceId);
    GetProvinceCentre(other, provinceId);
    return DistanceSquared(seat, other);
}

CCotMerchant* CCentreOfTrade::GetMerchant(int64_t country) const {
    if (country < 0 || country >= static_cast<int64_t>(kCountrySlots))
        return nullptr;
    return m_merchants[static_cast<size_t>(country)].get();
}

void CCentreOfTrade::SetMerchant(std::unique_ptr<CCotMerchant> merchant) {
    if (!merchant || merchant->country < 0 ||
        merchant->country >= static_cast<int32_t>(kCountrySlots))
        return;
    m_merchants[static_cast<size_t>(merchant->country)] = std::move(merchant);
}

void CCentreOfTrade::RemoveMerchant(int64_t country) {
    if (country >= 0 && country < static_cast<int64_t>(kCountrySlots))
        m_merchants[static_cast<size_t>(country)].reset();
}

// ---------------------------------------------------------------------------
// CCotCalc

CCotCalc::CCotCalc() = default;

// The provinces may be gone already at the end of the program: they are
// not touched here.
CCotCalc::~CCotCalc() = default;

void CCotCalc::Clear() {
    for (CProvince& province : g_provinces)
        province.centreOfTrade = nullptr;
    for (auto& centre : m_centres)
        centre.reset();
    m_count = 0;
    m_candidateCount = m_cursor = 0;
}

CCentreOfTrade* CCotCalc::GetSlot(int32_t slot) const {
    return slot >= 0 && slot < kSlotCount ? m_centres[static_cast<size_t>(slot)].get() : nullptr;
}

CCentreOfTrade* CCotCalc::FindSeatedIn(int32_t provinceId) const {
    for (int32_t slot = 0; slot < m_count; ++slot) {
        CCentreOfTrade* centre = m_centres[static_cast<size_t>(slot)].get();
        if (centre && provinceId != 0 && centre->GetProvinceId() == provinceId)
            return centre;
    }
    return nullptr;
}

std::unique_ptr<CCentreOfTrade> CCotCalc::NewCentreOfTrade(int32_t provinceId) {
    auto centre = std::make_unique<CCentreOfTrade>();
    centre->SetProvinceId(provinceId);
    return centre;
}

CCentreOfTrade* CCotCalc::Store(std::unique_ptr<CCentreOfTrade> centre) {
    if (m_count >= kSlotCount)
        return nullptr;
    CCentreOfTrade* stored = centre.get();
    stored->index = m_count;
    m_centres[static_cast<size_t>(m_count++)] = std::move(centre);
    if (CProvince* seat = GetProvince(stored->GetProvinceId()))
        seat->centreOfTrade = stored;
    stored->RecountTotal();
    return stored;
}

bool CCotCalc::AddCentreOfTrade(std::unique_ptr<CCentreOfTrade> centre) {
    if (!centre)
        return false;
    const int32_t seat = centre->GetProvinceId();
    if (seat == 0) {
        CriticalError("A centre of trade without a location is dropped");
        return false;
    }
    if (FindSeatedIn(seat)) {
        CriticalError("A second centre of trade at %d is dropped", seat);
        return false;
    }
    if (m_count >= kSlotCount) {
        // Its travelling merchants go with it: nothing of it is announced.
        CriticalError("Too many centres of trade (at most %d): the one at %d is dropped",
                      kSlotCount, seat);
        return false;
    }
    CCentreOfTrade* stored = Store(std::move(centre));
    if (IsHost())
        for (int32_t country = 0; country < static_cast<int32_t>(kCountrySlots); ++country)
            if (const CCotMerchant* merchant = stored->GetMerchant(country))
                for (const CMerchantVoyage& voyage : merchant->extra)
                    AnnounceVoyage(voyage, merchant->country);
    return true;
}

CCentreOfTrade* CCotCalc::CreateCentreOfTrade(int32_t provinceId) {
    CProvince* province = GetProvince(provinceId);
    if (!province || provinceId < kFirstProvinceId || FindSeatedIn(provinceId))
        return nullptr;
    CCentreOfTrade* centre = Store(NewCentreOfTrade(provinceId));
    if (!centre)
        return nullptr;
    const int32_t player =
        g_scenarioSteps.localPlayerCountry ? g_scenarioSteps.localPlayerCountry() : -1;
    if (player >= 0 && player < static_cast<int32_t>(kCountrySlots) &&
        province->discoveredBy[static_cast<size_t>(player)])
        PostGameMessage1At(kNoticeNewCentreOfTrade, static_cast<uint32_t>(player), province->name,
                           provinceId, provinceId);
    // Every machine founds the centre alike; the merchant's messages reach
    // the others from the host.
    if (IsHost())
        PlaceFoundingMerchant(provinceId);
    return centre;
}

void CCotCalc::PlaceFoundingMerchant(int32_t provinceId) {
    const CProvince* province = GetProvince(provinceId);
    const int32_t owner = province ? province->GetOwnerNumber() : -1;
    if (owner >= 0 && g_cotCountries.sendFoundingMerchant)
        g_cotCountries.sendFoundingMerchant(owner, provinceId);
}

bool CCotCalc::IsCandidate(int32_t provinceId) {
    const CProvince* province = GetProvince(provinceId);
    return province && province->terrain < kPlainsTerrainLimit && province->GetOwnerNumber() >= 0;
}

int32_t CCotCalc::GetWantedCount() {
    int32_t qualifying = 0;
    for (int32_t id = 0; id <= kLastProvinceId; ++id)
        if (IsCandidate(id))
            ++qualifying;
    return qualifying / kProvincesPerCentre;
}

void CCotCalc::BuildCandidates() {
    m_candidateCount = m_cursor = 0;
    for (int32_t id = 0; id <= kLastProvinceId; ++id) {
        const CProvince& province = g_provinces[static_cast<size_t>(id)];
        if (!province.GetCity() || province.terrain >= kPlainsTerrainLimit ||
            province.GetOwnerNumber() < 0 || IsSeat(province))
            continue;
        m_candidates[static_cast<size_t>(id)] = {id, GetProvinceTradeValue(province)};
        m_order[static_cast<size_t>(m_candidateCount++)] = id;
    }
    // Best score first; equal scores by id, so that every machine takes the
    // same order.
    std::sort(m_order.begin(), m_order.begin() + m_candidateCount, [this](int32_t a, int32_t b) {
        const float sa = m_candidates[static_cast<size_t>(a)].score;
        const float sb = m_candidates[static_cast<size_t>(b)].score;
        return sa != sb ? sa > sb : a < b;
    });
}

bool CCotCalc::TakeCandidate(Candidate& out) {
    // A candidate that became a seat since the list was made is passed over.
    while (m_cursor < m_candidateCount) {
        const int32_t id = m_order[static_cast<size_t>(m_cursor++)];
        if (IsSeat(g_provinces[static_cast<size_t>(id)]))
            continue;
        out = m_candidates[static_cast<size_t>(id)];
        return true;
    }
    return false;
}

void CCotCalc::YearlyUpdate() {
    BuildCandidates();
    if (GetWantedCount() > m_count) {
        const CProvince& fixed = g_provinces[kFixedCentreProvince];
        const int32_t tradeLevel =
            g_cotCountries.tradeTechLevel ? g_cotCountries.tradeTechLevel(kFixedCentreCountry) : 0;
        Candidate next;
        if (fixed.centreOfTrade && !IsSeat(fixed) && CountryExists(kFixedCentreCountry) &&
            tradeLevel > kFixedCentreTradeLevel)
            CreateCentreOfTrade(kFixedCentreProvince);
        else if (TakeCandidate(next))
            CreateCentreOfTrade(next.id);
    }
    // An empty centre moves to a candidate that rates better than its seat.
    for (int32_t slot = 0; slot < m_count; ++slot) {
        auto& centre = m_centres[static_cast<size_t>(slot)];
        if (!centre || centre->total != 0)
            continue;
        Candidate next;
        if (!TakeCandidate(next))
            continue;
        const CProvince& candidate = g_provinces[static_cast<size_t>(next.id)];
        float score = next.score;
        if (candidate.centreOfTrade)
            score -= candidate.centreOfTrade->DistanceSquaredTo(next.id);
        const CProvince* seat = GetProvince(centre->GetProvinceId());
        if (!seat || score <= GetProvinceTradeValue(*seat))
            continue;
        ForgetCentre(centre.get());
        centre = NewCentreOfTrade(next.id);
    }
    for (int32_t slot = 0; slot < m_count; ++slot) {
        CCentreOfTrade* centre = m_centres[static_cast<size_t>(slot)].get();
        if (!centre)
            continue;
        if (CProvince* seat = GetProvince(centre->GetProvinceId()))
            seat->centreOfTrade = centre;
        centre->index = slot;
        centre->RecountTotal();
    }
    AssignAllProvinces();
}

void CCotCalc::MonthlyUpdate() {
    for (int32_t slot = 0; slot < m_count; ++slot) {
        CCentreOfTrade* centre = m_centres[static_cast<size_t>(slot)].get();
        if (!centre)
            continue;
        centre->ClearValues();
        centre->RecountTotal();
        for (int32_t country = 0; country < static_cast<int32_t>(kCountrySlots); ++country) {
            const CCotMerchant* merchant = centre->GetMerchant(country);
            if (merchant && merchant->level > kMonopolyLevel && g_cotCountries.addEconomyPoints)
                g_cotCountries.addEconomyPoints(country, kMonopolyPoints);
        }
    }
}

void CCotCalc::SumValues() {
    for (int32_t slot = 0; slot < m_count; ++slot)
        if (CCentreOfTrade* centre = m_centres[static_cast<size_t>(slot)].get())
            centre->value = 0.0f;
    for (int32_t id = kFirstProvinceId; id <= kLastProvinceId; ++id) {
        const CProvince& province = g_provinces[static_cast<size_t>(id)];
        if (province.centreOfTrade)
            province.centreOfTrade->value += 12.0f * GetProvinceTradingPostValue(province);
    }
}

namespace {

// What the owners of a province and of a centre's seat add to the centre's
// score, in the order they are added.
struct OwnerTerms {
    bool notAtWar = false;
    bool noClaim = false;
    bool overlord = false;
    bool dynastic = false;
    bool sameReligion = false;
    bool christian = false;
    bool refused = false;
};

OwnerTerms TermsOf(int32_t owner, int32_t seatOwner) {
    OwnerTerms terms;
    terms.notAtWar = !Ask(g_cotCountries.isAtWarWith, owner, seatOwner, false);
    terms.noClaim = Ask(g_cotCountries.holdsNoClaimOn, owner, seatOwner, true);
    terms.overlord = Ask(g_cotCountries.isOverlordOf, owner, seatOwner, false);
    terms.dynastic = Ask(g_cotCountries.isDynastic, owner, seatOwner, false);
    const int32_t religion = ReligionOf(owner);
    const int32_t seatReligion = ReligionOf(seatOwner);
    terms.sameReligion = IsSameReligion(religion, seatReligion);
    terms.christian = IsChristian(religion) && IsChristian(seatReligion);
    terms.refused = Ask(g_cotCountries.isTradeRefusedBy, owner, seatOwner, false);
    return terms;
}

bool IsNonWestern(int32_t owner) {
    return g_cotCountries.isNonWesternNation && g_cotCountries.isNonWesternNation(owner);
}

// The rating: the score over the distance, which is at least 1 (two
// provinces with one centre point).
float Rating(float seatValue, bool ownCentre, int32_t continent, const OwnerTerms& terms,
             float distanceSquared) {
    float score = 2.0f * seatValue;
    if (ownCentre)
        score += continent == 2 ? 25.0f : 1000.0f;
    if (terms.notAtWar)
        score += 5.0f;
    if (terms.noClaim)
        score += 2.0f;
    if (terms.overlord)
        score += 3.0f;
    if (terms.dynastic)
        score += 2.0f;
    if (terms.sameReligion)
        score += 2.0f;
    if (terms.christian)
        score += 25.0f;
    if (terms.refused)
        score -= 50.0f;
    return score / std::max(1.0f, std::sqrt(distanceSquared));
}

// A centre's seat that can be rated: one with an owner.
const CProvince* RatedSeat(const CCentreOfTrade* centre) {
    if (!centre || centre->GetProvinceId() == 0)
        return nullptr;
    const CProvince& seat = g_provinces[static_cast<size_t>(centre->GetProvinceId())];
    return seat.GetOwnerNumber() >= 0 ? &seat : nullptr;
}

// A province the assignment leaves alone.
bool IsAssignable(const CProvince* province) {
    return province && province->terrain < kPlainsTerrainLimit && province->GetOwnerNumber() >= 0 &&
           !IsSeat(*province);
}

} // namespace

void CCotCalc::AssignProvince(int32_t provinceId) {
    CProvince* province = GetProvince(provinceId);
    if (!IsAssignable(province))
        return;
    const int32_t owner = province->GetOwnerNumber();
    const bool nonWestern = IsNonWestern(owner);
    CCentreOfTrade* best = nullptr;
    float bestRating = 0.0f;
    for (int32_t slot = 0; slot < m_count; ++slot) {
        CCentreOfTrade* centre = m_centres[static_cast<size_t>(slot)].get();
        const CProvince* seat = RatedSeat(centre);
        if (!seat)
            continue;
        const int32_t seatOwner = seat->GetOwnerNumber();
        const float rating = Rating(GetProvinceTradeValue(*seat), seatOwner == owner && !nonWestern,
                                    province->continent, TermsOf(owner, seatOwner),
                                    centre->DistanceSquaredTo(provinceId));
        // On equal ratings the lower slot stays.
        if (rating > bestRating) {
            bestRating = rating;
            best = centre;
        }
    }
    province->centreOfTrade = best;
}

void CCotCalc::AssignAllProvinces() {
    // The seats that can be rated, with what they give every province.
    struct Seat {
        CCentreOfTrade* centre;
        int32_t owner;
        float value;
        MapPoint point;
    };
    std::vector<Seat> seats;
    seats.reserve(kSlotCount);
    for (int32_t slot = 0; slot < m_count; ++slot) {
        CCentreOfTrade* centre = m_centres[static_cast<size_t>(slot)].get();
        if (const CProvince* seat = RatedSeat(centre)) {
            MapPoint point;
            GetProvinceCentre(point, centre->GetProvinceId());
            seats.push_back({centre, seat->GetOwnerNumber(), GetProvinceTradeValue(*seat), point});
        }
    }
    // Each owner's terms toward each seat, taken once.
    std::vector<OwnerTerms> terms(kCountrySlots * seats.size());
    std::array<uint8_t, kCountrySlots> known{};
    std::array<uint8_t, kCountrySlots> nonWestern{};
    for (int32_t id = 0; id <= kLastProvinceId; ++id) {
        CProvince& province = g_provinces[static_cast<size_t>(id)];
        if (!IsAssignable(&province))
            continue;
        const int32_t owner = province.GetOwnerNumber();
        if (owner >= static_cast<int32_t>(kCountrySlots)) {
            AssignProvince(id);
            continue;
        }
        OwnerTerms* row = terms.data() + static_cast<size_t>(owner) * seats.size();
        if (!known[static_cast<size_t>(owner)]) {
            known[static_cast<size_t>(owner)] = 1;
            nonWestern[static_cast<size_t>(owner)] = IsNonWestern(owner) ? 1 : 0;
            for (size_t k = 0; k < seats.size(); ++k)
                row[k] = TermsOf(owner, seats[k].owner);
        }
        MapPoint point;
        GetProvinceCentre(point, id);
        CCentreOfTrade* best = nullptr;
        float bestRating = 0.0f;
        for (size_t k = 0; k < seats.size(); ++k) {
            const float rating = Rating(
                seats[k].value, seats[k].owner == owner && !nonWestern[static_cast<size_t>(owner)],
                province.continent, row[k], DistanceSquared(seats[k].point, point));
            if (rating > bestRating) {
                bestRating = rating;
                best = seats[k].centre;
            }
        }
        province.centreOfTrade = best;
    }
}

// ---------------------------------------------------------------------------
// The centres of trade in scenarios and saved games

namespace {

// A "cot" block: the centre takes the next free slot (refused ones are
// reported and dropped); the file goes on in any case but at its end.
int32_t ReadCentreOfTrade(CFieldReader& in) {
    auto centre = std::make_unique<CCentreOfTrade>();
    const int32_t result = centre->Read(in);
    if (result == FIELD_END_OF_FILE)
        return result;
    g_cotCalc.AddCentreOfTrade(std::move(centre));
    return FIELD_BLOCK_END;
}

// The centres in slot order.
void WriteCentresOfTrade(CGameFileOutput& out) {
    for (int32_t slot = 0; slot < g_cotCalc.GetCount(); ++slot)
        if (const CCentreOfTrade* centre = g_cotCalc.GetSlot(slot))
            if (!out.Write(centre->Write()))
                return;
}

// What the provinces' economy asks of their centres of trade.
const bool g_economyRegistered = [] {
    g_provinceEconomy.centreSeatOf = [](int32_t province) -> int32_t {
        const CProvince* p = GetProvince(province);
        return p && p->centreOfTrade ? p->centreOfTrade->GetProvinceId() : 0;
    };
    g_provinceEconomy.centreTotalOf = [](int32_t province) -> int32_t {
        const CProvince* p = GetProvince(province);
        return p && p->centreOfTrade ? p->centreOfTrade->total : 0;
    };
    g_provinceEconomy.merchantLevelOf = [](int32_t province, int32_t country, float& level) {
        const CProvince* p = GetProvince(province);
        const CCotMerchant* merchant =
            p && p->centreOfTrade ? p->centreOfTrade->GetMerchant(country) : nullptr;
        if (!merchant)
            return false;
        level = merchant->level;
        return true;
    };
    g_provinceEconomy.centreDistanceSquaredTo = [](int32_t province) {
        const CProvince* p = GetProvince(province);
        return p && p->centreOfTrade ? p->centreOfTrade->DistanceSquaredTo(province) : 0.0f;
    };
    return true;
}();

const bool g_gameFileRegistered = [] {
    RegisterGameFileObject(KW_COT, {&ReadCentreOfTrade, &WriteCentresOfTrade});
    // The map mode of the centres of trade colours by the centre's slot.
    g_mapModeHooks.centreOfTradeNumber = [](const CProvince& province) {
        return province.centreOfTrade ? province.centreOfTrade->index : -1;
    };
    g_mapModeHooks.centreOfTradeCount = [] { return g_cotCalc.GetCount(); };
    return true;
}();

} // namespace
