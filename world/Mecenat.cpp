#include "world/Mecenat.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "data/DataTree.h"
#include "data/GameFile.h"
#include "data/Keywords.h"
#include "data/ScenarioHeader.h"
#include "data/TokenFile.h"
#include "engine/GameTimer.h"
#include "engine/ObjectId.h"
#include "engine/TextDatabase.h"
#include "world/PathSearch.h"
#include "world/Province.h"
#include "world/map/MapSprite.h"

bool (*g_fileTraveller)(CMecenat* traveller) = nullptr;
CMecenatList* (*g_travellerList)() = nullptr;

CMecenatList* GetTravellerList() {
    return g_travellerList ? g_travellerList() : nullptr;
}

namespace {

CDate Today() {
    return g_gameTimer ? g_gameTimer->GetDate() : CDate();
}

// Today's day count plus the clock's part of the day not yet advanced.
double GameTime() {
    double time = Today().GetDayCount();
    if (g_gameTimer)
        time += std::clamp(static_cast<double>(g_gameTimer->dayFraction), 0.0, 1.0);
    return time;
}

int32_t CountryOfTag(const char* tag) {
    if (!g_scenarioHeaderHooks.findCountryByTag)
        return 0;
    const int32_t number = g_scenarioHeaderHooks.findCountryByTag(tag);
    return number > 0 && number < static_cast<int32_t>(kCountrySlots) ? number : 0;
}

void PassOverValue(CFieldReader& in) {
    if (in.value.code == TOKEN_OPEN_BRACE)
        SkipRestOfBlock(in);
}

// A point on the map's horizontal circle.
int32_t WrapMapX(int64_t x) {
    const int64_t wrapped = x % kMapWidth;
    return static_cast<int32_t>(wrapped < 0 ? wrapped + kMapWidth : wrapped);
}

} // namespace

// ---------------------------------------------------------------------------
// CMecenat

CMecenat::CMecenat() = default;
CMecenat::~CMecenat() = default;

MapPoint CMecenat::ProvincePosition(uint32_t provinceId) {
    MapPoint point;
    const CProvince* province = GetProvince(provinceId);
    if (!province || provinceId == 0)
        return point;
    if (!province->IsSea() && (province->unitPosition.x != 0 || province->unitPosition.y != 0))
        return province->unitPosition;
    GetProvinceCentre(point, provinceId);
    return point;
}

void CMecenat::Create(int32_t countryNumber, uint32_t sourceProvince, uint32_t destinationProvince,
                      int32_t /*kind*/, uint32_t arrivalDateWord, uint8_t succeeds,
                      uint8_t trader) {
    country = countryNumber;
    source = sourceProvince;
    destination = destinationProvince;
    success = succeeds;
    isTrader = trader;
    const int32_t day = static_cast<int32_t>(arrivalDateWord & 0xFF);
    const int32_t month = static_cast<int32_t>((arrivalDateWord >> 8) & 0xFF);
    const int32_t year = static_cast<int16_t>(arrivalDateWord >> 16);
    arrival.SetFromDays((year * 12 + month) * 30 + day);
    BuildRoute();
}

void CMecenat::MakeSprite() {
    if (!sprite) {
        sprite = std::make_unique<CMapSprite>();
        sprite->SetKey(kSpriteCultureNone, kTravellerSpriteKind, kTravellerSpriteAction,
                       kTravellerSpriteDirection, kTravellerSpriteLevel);
    }
}

void CMecenat::BuildRoute() {
    route.clear();
    currentPoint = 0;
    routeBuilt = true;
    MakeSprite();
    const MapPoint start = ProvincePosition(source);
    x = start.x;
    y = start.y;
    PlaceSprite();

    CProvince* from = source != 0 ? GetProvince(source) : nullptr;
    CProvince* to = destination != 0 ? GetProvince(destination) : nullptr;
    if (!from || !to)
        return;
    std::vector<int32_t> ids;
    CKnownRoutePath known(0);
    if (FindPath(known, nullptr, *from, *to)) {
        ids = known.GetIds();
    } else {
        CAnyRoutePath any;
        if (FindPath(any, nullptr, *from, *to))
            ids = any.GetIds();
    }
    if (ids.empty())
        return;

    const CDate today = Today();
    const int64_t totalDays =
        std::max<int64_t>(0, int64_t{arrival.GetDayCount()} - today.GetDayCount());
    const int64_t n = static_cast<int64_t>(ids.size());
    route.push_back({start.x, start.y, today});
    for (int64_t i = 1; i <= n; ++i) {
        const MapPoint at =
            ProvincePosition(static_cast<uint32_t>(ids[static_cast<size_t>(i - 1)]));
        CDate reached = today;
        reached.AddDays(static_cast<int32_t>(totalDays * i / n));
        route.push_back({at.x, at.y, reached});
    }
}

void CMecenat::PlaceSprite() {
    if (sprite)
        sprite->SetPosition(x, y);
}

int32_t CMecenat::Update(COVEvent& event) {
    if (!routeBuilt)
        BuildRoute();
    if (sprite)
        sprite->HandleEvent(event);
    if (route.empty())
        return 0;
    const double now = GameTime();
    while (currentPoint + 1 < route.size() && now >= route[currentPoint + 1].arrival.GetDayCount())
        ++currentPoint;
    const RoutePoint& at = route[currentPoint];
    if (currentPoint + 1 >= route.size()) {
        x = at.x;
        y = at.y;
    } else {
        const RoutePoint& next = route[currentPoint + 1];
        const double span = next.arrival.GetDayCount() - at.arrival.GetDayCount();
        const double share =
            span > 0 ? std::clamp((now - at.arrival.GetDayCount()) / span, 0.0, 1.0) : 1.0;
        // Across the seam of the map the short way round.
        const int64_t dx = WrapMapDx(int64_t{next.x} - at.x);
        const int64_t dy = int64_t{next.y} - at.y;
        x = WrapMapX(at.x + static_cast<int64_t>(std::trunc(dx * share)));
        y = static_cast<int32_t>(at.y + static_cast<int64_t>(std::trunc(dy * share)));
    }
    PlaceSprite();
    return 0;
}

void CMecenat::Draw(int32_t param) {
    if (!(g_mapOptions & kMapShowTravellers) || !sprite)
        return;
    sprite->Draw(param);
}

bool CMecenat::HitTest(int32_t pointX, int32_t pointY) const {
    return sprite && sprite->HitTest(pointX, pointY);
}

int32_t CMecenat::Read(CFieldReader& in) {
    for (;;) {
        const int32_t result = in.ReadBlockField();
        if (result != FIELD_READ)
            return result;
        switch (in.key.code) {
        case KW_TAG:
            country = CountryOfTag(in.value.text);
            break;
        case KW_SOURCE:
            source = static_cast<uint32_t>(TokenToInt(in.value.text));
            break;
        case KW_DESTINATION:
            destination = static_cast<uint32_t>(TokenToInt(in.value.text));
            break;
        case KW_SUCCESS:
            success = in.value.code == KW_YES ? 1 : 0;
            break;
        case KW_TRADERS:
            isTrader = in.value.code == KW_YES ? 1 : 0;
            break;
        case KW_DATE: {
            if (in.value.code != TOKEN_OPEN_BRACE) {
                in.ReportError("No left curly");
                break;
            }
            const int32_t date = arrival.Read(in);
            if (date == FIELD_END_OF_FILE)
                return FIELD_END_OF_FILE;
            if (date == FIELD_ERROR) { // reported; the rest of the date is passed over
                PassOverValue(in);
                SkipRestOfBlock(in);
            }
            break;
        }
        default:
            in.ReportError("Unexpected Field");
            PassOverValue(in);
            break;
        }
    }
}

CDataBlock* CMecenat::Write() const {
    auto* block = new CDataBlock;
    if (country != 0)
        block->AddChild(new CDataAssignment(
            KW_TAG, ObjectId(kCountryObjectType, static_cast<uint32_t>(country)).MakeNode()));
    block->AddChild(new CDataAssignment(KW_SOURCE, new CDataInt(static_cast<int32_t>(source))));
    block->AddChild(
        new CDataAssignment(KW_DESTINATION, new CDataInt(static_cast<int32_t>(destination))));
    block->AddChild(new CDataAssignment(KW_SUCCESS, new CDataBool(success != 0)));
    block->AddChild(new CDataAssignment(KW_TRADERS, new CDataBool(isTrader != 0)));
    block->AddChild(new CDataAssignment(KW_DATE, arrival.Write()));
    return block;
}

int32_t CMecenat::ReadAndFile(CFieldReader& in) {
    if (in.value.code != TOKEN_OPEN_BRACE) {
        in.ReportError("No left curly");
        return FIELD_BLOCK_END;
    }
    auto traveller = std::make_unique<CMecenat>();
    const int32_t result = traveller->Read(in);
    if (result == FIELD_BLOCK_END && g_fileTraveller && g_fileTraveller(traveller.get()))
        traveller.release();
    return result;
}

// ---------------------------------------------------------------------------
// CMecenatList

CMecenatList::~CMecenatList() {
    DeleteAll();
}

void CMecenatList::DeleteAll() {
    std::vector<CMecenat*> all;
    ForEach([&](CMecenat* traveller) { all.push_back(traveller); });
    RemoveAll();
    for (CMecenat* traveller : all)
        delete traveller;
}

bool CMecenatList::Remove(int32_t countryNumber, uint32_t destinationProvince) {
    Node* node = nullptr;
    for (GetHeadPosition(node); node; MoveNext(node)) {
        CMecenat* traveller = node->item;
        if (node->removed || !traveller || traveller->GetCountry() != countryNumber ||
            traveller->GetDestination() != destinationProvince)
            continue;
        RemoveNode(node);
        delete traveller;
        return true;
    }
    return false;
}

void CMecenatList::HandleEvent(COVEvent& event) {
    std::vector<CMecenat*> done;
    ForEach([&](CMecenat* traveller) {
        if (traveller && traveller->Update(event) == 1)
            done.push_back(traveller);
    });
    for (CMecenat* traveller : done) {
        CLinkedList<CMecenat>::Remove(traveller);
        delete traveller;
    }
}

void CMecenatList::Draw(int32_t param) {
    ForEach([&](CMecenat* traveller) {
        if (traveller)
            traveller->Draw(param);
    });
}

const char* CMecenatList::GetHoverText(int32_t pointX, int32_t pointY) {
    static std::string text;
    const bool layerOn = (g_mapOptions & kMapShowTravellers) != 0;
    bool found = false;
    ForEach([&](CMecenat* traveller) {
        if (found || !traveller)
            return;
        const CProvince* from = GetProvince(traveller->GetSource());
        if (!from || !((from->newlyRevealed && layerOn) || from->shownNotDimmed))
            return;
        found = traveller->HitTest(pointX, pointY);
    });
    if (!found)
        return nullptr;
    text = g_textDatabase.GetText("MECENATROLLOVER");
    return text.c_str();
}
