#pragma once
// CMecenat: a travelling colonist or trader on the map. It walks from its
// source province to its destination along a route of the path search and
// arrives on the date its sender fixed; CMecenatList holds the travellers
// shown with the map.
//
// Its block in scenarios and saved games ("mecenat"):
//   mecenat = { tag = FRA source = 101 destination = 104 success = yes
//               traders = no date = { year = 1560 month = april day = 2 } }
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/Date.h"
#include "engine/LinkedList.h"
#include "world/MapView.h"

class CDataBlock;
class CFieldReader;
class CMapSprite;
class COVEvent;

// The map option bit of the travellers' layer: travellers are drawn only
// while it is set.
constexpr uint32_t kMapShowTravellers = 2;

// The traveller's picture: kind "mec", no culture, action "wagon", facing
// east, level 1.
constexpr int32_t kTravellerSpriteKind = 13;
constexpr int32_t kTravellerSpriteAction = 18;
constexpr int32_t kTravellerSpriteDirection = 2;
constexpr int32_t kTravellerSpriteLevel = 1;

class CMecenat {
public:
    // One point of the route: a map position and the day it is reached.
    struct RoutePoint {
        int32_t x = 0;
        int32_t y = 0;
        CDate arrival;
    };

    // An empty traveller, for the file reader.
    CMecenat();
    virtual ~CMecenat();
    CMecenat(const CMecenat&) = delete;
    CMecenat& operator=(const CMecenat&) = delete;

    // Sets the traveller off today. The date word holds the arrival's day in
    // its lowest byte, the month in the next and the year in the upper 16
    // bits; the arrival is the day of the day count (year x 12 + month) x 30
    // + day. kind is the sender's kind of journey; the picture is the same
    // for every kind. The route: the known route from source to destination
    // (no country's discoveries), else any route; its first point is the
    // source today, then each of its n provinces i = 1..n is reached on
    // today + trunc(days to the arrival x i / n). Without a route the
    // traveller stands at its source.
    void Create(int32_t countryNumber, uint32_t sourceProvince, uint32_t destinationProvince,
                int32_t kind, uint32_t arrivalDateWord, uint8_t succeeds, uint8_t trader);

    // Walks by the game time (today plus the clock's part of a day): the
    // position lies between the point last reached and the next one, by the
    // share of the time between their days (0..1); at the last point it
    // stands. A traveller read from a file finds its route first, from
    // today. Answers 0 (stay); the list removes a traveller answering 1.
    virtual int32_t Update(COVEvent& event);
    // Draws the picture at the position while the map shows the travellers'
    // layer.
    virtual void Draw(int32_t param);

    // The block after its "{" up to and including its "}": "tag", "source",
    // "destination", "success", "traders", "date". Any other field is
    // reported ("Unexpected Field") and passed over. FIELD_BLOCK_END when
    // read, FIELD_END_OF_FILE when the file ends inside it.
    int32_t Read(CFieldReader& in);
    // A new block of the fields (no "tag" without a country); the caller
    // owns it.
    CDataBlock* Write() const;

    // Reads the block after "mecenat =" (its "{" taken with the value) and
    // files the traveller with g_fileTraveller (which then owns it); without
    // a filer, or when the block did not read whole, it is deleted. A value
    // that is not a block is reported ("No left curly"). FIELD_BLOCK_END or
    // FIELD_END_OF_FILE.
    static int32_t ReadAndFile(CFieldReader& in);

    uint32_t GetDestination() const { return destination; }
    uint32_t GetSource() const { return source; }
    int32_t GetCountry() const { return country; }
    const CDate& GetArrival() const { return arrival; }
    const std::vector<RoutePoint>& GetRoute() const { return route; }
    size_t GetCurrentPoint() const { return currentPoint; }
    MapPoint GetPosition() const { return {x, y}; }
    // True when the point (screen) lies on the picture.
    bool HitTest(int32_t pointX, int32_t pointY) const;

    // The map point where a traveller stands in the province: a sea zone's
    // centre, a land province's unit position (its centre when unset).
    // (0, 0) for an id without a province.
    static MapPoint ProvincePosition(uint32_t provinceId);

private:
    void BuildRoute();
    void MakeSprite();
    void PlaceSprite();

    std::vector<RoutePoint> route;
    size_t currentPoint = 0; // the point last reached
    int32_t x = 0;
    int32_t y = 0;
    uint32_t destination = 0;
    uint32_t source = 0;
    int32_t country = 0;
    CDate arrival;
    uint8_t success = 0;
    uint8_t isTrader = 0;
    bool routeBuilt = false; // false for a traveller read from a file until its first walk
    std::unique_ptr<CMapSprite> sprite; // made with the route
};

// The travellers in the order they were filed; the list owns them.
class CMecenatList : public CLinkedList<CMecenat> {
public:
    ~CMecenatList() override;

    // Deletes every traveller and empties the list.
    void DeleteAll();
    // Takes the first traveller of the country bound for the province out
    // and deletes it; false when there is none.
    bool Remove(int32_t countryNumber, uint32_t destinationProvince);
    // Offers the message to every traveller; one answering 1 is taken out
    // and deleted.
    void HandleEvent(COVEvent& event);
    // Draws every traveller.
    void Draw(int32_t param);
    // The text of "MECENATROLLOVER" when the screen point lies on a
    // traveller whose source province is shown (newly revealed while the
    // travellers' layer is on, or not dimmed); null otherwise. The text
    // stands in a static buffer until the next call.
    const char* GetHoverText(int32_t pointX, int32_t pointY);

    using CLinkedList<CMecenat>::Remove;
};

// Files a traveller read whole in the main game screen's traveller list:
// true when the list took it (and owns it now). The main game screen lies
// above the world; ui/MainScreenState.cpp sets this once, by a static
// registration. While it is null no screen takes a traveller (as without a
// main game screen).
extern bool (*g_fileTraveller)(CMecenat* traveller);
// The main game screen's traveller list, for the handlers that send and
// call back travellers; null (or a null answer) while there is no main game
// screen. Set by ui/MainScreenState.cpp as g_fileTraveller.
extern CMecenatList* (*g_travellerList)();
// g_travellerList's answer, null without one.
CMecenatList* GetTravellerList();
